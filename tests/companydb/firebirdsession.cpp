#include "tests/companydb/firebirdsession.h"

#include <firebird/Interface.h>

#include <memory>

namespace contado {

namespace {

using Firebird::FbException;
using Firebird::ThrowStatusWrapper;

constexpr unsigned kDialect = 3;
constexpr unsigned kTextLength = 256;

Firebird::IMaster* Master() {
    return Firebird::fb_get_master_interface();
}

// Releases a reference-counted Firebird interface, or disposes of a plain one, when the holder goes away.
struct TReleaser {
    template <typename Interface>
    void operator()(Interface* object) const {
        if constexpr (requires { object->release(); }) {
            object->release();
        } else {
            object->dispose();
        }
    }
};
template <typename Interface>
using TReleased = std::unique_ptr<Interface, TReleaser>;

// A status of its own for one piece of work; Firebird's errors are thrown as FbException.
class TStatus : public ThrowStatusWrapper {
  public:
    TStatus() : ThrowStatusWrapper(Master()->getStatus()) {}
    ~TStatus() { dispose(); }
    TStatus(const TStatus&) = delete;
    TStatus& operator=(const TStatus&) = delete;
};

// Runs the work, turning Firebird's errors into TFirebirdError with the server's formatted message.
template <typename Work>
auto Translated(Work work) {
    try {
        return work();
    } catch (const FbException& error) {
        char text[2048];
        Master()->getUtilInterface()->formatStatus(text, sizeof text, error.getStatus());
        throw TFirebirdError(text);
    }
}

std::vector<unsigned char> BuildParameterBlock(unsigned kind, const std::vector<unsigned char>& tags) {
    TStatus status;
    TReleased<Firebird::IXpbBuilder> builder(
        Master()->getUtilInterface()->getXpbBuilder(&status, kind, nullptr, 0));
    for (unsigned char tag : tags) {
        builder->insertTag(&status, tag);
    }
    const unsigned char* buffer = builder->getBuffer(&status);
    return {buffer, buffer + builder->getBufferLength(&status)};
}

// The statement's output columns all turned into nullable texts, so every value reads as the server writes
// it.
TReleased<Firebird::IMessageMetadata> TextMetadata(Firebird::IStatement* statement) {
    TStatus status;
    TReleased<Firebird::IMessageMetadata> columns(statement->getOutputMetadata(&status));
    TReleased<Firebird::IMetadataBuilder> builder(columns->getBuilder(&status));
    for (unsigned index = 0; index < columns->getCount(&status); ++index) {
        builder->setType(&status, index, SQL_VARYING + 1);
        builder->setScale(&status, index, 0);
        builder->setLength(&status, index, kTextLength);
    }
    return TReleased<Firebird::IMessageMetadata>(builder->getMetadata(&status));
}

TTextRow ReadRow(Firebird::IMessageMetadata* columns, const unsigned char* message) {
    TStatus status;
    TTextRow row;
    for (unsigned index = 0; index < columns->getCount(&status); ++index) {
        if (*reinterpret_cast<const short*>(message + columns->getNullOffset(&status, index)) != 0) {
            row.emplace_back();
            continue;
        }
        const unsigned char* value = message + columns->getOffset(&status, index);
        auto length = *reinterpret_cast<const unsigned short*>(value);
        row.emplace_back(std::string(reinterpret_cast<const char*>(value + sizeof(unsigned short)), length));
    }
    return row;
}

std::vector<TTextRow> FetchAll(Firebird::IAttachment* attachment, Firebird::ITransaction* transaction,
                               const std::string& sql) {
    TStatus status;
    TReleased<Firebird::IStatement> statement(attachment->prepare(
        &status, transaction, 0, sql.c_str(), kDialect, Firebird::IStatement::PREPARE_PREFETCH_METADATA));
    TReleased<Firebird::IMessageMetadata> columns = TextMetadata(statement.get());
    std::vector<unsigned char> message(columns->getMessageLength(&status));
    std::vector<TTextRow> rows;
    if ((statement->getFlags(&status) & Firebird::IStatement::FLAG_HAS_CURSOR) == 0) {
        // A statement answering one row without a cursor: insert ... returning, execute procedure.
        statement->execute(&status, transaction, nullptr, nullptr, columns.get(), message.data());
        rows.push_back(ReadRow(columns.get(), message.data()));
        return rows;
    }
    TReleased<Firebird::IResultSet> cursor(
        statement->openCursor(&status, transaction, nullptr, nullptr, columns.get(), 0));
    while (cursor->fetchNext(&status, message.data()) == Firebird::IStatus::RESULT_OK) {
        rows.push_back(ReadRow(columns.get(), message.data()));
    }
    cursor->close(&status);
    cursor.release();
    return rows;
}

std::uint64_t ExecuteStatement(Firebird::IAttachment* attachment, Firebird::ITransaction* transaction,
                               const std::string& sql) {
    TStatus status;
    TReleased<Firebird::IStatement> statement(
        attachment->prepare(&status, transaction, 0, sql.c_str(), kDialect, 0));
    statement->execute(&status, transaction, nullptr, nullptr, nullptr, nullptr);
    return statement->getAffectedRecords(&status);
}

}  // namespace

TFirebirdSession::TFirebirdSession(const std::string& databasePath) {
    Translated([&] {
        TStatus status;
        TReleased<Firebird::IXpbBuilder> dpb(
            Master()->getUtilInterface()->getXpbBuilder(&status, Firebird::IXpbBuilder::DPB, nullptr, 0));
        dpb->insertString(&status, isc_dpb_user_name, "SYSDBA");
        dpb->insertString(&status, isc_dpb_password, "masterkey");
        dpb->insertString(&status, isc_dpb_lc_ctype, "UTF8");
        TReleased<Firebird::IProvider> provider(Master()->getDispatcher());
        attachment_ = provider->attachDatabase(&status, databasePath.c_str(), dpb->getBufferLength(&status),
                                               dpb->getBuffer(&status));
    });
}

TFirebirdSession::~TFirebirdSession() {
    TStatus status;
    try {
        if (transaction_ != nullptr) {
            transaction_->rollback(&status);
            transaction_ = nullptr;
        }
        attachment_->detach(&status);
    } catch (const FbException&) {
        if (transaction_ != nullptr) {
            transaction_->release();
        }
        attachment_->release();
    }
}

void TFirebirdSession::StartTransaction() {
    Translated([&] {
        std::vector<unsigned char> tpb =
            BuildParameterBlock(Firebird::IXpbBuilder::TPB,
                                {isc_tpb_write, isc_tpb_read_committed, isc_tpb_rec_version, isc_tpb_wait});
        TStatus status;
        transaction_ = attachment_->startTransaction(&status, tpb.size(), tpb.data());
    });
}

void TFirebirdSession::Commit() {
    Translated([&] {
        TStatus status;
        transaction_->commit(&status);
        transaction_ = nullptr;
    });
}

void TFirebirdSession::Rollback() {
    Translated([&] {
        TStatus status;
        transaction_->rollback(&status);
        transaction_ = nullptr;
    });
}

template <typename Work>
auto TFirebirdSession::InTransaction(Work work) {
    if (transaction_ != nullptr) {
        return Translated([&] { return work(transaction_); });
    }
    StartTransaction();
    try {
        auto result = Translated([&] { return work(transaction_); });
        Commit();
        return result;
    } catch (...) {
        Rollback();
        throw;
    }
}

std::vector<TTextRow> TFirebirdSession::Query(const std::string& sql) {
    return InTransaction(
        [&](Firebird::ITransaction* transaction) { return FetchAll(attachment_, transaction, sql); });
}

std::string TFirebirdSession::Plan(const std::string& sql) {
    return InTransaction([&](Firebird::ITransaction* transaction) {
        TStatus status;
        TReleased<Firebird::IStatement> statement(
            attachment_->prepare(&status, transaction, 0, sql.c_str(), kDialect, 0));
        const char* plan = statement->getPlan(&status, false);
        std::string text = plan == nullptr ? std::string() : std::string(plan);
        const std::size_t start = text.find_first_not_of("\n ");
        return start == std::string::npos ? std::string() : text.substr(start);
    });
}

std::uint64_t TFirebirdSession::Execute(const std::string& sql) {
    return InTransaction(
        [&](Firebird::ITransaction* transaction) { return ExecuteStatement(attachment_, transaction, sql); });
}

}  // namespace contado
