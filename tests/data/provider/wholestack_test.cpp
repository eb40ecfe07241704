#include <gtest/gtest.h>

#include "core/datetime.h"
#include "core/formatsettings.h"
#include "data/client/clientdataset.h"
#include "data/fields/field.h"
#include "data/provider/datasetprovider.h"
#include "data/sql/sqlquery.h"
#include "data/sql/sqltable.h"
#include "tests/data/sql/connectionfixtures.h"
#include "tests/support/scratchdatabase.h"

// Single-byte and NONE text, times with a fourth fraction digit and 19-digit decimals through the
// whole stack: driver, SQL table, provider and client table, read and applied back.

namespace contado {
namespace {

constexpr char kMuellerLatin1[] = "4DFC6C6C6572";  // "Müller" in ISO8859_1 and Windows-1252
constexpr char kNunezLatin1[] = "4E75F1657A";      // "Nuñez"
constexpr std::int64_t kTime = ((13 * 60 + 14) * 60 + 15) * 10000LL + 6789;  // 13:14:15.6789
constexpr std::int64_t kLateTime = ((13 * 60 + 14) * 60 + 15) * 10000LL + 9999;

class WholeStackTest : public testing::Test {
  protected:
    WholeStackTest() {
        database_.RunScript(
            "create table NOMBRES (ID integer not null primary key, LATIN varchar(20) character set "
            "ISO8859_1, WIN varchar(20) character set WIN1252, CRUDO varchar(20) character set NONE, "
            "FIJO char(8) character set WIN1252, OTRO integer);\n"
            "create table HORAS (ID integer not null primary key, HORA time, MOMENTO timestamp, OTRO "
            "integer);\n"
            "create table GRANDES (ID integer not null primary key, N numeric(18,4), OTRO integer);\n"
            "commit;\n"
            "insert into NOMBRES values (1, x'" +
            std::string(kMuellerLatin1) + "', x'" + kNunezLatin1 + "', x'" + kMuellerLatin1 + "', x'" +
            kNunezLatin1 +
            "', 0);\n"
            "insert into HORAS values (1, '13:14:15.6789', '2026-12-09 13:14:15.6789', 0);\n"
            "insert into HORAS values (2, '13:14:15.9999', '2026-12-09 13:14:15.9999', 0);\n"
            "insert into GRANDES values (1, 922337203685477.5807, 0);\n"
            "insert into GRANDES values (2, -922337203685477.5808, 0);\n"
            "commit;\n");
        FormatSettings().ShortDateFormat = "dd/mm/yyyy";
        FormatSettings().DecimalSeparator = '.';
    }
    ~WholeStackTest() override { FormatSettings() = settings_; }

    // A client table over the whole of a table, through a connection with the server character set.
    TClientDataSet* Open(const std::string& table, const std::string& charSet = "") {
        connection_ = new TSQLConnection(&form_);
        ConfigureLikeTheMainWindow(*connection_, "libfbdriver.so", "getSQLDriverFIREBIRD", database_.Path());
        connection_->SetName("Scratch");
        connection_->Params().SetValue("User_Name", "SYSDBA");
        connection_->Params().SetValue("ServerCharSet", charSet);
        auto* source = new TSQLTable(&form_);
        source->SetName("T" + table);
        source->SetSQLConnection(connection_);
        source->SetTableName(table);
        source->SetGetMetadata(false);
        auto* provider = new TDataSetProvider(&form_);
        provider->SetName("P" + table);
        provider->SetDataSet(source);
        provider->OnUpdateError = [this](TDataSetProvider*, TDeltaReader&, EUpdateError& error, TUpdateKind,
                                         TResolverResponse&) { errors_.push_back(error.Message()); };
        auto* client = new TClientDataSet(&form_);
        client->SetName("C" + table);
        client->SetProviderName("P" + table);
        client->Open();
        return client;
    }

    // The first column of the first row of a select, through a query of the test's connection.
    std::string Scalar(const std::string& sql) {
        TSQLQuery query;
        query.SetSQLConnection(connection_);
        query.SetCommandText(sql);
        query.Open();
        return query.Eof() ? "no row" : query.Fields(0)->AsString();
    }

    // A column's stored bytes in hexadecimal, read without conversion.
    std::string StoredBytes(const std::string& column, int id) {
        std::string hex;
        for (unsigned char byte : Scalar("select cast(" + column + " as varchar(40) character set octets) " +
                                         "from NOMBRES where ID = " + std::to_string(id))) {
            static const char kDigits[] = "0123456789ABCDEF";
            hex += kDigits[byte >> 4];
            hex += kDigits[byte & 15];
        }
        return hex;
    }

    TScratchDatabase database_;
    TComponent form_;
    TSQLConnection* connection_ = nullptr;
    std::vector<std::string> errors_;
    TFormatSettings settings_ = FormatSettings();
};

class WholeStackCharSetTest : public WholeStackTest, public testing::WithParamInterface<const char*> {};

TEST_P(WholeStackCharSetTest, TextReadsAsUtf8AndGoesBackUnchanged) {
    TClientDataSet* table = Open("NOMBRES", GetParam());
    EXPECT_EQ(table->FieldByName("LATIN").AsString(), "Müller");
    EXPECT_EQ(table->FieldByName("WIN").AsString(), "Nuñez");
    EXPECT_EQ(table->FieldByName("CRUDO").AsString(), "Müller");
    EXPECT_EQ(table->FieldByName("FIJO").AsString(), "Nuñez   ");
    table->Edit();
    table->FieldByName("OTRO").SetAsInteger(5);
    table->Post();
    EXPECT_EQ(table->ApplyUpdates(0), 0);
    EXPECT_TRUE(errors_.empty()) << errors_.front();
    EXPECT_EQ(Scalar("select OTRO from NOMBRES where ID = 1"), "5");
    EXPECT_EQ(StoredBytes("LATIN", 1), kMuellerLatin1);
    EXPECT_EQ(StoredBytes("WIN", 1), kNunezLatin1);
    EXPECT_EQ(StoredBytes("CRUDO", 1), kMuellerLatin1);
    EXPECT_EQ(StoredBytes("FIJO", 1), std::string(kNunezLatin1) + "202020");

    table->Append();
    table->FieldByName("ID").SetAsInteger(2);
    for (const char* column : {"LATIN", "WIN", "CRUDO", "FIJO"}) {
        table->FieldByName(column).SetAsString("Nuñez");
    }
    table->Post();
    EXPECT_EQ(table->ApplyUpdates(0), 0);
    EXPECT_EQ(StoredBytes("LATIN", 2), kNunezLatin1);
    EXPECT_EQ(StoredBytes("WIN", 2), kNunezLatin1);
    EXPECT_EQ(StoredBytes("CRUDO", 2), kNunezLatin1);
}

INSTANTIATE_TEST_SUITE_P(ServerCharSets, WholeStackCharSetTest, testing::Values("", "ISO8859_1", "WIN1252"));

TEST_F(WholeStackTest, TimesWithAFourthFractionDigitReadExactlyUpdateAndDelete) {
    TClientDataSet* table = Open("HORAS");
    ASSERT_EQ(table->RecordCount(), 2);
    EXPECT_EQ(table->FieldByName("HORA").AsDateTime(), TimeFromUnits(kTime));
    EXPECT_EQ(table->FieldByName("MOMENTO").AsDateTime(),
              JoinDateTime(DateToDayNumber(EncodeDate(2026, 12, 9)), kTime));
    table->Edit();
    table->FieldByName("OTRO").SetAsInteger(7);
    table->Post();
    EXPECT_EQ(table->ApplyUpdates(0), 0);
    EXPECT_TRUE(errors_.empty()) << errors_.front();
    EXPECT_EQ(Scalar("select OTRO from HORAS where ID = 1"), "7");

    table->Next();
    table->Delete();
    EXPECT_EQ(table->ApplyUpdates(0), 0);
    EXPECT_TRUE(errors_.empty()) << errors_.front();
    EXPECT_EQ(Scalar("select count(*) from HORAS"), "1");
    EXPECT_EQ(Scalar("select cast(HORA as varchar(20)) from HORAS"), "13:14:15.6789");
}

TEST_F(WholeStackTest, AFilterComparesTheWholeTime) {
    TClientDataSet* table = Open("HORAS");
    table->SetFilter("HORA < '13:14:16'");
    table->SetFiltered(true);
    EXPECT_EQ(table->RecordCount(), 2) << "13:14:15.9999 is before 13:14:16";
    table->SetFilter("HORA = '13:14:16' or MOMENTO = '09/12/2026 13:14:16'");
    EXPECT_EQ(table->RecordCount(), 0);
    table->SetFilter("MOMENTO > '09/12/2026 13:14:15' and MOMENTO < '09/12/2026 13:14:16'");
    EXPECT_EQ(table->RecordCount(), 2);
    // A constant may carry the fraction itself.
    table->SetFilter("HORA = '13:14:15.6789' and MOMENTO = '09/12/2026 13:14:15.6789'");
    EXPECT_EQ(table->RecordCount(), 1);
    table->SetFilter("HORA > '13:14:15.6789'");
    EXPECT_EQ(table->RecordCount(), 1);
}

TEST_F(WholeStackTest, LocateFindsATimeByItsWholeFraction) {
    TClientDataSet* table = Open("HORAS");
    const TDateTime late = TimeFromUnits(kLateTime);
    ASSERT_TRUE(table->Locate("HORA", {late}, {}));
    EXPECT_EQ(table->FieldByName("ID").AsInteger(), 2);
    ASSERT_TRUE(table->Locate("MOMENTO", {JoinDateTime(DateToDayNumber(EncodeDate(2026, 12, 9)), kTime)}, {}));
    EXPECT_EQ(table->FieldByName("ID").AsInteger(), 1);
    EXPECT_FALSE(table->Locate("HORA", {TimeFromUnits(kTime + 1)}, {}));
}

TEST_F(WholeStackTest, NineteenDigitDecimalsReadWholeAndTheirRowsApply) {
    TClientDataSet* table = Open("GRANDES");
    ASSERT_EQ(table->RecordCount(), 2);
    EXPECT_EQ(table->FieldByName("N").AsBCD().ToString('.'), "922337203685477.5807");
    table->Edit();
    table->FieldByName("OTRO").SetAsInteger(3);
    table->Post();
    table->Next();
    EXPECT_EQ(table->FieldByName("N").AsBCD().ToString('.'), "-922337203685477.5808");
    table->Delete();
    EXPECT_EQ(table->ApplyUpdates(0), 0);
    EXPECT_TRUE(errors_.empty()) << errors_.front();
    EXPECT_EQ(Scalar("select cast(N as varchar(30)) || '/' || OTRO from GRANDES"), "922337203685477.5807/3");
}

}  // namespace
}  // namespace contado
