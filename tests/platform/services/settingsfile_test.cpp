#include "platform/services/settingsfile.h"

#include <gtest/gtest.h>

namespace contado {
namespace {

// The text of value D, or "<none>" when absent and "<other type>" when it is not text.
std::string D(const std::string& contents) {
    const std::optional<TSettingsValue> value = TSettingsFile(contents).Value("D");
    if (!value) {
        return "<none>";
    }
    return value->IsText ? value->Text : "<other type>";
}

TEST(SettingsFile, ReadsTheGeneralSectionLineByLine) {
    EXPECT_EQ(D("D=1\n[X]\nD=2\n"), "1") << "entries before any section are in [General]";
    EXPECT_EQ(D("[X]\nD=1\n[ general ]\nD=2\n[X]\nD=3\n"), "2");
    EXPECT_EQ(D("[X]\nD=1\n"), "<none>");
    EXPECT_EQ(D("D=1\nD=2\n"), "2") << "the last value counts";
    EXPECT_EQ(D("; D=1\n# D=2\n  D = 3  \n"), "3");
    EXPECT_EQ(D("E=1\r\nD=2\r\n"), "2");
    EXPECT_EQ(D("E=1\rD=2\r"), "2");
    EXPECT_EQ(D("D=/srv/\\\n  tandrel\n"), "/srv/  tandrel") << "a backslash joins the next line";
    EXPECT_EQ(D("\xEF\xBB\xBF" "D=1\n"), "1");
    EXPECT_EQ(D("%44=1\n"), "1");
    EXPECT_EQ(D("D\nd=1\n"), "<none>") << "names keep their case; a line without '=' is no entry";
    EXPECT_EQ(D("D=\n"), "");
    EXPECT_EQ(D(""), "<none>");
}

TEST(SettingsFile, QuotesBlanksAndEscapes) {
    EXPECT_EQ(D("D=  /srv/con   blancos  \n"), "/srv/con   blancos");
    EXPECT_EQ(D("D=\" /srv/a, b; c \"\n"), " /srv/a, b; c ");
    EXPECT_EQ(D("D=/srv/a ; a comment, with a comma\n"), "/srv/a");
    EXPECT_EQ(D("D=\"/srv\" /compañía\n"), "/srv/compañía") << "blanks beside quotes are dropped";
    EXPECT_EQ(D("D=a\\tb\\\\c\\\"d\\,e\n"), "a\tb\\c\"d,e");
    EXPECT_EQ(D("D=\\xd1\\xe9\\321\n"), "ÑéÑ") << "hexadecimal and octal characters";
    EXPECT_EQ(D("D=\\x110000\\xD800\n"), "\xEF\xBF\xBD\xEF\xBF\xBD") << "no such character";
    EXPECT_EQ(D("D=\\x" + std::string(100000, 'f') + "z\n"), "\xEF\xBF\xBDz");
    EXPECT_EQ(D("D=\xFF\xFE\n"), "\xFF\xFE") << "bytes that are not UTF-8 are kept";
}

TEST(SettingsFile, TypedFormsAreNeverBuilt) {
    EXPECT_EQ(D("D=@@Variant(x)\n"), "@Variant(x)");
    EXPECT_EQ(D("D=@String(/srv/tandrel)\n"), "/srv/tandrel");
    EXPECT_EQ(D("D=@Foo(x)\n"), "@Foo(x)") << "not a form of another type";
    EXPECT_EQ(D("D=@ByteArray(x)y\n"), "@ByteArray(x)y");
    for (const char* other : {"D=/srv/a, /srv/b\n", "D=@ByteArray(/srv)\n", "D=\"@Rect(1 2 3 4)\"\n",
                              "D=@Size(1 2)\n", "D=@Point(1 2)\n", "D=@DateTime(x)\n", "D=@Invalid()\n"}) {
        EXPECT_EQ(D(other), "<other type>") << other;
    }
    // A variant whose header claims a list of two billion entries: recognised, never decoded.
    EXPECT_EQ(D("D=@Variant(\\0\\0\\0\\t(\\0\\x2\\0\\0\\0\\x1e)\n"), "<other type>");
}

}  // namespace
}  // namespace contado
