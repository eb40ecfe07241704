#pragma once

#include <string>
#include <vector>

#include "core/fieldtype.h"
#include "data/fields/field.h"
#include "platform/dsengine/datapacket.h"

namespace contado {

// One column of a change packet as the resolver sees it.
struct TDeltaField {
    std::string Name;
    // The column's name in the table: the field part of "table.field" origins, else the name.
    std::string Origin;
    TFieldType DataType = ftUnknown;
    int Size = 0;
    int Precision = 0;
    bool ReadOnly = false;
    bool FixedChar = false;
    bool ServerCalculated = false;
    TProviderFlags ProviderFlags{pfInUpdate, pfInWhere};

    // Bytes a value of the column takes.
    int DataSize() const;
};

// Reads a change packet: its columns and, for each change, old and new values.
class TDeltaReader {
  public:
    explicit TDeltaReader(const TDataPacket& delta);

    const TDataPacket& Packet() const { return delta_; }
    // The change being resolved, as update handlers see it.
    int Row() const { return row_; }
    void SetRow(int row) { row_ = row; }
    const std::vector<TDeltaField>& Fields() const { return fields_; }
    int RowCount() const { return static_cast<int>(delta_.Rows.size()); }
    TUpdateStatus Status(int row) const { return delta_.Rows[row].Status; }
    // Marks as keys the fields whose origin is in the list (names separated by semicolons).
    void MarkKeyFields(const std::string& keyFields);
    bool HasKeyField() const;

    // The values before the change, one per field: the before-image of a modification, the row of
    // a deletion, unassigned for an insertion.
    const std::vector<TVariant>& OldValues(int row) const;
    // The values after the change, one per field: unassigned where a modification left a field
    // alone, and for a deletion.
    const std::vector<TVariant>& NewValues(int row) const;

  private:
    static TDeltaField ReadField(const TPacketColumn& column);

    const TDataPacket& delta_;
    std::vector<TDeltaField> fields_;
    std::vector<TVariant> unassigned_;  // one per field
    int row_ = 0;
};

}  // namespace contado
