#include <gtest/gtest.h>

#include <QImage>
#include <QtTest/QTest>

#include "controls/datetimepicker.h"
#include "controls/groupbox.h"
#include "controls/panel.h"
#include "controls/speedbutton.h"
#include "core/formatsettings.h"
#include "platform/system/systemcolors.h"

namespace contado {
namespace {

TEST(Panel, RaisedOuterAndLoweredInnerBevelsAroundACentredCaption) {
    TPanel panel;
    panel.resize(40, 20);
    panel.SetBevelInner(bvLowered);
    const QImage image = panel.grab().toImage();
    EXPECT_EQ(image.pixelColor(0, 0), clBtnHighlight);
    EXPECT_EQ(image.pixelColor(20, 0), clBtnHighlight);
    EXPECT_EQ(image.pixelColor(0, 10), clBtnHighlight);
    EXPECT_EQ(image.pixelColor(39, 10), clBtnShadow);
    EXPECT_EQ(image.pixelColor(20, 19), clBtnShadow);
    EXPECT_EQ(image.pixelColor(39, 0), clBtnShadow) << "top-right corner belongs to the bottom colour";
    EXPECT_EQ(image.pixelColor(0, 19), clBtnShadow) << "bottom-left corner belongs to the bottom colour";
    EXPECT_EQ(image.pixelColor(1, 1), clBtnShadow) << "inner bevel lowered";
    EXPECT_EQ(image.pixelColor(38, 10), clBtnHighlight);
    EXPECT_EQ(image.pixelColor(20, 18), clBtnHighlight);
    EXPECT_EQ(image.pixelColor(20, 10), clBtnFace);
    EXPECT_EQ(panel.InnerRect(), QRect(2, 2, 36, 16));
}

TEST(Panel, CaptionIsCentredInTheInnerArea) {
    TPanel panel;
    panel.resize(200, 41);
    panel.SetCaption("XXXX");
    const QImage image = panel.grab().toImage();
    int left = 200, right = -1, top = 41, bottom = -1;
    for (int y = 1; y < 40; ++y) {
        for (int x = 1; x < 199; ++x) {
            if (image.pixelColor(x, y) != clBtnFace) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
        }
    }
    ASSERT_GE(right, left);
    EXPECT_LE(std::abs((left + right) - 199), 3);
    EXPECT_LE(std::abs((top + bottom) - 40), 6);
}

TEST(GroupBox, EtchedFrameThroughTheCaption) {
    TGroupBox box("Origen:");
    box.resize(100, 60);
    const QImage image = box.grab().toImage();
    const int frameTop = box.fontMetrics().height() / 2 - 1;
    EXPECT_EQ(image.pixelColor(0, 30), clBtnShadow);
    EXPECT_EQ(image.pixelColor(1, 30), clBtnHighlight);
    EXPECT_EQ(image.pixelColor(98, 30), clBtnShadow);
    EXPECT_EQ(image.pixelColor(99, 30), clBtnHighlight);
    EXPECT_EQ(image.pixelColor(4, frameTop), clBtnShadow);
    EXPECT_EQ(image.pixelColor(4, frameTop + 1), clBtnHighlight);
    EXPECT_EQ(image.pixelColor(50, 58), clBtnShadow);
    EXPECT_EQ(image.pixelColor(50, 59), clBtnHighlight);
    EXPECT_EQ(image.pixelColor(0, 0), clBtnFace) << "above the frame";
    bool captionCoversLine = false;
    for (int x = 8; x < 20; ++x) {
        captionCoversLine |= image.pixelColor(x, frameTop) != clBtnShadow;
    }
    EXPECT_TRUE(captionCoversLine);
}

QImage Glyph() {
    QImage glyph(10, 8, QImage::Format_RGB888);
    glyph.fill(QColor(0xFF, 0x00, 0xFF));
    for (int x = 2; x < 8; ++x) {
        glyph.setPixelColor(x, 4, Qt::red);
    }
    return glyph;
}

TEST(SpeedButton, PictureAboveCaptionWithoutItsBackground) {
    TSpeedButton button("Ok");
    button.resize(40, 40);
    button.SetGlyph(Glyph());
    EXPECT_EQ(button.focusPolicy(), Qt::NoFocus);
    const QRect glyph = button.GlyphRect();
    EXPECT_EQ(glyph.size(), QSize(10, 8));
    EXPECT_EQ(glyph.left(), 15);
    EXPECT_EQ(button.CaptionRect().top(), glyph.bottom() + 1);
    EXPECT_EQ(glyph.top(), (40 - 8 - button.fontMetrics().height()) / 2);
    const QImage image = button.grab().toImage();
    EXPECT_EQ(image.pixelColor(glyph.left() + 4, glyph.top() + 4), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(glyph.left(), glyph.top()), clBtnFace) << "background colour left out";
    EXPECT_EQ(image.pixelColor(0, 0), clBtnFace) << "flat: no edge without the mouse";
}

TEST(SpeedButton, DisabledPictureIsEngravedAndClicksDoNothing) {
    TSpeedButton button("Ok");
    button.resize(40, 40);
    button.SetGlyph(Glyph());
    button.setEnabled(false);
    int clicks = 0;
    QObject::connect(&button, &QAbstractButton::clicked, [&clicks] { ++clicks; });
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(clicks, 0);
    const QImage image = button.grab().toImage();
    const QPoint line = button.GlyphRect().topLeft() + QPoint(4, 4);
    EXPECT_EQ(image.pixelColor(line), clBtnShadow);
    EXPECT_EQ(image.pixelColor(line + QPoint(1, 1)), clBtnHighlight);
}

TEST(DateTimePicker, KeepsTheTimeOfDayWhenTheDayChanges) {
    const TFormatSettings saved = FormatSettings();
    FormatSettings().ShortDateFormat = "dd/mm/yyyy";
    TDateTimePicker picker;
    picker.SetDateTime(37641.280825);
    EXPECT_EQ(picker.date(), QDate(2003, 1, 20));
    EXPECT_DOUBLE_EQ(picker.DateTime(), 37641.280825);
    EXPECT_EQ(picker.displayFormat(), "dd/MM/yyyy");
    EXPECT_EQ(picker.text(), "20/01/2003");
    EXPECT_TRUE(picker.calendarPopup());
    picker.setDate(QDate(2003, 1, 25));
    EXPECT_NEAR(picker.DateTime(), 37646.280825, 1e-9);
    FormatSettings() = saved;
}

TEST(DateTimePicker, DisplayFormatFollowsTheRegionalShortDate) {
    EXPECT_EQ(TDateTimePicker::DisplayFormatFor("dd/mm/yyyy"), "dd/MM/yyyy");
    EXPECT_EQ(TDateTimePicker::DisplayFormatFor("m/d/yy"), "M/d/yy");
    EXPECT_EQ(TDateTimePicker::DisplayFormatFor("yyyy-MM-dd"), "yyyy-MM-dd");
    EXPECT_EQ(TDateTimePicker::DisplayFormatFor("dd.mm.yyyy г"), "dd.MM.yyyy 'г'");
}

}  // namespace
}  // namespace contado
