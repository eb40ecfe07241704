#include "data/sql/sqlfielddefs.h"

#include <algorithm>
#include <cstdlib>

#include "core/textutil.h"

namespace contado {

namespace {

constexpr int kMaxDecimalPrecision = 32;
constexpr int kWidestServerPrecision = 38;
constexpr int kWidestServerScale = 8;
constexpr int kMaxBCDPrecision = 14;
constexpr int kMaxBCDScale = 4;

TFieldType BlobFieldType(TDriverSubType subType) {
    switch (subType) {
        case TDriverSubType::Memo:
            return ftMemo;
        case TDriverSubType::Graphic:
            return ftGraphic;
        default:
            return ftBlob;
    }
}

}  // namespace

void TSQLFieldDefs::Build(const std::vector<TColumnDescription>& columns, TFieldDefs& defs) {
    defs.Clear();
    for (const TColumnDescription& column : columns) {
        TFieldDef def = FromColumn(column);
        def.SetName(UniqueName(column.Name, defs));
        defs.Add(std::move(def));
    }
}

TFieldDef TSQLFieldDefs::FromColumn(const TColumnDescription& column) {
    TFieldDef def(column.Name, FieldType(column));
    if (def.DataType() == ftString) {
        def.SetSize(column.Length);
        def.SetFixed(column.SubType == TDriverSubType::FixedChar);
    } else if (column.Type == TDriverType::Bcd) {
        SetDecimalSize(column, def);
    }
    def.SetRequired(!column.Nullable);
    def.SetReadOnly(column.ReadOnly);
    return def;
}

TFieldType TSQLFieldDefs::FieldType(const TColumnDescription& column) {
    switch (column.Type) {
        case TDriverType::Text:
            return ftString;
        case TDriverType::Date:
            return ftDate;
        case TDriverType::Int32:
            return column.SubType == TDriverSubType::AutoInc ? ftAutoInc : ftInteger;
        case TDriverType::Int16:
            return ftSmallint;
        case TDriverType::Int64:
            return ftLargeint;
        case TDriverType::Float:
            return column.SubType == TDriverSubType::Money ? ftCurrency : ftFloat;
        case TDriverType::Bcd:
            return ftBCD;  // narrowed by SetDecimalSize
        case TDriverType::Time:
            return ftTime;
        case TDriverType::TimeStamp:
            return ftDateTime;
        case TDriverType::Boolean:
            return ftBoolean;
        case TDriverType::Blob:
            return BlobFieldType(column.SubType);
        case TDriverType::Unknown:
            break;
    }
    return ftUnknown;
}

// ftBCD holds up to 14 digits with up to 4 fraction digits; wider decimals are ftFMTBcd. The
// widest server decimals, which no field can hold whole, are read with 32 digits and 8 decimals.
void TSQLFieldDefs::SetDecimalSize(const TColumnDescription& column, TFieldDef& def) {
    int scale = std::abs(column.Scale);
    int precision = std::min(std::max(column.Precision, scale), kMaxDecimalPrecision);
    if (column.Precision == kWidestServerPrecision && (scale == 0 || scale == kWidestServerPrecision)) {
        precision = kMaxDecimalPrecision;
        scale = kWidestServerScale;
    }
    const bool fitsBCD = column.Precision <= kMaxBCDPrecision && scale <= kMaxBCDScale;
    def.SetDataType(fitsBCD ? ftBCD : ftFMTBcd);
    def.SetSize(scale);
    def.SetPrecision(precision);
}

std::string TSQLFieldDefs::UniqueName(const std::string& name, const TFieldDefs& defs) {
    std::string unique = name;
    for (int suffix = 1; defs.Find(unique) != nullptr; ++suffix) {
        unique = FormatMessage("%s_%d", name, suffix);
    }
    return unique;
}

}  // namespace contado
