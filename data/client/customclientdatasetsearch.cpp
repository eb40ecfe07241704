#include <charconv>

#include "core/exceptions.h"
#include "core/formatsettings.h"
#include "core/textutil.h"
#include "data/client/customclientdataset.h"
#include "data/fields/field.h"
#include "platform/dsengine/dsstatus.h"

// Filtering and locating rows of a client dataset through filter texts.

namespace contado {

namespace {

// Plain digits, never an exponent, which the filter language cannot read.
std::string FloatText(double value) {
    char text[400];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed).ptr;
    std::string result(text, end);
    for (char& c : result) {
        if (c == '.') {
            c = FormatSettings().DecimalSeparator;
        }
    }
    return result;
}

std::string NumberText(const TVariant& value) {
    if (const auto* number = std::get_if<std::int64_t>(&value)) {
        return std::to_string(*number);
    }
    if (const auto* number = std::get_if<TBcd>(&value)) {
        return number->ToString(FormatSettings().DecimalSeparator);
    }
    if (const auto* number = std::get_if<double>(&value)) {
        return FloatText(*number);
    }
    if (const auto* flag = std::get_if<bool>(&value)) {
        return *flag ? "1" : "0";
    }
    return std::get_if<std::string>(&value) != nullptr ? std::get<std::string>(value) : std::string();
}

// A number for a numeric field: a text value must itself be a number, so that it cannot change
// the meaning of the filter text it goes into.
std::string NumericText(const TField& field, const TVariant& value) {
    const std::string text = NumberText(value);
    TBcd number;
    if (std::holds_alternative<std::string>(value) &&
        !TBcd::TryParse(text, FormatSettings().DecimalSeparator, number)) {
        throw EDatabaseError(
            FormatMessage("'%s' is not a valid value for field '%s'", text, field.DisplayName()));
    }
    return text;
}

std::string DateTimeText(TFieldType type, const TVariant& value) {
    const auto* moment = std::get_if<double>(&value);
    if (moment == nullptr) {
        return NumberText(value);
    }
    // Times to the ten-thousandth of a second, so a stored fraction is found again.
    switch (type) {
        case ftDate:
            return DateToStr(*moment);
        case ftTime:
            return ExactTimeText(*moment);
        default:
            return DateToStr(*moment) + " " + ExactTimeText(*moment);
    }
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Filter

TFilterParseOptions TCustomClientDataSet::ParseOptions() const {
    return TFilterParseOptions{filterOptions_.Contains(foCaseInsensitive),
                               filterOptions_.Contains(foNoPartialCompare)};
}

TFilterParser TCustomClientDataSet::Parser(TFilterParseOptions options) const {
    auto lookup = [this](const std::string& name) -> std::optional<TFilterField> {
        int index = FieldDefs().IndexOf(name);
        if (index < 0) {
            return std::nullopt;
        }
        const TFieldDef& def = FieldDefs()[index];
        return TFilterField{def.DataType(), def.Size(), index};
    };
    return TFilterParser(lookup, Name(), options);
}

void TCustomClientDataSet::ActivateFilter(const std::string& text, TFilterParseOptions options) {
    TDSExpression expression = Parser(options).ParseToExpression(text);
    FetchAll();
    DropFilter();
    Check(cursor_->AddFilter(expression, filterHandle_));
}

void TCustomClientDataSet::DropFilter() {
    if (filterHandle_ != 0) {
        TDSFilterHandle handle = filterHandle_;
        filterHandle_ = 0;
        Check(cursor_->DropFilter(handle));
    }
}

void TCustomClientDataSet::ApplyFilterChange(const std::string& filter, bool filtered,
                                             TFilterOptions options) {
    if (!Active()) {
        filter_ = filter;
        filtered_ = filtered;
        filterOptions_ = options;
        return;
    }
    CheckBrowseMode();
    TFilterParseOptions parseOptions{options.Contains(foCaseInsensitive),
                                     options.Contains(foNoPartialCompare)};
    if (filtered && !filter.empty()) {
        ActivateFilter(filter, parseOptions);
    } else {
        DropFilter();
    }
    filter_ = filter;
    filtered_ = filtered;
    filterOptions_ = options;
    First();
}

void TCustomClientDataSet::SetFilter(const std::string& filter) {
    if (filter == filter_) {
        return;
    }
    if (filtered_) {
        ApplyFilterChange(filter, filtered_, filterOptions_);
    } else {
        filter_ = filter;
    }
}

void TCustomClientDataSet::SetFiltered(bool filtered) {
    if (filtered != filtered_) {
        ApplyFilterChange(filter_, filtered, filterOptions_);
    }
}

void TCustomClientDataSet::SetFilterOptions(TFilterOptions options) {
    if (options == filterOptions_) {
        return;
    }
    if (filtered_) {
        ApplyFilterChange(filter_, filtered_, options);
    } else {
        filterOptions_ = options;
    }
}

// ---------------------------------------------------------------------------------------------
// Locate

std::string TCustomClientDataSet::LocateCondition(const TField& field, const TVariant& value,
                                                  bool partialKey) const {
    const std::string& name = field.FieldName();
    if (VarIsEmptyOrNull(value)) {
        return FormatMessage("[%s] IS NULL", name);
    }
    TFieldType type = field.DataType();
    std::string text;
    if (IsTextType(type)) {
        text = NumberText(value) + (partialKey ? "*" : "");
        text = QuotedStr(text);
    } else if (IsNumericType(type)) {
        text = NumericText(field, value);
    } else if (IsDateTimeType(type)) {
        text = QuotedStr(DateTimeText(type, value));
    } else {
        throw EDatabaseError(FormatMessage("Field '%s' is of an unsupported type", name));
    }
    return FormatMessage("[%s]=%s", name, text);
}

std::string TCustomClientDataSet::LocateFilterText(const std::vector<std::string>& names,
                                                   const std::vector<TVariant>& values,
                                                   bool partialKey) const {
    std::string text;
    for (size_t i = 0; i < names.size(); ++i) {
        const TVariant& value = i < values.size() ? values[i] : TVariant(TNull{});
        bool last = i + 1 == names.size();
        text += (i == 0 ? "" : " and ") + LocateCondition(FieldByName(names[i]), value, partialKey && last);
    }
    return text;
}

bool TCustomClientDataSet::Locate(const std::string& keyFields, const std::vector<TVariant>& keyValues,
                                  TLocateOptions options) {
    CheckBrowseMode();
    FetchAll();
    std::vector<std::string> names;
    for (const std::string& name : SplitText(keyFields, ';')) {
        names.push_back(Trim(name));
    }
    bool partialKey = options.Contains(loPartialKey);
    std::string text = LocateFilterText(names, keyValues, partialKey);
    // A value longer than its field stays whole, so it never finds a stored value that is shorter.
    TFilterParseOptions parseOptions{options.Contains(loCaseInsensitive), !partialKey, true};
    TDSExpression expression = Parser(parseOptions).ParseToExpression(text);
    if (BeforeScroll) {
        BeforeScroll(this);
    }
    int status = cursor_->LocateWithFilter(expression);
    CursorPosChanged();
    if (status == dsstatus::kRecordNotFound) {
        return false;
    }
    Check(status);
    Resync(rmCenter);
    if (AfterScroll) {
        AfterScroll(this);
    }
    return true;
}

}  // namespace contado
