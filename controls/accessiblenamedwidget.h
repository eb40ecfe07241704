#pragma once

#include <QAccessibleWidget>
#include <functional>

namespace contado {

// A control painted here that only needs a role and a name for assistive technology: a caption
// panel or a panel (a pane named by its caption), a group box (a grouping named by its title), the
// grid's month calendar. The name is read from the control each time; an accessible name set on the
// widget goes first.
class TAccessibleNamedWidget : public QAccessibleWidget {
  public:
    using TNameOf = std::function<QString(const QWidget&)>;

    TAccessibleNamedWidget(QWidget* widget, QAccessible::Role role, TNameOf nameOf);

    QString text(QAccessible::Text t) const override;

  private:
    TNameOf nameOf_;
};

}  // namespace contado
