#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <optional>

#include "data/fields/field.h"

namespace contado {

class TDBGridColumnEx;

// A column's title cell. A property never set follows its default at every use: the caption is the
// field's display name (the field name while no field is bound), the colour the grid's FixedColor,
// the font the grid's TitleFont.
class TColumnTitleEx {
  public:
    explicit TColumnTitleEx(TDBGridColumnEx* column) : column_(column) {}

    QString Caption() const;
    void SetCaption(const QString& caption);
    TAlignment Alignment() const { return alignment_.value_or(taLeftJustify); }
    void SetAlignment(TAlignment alignment);
    QColor Color() const;
    void SetColor(const QColor& color);
    QFont Font() const;
    void SetFont(const QFont& font);

  private:
    TDBGridColumnEx* column_;
    std::optional<QString> caption_;
    std::optional<TAlignment> alignment_;
    std::optional<QColor> color_;
    std::optional<QFont> font_;
};

}  // namespace contado
