#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "platform/services/diagnostics.h"
#include "tests/support/scopedenvironment.h"

// Lines on standard error carry their priority only when standard error is the journal's stream.

namespace contado {
namespace {

TEST(Diagnostics, APriorityPrefixOnlyWhenStandardErrorIsTheJournalsStream) {
    const std::vector<std::pair<TDiagnosticLevel, std::string>> levels = {
        {dlError, "<3>"}, {dlWarning, "<4>"}, {dlInformation, "<6>"}};
    for (const auto& [level, prefix] : levels) {
        testing::internal::CaptureStderr();
        struct stat info;
        ASSERT_EQ(fstat(STDERR_FILENO, &info), 0);
        const std::string stream = std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino);
        {
            TScopedEnvironment journal("JOURNAL_STREAM", stream);
            WriteDiagnostic(level, "Día 2026-12-09: Ñandú");
        }
        {
            TScopedEnvironment other("JOURNAL_STREAM", std::to_string(info.st_dev) + ":1");
            WriteDiagnostic(level, "sin prefijo");
        }
        WriteDiagnostic(level, "sin variable");
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  prefix + "Día 2026-12-09: Ñandú\nsin prefijo\nsin variable\n");
    }
}

}  // namespace
}  // namespace contado
