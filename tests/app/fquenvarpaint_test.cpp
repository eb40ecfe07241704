#include <QImage>

#include "controls/panel.h"
#include "controls/speedbutton.h"
#include "platform/system/resourcebitmap.h"
#include "platform/system/systemcolors.h"
#include "tests/app/mainwindowfixture.h"

namespace contado {
namespace {

using MainWindowPaint = MainWindowTest;

bool SameBlock(const QImage& image, QPoint at, const QImage& picture) {
    return image.copy(QRect(at, picture.size())).convertToFormat(QImage::Format_RGB888) ==
           picture.convertToFormat(QImage::Format_RGB888);
}

// Picture pixels of a disabled button: only the engraving colours over the face.
bool OnlyEngraved(const QImage& block) {
    for (int y = 0; y < block.height(); ++y) {
        for (int x = 0; x < block.width(); ++x) {
            const QColor c = block.pixelColor(x, y);
            if (c != clBtnFace && c != clBtnHighlight && c != clBtnShadow) {
                return false;
            }
        }
    }
    return true;
}

TEST_F(MainWindowPaint, ClientAreaBackgroundAndPanelBevels) {
    Open();
    const QImage image = window_->grab().toImage();
    image.save(CONTADO_BINARY_DIR "/fquenvar.png");
    ASSERT_EQ(image.size(), QSize(346, 255));
    EXPECT_EQ(image.pixelColor(340, 30), clBtnFace) << "Panel2 background";
    EXPECT_EQ(image.pixelColor(300, 120), clBtnFace) << "group box background";
    // Panel2, rows 0 to 56: raised.
    EXPECT_EQ(image.pixelColor(100, 0), clBtnHighlight);
    EXPECT_EQ(image.pixelColor(0, 30), clBtnHighlight);
    EXPECT_EQ(image.pixelColor(345, 30), clBtnShadow);
    EXPECT_EQ(image.pixelColor(100, 56), clBtnShadow);
    // Panel1, rows 203 to 254: raised.
    EXPECT_EQ(image.pixelColor(20, 203), clBtnHighlight);
    EXPECT_EQ(image.pixelColor(0, 230), clBtnHighlight);
    EXPECT_EQ(image.pixelColor(345, 230), clBtnShadow);
    EXPECT_EQ(image.pixelColor(20, 254), clBtnShadow);
    EXPECT_EQ(image.pixelColor(20, 230), clBtnFace);
}

TEST_F(MainWindowPaint, ButtonPicturesAboveTheirCaptions) {
    Open();
    const QImage image = window_->grab().toImage();
    const QImage cross = LoadResourceBitmap("cancelar.png");
    const QImage arrows = LoadResourceBitmap("ejecutar.png");
    ASSERT_EQ(cross.size(), QSize(46, 32));
    ASSERT_EQ(arrows.size(), QSize(46, 32));
    EXPECT_EQ(cross.depth(), 32) << "24-bit colour, read as RGB32";
    EXPECT_FALSE(cross.hasAlphaChannel());

    const QPoint crossAt =
        window_->SpeedButton2->mapTo(window_, window_->SpeedButton2->GlyphRect().topLeft());
    const int glyphTop = (50 - 32 - window_->SpeedButton2->fontMetrics().height()) / 2;
    EXPECT_EQ(crossAt, QPoint(237 + 9, 203 + 1 + glyphTop)) << "centred as a block with the caption";
    EXPECT_TRUE(SameBlock(image, crossAt, cross)) << "the red cross, its background the button face";
    EXPECT_GT(image.pixelColor(crossAt + QPoint(23, 16)).red(), 200);

    const QPoint arrowsAt =
        window_->SpeedButton3->mapTo(window_, window_->SpeedButton3->GlyphRect().topLeft());
    EXPECT_EQ(arrowsAt, QPoint(61 + 9, 203 + 1 + glyphTop));
    const QImage disabled = image.copy(QRect(arrowsAt, arrows.size()));
    EXPECT_FALSE(SameBlock(image, arrowsAt, arrows));
    EXPECT_TRUE(OnlyEngraved(disabled)) << "disabled: engraved, no green";
    window_->SpeedButton3->setEnabled(true);
    EXPECT_TRUE(SameBlock(window_->grab().toImage(), arrowsAt, arrows)) << "enabled: the green arrows";
}

TEST_F(MainWindowPaint, WorkingPanelHasItsDoubleBevelAndNavyCaption) {
    Open();
    window_->Panel5->show();
    const QImage image = window_->grab().toImage();
    image.save(CONTADO_BINARY_DIR "/fquenvar-working.png");
    EXPECT_EQ(image.pixelColor(8, 66), clBtnHighlight) << "outer raised";
    EXPECT_EQ(image.pixelColor(344, 106), clBtnShadow);
    EXPECT_EQ(image.pixelColor(20, 67), clBtnShadow) << "inner lowered";
    EXPECT_EQ(image.pixelColor(343, 90), clBtnHighlight);
    int navy = 0;
    for (int y = 68; y < 105; ++y) {
        for (int x = 10; x < 342; ++x) {
            const QColor c = image.pixelColor(x, y);
            navy += c.blue() > c.red() + 40 && c.blue() > c.green() + 40;
        }
    }
    EXPECT_GT(navy, 100) << "the caption in navy";
}

}  // namespace
}  // namespace contado
