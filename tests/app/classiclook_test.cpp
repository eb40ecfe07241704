#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>

#include "platform/system/systemcolors.h"
#include "tests/app/mainwindowfixture.h"

// The standard controls of the window as the classic dialogs draw them.

namespace contado {
namespace {

using ClassicLook = MainWindowTest;

int DarkPixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += image.pixelColor(x, y) == clWindowText ? 1 : 0;
        }
    }
    return count;
}

TEST_F(ClassicLook, TheServerListHasASquareFlatFrameAndAWhiteField) {
    Open();
    const QImage image = window_->Servidor->grab().toImage();
    ASSERT_EQ(image.size(), QSize(120, 21));
    for (const QPoint corner : {QPoint(0, 0), QPoint(119, 0), QPoint(0, 20), QPoint(119, 20)}) {
        EXPECT_EQ(image.pixelColor(corner), clBtnShadow) << corner.x() << "," << corner.y();
    }
    EXPECT_EQ(image.pixelColor(60, 0), clBtnShadow);
    EXPECT_EQ(image.pixelColor(1, 1), clWindow);
    EXPECT_EQ(image.pixelColor(20, 10), clWindow);
    EXPECT_EQ(image.pixelColor(105, 3), clBtnFace) << "the button";
    EXPECT_EQ(image.pixelColor(110, 11), clWindowText) << "the arrow";
}

TEST_F(ClassicLook, TheNiifBoxMarksTheFocusAroundItsCaption) {
    Open();
    const int unfocused = DarkPixels(window_->ckniif->grab().toImage());
    window_->ckniif->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(window_->ckniif->hasFocus());
    const QImage focused = window_->ckniif->grab().toImage();
    // The dotted mark runs along the caption's top: every other pixel dark.
    EXPECT_GT(DarkPixels(focused), unfocused + 20);
    window_->Cia->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(DarkPixels(window_->ckniif->grab().toImage()), unfocused);
}

}  // namespace
}  // namespace contado
