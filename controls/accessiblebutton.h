#pragma once

#include <QAccessibleWidget>

class QAbstractButton;

namespace contado {

// A button painted here (a navigator bar's, or a speed button) as a named push button: a navigator
// button is named by its hint ("First record"), any other by its caption. It is pressed, enabled or
// not as the button is, and its press action clicks it as the mouse does.
class TAccessibleButton : public QAccessibleWidget {
  public:
    explicit TAccessibleButton(QAbstractButton* button);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

  private:
    QAbstractButton* Button() const;
};

}  // namespace contado
