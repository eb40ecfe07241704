#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/data/client/clienttablefixture.h"
#include "tests/data/client/filtertesttable.h"

// Hostile filter texts: chains of any length and deep nesting end in rows or in the language's own
// message, never in a stack overflow.

namespace contado {
namespace {

using filtertest::FilterTable;
using testing::ElementsAre;

constexpr int kTerms = 100000;

std::string Chain(const std::string& term, const char* joint, int count) {
    std::string text = term;
    for (int i = 1; i < count; ++i) {
        text += joint;
        text += term;
    }
    return text;
}

TEST(FilterChains, AHundredThousandTermsJoinedByAndOrOrFilterRows) {
    FilterTable table;
    EXPECT_THAT(table.Ids(Chain("AJCI_ID > 1", " and ", kTerms)), ElementsAre(2, 3, 4));
    std::string anyOf = "AJCI_ID = 3";
    for (int i = 1; i < kTerms; ++i) {
        anyOf += " or AJCI_ID = " + std::to_string(1000 + i);
    }
    EXPECT_THAT(table.Ids(anyOf), ElementsAre(3));
    // Mixed chains keep AND before OR.
    EXPECT_THAT(table.Ids(Chain("AJCI_ID = 1 and AJCI_PREFNO = 'AB'", " or ", kTerms)), ElementsAre(1));
    EXPECT_THAT(table.Ids(Chain("(AJCI_ID = 4 or NAME IS NULL)", " and ", kTerms)), ElementsAre(4));
}

TEST(FilterChains, NestingTooDeepEndsInTheLanguagesMessage) {
    FilterTable table;
    const std::string parens = std::string(kTerms, '(') + "AJCI_ID = 1" + std::string(kTerms, ')');
    EXPECT_EQ(table.Error(parens), "Filter expression nested too deeply");
    EXPECT_EQ(table.Error(Chain("not", " ", kTerms) + " AJCI_ID = 1"), "Filter expression nested too deeply");
    EXPECT_EQ(table.Error(std::string(kTerms, '(')), "Filter expression nested too deeply");
    // Up to the limit it still filters.
    const std::string nested = std::string(150, '(') + "AJCI_ID = 2" + std::string(150, ')');
    EXPECT_THAT(table.Ids(nested), ElementsAre(2));
}

class FilterChainTableTest : public ClientTableTest {};

TEST_F(FilterChainTableTest, LocateWithAHundredThousandKeyFieldsAnswers) {
    SeedAdjustments();
    CAjuste->Open();
    std::string names = Chain("AJCI_ID", ";", kTerms);
    std::vector<TVariant> values(kTerms, TVariant(std::int64_t{3}));
    ASSERT_TRUE(CAjuste->Locate(names, values, {}));
    EXPECT_EQ(CurrentId(CAjuste), 3);
    values.back() = std::int64_t{2};
    EXPECT_FALSE(CAjuste->Locate(names, values, {}));
    EXPECT_EQ(CurrentId(CAjuste), 3);
}

}  // namespace
}  // namespace contado
