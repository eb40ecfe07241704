// Painting at device pixel ratio 2: this program runs with QT_SCALE_FACTOR=2 (tests/CMakeLists.txt),
// which Qt reads when the application object starts. A picture merely enlarged from 1x shows every
// 1x pixel as a uniform 2x2 block; the caption's text and the glyphs must show finer detail.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPainter>

#include "controls/captionpanel.h"
#include "controls/navbutton.h"
#include "controls/speedbutton.h"
#include "grid/gridimages.h"
#include "platform/system/resourcebitmap.h"

namespace contado {
namespace {

// Some 2x2 cell of device pixels, on the grid of the 1x pixels, whose four pixels are not all alike.
bool HasFinerDetail(const QImage& image, const QRect& area) {
    for (int y = area.top() & ~1; y + 1 <= area.bottom(); y += 2) {
        for (int x = area.left() & ~1; x + 1 <= area.right(); x += 2) {
            const QRgb first = image.pixel(x, y);
            if (image.pixel(x + 1, y) != first || image.pixel(x, y + 1) != first ||
                image.pixel(x + 1, y + 1) != first) {
                return true;
            }
        }
    }
    return false;
}

// Every 1x pixel's colour is among the four of its cell at 2x: the same shape, only finer.
bool SameShape(const QImage& single, const QImage& doubled) {
    if (doubled.size() != 2 * single.size()) {
        return false;
    }
    for (int y = 0; y < single.height(); ++y) {
        for (int x = 0; x < single.width(); ++x) {
            const QRgb colour = single.pixel(x, y);
            if (doubled.pixel(2 * x, 2 * y) != colour && doubled.pixel(2 * x + 1, 2 * y) != colour &&
                doubled.pixel(2 * x, 2 * y + 1) != colour && doubled.pixel(2 * x + 1, 2 * y + 1) != colour) {
                return false;
            }
        }
    }
    return true;
}

QImage Grab(QWidget& widget) {
    widget.show();
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

TEST(HighDpi, RunsAtRatioTwo) {
    ASSERT_EQ(qGuiApp->devicePixelRatio(), 2.0) << "QT_SCALE_FACTOR=2 not in force";
}

TEST(HighDpi, CaptionTextAtTheDevicePixelsAndTheBevelAtItsPlace) {
    TCaptionPanel panel;
    panel.SetCaption("Tarifas");
    panel.resize(305, 169);
    const QImage image = Grab(panel);
    ASSERT_EQ(image.size(), QSize(610, 338));
    EXPECT_TRUE(HasFinerDetail(image, QRect(2, 2, 606, 36))) << "the caption is an enlarged 1x text";
    EXPECT_EQ(image.pixel(1, 1), QColor(0xFF, 0xFF, 0xFF).rgb()) << "the bevel, two device pixels wide";
    EXPECT_EQ(image.pixel(2, 2), QColor(0x00, 0x78, 0xD7).rgb()) << "the bar inside it";
    EXPECT_EQ(image.pixel(609, 200), QColor(0xA0, 0xA0, 0xA0).rgb());
}

TEST(HighDpi, NavigatorGlyphsDrawnAtTwiceTheSizeFromTheSameShapes) {
    const char* names[] = {"DBN_FIRST", "DBN_PRIOR", "DBN_NEXT", "DBN_LAST",   "DBN_INSERT",
                           "DBN_DELETE", "DBN_EDIT", "DBN_POST", "DBN_CANCEL", "DBN_REFRESH"};
    for (int index = 0; index < kNavigateBtnCount; ++index) {
        const QImage single = LoadResourceBitmap(names[index], 1);
        const QImage doubled = LoadResourceBitmap(names[index]);
        EXPECT_EQ(doubled.devicePixelRatio(), 2.0) << names[index];
        EXPECT_TRUE(SameShape(single, doubled)) << names[index];
        EXPECT_TRUE(HasFinerDetail(doubled, doubled.rect())) << names[index];

        TNavButton button(static_cast<TNavigateBtn>(index));
        button.SetGlyph(doubled);
        EXPECT_EQ(button.Glyph().deviceIndependentSize().toSize(), QSize(single.width() / 2, single.height()));
        button.resize(30, 18);
        const QImage face = Grab(button);
        // The glyph centred as at 1x, its device pixels on the cells of the 1x pixels.
        const QPoint origin((30 - single.width() / 2) / 2, (18 - single.height()) / 2);
        const QImage shown = face.copy(QRect(2 * origin, QSize(doubled.width() / 2, doubled.height())));
        const QImage expected = button.Glyph().convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < expected.height(); ++y) {
            for (int x = 0; x < expected.width(); ++x) {
                if (qAlpha(expected.pixel(x, y)) == 255) {
                    ASSERT_EQ(shown.pixel(x, y), expected.pixel(x, y)) << names[index] << " " << x << "," << y;
                }
            }
        }
    }
}

TEST(HighDpi, GridIndicatorGlyphsAtTwiceTheSizeFromTheSameShapes) {
    const TGridImages& images = TGridImages::Shared();
    for (int index = 0; index < TGridImages::kCount; ++index) {
        const QImage& doubled = images.Image(index);
        EXPECT_EQ(doubled.devicePixelRatio(), 2.0) << index;
        EXPECT_TRUE(SameShape(images.Image(index, 1), doubled)) << index;
        EXPECT_TRUE(HasFinerDetail(doubled, doubled.rect())) << index;
    }
    // As the grid paints it: at the 1x place and size, with the 2x pixels.
    QImage strip(2 * QSize(12, 17), QImage::Format_RGB32);
    strip.setDevicePixelRatio(2);
    strip.fill(QColor(0xF0, 0xF0, 0xF0));
    QPainter(&strip).drawImage(QPoint(3, 3), images.Image(0));
    EXPECT_TRUE(HasFinerDetail(strip, QRect(6, 6, 12, 22)));
    EXPECT_EQ(strip.pixel(6, 8), QColor(Qt::black).rgb()) << "the arrow's tip, on the 1x place";
    EXPECT_EQ(strip.pixel(5, 8), QColor(0xF0, 0xF0, 0xF0).rgb());
}

TEST(HighDpi, ButtonPicturesAtTwiceTheSizeKeepTheirPlace) {
    for (const char* name : {"ejecutar.png", "cancelar.png"}) {
        const QImage doubled = LoadResourceBitmap(name);
        ASSERT_EQ(doubled.size(), QSize(92, 64)) << name;
        EXPECT_EQ(doubled.devicePixelRatio(), 2.0);
        TSpeedButton button("F2: Ejecutar");
        button.resize(120, 60);
        button.SetGlyph(doubled);
        EXPECT_EQ(button.GlyphRect().size(), QSize(46, 32)) << name;
        const QImage face = Grab(button);
        const QRect glyph = button.GlyphRect();
        EXPECT_TRUE(HasFinerDetail(face, QRect(2 * glyph.topLeft(), 2 * glyph.size()))) << name;
    }
}

}  // namespace
}  // namespace contado
