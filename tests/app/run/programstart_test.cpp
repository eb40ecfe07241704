#include "app/run/programstart.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "app/run/exitstatus.h"
#include "tests/support/runningchild.h"

namespace contado {
namespace {

const std::string kProgram = CONTADO_BINARY_DIR "/bin/contado";

TEST(ProgramStart, OnlyTheOffscreenAndMinimalPlatformsAreWithoutDisplay) {
    const struct {
        const char* platform;
        bool withoutDisplay;
    } cases[] = {
        {"minimal", true},          {"offscreen", true},  {"offscreen:fontengine=freetype", true},
        {"minimal:enable_fonts", true}, {"xcb", false},   {"wayland;xcb", false},
        {"minimalegl", false},      {"offscreenx", false}, {"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PlatformWithoutDisplay(c.platform), c.withoutDisplay) << c.platform;
    }
}

// A folder of its own for what a test puts beside a copy of the program.
std::filesystem::path NewFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "contado-start-XXXXXX").string();
    return mkdtemp(pattern.data());
}

// The loader names every library it loads, the database driver and client the run opens included;
// no library of the window toolkit may be among them.
TEST(ProgramStart, AnUnattendedRunWithoutDisplayLoadsNoWindowToolkit) {
    const std::filesystem::path folder = NewFolder();
    TRunningChild child(kProgram, {folder.string(), "SYSDBA", "masterkey", "99"},
                        {{"QT_QPA_PLATFORM", "minimal"}, {"LD_DEBUG", "files"}});
    EXPECT_EQ(child.WaitFor(std::chrono::seconds(60)), std::optional<int>(esRunFailed));
    const std::string output = child.Output();
    EXPECT_NE(output.find("libfbdriver.so"), std::string::npos) << output;
    EXPECT_NE(output.find("/datos/99/tandrel.fdb"), std::string::npos) << output;
    EXPECT_EQ(output.find("libQt6"), std::string::npos) << output;
    std::filesystem::remove_all(folder);
}

// The program that must show a window and finds no window's program beside it says which one it
// looked for, and ends as a failed run.
TEST(ProgramStart, AWindowWithoutTheWindowsProgramIsAClearFailure) {
    const std::filesystem::path folder = NewFolder();
    std::filesystem::copy_file(kProgram, folder / "contado");
    TRunningChild child((folder / "contado").string(), {}, {{"QT_QPA_PLATFORM", "xcb"}});
    EXPECT_EQ(child.WaitFor(std::chrono::seconds(30)), std::optional<int>(esRunFailed));
    const std::string expected = "no se pudo abrir la ventana (" + (folder / "contado-ventana").string() + ")";
    EXPECT_NE(child.Output().find(expected), std::string::npos) << child.Output();
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace contado
