#include "platform/fbdriver/fbprecisionlookup.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/fbdriver/fbref.h"
#include "platform/fbdriver/fbsession.h"

namespace contado {

namespace {

constexpr const char* kPrecisionQuery =
    "select f.rdb$field_precision from rdb$relation_fields r "
    "join rdb$fields f on f.rdb$field_name = r.rdb$field_source "
    "where r.rdb$relation_name = ? and r.rdb$field_name = ? "
    "union all "
    "select f.rdb$field_precision from rdb$procedure_parameters p "
    "join rdb$fields f on f.rdb$field_name = p.rdb$field_source "
    "where p.rdb$procedure_name = ? and p.rdb$parameter_name = ? and p.rdb$parameter_type = 1 "
    "and p.rdb$package_name is null";

TDriverValue TextValue(const std::string& text) {
    TDriverValue value;
    value.Type = TDriverType::Text;
    value.IsNull = false;
    value.Text = text;
    return value;
}

}  // namespace

int TFbPrecisionLookup::Precision(const std::string& relation, const std::string& field, int fallback) {
    if (relation.empty() || field.empty()) {
        return fallback;
    }
    const std::string key = relation + '.' + field;
    auto found = cache_.find(key);
    if (found == cache_.end()) {
        found = cache_.emplace(key, Query(relation, field, fallback)).first;
    }
    return found->second;
}

void TFbPrecisionLookup::Release() {
    input_.Reset();
    cache_.clear();
    if (statement_ != nullptr) {
        statement_->release();
        statement_ = nullptr;
    }
}

Firebird::IStatement* TFbPrecisionLookup::Statement() {
    if (statement_ == nullptr) {
        statement_ = session_.Attachment()->prepare(session_.Status(), session_.MetadataTransaction(), 0,
                                                    kPrecisionQuery, 3,
                                                    Firebird::IStatement::PREPARE_PREFETCH_METADATA);
    }
    return statement_;
}

int TFbPrecisionLookup::Query(const std::string& relation, const std::string& field, int fallback) {
    Firebird::ThrowStatusWrapper* status = session_.Status();
    Firebird::IStatement* statement = Statement();
    Firebird::ITransaction* transaction = session_.MetadataTransaction();
    values_ = {TextValue(relation), TextValue(field), TextValue(relation), TextValue(field)};
    input_.Build(TFbRef(statement->getInputMetadata(status)).Get(), values_, transaction);
    TFbRef output(statement->getOutputMetadata(status));
    const unsigned offset = output->getOffset(status, 0);
    const unsigned nullOffset = output->getNullOffset(status, 0);
    std::vector<unsigned char> row(output->getMessageLength(status));
    TFbRef resultSet(
        statement->openCursor(status, transaction, input_.Metadata(), input_.Buffer(), output.Get(), 0));
    int precision = fallback;
    if (resultSet->fetchNext(status, row.data()) == Firebird::IStatus::RESULT_OK) {
        std::int16_t isNull = 0;
        std::int16_t value = 0;
        std::memcpy(&isNull, row.data() + nullOffset, sizeof(isNull));
        std::memcpy(&value, row.data() + offset, sizeof(value));
        precision = isNull != 0 || value == 0 ? fallback : value;
    }
    resultSet.End([status](Firebird::IResultSet* ending) { ending->close(status); });
    return precision;
}

}  // namespace contado
