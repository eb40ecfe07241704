#pragma once

#include <map>
#include <string>
#include <vector>

#include "core/fieldtype.h"
#include "core/variant.h"

namespace contado {

// Data, change ("delta") and error packets exchanged between a provider and the
// client dataset engine, as plain C++ objects.

using TPacketAttributes = std::map<std::string, TVariant>;

struct TPacketColumn {
    std::string Name;
    TFieldType Type = ftUnknown;
    int Size = 0;       // characters of a text column; scale of a decimal column
    int Precision = 0;  // digits of a decimal column
    bool ReadOnly = false;
    bool Required = false;
    bool Hidden = false;
    // "PROVFLAGS", "ORIGIN", "SERVER_CALC", "WIDTH", "DECIMALS", "SUBTYPE".
    TPacketAttributes Attributes;

    static TPacketColumn Make(std::string name, TFieldType type, int size = 0, int precision = 0) {
        TPacketColumn column;
        column.Name = std::move(name);
        column.Type = type;
        column.Size = size;
        column.Precision = precision;
        return column;
    }
};

// Update status of a change packet row. A modification is two rows: the unmodified
// before-image, directly followed by the modified image.
enum class TUpdateStatus { Unmodified, Modified, Inserted, Deleted };

struct TPacketRow {
    TUpdateStatus Status = TUpdateStatus::Unmodified;
    // One value per column. In a modified image an unchanged field is unassigned
    // (std::monostate); a field set to null is TNull.
    std::vector<TVariant> Values;
};

struct TDataPacket {
    // Empty in packets that only append rows to a table described before.
    std::vector<TPacketColumn> Columns;
    // Dataset-level: "READONLY", "DISABLE_EDITS", "DISABLE_INSERTS", "DISABLE_DELETES",
    // "NO_RESET_CALL", "MD_SEMANTICS", "PRIMARY_KEY", "UNIQUE_KEY", "DEFAULT_ORDER", "LCID",
    // "TABLE_NAME".
    TPacketAttributes Attributes;
    std::vector<TPacketRow> Rows;

    int ColumnIndex(const std::string& name) const {
        for (size_t i = 0; i < Columns.size(); ++i) {
            if (Columns[i].Name == name) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }
};

// The six columns an error packet puts before the change packet's own columns.
namespace errorcolumn {
constexpr int kRecordNo = 0;   // "ERROR_RECORDNO": the change's row number in the delta, from 1
constexpr int kResponse = 1;   // "ERROR_RESPONSE": the provider's response plus one
constexpr int kMessage = 2;    // "ERROR_MESSAGE"
constexpr int kContext = 3;    // "ERROR_CONTEXT"
constexpr int kCategory = 4;   // "ERROR_CATEGORY": always 1
constexpr int kErrorCode = 5;  // "ERROR_CODE"
constexpr int kCount = 6;
}  // namespace errorcolumn

// An empty error packet for a change packet: the six error columns, then the change packet's own.
inline TDataPacket MakeErrorPacket(const TDataPacket& delta) {
    TDataPacket errors;
    errors.Columns = {TPacketColumn::Make("ERROR_RECORDNO", ftInteger),
                      TPacketColumn::Make("ERROR_RESPONSE", ftInteger),
                      TPacketColumn::Make("ERROR_MESSAGE", ftString, 255),
                      TPacketColumn::Make("ERROR_CONTEXT", ftString, 255),
                      TPacketColumn::Make("ERROR_CATEGORY", ftInteger),
                      TPacketColumn::Make("ERROR_CODE", ftInteger)};
    errors.Columns.insert(errors.Columns.end(), delta.Columns.begin(), delta.Columns.end());
    errors.Attributes = delta.Attributes;
    return errors;
}

}  // namespace contado
