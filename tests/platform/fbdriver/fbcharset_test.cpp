#include <gtest/gtest.h>

#include "tests/platform/fbdriver/fbdriverfixture.h"

// Text of every character set reaches the driver's user as UTF-8 and goes back in the column's own
// bytes; NONE holds Windows-1252 bytes as the system's original clients wrote them.

namespace contado {
namespace {

constexpr char kMuellerLatin1[] = "4DFC6C6C6572";  // "Müller" in ISO8859_1 and Windows-1252
constexpr char kNunezLatin1[] = "4E75F1657A";      // "Nuñez"

class FbCharSetTest : public FbDriverTest {
  protected:
    void SetUp() override {
        database_.RunScript(
            "create table NOMBRES (ID integer not null primary key, LATIN varchar(20) character set "
            "ISO8859_1, WIN varchar(20) character set WIN1252, CRUDO varchar(20) character set NONE, "
            "FIJO char(8) character set WIN1252, NOTA blob sub_type text character set WIN1252, "
            "BYTES varchar(8) character set OCTETS, OTRO integer);\n"
            "commit;\n"
            "insert into NOMBRES values (1, x'" +
            std::string(kMuellerLatin1) + "', x'" + kNunezLatin1 + "', x'" + kMuellerLatin1 + "', x'" +
            kNunezLatin1 + "', x'" + kNunezLatin1 +
            "', x'4DFC', 0);\n"
            "commit;\n");
        FbDriverTest::SetUp();
    }

    std::unique_ptr<ISQLConnection> ConnectWith(const char* charSet) const {
        std::unique_ptr<ISQLConnection> connection;
        EXPECT_EQ(Driver().getSQLConnection(connection), sqlstatus::kSuccess);
        connection->setOption(connoption::kServerCharSet, reinterpret_cast<std::intptr_t>(charSet));
        std::string text;
        EXPECT_EQ(connection->connect(database_.Path(), "SYSDBA", ""), sqlstatus::kSuccess)
            << (connection->getErrorMessage(text), text);
        return connection;
    }

    // The stored bytes of a column of row 1, in hexadecimal, read without any conversion.
    std::string StoredBytes(const std::string& column, int id = 1) const {
        const auto rows = Query(*connection_, "select cast(" + column +
                                                  " as varchar(40) character set octets) from NOMBRES "
                                                  "where ID = " +
                                                  std::to_string(id));
        if (rows.size() != 1) {
            return "no row";
        }
        std::string hex;
        for (unsigned char byte : rows[0][0].Text) {
            static const char kDigits[] = "0123456789ABCDEF";
            hex += kDigits[byte >> 4];
            hex += kDigits[byte & 15];
        }
        return hex;
    }
};

TEST_F(FbCharSetTest, SingleByteAndNoneColumnsReadAsUtf8) {
    const auto rows = Query(*connection_, "select LATIN, WIN, CRUDO, FIJO, NOTA from NOMBRES");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0].Text, "Müller");
    EXPECT_EQ(rows[0][1].Text, "Nuñez");
    EXPECT_EQ(rows[0][2].Text, "Müller") << "NONE bytes that are not UTF-8 are Windows-1252";
    EXPECT_EQ(rows[0][3].Text, "Nuñez   ") << "fixed text padded to its characters";
    EXPECT_EQ(rows[0][4].Text, "Nuñez");
}

TEST_F(FbCharSetTest, NoneTextThatIsUtf8StaysAsItIs) {
    Execute(*connection_, "insert into NOMBRES (ID, CRUDO) values (2, x'4DC3BC6C6C6572')");
    const auto rows = Query(*connection_, "select CRUDO from NOMBRES where ID = 2");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0].Text, "Müller");
}

TEST_F(FbCharSetTest, OctetsStayBytes) {
    const auto rows = Query(*connection_, "select BYTES from NOMBRES");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0].Text, std::string("M\xFC"));
}

TEST_F(FbCharSetTest, ParametersAreWrittenInTheColumnsBytes) {
    Execute(*connection_, "insert into NOMBRES (ID, LATIN, WIN, CRUDO, FIJO, NOTA) values (2, ?, ?, ?, ?, ?)",
            {Text("Nuñez"), Text("Müller"), Text("Nuñez"), Text("Müller"), Text("Nuñez")});
    EXPECT_EQ(StoredBytes("LATIN", 2), kNunezLatin1);
    EXPECT_EQ(StoredBytes("WIN", 2), kMuellerLatin1);
    EXPECT_EQ(StoredBytes("CRUDO", 2), kNunezLatin1) << "NONE takes Windows-1252";
    EXPECT_EQ(StoredBytes("FIJO", 2), std::string(kMuellerLatin1) + "2020");
    EXPECT_EQ(StoredBytes("NOTA", 2), kNunezLatin1);
}

TEST_F(FbCharSetTest, EveryColumnOfARowMatchesItsOwnValueInAWhereClause) {
    const auto row = Query(*connection_, "select LATIN, WIN, CRUDO, FIJO from NOMBRES")[0];
    EXPECT_EQ(Execute(*connection_,
                      "update NOMBRES set OTRO = 1 where LATIN = ? and WIN = ? and CRUDO = ? and FIJO = ?",
                      {row[0], row[1], row[2], row[3]}),
              1);
    EXPECT_EQ(StoredBytes("LATIN"), kMuellerLatin1);
    EXPECT_EQ(StoredBytes("CRUDO"), kMuellerLatin1);
}

TEST_F(FbCharSetTest, NoneKeepsTextWindows1252CannotHoldAsUtf8) {
    Execute(*connection_, "insert into NOMBRES (ID, CRUDO) values (2, ?)", {Text("Ωmega")});
    EXPECT_EQ(StoredBytes("CRUDO", 2), "CEA96D656761");
    EXPECT_EQ(Query(*connection_, "select CRUDO from NOMBRES where ID = 2")[0][0].Text, "Ωmega");
}

TEST_F(FbCharSetTest, ACharacterTheColumnOrConnectionCannotHoldIsAClearError) {
    std::string text;
    EXPECT_NE(TryExecute(*connection_, "update NOMBRES set LATIN = ?", text, {Text("Ωmega")}),
              sqlstatus::kSuccess);
    EXPECT_NE(text.find("Cannot transliterate"), std::string::npos) << text;
    auto connection = ConnectWith("WIN1252");
    EXPECT_NE(TryExecute(*connection, "insert into TARIFA (ID, NOMBRE) values (1, ?)", text, {Text("Ωmega")}),
              sqlstatus::kSuccess);
    EXPECT_NE(text.find("WIN1252 cannot hold"), std::string::npos) << text;
    EXPECT_EQ(StoredBytes("LATIN"), kMuellerLatin1);
    EXPECT_EQ(Count(*connection_, "TARIFA"), 0);
}

TEST_F(FbCharSetTest, ServerCharSetsOtherThanUtf8ConvertBothWays) {
    for (const char* charSet : {"ISO8859_1", "WIN1252"}) {
        SCOPED_TRACE(charSet);
        auto connection = ConnectWith(charSet);
        const auto rows =
            Query(*connection, "select LATIN, WIN, CRUDO, FIJO, NOTA from NOMBRES where ID = 1");
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0][0].Text, "Müller");
        EXPECT_EQ(rows[0][1].Text, "Nuñez");
        EXPECT_EQ(rows[0][2].Text, "Müller");
        EXPECT_EQ(rows[0][3].Text, "Nuñez   ");
        EXPECT_EQ(rows[0][4].Text, "Nuñez");
        Execute(*connection, "insert into TARIFA (ID, NOMBRE) values (1, ?)", {Text("Año")});
        EXPECT_EQ(Query(*connection_, "select NOMBRE from TARIFA")[0][0].Text, "Año")
            << "the UTF8 column holds the same text";
        EXPECT_EQ(Query(*connection, "select NOMBRE from TARIFA where NOMBRE = ?", {Text("Año")}).size(), 1u);
        Execute(*connection_, "delete from TARIFA");
    }
}

TEST_F(FbCharSetTest, TextThatIsNotUtf8IsRefusedWithAMessage) {
    std::string text;
    EXPECT_NE(TryExecute(*connection_, "update NOMBRES set LATIN = ?", text, {Text("M\xFCller")}),
              sqlstatus::kSuccess);
    EXPECT_FALSE(text.empty());
    auto connection = ConnectWith("WIN1252");
    EXPECT_NE(TryExecute(*connection, "update NOMBRES set WIN = ?", text, {Text("\xC3")}),
              sqlstatus::kSuccess);
    EXPECT_NE(text.find("UTF-8"), std::string::npos) << text;
    EXPECT_EQ(StoredBytes("WIN"), kNunezLatin1);
}

TEST_F(FbCharSetTest, HugeAndEmptyTextConvert) {
    const std::string huge(8000, 'x');
    const std::string longText = huge + "ñ";
    database_.RunScript("alter table NOMBRES add LARGO varchar(8100) character set WIN1252;\ncommit;\n");
    auto connection = Connect();
    Execute(*connection, "update NOMBRES set LARGO = ?, LATIN = ?", {Text(longText), Text("")});
    const auto rows = Query(*connection, "select LARGO, LATIN from NOMBRES");
    EXPECT_EQ(rows[0][0].Text, longText);
    EXPECT_FALSE(rows[0][1].IsNull);
    EXPECT_EQ(rows[0][1].Text, "");
}

}  // namespace
}  // namespace contado
