#include "grid/gridimages.h"

#include <QGuiApplication>

#include "platform/system/resourcebitmap.h"

namespace contado {

namespace {

const QColor kMonochromeTransparent(0xFF, 0xFF, 0xFF);
const QColor kTeal(0x00, 0x80, 0x80);
const QColor kTealStandIn(0x00, 0x7F, 0x7F);
const QColor kDefaultSearchColor(0xFF, 0xFF, 0x00);

// The image with every pixel of the transparent colour made clear.
QImage WithTransparency(const QImage& bitmap, const QColor& transparent) {
    QImage image = bitmap.convertToFormat(QImage::Format_ARGB32);
    image.setDevicePixelRatio(bitmap.devicePixelRatio());
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == transparent) {
                image.setPixelColor(x, y, Qt::transparent);
            }
        }
    }
    return image;
}

}  // namespace

TGridImages& TGridImages::Shared() {
    static TGridImages images;
    return images;
}

TGridImages::TGridImages() : searchColor_(kDefaultSearchColor) {
    const char* monochrome[] = {"DBGARROWEX", "DBEDITEX", "DBINSERTEX", "DBMULTIDOTEX", "DBMULTIARROWEX"};
    for (int index = 0; index < 5; ++index) {
        images_[index] = WithTransparency(LoadResourceBitmap(monochrome[index], 1), kMonochromeTransparent);
        doubleImages_[index] =
            WithTransparency(LoadResourceBitmap(monochrome[index], 2), kMonochromeTransparent);
    }
    images_[5] = WithTransparency(LoadResourceBitmap("DBGARROWEXW", 1), kTeal);
    doubleImages_[5] = WithTransparency(LoadResourceBitmap("DBGARROWEXW", 2), kTeal);
    BuildSearchArrow();
}

const QImage& TGridImages::Image(int index, qreal devicePixelRatio) const {
    return devicePixelRatio > 1.0 ? doubleImages_.at(index) : images_.at(index);
}

const QImage& TGridImages::Image(int index) const {
    return Image(index, qGuiApp != nullptr ? qGuiApp->devicePixelRatio() : 1.0);
}

void TGridImages::SetSearchColor(const QColor& color) {
    if (color != searchColor_) {
        searchColor_ = color;
        BuildSearchArrow();
    }
}

// The white arrow's pixels take the search colour; teal would vanish as the transparent
// colour, so a slightly darker teal stands in for it.
void TGridImages::BuildSearchArrow() {
    const QColor fill = searchColor_ == kTeal ? kTealStandIn : searchColor_;
    for (auto* images : {&images_, &doubleImages_}) {
        QImage image = (*images)[5];
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixelColor(x, y) == QColor(Qt::white)) {
                    image.setPixelColor(x, y, fill);
                }
            }
        }
        (*images)[6] = image;
    }
}

}  // namespace contado
