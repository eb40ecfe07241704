#include <gtest/gtest.h>

#include "app/run/runoptions.h"
#include "core/exceptions.h"

// The catch-up and dry-run options of the unattended run, read from the arguments after the fourth.

namespace contado {
namespace {

const TDateTime kToday = EncodeDate(2026, 12, 9) + 0.75;

std::string Refusal(const std::vector<std::string>& arguments) {
    try {
        TRunOptions::Parse(arguments, kToday);
    } catch (const EDatabaseError& error) {
        return error.Message();
    }
    return "";
}

TEST(RunOptions, NoOptionsPostTodayAloneAndOtherArgumentsAreIgnored) {
    const TRunOptions options = TRunOptions::Parse({"extra", "-x"}, kToday);
    EXPECT_FALSE(options.Extended());
    ASSERT_EQ(options.Days(kToday).size(), 1u);
    EXPECT_EQ(options.Days(kToday)[0], EncodeDate(2026, 12, 9));
}

TEST(RunOptions, ACatchUpRunsEveryDayToTodayOldestFirst) {
    const TRunOptions options = TRunOptions::Parse({"--ensayo", "--desde", "2026-11-29"}, kToday);
    EXPECT_TRUE(options.DryRun);
    const std::vector<TDateTime> days = options.Days(kToday);
    ASSERT_EQ(days.size(), 11u);
    EXPECT_EQ(days.front(), EncodeDate(2026, 11, 29));
    EXPECT_EQ(days.back(), EncodeDate(2026, 12, 9));
    EXPECT_EQ(IsoDateText(days[2]), "2026-12-01");
    // Across a year's end, a leap day and back to the limit.
    EXPECT_EQ(TRunOptions::Parse({"--desde", "2025-12-08"}, kToday).Days(kToday).size(), 367u);
    EXPECT_EQ(TRunOptions::Parse({"--desde", "2026-12-09"}, kToday).Days(kToday).size(), 1u);
}

TEST(RunOptions, BadDatesAndUnknownOptionsAreRefusedWithTheirReason) {
    EXPECT_EQ(Refusal({"--desde"}), "Falta la fecha después de --desde (AAAA-MM-DD)");
    for (const char* malformed : {"2026-02-29", "2026-13-01", "26-12-01", "2026-1-01", "2026/12/01", "09/12/2026",
                                  "2026-12-01x", "", "２０２６-12-01", "2026-12-0\xC3"}) {
        EXPECT_EQ(Refusal({"--desde", malformed}),
                  std::string("La fecha de --desde no es válida: '") + malformed + "' (se espera AAAA-MM-DD)");
    }
    EXPECT_EQ(Refusal({"--desde", "2026-12-10"}), "La fecha de --desde (2026-12-10) es posterior a hoy");
    EXPECT_EQ(Refusal({"--desde", "2025-12-07"}), "La fecha de --desde (2025-12-07) es de hace más de 366 días");
    EXPECT_EQ(Refusal({"--ensayar"}), "Opción desconocida: --ensayar");
    EXPECT_EQ(Refusal({"2024-02-29", "--desde", "2024-02-29"}),
              "La fecha de --desde (2024-02-29) es de hace más de 366 días");
}

}  // namespace
}  // namespace contado
