// The unattended run's lookup of each VAT rate's planned adjustment (the three rates of the company,
// through a client table over a query, as the main window's Cborrar runs it), and the whole program
// run unattended on a company whose today is posted already (status 1), as a scheduler starts it. Each
// on the demo company, on the same company with 100,000 planned adjustments that ended long ago, and
// on that one with the indexes the scripts made before (the first-day index, none on rate and last
// day). Prints each case's time against the demo company's: the goal is within 1.5x.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/benchcompany.h"
#include "core/bcd.h"
#include "core/datetime.h"
#include "core/formatsettings.h"
#include "data/client/clientdataset.h"
#include "data/provider/datasetprovider.h"
#include "data/sql/sqlquery.h"
#include "tests/support/childprocess.h"
#include "tests/support/registrysandbox.h"

namespace contado {
namespace {

constexpr int kExpiredRows = 100000;
const char* const kCases[] = {"demo", "expired100k", "expired100k_formerIndexes"};

std::map<std::string, std::unique_ptr<TBenchCompany>>& Companies() {
    static std::map<std::string, std::unique_ptr<TBenchCompany>> companies;
    return companies;
}

// Spread over 3,000 start days, each a month long, the last one ended a year ago; rates 0, 5 and 19.
void AddExpiredAdjustments(TSQLConnection& connection) {
    connection.Execute(
        "execute block as declare i integer = 0; begin while (i < " + std::to_string(kExpiredRows) +
        ") do begin insert into AJUSTE_CIERRE_AUTO (AJCI_ID, AJCI_FECINI, AJCI_FECFIN, AJCI_PORC, "
        "AJCI_FACTOR) values (0, dateadd(-(400 + mod(:i, 3000)) day to current_date), "
        "dateadd(-(370 + mod(:i, 3000)) day to current_date), decode(mod(:i, 3), 0, 0, 1, 5, 19), 0.9); "
        "i = i + 1; end end");
}

void UseFormerIndexes(TSQLConnection& connection) {
    connection.Execute("drop index IX_AJUSTE_AUTO_PORC_FECFIN");
    connection.Execute("create index IX_AJUSTE_CIERRE_AUTO_FECINI on AJUSTE_CIERRE_AUTO (AJCI_FECINI)");
}

TChildResult RunUnattended(const TBenchCompany& company) {
    return RunChild(CONTADO_BINARY_DIR "/bin/contado", {company.ServerDir(), "SYSDBA", "masterkey",
                                                        company.CompanyCode()});
}

// The text Tfquenvar::ConsultaAjustePrevisto sends, built by the same functions.
std::string LookupText(const TBcd& rate) {
    const std::string day = SqlDateText(Today());
    return "SELECT AJCI_ID, AJCI_PORC, AJCI_FACTOR, AJCI_PREFNO FROM AJUSTE_CIERRE_AUTO WHERE AJCI_FECINI <= " + day + " AND AJCI_FECFIN >= " + day +
           " AND AJCI_PORC = " + rate.ToString('.') + " ORDER BY AJCI_FECINI DESC";
}

void Lookup(benchmark::State& state, const std::string& name) {
    TBenchCompany& company = *Companies().at(name);
    TComponent form;
    auto* query = new TSQLQuery(&form);
    query->SetSQLConnection(company.Connection());
    query->SetMaxBlobSize(-1);
    auto* provider = new TDataSetProvider(&form);
    provider->SetName("PBorrar");
    provider->SetDataSet(query);
    provider->SetOptions({poAllowCommandText});
    auto* table = new TClientDataSet(&form);
    table->SetName("Cborrar");
    table->SetProviderName("PBorrar");
    table->SetPacketRecords(1000);
    const std::vector<std::string> texts{LookupText(TBcd::FromInt64(0)), LookupText(TBcd::FromInt64(5)),
                                         LookupText(TBcd::FromInt64(19))};
    for (auto _ : state) {
        for (const std::string& text : texts) {
            table->Close();
            table->SetCommandText(text);
            table->Open();
            benchmark::DoNotOptimize(table->Fields(0)->AsString());
        }
    }
    table->Close();
}

// The program's own connection is the only one, as for a scheduled run at night.
void NoOpRun(benchmark::State& state, const std::string& name) {
    TBenchCompany& company = *Companies().at(name);
    company.Connection()->Close();
    for (auto _ : state) {
        const TChildResult result = RunUnattended(company);
        if (result.ExitCode != 1) {
            state.SkipWithError(("status " + std::to_string(result.ExitCode) + ": " + result.StandardError).c_str());
            break;
        }
    }
}

// Keeps each benchmark's time beside the console's lines, for the ratios at the end.
class TRatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
                times_[run.benchmark_name()] = run.GetAdjustedRealTime();
            }
        }
    }
    void PrintRatios(const std::string& kind) const {
        const double base = Time(kind, "demo");
        for (const char* name : kCases) {
            const double time = Time(kind, name);
            if (base > 0 && time > 0) {
                std::printf("%s/%s: %.2fx the demo company\n", kind.c_str(), name, time / base);
            }
        }
    }

  private:
    // The time of kind/name, whatever the name's suffixes (iterations, real time); 0 when not run.
    double Time(const std::string& kind, const std::string& name) const {
        const std::string prefix = kind + "/" + name + "/";
        for (const auto& [run, time] : times_) {
            if (run.rfind(prefix, 0) == 0) {
                return time;
            }
        }
        return 0;
    }

    std::map<std::string, double> times_;
};

}  // namespace
}  // namespace contado

int main(int argc, char** argv) {
    using namespace contado;
    benchmark::Initialize(&argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    TRegistrySandbox sandbox;
    sandbox.PointAtApplicationDirectory();
    for (const char* name : kCases) {
        auto company = std::make_unique<TBenchCompany>(3);
        if (std::string(name) != "demo") {
            AddExpiredAdjustments(*company->Connection());
        }
        if (std::string(name) == "expired100k_formerIndexes") {
            UseFormerIndexes(*company->Connection());
        }
        // Today is posted once; every run measured then finds nothing left to post.
        const TChildResult first = RunUnattended(*company);
        if (first.ExitCode != 0) {
            std::fprintf(stderr, "the first run on %s ended with %d: %s\n", name, first.ExitCode,
                         first.StandardError.c_str());
            return 1;
        }
        Companies()[name] = std::move(company);
    }
    for (const char* name : kCases) {
        benchmark::RegisterBenchmark(("Lookup/" + std::string(name)).c_str(), Lookup, std::string(name))
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    for (const char* name : kCases) {
        benchmark::RegisterBenchmark(("NoOpRun/" + std::string(name)).c_str(), NoOpRun, std::string(name))
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Iterations(10);
    }
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios("Lookup");
    reporter.PrintRatios("NoOpRun");
    Companies().clear();
    benchmark::Shutdown();
    return 0;
}
