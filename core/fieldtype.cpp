#include "core/fieldtype.h"

#include <array>

namespace contado {

std::string FieldTypeName(TFieldType type) {
    static const std::array<const char*, ftFMTBcd + 1> names = {
        "Unknown",     "String",    "SmallInt",  "Integer",    "Word",     "Boolean",    "Float",
        "Currency",    "BCD",       "Date",      "Time",       "DateTime", "Bytes",      "VarBytes",
        "AutoInc",     "Blob",      "Memo",      "Graphic",    "FmtMemo",  "ParadoxOle", "dBaseOle",
        "TypedBinary", "Cursor",    "FixedChar", "WideString", "LargeInt", "ADT",        "Array",
        "Reference",   "DataSet",   "OraBlob",   "OraClob",    "Variant",  "Interface",  "IDispatch",
        "Guid",        "TimeStamp", "FMTBcd"};
    return type >= ftUnknown && type <= ftFMTBcd ? names[type] : "Unknown";
}

bool IsBlobType(TFieldType type) {
    return (type >= ftBlob && type <= ftTypedBinary) || type == ftOraBlob || type == ftOraClob;
}

bool IsNumericType(TFieldType type) {
    switch (type) {
        case ftSmallint:
        case ftInteger:
        case ftWord:
        case ftFloat:
        case ftCurrency:
        case ftBCD:
        case ftAutoInc:
        case ftLargeint:
        case ftFMTBcd:
            return true;
        default:
            return false;
    }
}

bool IsTextType(TFieldType type) {
    return type == ftString || type == ftFixedChar || type == ftWideString;
}

bool IsDateTimeType(TFieldType type) {
    return type == ftDate || type == ftTime || type == ftDateTime || type == ftTimeStamp;
}

}  // namespace contado
