#include "platform/system/busycursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace contado {

namespace {
int depth = 0;
}  // namespace

// The application's override cursor stack holds the remembered cursor: the first start pushes the
// hourglass on top of it, the last end pops it again.
void TBusyCursor::Start() {
    if (depth++ == 0) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
}

void TBusyCursor::End() {
    if (depth == 0) {
        return;
    }
    if (--depth == 0) {
        QGuiApplication::restoreOverrideCursor();
    }
}

int TBusyCursor::Depth() {
    return depth;
}

}  // namespace contado
