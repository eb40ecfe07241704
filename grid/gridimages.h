#pragma once

#include <QColor>
#include <QImage>
#include <array>

namespace contado {

// The indicator glyphs, loaded once per process from the bitmap resources and shared by every
// grid: 0 arrow, 1 I-beam, 2 asterisk, 3 multi-selection dot, 4 arrow with dot, 5 white arrow, and
// 6 the arrow in the incremental-search colour, derived from 5. Transparent pixels have alpha 0.
// Each is kept at 1x and, for screens of device pixel ratio above 1, from its @2x bitmap (twice the
// pixels, device pixel ratio 2, painted at the same kWidth x kHeight).
class TGridImages {
  public:
    static constexpr int kCount = 7;
    static constexpr int kWidth = 6;
    static constexpr int kHeight = 11;

    static TGridImages& Shared();

    // The image for a paint device's ratio (QPaintDevice::devicePixelRatioF()).
    const QImage& Image(int index, qreal devicePixelRatio) const;
    // The image for the application's ratio (the highest of its screens).
    const QImage& Image(int index) const;
    QColor SearchColor() const { return searchColor_; }
    // Rebuilds image 6 when the colour differs.
    void SetSearchColor(const QColor& color);

  private:
    TGridImages();
    void BuildSearchArrow();

    std::array<QImage, kCount> images_;
    std::array<QImage, kCount> doubleImages_;
    QColor searchColor_;
};

}  // namespace contado
