#include "platform/fbdriver/fbsession.h"

#include <ibase.h>

#include <chrono>
#include <utility>
#include <vector>

#include "platform/fbdriver/fbanswerwatch.h"
#include "platform/fbdriver/fbdrivererror.h"
#include "platform/fbdriver/fbprecisionlookup.h"
#include "platform/fbdriver/fbref.h"
#include "platform/fbdriver/fbwatchdog.h"

namespace contado {

namespace {

constexpr const char* kDefaultCharSet = "UTF8";

// The wait limit as the parameter block carries a number: its length, then its bytes, lowest first.
void AppendLockTimeout(std::vector<unsigned char>& tpb, int seconds) {
    tpb.push_back(isc_tpb_lock_timeout);
    tpb.push_back(4);
    for (int shift = 0; shift < 32; shift += 8) {
        tpb.push_back(static_cast<unsigned char>(static_cast<unsigned>(seconds) >> shift));
    }
}

struct TXpbDisposer {
    void operator()(Firebird::IXpbBuilder* builder) const { builder->dispose(); }
};

// Closes the attachment's client side from another thread, so that a call blocked on it returns
// with an error; the server rolls back its transaction once it finds the connection gone.
void CutAttachment(Firebird::IMaster* master, Firebird::IAttachment* attachment) {
    Firebird::IStatus* status = master->getStatus();
    Firebird::CheckStatusWrapper wrapper(status);
    attachment->cancelOperation(&wrapper, fb_cancel_abort);
    status->dispose();
}

}  // namespace

TFbSession::TFbSession(TFbClient& client)
    : client_(client),
      statusObject_(client.Master()->getStatus()),
      status_(statusObject_),
      precisionLookup_(std::make_unique<TFbPrecisionLookup>(*this)) {}

TFbSession::~TFbSession() {
    TFbAnswerWatch watch(*this);
    watch.BeginIfPossible();
    try {
        Detach();
    } catch (...) {
        // Nobody is left to tell; the handles are released either way.
    }
    watch.End();
    precisionLookup_.reset();
    statusObject_->dispose();
}

std::string TFbSession::ConnectionString(const std::string& database) const {
    return options_.HostName.empty() ? database : options_.HostName + ":" + database;
}

void TFbSession::Attach(const std::string& database, const std::string& user, const std::string& password) {
    if (attachment_ != nullptr) {
        throw EFbDriverError(sqlstatus::kInvalidHandle, "The connection is open already");
    }
    stalledSeconds_ = 0;
    std::unique_ptr<Firebird::IXpbBuilder, TXpbDisposer> dpb(
        client_.Util()->getXpbBuilder(&status_, Firebird::IXpbBuilder::DPB, nullptr, 0));
    if (!user.empty()) {
        dpb->insertString(&status_, isc_dpb_user_name, user.c_str());
    }
    if (!password.empty()) {
        dpb->insertString(&status_, isc_dpb_password, password.c_str());
    }
    if (!options_.RoleName.empty()) {
        dpb->insertString(&status_, isc_dpb_sql_role_name, options_.RoleName.c_str());
    }
    const std::string& charSet = options_.ServerCharSet.empty() ? kDefaultCharSet : options_.ServerCharSet;
    dpb->insertString(&status_, isc_dpb_lc_ctype, charSet.c_str());
    dpb->insertInt(&status_, isc_dpb_sql_dialect, options_.SQLDialect);
    if (options_.ConnectTimeout > 0) {
        dpb->insertInt(&status_, isc_dpb_connect_timeout, options_.ConnectTimeout);
    }
    attachment_ =
        client_.Provider()->attachDatabase(&status_, ConnectionString(database).c_str(),
                                           dpb->getBufferLength(&status_), dpb->getBuffer(&status_));
}

void TFbSession::Detach() {
    if (attachment_ == nullptr) {
        return;
    }
    const std::set<TFbSessionResource*> resources = resources_;
    for (TFbSessionResource* resource : resources) {
        resource->ReleaseForDetach();
    }
    resources_.clear();
    precisionLookup_->Release();
    explicitActive_ = false;
    DiscardTransaction(explicitTransaction_);
    DiscardTransaction(metadataTransaction_);
    Firebird::IAttachment* attachment = std::exchange(attachment_, nullptr);
    cutTarget_.reset();
    try {
        attachment->detach(&status_);
    } catch (const Firebird::FbException&) {
        attachment->release();
        throw;
    }
}

bool TFbSession::WatchAnswer() {
    if (options_.AnswerTimeout <= 0 || attachment_ == nullptr || Stalled() || answerTicket_ != 0) {
        return false;
    }
    if (!cutTarget_) {
        attachment_->addRef();
        cutTarget_ = std::make_shared<const TCutTarget>(client_.Master(), attachment_);
    }
    answerTicket_ = TFbWatchdog::Arm(std::chrono::seconds(options_.AnswerTimeout), [target = cutTarget_] {
        CutAttachment(target->Master, target->Attachment.Get());
    });
    watchedSeconds_ = options_.AnswerTimeout;
    return answerTicket_ != 0;
}

void TFbSession::EndAnswerWatch() noexcept {
    const std::uint64_t ticket = std::exchange(answerTicket_, 0);
    if (TFbWatchdog::Disarm(ticket)) {
        stalledSeconds_ = TFbWatchdog::AbortingAll() ? kCutOnStop : watchedSeconds_;
    }
}

// The limit is the machine setting EsperaRespuesta, which the unattended run passes.
std::string TFbSession::StallText() const {
    if (stalledSeconds_ == kCutOnStop) {
        return "Se pidió terminar el programa: se cortó la conexión con el servidor";
    }
    return "El servidor no respondió en " + std::to_string(stalledSeconds_) + " s (EsperaRespuesta)";
}

Firebird::IAttachment* TFbSession::Attachment() const {
    if (attachment_ == nullptr) {
        throw EFbDriverError(sqlstatus::kInvalidHandle, "The connection is not open");
    }
    return attachment_;
}

Firebird::ITransaction* TFbSession::StartTransaction(std::uint32_t isolationLevel) {
    std::vector<unsigned char> tpb{
        isc_tpb_version3, isc_tpb_write,
        static_cast<unsigned char>(options_.WaitOnLocks ? isc_tpb_wait : isc_tpb_nowait)};
    if (isolationLevel == 1) {
        tpb.push_back(isc_tpb_concurrency);
    } else {
        // Firebird has no dirty reads; read committed is the nearest.
        tpb.push_back(isc_tpb_read_committed);
        tpb.push_back(isc_tpb_rec_version);
    }
    if (options_.WaitOnLocks && options_.LockTimeout > 0) {
        AppendLockTimeout(tpb, options_.LockTimeout);
    }
    return Attachment()->startTransaction(&status_, static_cast<unsigned>(tpb.size()), tpb.data());
}

// With CommitRetain a commit keeps the transaction's context, and the next begin goes on in it.
void TFbSession::BeginExplicitTransaction(std::uint32_t isolationLevel) {
    if (explicitActive_) {
        throw EFbDriverError(19);  // local transaction already active
    }
    if (explicitTransaction_ == nullptr) {
        explicitTransaction_ = StartTransaction(isolationLevel);
    }
    explicitActive_ = true;
}

void TFbSession::CommitExplicitTransaction() {
    if (!explicitActive_) {
        throw EFbDriverError(16);  // invalid transaction
    }
    if (options_.CommitRetain) {
        explicitTransaction_->commitRetaining(&status_);
    } else {
        EndTransaction(explicitTransaction_, true);
    }
    explicitActive_ = false;
}

void TFbSession::RollbackExplicitTransaction() {
    if (!explicitActive_) {
        throw EFbDriverError(16);
    }
    explicitActive_ = false;
    EndTransaction(explicitTransaction_, false);
}

Firebird::ITransaction* TFbSession::MetadataTransaction() {
    if (metadataTransaction_ == nullptr) {
        const unsigned char tpb[] = {isc_tpb_version3, isc_tpb_read, isc_tpb_read_committed,
                                     isc_tpb_rec_version, isc_tpb_nowait};
        metadataTransaction_ = Attachment()->startTransaction(&status_, sizeof(tpb), tpb);
    }
    return metadataTransaction_;
}

int TFbSession::DecimalPrecision(const std::string& relation, const std::string& field, int fallback) {
    return precisionLookup_->Precision(relation, field, fallback);
}

// Commit and rollback release the handle when they succeed; after a failure it is released here, so
// the transaction is gone either way.
void TFbSession::EndTransaction(Firebird::ITransaction*& transaction, bool commit) {
    Firebird::ITransaction* ending = std::exchange(transaction, nullptr);
    try {
        if (commit) {
            ending->commit(&status_);
        } else {
            ending->rollback(&status_);
        }
    } catch (const Firebird::FbException&) {
        ending->release();
        throw;
    }
}

void TFbSession::DiscardTransaction(Firebird::ITransaction*& transaction) {
    if (transaction == nullptr) {
        return;
    }
    try {
        EndTransaction(transaction, false);
    } catch (const Firebird::FbException&) {
        // Detaching ends it on the server anyway.
    }
}

}  // namespace contado
