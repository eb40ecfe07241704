#include "grid/columntitleex.h"

#include "grid/customdbgridex.h"
#include "grid/dbgridcolumnex.h"

namespace contado {

QString TColumnTitleEx::Caption() const {
    if (caption_) {
        return *caption_;
    }
    const TField* field = column_->Field();
    return QString::fromStdString(field != nullptr ? field->DisplayName() : column_->FieldName());
}

void TColumnTitleEx::SetCaption(const QString& caption) {
    caption_ = caption;
    column_->Changed(false);
}

void TColumnTitleEx::SetAlignment(TAlignment alignment) {
    alignment_ = alignment;
    column_->Changed(false);
}

QColor TColumnTitleEx::Color() const {
    return color_.value_or(column_->Grid()->FixedColor());
}

void TColumnTitleEx::SetColor(const QColor& color) {
    color_ = color;
    column_->Changed(false);
}

QFont TColumnTitleEx::Font() const {
    return font_.value_or(column_->Grid()->TitleFont());
}

void TColumnTitleEx::SetFont(const QFont& font) {
    font_ = font;
    column_->Changed(true);
}

}  // namespace contado
