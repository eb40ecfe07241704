#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "app/run/serverlist.h"
#include "tests/support/registrysandbox.h"

namespace contado {
namespace {

using Entries = std::vector<std::string>;

Entries ReadBytes(const std::string& bytes) {
    TRegistrySandbox sandbox;
    sandbox.WriteApplicationFile("SERVIDORES.cfg", bytes);
    return TServerList::Read(TServerList::PathFor(sandbox.ApplicationDirectory().string()));
}

TEST(ServerList, OneEntryPerLineWhateverTheLineEnd) {
    EXPECT_EQ(ReadBytes("A\r\nB\r\n"), (Entries{"A", "B"}));
    EXPECT_EQ(ReadBytes("A\nB\n"), (Entries{"A", "B"}));
    EXPECT_EQ(ReadBytes("AB\rCD\r"), (Entries{"AB", "CD"})) << "a CR alone loses no character";
    EXPECT_EQ(ReadBytes("AB\r\rCD\r\n\nEF"), (Entries{"AB", "", "CD", "", "EF"}));
    EXPECT_EQ(ReadBytes("A\r"), (Entries{"A"})) << "CR as the very last byte";
}

TEST(ServerList, LastLineWithoutLineEndIsKept) {
    EXPECT_EQ(ReadBytes("A\nB"), (Entries{"A", "B"}));
    EXPECT_EQ(ReadBytes("/srv/tandrel"), (Entries{"/srv/tandrel"}));
}

TEST(ServerList, EmptyLinesDuplicatesAndBlanksStay) {
    EXPECT_EQ(ReadBytes("A\n\nB\n"), (Entries{"A", "", "B"}));
    EXPECT_EQ(ReadBytes("\r\nA\r\n"), (Entries{"", "A"})) << "first byte a line end";
    EXPECT_EQ(ReadBytes(" dbhost: \n dbhost: \n"), (Entries{" dbhost: ", " dbhost: "}));
}

TEST(ServerList, ZeroByteCutsItsEntryOnly) {
    EXPECT_EQ(ReadBytes(std::string("AB\0CD\nEF\n", 9)), (Entries{"AB", "EF"}));
    EXPECT_EQ(ReadBytes(std::string("\0X", 2)), (Entries{""}));
}

TEST(ServerList, LongLinesAndOtherBytesAreKeptWhole) {
    const std::string longLine(300, 'x');
    EXPECT_EQ(ReadBytes(longLine + "\n/srv/compañía\n"), (Entries{longLine, "/srv/compañía"}));
}

TEST(ServerList, MissingEmptyOrUnreadableFileGivesNoEntries) {
    EXPECT_EQ(ReadBytes(""), Entries{});
    TRegistrySandbox sandbox;
    const std::string directory = sandbox.ApplicationDirectory().string();
    EXPECT_EQ(TServerList::Read(TServerList::PathFor(directory)), Entries{});
    EXPECT_EQ(TServerList::Read(directory), Entries{}) << "a directory is no list";
}

TEST(ServerList, WithoutAnApplicationDirectoryNothingIsReadFromTheRootFolder) {
    EXPECT_EQ(TServerList::PathFor(""), "");
    testing::internal::CaptureStderr();
    EXPECT_EQ(TServerList::Read(TServerList::PathFor("")), Entries{});
    EXPECT_NE(testing::internal::GetCapturedStderr().find("SERVIDORES.cfg: sin directorio de la aplicación no hay lista de servidores"),
              std::string::npos);
}

// A FIFO would hold the start until someone writes into it; here a writer comes after a while, so
// a reader that waited for it would get its line.
TEST(ServerList, OnlyARegularFileIsRead) {
    TRegistrySandbox sandbox;
    const std::string path = TServerList::PathFor(sandbox.ApplicationDirectory().string());
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    std::atomic<bool> done = false;
    std::thread writer([&] {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!done && std::chrono::steady_clock::now() < deadline) {
            const int fd = open(path.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                EXPECT_EQ(write(fd, "srv\n", 4), 4);
                close(fd);
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const Entries entries = TServerList::Read(path);
    done = true;
    writer.join();
    EXPECT_EQ(entries, Entries{});
}

TEST(ServerList, OnlyTheFirstMebibyteIsRead) {
    std::string bytes;
    for (std::size_t line = 0; line < 2 * TServerList::kMaximumSize / 4; ++line) {
        bytes += "abc\n";
    }
    const Entries entries = ReadBytes(bytes);
    EXPECT_EQ(entries.size(), TServerList::kMaximumSize / 4);
}

}  // namespace
}  // namespace contado
