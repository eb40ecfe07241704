// A client table over 100,000 rows: opening it through the whole stack (SQL table, provider, local
// application server, engine), activating a date filter and locating a row; the engine alone
// loading, filtering and locating the same number of rows; and beside each whole-stack figure its
// limit: the same rows fetched by a plain OO API loop into a vector of structs, and the same filter
// and search as plain loops over that vector.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/pairratios.h"
#include "bench/benchcompany.h"
#include "bench/plainadjustments.h"
#include "bench/plainfirebird.h"
#include "core/datetime.h"
#include "core/formatsettings.h"
#include "core/textutil.h"
#include "data/client/clientdataset.h"
#include "data/client/filterparser.h"
#include "data/provider/datasetprovider.h"
#include "data/sql/sqlconnection.h"
#include "data/sql/sqltable.h"
#include "platform/dsengine/dsstatus.h"
#include "platform/dsengine/idsbase.h"

namespace contado {
namespace {

constexpr int kRows = 100000;

// 100,000 closing adjustments spread over 1,000 days: 100 rows per start date.
TDataPacket AdjustmentPacket() {
    TDataPacket packet;
    packet.Columns = {
        TPacketColumn::Make("AJCI_ID", ftInteger),       TPacketColumn::Make("AJCI_FECINI", ftDate),
        TPacketColumn::Make("AJCI_FECFIN", ftDate),      TPacketColumn::Make("AJCI_PORC", ftFMTBcd, 4),
        TPacketColumn::Make("AJCI_FACTOR", ftFMTBcd, 4), TPacketColumn::Make("AJCI_PREFNO", ftString, 4)};
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

TBenchCompany* company = nullptr;

// CAjusteAu over AJUSTE_CIERRE_AUTO through its provider, as the main window sets them up.
struct ClientStack {
    TComponent form;
    TSQLTable* source = new TSQLTable(&form);
    TDataSetProvider* provider = new TDataSetProvider(&form);
    TClientDataSet* table = new TClientDataSet(&form);

    explicit ClientStack(int packetRecords) {
        source->SetSQLConnection(company->Connection());
        source->SetTableName("AJUSTE_CIERRE_AUTO");
        source->SetGetMetadata(false);
        provider->SetName("PAjusteAu");
        provider->SetDataSet(source);
        table->SetName("CAjusteAu");
        table->SetProviderName("PAjusteAu");
        table->SetPacketRecords(packetRecords);
    }
};

void ClientTableOpenFirstPacket(benchmark::State& state) {
    ClientStack stack(1000);
    for (auto _ : state) {
        stack.table->Open();
        stack.table->Close();
    }
}
BENCHMARK(ClientTableOpenFirstPacket)->Unit(benchmark::kMillisecond);

void ClientTableOpenAll100k(benchmark::State& state) {
    ClientStack stack(-1);
    for (auto _ : state) {
        stack.table->Open();
        benchmark::DoNotOptimize(stack.table->RecordCount());
        stack.table->Close();
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(ClientTableOpenAll100k)->Unit(benchmark::kMillisecond)->Iterations(5);

void PlainOOApiFetchAll100k(benchmark::State& state) {
    TPlainFirebird firebird(company->Path());
    for (auto _ : state) {
        std::vector<TPlainAdjustment> rows = PlainFetchAdjustments(firebird);
        benchmark::DoNotOptimize(rows.data());
        if (rows.size() != kRows) {
            state.SkipWithError("wrong row count");
        }
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(PlainOOApiFetchAll100k)->Unit(benchmark::kMillisecond)->Iterations(5);

// Firebird's day number of 1 June 2025 (days from 17 November 1858).
constexpr ISC_DATE kFilterDay = 60827;

// The rows of the filter's day, and every row: what a plain program keeps as its visible list with
// the filter on and off.
std::vector<const TPlainAdjustment*> PlainFiltered(const std::vector<TPlainAdjustment>& rows) {
    std::vector<const TPlainAdjustment*> visible;
    for (const TPlainAdjustment& row : rows) {
        if (row.first == kFilterDay) {
            visible.push_back(&row);
        }
    }
    return visible;
}

std::vector<const TPlainAdjustment*> PlainAll(const std::vector<TPlainAdjustment>& rows) {
    std::vector<const TPlainAdjustment*> visible;
    for (const TPlainAdjustment& row : rows) {
        visible.push_back(&row);
    }
    return visible;
}

void PlainLoopDateFilter100k(benchmark::State& state) {
    TPlainFirebird firebird(company->Path());
    const std::vector<TPlainAdjustment> rows = PlainFetchAdjustments(firebird);
    for (auto _ : state) {
        const std::vector<const TPlainAdjustment*> visible = PlainFiltered(rows);
        benchmark::DoNotOptimize(visible.size());
        if (visible.size() != kRows / 1000) {
            state.SkipWithError("wrong filtered row count");
        }
    }
}

// Showing every row again once the filter is taken off.
void PlainLoopUnfilter100k(benchmark::State& state) {
    TPlainFirebird firebird(company->Path());
    const std::vector<TPlainAdjustment> rows = PlainFetchAdjustments(firebird);
    for (auto _ : state) {
        benchmark::DoNotOptimize(PlainAll(rows).data());
    }
}

// Both halves of the client table's iteration below, the filter and then every row again.
void PlainLoopDateFilterAndUnfilter100k(benchmark::State& state) {
    TPlainFirebird firebird(company->Path());
    const std::vector<TPlainAdjustment> rows = PlainFetchAdjustments(firebird);
    for (auto _ : state) {
        benchmark::DoNotOptimize(PlainFiltered(rows).data());
        benchmark::DoNotOptimize(PlainAll(rows).data());
    }
}

// The whole table open at its last row, the date filter set and not yet on.
void OpenWithDateFilter(ClientStack& stack) {
    FormatSettings().ShortDateFormat = "dd/mm/yyyy";
    stack.table->Open();
    stack.table->Last();
    stack.table->SetFilter("AJCI_FECINI = " + QuotedDateText(EncodeDate(2025, 6, 1)));
}

// The client table's filter switched on and off, and only the one half timed (the other is paused).
void ClientTableDateFilterHalf(benchmark::State& state, bool timeOn) {
    ClientStack stack(1000);
    OpenWithDateFilter(stack);
    for (auto _ : state) {
        if (!timeOn) {
            state.PauseTiming();
        }
        stack.table->SetFiltered(true);
        benchmark::DoNotOptimize(stack.table->RecordCount());
        if (stack.table->RecordCount() != kRows / 1000) {
            state.SkipWithError("wrong filtered row count");
        }
        if (timeOn) {
            state.PauseTiming();
        } else {
            state.ResumeTiming();
        }
        stack.table->SetFiltered(false);
        benchmark::DoNotOptimize(stack.table->RecordCount());
        if (timeOn) {
            state.ResumeTiming();
        }
    }
}

void ClientTableDateFilterOn100k(benchmark::State& state) {
    ClientTableDateFilterHalf(state, true);
}

void ClientTableDateFilterOff100k(benchmark::State& state) {
    ClientTableDateFilterHalf(state, false);
}

void ClientTableDateFilter100k(benchmark::State& state) {
    ClientStack stack(1000);
    OpenWithDateFilter(stack);
    for (auto _ : state) {
        stack.table->SetFiltered(true);
        benchmark::DoNotOptimize(stack.table->RecordCount());
        stack.table->SetFiltered(false);
    }
}
// The filter's pairs: both halves against the plain filter (how it was always compared) and against
// the plain filter and list of every row; then each half against its plain loop.
BENCHMARK(ClientTableDateFilter100k)->Unit(benchmark::kMillisecond);
BENCHMARK(PlainLoopDateFilter100k)->Unit(benchmark::kMillisecond);
BENCHMARK(PlainLoopDateFilterAndUnfilter100k)->Unit(benchmark::kMillisecond);
BENCHMARK(ClientTableDateFilterOn100k)->Unit(benchmark::kMillisecond);
BENCHMARK(ClientTableDateFilterOff100k)->Unit(benchmark::kMillisecond);
BENCHMARK(PlainLoopUnfilter100k)->Unit(benchmark::kMillisecond);

void PlainLoopLocate100k(benchmark::State& state) {
    TPlainFirebird firebird(company->Path());
    const std::vector<TPlainAdjustment> rows = PlainFetchAdjustments(firebird);
    for (auto _ : state) {
        std::size_t found = 0;
        while (found < rows.size() && rows[found].id != kRows - 1) {
            ++found;
        }
        benchmark::DoNotOptimize(found);
    }
}

void ClientTableLocate100k(benchmark::State& state) {
    ClientStack stack(1000);
    stack.table->Open();
    stack.table->Last();
    for (auto _ : state) {
        stack.table->First();
        benchmark::DoNotOptimize(stack.table->Locate("AJCI_ID", {std::int64_t{kRows - 1}}, {}));
    }
}
BENCHMARK(ClientTableLocate100k)->Unit(benchmark::kMillisecond);
BENCHMARK(PlainLoopLocate100k)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace contado

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    contado::TBenchCompany company;
    contado::FillPlannedAdjustments(company.Connection(), contado::kRows);
    contado::company = &company;
    contado::RunWithRatios({
        {"ClientTableDateFilter100k", "PlainLoopDateFilter100k", "date filter on and off vs plain filter"},
        {"ClientTableDateFilter100k", "PlainLoopDateFilterAndUnfilter100k",
         "date filter on and off vs plain filter and full list"},
        {"ClientTableDateFilterOn100k", "PlainLoopDateFilter100k", "date filter on vs plain loop"},
        {"ClientTableDateFilterOff100k", "PlainLoopUnfilter100k", "date filter off vs plain loop"},
        {"ClientTableLocate100k", "PlainLoopLocate100k", "Locate of the last row vs plain loop"},
        {"ClientTableOpenAll100k", "PlainOOApiFetchAll100k", "open all 100,000 rows vs raw OO API loop"},
    });
    contado::company = nullptr;
    benchmark::Shutdown();
    return 0;
}
