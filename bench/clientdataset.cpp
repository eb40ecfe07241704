#include <benchmark/benchmark.h>

#include <memory>
#include <optional>

#include "core/datetime.h"
#include "core/formatsettings.h"
#include "core/textutil.h"
#include "data/filterparser.h"
#include "platform/dsengine/dsstatus.h"
#include "platform/dsengine/idsbase.h"

namespace contado {
namespace {

constexpr int kRows = 100000;

TPacketColumn Column(const char* name, TFieldType type, int size = 0) {
    TPacketColumn column;
    column.Name = name;
    column.Type = type;
    column.Size = size;
    return column;
}

// 100,000 closing adjustments spread over 1,000 days: 100 rows per start date.
TDataPacket AdjustmentPacket() {
    TDataPacket packet;
    packet.Columns = {Column("AJCI_ID", ftInteger),       Column("AJCI_FECINI", ftDate),
                      Column("AJCI_FECFIN", ftDate),      Column("AJCI_PORC", ftFMTBcd, 4),
                      Column("AJCI_FACTOR", ftFMTBcd, 4), Column("AJCI_PREFNO", ftString, 4)};
    TDateTime first = EncodeDate(2024, 1, 1);
    packet.Rows.reserve(kRows);
    for (int id = 1; id <= kRows; ++id) {
        TDateTime day = first + id % 1000;
        packet.Rows.push_back(
            TPacketRow{TUpdateStatus::Unmodified,
                       {TVariant(std::int64_t{id}), day, day, TBcd::FromUnscaled(190000 + id % 7 * 10000, 4),
                        TBcd::FromUnscaled(8000, 4), std::string("F") + std::to_string(id % 10)}});
    }
    return packet;
}

struct EngineTable {
    std::unique_ptr<IDSBase> base = CreateDSBase();
    std::unique_ptr<IDSCursor> cursor;
    TDataPacket packet = AdjustmentPacket();

    EngineTable() {
        base->AppendData(packet, true);
        base->CreateCursor(cursor);
    }

    TDSExpression Expression(const std::string& text) const {
        TFilterParser parser(
            [this](const std::string& name) -> std::optional<TFilterField> {
                int index = packet.ColumnIndex(name);
                if (index < 0) {
                    return std::nullopt;
                }
                return TFilterField{packet.Columns[index].Type, packet.Columns[index].Size, index};
            },
            "CAjuste");
        return parser.ParseToExpression(text);
    }
};

void EngineLoad100k(benchmark::State& state) {
    TDataPacket packet = AdjustmentPacket();
    for (auto _ : state) {
        auto base = CreateDSBase();
        benchmark::DoNotOptimize(base->AppendData(packet, true));
    }
}
BENCHMARK(EngineLoad100k)->Unit(benchmark::kMillisecond);

void EngineDateFilter100k(benchmark::State& state) {
    FormatSettings().ShortDateFormat = "dd/mm/yyyy";
    EngineTable table;
    TDSExpression expression = table.Expression("AJCI_FECINI = " + QuotedDateText(EncodeDate(2025, 6, 1)));
    for (auto _ : state) {
        TDSFilterHandle handle = 0;
        table.cursor->AddFilter(expression, handle);
        int count = 0;
        table.cursor->GetRecordCount(count);
        benchmark::DoNotOptimize(count);
        table.cursor->DropFilter(handle);
    }
}
BENCHMARK(EngineDateFilter100k)->Unit(benchmark::kMillisecond);

void EngineLocateLastRow100k(benchmark::State& state) {
    EngineTable table;
    TDSExpression expression = table.Expression("[AJCI_ID]=100000");
    for (auto _ : state) {
        table.cursor->MoveToBOF();
        benchmark::DoNotOptimize(table.cursor->LocateWithFilter(expression));
    }
}
BENCHMARK(EngineLocateLastRow100k)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace contado

BENCHMARK_MAIN();
