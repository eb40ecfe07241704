#include "controls/accessiblenamedwidget.h"

#include <QWidget>
#include <utility>

namespace contado {

TAccessibleNamedWidget::TAccessibleNamedWidget(QWidget* widget, QAccessible::Role role, TNameOf nameOf)
    : QAccessibleWidget(widget, role), nameOf_(std::move(nameOf)) {}

QString TAccessibleNamedWidget::text(QAccessible::Text t) const {
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) {
        return nameOf_(*widget());
    }
    return QAccessibleWidget::text(t);
}

}  // namespace contado
