#include "data/sql/driverparameter.h"

#include <cmath>

#include "core/datetime.h"
#include "core/exceptions.h"
#include "core/textutil.h"
#include "data/sql/sqlerror.h"

namespace contado {

namespace {

constexpr int kDefaultDecimalScale = 4;

double NumberOf(const TVariant& value) {
    if (const auto* number = std::get_if<double>(&value)) {
        return *number;
    }
    if (const auto* integer = std::get_if<std::int64_t>(&value)) {
        return static_cast<double>(*integer);
    }
    if (const auto* decimal = std::get_if<TBcd>(&value)) {
        return decimal->ToDouble();
    }
    if (const auto* flag = std::get_if<bool>(&value)) {
        return *flag ? 1 : 0;
    }
    throw EConvertError("Could not convert variant to a number");
}

std::int64_t IntegerOf(const TVariant& value) {
    if (const auto* integer = std::get_if<std::int64_t>(&value)) {
        return *integer;
    }
    return static_cast<std::int64_t>(std::llround(NumberOf(value)));
}

std::string TextOf(const TVariant& value) {
    if (const auto* text = std::get_if<std::string>(&value)) {
        return *text;
    }
    if (const auto* integer = std::get_if<std::int64_t>(&value)) {
        return ToText(*integer);
    }
    if (const auto* decimal = std::get_if<TBcd>(&value)) {
        return decimal->ToString('.');
    }
    return std::to_string(NumberOf(value));
}

TBcd DecimalOf(const TVariant& value) {
    if (const auto* decimal = std::get_if<TBcd>(&value)) {
        return *decimal;
    }
    if (const auto* integer = std::get_if<std::int64_t>(&value)) {
        return TBcd::FromInt64(*integer);
    }
    return TBcd::FromDouble(NumberOf(value), kDefaultDecimalScale);
}

}  // namespace

TDriverType TDriverParameter::DriverType(TFieldType type) {
    switch (type) {
        case ftString:
        case ftFixedChar:
        case ftWideString:
        case ftGuid:
            return TDriverType::Text;
        case ftSmallint:
            return TDriverType::Int16;
        case ftInteger:
        case ftWord:
        case ftAutoInc:
            return TDriverType::Int32;
        case ftLargeint:
            return TDriverType::Int64;
        case ftBoolean:
            return TDriverType::Boolean;
        case ftFloat:
        case ftCurrency:
            return TDriverType::Float;
        case ftBCD:
        case ftFMTBcd:
            return TDriverType::Bcd;
        case ftDate:
            return TDriverType::Date;
        case ftTime:
            return TDriverType::Time;
        case ftDateTime:
        case ftTimeStamp:
            return TDriverType::TimeStamp;
        case ftBlob:
        case ftMemo:
        case ftGraphic:
        case ftFmtMemo:
        case ftTypedBinary:
        case ftBytes:
        case ftVarBytes:
            return TDriverType::Blob;
        default:
            return TDriverType::Unknown;
    }
}

TDriverValue TDriverParameter::FromParam(const TParam& param) {
    TDriverValue value;
    value.Type = DriverType(param.DataType());
    if (value.Type == TDriverType::Unknown) {
        throw EDatabaseError(FormatMessage("No value for parameter '%s'", param.Name()));
    }
    value.IsNull = param.IsNull();
    if (!value.IsNull) {
        StoreValue(param.Value(), value);
    }
    return value;
}

void TDriverParameter::StoreValue(const TVariant& value, TDriverValue& driverValue) {
    switch (driverValue.Type) {
        case TDriverType::Text:
        case TDriverType::Blob:
            driverValue.Text = TextOf(value);
            break;
        case TDriverType::Int16:
        case TDriverType::Int32:
        case TDriverType::Int64:
        case TDriverType::Boolean:
            driverValue.Integer = IntegerOf(value);
            break;
        case TDriverType::Float:
            driverValue.Real = NumberOf(value);
            break;
        case TDriverType::Bcd:
            driverValue.Decimal = DecimalOf(value);
            break;
        case TDriverType::Date:
            driverValue.Integer = DateToDayNumber(NumberOf(value));
            break;
        case TDriverType::Time:
            driverValue.Integer = TimeUnitsOfDay(NumberOf(value));
            break;
        case TDriverType::TimeStamp: {
            std::int32_t dayNumber = 0;
            std::int64_t timeUnits = 0;
            SplitDateTime(NumberOf(value), dayNumber, timeUnits);
            driverValue.Integer = dayNumber;
            driverValue.TimeOfDay = static_cast<std::int32_t>(timeUnits);
            break;
        }
        case TDriverType::Unknown:
            break;
    }
}

void TDriverParameter::BindAll(ISQLCommand& command, const TParams& params, std::string& lastErrorText) {
    for (int index = 0; index < params.Count(); ++index) {
        const TDriverValue value = FromParam(params[index]);
        TSQLError::Check(command.setParameter(static_cast<std::uint16_t>(index + 1), value), &command,
                         lastErrorText);
    }
}

}  // namespace contado
