// Opening the editor of the planned adjustments (F7) as the main window does it: CAjusteAu, with
// the window's persistent fields, opened through its SQL table and provider, then moved to its last
// row. Every row is fetched, so the time grows with the rows: measured over 100,000 and 1,000,000
// planned adjustments, each in a company database of its own, beside the plain OO API fetch of the
// same rows. The held memory is what the open table keeps once the work is done.

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "bench/pairratios.h"
#include "bench/benchcompany.h"
#include "bench/plainadjustments.h"
#include "bench/plainfirebird.h"
#include "data/client/clientdataset.h"
#include "data/fields/datefield.h"
#include "data/fields/fmtbcdfield.h"
#include "data/fields/integerfield.h"
#include "data/fields/stringfield.h"
#include "data/provider/datasetprovider.h"
#include "data/sql/sqltable.h"

namespace contado {
namespace {

constexpr double kMegabyte = 1024.0 * 1024.0;

double ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE));
}

// TAjusteAu, PAjusteAu and CAjusteAu with its fields, as Tfquenvar creates them.
struct EditorStack {
    TComponent form;
    TSQLTable* source = new TSQLTable(&form);
    TDataSetProvider* provider = new TDataSetProvider(&form);
    TClientDataSet* table = new TClientDataSet(&form);

    template <typename Field>
    Field* AddField(const std::string& name) {
        auto* field = new Field(&form);
        field->SetName("CAjusteAu" + name);
        field->SetFieldName(name);
        field->SetDataSet(table);
        return field;
    }

    explicit EditorStack(TSQLConnection* connection) {
        source->SetName("TAjusteAu");
        source->SetSQLConnection(connection);
        source->SetMaxBlobSize(-1);
        source->SetGetMetadata(false);
        source->SetTableName("AJUSTE_CIERRE_AUTO");
        provider->SetName("PAjusteAu");
        provider->SetDataSet(source);
        table->SetName("CAjusteAu");
        table->SetProviderName("PAjusteAu");
        AddField<TIntegerField>("AJCI_ID")->SetRequired(true);
        AddField<TDateField>("AJCI_FECINI");
        AddField<TDateField>("AJCI_FECFIN");
        for (const char* name : {"AJCI_PORC", "AJCI_FACTOR"}) {
            auto* decimal = AddField<TFMTBCDField>(name);
            decimal->SetPrecision(15);
            decimal->SetSize(4);
        }
        AddField<TStringField>("AJCI_PREFNO")->SetSize(4);
    }
};

std::unique_ptr<TBenchCompany> companies[2];
constexpr int kRows[2] = {100000, 1000000};

void EditorOpenLast(benchmark::State& state) {
    const int which = static_cast<int>(state.range(0));
    EditorStack stack(companies[which]->Connection());
    double held = 0;
    for (auto _ : state) {
        state.PauseTiming();
        malloc_trim(0);
        const double before = ResidentBytes();
        state.ResumeTiming();
        stack.table->Open();
        stack.table->Last();
        state.PauseTiming();
        if (stack.table->RecordCount() != kRows[which]) {
            state.SkipWithError("wrong row count");
        }
        malloc_trim(0);
        held = ResidentBytes() - before;
        stack.table->Close();
        state.ResumeTiming();
    }
    state.counters["HeldMB"] = held / kMegabyte;
    state.SetItemsProcessed(state.iterations() * kRows[which]);
}

void PlainOOApiFetch(benchmark::State& state) {
    const int which = static_cast<int>(state.range(0));
    TPlainFirebird firebird(companies[which]->Path());
    for (auto _ : state) {
        std::vector<TPlainAdjustment> rows = PlainFetchAdjustments(firebird);
        benchmark::DoNotOptimize(rows.data());
        if (static_cast<int>(rows.size()) != kRows[which]) {
            state.SkipWithError("wrong row count");
        }
    }
    state.SetItemsProcessed(state.iterations() * kRows[which]);
}

// Argument 0: 100,000 rows; 1: 1,000,000 rows.
BENCHMARK(EditorOpenLast)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(PlainOOApiFetch)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace contado

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    for (int which = 0; which < 2; ++which) {
        contado::companies[which] = std::make_unique<contado::TBenchCompany>();
        contado::FillPlannedAdjustments(contado::companies[which]->Connection(), contado::kRows[which]);
    }
    // Every page read once before the first measurement, so no benchmark pays for the first reads.
    for (auto& company : contado::companies) {
        contado::TPlainFirebird firebird(company->Path());
        contado::PlainFetchAdjustments(firebird);
    }
    contado::RunWithRatios({
        {"EditorOpenLast/0", "PlainOOApiFetch/0", "F7 over 100,000 rows vs raw OO API fetch"},
        {"EditorOpenLast/1", "PlainOOApiFetch/1", "F7 over 1,000,000 rows vs raw OO API fetch"},
    });
    for (auto& company : contado::companies) {
        company.reset();
    }
    benchmark::Shutdown();
    return 0;
}
