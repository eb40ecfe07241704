#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>

#include "app/run/errorlog.h"
#include "core/formatsettings.h"

namespace contado {
namespace {

namespace fs = std::filesystem;

class ErrorLogTest : public testing::Test {
  protected:
    void SetUp() override {
        saved_ = FormatSettings();
        char pattern[] = "/tmp/contado-log-XXXXXX";
        directory_ = mkdtemp(pattern);
    }
    void TearDown() override {
        FormatSettings() = saved_;
        fs::permissions(directory_, fs::perms::owner_all);
        fs::remove_all(directory_);
    }
    std::string Contents() const {
        std::ifstream file(TErrorLog::PathFor(directory_), std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }
    TFormatSettings saved_;
    std::string directory_;
};

TEST_F(ErrorLogTest, LineHoldsDateTimeUserAndMessageEndedByCrLf) {
    FormatSettings().ShortDateFormat = "dd/mm/yyyy";
    FormatSettings().LongTimeFormat = "hh:nn:ss";
    const TDateTime moment = EncodeDate(2026, 12, 8) + EncodeTime(10, 15, 2, 0);
    EXPECT_EQ(TErrorLog::LineFor(moment, "OPERADOR", "Field 'AJCI_ID' must have a value"),
              "08/12/2026,10:15:02,OPERADOR,Field 'AJCI_ID' must have a value\r\n");
    EXPECT_EQ(TErrorLog::LineFor(moment, "", "a\r\nb"), "08/12/2026,10:15:02,,a\r\nb\r\n");
}

TEST_F(ErrorLogTest, FirstErrorCreatesTheLogAndLaterOnesAppend) {
    std::ofstream(TErrorLog::PathFor(directory_), std::ios::binary) << "kept line\r\n";
    TErrorLog::Append(directory_, "U", "first");
    TErrorLog::Append(directory_, "U", "second");
    const std::string text = Contents();
    EXPECT_EQ(text.rfind("kept line\r\n", 0), 0u);
    EXPECT_NE(text.find(",U,first\r\n"), std::string::npos);
    EXPECT_GT(text.find(",U,second\r\n"), text.find(",U,first\r\n"));

    fs::remove(TErrorLog::PathFor(directory_));
    TErrorLog::Append(directory_, "U", "again");
    EXPECT_NE(Contents().find(",U,again\r\n"), std::string::npos);
}

TEST_F(ErrorLogTest, UnwritableDirectoryLosesTheLine) {
    if (geteuid() == 0) {
        // Root writes anywhere: a missing directory stands in for an unwritable one.
        EXPECT_NO_THROW(TErrorLog::Append(directory_ + "/missing", "U", "lost"));
        EXPECT_FALSE(fs::exists(directory_ + "/missing"));
        return;
    }
    fs::permissions(directory_, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_NO_THROW(TErrorLog::Append(directory_, "U", "lost"));
    EXPECT_FALSE(fs::exists(TErrorLog::PathFor(directory_)));
}

// A log made by one user is group-writable whatever the umask, so the next user of the group can
// append; each entry is one whole line.
TEST_F(ErrorLogTest, ANewLogIsGroupWritableWhateverTheUmask) {
    const mode_t saved = umask(022);
    TErrorLog::Append(directory_, "U", "primera línea con Ñ");
    umask(saved);
    const fs::perms perms = fs::status(TErrorLog::PathFor(directory_)).permissions();
    EXPECT_NE(perms & fs::perms::group_write, fs::perms::none);
    EXPECT_EQ(perms & fs::perms::others_write, fs::perms::none);
    EXPECT_NE(Contents().find(",U,primera línea con Ñ\r\n"), std::string::npos);
}

// Anything but a regular file of the directory loses the line, with a word on standard error, and
// never blocks, never writes elsewhere.
TEST_F(ErrorLogTest, ALinkAFifoOrAFolderLosesTheLineWithAWordAndNeverBlocks) {
    const std::string outside = directory_ + "/outside.txt";
    const std::string log = TErrorLog::PathFor(directory_);
    const std::vector<std::pair<const char*, std::function<void()>>> kinds = {
        {"symbolic link", [&] { fs::create_symlink(outside, log); }},
        {"FIFO nobody reads", [&] { ASSERT_EQ(mkfifo(log.c_str(), 0666), 0); }},
        {"folder", [&] { fs::create_directory(log); }},
    };
    for (const auto& [kind, make] : kinds) {
        SCOPED_TRACE(kind);
        std::ofstream(outside, std::ios::binary) << "ajeno\n";
        make();
        testing::internal::CaptureStderr();
        TErrorLog::Append(directory_, "U", "perdida");
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find("No se pudo escribir en " + log), std::string::npos) << said;
        EXPECT_NE(said.find("perdida"), std::string::npos) << "the lost line is said";
        std::ifstream file(outside, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), "ajeno\n");
        fs::remove(log);
    }
}

}  // namespace
}  // namespace contado
