#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>

#include "controls/align.h"
#include "controls/captionpanel.h"
#include "controls/dbnavigator.h"
#include "platform/system/systemcolors.h"
#include "platform/system/systemfonts.h"

namespace contado {
namespace {

// The box around the pixels of a part of an image that are not of its background colour.
QRect InkBox(const QImage& image, const QRect& area, const QColor& background) {
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixelColor(x, y) != background) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

// An editor's panel: a client child and a navigator bar along the bottom.
class CaptionPanel : public testing::Test {
  protected:
    CaptionPanel() : client_(new QWidget(&panel_)), navigator_(new TDBNavigator(&panel_)) {
        panel_.SetCaption("Tarifas");
        navigator_->resize(303, 18);
        SetAlign(navigator_, alBottom);
        SetAlign(client_, alClient);
        panel_.resize(305, 169);
        panel_.show();
    }

    TCaptionPanel panel_;
    QWidget* client_;
    TDBNavigator* navigator_;
};

TEST_F(CaptionPanel, BevelAndCaptionBarInTheSystemColours) {
    client_->hide();
    navigator_->hide();
    const QImage image = panel_.grab().toImage();
    EXPECT_EQ(image.pixelColor(0, 0), clBtnHighlight);
    EXPECT_EQ(image.pixelColor(0, 100), clBtnHighlight);
    EXPECT_EQ(image.pixelColor(304, 100), clBtnShadow);
    EXPECT_EQ(image.pixelColor(150, 168), clBtnShadow);
    EXPECT_EQ(image.pixelColor(1, 1), clHighlight) << "the bar starts inside the bevel";
    EXPECT_EQ(image.pixelColor(303, 18), clHighlight) << "and ends on row 18";
    EXPECT_EQ(image.pixelColor(200, 1), clHighlight);
    EXPECT_EQ(image.pixelColor(200, 19), clBtnFace);
    EXPECT_EQ(image.pixelColor(1, 19), clBtnFace);
    EXPECT_EQ(image.pixelColor(200, 0), clBtnHighlight);
}

TEST_F(CaptionPanel, CaptionTextAtTheBarsTopLeftNotCentred) {
    const QImage image = panel_.grab().toImage();
    const QRect ink = InkBox(image, QRect(1, 1, 303, 18), clHighlight);
    ASSERT_FALSE(ink.isEmpty());
    int brightest = 0;
    for (int y = ink.top(); y <= ink.bottom(); ++y) {
        for (int x = ink.left(); x <= ink.right(); ++x) {
            brightest = std::max(brightest, image.pixelColor(x, y).lightness());
        }
    }
    EXPECT_GE(brightest, 230) << "the text in the highlight text colour, smoothed at its edges";
    const QFontMetrics metrics(MsSansSerifFont(11));
    EXPECT_GE(ink.left(), 1) << "the text starts one pixel right of the bar's edge; glyphs may lean";
    EXPECT_LE(ink.left(), 3);
    EXPECT_LE(std::abs(ink.width() - metrics.horizontalAdvance("Tarifas")), 2);
    const int capitalTop = 1 + metrics.ascent() - metrics.capHeight();
    EXPECT_LE(std::abs(ink.top() - capitalTop), 1) << "the line box begins at row 1";
    EXPECT_LE(ink.bottom(), 1 + metrics.ascent() + 1);
    EXPECT_EQ(InkBox(image, QRect(1, 19, 303, 131), clBtnFace), QRect()) << "nothing below the bar";
}

TEST_F(CaptionPanel, ChildrenFillTheSpaceBelowTheBar) {
    EXPECT_EQ(navigator_->geometry(), QRect(1, 150, 303, 18));
    EXPECT_EQ(client_->geometry(), QRect(1, 19, 303, 131));

    panel_.resize(400, 250);
    EXPECT_EQ(navigator_->geometry(), QRect(1, 231, 398, 18));
    EXPECT_EQ(client_->geometry(), QRect(1, 19, 398, 212));
    const QImage image = panel_.grab().toImage();
    EXPECT_EQ(image.pixelColor(398, 18), clHighlight);
    EXPECT_EQ(image.pixelColor(0, 249), clBtnShadow);
}

}  // namespace
}  // namespace contado
