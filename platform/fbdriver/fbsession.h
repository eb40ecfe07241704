#pragma once

#include <firebird/Interface.h>

#include <cstdint>
#include <memory>
#include <set>
#include <string>

#include "platform/fbdriver/fbclient.h"
#include "platform/fbdriver/fbconnectionoptions.h"
#include "platform/fbdriver/fbref.h"
#include "platform/fbdriver/fbsessionresource.h"
#include "platform/fbdriver/fbtextcodec.h"

namespace contado {

class TFbPrecisionLookup;

// One attachment to a database and what its commands share: the options, the status object, the
// explicit transaction, a read-only transaction for preparing statements and reading metadata, and
// the watch of the call running against the server.
// Commands and cursors hold the session, so it outlives the connection object that made it.
class TFbSession {
  public:
    explicit TFbSession(TFbClient& client);
    ~TFbSession();
    TFbSession(const TFbSession&) = delete;
    TFbSession& operator=(const TFbSession&) = delete;

    TFbClient& Client() const { return client_; }
    Firebird::ThrowStatusWrapper* Status() { return &status_; }
    TFbConnectionOptions& Options() { return options_; }
    // Converts text between the database's character sets and UTF-8.
    TFbTextCodec& Codec() { return codec_; }

    void Attach(const std::string& database, const std::string& user, const std::string& password);
    // Releases every registered resource, ends the transactions and detaches.
    void Detach();
    bool Attached() const { return attachment_ != nullptr; }
    // Fails with "Invalid Handle" when not attached.
    Firebird::IAttachment* Attachment() const;

    // A new read-write transaction with the given isolation and the lock-wait option.
    Firebird::ITransaction* StartTransaction(std::uint32_t isolationLevel);
    // The transaction begun through the connection; null when none is active.
    Firebird::ITransaction* ExplicitTransaction() const {
        return explicitActive_ ? explicitTransaction_ : nullptr;
    }
    void BeginExplicitTransaction(std::uint32_t isolationLevel);
    void CommitExplicitTransaction();
    void RollbackExplicitTransaction();
    // Read-only read committed; kept open while attached.
    Firebird::ITransaction* MetadataTransaction();

    // Declared precision of a decimal column, looked up once per column.
    int DecimalPrecision(const std::string& relation, const std::string& field, int fallback);

    void Register(TFbSessionResource* resource) { resources_.insert(resource); }
    void Unregister(TFbSessionResource* resource) { resources_.erase(resource); }

    // With an answer limit set and attached, arms the watchdog for the call that begins; answers
    // whether it did (not inside a call watched already, nor once the connection was cut).
    bool WatchAnswer();
    // Ends the watch WatchAnswer armed; when the watchdog cut the connection meanwhile, the
    // session is stalled from then on, until the next attach.
    void EndAnswerWatch() noexcept;
    bool Stalled() const { return stalledSeconds_ != 0; }
    // The error of every failed call once stalled: the limit and the setting it comes from.
    std::string StallText() const;

  private:
    std::string ConnectionString(const std::string& database) const;
    void EndTransaction(Firebird::ITransaction*& transaction, bool commit);
    void DiscardTransaction(Firebird::ITransaction*& transaction);

    TFbClient& client_;
    Firebird::IStatus* statusObject_;
    Firebird::ThrowStatusWrapper status_;
    TFbConnectionOptions options_;
    TFbTextCodec codec_;
    Firebird::IAttachment* attachment_ = nullptr;
    Firebird::ITransaction* explicitTransaction_ = nullptr;
    bool explicitActive_ = false;
    Firebird::ITransaction* metadataTransaction_ = nullptr;
    std::unique_ptr<TFbPrecisionLookup> precisionLookup_;
    std::set<TFbSessionResource*> resources_;
    // What the watchdog cuts: the attachment, with a reference of its own, since the session may
    // detach and release it while a cut runs there. Made once per attachment, not per watched call.
    struct TCutTarget {
        TCutTarget(Firebird::IMaster* master, Firebird::IAttachment* attachment)
            : Master(master), Attachment(attachment) {}
        Firebird::IMaster* Master;
        TFbRef<Firebird::IAttachment> Attachment;
    };
    std::shared_ptr<const TCutTarget> cutTarget_;
    std::uint64_t answerTicket_ = 0;  // the watched call's, 0 when none is watched
    int watchedSeconds_ = 0;
    // The limit the server did not answer within, kCutOnStop when the program's stop cut the call;
    // 0 while it answers.
    static constexpr int kCutOnStop = -1;
    int stalledSeconds_ = 0;
};

}  // namespace contado
