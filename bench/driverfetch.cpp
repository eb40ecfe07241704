// Fetching 100,000 rows of a select through the driver interfaces, beside the same rows fetched by a
// plain loop over the Firebird OO API in the same process: the limit the driver is measured against.

#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <firebird/Interface.h>
#include <ibase.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>

#include "bench/pairratios.h"
#include "bench/plainfirebird.h"
#include "platform/sqldriver.h"

namespace contado {
namespace {

constexpr int kRows = 100000;
constexpr const char* kSelect = "select ID, NOMBRE, PORC, FECHA from FILAS";

std::filesystem::path ProgramDirectory() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path();
}

// A database of kRows rows in a temporary folder, made with isql-fb.
class TBenchDatabase {
  public:
    TBenchDatabase() {
        std::string pattern = (std::filesystem::temp_directory_path() / "contado-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot make a temporary folder");
        }
        directory_ = pattern;
        path_ = directory_ + "/bench.fdb";
        const std::string script = directory_ + "/make.sql";
        std::ofstream(script) << "create database '" << path_
                              << "' user 'SYSDBA' default character set UTF8;\n"
                              << "create table FILAS (ID integer not null primary key, NOMBRE varchar(40), "
                                 "PORC numeric(15,4), FECHA date);\ncommit;\nset term ^;\n"
                                 "execute block as declare i integer = 0; begin while (i < "
                              << kRows
                              << ") do begin insert into FILAS values (:i, 'fila ' || :i, :i / 7.0, "
                                 "dateadd(:i day to date '2000-01-01')); i = i + 1; end end^\n"
                                 "set term ;^\ncommit;\n";
        if (std::system(("isql-fb -q -i '" + script + "' > /dev/null 2>&1").c_str()) != 0) {
            throw std::runtime_error("isql-fb could not make the database");
        }
    }
    ~TBenchDatabase() {
        std::error_code ignored;
        std::filesystem::remove_all(directory_, ignored);
    }
    const std::string& Path() const { return path_; }

  private:
    std::string directory_;
    std::string path_;
};

TBenchDatabase* database = nullptr;

std::unique_ptr<ISQLConnection> DriverConnection() {
    static ISQLDriver* driver = [] {
        void* library = dlopen((ProgramDirectory() / "libfbdriver.so").c_str(), RTLD_NOW);
        auto factory = library == nullptr
                           ? nullptr
                           : reinterpret_cast<TGetDriverFunc>(dlsym(library, "getSQLDriverFIREBIRD"));
        ISQLDriver* loaded = nullptr;
        if (factory == nullptr || factory("libfbclient.so.2", "", &loaded) != sqlstatus::kSuccess) {
            throw std::runtime_error("the Firebird driver does not load");
        }
        return loaded;
    }();
    std::unique_ptr<ISQLConnection> connection;
    driver->getSQLConnection(connection);
    if (connection->connect(database->Path(), "SYSDBA", "") != sqlstatus::kSuccess) {
        throw std::runtime_error("cannot connect");
    }
    return connection;
}

void DriverFetch(benchmark::State& state) {
    auto connection = DriverConnection();
    std::unique_ptr<ISQLCommand> command;
    connection->getSQLCommand(command);
    TDriverValue values[4];
    for (auto _ : state) {
        command->prepare(kSelect, 0);
        std::unique_ptr<ISQLCursor> cursor;
        command->execute(cursor);
        int rows = 0;
        while (cursor->next() == sqlstatus::kSuccess) {
            for (std::uint16_t column = 1; column <= 4; ++column) {
                cursor->getValue(column, values[column - 1]);
            }
            ++rows;
        }
        cursor->close();
        benchmark::DoNotOptimize(values);
        if (rows != kRows) {
            state.SkipWithError("wrong row count");
        }
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

// The same select read with nothing but the OO API: one message buffer, fetchNext, and the four
// values copied out.
void PlainOOApiFetch(benchmark::State& state) {
    DriverConnection();  // the client library loaded as the driver loads it
    TPlainFirebird firebird(database->Path());
    std::string name;
    std::int32_t id = 0;
    std::int64_t rate = 0;
    ISC_DATE date = 0;
    for (auto _ : state) {
        const int rows = firebird.Fetch(kSelect, [&](const unsigned char* row, const unsigned* offsets) {
            std::memcpy(&id, row + offsets[0], sizeof(id));
            std::uint16_t length = 0;
            std::memcpy(&length, row + offsets[1], sizeof(length));
            name.assign(reinterpret_cast<const char*>(row + offsets[1] + 2), length);
            std::memcpy(&rate, row + offsets[2], sizeof(rate));
            std::memcpy(&date, row + offsets[3], sizeof(date));
        });
        benchmark::DoNotOptimize(id + rate + date);
        if (rows != kRows) {
            state.SkipWithError("wrong row count");
        }
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

BENCHMARK(DriverFetch)->Unit(benchmark::kMillisecond);
BENCHMARK(PlainOOApiFetch)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace contado

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    contado::TBenchDatabase benchDatabase;
    contado::database = &benchDatabase;
    contado::RunWithRatios({
        {"DriverFetch", "PlainOOApiFetch", "driver fetch vs raw OO API loop"},
    });
    benchmark::Shutdown();
    return 0;
}
