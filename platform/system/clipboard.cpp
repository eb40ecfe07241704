#include "platform/system/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace contado {

void SetClipboardText(const std::string& text) {
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

std::string ClipboardText() {
    return QGuiApplication::clipboard()->text().toStdString();
}

}  // namespace contado
