#include "data/provider/updatesqlgenerator.h"

#include "core/exceptions.h"
#include "core/textutil.h"

namespace contado {

namespace {

constexpr const char* kLineEnd = "\r\n";

bool IsStructuredType(TFieldType type) {
    return type == ftUnknown || type == ftCursor || type == ftADT || type == ftArray || type == ftReference ||
           type == ftDataSet;
}

bool StartsOrEndsWithQuote(const std::string& name) {
    const std::string quotes = "\"'`";
    return !name.empty() &&
           (quotes.find(name.front()) != std::string::npos || quotes.find(name.back()) != std::string::npos);
}

std::string Line(const std::string& text) {
    return text + kLineEnd;
}

}  // namespace

void TUpdateSQLGenerator::SetTarget(const std::string& quotedTable, const std::string& quote,
                                    TUpdateMode mode) {
    if (quotedTable != table_ || quote != quote_ || mode != mode_) {
        statements_.clear();
    }
    table_ = quotedTable;
    quote_ = quote;
    mode_ = mode;
}

std::string TUpdateSQLGenerator::QuoteTableName(const std::string& name, const std::string& quote) {
    if (quote.empty() || StartsOrEndsWithQuote(name)) {
        return name;
    }
    std::string quoted;
    for (const std::string& part : SplitText(name, '.')) {
        quoted += (quoted.empty() ? "" : ".") + quote + part + quote;
    }
    return quoted;
}

bool TUpdateSQLGenerator::IsUpdatable(const TDeltaField& field, const TVariant& newValue) {
    return field.ProviderFlags.Contains(pfInUpdate) && !IsStructuredType(field.DataType) &&
           field.DataType != ftAutoInc && !field.ReadOnly && !field.ProviderFlags.Contains(pfHidden) &&
           !field.ServerCalculated && !VarIsUnassigned(newValue);
}

bool TUpdateSQLGenerator::IsInWhere(const TDeltaField& field, const TVariant& newValue) const {
    if (IsStructuredType(field.DataType) || IsBlobType(field.DataType) || field.ServerCalculated ||
        field.DataSize() >= 8192) {
        return false;
    }
    switch (mode_) {
        case upWhereAll:
            return field.ProviderFlags.Contains(pfInWhere);
        case upWhereChanged:
            return (field.ProviderFlags.Contains(pfInWhere) && !VarIsUnassigned(newValue)) ||
                   field.ProviderFlags.Contains(pfInKey);
        case upWhereKeyOnly:
            return field.ProviderFlags.Contains(pfInKey);
    }
    return false;
}

// The kind, then two roles per field: its part in the column list and in the where clause.
void TUpdateSQLGenerator::ComputeShape(TUpdateKind kind, const std::vector<TDeltaField>& fields,
                                       const std::vector<TVariant>& oldValues,
                                       const std::vector<TVariant>& newValues) {
    shape_.assign(1, static_cast<char>('0' + kind));
    for (size_t i = 0; i < fields.size(); ++i) {
        const bool updated = kind != ukDelete && IsUpdatable(fields[i], newValues[i]);
        shape_ += updated ? kUpdated : kLeftOut;
        if (kind == ukInsert || !IsInWhere(fields[i], newValues[i])) {
            shape_ += kLeftOut;
        } else {
            shape_ += VarIsEmptyOrNull(oldValues[i]) ? kMatchedNull : kMatched;
        }
    }
}

TGeneratedStatement TUpdateSQLGenerator::Generate(TUpdateKind kind, const std::vector<TDeltaField>& fields,
                                                  const std::vector<TVariant>& oldValues,
                                                  const std::vector<TVariant>& newValues) {
    return Statement(kind, fields, oldValues, newValues);
}

const TGeneratedStatement& TUpdateSQLGenerator::Statement(TUpdateKind kind,
                                                          const std::vector<TDeltaField>& fields,
                                                          const std::vector<TVariant>& oldValues,
                                                          const std::vector<TVariant>& newValues) {
    ComputeShape(kind, fields, oldValues, newValues);
    auto cached = statements_.find(shape_);
    if (cached == statements_.end()) {
        cached = statements_.emplace(shape_, BuildStatement(fields)).first;
    }
    SetValues(cached->second, oldValues, newValues);
    return cached->second.Statement;
}

// The text of the current shape and its parameters in order: the updated fields' new values, then
// the matched fields' old values.
TUpdateSQLGenerator::TShapeStatement TUpdateSQLGenerator::BuildStatement(
    const std::vector<TDeltaField>& fields) const {
    TShapeStatement shaped;
    shaped.Statement.SQL = BuildText(shape_, fields);
    if (shaped.Statement.SQL.empty()) {
        return shaped;
    }
    for (size_t i = 0; i < fields.size(); ++i) {
        if (shape_[1 + 2 * i] == kUpdated) {
            shaped.Statement.Params.Add(ParamOf(fields[i]));
            shaped.NewValueFields.push_back(static_cast<int>(i));
        }
    }
    for (size_t i = 0; i < fields.size(); ++i) {
        if (shape_[2 + 2 * i] == kMatched) {
            shaped.Statement.Params.Add(ParamOf(fields[i]));
            shaped.OldValueFields.push_back(static_cast<int>(i));
        }
    }
    return shaped;
}

void TUpdateSQLGenerator::SetValues(TShapeStatement& shaped, const std::vector<TVariant>& oldValues,
                                    const std::vector<TVariant>& newValues) {
    int param = 0;
    for (const int field : shaped.NewValueFields) {
        SetParamValue(shaped.Statement.Params[param++], newValues[field]);
    }
    for (const int field : shaped.OldValueFields) {
        SetParamValue(shaped.Statement.Params[param++], oldValues[field]);
    }
}

std::string TUpdateSQLGenerator::BuildText(const std::string& shape,
                                           const std::vector<TDeltaField>& fields) const {
    const std::string roles = shape.substr(1);
    switch (static_cast<TUpdateKind>(shape[0] - '0')) {
        case ukInsert:
            return InsertText(roles, fields);
        case ukModify:
            return UpdateText(roles, fields);
        case ukDelete:
            return DeleteText(roles, fields);
    }
    return {};
}

std::string TUpdateSQLGenerator::InsertText(const std::string& roles,
                                            const std::vector<TDeltaField>& fields) const {
    std::string columns;
    std::string markers;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (roles[2 * i] == kUpdated) {
            columns += (columns.empty() ? "" : ", ") + Column(fields[i]);
            markers += markers.empty() ? "?" : ", ?";
        }
    }
    return Line("insert into " + table_) + Line("  (" + columns + ")") + Line("values") +
           Line("  (" + markers + ")");
}

std::string TUpdateSQLGenerator::UpdateText(const std::string& roles,
                                            const std::vector<TDeltaField>& fields) const {
    std::vector<std::string> assignments;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (roles[2 * i] == kUpdated) {
            assignments.push_back(" " + Column(fields[i]) + " = ?,");
        }
    }
    if (assignments.empty()) {
        return {};
    }
    assignments.back().pop_back();
    std::string text = Line("update " + table_ + "  set");
    for (const std::string& assignment : assignments) {
        text += Line(assignment);
    }
    return text + WhereText(roles, fields);
}

std::string TUpdateSQLGenerator::DeleteText(const std::string& roles,
                                            const std::vector<TDeltaField>& fields) const {
    return Line("delete from " + table_ + " ") + WhereText(roles, fields);
}

std::string TUpdateSQLGenerator::WhereText(const std::string& roles,
                                           const std::vector<TDeltaField>& fields) const {
    std::vector<std::string> conditions;
    for (size_t i = 0; i < fields.size(); ++i) {
        const char role = roles[2 * i + 1];
        if (role != kLeftOut) {
            conditions.push_back(" " + Column(fields[i]) +
                                 (role == kMatchedNull ? " is null and" : " = ? and"));
        }
    }
    if (conditions.empty()) {
        throw EDatabaseError("Unable to find record.  No key specified");
    }
    conditions.back().resize(conditions.back().size() - 4);
    std::string text = Line("where");
    for (const std::string& condition : conditions) {
        text += Line(condition);
    }
    return text;
}

TParam TUpdateSQLGenerator::ParamOf(const TDeltaField& field) {
    const bool fixed = field.DataType == ftString && field.FixedChar;
    TParam param(field.Origin, fixed ? ftFixedChar : field.DataType, TNull{});
    param.SetSize(field.DataSize());
    if (field.DataType == ftBCD || field.DataType == ftFMTBcd) {
        param.SetPrecision(field.Precision);
        param.SetNumericScale(field.Size);
    }
    return param;
}

void TUpdateSQLGenerator::SetParamValue(TParam& param, const TVariant& value) {
    if (VarIsEmptyOrNull(value)) {
        param.Clear();
    } else {
        param.SetValue(value);
    }
}

}  // namespace contado
