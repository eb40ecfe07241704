#include <random>

#include <gtest/gtest.h>

#include "tests/data/client/filtertesttable.h"

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

// A well-formed condition over fields and constants of matching kinds, nested up to depth levels.
std::string RandomCondition(std::mt19937& random, int depth) {
    struct Operand {
        const char* field;
        std::vector<const char*> constants;
    };
    static const std::vector<Operand> operands = {
        {"AJCI_ID", {"1", "-3", "'2'", "4.5"}},
        {"AJCI_FECINI", {"'09/12/2026'", "'10/12/2026'", "'01/01/2000'"}},
        {"AJCI_PORC", {"16", "0.8", "'19'", "-0.0001"}},
        {"[AJCI_PREFNO]", {"'AB'", "'A*'", "''", "'ABCDEFG'"}},
        {"STAMP", {"'09/12/2026 10:30'", "'10/12/2026'"}},
        {"HOUR", {"'10:30'", "'08:00:00'"}}};
    static const char* comparisons[] = {"=", "<>", "<", ">", "<=", ">="};
    const Operand& operand = operands[random() % operands.size()];
    const char* constant = operand.constants[random() % operand.constants.size()];
    if (depth > 0 && random() % 3 == 0) {
        const char* joint = random() % 2 == 0 ? " AND " : " or ";
        return (random() % 4 == 0 ? "NOT (" : "(") + RandomCondition(random, depth - 1) + joint +
               RandomCondition(random, depth - 1) + ")";
    }
    switch (random() % 5) {
        case 0:
            return std::string(operand.field) + (random() % 2 == 0 ? " IS NULL" : " is not null");
        case 1:
            return std::string("NAME LIKE '") + "*an%" + "'";
        case 2:
            return std::string(operand.field) + " IN (" + constant + ", " + constant + ")";
        default:
            return std::string(operand.field) + " " + comparisons[random() % 6] + " " + constant;
    }
}

std::string Mutated(std::mt19937& random) {
    std::string text =
        random() % 2 == 0 ? kValidFilters[random() % kValidFilters.size()] : RandomCondition(random, 3);
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

TEST(FilterFuzz, RandomGeneratedAndMutatedTextsParseOrFailWithAMessage) {
    FilterTable table;
    std::mt19937 random(20261209);
    for (int i = 0; i < 6000; ++i) {
        std::string text =
            i % 3 == 0 ? RandomSoup(random) : (i % 3 == 1 ? Mutated(random) : RandomCondition(random, 4));
        ASSERT_NO_FATAL_FAILURE(Exercise(table, text)) << text;
    }
}

}  // namespace
}  // namespace contado
