#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace contado {

// The calls being watched for an answer, each with the moment it falls due and what aborts it.
// It never reads a clock itself: the watchdog hands it the times of its clock, a test those of a
// clock of its own. Not synchronised; the watchdog guards it.
template <typename Clock>
class TFbAnswerDeadlines {
  public:
    using TTimePoint = typename Clock::time_point;
    using TAbort = std::function<void()>;

    struct TDue {
        std::uint64_t Ticket;
        TAbort Abort;
    };

    // A ticket never 0, for Remove.
    std::uint64_t Add(TTimePoint due, TAbort abort) {
        const std::uint64_t ticket = ++lastTicket_;
        const auto later = std::upper_bound(calls_.begin(), calls_.end(), due,
                                            [](TTimePoint time, const TCall& call) { return time < call.Due; });
        calls_.insert(later, TCall{due, TDue{ticket, std::move(abort)}});
        return ticket;
    }

    // The call ended: its abort comes back to be dropped outside the watchdog's lock. Empty when it
    // fell due and was taken already.
    TAbort Remove(std::uint64_t ticket) {
        const auto found = std::find_if(calls_.begin(), calls_.end(),
                                        [ticket](const TCall& call) { return call.Watched.Ticket == ticket; });
        if (found == calls_.end()) {
            return {};
        }
        TAbort abort = std::move(found->Watched.Abort);
        calls_.erase(found);
        return abort;
    }

    // Every call due at now or before, in the order they fell due; they are no longer watched.
    std::vector<TDue> TakeDue(TTimePoint now) {
        const auto notDue = std::find_if(calls_.begin(), calls_.end(),
                                         [now](const TCall& call) { return call.Due > now; });
        std::vector<TDue> due;
        due.reserve(static_cast<std::size_t>(notDue - calls_.begin()));
        for (auto call = calls_.begin(); call != notDue; ++call) {
            due.push_back(std::move(call->Watched));
        }
        calls_.erase(calls_.begin(), notDue);
        return due;
    }

    // When the earliest call falls due; nothing when none is watched.
    std::optional<TTimePoint> NextDue() const {
        if (calls_.empty()) {
            return std::nullopt;
        }
        return calls_.front().Due;
    }

  private:
    struct TCall {
        TTimePoint Due;
        TDue Watched;
    };

    // By deadline, then in the order the calls began. A vector, as only a few calls (one per
    // connection) are watched at a time, and every call to the server adds and removes one.
    std::vector<TCall> calls_;
    std::uint64_t lastTicket_ = 0;
};

}  // namespace contado
