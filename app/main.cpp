#include <QApplication>
#include <QStyleFactory>

#include "app/fquenvar.h"
#include "controls/messageform.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Contabiliza ventas contado"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    contado::TMessageForm::InstallAsMessageBoxWindow();

    // The window frees itself when it closes; the program ends with it.
    auto* fquenvar = new contado::Tfquenvar();
    fquenvar->show();
    return application.exec();
}
