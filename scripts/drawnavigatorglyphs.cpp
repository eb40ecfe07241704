// Draws the record navigator's button glyphs into resources/: ten 16-colour bitmaps, 13 pixels
// high, each two images side by side: the enabled one (black shape) and the disabled one (the same
// shape embossed, grey over white moved one pixel right and down). Olive is the transparent colour,
// so the bottom-left pixel is olive. Each also as NAME@2x.png, twice the size, from the same shape
// with its stair-stepped edges smoothed, for screens of device pixel ratio 2. Built and run by
// scripts/draw-navigator-glyphs.sh.
#include <QGuiApplication>
#include <QImage>
#include <QString>
#include <cstdio>

#include "drawpixelshape.h"

namespace {

constexpr int kHeight = 13;

// Each shape row by row: 'X' marks a pixel of the shape; the row length is the image width.
struct Glyph {
    const char* name;
    const char* rows[kHeight];
};

const Glyph kGlyphs[] = {
    {"DBN_FIRST",
     {"..............", "..............", "...XX.....X...", "...XX....XX...", "...XX...XXX...",
      "...XX..XXXX...", "...XX.XXXXX...", "...XX..XXXX...", "...XX...XXX...", "...XX....XX...",
      "...XX.....X...", "..............", ".............."}},
    {"DBN_PRIOR",
     {"..........", "..........", "......X...", ".....XX...", "....XXX...", "...XXXX...", "..XXXXX...",
      "...XXXX...", "....XXX...", ".....XX...", "......X...", "..........", ".........."}},
    {"DBN_NEXT",
     {"..........", "..........", "...X......", "...XX.....", "...XXX....", "...XXXX...", "...XXXXX..",
      "...XXXX...", "...XXX....", "...XX.....", "...X......", "..........", ".........."}},
    {"DBN_LAST",
     {"..............", "..............", "...X.....XX...", "...XX....XX...", "...XXX...XX...",
      "...XXXX..XX...", "...XXXXX.XX...", "...XXXX..XX...", "...XXX...XX...", "...XX....XX...",
      "...X.....XX...", "..............", ".............."}},
    {"DBN_INSERT",
     {"..............", "..............", "......XX......", "......XX......", "......XX......",
      "......XX......", "..XXXXXXXXXX..", "..XXXXXXXXXX..", "......XX......", "......XX......",
      "......XX......", "......XX......", ".............."}},
    {"DBN_DELETE",
     {"..............", "..............", "..............", "..............", "..............",
      "..............", "..XXXXXXXXXX..", "..XXXXXXXXXX..", "..............", "..............",
      "..............", "..............", ".............."}},
    {"DBN_EDIT",
     {"..............", "..............", "......XX......", "......XX......", ".....XXXX.....",
      ".....XXXX.....", "....XXXXXX....", "....XXXXXX....", "...XXXXXXXX...", "...XXXXXXXX...",
      "..............", "..............", ".............."}},
    {"DBN_POST",
     {"..............", "..............", "...........X..", "..........XX..", ".........XX...",
      "..X.....XX....", "..XX...XX.....", "...XX.XX......", "....XXX.......", ".....X........",
      "..............", "..............", ".............."}},
    {"DBN_CANCEL",
     {"..............", "..............", "...XX.....XX..", "....XX...XX...", ".....XX.XX....",
      "......XXX.....", "......XXX.....", ".....XX.XX....", "....XX...XX...", "...XX.....XX..",
      "..............", "..............", ".............."}},
    {"DBN_REFRESH",
     {"..............", "..............", ".....XXXX.X...", "....X....XX...", "...X....XXX...",
      "...X..........", "...X.......X..", "...X.......X..", "..........X...", "...XXX....X...",
      "...XX....X....", "...X.XXXX.....", ".............."}},
};

// The standard 16 colours.
enum { kBlack = 0, kOlive = 3, kGrey = 8, kWhite = 15 };

QList<QRgb> StandardColours() {
    return {qRgb(0, 0, 0),          qRgb(0x80, 0, 0),    qRgb(0, 0x80, 0),    qRgb(0x80, 0x80, 0),
            qRgb(0, 0, 0x80),       qRgb(0x80, 0, 0x80), qRgb(0, 0x80, 0x80), qRgb(0xC0, 0xC0, 0xC0),
            qRgb(0x80, 0x80, 0x80), qRgb(0xFF, 0, 0),    qRgb(0, 0xFF, 0),    qRgb(0xFF, 0xFF, 0),
            qRgb(0, 0, 0xFF),       qRgb(0xFF, 0, 0xFF), qRgb(0, 0xFF, 0xFF), qRgb(0xFF, 0xFF, 0xFF)};
}

PixelRows Rows(const Glyph& glyph) {
    return PixelRows(glyph.rows, glyph.rows + kHeight);
}

// The bitmap at 1 or 2 device pixels per pixel; the emboss moves one pixel at either size.
QImage Bitmap(const Glyph& glyph, int scale) {
    const PixelRows shape = scale == 1 ? Rows(glyph) : Doubled(Rows(glyph));
    const int width = static_cast<int>(shape[0].size());
    const int height = static_cast<int>(shape.size());
    QImage image(2 * width, height, QImage::Format_Indexed8);
    image.setColorTable(StandardColours());
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, InRows(shape, x, y) ? kBlack : kOlive);
            const int disabled = InRows(shape, x, y)                     ? kGrey
                                 : InRows(shape, x - scale, y - scale) ? kWhite
                                                                         : kOlive;
            image.setPixel(width + x, y, disabled);
        }
    }
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: drawnavigatorglyphs RESOURCE_FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    bool written = true;
    for (const Glyph& glyph : kGlyphs) {
        for (const int scale : {1, 2}) {
            const QString path = folder + "/" + glyph.name + (scale == 2 ? "@2x" : "") + ".png";
            if (!Bitmap(glyph, scale).save(path, "PNG")) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
                written = false;
            }
        }
    }
    return written ? 0 : 1;
}
