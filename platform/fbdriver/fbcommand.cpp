#include "platform/fbdriver/fbcommand.h"

#include "platform/fbdriver/fbanswerwatch.h"
#include "platform/fbdriver/fbcursor.h"
#include "platform/fbdriver/fbdrivererror.h"
#include "platform/fbdriver/fbguardedcall.h"
#include "platform/fbdriver/fbsession.h"
#include "platform/fbdriver/fbtransactionscope.h"

namespace contado {

TFbCommand::TFbCommand(std::shared_ptr<TFbSession> session)
    : session_(std::move(session)), input_(*session_) {
    session_->Register(this);
}

TFbCommand::~TFbCommand() {
    TFbAnswerWatch watch(*session_);
    watch.BeginIfPossible();
    ReleaseStatement();
    session_->Unregister(this);
}

// Rows per fetch: Firebird's client decides the batch itself, so the value is taken and not used.
SQLResult TFbCommand::setOption(int option, std::int32_t /*value*/) {
    return option == commandoption::kRowsetSize ? sqlstatus::kSuccess : sqlstatus::kNotSupported;
}

SQLResult TFbCommand::prepare(const std::string& sql, std::uint16_t parameterCount) {
    return GuardedCall(*session_, errorText_, [&] {
        ReleaseStatement();
        values_.clear();
        values_.reserve(parameterCount);
        Prepare(sql);
    });
}

void TFbCommand::Prepare(const std::string& sql) {
    Firebird::ThrowStatusWrapper* status = session_->Status();
    Firebird::ITransaction* transaction = session_->ExplicitTransaction();
    if (transaction == nullptr) {
        transaction = session_->MetadataTransaction();
    }
    statement_.Reset(session_->Attachment()->prepare(status, transaction, static_cast<unsigned>(sql.size()),
                                                     sql.c_str(),
                                                     static_cast<unsigned>(session_->Options().SQLDialect),
                                                     Firebird::IStatement::PREPARE_PREFETCH_METADATA));
    hasCursor_ = (statement_->getFlags(status) & Firebird::IStatement::FLAG_HAS_CURSOR) != 0;
    inputMetadata_.Reset(statement_->getInputMetadata(status));
    TFbRef output(statement_->getOutputMetadata(status));
    if (output->getCount(status) > 0) {
        layout_ = std::make_shared<const TFbRowLayout>(*session_, output.Get());
    }
}

SQLResult TFbCommand::setParameter(std::uint16_t position, const TDriverValue& value) {
    if (position < 1) {
        errorText_.clear();
        return sqlstatus::kOutOfRange;
    }
    if (values_.size() < position) {
        values_.resize(position);
    }
    values_[position - 1] = value;
    return sqlstatus::kSuccess;
}

SQLResult TFbCommand::execute(std::unique_ptr<ISQLCursor>& cursor) {
    cursor.reset();
    return GuardedCall(*session_, errorText_, [&] { Execute(cursor); });
}

void TFbCommand::Execute(std::unique_ptr<ISQLCursor>& cursor) {
    if (!statement_) {
        throw EFbDriverError(sqlstatus::kInvalidHandle, "No statement is prepared");
    }
    rowsAffected_ = 0;
    TFbTransactionScope transaction(*session_);
    input_.Build(inputMetadata_.Get(), values_, transaction.Get());
    cursor = hasCursor_ ? OpenCursor(transaction) : Run(transaction);
}

std::unique_ptr<ISQLCursor> TFbCommand::OpenCursor(TFbTransactionScope& transaction) {
    TFbRef resultSet(statement_->openCursor(session_->Status(), transaction.Get(), input_.Metadata(),
                                            input_.Buffer(), layout_->Metadata(), 0));
    statement_->addRef();
    TFbRef<Firebird::IStatement> statement(statement_.Get());
    return std::make_unique<TFbCursor>(session_, layout_, std::move(statement), std::move(transaction),
                                       std::move(resultSet));
}

// A statement without a result set; output values (a procedure's, a returning clause's) come back
// as a one-row cursor, which then ends the transaction.
std::unique_ptr<ISQLCursor> TFbCommand::Run(TFbTransactionScope& transaction) {
    Firebird::ThrowStatusWrapper* status = session_->Status();
    std::vector<unsigned char> row(layout_ ? layout_->MessageLength() : 0);
    statement_->execute(status, transaction.Get(), input_.Metadata(), input_.Buffer(),
                        layout_ ? layout_->Metadata() : nullptr, layout_ ? row.data() : nullptr);
    rowsAffected_ = static_cast<std::int64_t>(statement_->getAffectedRecords(status));
    if (layout_) {
        return std::make_unique<TFbCursor>(session_, layout_, std::move(transaction), std::move(row));
    }
    transaction.Commit();
    return nullptr;
}

SQLResult TFbCommand::getRowsAffected(std::int64_t& rows) {
    rows = rowsAffected_;
    return sqlstatus::kSuccess;
}

SQLResult TFbCommand::getErrorMessage(std::string& message) {
    message = errorText_;
    return sqlstatus::kSuccess;
}

SQLResult TFbCommand::close() {
    ReleaseStatement();
    return sqlstatus::kSuccess;
}

// A cursor still open keeps its own reference to the statement.
void TFbCommand::ReleaseStatement() {
    input_.Reset();
    layout_.reset();
    inputMetadata_.Reset();
    statement_.Reset();
}

}  // namespace contado
