// Draws the grid's indicator glyphs into resources/: six bitmaps of 6 x 11 pixels. Five are
// monochrome, black shapes on white (the transparent colour); DBGARROWEXW is a 16-colour bitmap,
// a white arrow on teal (the transparent colour). Each also as NAME@2x.png, 12 x 22, from the same
// shape with its stair-stepped edges smoothed, for screens of device pixel ratio 2. Built and run by
// scripts/draw-grid-glyphs.sh.
#include <QGuiApplication>
#include <QImage>
#include <QString>
#include <cstdio>

#include "drawpixelshape.h"

namespace {

constexpr int kWidth = 6;
constexpr int kHeight = 11;

// Each glyph row by row: 'X' marks a pixel of the shape.
struct Glyph {
    const char* name;
    const char* rows[kHeight];
};

const Glyph kArrow = {"DBGARROWEX",
                      {"......", "X.....", "XX....", "XXX...", "XXXX..", "XXXXX.", "XXXX..", "XXX...",
                       "XX....", "X.....", "......"}};
const Glyph kMonochrome[] = {
    kArrow,
    {"DBEDITEX",
     {"......", "XX.XX.", "..X...", "..X...", "..X...", "..X...", "..X...", "..X...", "..X...", "XX.XX.",
      "......"}},
    {"DBINSERTEX",
     {"......", "......", "......", "..X...", "X.X.X.", ".XXX..", "X.X.X.", "..X...", "......", "......",
      "......"}},
    {"DBMULTIDOTEX",
     {"......", "......", "......", "......", "..XX..", ".XXXX.", ".XXXX.", "..XX..", "......", "......",
      "......"}},
    {"DBMULTIARROWEX",
     {"X.....", "XX....", "XXX...", "XX....", "X.....", "......", "..XX..", ".XXXX.", ".XXXX.", "..XX..",
      "......"}},
};

bool Save(const QImage& image, const QString& folder, const char* name, int scale) {
    const QString path = folder + "/" + name + (scale == 2 ? "@2x" : "") + ".png";
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

// The shape at 1 or 2 device pixels per pixel.
PixelRows Shape(const Glyph& glyph, int scale) {
    const PixelRows rows(glyph.rows, glyph.rows + kHeight);
    return scale == 1 ? rows : Doubled(rows);
}

QImage MonochromeBitmap(const Glyph& glyph, int scale) {
    const PixelRows shape = Shape(glyph, scale);
    QImage image(kWidth * scale, kHeight * scale, QImage::Format_Mono);
    image.fill(0);  // the scan lines' padding bits too, so the file is the same at every run
    image.setColorTable({qRgb(0xFF, 0xFF, 0xFF), qRgb(0x00, 0x00, 0x00)});
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            image.setPixel(x, y, InRows(shape, x, y) ? 1 : 0);
        }
    }
    return image;
}

// The standard 16 colours; index 6 is teal, 15 white.
QImage SixteenColourBitmap(const Glyph& glyph, int scale) {
    const PixelRows shape = Shape(glyph, scale);
    QImage image(kWidth * scale, kHeight * scale, QImage::Format_Indexed8);
    image.setColorTable({qRgb(0, 0, 0), qRgb(0x80, 0, 0), qRgb(0, 0x80, 0), qRgb(0x80, 0x80, 0),
                         qRgb(0, 0, 0x80), qRgb(0x80, 0, 0x80), qRgb(0, 0x80, 0x80), qRgb(0xC0, 0xC0, 0xC0),
                         qRgb(0x80, 0x80, 0x80), qRgb(0xFF, 0, 0), qRgb(0, 0xFF, 0), qRgb(0xFF, 0xFF, 0),
                         qRgb(0, 0, 0xFF), qRgb(0xFF, 0, 0xFF), qRgb(0, 0xFF, 0xFF), qRgb(0xFF, 0xFF, 0xFF)});
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            image.setPixel(x, y, InRows(shape, x, y) ? 15 : 6);
        }
    }
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: drawgridglyphs RESOURCE_FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    bool written = true;
    for (const int scale : {1, 2}) {
        for (const Glyph& glyph : kMonochrome) {
            written = Save(MonochromeBitmap(glyph, scale), folder, glyph.name, scale) && written;
        }
        written = Save(SixteenColourBitmap(kArrow, scale), folder, "DBGARROWEXW", scale) && written;
    }
    return written ? 0 : 1;
}
