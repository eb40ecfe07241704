#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "data/dataset/params.h"
#include "data/provider/deltareader.h"
#include "data/provider/providertypes.h"

namespace contado {

// A statement for one change: its text (lines ended by CR LF) and positional parameters.
// An empty text means there is nothing to send.
struct TGeneratedStatement {
    std::string SQL;
    TParams Params;
};

// Writes the insert, update and delete statements of changes. Changes of the same shape (kind,
// updated fields, null old values) share one statement, built once: its text and its parameters,
// of which only the values change from one change to the next.
class TUpdateSQLGenerator {
  public:
    // The quoted table name and the quote character of column names.
    void SetTarget(const std::string& quotedTable, const std::string& quote, TUpdateMode mode);

    // "Unable to find record.  No key specified" when no field can identify the row.
    TGeneratedStatement Generate(TUpdateKind kind, const std::vector<TDeltaField>& fields,
                                 const std::vector<TVariant>& oldValues,
                                 const std::vector<TVariant>& newValues);
    // As Generate, answering the statement kept for the change's shape with its parameters set to
    // the change's values; valid until the next call or SetTarget.
    const TGeneratedStatement& Statement(TUpdateKind kind, const std::vector<TDeltaField>& fields,
                                         const std::vector<TVariant>& oldValues,
                                         const std::vector<TVariant>& newValues);

    // A table name quoted for a statement: every dotted part in the quote character, unless the
    // name already starts or ends with a quote.
    static std::string QuoteTableName(const std::string& name, const std::string& quote);

  private:
    enum TRole : char { kLeftOut = '-', kUpdated = 'u', kMatched = '?', kMatchedNull = 'n' };

    // The statement of one shape and, per parameter, the field whose new (updated) or old (matched)
    // value it takes.
    struct TShapeStatement {
        TGeneratedStatement Statement;
        std::vector<int> NewValueFields;
        std::vector<int> OldValueFields;
    };

    static bool IsUpdatable(const TDeltaField& field, const TVariant& newValue);
    bool IsInWhere(const TDeltaField& field, const TVariant& newValue) const;
    void ComputeShape(TUpdateKind kind, const std::vector<TDeltaField>& fields,
                      const std::vector<TVariant>& oldValues, const std::vector<TVariant>& newValues);
    TShapeStatement BuildStatement(const std::vector<TDeltaField>& fields) const;
    static void SetValues(TShapeStatement& shaped, const std::vector<TVariant>& oldValues,
                          const std::vector<TVariant>& newValues);
    std::string BuildText(const std::string& shape, const std::vector<TDeltaField>& fields) const;
    std::string InsertText(const std::string& roles, const std::vector<TDeltaField>& fields) const;
    std::string UpdateText(const std::string& roles, const std::vector<TDeltaField>& fields) const;
    std::string DeleteText(const std::string& roles, const std::vector<TDeltaField>& fields) const;
    std::string WhereText(const std::string& roles, const std::vector<TDeltaField>& fields) const;
    std::string Column(const TDeltaField& field) const { return quote_ + field.Origin + quote_; }
    static TParam ParamOf(const TDeltaField& field);
    static void SetParamValue(TParam& param, const TVariant& value);

    std::string table_;
    std::string quote_;
    TUpdateMode mode_ = upWhereAll;
    std::string shape_;  // of the change at hand, reused from change to change
    std::unordered_map<std::string, TShapeStatement> statements_;
};

}  // namespace contado
