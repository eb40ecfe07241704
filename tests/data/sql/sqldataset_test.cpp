#include <gtest/gtest.h>

#include "core/datetime.h"
#include "data/fields/field.h"
#include "data/fields/fmtbcdfield.h"
#include "data/sql/sqlquery.h"
#include "data/sql/sqltable.h"
#include "tests/data/companyfixture.h"

namespace contado {
namespace {

class SQLDataSetTest : public CompanyTest {
  protected:
    SQLDataSetTest() {
        SQLQuery1->SetName("SQLQuery1");
        SQLQuery1->SetSQLConnection(Tandrel);
        SQLQuery1->SetMaxBlobSize(-1);
        TAjuste->SetName("TAjuste");
        TAjuste->SetSQLConnection(Tandrel);
        TAjuste->SetTableName("AJUSTE_CIERRE");
        TAjuste->SetGetMetadata(false);
        TAjuste->SetMaxBlobSize(-1);
    }

    // The message of the EDatabaseError that the call raises; empty when it raises none.
    template <typename Call>
    static std::string MessageOf(Call call) {
        try {
            call();
        } catch (const EDatabaseError& error) {
            return error.Message();
        }
        return {};
    }

    std::vector<std::string> Column(TDataSet& dataSet, const std::string& name) {
        std::vector<std::string> values;
        for (; !dataSet.Eof(); dataSet.Next()) {
            values.push_back(dataSet.FieldByName(name).AsString());
        }
        return values;
    }

    TSQLQuery* SQLQuery1 = new TSQLQuery(&form_);
    TSQLTable* TAjuste = new TSQLTable(&form_);
};

TEST_F(SQLDataSetTest, TableColumnsBecomeTypedFields) {
    Execute("insert into AJUSTE_CIERRE values (7, '2024-03-01', '2024-03-31', 19, 0.95, 'CA')");
    Execute("insert into AJUSTE_CIERRE values (8, '2024-02-01', null, 5, 1.2345, null)");
    TAjuste->SetIndexFieldNames("AJCI_PORC;AJCI_ID");
    TAjuste->Open();
    EXPECT_EQ(TAjuste->NativeCommand(), " select * from \"AJUSTE_CIERRE\" order by AJCI_PORC,AJCI_ID");
    ASSERT_EQ(TAjuste->FieldCount(), 6);
    const TField& id = TAjuste->FieldByName("AJCI_ID");
    EXPECT_EQ(id.DataType(), ftInteger);
    EXPECT_TRUE(id.Required());
    EXPECT_EQ(TAjuste->FieldByName("AJCI_FECINI").DataType(), ftDate);
    EXPECT_FALSE(TAjuste->FieldByName("AJCI_FECINI").Required());
    for (const char* name : {"AJCI_PORC", "AJCI_FACTOR"}) {
        const auto* decimal = dynamic_cast<const TFMTBCDField*>(&TAjuste->FieldByName(name));
        ASSERT_NE(decimal, nullptr) << name;
        EXPECT_EQ(decimal->Precision(), 15);
        EXPECT_EQ(decimal->Size(), 4);
    }
    EXPECT_EQ(TAjuste->FieldByName("AJCI_PREFNO").DataType(), ftString);
    EXPECT_EQ(TAjuste->FieldByName("AJCI_PREFNO").Size(), 4);

    EXPECT_EQ(id.AsInteger(), 8) << "ordered by rate";
    EXPECT_EQ(TAjuste->FieldByName("AJCI_FECINI").AsDateTime(), EncodeDate(2024, 2, 1));
    EXPECT_TRUE(TAjuste->FieldByName("AJCI_FECFIN").IsNull());
    EXPECT_EQ(TAjuste->FieldByName("AJCI_FACTOR").AsCurrency().Raw(), 12345);
    EXPECT_EQ(TAjuste->FieldByName("AJCI_FACTOR").AsBCD().Scale(), 4) << "normalized to the field's scale";
    TAjuste->Next();
    EXPECT_EQ(id.AsInteger(), 7);
    EXPECT_EQ(TAjuste->FieldByName("AJCI_PREFNO").AsString(), "CA");
    TAjuste->Next();
    EXPECT_TRUE(TAjuste->Eof());
    EXPECT_TRUE(TAjuste->Params().IsEmpty());
}

TEST_F(SQLDataSetTest, OpeningConnectsTheConnectionAndClosingKeepsThePreparedStatement) {
    FillPlannedAdjustments(3);
    Tandrel->Close();
    SQLQuery1->SetCommandText("select AJCI_ID from AJUSTE_CIERRE_AUTO order by AJCI_ID");
    SQLQuery1->Open();
    EXPECT_TRUE(Tandrel->Connected());
    EXPECT_EQ(Column(*SQLQuery1, "AJCI_ID"), (std::vector<std::string>{"1", "2", "3"}));
    SQLQuery1->Close();
    EXPECT_TRUE(SQLQuery1->Prepared());
    ISQLCommand* prepared = SQLQuery1->Command();
    SQLQuery1->Open();
    EXPECT_EQ(SQLQuery1->Command(), prepared);
    EXPECT_EQ(SQLQuery1->FieldByName("AJCI_ID").AsInteger(), 1);

    Tandrel->Close();
    EXPECT_FALSE(SQLQuery1->Active()) << "closing the connection closes its datasets";
    EXPECT_FALSE(SQLQuery1->Prepared());
    Tandrel->SetKeepConnection(false);
    SQLQuery1->Open();
    SQLQuery1->Close();
    EXPECT_FALSE(SQLQuery1->Prepared());
}

TEST_F(SQLDataSetTest, CommandTextsLoseLeadingFillerAndCollectTheirParameters) {
    FillPlannedAdjustments(4);
    SQLQuery1->SetCommandText(
        "\r\n \t select AJCI_ID from AJUSTE_CIERRE_AUTO where AJCI_ID = :ID or AJCI_ID > :DESDE");
    EXPECT_EQ(SQLQuery1->CommandText(),
              "select AJCI_ID from AJUSTE_CIERRE_AUTO where AJCI_ID = :ID or AJCI_ID > :DESDE");
    ASSERT_EQ(SQLQuery1->Params().Count(), 2);
    SQLQuery1->Params().ParamByName("ID").SetDataType(ftInteger);
    SQLQuery1->Params().ParamByName("ID").SetValue(std::int64_t{1});
    SQLQuery1->Params().ParamByName("DESDE").SetDataType(ftInteger);
    SQLQuery1->Params().ParamByName("DESDE").SetValue(std::int64_t{2});
    SQLQuery1->Open();
    EXPECT_EQ(Column(*SQLQuery1, "AJCI_ID"), (std::vector<std::string>{"1", "3", "4"}));
    EXPECT_EQ(SQLQuery1->NativeCommand(),
              "select AJCI_ID from AJUSTE_CIERRE_AUTO where AJCI_ID =  ?  or AJCI_ID >  ? ");

    EXPECT_EQ(MessageOf([&] { SQLQuery1->SetCommandText("select 1 from rdb$database"); }),
              "SQLQuery1: Cannot perform this operation on an open dataset");
    SQLQuery1->SetCommandText(
        "  select AJCI_ID from AJUSTE_CIERRE_AUTO where AJCI_ID = :ID or AJCI_ID > :DESDE");
    EXPECT_TRUE(SQLQuery1->Active()) << "the same text changes nothing";
    SQLQuery1->Close();
    SQLQuery1->SetParamCheck(false);
    SQLQuery1->SetCommandText("select AJCI_ID from AJUSTE_CIERRE_AUTO where AJCI_ID = :ID");
    EXPECT_TRUE(SQLQuery1->Params().IsEmpty());
    EXPECT_FALSE(SQLQuery1->Prepared());
}

TEST_F(SQLDataSetTest, AMissingProcedureRaisesTheServersText) {
    SQLQuery1->SetCommandText("select * from contado_ralvek_nada('01.01.2024', '31.01.2024')");
    const std::string message = MessageOf([&] { SQLQuery1->Open(); });
    EXPECT_EQ(message.rfind("SQL Server Error: ", 0), 0u) << message;
    EXPECT_NE(message.find("CONTADO_RALVEK_NADA"), std::string::npos) << message;
    EXPECT_EQ(SQLQuery1->LastError(), message);
    EXPECT_EQ(SQLQuery1->Command(), nullptr);
    EXPECT_FALSE(SQLQuery1->Active());

    TAjuste->SetTableName("AJUSTE_NINGUNO");
    EXPECT_EQ(MessageOf([&] { TAjuste->Open(); }).rfind("SQL Server Error: ", 0), 0u);
}

TEST_F(SQLDataSetTest, FailuresOfOpeningAndMoving) {
    EXPECT_EQ(MessageOf([&] { SQLQuery1->Open(); }), "Missing query, table name or procedure name");
    TSQLQuery unconnected;
    unconnected.SetCommandText("select 1 from rdb$database");
    EXPECT_EQ(MessageOf([&] { unconnected.Open(); }), "SQLConnection property required for this operation");

    FillPlannedAdjustments(2);
    SQLQuery1->SetCommandText("update AJUSTE_CIERRE_AUTO set AJCI_FACTOR = 1");
    EXPECT_EQ(MessageOf([&] { SQLQuery1->Open(); }), "SQLQuery1: Cursor not returned from Query");
    EXPECT_EQ(SQLQuery1->RowsAffected(), 2);

    SQLQuery1->SetCommandText("select AJCI_ID from AJUSTE_CIERRE_AUTO");
    EXPECT_EQ(MessageOf([&] { SQLQuery1->Next(); }),
              "SQLQuery1: Cannot perform this operation on a closed dataset");
    SQLQuery1->Open();
    SQLQuery1->Next();
    const std::string unidirectional = "SQLQuery1: Operation not allowed on a unidirectional dataset";
    EXPECT_EQ(MessageOf([&] { SQLQuery1->Prior(); }), unidirectional);
    EXPECT_EQ(MessageOf([&] { SQLQuery1->Last(); }), unidirectional);
    EXPECT_EQ(MessageOf([&] { SQLQuery1->SetFiltered(true); }), unidirectional);
    EXPECT_EQ(SQLQuery1->FieldByName("AJCI_ID").AsInteger(), 2);
    SQLQuery1->First();
    EXPECT_EQ(SQLQuery1->FieldByName("AJCI_ID").AsInteger(), 1) << "the statement runs again";
    EXPECT_EQ(SQLQuery1->MoveBy(5), 1);
    EXPECT_TRUE(SQLQuery1->Eof());
}

TEST_F(SQLDataSetTest, FailuresWhileReadingRows) {
    FillPlannedAdjustments(3);
    SQLQuery1->SetCommandText("select 10 / (AJCI_ID - 2) as Q from AJUSTE_CIERRE_AUTO order by AJCI_ID");
    SQLQuery1->Open();
    EXPECT_EQ(SQLQuery1->Fields(0)->AsInteger(), -10);
    const std::string message = MessageOf([&] { SQLQuery1->Next(); });
    EXPECT_EQ(message.rfind("SQL Server Error: ", 0), 0u) << message;
    EXPECT_NE(message.find("divide by zero"), std::string::npos) << message;
    SQLQuery1->Close();

    Execute("create table ANGOSTA (N numeric(4, 2))");
    Execute("insert into ANGOSTA values (300)");  // the server keeps what fits its storage
    SQLQuery1->SetCommandText("select N from ANGOSTA");
    EXPECT_EQ(MessageOf([&] { SQLQuery1->Open(); }), "BCD overflow");
    EXPECT_FALSE(SQLQuery1->Active());
}

TEST_F(SQLDataSetTest, ServicesForTheProvider) {
    SQLQuery1->SetCommandText("select *\r\nfrom\r\nTARIFA_IVA where TAIV_PORC > 0");
    EXPECT_EQ(SQLQuery1->PSGetTableName(), "TARIFA_IVA");
    SQLQuery1->SetCommandText("select * from contado_ralvek('01.01.2024', '31.01.2024')");
    EXPECT_EQ(SQLQuery1->PSGetTableName(), "contado_ralvek");
    SQLQuery1->SetCommandText("select fromage from TARIFA_IVA");
    EXPECT_EQ(SQLQuery1->PSGetTableName(), "TARIFA_IVA");
    EXPECT_EQ(TAjuste->PSGetTableName(), "AJUSTE_CIERRE");
    EXPECT_EQ(TAjuste->PSGetKeyFields(), "");

    TPacketAttributes attributes;
    TAjuste->PSGetAttributes(attributes);
    EXPECT_EQ(attributes.at("LCID"), TVariant(std::int64_t{0}));
    Tandrel->Params().SetValue("LocaleCode", "0C0A");
    TAjuste->PSGetAttributes(attributes);
    EXPECT_EQ(attributes.at("LCID"), TVariant(std::int64_t{0x0C0A}));

    EXPECT_EQ(TAjuste->PSGetUpdateException(nullptr, nullptr).Message(), "SQL Error: Error mapping failed");
    const EDatabaseError original("SQL Server Error: lock conflict");
    const EUpdateError first = TAjuste->PSGetUpdateException(&original, nullptr);
    EXPECT_EQ(first.Message(), original.Message());
    EXPECT_EQ(first.ErrorCode(), 1);
    EXPECT_EQ(first.PreviousError(), 0);
    EXPECT_EQ(first.OriginalException()->Message(), original.Message());
    EXPECT_EQ(TAjuste->PSGetUpdateException(&original, &first).PreviousError(), 1);

    EXPECT_FALSE(TAjuste->PSInTransaction());
    TAjuste->PSStartTransaction();
    EXPECT_TRUE(Tandrel->Connected());
    EXPECT_EQ(TAjuste->PSGetQuoteChar(), "\"");
    TParams params;
    params.Add(TParam("", ftInteger, std::int64_t{5}));
    EXPECT_EQ(TAjuste->PSExecuteStatement("insert into AJUSTE_CIERRE (AJCI_ID) values (?)", params), 1);
    TAjuste->PSEndTransaction(false);
    EXPECT_EQ(Count("AJUSTE_CIERRE"), 0);

    FillPlannedAdjustments(2);
    SQLQuery1->SetCommandText("select AJCI_ID from AJUSTE_CIERRE_AUTO order by AJCI_ID");
    SQLQuery1->Open();
    SQLQuery1->Next();
    SQLQuery1->PSReset();
    EXPECT_EQ(SQLQuery1->FieldByName("AJCI_ID").AsInteger(), 1);
    SQLQuery1->Close();
    SQLQuery1->SetCommandText("delete from AJUSTE_CIERRE_AUTO");
    SQLQuery1->PSExecute();
    EXPECT_EQ(SQLQuery1->RowsAffected(), 2);
    EXPECT_EQ(Count("AJUSTE_CIERRE_AUTO"), 0);
}

}  // namespace
}  // namespace contado
