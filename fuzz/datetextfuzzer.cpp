// Date and time texts: the first byte picks a regional short date format (the program always writes
// four-digit years, so only such formats), the rest is the text. A date the program reads must be
// written back as a text that reads as the same day; a time of day likewise through its exact text;
// and any format text must format a moment without fault.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/datetime.h"
#include "core/exceptions.h"
#include "core/formatsettings.h"

namespace {

constexpr const char* kShortDateFormats[] = {"dd/mm/yyyy", "d/m/yyyy", "yyyy-mm-dd", "mm/dd/yyyy",
                                             "dd.mm.yyyy", "d-m-yyyy", "yyyy/m/d"};

void DateRoundTrip(std::string_view text) {
    contado::TDateTime day = 0;
    if (!contado::TryStrToDate(text, day)) {
        return;
    }
    contado::TDateTime again = 0;
    if (!contado::TryStrToDate(contado::DateToStr(day), again) || again != day) {
        std::abort();
    }
    const std::string quoted = contado::QuotedDateText(day);
    if (quoted.size() < 2 || quoted.front() != '\'' || quoted.back() != '\'') {
        std::abort();
    }
}

void TimeRoundTrip(std::string_view text) {
    contado::TDateTime time = 0;
    if (!contado::TryParseTimeOfDay(text, time)) {
        return;
    }
    contado::TDateTime again = 0;
    if (!contado::TryParseTimeOfDay(contado::ExactTimeText(time), again) ||
        contado::TimeUnitsOfDay(again) != contado::TimeUnitsOfDay(time)) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t formats = sizeof kShortDateFormats / sizeof kShortDateFormats[0];
    contado::FormatSettings().ShortDateFormat = kShortDateFormats[data[0] % formats];
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    DateRoundTrip(text);
    TimeRoundTrip(text);
    try {
        contado::FormatDateTime(text, contado::EncodeDate(2026, 12, 9) + contado::EncodeTime(13, 4, 5, 6));
    } catch (const contado::Exception&) {
        // A format the program cannot use is refused with a message.
    }
    return 0;
}
