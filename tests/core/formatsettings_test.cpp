#include <gtest/gtest.h>

#include "core/exceptions.h"
#include "core/formatsettings.h"

namespace contado {
namespace {

class FormatSettingsTest : public testing::Test {
protected:
    void SetUp() override { saved_ = FormatSettings(); }
    void TearDown() override { FormatSettings() = saved_; }
    TFormatSettings saved_;
};

TEST_F(FormatSettingsTest, QuotedDateTextUsesTheShortDateFormatAndTheDatePartOnly) {
    FormatSettings().ShortDateFormat = "dd/mm/yyyy";
    EXPECT_EQ(QuotedDateText(EncodeDate(2026, 12, 1) + 0.75), "'01/12/2026'");
    FormatSettings().ShortDateFormat = "m/d/yyyy";
    EXPECT_EQ(QuotedDateText(EncodeDate(2026, 12, 7)), "'12/7/2026'");
    FormatSettings().ShortDateFormat = "dd'mm'yyyy";
    EXPECT_EQ(DateToStr(EncodeDate(2026, 12, 7)), "07mm2026");
}

TEST_F(FormatSettingsTest, QuotedDateTextDoublesQuotesOfTheFormat) {
    FormatSettings().ShortDateFormat = "dd\"'\"mm\"'\"yyyy";
    EXPECT_EQ(QuotedDateText(EncodeDate(2026, 12, 7)), "'07''12''2026'");
}

TEST_F(FormatSettingsTest, SqlDateTextIsIsoWhateverTheRegionalFormat) {
    FormatSettings().ShortDateFormat = "dd/mm/yyyy";
    EXPECT_EQ(SqlDateText(EncodeDate(2026, 1, 12) + 0.5), "'2026-01-12'");
}

TEST_F(FormatSettingsTest, StrToDateReadsInTheFormatsOrder) {
    FormatSettings().ShortDateFormat = "dd/mm/yyyy";
    EXPECT_DOUBLE_EQ(StrToDate("01/12/2026"), EncodeDate(2026, 12, 1));
    EXPECT_DOUBLE_EQ(StrToDate(" 1/2/2026 "), EncodeDate(2026, 2, 1));
    FormatSettings().ShortDateFormat = "mm/dd/yyyy";
    EXPECT_DOUBLE_EQ(StrToDate("01/12/2026"), EncodeDate(2026, 1, 12));
    FormatSettings().ShortDateFormat = "yyyy-mm-dd";
    EXPECT_DOUBLE_EQ(StrToDate("2026-12-09"), EncodeDate(2026, 12, 9));
}

TEST_F(FormatSettingsTest, StrToDateRefusesWhatIsNoDate) {
    FormatSettings().ShortDateFormat = "dd/mm/yyyy";
    for (const char* text : {"", "31/02/2026", "1/2", "1/2/3/4", "aa/bb/cccc", "01-12-2026", "01//2026"}) {
        try {
            StrToDate(text);
            ADD_FAILURE() << text;
        } catch (const EConvertError& error) {
            EXPECT_EQ(error.Message(), "'" + std::string(text) + "' is not a valid date");
        }
    }
}

TEST_F(FormatSettingsTest, TimeUsesTheLongTimeFormat) {
    FormatSettings().LongTimeFormat = "hh:nn:ss";
    EXPECT_EQ(TimeToStr(EncodeTime(10, 15, 2, 0)), "10:15:02");
    FormatSettings().LongTimeFormat = "h:nn:ss AMPM";
    EXPECT_EQ(TimeToStr(EncodeTime(13, 5, 0, 0)), "1:05:00 PM");
    EXPECT_EQ(TimeToStr(EncodeTime(0, 5, 0, 0)), "12:05:00 AM");
}

TEST_F(FormatSettingsTest, ProcessLocaleAlwaysGivesFourDigitYears) {
    const TFormatSettings settings = TFormatSettings::FromProcessLocale();
    EXPECT_NE(settings.ShortDateFormat.find("yyyy"), std::string::npos) << settings.ShortDateFormat;
    EXPECT_NE(settings.DecimalSeparator, '\0');
}

}  // namespace
}  // namespace contado
