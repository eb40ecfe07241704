#pragma once

#include <QString>

class QAccessibleInterface;
class QObject;

namespace contado {

// Gives assistive technology an interface for every control painted here (the data grid and its
// cells, the navigator bar and its buttons, speed buttons, caption panels, panels, group boxes, the
// grid's calendar) and the window role for a plain top-level window. Qt's own interfaces serve the
// standard controls.
class TAccessibilityFactory {
  public:
    // Installs the factory once, after the application object exists (so it is asked before Qt's).
    static void Install();
    static QAccessibleInterface* Create(const QString& className, QObject* object);
};

}  // namespace contado
