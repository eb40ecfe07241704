#pragma once

#include <string>

namespace contado {

// Field types in their traditional numeric order.
enum TFieldType {
    ftUnknown,
    ftString,
    ftSmallint,
    ftInteger,
    ftWord,
    ftBoolean,
    ftFloat,
    ftCurrency,
    ftBCD,
    ftDate,
    ftTime,
    ftDateTime,
    ftBytes,
    ftVarBytes,
    ftAutoInc,
    ftBlob,
    ftMemo,
    ftGraphic,
    ftFmtMemo,
    ftParadoxOle,
    ftDBaseOle,
    ftTypedBinary,
    ftCursor,
    ftFixedChar,
    ftWideString,
    ftLargeint,
    ftADT,
    ftArray,
    ftReference,
    ftDataSet,
    ftOraBlob,
    ftOraClob,
    ftVariant,
    ftInterface,
    ftIDispatch,
    ftGuid,
    ftTimeStamp,
    ftFMTBcd
};

// The type's name as messages write it ("Integer", "FMTBcd", "String", "Date").
std::string FieldTypeName(TFieldType type);
bool IsBlobType(TFieldType type);
bool IsNumericType(TFieldType type);
bool IsTextType(TFieldType type);
bool IsDateTimeType(TFieldType type);

}  // namespace contado
