#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/datetime.h"
#include "core/exceptions.h"
#include "core/formatsettings.h"
#include "core/textutil.h"
#include "data/client/filterparser.h"
#include "platform/dsengine/dsstatus.h"
#include "platform/dsengine/idsbase.h"

namespace contado::filtertest {

// An engine table with the closing-adjustment columns and a few more kinds:
//   AJCI_ID  AJCI_FECINI  AJCI_PORC  AJCI_PREFNO  NAME        STAMP             HOUR   ODD NAME
//   1        09/12/2026   16         'AB'         'Ana'       09/12/2026 10:30  10:30  'x'
//   2        10/12/2026   0.8        null         'O''Neil'   null              null   null
//   3        null         19         'ABCD'       'ana maria' 10/12/2026 00:00  08:00  'y'
//   4        09/12/2026   null       'Z'          null        09/12/2026 00:00  10:30  'x'
struct FilterTable {
    std::unique_ptr<IDSBase> base = CreateDSBase();
    std::unique_ptr<IDSCursor> cursor;
    std::vector<TPacketColumn> columns;
    TFormatSettings savedSettings = FormatSettings();

    FilterTable() {
        FormatSettings().ShortDateFormat = "dd/mm/yyyy";
        FormatSettings().DecimalSeparator = '.';
        columns = {
            TPacketColumn::Make("AJCI_ID", ftInteger),     TPacketColumn::Make("AJCI_FECINI", ftDate),
            TPacketColumn::Make("AJCI_PORC", ftFMTBcd, 4), TPacketColumn::Make("AJCI_PREFNO", ftString, 4),
            TPacketColumn::Make("NAME", ftString, 20),     TPacketColumn::Make("STAMP", ftDateTime),
            TPacketColumn::Make("HOUR", ftTime),           TPacketColumn::Make("ODD NAME", ftString, 5)};
        TDataPacket packet;
        packet.Columns = columns;
        TDateTime day9 = EncodeDate(2026, 12, 9);
        TDateTime day10 = EncodeDate(2026, 12, 10);
        TDateTime half10 = EncodeTime(10, 30, 0, 0);
        packet.Rows = {Row({std::int64_t{1}, day9, Bcd(160000), "AB", "Ana", day9 + half10, half10, "x"}),
                       Row({std::int64_t{2}, day10, Bcd(8000), TNull{}, "O'Neil", TNull{}, TNull{}, TNull{}}),
                       Row({std::int64_t{3}, TNull{}, Bcd(190000), "ABCD", "ana maria", day10,
                            EncodeTime(8, 0, 0, 0), "y"}),
                       Row({std::int64_t{4}, day9, TNull{}, "Z", TNull{}, day9, half10, "x"})};
        EXPECT_EQ(base->AppendData(packet, true), dsstatus::kOk);
        base->CreateCursor(cursor);
    }

    ~FilterTable() { FormatSettings() = savedSettings; }

    static TBcd Bcd(std::int64_t raw) { return TBcd::FromUnscaled(raw, 4); }
    static TPacketRow Row(std::vector<TVariant> values) {
        return TPacketRow{TUpdateStatus::Unmodified, values};
    }

    std::optional<TFilterField> Lookup(const std::string& name) const {
        for (size_t i = 0; i < columns.size(); ++i) {
            if (SameText(columns[i].Name, name)) {
                return TFilterField{columns[i].Type, columns[i].Size, static_cast<int>(i)};
            }
        }
        return std::nullopt;
    }

    TFilterParser Parser(TFilterParseOptions options = {}) const {
        return TFilterParser([this](const std::string& name) { return Lookup(name); }, "CAjuste", options);
    }

    // Ids of the rows the filter lets through.
    std::vector<std::int64_t> Ids(const std::string& text, TFilterParseOptions options = {}) {
        TDSExpression expression = Parser(options).ParseToExpression(text);
        TDSFilterHandle handle = 0;
        EXPECT_EQ(cursor->AddFilter(expression, handle), dsstatus::kOk) << text;
        std::vector<std::int64_t> ids;
        cursor->MoveToBOF();
        TDSRecord record;
        while (cursor->MoveRelative(1) == dsstatus::kOk) {
            cursor->GetCurrentRecord(record);
            ids.push_back(std::get<std::int64_t>(record[0]));
        }
        cursor->DropFilter(handle);
        return ids;
    }

    // The message the text fails with, or "" when it parses.
    std::string Error(const std::string& text, TFilterParseOptions options = {}) const {
        try {
            Parser(options).Parse(text);
        } catch (const EDatabaseError& error) {
            return error.Message();
        }
        return "";
    }
};

}  // namespace contado::filtertest
