#include "data/provider/sqlresolver.h"

#include <climits>

#include "core/textutil.h"
#include "data/dataset/providersupport.h"
#include "data/provider/datasetprovider.h"

namespace contado {

std::optional<TDataPacket> TSQLResolver::ApplyUpdates(const TDataPacket& delta, int maxErrors,
                                                      int& errorCount) {
    BeginApply(delta, maxErrors);
    try {
        WalkChanges();
    } catch (...) {
        if (ownTransaction_) {
            ownTransaction_ = false;
            source_->PSEndTransaction(false);
        }
        throw;
    }
    EndApply(maxErrors);
    errorCount = errorCount_;
    return std::move(errors_);
}

void TSQLResolver::BeginApply(const TDataPacket& delta, int maxErrors) {
    source_ = &provider_.Source();
    errors_.reset();
    errorCount_ = 0;
    limit_ = maxErrors == -1 ? INT_MAX : maxErrors;
    ownTransaction_ = false;
    if (!source_->PSInTransaction()) {
        source_->PSStartTransaction();
        ownTransaction_ = true;
    }
    delta_ = std::make_unique<TDeltaReader>(delta);
}

void TSQLResolver::EndApply(int maxErrors) {
    if (ownTransaction_) {
        ownTransaction_ = false;
        source_->PSEndTransaction(maxErrors == -1 || errorCount_ <= maxErrors);
    }
}

void TSQLResolver::WalkChanges() {
    delta_->MarkKeyFields(source_->PSGetKeyFields());
    const std::string table = TargetTable();
    generator_.SetTarget(TUpdateSQLGenerator::QuoteTableName(table, source_->PSGetQuoteChar()),
                         source_->PSGetQuoteChar(), provider_.UpdateMode());
    for (int row = 0; row < delta_->RowCount(); ++row) {
        bool withinLimit = true;
        switch (delta_->Status(row)) {
            case TUpdateStatus::Inserted:
                withinLimit = ResolveChange(row, ukInsert);
                break;
            case TUpdateStatus::Modified:
                withinLimit = ResolveChange(row, ukModify);
                break;
            case TUpdateStatus::Deleted:
                withinLimit = ResolveChange(row, ukDelete);
                break;
            case TUpdateStatus::Unmodified:
                break;  // the before-image of the next row
        }
        if (!withinLimit) {
            return;
        }
    }
}

std::string TSQLResolver::TargetTable() const {
    const auto attribute = delta_->Packet().Attributes.find("TABLE_NAME");
    const auto* given = attribute != delta_->Packet().Attributes.end()
                            ? std::get_if<std::string>(&attribute->second)
                            : nullptr;
    std::string table = given != nullptr && !given->empty() ? *given : source_->PSGetTableName();
    if (provider_.OnGetTableName) {
        provider_.OnGetTableName(&provider_, table);
    }
    if (table.empty()) {
        throw EDatabaseError("Unable to resolve records.  Table name not found.");
    }
    return table;
}

// Resolves one change, again after rrMerge or rrApply; answers whether the error count is still
// within the limit.
bool TSQLResolver::ResolveChange(int row, TUpdateKind kind) {
    const std::vector<TVariant>& oldValues = delta_->OldValues(row);
    const std::vector<TVariant>& newValues = delta_->NewValues(row);
    std::shared_ptr<EUpdateError> previous;
    bool invalidResponse = false;
    while (true) {
        delta_->SetRow(row);
        std::optional<EUpdateError> failure;
        try {
            ApplyChange(kind, oldValues, newValues, invalidResponse);
            return true;
        } catch (const Exception& error) {
            failure = source_->PSGetUpdateException(&error, previous.get());
        } catch (const std::exception&) {
            failure = source_->PSGetUpdateException(nullptr, previous.get());
        }
        TResolverResponse response = errorCount_ >= limit_ ? rrAbort : rrSkip;
        if (HandleFailure(row, kind, *failure, response)) {
            return errorCount_ <= limit_;
        }
        // rrMerge and rrApply: the same change again; no current values are read without key fields.
        invalidResponse = kind == ukInsert;
        previous = std::make_shared<EUpdateError>(*failure);
    }
}

void TSQLResolver::ApplyChange(TUpdateKind kind, const std::vector<TVariant>& oldValues,
                               const std::vector<TVariant>& newValues, bool invalidResponse) {
    if (invalidResponse) {
        throw EDatabaseError("Invalid response");
    }
    bool applied = false;
    if (provider_.BeforeUpdateRecord) {
        provider_.BeforeUpdateRecord(&provider_, *delta_, kind, applied);
    }
    if (!applied) {
        CheckKindAllowed(kind);
        ExecuteChange(kind, oldValues, newValues);
    }
    if (provider_.AfterUpdateRecord) {
        provider_.AfterUpdateRecord(&provider_, *delta_, kind);
    }
}

void TSQLResolver::CheckKindAllowed(TUpdateKind kind) const {
    const TProviderOptions options = provider_.Options();
    if (kind == ukModify && options.Contains(poDisableEdits)) {
        throw EDatabaseError("Modifications are not allowed");
    }
    if (kind == ukInsert && options.Contains(poDisableInserts)) {
        throw EDatabaseError("Inserts are not allowed");
    }
    if (kind == ukDelete && options.Contains(poDisableDeletes)) {
        throw EDatabaseError("Deletes are not allowed");
    }
}

void TSQLResolver::ExecuteChange(TUpdateKind kind, const std::vector<TVariant>& oldValues,
                                 const std::vector<TVariant>& newValues) {
    const TGeneratedStatement& statement = generator_.Statement(kind, delta_->Fields(), oldValues, newValues);
    if (statement.SQL.empty()) {
        return;
    }
    const std::int64_t rows = source_->PSExecuteStatement(statement.SQL, statement.Params);
    if (rows > 1 && !provider_.Options().Contains(poAllowMultiRecordUpdates)) {
        if (source_->PSInTransaction()) {
            ownTransaction_ = false;
            source_->PSEndTransaction(false);
        }
        throw EDatabaseError("Update affected more than 1 record.");
    }
    if (rows == 0) {
        throw EDatabaseError("Record not found or changed by another user");
    }
}

// Lets the provider's handler answer; true when the change is done with (skipped, aborted or
// ignored), false when it is to be resolved again.
bool TSQLResolver::HandleFailure(int row, TUpdateKind kind, EUpdateError& error,
                                 TResolverResponse& response) {
    if (provider_.OnUpdateError) {
        provider_.OnUpdateError(&provider_, *delta_, error, kind, response);
    }
    switch (response) {
        case rrMerge:
        case rrApply:
            return false;
        case rrIgnore:
            return true;
        case rrSkip:
        case rrAbort:
            break;
    }
    ++errorCount_;
    if (errorCount_ > limit_) {
        response = rrAbort;
    }
    if (response == rrAbort) {
        limit_ = errorCount_ - 1;
    }
    RecordError(row, response, error);
    return true;
}

void TSQLResolver::RecordError(int row, TResolverResponse response, const EUpdateError& error) {
    if (!errors_) {
        errors_ = MakeErrorPacket(delta_->Packet());
    }
    TPacketRow* record = nullptr;
    for (TPacketRow& existing : errors_->Rows) {
        if (existing.Values[errorcolumn::kRecordNo] == TVariant(std::int64_t{row + 1})) {
            record = &existing;
        }
    }
    if (record == nullptr) {
        record = &errors_->Rows.emplace_back();
        record->Status = delta_->Status(row);
        record->Values.resize(errors_->Columns.size());
    }
    record->Values[errorcolumn::kRecordNo] = std::int64_t{row + 1};
    record->Values[errorcolumn::kResponse] = std::int64_t{response + 1};
    record->Values[errorcolumn::kMessage] = error.Message();
    record->Values[errorcolumn::kContext] = error.Context();
    record->Values[errorcolumn::kCategory] = std::int64_t{1};
    record->Values[errorcolumn::kErrorCode] = std::int64_t{error.ErrorCode()};
}

}  // namespace contado
