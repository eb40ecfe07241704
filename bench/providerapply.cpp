// Applying 10,000 modifications of AJUSTE_CIERRE_AUTO through a provider (generated statements, the
// connection's statement cache, one transaction), beside the same updates run through one prepared
// statement in a plain loop over the driver interfaces: the limit the resolver is measured against.

#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "bench/pairratios.h"
#include "bench/benchcompany.h"
#include "core/bcd.h"
#include "core/datetime.h"
#include "data/provider/datasetprovider.h"
#include "data/sql/sqlconnection.h"
#include "data/sql/sqltable.h"
#include "platform/sqldriver.h"

namespace contado {
namespace {

constexpr int kRows = 10000;
constexpr const char* kUpdate =
    "update \"AJUSTE_CIERRE_AUTO\"  set\r\n \"AJCI_FACTOR\" = ?\r\nwhere\r\n \"AJCI_ID\" = ? and\r\n"
    " \"AJCI_FECINI\" = ? and\r\n \"AJCI_FECFIN\" = ? and\r\n \"AJCI_PORC\" = ? and\r\n"
    " \"AJCI_FACTOR\" = ? and\r\n \"AJCI_PREFNO\" is null\r\n";

std::filesystem::path ProgramDirectory() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path();
}

TBenchCompany* company = nullptr;
TSQLConnection* connection = nullptr;
std::int64_t currentFactor = 9500;  // ten-thousandths, the same in every row

TBcd Decimal(std::int64_t tenThousandths) {
    return TBcd::FromUnscaled(tenThousandths, 4);
}

void Connect() {
    connection = company->Connection();
    connection->Execute("execute block as declare i integer = 1; begin while (i <= " + std::to_string(kRows) +
                        ") do begin insert into AJUSTE_CIERRE_AUTO values (:i, '2024-01-01', '2024-12-31', "
                        "19, 0.95, null); i = i + 1; end end");
}

// Every row's factor changed from the current one to the next.
TDataPacket FactorDelta(std::int64_t from, std::int64_t to) {
    TDataPacket delta;
    delta.Columns = {TPacketColumn::Make("AJCI_ID", ftInteger),
                     TPacketColumn::Make("AJCI_FECINI", ftDate),
                     TPacketColumn::Make("AJCI_FECFIN", ftDate),
                     TPacketColumn::Make("AJCI_PORC", ftFMTBcd, 4, 15),
                     TPacketColumn::Make("AJCI_FACTOR", ftFMTBcd, 4, 15),
                     TPacketColumn::Make("AJCI_PREFNO", ftString, 4)};
    for (std::int64_t id = 1; id <= kRows; ++id) {
        delta.Rows.push_back({TUpdateStatus::Unmodified,
                              {id, EncodeDate(2024, 1, 1), EncodeDate(2024, 12, 31),
                               TVariant(Decimal(190000)), TVariant(Decimal(from)), TNull{}}});
        std::vector<TVariant> after(6);
        after[4] = Decimal(to);
        delta.Rows.push_back({TUpdateStatus::Modified, std::move(after)});
    }
    return delta;
}

std::int64_t NextFactor() {
    return currentFactor == 9500 ? 9000 : 9500;
}

void ProviderApply(benchmark::State& state) {
    TSQLTable table;
    table.SetSQLConnection(connection);
    table.SetTableName("AJUSTE_CIERRE_AUTO");
    table.SetGetMetadata(false);
    TDataSetProvider provider;
    provider.SetDataSet(&table);
    for (auto _ : state) {
        state.PauseTiming();
        const TDataPacket delta = FactorDelta(currentFactor, NextFactor());
        state.ResumeTiming();
        int errorCount = 0;
        if (provider.ApplyUpdates(delta, 0, errorCount).has_value()) {
            state.SkipWithError("a change failed");
            break;
        }
        currentFactor = NextFactor();
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

std::unique_ptr<ISQLConnection> DriverConnection() {
    void* library = dlopen((ProgramDirectory() / "libfbdriver.so").c_str(), RTLD_NOW);
    auto factory = library == nullptr
                       ? nullptr
                       : reinterpret_cast<TGetDriverFunc>(dlsym(library, "getSQLDriverFIREBIRD"));
    static ISQLDriver* driver = nullptr;
    if (driver == nullptr && (factory == nullptr || factory("libfbclient.so.2", "", &driver) != 0)) {
        throw std::runtime_error("the Firebird driver does not load");
    }
    std::unique_ptr<ISQLConnection> handle;
    driver->getSQLConnection(handle);
    if (handle->connect(company->Path(), "sysdba", "masterkey") != 0) {
        throw std::runtime_error("cannot connect");
    }
    return handle;
}

TDriverValue Value(TDriverType type, std::int64_t integer) {
    TDriverValue value;
    value.Type = type;
    value.IsNull = false;
    value.Integer = integer;
    return value;
}

TDriverValue DecimalValue(std::int64_t tenThousandths) {
    TDriverValue value;
    value.Type = TDriverType::Bcd;
    value.IsNull = false;
    value.Decimal = Decimal(tenThousandths);
    return value;
}

void PlainDriverLoop(benchmark::State& state) {
    const std::unique_ptr<ISQLConnection> handle = DriverConnection();
    std::unique_ptr<ISQLCommand> command;
    handle->getSQLCommand(command);
    if (command->prepare(kUpdate, 6) != 0) {
        state.SkipWithError("prepare failed");
        return;
    }
    const TTransactionDesc desc;
    const auto first = DateToDayNumber(EncodeDate(2024, 1, 1));
    const auto last = DateToDayNumber(EncodeDate(2024, 12, 31));
    for (auto _ : state) {
        handle->beginTransaction(desc);
        const std::int64_t next = NextFactor();
        for (std::int64_t id = 1; id <= kRows; ++id) {
            command->setParameter(1, DecimalValue(next));
            command->setParameter(2, Value(TDriverType::Int32, id));
            command->setParameter(3, Value(TDriverType::Date, first));
            command->setParameter(4, Value(TDriverType::Date, last));
            command->setParameter(5, DecimalValue(190000));
            command->setParameter(6, DecimalValue(currentFactor));
            std::unique_ptr<ISQLCursor> cursor;
            std::int64_t rows = 0;
            if (command->execute(cursor) != 0 || command->getRowsAffected(rows) != 0 || rows != 1) {
                state.SkipWithError("an update failed");
                handle->rollback(desc);
                return;
            }
        }
        handle->commit(desc);
        currentFactor = next;
    }
    state.SetItemsProcessed(state.iterations() * kRows);
    command.reset();
    handle->disconnect();
}

BENCHMARK(ProviderApply)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(PlainDriverLoop)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace contado

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    contado::TBenchCompany company;
    contado::company = &company;
    contado::Connect();
    contado::RunWithRatios({
        {"ProviderApply", "PlainDriverLoop", "provider apply vs prepared statement loop"},
    });
    benchmark::Shutdown();
    return 0;
}
