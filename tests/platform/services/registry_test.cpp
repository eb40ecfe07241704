#include <gtest/gtest.h>

#include "core/exceptions.h"
#include "platform/services/registry.h"
#include "tests/support/registrysandbox.h"

namespace contado {
namespace {

constexpr const char* kKey = "\\Software\\Ombrin\\TandrelERP2017";

std::string ReadDirectorio(const TRegistrySandbox& sandbox, const std::string& contents) {
    sandbox.WriteSettings(contents);
    TRegistry registry;
    EXPECT_TRUE(registry.OpenKeyReadOnly(kKey));
    return registry.ReadString("Directorio");
}

TEST(Registry, KeyIsTheSettingsFileInTheFirstConfigDirectoryHoldingIt) {
    TRegistrySandbox sandbox;
    EXPECT_EQ(TRegistry::SettingsFileFor(kKey), sandbox.SettingsFile().string());
    TRegistry registry;
    EXPECT_FALSE(registry.OpenKeyReadOnly(kKey)) << "no file, no key";
    sandbox.WriteSettings("");
    EXPECT_TRUE(registry.OpenKeyReadOnly(kKey));
    EXPECT_FALSE(registry.OpenKeyReadOnly("\\Software\\Ombrin")) << "a key of another shape";
    EXPECT_FALSE(registry.OpenKeyReadOnly("\\Software\\Ombrin\\Otra"));
}

TEST(Registry, FindsTheFileInALaterConfigDirectory) {
    TRegistrySandbox sandbox;
    sandbox.PointAtApplicationDirectory();
    const std::string dirs =
        "/nonexistent/xdg:" + sandbox.SettingsFile().parent_path().parent_path().string();
    TScopedEnvironment environment("XDG_CONFIG_DIRS", dirs);
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKeyReadOnly(kKey));
    EXPECT_EQ(registry.ReadString("Directorio"), sandbox.ApplicationDirectory().string());
}

TEST(Registry, PlainValuesAreReadAsWritten) {
    TRegistrySandbox sandbox;
    EXPECT_EQ(ReadDirectorio(sandbox, "[General]\nDirectorio=/srv/tandrel\n"), "/srv/tandrel");
    EXPECT_EQ(ReadDirectorio(sandbox, "Directorio=/srv/con blancos/\n"), "/srv/con blancos/");
    EXPECT_EQ(ReadDirectorio(sandbox, "[General]\nDirectorio=\"/srv/a, b\"\n"), "/srv/a, b");
    EXPECT_EQ(ReadDirectorio(sandbox, "[General]\nDirectorio=2017\n"), "2017") << "INI numbers are text";
    EXPECT_EQ(ReadDirectorio(sandbox, "[General]\nDirectorio=/srv/compañía\n"), "/srv/compañía");
}

TEST(Registry, AbsentOrEmptyValueIsEmptyText) {
    TRegistrySandbox sandbox;
    EXPECT_EQ(ReadDirectorio(sandbox, "[General]\nOtro=/srv\n"), "");
    EXPECT_EQ(ReadDirectorio(sandbox, "[General]\nDirectorio=\n"), "");
    EXPECT_EQ(ReadDirectorio(sandbox, "[Otra]\nDirectorio=/srv\n"), "") << "only the key's own values";
}

TEST(Registry, ValuesOfOtherTypesFailNamingTheValue) {
    TRegistrySandbox sandbox;
    for (const char* contents :
         {"[General]\nDirectorio=/srv/a, /srv/b\n", "[General]\nDirectorio=@ByteArray(/srv/tandrel)\n",
          "[General]\nDirectorio=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)\n",
          "[General]\nDirectorio=/srv/tandrel\\0/otro\n", "[General]\nDirectorio=\"/srv/\\x0\"\n"}) {
        sandbox.WriteSettings(contents);
        TRegistry registry;
        ASSERT_TRUE(registry.OpenKeyReadOnly(kKey));
        try {
            registry.ReadString("Directorio");
            ADD_FAILURE() << "read without failure: " << contents;
        } catch (const Exception& error) {
            EXPECT_EQ(error.Message(), "Invalid data type for 'Directorio'") << contents;
        }
    }
}

// A settings file is a few lines: only its first MiB is read, so a huge one costs nothing and a
// value past it is not there.
TEST(Registry, OnlyTheFirstMebibyteOfTheFileIsRead) {
    TRegistrySandbox sandbox;
    std::string contents = "[General]\nDirectorio=/srv/tandrel\n";
    contents += std::string(3 << 20, '#');
    contents += "\nEsperaConexion=5\n";
    sandbox.WriteSettings(contents);
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKeyReadOnly(kKey));
    EXPECT_EQ(registry.ReadString("Directorio"), "/srv/tandrel");
    EXPECT_EQ(registry.ReadString("EsperaConexion"), "");
}

TEST(Registry, OtherValuesOfTheFileAreNeverInterpreted) {
    TRegistrySandbox sandbox;
    const std::string contents =
        "[General]\nEsperaConexion=@Variant(\\0\\0\\0\\t(\\0\\x2\\0\\0\\0\\x1e)\n"
        "EsperaBloqueo=a, b\nDirectorio=/srv/tandrel\n";
    EXPECT_EQ(ReadDirectorio(sandbox, contents), "/srv/tandrel");
}

}  // namespace
}  // namespace contado
