#include <gtest/gtest.h>

#include "data/sql/connectionparams.h"

namespace contado {
namespace {

TEST(ConnectionParams, ValuesAreFoundWithoutRegardToCase) {
    TConnectionParams params;
    params.SetLines({"Database=C:\\x.fdb", "Password=dovizeriz", "ServerCharSet=", "Flag"});
    EXPECT_EQ(params.Value("DATABASE"), "C:\\x.fdb");
    EXPECT_EQ(params.Value("password"), "dovizeriz");
    EXPECT_EQ(params.Value("ServerCharSet"), "");
    EXPECT_TRUE(params.HasName("servercharset"));
    EXPECT_EQ(params.Value("Missing"), "");
    EXPECT_FALSE(params.HasName("Flag"));
}

TEST(ConnectionParams, SettingReplacesAppendsOrRemovesLines) {
    TConnectionParams params;
    params.SetLines({"Database=a", "Password=dovizeriz", "User_Name=sysdba"});
    params.SetValue("password", "secreto");
    params.SetValue("Role", "R");
    EXPECT_EQ(params.Lines(),
              (std::vector<std::string>{"Database=a", "password=secreto", "User_Name=sysdba", "Role=R"}));
    params.SetValue("PASSWORD", "");
    EXPECT_EQ(params.Lines(), (std::vector<std::string>{"Database=a", "User_Name=sysdba", "Role=R"}));
    params.SetValue("Absent", "");
    EXPECT_EQ(params.Count(), 3);
    params.SetValue("Database", "x=y");
    EXPECT_EQ(params.Value("database"), "x=y");
}

}  // namespace
}  // namespace contado
