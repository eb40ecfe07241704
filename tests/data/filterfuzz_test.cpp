#include <random>

#include <gtest/gtest.h>

#include "tests/data/filtertesttable.h"

namespace contado {
namespace {

using filtertest::FilterTable;

// Pieces of the language and of the texts people mistype, glued and mutated at random.
const std::vector<std::string> kPieces = {"AJCI_ID",
                                          "AJCI_FECINI",
                                          "AJCI_PORC",
                                          "AJCI_PREFNO",
                                          "NAME",
                                          "STAMP",
                                          "HOUR",
                                          "[ODD NAME]",
                                          "[",
                                          "]",
                                          "'",
                                          "''",
                                          "'09/12/2026'",
                                          "'A*'",
                                          "'%a%'",
                                          "'10:30'",
                                          "'x'",
                                          "16",
                                          "-1",
                                          "0.8",
                                          "1.2.3",
                                          "-",
                                          "=",
                                          "<>",
                                          "<",
                                          ">",
                                          "<=",
                                          ">=",
                                          "(",
                                          ")",
                                          ",",
                                          "LIKE",
                                          "IN",
                                          "IS",
                                          "NULL",
                                          "NOT",
                                          "AND",
                                          "OR",
                                          "/*",
                                          "*/",
                                          " ",
                                          "#",
                                          "\"",
                                          ";",
                                          "\xE9",
                                          "_x",
                                          "MISSING",
                                          "*",
                                          "%"};

const std::vector<std::string> kValidFilters = {
    "AJCI_FECINI = '09/12/2026'", "AJCI_ID IN (1, 2) AND NOT AJCI_PREFNO IS NULL",
    "(NAME LIKE '*a*' OR AJCI_PORC >= 16) AND [ODD NAME] <> 'y'", "STAMP < '10/12/2026 08:00' /* c */",
    "AJCI_PREFNO = 'AB*' OR HOUR = '10:30'"};

std::string RandomSoup(std::mt19937& random) {
    std::uniform_int_distribution<size_t> count(0, 12);
    std::uniform_int_distribution<size_t> pick(0, kPieces.size() - 1);
    std::string text;
    for (size_t i = count(random); i > 0; --i) {
        text += kPieces[pick(random)];
        text += random() % 3 == 0 ? "" : " ";
    }
    return text;
}

std::string Mutated(std::mt19937& random) {
    std::string text = kValidFilters[random() % kValidFilters.size()];
    for (int edits = 1 + random() % 4; edits > 0 && !text.empty(); --edits) {
        size_t at = random() % text.size();
        switch (random() % 4) {
            case 0:
                text.erase(at, 1 + random() % 5);
                break;
            case 1:
                text.insert(at, kPieces[random() % kPieces.size()]);
                break;
            case 2:
                text[at] = static_cast<char>(random() % 256);
                break;
            default:
                text = text.substr(0, at);
                break;
        }
    }
    return text;
}

// Parses the text; when it parses, filters and locates with it. Only the language's own
// database errors may come out.
void Exercise(FilterTable& table, const std::string& text) {
    try {
        TDSExpression expression = table.Parser({text.size() % 2 == 0, false}).ParseToExpression(text);
        TDSFilterHandle handle = 0;
        ASSERT_EQ(table.cursor->AddFilter(expression, handle), dsstatus::kOk) << text;
        int count = -1;
        table.cursor->GetRecordCount(count);
        ASSERT_GE(count, 0);
        table.cursor->DropFilter(handle);
        int status = table.cursor->LocateWithFilter(expression);
        ASSERT_TRUE(status == dsstatus::kOk || status == dsstatus::kRecordNotFound) << text;
    } catch (const EDatabaseError& error) {
        ASSERT_FALSE(error.Message().empty()) << text;
    }
}

TEST(FilterFuzz, RandomAndMutatedTextsParseOrFailWithAMessage) {
    FilterTable table;
    std::mt19937 random(20261209);
    for (int i = 0; i < 4000; ++i) {
        std::string text = i % 2 == 0 ? RandomSoup(random) : Mutated(random);
        ASSERT_NO_FATAL_FAILURE(Exercise(table, text)) << text;
    }
}

}  // namespace
}  // namespace contado
