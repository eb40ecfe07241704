#include "controls/accessibilityfactory.h"

#include <QAccessible>
#include <QDialog>

#include "controls/accessiblebutton.h"
#include "controls/accessiblenamedwidget.h"
#include "controls/captionpanel.h"
#include "controls/dbnavigator.h"
#include "controls/groupbox.h"
#include "controls/navbutton.h"
#include "controls/panel.h"
#include "controls/speedbutton.h"
#include "grid/accessiblegrid.h"
#include "grid/customdbgridex.h"
#include "grid/popupmonthcalendarex.h"

namespace contado {

namespace {

QAccessibleInterface* Named(QWidget* widget, QAccessible::Role role, TAccessibleNamedWidget::TNameOf nameOf) {
    return new TAccessibleNamedWidget(widget, role, std::move(nameOf));
}

}  // namespace

void TAccessibilityFactory::Install() {
    static bool installed = false;
    if (!installed) {
        QAccessible::installFactory(&TAccessibilityFactory::Create);
        installed = true;
    }
}

// Asked once per class of the object's chain, most derived first; the controls are told apart by
// their C++ type, since most of them have no meta-object of their own.
QAccessibleInterface* TAccessibilityFactory::Create(const QString& className, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr) {
        return nullptr;
    }
    if (auto* grid = dynamic_cast<TCustomDBGridEx*>(widget)) {
        return new TAccessibleGrid(grid);
    }
    if (dynamic_cast<TNavButton*>(widget) != nullptr || dynamic_cast<TSpeedButton*>(widget) != nullptr) {
        return new TAccessibleButton(static_cast<QAbstractButton*>(widget));
    }
    if (dynamic_cast<TDBNavigator*>(widget) != nullptr) {
        return new QAccessibleWidget(widget, QAccessible::ToolBar);
    }
    if (dynamic_cast<TCaptionPanel*>(widget) != nullptr) {
        return Named(widget, QAccessible::Pane,
                     [](const QWidget& panel) { return static_cast<const TCaptionPanel&>(panel).Caption(); });
    }
    if (dynamic_cast<TPanel*>(widget) != nullptr) {
        return Named(widget, QAccessible::Pane,
                     [](const QWidget& panel) { return static_cast<const TPanel&>(panel).Caption(); });
    }
    if (dynamic_cast<TGroupBox*>(widget) != nullptr) {
        return Named(widget, QAccessible::Grouping, [](const QWidget& box) {
            return static_cast<const TGroupBox&>(box).Caption().trimmed();
        });
    }
    if (dynamic_cast<TPopupMonthCalendarEx*>(widget) != nullptr) {
        return Named(widget, QAccessible::Pane, [](const QWidget&) { return QStringLiteral("Calendario"); });
    }
    // A plain window (the main window) is a frame; Qt would make it a nameless client area.
    if (className == QLatin1String("QWidget") && widget->isWindow()) {
        const bool dialog = qobject_cast<QDialog*>(widget) != nullptr;
        return new QAccessibleWidget(widget, dialog ? QAccessible::Dialog : QAccessible::Window);
    }
    return nullptr;
}

}  // namespace contado
