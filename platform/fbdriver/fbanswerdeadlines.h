#pragma once

#include <cstdint>
#include <functional>
#include <map>
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
        const auto entry = byTime_.emplace(due, TDue{ticket, std::move(abort)});
        byTicket_.emplace(ticket, entry);
        return ticket;
    }

    // The call ended: its abort comes back to be dropped outside the watchdog's lock. Empty when it
    // fell due and was taken already.
    TAbort Remove(std::uint64_t ticket) {
        const auto found = byTicket_.find(ticket);
        if (found == byTicket_.end()) {
            return {};
        }
        TAbort abort = std::move(found->second->second.Abort);
        byTime_.erase(found->second);
        byTicket_.erase(found);
        return abort;
    }

    // Every call due at now or before, in the order they fell due; they are no longer watched.
    std::vector<TDue> TakeDue(TTimePoint now) {
        std::vector<TDue> due;
        while (!byTime_.empty() && byTime_.begin()->first <= now) {
            const auto first = byTime_.begin();
            byTicket_.erase(first->second.Ticket);
            due.push_back(std::move(first->second));
            byTime_.erase(first);
        }
        return due;
    }

    // When the earliest call falls due; nothing when none is watched.
    std::optional<TTimePoint> NextDue() const {
        if (byTime_.empty()) {
            return std::nullopt;
        }
        return byTime_.begin()->first;
    }

  private:
    using TByTime = std::multimap<TTimePoint, TDue>;

    TByTime byTime_;
    std::map<std::uint64_t, typename TByTime::iterator> byTicket_;
    std::uint64_t lastTicket_ = 0;
};

}  // namespace contado
