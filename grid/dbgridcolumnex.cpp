#include "grid/dbgridcolumnex.h"

#include <algorithm>

#include "data/dataset/dataset.h"
#include "grid/customdbgridex.h"

namespace contado {

TDBGridColumnEx::TDBGridColumnEx(TCustomDBGridEx* grid) : grid_(grid), title_(this) {}

void TDBGridColumnEx::SetFieldName(const std::string& name) {
    fieldName_ = name;
    Bind(grid_->DataSet());
    Changed(false);
}

void TDBGridColumnEx::Bind(const TDataSet* dataSet) {
    field_ = dataSet != nullptr && dataSet->Active() ? dataSet->FindField(fieldName_) : nullptr;
}

void TDBGridColumnEx::SetWidth(int width) {
    width_ = std::max(width, 0);
    Changed(true);
}

TAlignment TDBGridColumnEx::Alignment() const {
    if (alignment_) {
        return *alignment_;
    }
    return field_ != nullptr ? field_->Alignment() : taLeftJustify;
}

void TDBGridColumnEx::SetAlignment(TAlignment alignment) {
    alignment_ = alignment;
    Changed(false);
}

QColor TDBGridColumnEx::Color() const {
    return color_.value_or(grid_->Color());
}

void TDBGridColumnEx::SetColor(const QColor& color) {
    color_ = color;
    Changed(false);
}

QFont TDBGridColumnEx::Font() const {
    return font_.value_or(grid_->font());
}

void TDBGridColumnEx::SetFont(const QFont& font) {
    font_ = font;
    Changed(true);
}

bool TDBGridColumnEx::ReadOnly() const {
    if (readOnly_) {
        return *readOnly_;
    }
    return grid_->ReadOnly() || (field_ != nullptr && field_->ReadOnly());
}

void TDBGridColumnEx::SetReadOnly(bool readOnly) {
    readOnly_ = readOnly;
}

void TDBGridColumnEx::SetVisible(bool visible) {
    visible_ = visible;
    Changed(true);
}

QString TDBGridColumnEx::DisplayText() const {
    return field_ != nullptr ? QString::fromStdString(field_->DisplayText()) : QString();
}

void TDBGridColumnEx::Changed(bool sizeChanged) {
    grid_->ColumnChanged(sizeChanged);
}

}  // namespace contado
