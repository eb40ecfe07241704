#include "controls/accessiblebutton.h"

#include <QAbstractButton>

#include "controls/navbutton.h"

namespace contado {

TAccessibleButton::TAccessibleButton(QAbstractButton* button)
    : QAccessibleWidget(button, QAccessible::Button) {}

QAbstractButton* TAccessibleButton::Button() const {
    return static_cast<QAbstractButton*>(widget());
}

QString TAccessibleButton::text(QAccessible::Text t) const {
    if (t != QAccessible::Name || !widget()->accessibleName().isEmpty()) {
        return QAccessibleWidget::text(t);
    }
    if (const auto* navigator = dynamic_cast<const TNavButton*>(Button())) {
        return navigator->Hint();
    }
    QString caption = Button()->text();
    return caption.remove(QLatin1Char('&'));
}

QAccessible::State TAccessibleButton::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.pressed = Button()->isDown();
    return state;
}

QStringList TAccessibleButton::actionNames() const {
    return {QAccessibleActionInterface::pressAction()};
}

// The click comes from the event loop, as after a real press, so whatever it opens (a box asking to
// delete) does not run inside the reader's request.
void TAccessibleButton::doAction(const QString& actionName) {
    if (actionName == QAccessibleActionInterface::pressAction() && Button()->isEnabled()) {
        Button()->animateClick();
    }
}

}  // namespace contado
