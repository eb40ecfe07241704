#include <gtest/gtest.h>

#include "app/serverlist.h"
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
    EXPECT_EQ(TServerList::PathFor(""), "/SERVIDORES.cfg");
}

}  // namespace
}  // namespace contado
