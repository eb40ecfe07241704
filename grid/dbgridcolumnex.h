#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <optional>
#include <string>

#include "data/fields/field.h"
#include "grid/columntitleex.h"
#include "grid/gridoptions.h"

namespace contado {

class TCustomDBGridEx;
class TDataSet;

// One column of a data grid, showing one field of the dataset. Properties never set follow their
// defaults at every use: alignment the field's, colour and font the grid's, read-only the grid's or
// the field's.
class TDBGridColumnEx {
  public:
    static constexpr int kDefaultWidth = 64;

    explicit TDBGridColumnEx(TCustomDBGridEx* grid);

    TCustomDBGridEx* Grid() const { return grid_; }
    const std::string& FieldName() const { return fieldName_; }
    void SetFieldName(const std::string& name);
    // The bound field, or null while the dataset is closed or has no field of that name.
    TField* Field() const { return field_; }
    // Looks the field up again in the dataset (null: none).
    void Bind(const TDataSet* dataSet);

    int Width() const { return width_; }
    void SetWidth(int width);
    TColumnTitleEx& Title() { return title_; }
    const TColumnTitleEx& Title() const { return title_; }
    TAlignment Alignment() const;
    void SetAlignment(TAlignment alignment);
    QColor Color() const;
    void SetColor(const QColor& color);
    QFont Font() const;
    void SetFont(const QFont& font);
    bool ReadOnly() const;
    void SetReadOnly(bool readOnly);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    TColumnButtonStyleEx ButtonStyle() const { return buttonStyle_; }
    void SetButtonStyle(TColumnButtonStyleEx style) { buttonStyle_ = style; }

    // The field's display text; empty without a field.
    QString DisplayText() const;

    // Tells the grid that the column changed: a change of size lays it out again.
    void Changed(bool sizeChanged);

  private:
    TCustomDBGridEx* grid_;
    std::string fieldName_;
    TField* field_ = nullptr;
    int width_ = kDefaultWidth;
    TColumnTitleEx title_;
    std::optional<TAlignment> alignment_;
    std::optional<QColor> color_;
    std::optional<QFont> font_;
    std::optional<bool> readOnly_;
    bool visible_ = true;
    TColumnButtonStyleEx buttonStyle_ = cbsAuto;
};

}  // namespace contado
