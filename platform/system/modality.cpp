#include "platform/system/modality.h"

#include <QApplication>
#include <QWidget>

namespace contado {

bool BlockedByModalWindow(const QWidget* widget) {
    const QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || widget == nullptr) {
        return false;
    }
    for (const QWidget* part = widget; part != nullptr; part = part->parentWidget()) {
        if (part == modal) {
            return false;
        }
    }
    return true;
}

}  // namespace contado
