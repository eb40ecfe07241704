#pragma once

// The planned adjustments read as a plain program would hold them: the limit the client table's
// benchmarks measure the whole stack against.

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "bench/plainfirebird.h"
#include "data/sql/sqlconnection.h"

namespace contado {

struct TPlainAdjustment {
    std::int32_t id;
    ISC_DATE first;
    ISC_DATE last;
    std::int64_t rate;
    std::int64_t factor;
    std::string prefix;
};

// count planned adjustments spread over 1,000 start days.
inline void FillPlannedAdjustments(TSQLConnection* connection, int count) {
    connection->Execute("execute block as declare i integer = 1; begin while (i <= " + std::to_string(count) +
                        ") do begin insert into AJUSTE_CIERRE_AUTO values (:i, dateadd(mod(:i, 1000) day to "
                        "date '2024-01-01'), '2027-12-31', 19, 0.8, null); i = i + 1; end end");
}

template <typename T>
T ReadPlainValue(const unsigned char* row, unsigned offset) {
    T value;
    std::memcpy(&value, row + offset, sizeof value);
    return value;
}

// Every row of AJUSTE_CIERRE_AUTO fetched with the OO API into a vector of structs.
inline std::vector<TPlainAdjustment> PlainFetchAdjustments(TPlainFirebird& firebird) {
    std::vector<TPlainAdjustment> rows;
    firebird.Fetch(
        "select AJCI_ID, AJCI_FECINI, AJCI_FECFIN, AJCI_PORC, AJCI_FACTOR, AJCI_PREFNO from "
        "AJUSTE_CIERRE_AUTO",
        [&rows](const unsigned char* row, const unsigned* offsets) {
            const auto length = ReadPlainValue<std::uint16_t>(row, offsets[5]);
            rows.push_back(
                {ReadPlainValue<std::int32_t>(row, offsets[0]), ReadPlainValue<ISC_DATE>(row, offsets[1]),
                 ReadPlainValue<ISC_DATE>(row, offsets[2]), ReadPlainValue<std::int64_t>(row, offsets[3]),
                 ReadPlainValue<std::int64_t>(row, offsets[4]),
                 std::string(reinterpret_cast<const char*>(row + offsets[5] + 2), length)});
        });
    return rows;
}

}  // namespace contado
