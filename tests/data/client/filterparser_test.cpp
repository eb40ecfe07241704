#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/data/client/filtertesttable.h"

namespace contado {
namespace {

using filtertest::FilterTable;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(FilterLanguage, ComparisonOperatorsOnIntegers) {
    FilterTable table;
    EXPECT_THAT(table.Ids("AJCI_ID = 2"), ElementsAre(2));
    EXPECT_THAT(table.Ids("AJCI_ID <> 2"), ElementsAre(1, 3, 4));
    EXPECT_THAT(table.Ids("AJCI_ID < 2"), ElementsAre(1));
    EXPECT_THAT(table.Ids("AJCI_ID > 2"), ElementsAre(3, 4));
    EXPECT_THAT(table.Ids("AJCI_ID <= 2"), ElementsAre(1, 2));
    EXPECT_THAT(table.Ids("AJCI_ID >= 2"), ElementsAre(2, 3, 4));
    EXPECT_THAT(table.Ids("AJCI_ID > -1"), ElementsAre(1, 2, 3, 4));
    EXPECT_THAT(table.Ids("AJCI_ID = '3'"), ElementsAre(3));
    EXPECT_THAT(table.Ids("AJCI_ID = 2.5"), IsEmpty());
    EXPECT_THAT(table.Ids("2 = AJCI_ID"), ElementsAre(2));
}

TEST(FilterLanguage, DateConstantsAreReadInTheShortDateFormat) {
    FilterTable table;
    EXPECT_THAT(table.Ids("AJCI_FECINI = '09/12/2026'"), ElementsAre(1, 4));
    EXPECT_THAT(table.Ids("AJCI_FECINI > '09/12/2026'"), ElementsAre(2));
    EXPECT_THAT(table.Ids("AJCI_FECINI = '01/01/2030'"), IsEmpty());
    EXPECT_THAT(table.Ids("STAMP >= '09/12/2026 10:30'"), ElementsAre(1, 3));
    EXPECT_THAT(table.Ids("HOUR = '10:30:00'"), ElementsAre(1, 4));
    FormatSettings().ShortDateFormat = "yyyy/mm/dd";
    EXPECT_THAT(table.Ids("AJCI_FECINI = '2026/12/10'"), ElementsAre(2));
    EXPECT_EQ(table.Error("AJCI_FECINI = '09/12/2026'"), "Type mismatch in expression");
}

TEST(FilterLanguage, DecimalsCompareByValueWithEitherSeparator) {
    FilterTable table;
    EXPECT_THAT(table.Ids("AJCI_PORC = 16"), ElementsAre(1));
    EXPECT_THAT(table.Ids("AJCI_PORC < 1"), ElementsAre(2));
    EXPECT_THAT(table.Ids("AJCI_PORC >= '16.0000'"), ElementsAre(1, 3));
    FormatSettings().DecimalSeparator = ',';
    EXPECT_THAT(table.Ids("AJCI_PORC = 0,8"), ElementsAre(2));
    EXPECT_THAT(table.Ids("AJCI_PORC = 0.8"), ElementsAre(2));
}

TEST(FilterLanguage, TextConstantsTakeTheFieldsSizeAndMatchPartially) {
    FilterTable table;
    EXPECT_THAT(table.Ids("NAME = 'O''Neil'"), ElementsAre(2));
    EXPECT_THAT(table.Ids("AJCI_PREFNO = 'ABCDEF'"), ElementsAre(3));
    EXPECT_THAT(table.Ids("AJCI_PREFNO = 'A*'"), ElementsAre(1, 3));
    EXPECT_THAT(table.Ids("AJCI_PREFNO = 'ABCDEF*'"), ElementsAre(3));
    EXPECT_THAT(table.Ids("AJCI_PREFNO <> 'A*'"), ElementsAre(4));
    EXPECT_THAT(table.Ids("AJCI_PREFNO = 'A*'", {false, true}), IsEmpty());
    EXPECT_THAT(table.Ids("NAME = 'ANA'"), IsEmpty());
    EXPECT_THAT(table.Ids("NAME = 'ANA'", {true, false}), ElementsAre(1));
    EXPECT_THAT(table.Ids("[ODD NAME] = 'x'"), ElementsAre(1, 4));
    EXPECT_THAT(table.Ids("NAME = AJCI_PREFNO"), IsEmpty());
}

TEST(FilterLanguage, KeywordsInAnyCase) {
    FilterTable table;
    EXPECT_THAT(table.Ids("AJCI_PREFNO IS NULL"), ElementsAre(2));
    EXPECT_THAT(table.Ids("ajci_prefno is not null"), ElementsAre(1, 3, 4));
    EXPECT_THAT(table.Ids("NAME LIKE '%an%'"), ElementsAre(3));
    EXPECT_THAT(table.Ids("NAME like 'ana*'", {true, false}), ElementsAre(1, 3));
    EXPECT_THAT(table.Ids("NAME NOT LIKE 'A*'"), ElementsAre(2, 3));
    EXPECT_THAT(table.Ids("AJCI_ID In (1, 3, 7)"), ElementsAre(1, 3));
    EXPECT_THAT(table.Ids("AJCI_ID NOT IN (1, 3)"), ElementsAre(2, 4));
    EXPECT_THAT(table.Ids("AJCI_PREFNO IN ('Z', 'AB')"), ElementsAre(1, 4));
    EXPECT_THAT(table.Ids("AJCI_FECINI IN ('10/12/2026')"), ElementsAre(2));
    EXPECT_THAT(table.Ids("not AJCI_ID = 1"), ElementsAre(2, 3, 4));
    EXPECT_THAT(table.Ids("AJCI_ID = 1 Or AJCI_ID = 2 AND AJCI_PREFNO IS NOT NULL"), ElementsAre(1));
    EXPECT_THAT(table.Ids("(AJCI_ID = 1 OR AJCI_ID = 4) and AJCI_PREFNO = 'Z'"), ElementsAre(4));
    EXPECT_THAT(table.Ids("NOT (AJCI_ID < 3 OR AJCI_ID > 3)"), ElementsAre(3));
}

TEST(FilterLanguage, CommentsBlanksAndLongConstants) {
    FilterTable table;
    EXPECT_THAT(table.Ids("/* by id */ AJCI_ID/**/=\t2 /* unclosed"), ElementsAre(2));
    EXPECT_THAT(table.Ids("\n AJCI_ID = 1 \r\n"), ElementsAre(1));
    EXPECT_THAT(table.Ids("'a' = 'a' AND 1 < 2"), ElementsAre(1, 2, 3, 4));
    auto root = table.Parser().Parse("NAME = '" + std::string(300, 'q') + "'");
    EXPECT_EQ(root->Operands[1]->Text.size(), TFilterLexer::kMaxStringLength);
}

TEST(FilterLanguage, EveryFailureHasItsMessage) {
    FilterTable table;
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"NAME = 'open", "Unterminated string constant"},
        {"[NAME = 'x'", "Unterminated field name"},
        {"AJCI_ID # 1", "Invalid filter expression character: '#'"},
        {"AJCI_ID = 1 & 2", "Invalid filter expression character: '&'"},
        {"AJCI_ID = 1 2", "Filter expression incorrectly terminated"},
        {"AJCI_ID =", "Filter expression incorrectly terminated"},
        {"AJCI_ID = 1)", "Filter expression incorrectly terminated"},
        {"AJCI_ID IN 1, 2", "'(' expected but '1' found"},
        {"AJCI_ID IN", "'(' expected but end of expression found"},
        {"(AJCI_ID = 1", "')' expected but end of expression found"},
        {"AJCI_ID IN (1, 2 3)", "')' expected but '3' found"},
        {"NAME = 1 AND AJCI_ID = 'x'", "Type mismatch in expression"},
        {"AJCI_FECINI = 5", "Type mismatch in expression"},
        {"AJCI_FECINI = NAME", "Type mismatch in expression"},
        {"AJCI_ID LIKE '1*'", "Type mismatch in expression"},
        {"AJCI_ID", "Type mismatch in expression"},
        {"AJCI_ID = 1 AND NAME", "Type mismatch in expression"},
        {"(AJCI_ID = 1) = 2", "Type mismatch in expression"},
        {"'a' = 1", "Type mismatch in expression"},
        {"AJCI_ID = 1.2.3", "Type mismatch in expression"},
        {"AJCI_ID = -", "Type mismatch in expression"},
        {"AND AJCI_ID = 1", "Invalid use of keyword"},
        {"AJCI_ID = NULL", "Invalid use of keyword"},
        {"AJCI_ID IS 1", "Invalid use of keyword"},
        {"AJCI_ID NOT = 1", "Invalid use of keyword"},
        {"AJCI_ID IN ()", "IN predicate list may not be empty"},
        {"MISSING = 1", "CAjuste: Field 'MISSING' not found"},
        {"[and] = 1", "CAjuste: Field 'and' not found"},
        {"", "Filter expression incorrectly terminated"},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(table.Error(test.text), test.message) << test.text;
    }
    EXPECT_EQ(table.Error(std::string(300, '(') + "AJCI_ID = 1" + std::string(300, ')')),
              "Filter expression nested too deeply");
    EXPECT_EQ(table.Error(std::string(100, '(') + "AJCI_ID = 1" + std::string(100, ')')), "");
}

}  // namespace
}  // namespace contado
