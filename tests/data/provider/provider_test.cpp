#include <gtest/gtest.h>

#include "core/datetime.h"
#include "data/provider/datasetprovider.h"
#include "data/provider/localappserver.h"
#include "data/sql/sqlquery.h"
#include "data/sql/sqltable.h"
#include "tests/data/companyfixture.h"

namespace contado {
namespace {

const TVariant kUnchanged;

TBcd Rate(std::int64_t tenThousandths) {
    return TBcd::FromUnscaled(tenThousandths, 4);
}

// One row of AJUSTE_CIERRE: identifier, first day of March 2024 plus a day offset, rate, factor, prefix.
std::vector<TVariant> Adjustment(std::int64_t id, int day, std::int64_t rate, std::int64_t factor,
                                 TVariant prefix = TNull{}) {
    return {id,
            EncodeDate(2024, 3, day),
            EncodeDate(2024, 3, 31),
            TVariant(Rate(rate)),
            TVariant(Rate(factor)),
            std::move(prefix)};
}

std::string AdjustmentValues(std::int64_t id, int day, std::int64_t rate, std::int64_t factor,
                             const std::string& prefix = "null") {
    return "insert into AJUSTE_CIERRE values (" + std::to_string(id) + ", '2024-03-" + std::to_string(day) +
           "', '2024-03-31', " + Rate(rate).ToString('.') + ", " + Rate(factor).ToString('.') + ", " +
           prefix + ")";
}

// A change packet over the six columns of AJUSTE_CIERRE (or AJUSTE_CIERRE_AUTO, which has the same).
class TDelta {
  public:
    TDelta() {
        packet.Columns = {TPacketColumn::Make("AJCI_ID", ftInteger),
                          TPacketColumn::Make("AJCI_FECINI", ftDate),
                          TPacketColumn::Make("AJCI_FECFIN", ftDate),
                          TPacketColumn::Make("AJCI_PORC", ftFMTBcd, 4, 15),
                          TPacketColumn::Make("AJCI_FACTOR", ftFMTBcd, 4, 15),
                          TPacketColumn::Make("AJCI_PREFNO", ftString, 4)};
    }
    TDelta& Insert(std::vector<TVariant> values) {
        packet.Rows.push_back({TUpdateStatus::Inserted, std::move(values)});
        return *this;
    }
    TDelta& Delete(std::vector<TVariant> values) {
        packet.Rows.push_back({TUpdateStatus::Deleted, std::move(values)});
        return *this;
    }
    // The before-image, then the modified image where only the named column has a value.
    TDelta& Modify(std::vector<TVariant> before, int column, TVariant value) {
        std::vector<TVariant> after(before.size());
        if (column >= 0) {
            after[column] = std::move(value);
        }
        packet.Rows.push_back({TUpdateStatus::Unmodified, std::move(before)});
        packet.Rows.push_back({TUpdateStatus::Modified, std::move(after)});
        return *this;
    }

    TDataPacket packet;
};

constexpr int kFactor = 4;
constexpr int kPrefix = 5;

class ProviderTest : public CompanyTest {
  protected:
    ProviderTest() {
        TAjuste->SetName("TAjuste");
        TAjuste->SetSQLConnection(Tandrel);
        TAjuste->SetTableName("AJUSTE_CIERRE");
        TAjuste->SetGetMetadata(false);
        PAjuste->SetName("PAjuste");
        PAjuste->SetDataSet(TAjuste);
        TAjusteAu->SetName("TAjusteAu");
        TAjusteAu->SetSQLConnection(Tandrel);
        TAjusteAu->SetTableName("AJUSTE_CIERRE_AUTO");
        TAjusteAu->SetIndexFieldNames("AJCI_ID");
        TAjusteAu->SetGetMetadata(false);
        PAjusteAu->SetName("PAjusteAu");
        PAjusteAu->SetDataSet(TAjusteAu);
    }

    int Request(TDataSetProvider& provider, int count, TGetRecordOptions options = {},
                const std::string& commandText = {}) {
        TLocalAppServer server(provider);
        int received = -1;
        TParams params;
        packet = {};
        last = server.AS_GetRecords(provider.Name(), count, received, options, commandText, params, packet);
        return received;
    }

    int Apply(TDataSetProvider& provider, const TDataPacket& delta, int maxErrors) {
        TLocalAppServer server(provider);
        int errorCount = -1;
        last = server.AS_ApplyUpdates(provider.Name(), delta, maxErrors, errorCount, errors);
        return errorCount;
    }

    std::string ErrorMessage(int index) const {
        return std::get<std::string>(errors->Rows.at(index).Values[errorcolumn::kMessage]);
    }

    // Five inserts of AJUSTE_CIERRE, the third clashing with the unique day and rate of row 1.
    TDelta FiveInsertsTheThirdClashing() {
        Execute(AdjustmentValues(1, 1, 190000, 9500));
        TDelta delta;
        for (std::int64_t id = 11; id <= 15; ++id) {
            delta.Insert(Adjustment(id, id == 13 ? 1 : static_cast<int>(id), 190000, 8000));
        }
        return delta;
    }

    TSQLTable* TAjuste = new TSQLTable(&form_);
    TDataSetProvider* PAjuste = new TDataSetProvider(&form_);
    TSQLTable* TAjusteAu = new TSQLTable(&form_);
    TDataSetProvider* PAjusteAu = new TDataSetProvider(&form_);
    TCallResult last;
    TDataPacket packet;
    std::optional<TDataPacket> errors;
};

// ---------------------------------------------------------------------------------------------
// Packets

TEST_F(ProviderTest, PacketsOfTheRequestedSizeCloseTheSourceAfterTheLastRows) {
    FillPlannedAdjustments(2500);
    EXPECT_EQ(Request(*PAjusteAu, 1000, {grMetaData}), 1000);
    EXPECT_TRUE(TAjusteAu->Active());
    EXPECT_EQ(packet.Columns.size(), 6u);
    EXPECT_EQ(packet.Attributes.at("LCID"), TVariant(std::int64_t{0}));
    EXPECT_EQ(Request(*PAjusteAu, 1000), 1000);
    EXPECT_TRUE(packet.Columns.empty());
    EXPECT_EQ(packet.Rows.front().Values[0], TVariant(std::int64_t{1001}));
    EXPECT_EQ(Request(*PAjusteAu, 1000), 500);
    EXPECT_FALSE(TAjusteAu->Active()) << "fewer rows than asked for end the result";
    EXPECT_EQ(packet.Rows.back().Values[0], TVariant(std::int64_t{2500}));
}

TEST_F(ProviderTest, ExactlyAFullPacketKeepsTheSourceOpenUntilAnEmptyOne) {
    FillPlannedAdjustments(1000);
    EXPECT_EQ(Request(*PAjusteAu, 1000, {grMetaData}), 1000);
    EXPECT_TRUE(TAjusteAu->Active());
    EXPECT_EQ(Request(*PAjusteAu, 1000), 0);
    EXPECT_FALSE(TAjusteAu->Active());
    EXPECT_EQ(Request(*PAjusteAu, 500, {grMetaData}), 500);
    EXPECT_TRUE(TAjusteAu->Active());
    EXPECT_EQ(Request(*PAjusteAu, 0, {grReset}), 0);
    EXPECT_FALSE(TAjusteAu->Active()) << "a closing client's reset closes the source";
    EXPECT_EQ(Request(*PAjusteAu, -1, {grMetaData}), 1000);
    EXPECT_EQ(packet.Rows.front().Values[0], TVariant(std::int64_t{1})) << "read again from the start";
    EXPECT_FALSE(TAjusteAu->Active());
}

TEST_F(ProviderTest, RowsGoToThePartSinkInPartsOf256AndThePacketKeepsTheRest) {
    FillPlannedAdjustments(1300);
    TLocalAppServer server(*PAjusteAu);
    std::vector<std::size_t> partSizes;
    std::vector<std::int64_t> ids;
    std::size_t columns = 6;
    const auto collect = [&ids](const TDataPacket& rows) {
        for (const TPacketRow& row : rows.Rows) {
            ids.push_back(std::get<std::int64_t>(row.Values[0]));
        }
    };
    const TPacketPartSink parts = [&](const TDataPacket& part) {
        partSizes.push_back(part.Rows.size());
        EXPECT_EQ(part.Columns.size(), columns) << "parts carry the columns of the packet";
        collect(part);
    };
    int received = 0;
    TParams params;
    last = server.AS_GetRecordsInParts("PAjusteAu", 600, received, {grMetaData}, {}, params, parts, packet);
    EXPECT_EQ(received, 600);
    EXPECT_EQ(partSizes, (std::vector<std::size_t>{256, 256}));
    EXPECT_EQ(packet.Rows.size(), 88u);
    EXPECT_TRUE(TAjusteAu->Active()) << "exactly as many rows as asked for";
    collect(packet);

    partSizes.clear();
    columns = 0;
    last = server.AS_GetRecordsInParts("PAjusteAu", -1, received, {}, {}, params, parts, packet);
    EXPECT_EQ(received, 700);
    EXPECT_EQ(partSizes, (std::vector<std::size_t>{256, 256}));
    EXPECT_EQ(packet.Rows.size(), 188u);
    EXPECT_FALSE(TAjusteAu->Active());
    collect(packet);
    ASSERT_EQ(ids.size(), 1300u);
    for (std::size_t i = 0; i < ids.size(); ++i) {
        ASSERT_EQ(ids[i], static_cast<std::int64_t>(i) + 1);
    }
}

TEST_F(ProviderTest, ColumnDescriptionsComeFromTheTable) {
    EXPECT_EQ(Request(*PAjuste, 1000, {grMetaData}), 0);
    ASSERT_EQ(packet.Columns.size(), 6u);
    EXPECT_TRUE(packet.Columns[0].Required);
    EXPECT_FALSE(packet.Columns[1].Required);
    EXPECT_EQ(packet.Columns[0].Attributes.count("PROVFLAGS"), 0u);
    EXPECT_EQ(packet.Columns[3].Type, ftFMTBcd);
    EXPECT_EQ(packet.Columns[3].Attributes.at("WIDTH"), TVariant(std::int64_t{15}));
    EXPECT_EQ(packet.Columns[3].Attributes.at("DECIMALS"), TVariant(std::int64_t{4}));
    EXPECT_EQ(packet.Columns[5].Attributes.at("WIDTH"), TVariant(std::int64_t{4}));
}

TEST_F(ProviderTest, CommandTextNeedsItsOptionAndLosesLeadingFiller) {
    Request(*PAjuste, 10, {grMetaData}, "select * from TARIFA_IVA");
    EXPECT_TRUE(last.Failed());
    EXPECT_EQ(last.Message, "CommandText changes are not allowed");

    auto* SQLQuery1 = new TSQLQuery(&form_);
    SQLQuery1->SetSQLConnection(Tandrel);
    TDataSetProvider PRepArticulos(&form_);
    PRepArticulos.SetName("PRepArticulos");
    PRepArticulos.SetDataSet(SQLQuery1);
    PRepArticulos.SetOptions({poAllowCommandText});
    EXPECT_EQ(Request(PRepArticulos, 1000, {grMetaData}, "\r\n  select * from TARIFA_IVA order by TAIV_PORC"),
              3);
    EXPECT_FALSE(last.Failed()) << last.Message;
    EXPECT_EQ(SQLQuery1->CommandText(), "select * from TARIFA_IVA order by TAIV_PORC");
    EXPECT_EQ(packet.Rows[2].Values[1], TVariant(std::string("Tarifa general")));
    EXPECT_FALSE(SQLQuery1->Active());

    Request(PRepArticulos, 1000, {grMetaData}, "select * from contado_ralvek_nada('01.03.2024')");
    EXPECT_EQ(last.Message.rfind("SQL Server Error: ", 0), 0u) << last.Message;
}

// ---------------------------------------------------------------------------------------------
// Applying changes

TEST_F(ProviderTest, GeneratedStatementsWriteTheChanges) {
    Execute("insert into PREFIJO values ('', 'Sin prefijo')");
    Execute(AdjustmentValues(1, 1, 190000, 9500));
    Execute(AdjustmentValues(2, 2, 190000, 9500, "''"));
    Execute(AdjustmentValues(3, 3, 50000, 9000, "'CA'"));
    TDelta delta;
    delta.Modify(Adjustment(1, 1, 190000, 9500), kFactor, Rate(8000))
        .Modify(Adjustment(2, 2, 190000, 9500, std::string()), kFactor, Rate(8500))
        .Modify(Adjustment(3, 3, 50000, 9000, std::string("CA")), kPrefix, TNull{})
        .Insert(Adjustment(4, 4, 0, 10000, std::string("CV")))
        .Delete(Adjustment(3, 3, 50000, 9000, std::string("CA")));
    // The deletion reads the row as it was before: the modification changed it, so it is not found.
    EXPECT_EQ(Apply(*PAjuste, delta.packet, -1), 1) << last.Message;
    EXPECT_EQ(ErrorMessage(0), "Record not found or changed by another user");
    EXPECT_EQ(Scalar("select AJCI_FACTOR from AJUSTE_CIERRE where AJCI_ID = 1"), "0.8")
        << "a null old value is matched with is null";
    EXPECT_EQ(Scalar("select AJCI_FACTOR from AJUSTE_CIERRE where AJCI_ID = 2"), "0.85")
        << "an empty old text is matched with = ?";
    EXPECT_EQ(Count("AJUSTE_CIERRE where AJCI_ID = 3 and AJCI_PREFNO is null"), 1);
    EXPECT_EQ(Count("AJUSTE_CIERRE where AJCI_ID = 4 and AJCI_PREFNO = 'CV' and AJCI_PORC = 0"), 1);

    TDelta removal;
    removal.Delete(Adjustment(3, 3, 50000, 9000));
    EXPECT_EQ(Apply(*PAjuste, removal.packet, 0), 0);
    EXPECT_FALSE(errors.has_value());
    EXPECT_EQ(Count("AJUSTE_CIERRE"), 3);
}

TEST_F(ProviderTest, AnEditThatChangesNoColumnSendsNothing) {
    TDelta delta;
    delta.Modify(Adjustment(99, 1, 190000, 9500), -1, kUnchanged);
    EXPECT_EQ(Apply(*PAjuste, delta.packet, 0), 0) << "a sent statement would find no row";
    EXPECT_FALSE(errors.has_value());
}

TEST_F(ProviderTest, TwoMatchedRowsAreRolledBackAtOnce) {
    FillPlannedAdjustments(2);
    Execute("insert into AJUSTE_CIERRE_AUTO values (3, '2024-01-01', '2024-12-31', 5, 0.9, null)");
    TDelta delta;
    delta.packet.Columns[0].Attributes["PROVFLAGS"] =
        static_cast<std::int64_t>(TProviderFlags{pfInUpdate}.Bits());
    std::vector<TVariant> single = {std::int64_t{3},       EncodeDate(2024, 1, 1), EncodeDate(2024, 12, 31),
                                    TVariant(Rate(50000)), TVariant(Rate(9000)),   TNull{}};
    std::vector<TVariant> twin = single;
    twin[0] = std::int64_t{1};
    twin[3] = Rate(190000);
    twin[4] = Rate(9500);
    delta.Modify(single, kFactor, Rate(1000)).Modify(twin, kFactor, Rate(1000));
    EXPECT_EQ(Apply(*PAjusteAu, delta.packet, -1), 1);
    EXPECT_EQ(ErrorMessage(0), "Update affected more than 1 record.");
    EXPECT_EQ(Count("AJUSTE_CIERRE_AUTO where AJCI_FACTOR = 0.1"), 0) << "the earlier change is undone too";
    EXPECT_EQ(Tandrel->TransactionCount(), 0);

    PAjusteAu->SetOptions({poAllowMultiRecordUpdates});
    EXPECT_EQ(Apply(*PAjusteAu, delta.packet, -1), 0);
    EXPECT_EQ(Count("AJUSTE_CIERRE_AUTO where AJCI_FACTOR = 0.1"), 3);
}

TEST_F(ProviderTest, ErrorLimitZeroLeavesTheDatabaseUntouched) {
    const TDelta delta = FiveInsertsTheThirdClashing();
    EXPECT_EQ(Apply(*PAjuste, delta.packet, 0), 1);
    EXPECT_EQ(Count("AJUSTE_CIERRE"), 1) << "the two inserts before the failure are undone";
    EXPECT_EQ(Tandrel->TransactionCount(), 0);
    ASSERT_TRUE(errors.has_value());
    ASSERT_EQ(errors->Rows.size(), 1u);
    const std::vector<TVariant>& error = errors->Rows[0].Values;
    EXPECT_EQ(error[errorcolumn::kRecordNo], TVariant(std::int64_t{3}));
    EXPECT_EQ(error[errorcolumn::kResponse], TVariant(std::int64_t{rrAbort + 1}));
    EXPECT_EQ(ErrorMessage(0).rfind("SQL Server Error: violation of PRIMARY or UNIQUE KEY", 0), 0u)
        << ErrorMessage(0);
    EXPECT_EQ(errors->Columns[0].Name, "ERROR_RECORDNO");
    EXPECT_EQ(errors->Columns.size(), 12u);
}

TEST_F(ProviderTest, HandlerAnsweringAbortUnderNoLimitKeepsTheEarlierChanges) {
    const TDelta delta = FiveInsertsTheThirdClashing();
    std::vector<std::string> seen;
    PAjuste->OnUpdateError = [&](TDataSetProvider* sender, TDeltaReader& reader, EUpdateError& e,
                                 TUpdateKind kind, TResolverResponse& response) {
        EXPECT_EQ(sender, PAjuste);
        seen.push_back(std::to_string(reader.Row()) + "/" + std::to_string(kind));
        EXPECT_EQ(response, rrSkip);
        EXPECT_EQ(e.ErrorCode(), 1);
        EXPECT_EQ(e.PreviousError(), 0);
        EXPECT_EQ(e.OriginalException()->Message(), e.Message());
        response = rrAbort;
    };
    EXPECT_EQ(Apply(*PAjuste, delta.packet, -1), 1);
    EXPECT_EQ(seen, (std::vector<std::string>{"2/1"}));
    EXPECT_EQ(Count("AJUSTE_CIERRE"), 3);
    EXPECT_EQ(Count("AJUSTE_CIERRE where AJCI_ID in (11, 12)"), 2);
}

TEST_F(ProviderTest, WithoutAHandlerNoLimitSendsEveryChange) {
    TDelta delta = FiveInsertsTheThirdClashing();
    delta.packet.Rows[3].Values[1] = EncodeDate(2024, 3, 1);
    EXPECT_EQ(Apply(*PAjuste, delta.packet, -1), 2);
    EXPECT_EQ(errors->Rows.size(), 2u);
    EXPECT_EQ(errors->Rows[1].Values[errorcolumn::kRecordNo], TVariant(std::int64_t{4}));
    EXPECT_EQ(Count("AJUSTE_CIERRE"), 4);
}

TEST_F(ProviderTest, SkipIgnoreApplyAndMergeAnswers) {
    const TDelta delta = FiveInsertsTheThirdClashing();
    TResolverResponse answer = rrSkip;
    int calls = 0;
    PAjuste->OnUpdateError = [&](TDataSetProvider*, TDeltaReader&, EUpdateError& e, TUpdateKind,
                                 TResolverResponse& response) {
        ++calls;
        if (answer == rrApply) {
            Execute(
                "delete from AJUSTE_CIERRE where AJCI_ID = 1");  // clears the clash, in the same transaction
        }
        response = e.PreviousError() == 0 ? answer : rrSkip;
    };
    EXPECT_EQ(Apply(*PAjuste, delta.packet, -1), 1);
    EXPECT_EQ(errors->Rows[0].Values[errorcolumn::kResponse], TVariant(std::int64_t{rrSkip + 1}));
    EXPECT_EQ(Count("AJUSTE_CIERRE"), 5) << "the changes after a skipped one are sent";

    Execute("delete from AJUSTE_CIERRE where AJCI_ID > 1");
    answer = rrIgnore;
    EXPECT_EQ(Apply(*PAjuste, delta.packet, 0), 0) << "an ignored failure is neither counted nor recorded";
    EXPECT_FALSE(errors.has_value());
    EXPECT_EQ(Count("AJUSTE_CIERRE"), 5);

    Execute("delete from AJUSTE_CIERRE where AJCI_ID > 1");
    Execute(AdjustmentValues(2, 2, 190000, 9500));
    TDelta moveToTheFirstDay;
    moveToTheFirstDay.Modify(Adjustment(2, 2, 190000, 9500), 1, EncodeDate(2024, 3, 1));
    answer = rrApply;
    calls = 0;
    EXPECT_EQ(Apply(*PAjuste, moveToTheFirstDay.packet, 0), 0);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(Count("AJUSTE_CIERRE where AJCI_ID = 2 and AJCI_FECINI = '2024-03-01'"), 1)
        << "the failed change was sent again and written";
    EXPECT_EQ(Count("AJUSTE_CIERRE where AJCI_ID = 1"), 0);

    Execute("delete from AJUSTE_CIERRE");
    Execute(AdjustmentValues(1, 1, 190000, 9500));
    answer = rrMerge;
    calls = 0;
    EXPECT_EQ(Apply(*PAjuste, delta.packet, -1), 1);
    EXPECT_EQ(calls, 2) << "an insert fails again as invalid after the merge answer";
    EXPECT_EQ(ErrorMessage(0), "Invalid response");
    EXPECT_EQ(Count("AJUSTE_CIERRE"), 5);
}

TEST_F(ProviderTest, ApplyingNeedsAWritableProviderWithASource) {
    TDelta delta;
    delta.Insert(Adjustment(1, 1, 0, 1));
    PAjuste->SetOptions({poReadOnly});
    Apply(*PAjuste, delta.packet, -1);
    EXPECT_EQ(last.Message, "Cannot apply updates to a ReadOnly provider");
    PAjuste->SetOptions({poDisableInserts});
    EXPECT_EQ(Apply(*PAjuste, delta.packet, -1), 1);
    EXPECT_EQ(ErrorMessage(0), "Inserts are not allowed");
    PAjuste->SetDataSet(nullptr);
    Apply(*PAjuste, delta.packet, -1);
    EXPECT_EQ(last.Message, "Missing DataSet property");
    EXPECT_EQ(Count("AJUSTE_CIERRE"), 0);
}

TEST_F(ProviderTest, EachStatementTextIsPreparedOnce) {
    FillPlannedAdjustments(50);
    TDelta delta;
    for (std::int64_t id = 1; id <= 50; ++id) {
        std::vector<TVariant> row = {id,
                                     EncodeDate(2024, 1, 1),
                                     EncodeDate(2024, 12, 31),
                                     TVariant(Rate(190000)),
                                     TVariant(Rate(9500)),
                                     TNull{}};
        delta.Modify(row, kFactor, Rate(9000));
    }
    Tandrel->Open();
    const std::size_t before = Tandrel->StatementCache().Misses();
    EXPECT_EQ(Apply(*PAjusteAu, delta.packet, 0), 0);
    EXPECT_EQ(Tandrel->StatementCache().Misses() - before, 1u);
    EXPECT_EQ(Count("AJUSTE_CIERRE_AUTO where AJCI_FACTOR = 0.9"), 50);
}

}  // namespace
}  // namespace contado
