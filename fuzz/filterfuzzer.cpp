// The client table's filter language and Locate over arbitrary texts. The input is a first byte of
// options, a filter text, a zero byte and a value to locate. The table holds the closing-adjustment
// columns and a few more kinds. Filtering and locating may refuse a text only with the data
// components' own errors; a located row must satisfy the key.
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "core/datetime.h"
#include "core/exceptions.h"
#include "core/formatsettings.h"
#include "data/client/customclientdataset.h"
#include "data/fields/field.h"

namespace contado {
namespace {

// A client table whose only packet is built here, so no database is needed.
class TFuzzTable : public TCustomClientDataSet {
  protected:
    TDataPacket FirstPacket(bool& allRowsArrived, const TPacketPartSink&) override {
        allRowsArrived = true;
        TDataPacket packet;
        packet.Columns = {TPacketColumn::Make("AJCI_ID", ftInteger),
                          TPacketColumn::Make("AJCI_FECINI", ftDate),
                          TPacketColumn::Make("AJCI_PORC", ftFMTBcd, 4, 15),
                          TPacketColumn::Make("AJCI_PREFNO", ftString, 4),
                          TPacketColumn::Make("NAME", ftString, 20),
                          TPacketColumn::Make("STAMP", ftDateTime),
                          TPacketColumn::Make("HOUR", ftTime),
                          TPacketColumn::Make("ODD NAME", ftString, 5)};
        const TDateTime day9 = EncodeDate(2026, 12, 9);
        const TDateTime half10 = EncodeTime(10, 30, 0, 0);
        const auto row = [](std::vector<TVariant> values) {
            return TPacketRow{TUpdateStatus::Unmodified, std::move(values)};
        };
        packet.Rows = {row({std::int64_t{1}, day9, TBcd::FromUnscaled(160000, 4), "AB", "Ana", day9 + half10,
                            half10, "x"}),
                       row({std::int64_t{2}, day9 + 1, TBcd::FromUnscaled(8000, 4), TNull{}, "O'Neil",
                            TNull{}, TNull{}, TNull{}}),
                       row({std::int64_t{3}, TNull{}, TBcd::FromUnscaled(190000, 4), "ÑÑA", "ana maria",
                            day9 + 1, EncodeTime(8, 0, 0, 0), "y"})};
        return packet;
    }
    int FetchMore(bool) override { return 0; }
};

// Locates; an exact match on a text field must land on a row holding exactly that text.
void Locate(TFuzzTable& table, const std::string& fields, const std::vector<TVariant>& values,
            TLocateOptions options) {
    try {
        const bool found = table.Locate(fields, values, options);
        const auto* text = std::get_if<std::string>(&values.front());
        if (found && options == TLocateOptions{} && (fields == "NAME" || fields == "AJCI_PREFNO") &&
            text != nullptr && table.FieldByName(fields).AsString() != *text) {
            std::abort();
        }
    } catch (const Exception&) {
        // A value that cannot be compared with the field is refused with a message.
    }
}

}  // namespace
}  // namespace contado

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace contado;
    if (size == 0) {
        return 0;
    }
    FormatSettings().ShortDateFormat = "dd/mm/yyyy";
    FormatSettings().DecimalSeparator = (data[0] & 8) != 0 ? ',' : '.';
    const std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t split = rest.find('\0');
    const std::string filter = rest.substr(0, split);
    const std::string value = split == std::string::npos ? std::string() : rest.substr(split + 1);

    TFuzzTable table;
    TFilterOptions filterOptions;
    if ((data[0] & 1) != 0) {
        filterOptions.Include(foCaseInsensitive);
    }
    if ((data[0] & 2) != 0) {
        filterOptions.Include(foNoPartialCompare);
    }
    TLocateOptions locateOptions;
    if ((data[0] & 4) != 0) {
        locateOptions.Include(loCaseInsensitive);
    }
    if ((data[0] & 16) != 0) {
        locateOptions.Include(loPartialKey);
    }
    try {
        table.Open();
        table.SetFilterOptions(filterOptions);
        table.SetFilter(filter);
        table.SetFiltered(true);
        if (table.RecordCount() < 0 || table.RecordCount() > 3) {
            std::abort();
        }
    } catch (const Exception&) {
        // A filter text the language does not read is refused with a message; the table stays usable.
    }
    try {
        table.SetFiltered(false);
    } catch (const Exception&) {
        std::abort();
    }
    for (const char* fields :
         {"NAME", "AJCI_PREFNO", "AJCI_PORC", "AJCI_ID", "AJCI_FECINI", "STAMP", "HOUR"}) {
        Locate(table, fields, {value}, locateOptions);
    }
    TDateTime moment = 0;
    if (TryStrToDate(value, moment)) {
        Locate(table, "AJCI_FECINI;NAME", {moment, value}, locateOptions);
    }
    return 0;
}
