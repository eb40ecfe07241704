// The whole data stack beside the plain Firebird OO API loop it is measured against, in one run:
// fetching 100,000 rows of AJUSTE_CIERRE_AUTO into memory (a client table opened through SQL table,
// provider and engine, against a fetch loop into a vector of structs), and applying 10,000
// modifications (a provider apply of a change packet, against one prepared update executed in a
// loop). Each benchmark reports, besides its time, the resident memory before the work, the memory
// the work still holds when done (the fetched rows) and the peak resident memory during it. The fetch
// is measured again with the answer limit an unattended run sets, which watches calls to the server.

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "bench/pairratios.h"
#include "bench/benchcompany.h"
#include "bench/plainadjustments.h"
#include "bench/plainfirebird.h"
#include "core/bcd.h"
#include "core/datetime.h"
#include "data/client/clientdataset.h"
#include "data/provider/datasetprovider.h"
#include "data/sql/sqlconnection.h"
#include "data/sql/sqltable.h"

namespace contado {
namespace {

constexpr int kFetchRows = 100000;
constexpr int kApplyRows = 10000;
constexpr double kMegabyte = 1024.0 * 1024.0;

TBenchCompany* company = nullptr;

// Resident memory of this process, read from /proc.
class TResidentMemory {
  public:
    // Gives freed heap back to the system, forgets the peak so far and takes the current size.
    void Start() {
        malloc_trim(0);
        std::ofstream("/proc/self/clear_refs") << "5";
        before_ = Current();
    }
    // The size now, with what the work holds still alive and freed heap given back, and the peak
    // since Start.
    void Stop() {
        malloc_trim(0);
        after_ = Current();
        peak_ = Peak();
    }
    void Report(benchmark::State& state) const {
        state.counters["RssBeforeMB"] = before_ / kMegabyte;
        state.counters["HeldMB"] = (after_ - before_) / kMegabyte;
        state.counters["PeakRssMB"] = peak_ / kMegabyte;
    }

  private:
    static double Current() {
        std::ifstream statm("/proc/self/statm");
        long size = 0;
        long resident = 0;
        statm >> size >> resident;
        return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE));
    }
    static double Peak() {
        std::ifstream status("/proc/self/status");
        std::string key;
        while (status >> key) {
            if (key == "VmHWM:") {
                double kilobytes = 0;
                status >> kilobytes;
                return kilobytes * 1024.0;
            }
        }
        return 0;
    }

    double before_ = 0;
    double after_ = 0;
    double peak_ = 0;
};

// Runs work once per iteration between Start and Stop of the memory reading; release runs after
// Stop, untimed, and frees what the work held.
template <typename Work, typename Release>
void MeasuredLoop(benchmark::State& state, Work work, Release release) {
    TResidentMemory memory;
    for (auto _ : state) {
        state.PauseTiming();
        memory.Start();
        state.ResumeTiming();
        work();
        if (state.error_occurred()) {
            return;
        }
        state.PauseTiming();
        memory.Stop();
        release();
        state.ResumeTiming();
    }
    memory.Report(state);
}

// ---- Fetch ----

void FetchPlainOOApi100k(benchmark::State& state) {
    TPlainFirebird firebird(company->Path());
    std::vector<TPlainAdjustment> rows;
    MeasuredLoop(
        state,
        [&] {
            rows = PlainFetchAdjustments(firebird);
            benchmark::DoNotOptimize(rows.data());
        },
        [&] {
            if (rows.size() != kFetchRows) {
                state.SkipWithError("wrong row count");
            }
            std::vector<TPlainAdjustment>().swap(rows);
        });
    state.SetItemsProcessed(state.iterations() * kFetchRows);
}

void FetchWholeStack(benchmark::State& state) {
    TComponent form;
    auto* source = new TSQLTable(&form);
    auto* provider = new TDataSetProvider(&form);
    auto* table = new TClientDataSet(&form);
    source->SetSQLConnection(company->Connection());
    source->SetTableName("AJUSTE_CIERRE_AUTO");
    source->SetGetMetadata(false);
    provider->SetName("PAjusteAu");
    provider->SetDataSet(source);
    table->SetName("CAjusteAu");
    table->SetProviderName("PAjusteAu");
    table->SetPacketRecords(-1);
    MeasuredLoop(
        state,
        [&] {
            table->Open();
            benchmark::DoNotOptimize(table->RecordCount());
        },
        [&] {
            if (table->RecordCount() != kFetchRows) {
                state.SkipWithError("wrong row count");
            }
            table->Close();
        });
    state.SetItemsProcessed(state.iterations() * kFetchRows);
}

void FetchWholeStack100k(benchmark::State& state) {
    FetchWholeStack(state);
}

// The connection reopened with the answer limit an unattended run sets, for the life of the object.
class TAnswerLimit {
  public:
    explicit TAnswerLimit(int seconds) { Reopen(seconds); }
    ~TAnswerLimit() { Reopen(0); }
    TAnswerLimit(const TAnswerLimit&) = delete;
    TAnswerLimit& operator=(const TAnswerLimit&) = delete;

  private:
    static void Reopen(int seconds) {
        TSQLConnection* connection = company->Connection();
        connection->Close();
        connection->Params().SetValue("Answer Timeout", std::to_string(seconds));
        connection->Open();
    }
};

void FetchWholeStackWatched100k(benchmark::State& state) {
    const TAnswerLimit limit(600);
    FetchWholeStack(state);
}

// ---- Apply ----

constexpr const char* kUpdate =
    "update \"AJUSTE_CIERRE_AUTO\"  set\r\n \"AJCI_FACTOR\" = ?\r\nwhere\r\n \"AJCI_ID\" = ? and\r\n"
    " \"AJCI_FECINI\" = ? and\r\n \"AJCI_FECFIN\" = ? and\r\n \"AJCI_PORC\" = ? and\r\n"
    " \"AJCI_FACTOR\" = ? and\r\n \"AJCI_PREFNO\" is null\r\n";

// The first kApplyRows planned adjustments change their factor, in ten-thousandths, the same in
// every row; the other columns are as filled for the fetch.
std::int64_t currentFactor = 8000;

std::int64_t NextFactor() {
    return currentFactor == 8000 ? 9000 : 8000;
}

TDateTime FirstDay(std::int64_t id) {
    return EncodeDate(2024, 1, 1) + static_cast<double>(id % 1000);
}

// Reads every planned adjustment, so the engine collects the old versions that the previous
// apply left behind; each measured apply then starts from a table without garbage, whichever of
// the two ran before it.
void CollectOldVersions() {
    TPlainFirebird firebird(company->Path());
    firebird.Fetch("select count(*) from AJUSTE_CIERRE_AUTO", [](const unsigned char*, const unsigned*) {});
}

TBcd Decimal(std::int64_t tenThousandths) {
    return TBcd::FromUnscaled(tenThousandths, 4);
}

// Every row's factor changed from one value to another.
TDataPacket FactorDelta(std::int64_t from, std::int64_t to) {
    TDataPacket delta;
    delta.Columns = {TPacketColumn::Make("AJCI_ID", ftInteger),
                     TPacketColumn::Make("AJCI_FECINI", ftDate),
                     TPacketColumn::Make("AJCI_FECFIN", ftDate),
                     TPacketColumn::Make("AJCI_PORC", ftFMTBcd, 4, 15),
                     TPacketColumn::Make("AJCI_FACTOR", ftFMTBcd, 4, 15),
                     TPacketColumn::Make("AJCI_PREFNO", ftString, 4)};
    for (std::int64_t id = 1; id <= kApplyRows; ++id) {
        delta.Rows.push_back({TUpdateStatus::Unmodified,
                              {id, FirstDay(id), EncodeDate(2027, 12, 31), TVariant(Decimal(190000)),
                               TVariant(Decimal(from)), TNull{}}});
        std::vector<TVariant> after(6);
        after[4] = Decimal(to);
        delta.Rows.push_back({TUpdateStatus::Modified, std::move(after)});
    }
    return delta;
}

void ApplyWholeStack10k(benchmark::State& state) {
    TSQLTable table;
    table.SetSQLConnection(company->Connection());
    table.SetTableName("AJUSTE_CIERRE_AUTO");
    table.SetGetMetadata(false);
    TDataSetProvider provider;
    provider.SetDataSet(&table);
    // The change packet is the input, built outside the measured work.
    TDataPacket delta = FactorDelta(currentFactor, NextFactor());
    CollectOldVersions();
    MeasuredLoop(
        state,
        [&] {
            int errorCount = 0;
            if (provider.ApplyUpdates(delta, 0, errorCount).has_value()) {
                state.SkipWithError("a change failed");
                return;
            }
            currentFactor = NextFactor();
        },
        [&] {
            delta = FactorDelta(currentFactor, NextFactor());
            CollectOldVersions();
        });
    state.SetItemsProcessed(state.iterations() * kApplyRows);
}

// The input message of the update: its buffer, with each parameter's offset from the metadata.
struct TPlainUpdateMessage {
    std::vector<unsigned char> buffer;
    unsigned offsets[6] = {};
    unsigned nullOffsets[6] = {};

    template <typename T>
    void Set(unsigned parameter, T value) {
        std::memcpy(buffer.data() + offsets[parameter], &value, sizeof value);
    }
};

void ApplyPlainOOApi10k(benchmark::State& state) {
    TPlainFirebird firebird(company->Path());
    Firebird::ThrowStatusWrapper* status = firebird.Status();
    Firebird::ITransaction* setup = firebird.Attachment()->startTransaction(status, 0, nullptr);
    Firebird::IStatement* statement = firebird.Attachment()->prepare(status, setup, 0, kUpdate, 3, 0);
    setup->commit(status);
    Firebird::IMessageMetadata* input = statement->getInputMetadata(status);
    TPlainUpdateMessage message;
    message.buffer.assign(input->getMessageLength(status), 0);
    for (unsigned parameter = 0; parameter < 6; ++parameter) {
        message.offsets[parameter] = input->getOffset(status, parameter);
        message.nullOffsets[parameter] = input->getNullOffset(status, parameter);
    }
    // Firebird's day numbers (days from 17 November 1858) of 1 January 2024 and 31 December 2027.
    const ISC_DATE first = 60310;
    const ISC_DATE last = 61770;
    CollectOldVersions();
    MeasuredLoop(
        state,
        [&] {
            Firebird::ITransaction* transaction = firebird.Attachment()->startTransaction(status, 0, nullptr);
            const std::int64_t next = NextFactor();
            for (std::int32_t id = 1; id <= kApplyRows; ++id) {
                message.Set<std::int64_t>(0, next);
                message.Set<std::int32_t>(1, id);
                message.Set<ISC_DATE>(2, first + id % 1000);
                message.Set<ISC_DATE>(3, last);
                message.Set<std::int64_t>(4, 190000);
                message.Set<std::int64_t>(5, currentFactor);
                statement->execute(status, transaction, input, message.buffer.data(), nullptr, nullptr);
                if (statement->getAffectedRecords(status) != 1) {
                    state.SkipWithError("an update failed");
                    break;
                }
            }
            transaction->commit(status);
            currentFactor = next;
        },
        CollectOldVersions);
    input->release();
    statement->free(status);
    state.SetItemsProcessed(state.iterations() * kApplyRows);
}

BENCHMARK(FetchPlainOOApi100k)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(FetchWholeStack100k)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(FetchWholeStackWatched100k)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(ApplyPlainOOApi10k)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(ApplyWholeStack10k)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace contado

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    contado::TBenchCompany company;
    contado::FillPlannedAdjustments(company.Connection(), contado::kFetchRows);
    contado::company = &company;
    contado::RunWithRatios({
        {"FetchWholeStack100k", "FetchPlainOOApi100k", "whole-stack fetch vs raw OO API loop"},
        {"FetchWholeStackWatched100k", "FetchPlainOOApi100k",
         "the same with the unattended run's answer limit"},
        {"ApplyWholeStack10k", "ApplyPlainOOApi10k", "whole-stack apply vs prepared update loop"},
    });
    contado::company = nullptr;
    benchmark::Shutdown();
    return 0;
}
