#include <gtest/gtest.h>

#include <map>

#include "data/datasetprovider.h"
#include "data/localappserver.h"
#include "data/providersupport.h"
#include "memorydataset.h"

namespace contado {
namespace {

// An in-memory source whose statement executions are written down and answered from a script:
// the rows each statement changes, or a server error for chosen statements.
class TScriptedSource : public TMemoryDataSet, public IProviderSupport {
  public:
    using TMemoryDataSet::TMemoryDataSet;

    std::string PSGetTableName() override { return "AJUSTE_CIERRE"; }
    std::string PSGetQuoteChar() override { return "\""; }
    bool PSInTransaction() override { return inTransaction; }
    void PSStartTransaction() override {
        inTransaction = true;
        log.push_back("start");
    }
    void PSEndTransaction(bool commit) override {
        inTransaction = false;
        log.push_back(commit ? "commit" : "rollback");
    }
    std::int64_t PSExecuteStatement(const std::string& sql, const TParams&) override {
        const int index = static_cast<int>(statements.size());
        statements.push_back(sql);
        if (failures.count(index) != 0) {
            throw EDatabaseError("SQL Server Error: " + failures[index]);
        }
        return affected.count(index) != 0 ? affected[index] : 1;
    }
    std::string PSGetKeyFields() override { return {}; }
    void PSGetAttributes(TPacketAttributes& attributes) override { attributes["LCID"] = std::int64_t{0}; }
    EUpdateError PSGetUpdateException(const Exception* error, const EUpdateError* previous) override {
        return EUpdateError(error != nullptr ? error->Message() : "SQL Error: Error mapping failed", "", 1,
                            previous != nullptr ? previous->ErrorCode() : 0,
                            error != nullptr ? error->Clone() : nullptr);
    }
    void PSReset() override {
        if (Active()) {
            First();
        }
    }
    void PSExecute() override {}
    void PSSetCommandText(const std::string& text) override { commandText = text; }
    TParams PSGetParams() override { return {}; }
    void PSSetParams(const TParams&) override {}

    bool inTransaction = false;
    std::vector<std::string> log;
    std::vector<std::string> statements;
    std::map<int, std::int64_t> affected;
    std::map<int, std::string> failures;
    std::string commandText;
};

TPacketColumn PacketColumn(const char* name, TFieldType type, int size = 0) {
    TPacketColumn column;
    column.Name = name;
    column.Type = type;
    column.Size = size;
    return column;
}

class Provider : public testing::Test {
  protected:
    Provider() {
        source.SetName("TAjuste");
        provider.SetName("PAjuste");
        source.AddColumn(TFieldDef("ID", ftInteger, 0, true));
        source.AddColumn(TFieldDef("NAME", ftString, 10));
        provider.SetDataSet(&source);
    }

    void AddRows(int count) {
        for (int i = 1; i <= count; ++i) {
            source.AddRow({std::int64_t{i}, std::string("n")});
        }
    }

    int Request(int count, TGetRecordOptions options = {}, const std::string& commandText = {}) {
        int received = -1;
        TParams params;
        TDataPacket packet;
        last = server.AS_GetRecords("PAjuste", count, received, options, commandText, params, packet);
        lastPacket = packet;
        return received;
    }

    // Five modifications of NAME, rows 1 to 5.
    static TDataPacket FiveChanges() {
        TDataPacket delta;
        delta.Columns = {PacketColumn("ID", ftInteger), PacketColumn("NAME", ftString, 10)};
        for (int i = 1; i <= 5; ++i) {
            delta.Rows.push_back({TUpdateStatus::Unmodified, {std::int64_t{i}, std::string("old")}});
            delta.Rows.push_back({TUpdateStatus::Modified, {TVariant(), std::string("new")}});
        }
        return delta;
    }

    int Apply(const TDataPacket& delta, int maxErrors) {
        int errorCount = -1;
        last = server.AS_ApplyUpdates("PAjuste", delta, maxErrors, errorCount, errors);
        return errorCount;
    }

    TComponent form;
    TScriptedSource source{&form};
    TDataSetProvider provider{&form};
    TLocalAppServer server{provider};
    TCallResult last;
    TDataPacket lastPacket;
    std::optional<TDataPacket> errors;
};

TEST_F(Provider, PacketsOfTheRequestedSizeCloseTheSourceAfterTheLastRows) {
    AddRows(2500);
    EXPECT_EQ(Request(1000, {grMetaData}), 1000);
    EXPECT_TRUE(source.Active());
    EXPECT_EQ(lastPacket.Columns.size(), 2u);
    EXPECT_EQ(lastPacket.Attributes.count("LCID"), 1u);
    EXPECT_EQ(Request(1000), 1000);
    EXPECT_TRUE(lastPacket.Columns.empty());
    EXPECT_EQ(lastPacket.Rows.front().Values[0], TVariant(std::int64_t{1001}));
    EXPECT_EQ(Request(1000), 500);
    EXPECT_FALSE(source.Active()) << "fewer rows than asked for end the result";
    EXPECT_EQ(lastPacket.Rows.back().Values[0], TVariant(std::int64_t{2500}));
}

TEST_F(Provider, ExactlyAFullPacketKeepsTheSourceOpenUntilAnEmptyOne) {
    AddRows(1000);
    EXPECT_EQ(Request(1000, {grMetaData}), 1000);
    EXPECT_TRUE(source.Active());
    EXPECT_EQ(Request(1000), 0);
    EXPECT_FALSE(source.Active());
    EXPECT_EQ(Request(500, {grMetaData}), 500);
    EXPECT_TRUE(source.Active());
    EXPECT_EQ(Request(0, {grReset}), 0);
    EXPECT_FALSE(source.Active()) << "a closing client's reset closes the source";
    EXPECT_EQ(Request(-1, {grMetaData}), 1000);
    EXPECT_FALSE(source.Active());
}

TEST_F(Provider, ColumnAttributesFollowTheFields) {
    AddRows(1);
    source.Open();
    source.Fields(0)->SetProviderFlags(TProviderFlags{pfInUpdate, pfInWhere, pfInKey});
    source.Fields(1)->SetOrigin("AJUSTE_CIERRE.NAME");
    source.Close();
    EXPECT_EQ(Request(-1, {grMetaData}), 1);
    EXPECT_TRUE(lastPacket.Columns[0].Required);
    EXPECT_EQ(lastPacket.Columns[0].Attributes.count("PROVFLAGS"), 0u) << "default fields are made anew";
    EXPECT_EQ(lastPacket.Columns[1].Attributes.at("WIDTH"), TVariant(std::int64_t{10}));
}

TEST_F(Provider, CommandTextNeedsItsOption) {
    AddRows(1);
    Request(10, {grMetaData}, "select * from TARIFA_IVA");
    EXPECT_TRUE(last.Failed());
    EXPECT_EQ(last.Message, "CommandText changes are not allowed");
    provider.SetOptions({poAllowCommandText});
    EXPECT_EQ(Request(10, {grMetaData}, "select * from TARIFA_IVA"), 1);
    EXPECT_FALSE(last.Failed());
    EXPECT_EQ(source.commandText, "select * from TARIFA_IVA");
}

TEST_F(Provider, ErrorLimitZeroRollsBackEverythingAtTheFirstFailure) {
    source.failures[2] = "violation";
    EXPECT_EQ(Apply(FiveChanges(), 0), 1);
    EXPECT_EQ(source.statements.size(), 3u);
    EXPECT_EQ(source.log, (std::vector<std::string>{"start", "rollback"}));
    ASSERT_TRUE(errors.has_value());
    ASSERT_EQ(errors->Rows.size(), 1u);
    const std::vector<TVariant>& error = errors->Rows[0].Values;
    EXPECT_EQ(error[errorcolumn::kRecordNo], TVariant(std::int64_t{6}));
    EXPECT_EQ(error[errorcolumn::kResponse], TVariant(std::int64_t{rrAbort + 1}));
    EXPECT_EQ(error[errorcolumn::kMessage], TVariant(std::string("SQL Server Error: violation")));
    EXPECT_EQ(errors->Columns[0].Name, "ERROR_RECORDNO");
    EXPECT_EQ(errors->Columns.size(), 8u);
}

TEST_F(Provider, HandlerAnsweringAbortUnderNoLimitKeepsTheEarlierChanges) {
    source.failures[2] = "violation";
    std::vector<std::string> seen;
    provider.OnUpdateError = [&](TDataSetProvider*, TDeltaReader& delta, EUpdateError& e, TUpdateKind kind,
                                 TResolverResponse& response) {
        seen.push_back(e.Message() + "@" + std::to_string(delta.Row()) + "/" + std::to_string(kind));
        EXPECT_EQ(response, rrSkip);
        EXPECT_EQ(e.ErrorCode(), 1);
        EXPECT_EQ(e.PreviousError(), 0);
        response = rrAbort;
    };
    EXPECT_EQ(Apply(FiveChanges(), -1), 1);
    EXPECT_EQ(seen, (std::vector<std::string>{"SQL Server Error: violation@5/0"}));
    EXPECT_EQ(source.statements.size(), 3u);
    EXPECT_EQ(source.log, (std::vector<std::string>{"start", "commit"}));
}

TEST_F(Provider, WithoutAHandlerNoLimitSendsEveryChange) {
    source.failures[1] = "first";
    source.failures[3] = "second";
    EXPECT_EQ(Apply(FiveChanges(), -1), 2);
    EXPECT_EQ(source.statements.size(), 5u);
    EXPECT_EQ(errors->Rows.size(), 2u);
    EXPECT_EQ(source.log.back(), "commit");
}

TEST_F(Provider, IgnoreSkipAndApplyAnswers) {
    source.failures[0] = "once";
    TResolverResponse answer = rrIgnore;
    int calls = 0;
    provider.OnUpdateError = [&](TDataSetProvider*, TDeltaReader&, EUpdateError& e, TUpdateKind,
                                 TResolverResponse& response) {
        ++calls;
        response = e.PreviousError() == 0 ? answer : rrSkip;
    };
    EXPECT_EQ(Apply(FiveChanges(), 0), 0) << "an ignored failure is neither counted nor recorded";
    EXPECT_FALSE(errors.has_value());
    EXPECT_EQ(source.log.back(), "commit");

    source.statements.clear();
    answer = rrApply;
    EXPECT_EQ(Apply(FiveChanges(), -1), 0);
    EXPECT_EQ(source.statements.size(), 6u) << "the failed change is sent again and then succeeds";

    TDataPacket insert;
    insert.Columns = {PacketColumn("ID", ftInteger), PacketColumn("NAME", ftString, 10)};
    insert.Rows.push_back({TUpdateStatus::Inserted, {std::int64_t{9}, std::string("x")}});
    source.statements.clear();
    source.failures = {{0, "duplicate"}};
    answer = rrMerge;
    calls = 0;
    EXPECT_EQ(Apply(insert, -1), 1);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(errors->Rows[0].Values[errorcolumn::kMessage], TVariant(std::string("Invalid response")));
}

TEST_F(Provider, RowCountsOtherThanOneFailTheChange) {
    source.affected[0] = 2;
    source.affected[1] = 0;
    EXPECT_EQ(Apply(FiveChanges(), -1), 2);
    EXPECT_EQ(errors->Rows[0].Values[errorcolumn::kMessage],
              TVariant(std::string("Update affected more than 1 record.")));
    EXPECT_EQ(errors->Rows[1].Values[errorcolumn::kMessage],
              TVariant(std::string("Record not found or changed by another user")));
    EXPECT_EQ(source.log, (std::vector<std::string>{"start", "rollback"}))
        << "rolled back at once, not ended again";

    provider.SetOptions({poAllowMultiRecordUpdates, poReadOnly});
    Apply(FiveChanges(), -1);
    EXPECT_EQ(last.Message, "Cannot apply updates to a ReadOnly provider");
    provider.SetDataSet(nullptr);
    Apply(FiveChanges(), -1);
    EXPECT_EQ(last.Message, "Missing DataSet property");
}

}  // namespace
}  // namespace contado
