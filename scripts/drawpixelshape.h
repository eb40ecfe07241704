// Pixel shapes of the glyph drawers (drawnavigatorglyphs.cpp, drawgridglyphs.cpp): rows of 'X' for
// the shape's pixels, and the same shape at twice the size for the @2x pictures.
#pragma once

#include <string>
#include <vector>

using PixelRows = std::vector<std::string>;

inline bool InRows(const PixelRows& rows, int x, int y) {
    return y >= 0 && y < static_cast<int>(rows.size()) && x >= 0 &&
           x < static_cast<int>(rows[y].size()) && rows[y][x] == 'X';
}

// Scale2x, with one more rule for lines one pixel thin: each pixel becomes four, and a corner of the
// four takes the colour of the two neighbours beside it when they agree and the other two do not
// (Scale2x), or when both are of the shape, the pixel is not, and they touch only at that corner
// (the diagonal pixel between them is not of the shape either), so a stair of single pixels becomes a stair of half pixels and a
// diagonal line stays joined, while straight edges stay straight and no colour is added. Each 2x2
// block keeps its pixel's colour at least once.
inline PixelRows Doubled(const PixelRows& rows) {
    PixelRows doubled;
    for (int y = 0; y < static_cast<int>(rows.size()); ++y) {
        std::string top, bottom;
        for (int x = 0; x < static_cast<int>(rows[y].size()); ++x) {
            const auto in = [&rows, x, y](int dx, int dy) { return InRows(rows, x + dx, y + dy); };
            const bool p = in(0, 0), a = in(0, -1), b = in(1, 0), c = in(-1, 0), d = in(0, 1);
            // The corner between neighbours `one` and `two`, the pixel `diagonal` across it, and the
            // two other neighbours.
            const auto corner = [p](bool one, bool two, bool diagonal, bool other1, bool other2) {
                return one == two && ((one != other1 && two != other2) || (one && !p && !diagonal)) ? one : p;
            };
            bool quarter[4] = {corner(c, a, in(-1, -1), d, b), corner(a, b, in(1, -1), c, d),
                               corner(c, d, in(-1, 1), a, b), corner(d, b, in(1, 1), c, a)};
            if (quarter[0] != p && quarter[1] != p && quarter[2] != p && quarter[3] != p) {
                quarter[0] = quarter[1] = quarter[2] = quarter[3] = p;
            }
            const auto mark = [](bool set) { return set ? 'X' : '.'; };
            top += mark(quarter[0]);
            top += mark(quarter[1]);
            bottom += mark(quarter[2]);
            bottom += mark(quarter[3]);
        }
        doubled.push_back(top);
        doubled.push_back(bottom);
    }
    return doubled;
}
