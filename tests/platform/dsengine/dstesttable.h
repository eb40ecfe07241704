#pragma once

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/datetime.h"
#include "platform/dsengine/dsstatus.h"
#include "platform/dsengine/idsbase.h"

namespace contado::dstest {

// Columns of the engine tests: ID integer, NAME text(10), DAY date, RATE decimal(15,4).
enum Column { kId, kName, kDay, kRate };

inline TPacketRow MakeRow(std::int64_t id, TVariant name, TVariant day = TNull{}, TVariant rate = TNull{}) {
    return TPacketRow{TUpdateStatus::Unmodified,
                      {TVariant(id), std::move(name), std::move(day), std::move(rate)}};
}

inline TDataPacket MakePacket(std::vector<TPacketRow> rows, bool withColumns = true) {
    TDataPacket packet;
    if (withColumns) {
        packet.Columns = {TPacketColumn::Make("ID", ftInteger), TPacketColumn::Make("NAME", ftString, 10),
                          TPacketColumn::Make("DAY", ftDate), TPacketColumn::Make("RATE", ftFMTBcd, 4, 15)};
    }
    packet.Rows = std::move(rows);
    return packet;
}

// A table of `count` rows with ids 1..count and names "N1".."Ncount", opened with one cursor.
struct TestTable {
    std::unique_ptr<IDSBase> base = CreateDSBase();
    std::unique_ptr<IDSCursor> cursor;

    explicit TestTable(int count = 5) {
        std::vector<TPacketRow> rows;
        for (int id = 1; id <= count; ++id) {
            rows.push_back(MakeRow(id, "N" + std::to_string(id), EncodeDate(2026, 12, id),
                                   TBcd::FromUnscaled(id * 10000, 4)));
        }
        EXPECT_EQ(base->AppendData(MakePacket(std::move(rows)), true), dsstatus::kOk);
        EXPECT_EQ(base->CreateCursor(cursor), dsstatus::kOk);
    }

    // Ids of the visible rows, first to last.
    std::vector<std::int64_t> VisibleIds() {
        std::vector<std::int64_t> ids;
        cursor->MoveToBOF();
        TDSRecord record;
        while (cursor->MoveRelative(1) == dsstatus::kOk) {
            cursor->GetCurrentRecord(record);
            ids.push_back(std::get<std::int64_t>(record[kId]));
        }
        return ids;
    }

    std::int64_t CurrentId() {
        TDSRecord record;
        EXPECT_EQ(cursor->GetCurrentRecord(record), dsstatus::kOk);
        return record.empty() ? -1 : std::get<std::int64_t>(record[kId]);
    }

    void MoveToId(std::int64_t id) {
        TDSExpression expression;
        int column = expression.AddColumn(kId);
        int value = expression.AddConstant(id);
        expression.SetRoot(expression.AddCompare(TDSCompareOp::Equal, column, value));
        ASSERT_EQ(cursor->LocateWithFilter(expression), dsstatus::kOk);
    }

    void SetCurrent(Column column, TVariant value) {
        TDSRecord record;
        ASSERT_EQ(cursor->GetCurrentRecord(record), dsstatus::kOk);
        record[column] = std::move(value);
        ASSERT_EQ(cursor->ModifyRecord(record), dsstatus::kOk);
    }

    void Insert(std::int64_t id, const std::string& name) {
        TDSRecord record;
        cursor->InitRecord(record);
        cursor->PutField(record, kId, id);
        cursor->PutField(record, kName, name);
        ASSERT_EQ(cursor->InsertRecord(record), dsstatus::kOk);
    }

    TDataPacket Delta() {
        std::unique_ptr<IDSWriter> writer;
        EXPECT_EQ(base->CreateWriter(writer), dsstatus::kOk);
        TDataPacket delta;
        EXPECT_EQ(writer->GetDelta(delta), dsstatus::kOk);
        return delta;
    }

    int ChangeCount() {
        int count = -1;
        base->GetChangeCount(count);
        return count;
    }
};

}  // namespace contado::dstest
