#include <gtest/gtest.h>

#include "core/textutil.h"
#include "core/utf8text.h"

namespace contado {
namespace {

TEST(Utf8Text, CountsAndCutsByCharactersNeverInsideOne) {
    EXPECT_EQ(CharacterCount("ÑÑA"), 3u);
    EXPECT_EQ(CharacterCount(""), 0u);
    EXPECT_EQ(LeftCharacters("ÑÑÑÑÑ", 4), "ÑÑÑÑ");
    EXPECT_EQ(LeftCharacters("AÑÑ", 2), "AÑ");
    EXPECT_EQ(LeftCharacters("AÑÑ", 9), "AÑÑ");
    EXPECT_EQ(LeftCharacters("€uro", 1), "€");
    EXPECT_EQ(LeftCharacters("😀x", 1), "😀");
}

TEST(Utf8Text, BytesThatAreNotUtf8CountOneEachAndAreKept) {
    const std::string latin1 = "M\xFCller";  // "Müller" in Latin-1
    EXPECT_EQ(CharacterCount(latin1), 6u);
    EXPECT_EQ(LeftCharacters(latin1, 2), "M\xFC");
    // A sequence cut short counts as its bytes, and the text after it is still read.
    EXPECT_EQ(CharacterCount("\xC3"), 1u);
    EXPECT_EQ(CharacterCount("a\xE2\x82" "b"), 4u);
    EXPECT_EQ(FoldedCase("A\xFF" "B"), "a\xFF" "b");
    EXPECT_NE(CompareCharacters("\xFC", "\xFD", true), 0);
    EXPECT_NE(CompareCharacters("\xC3", "Ã", true), 0);
}

TEST(Utf8Text, CaseFoldingKnowsEveryLetter) {
    EXPECT_EQ(FoldedCase("ÑANDÚ Éste"), "ñandú éste");
    EXPECT_EQ(CompareCharacters("ña", "ÑA", true), 0);
    EXPECT_EQ(CompareCharacters("ÉSTE", "éste", true), 0);
    EXPECT_EQ(CompareCharacters("ΣΟΦΊΑ", "σοφία", true), 0);
    EXPECT_NE(CompareCharacters("ña", "ÑA", false), 0);
    EXPECT_NE(CompareCharacters("ña", "na", true), 0);
    EXPECT_TRUE(SameText("Año", "AÑO"));
    EXPECT_FALSE(SameText("Año", "ANO"));
}

TEST(Utf8Text, OrdersByCodePointAndPrefixesByCharacter) {
    EXPECT_LT(CompareCharacters("n", "ñ", false), 0);
    EXPECT_LT(CompareCharacters("Ñ", "ña", true), 0);
    EXPECT_GT(CompareCharacters("ÑB", "ña", true), 0);
    EXPECT_LT(CompareCharacters("", "a", true), 0);
    EXPECT_TRUE(StartsWithCharacters("Ñandú", "ña", true));
    EXPECT_FALSE(StartsWithCharacters("Ñandú", "ña", false));
    EXPECT_FALSE(StartsWithCharacters("Ñ", "Ña", true));
    EXPECT_TRUE(StartsWithCharacters("abc", "", false));
}

TEST(Utf8Text, KeywordCaseChangesOnlyAsciiLettersInPlace) {
    EXPECT_EQ(UpperCase("from ñandú"), "FROM ñANDú");
    EXPECT_EQ(LowerCase("SELECT Ñ"), "select Ñ");
}

}  // namespace
}  // namespace contado
