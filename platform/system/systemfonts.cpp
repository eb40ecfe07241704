#include "platform/system/systemfonts.h"

namespace contado {

namespace {

QFont FontOf(const QString& family, int pixelSize) {
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

}  // namespace

QFont MsSansSerifFont(int pixelSize) {
    QFont font = FontOf(QStringLiteral("DejaVu Sans"), pixelSize);
    font.setStretch(QFont::SemiCondensed);
    return font;
}

QFont ArialNarrowFont(int pixelSize) {
    return FontOf(QStringLiteral("Liberation Sans Narrow"), pixelSize);
}

}  // namespace contado
