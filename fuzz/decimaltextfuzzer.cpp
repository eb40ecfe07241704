// Decimal texts: whatever TBcd reads must be written back as a text that reads as the same number,
// and rounding to the database's NUMERIC(15,4) must either fit or say "BCD overflow".
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/bcd.h"
#include "core/exceptions.h"

namespace {

void RoundTrip(std::string_view text, char separator) {
    contado::TBcd value;
    if (!contado::TBcd::TryParse(text, separator, value)) {
        return;
    }
    const std::string written = value.ToString(separator);
    contado::TBcd again;
    if (!contado::TBcd::TryParse(written, separator, again) || !(again == value)) {
        std::abort();
    }
    try {
        const contado::TBcd rounded = value.Normalized(15, 4);
        if (!rounded.FitsIn(15, 4)) {
            std::abort();
        }
        const contado::TCurrency currency = rounded.ToCurrency();
        if (contado::TBcd::FromCurrency(currency) != rounded) {
            std::abort();
        }
        if (currency.ToString(separator) != rounded.ToString(separator)) {
            std::abort();
        }
    } catch (const contado::EDatabaseError&) {
        // A number with more than 15 digits at scale 4 is refused, which is what the column does.
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    RoundTrip(text, '.');
    RoundTrip(text, ',');
    return 0;
}
