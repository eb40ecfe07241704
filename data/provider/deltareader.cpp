#include "data/provider/deltareader.h"

#include "core/textutil.h"

namespace contado {

namespace {

bool AttributeIsTrue(const TPacketAttributes& attributes, const char* name) {
    const auto found = attributes.find(name);
    if (found == attributes.end()) {
        return false;
    }
    if (const auto* flag = std::get_if<bool>(&found->second)) {
        return *flag;
    }
    const auto* number = std::get_if<std::int64_t>(&found->second);
    return number != nullptr && *number != 0;
}

std::string FieldPartOf(const std::string& origin) {
    const size_t dot = origin.rfind('.');
    return dot == std::string::npos ? origin : origin.substr(dot + 1);
}

}  // namespace

int TDeltaField::DataSize() const {
    switch (DataType) {
        case ftString:
        case ftFixedChar:
        case ftWideString:
            return Size + 1;
        case ftSmallint:
        case ftWord:
        case ftBoolean:
            return 2;
        case ftInteger:
        case ftDate:
        case ftTime:
        case ftAutoInc:
            return 4;
        case ftFMTBcd:
        case ftBCD:
            return 34;
        case ftBytes:
        case ftVarBytes:
            return Size;
        default:
            return 8;
    }
}

TDeltaReader::TDeltaReader(const TDataPacket& delta) : delta_(delta) {
    for (const TPacketColumn& column : delta.Columns) {
        fields_.push_back(ReadField(column));
    }
    unassigned_.resize(fields_.size());
}

TDeltaField TDeltaReader::ReadField(const TPacketColumn& column) {
    TDeltaField field;
    field.Name = column.Name;
    field.DataType = column.Type;
    field.Size = column.Size;
    field.Precision = column.Precision;
    field.ReadOnly = column.ReadOnly;
    const auto flags = column.Attributes.find("PROVFLAGS");
    if (flags != column.Attributes.end()) {
        if (const auto* bits = std::get_if<std::int64_t>(&flags->second)) {
            field.ProviderFlags = TProviderFlags();
            for (TProviderFlag flag : {pfInUpdate, pfInWhere, pfInKey, pfHidden}) {
                if ((*bits & (std::int64_t{1} << flag)) != 0) {
                    field.ProviderFlags.Include(flag);
                }
            }
        }
    }
    if (column.Hidden) {
        field.ProviderFlags.Include(pfHidden);
    }
    const auto origin = column.Attributes.find("ORIGIN");
    const auto* originText =
        origin != column.Attributes.end() ? std::get_if<std::string>(&origin->second) : nullptr;
    field.Origin = originText != nullptr && !originText->empty() ? FieldPartOf(*originText) : column.Name;
    field.ServerCalculated = AttributeIsTrue(column.Attributes, "SERVER_CALC");
    const auto subtype = column.Attributes.find("SUBTYPE");
    field.FixedChar =
        subtype != column.Attributes.end() && subtype->second == TVariant(std::string("FixedChar"));
    return field;
}

void TDeltaReader::MarkKeyFields(const std::string& keyFields) {
    if (HasKeyField() || keyFields.empty()) {
        return;
    }
    for (const std::string& key : SplitText(keyFields, ';')) {
        for (TDeltaField& field : fields_) {
            if (SameText(field.Origin, Trim(key))) {
                field.ProviderFlags.Include(pfInKey);
            }
        }
    }
}

bool TDeltaReader::HasKeyField() const {
    for (const TDeltaField& field : fields_) {
        if (field.ProviderFlags.Contains(pfInKey)) {
            return true;
        }
    }
    return false;
}

const std::vector<TVariant>& TDeltaReader::OldValues(int row) const {
    switch (Status(row)) {
        case TUpdateStatus::Modified:
            return row > 0 ? delta_.Rows[row - 1].Values : unassigned_;
        case TUpdateStatus::Inserted:
            return unassigned_;
        default:
            return delta_.Rows[row].Values;
    }
}

const std::vector<TVariant>& TDeltaReader::NewValues(int row) const {
    return Status(row) == TUpdateStatus::Deleted ? unassigned_ : delta_.Rows[row].Values;
}

}  // namespace contado
