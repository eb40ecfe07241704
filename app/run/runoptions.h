#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/datetime.h"

namespace contado {

// What an unattended run is asked beyond today's posting, by the arguments after the fourth:
// "--desde YYYY-MM-DD" catches up every day from that one to today, "--ensayo" does the whole run
// and then rolls it back. Other arguments are ignored, as ever; an unknown "--" option is refused,
// so a misspelt one never passes for a plain run.
struct TRunOptions {
    std::optional<TDateTime> CatchUpFrom;
    bool DryRun = false;

    // The longest catch-up, in days before today.
    static constexpr int kMaxCatchUpDays = 366;

    // Throws EDatabaseError with the reason for a missing, malformed, future or too old date.
    static TRunOptions Parse(const std::vector<std::string>& arguments, TDateTime today);
    // The days to post, oldest first: today alone, or every day from the catch-up day to today.
    std::vector<TDateTime> Days(TDateTime today) const;
    bool Extended() const { return CatchUpFrom.has_value() || DryRun; }

  private:
    static TDateTime CatchUpDay(const std::string& text, TDateTime today);
};

// "YYYY-MM-DD" of a day; the form the arguments and the run report use.
std::string IsoDateText(TDateTime day);

}  // namespace contado
