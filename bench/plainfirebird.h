#pragma once

// A database attached with nothing but the Firebird OO API, in the same process and through the same
// client library as the driver: what the benchmarks measure the whole stack against.

#include <dlfcn.h>
#include <firebird/Interface.h>
#include <ibase.h>

#include <stdexcept>
#include <string>

namespace contado {

class TPlainFirebird {
  public:
    explicit TPlainFirebird(const std::string& path)
        : master_(Master()), status_(master_->getStatus()) {
        Firebird::IXpbBuilder* dpb =
            master_->getUtilInterface()->getXpbBuilder(&status_, Firebird::IXpbBuilder::DPB, nullptr, 0);
        dpb->insertString(&status_, isc_dpb_user_name, "SYSDBA");
        dpb->insertString(&status_, isc_dpb_password, "masterkey");
        dpb->insertString(&status_, isc_dpb_lc_ctype, "UTF8");
        attachment_ = master_->getDispatcher()->attachDatabase(
            &status_, path.c_str(), dpb->getBufferLength(&status_), dpb->getBuffer(&status_));
        dpb->dispose();
    }
    ~TPlainFirebird() { attachment_->detach(&status_); }
    TPlainFirebird(const TPlainFirebird&) = delete;
    TPlainFirebird& operator=(const TPlainFirebird&) = delete;

    Firebird::IAttachment* Attachment() { return attachment_; }
    Firebird::ThrowStatusWrapper* Status() { return &status_; }

    // Runs select in a transaction of its own and hands every fetched row buffer, with the column
    // offsets, to onRow; answers the row count.
    template <typename OnRow>
    int Fetch(const char* select, OnRow onRow) {
        Firebird::ITransaction* transaction = attachment_->startTransaction(&status_, 0, nullptr);
        Firebird::IStatement* statement = attachment_->prepare(
            &status_, transaction, 0, select, 3, Firebird::IStatement::PREPARE_PREFETCH_METADATA);
        Firebird::IMessageMetadata* output = statement->getOutputMetadata(&status_);
        std::string row(output->getMessageLength(&status_), '\0');
        unsigned offsets[16] = {};
        const unsigned count = output->getCount(&status_);
        for (unsigned column = 0; column < count && column < 16; ++column) {
            offsets[column] = output->getOffset(&status_, column);
        }
        Firebird::IResultSet* resultSet =
            statement->openCursor(&status_, transaction, nullptr, nullptr, output, 0);
        int rows = 0;
        while (resultSet->fetchNext(&status_, row.data()) == Firebird::IStatus::RESULT_OK) {
            onRow(reinterpret_cast<const unsigned char*>(row.data()), offsets);
            ++rows;
        }
        resultSet->close(&status_);
        output->release();
        statement->free(&status_);
        transaction->commit(&status_);
        return rows;
    }

  private:
    // The client library is the one the driver loaded, so both share one embedded engine.
    static Firebird::IMaster* Master() {
        void* library = dlopen("libfbclient.so.2", RTLD_NOW);
        auto getMaster =
            library == nullptr
                ? nullptr
                : reinterpret_cast<Firebird::IMaster* (*)()>(dlsym(library, "fb_get_master_interface"));
        if (getMaster == nullptr) {
            throw std::runtime_error("the Firebird client library does not load");
        }
        return getMaster();
    }

    Firebird::IMaster* master_;
    Firebird::ThrowStatusWrapper status_;
    Firebird::IAttachment* attachment_ = nullptr;
};

}  // namespace contado
