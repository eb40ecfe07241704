#include "platform/fbdriver/fbcursor.h"

#include <utility>

#include "platform/fbdriver/fbanswerwatch.h"
#include "platform/fbdriver/fbdrivererror.h"
#include "platform/fbdriver/fbguardedcall.h"
#include "platform/fbdriver/fbsession.h"

namespace contado {

// Inline: every column of every fetched row is checked.
inline void TFbCursor::CheckColumn(std::uint16_t column) const {
    if (column < 1 || column > layout_->Count()) {
        throw EFbDriverError(sqlstatus::kOutOfRange);
    }
}

TFbCursor::TFbCursor(std::shared_ptr<TFbSession> session, std::shared_ptr<const TFbRowLayout> layout,
                     TFbRef<Firebird::IStatement> statement, TFbTransactionScope transaction,
                     TFbRef<Firebird::IResultSet> resultSet)
    : session_(std::move(session)),
      layout_(std::move(layout)),
      statement_(std::move(statement)),
      transaction_(std::move(transaction)),
      resultSet_(std::move(resultSet)),
      row_(layout_->MessageLength()) {
    session_->Register(this);
}

TFbCursor::TFbCursor(std::shared_ptr<TFbSession> session, std::shared_ptr<const TFbRowLayout> layout,
                     TFbTransactionScope transaction, std::vector<unsigned char> row)
    : session_(std::move(session)),
      layout_(std::move(layout)),
      transaction_(std::move(transaction)),
      row_(std::move(row)),
      singleRowPending_(true) {
    session_->Register(this);
}

TFbCursor::~TFbCursor() {
    TFbAnswerWatch watch(*session_);
    watch.BeginIfPossible();
    try {
        Finish(true);
    } catch (...) {
        // Released without close: there is no one to report a failed commit to. Firebird's own
        // errors are no standard exceptions, hence every kind is caught here.
    }
}

SQLResult TFbCursor::getColumnCount(std::uint16_t& count) {
    count = layout_->Count();
    return sqlstatus::kSuccess;
}

SQLResult TFbCursor::getColumnDescription(std::uint16_t column, TColumnDescription& description) {
    return GuardedCall(*session_, errorText_, [&] {
        CheckColumn(column);
        description = layout_->Description(column - 1);
    });
}

SQLResult TFbCursor::next() {
    return GuardedCall(*session_, errorText_, [&] {
        try {
            return Fetch();
        } catch (...) {
            try {
                Finish(false);
            } catch (...) {
                // The fetch's own error is the one to report.
            }
            throw;
        }
    });
}

SQLResult TFbCursor::Fetch() {
    if (finished_) {
        throw EFbDriverError(sqlstatus::kInvalidHandle, "The cursor is closed");
    }
    if (resultSet_) {
        onRow_ = resultSet_->fetchNext(session_->Status(), row_.data()) == Firebird::IStatus::RESULT_OK;
    } else {
        onRow_ = std::exchange(singleRowPending_, false);
    }
    return onRow_ ? sqlstatus::kSuccess : sqlstatus::kNoData;
}

// A value in the fetched row waits on nothing, so only a blob, read from the server, is watched
// for the answer limit: arming the watchdog for every column would cost more than the read. A
// column out of range or no row comes the watched way too, which reports it.
SQLResult TFbCursor::getValue(std::uint16_t column, TDriverValue& value) {
    if (onRow_ && column >= 1 && column <= layout_->Count() && !layout_->ReadsFromServer(column - 1)) {
        return TranslatedCall(*session_, errorText_,
                              [&] { layout_->Read(row_.data(), column - 1, value, transaction_.Get()); });
    }
    return GuardedCall(*session_, errorText_, [&] {
        CheckColumn(column);
        if (!onRow_) {
            throw EFbDriverError(sqlstatus::kEndOfResultSet);
        }
        layout_->Read(row_.data(), column - 1, value, transaction_.Get());
    });
}

SQLResult TFbCursor::getErrorMessage(std::string& message) {
    message = errorText_;
    return sqlstatus::kSuccess;
}

SQLResult TFbCursor::close() {
    return GuardedCall(*session_, errorText_, [&] { Finish(true); });
}

void TFbCursor::ReleaseForDetach() {
    try {
        Finish(true);
    } catch (...) {
        // The attachment goes away next; its end decides the transaction.
    }
}

void TFbCursor::Finish(bool success) {
    if (finished_) {
        return;
    }
    finished_ = true;
    onRow_ = false;
    session_->Unregister(this);
    if (resultSet_) {
        Firebird::ThrowStatusWrapper* status = session_->Status();
        try {
            resultSet_.End([status](Firebird::IResultSet* ending) { ending->close(status); });
        } catch (const Firebird::FbException&) {
            resultSet_.Reset();
            transaction_.Rollback();
            throw;
        }
    }
    statement_.Reset();
    if (success) {
        transaction_.Commit();
    } else {
        transaction_.Rollback();
    }
}

}  // namespace contado
