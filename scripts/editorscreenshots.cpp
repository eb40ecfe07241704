// Renders the real window, connected to a company, and its two adjustment editors into PNG files:
//   editorscreenshots SHOWN_SERVER USER PASSWORD COMPANY OUTPUT_FOLDER
// The window connects to the first server of the server list, as it chooses it; the pictures show
// SHOWN_SERVER in the server field instead, so that no path of the machine that rendered them (a
// work folder, a user's home) ends up in the documentation. Each editor is opened and closed again
// with its key, as the clerk does.

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QStyleFactory>
#include <QtTest/QTest>
#include <cstdio>

#include "app/fquenvar.h"
#include "controls/messageform.h"

namespace {

// The key goes where the keyboard sends it: to the focused control, which the window previews.
void Press(contado::Tfquenvar& window, Qt::Key key) {
    QWidget* focused = QApplication::focusWidget();
    QTest::keyClick(focused != nullptr ? focused : &window, key);
}

void Shoot(contado::Tfquenvar& window, Qt::Key key, const QString& path) {
    Press(window, key);
    QCoreApplication::processEvents();
    if (!window.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    }
    Press(window, key);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: %s SHOWN_SERVER USER PASSWORD COMPANY OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    int toolkitArgc = 1;
    QApplication application(toolkitArgc, argv);
    QApplication::setApplicationName(QStringLiteral("Contabiliza ventas contado"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    contado::TMessageForm::InstallAsMessageBoxWindow();

    contado::Tfquenvar window({argv[0]});
    window.show();
    QApplication::setActiveWindow(&window);
    window.Tusua->setText(QString::fromLocal8Bit(argv[2]));
    window.TClave->setText(QString::fromLocal8Bit(argv[3]));
    window.Cia->setText(QString::fromLocal8Bit(argv[4]));
    window.CiaExit();
    window.Servidor->setItemText(window.Servidor->currentIndex(), QString::fromLocal8Bit(argv[1]));
    const QString folder = QString::fromLocal8Bit(argv[5]);
    QCoreApplication::processEvents();
    if (!window.grab().save(folder + "/window.png")) {
        std::fprintf(stderr, "cannot write %s/window.png\n", qPrintable(folder));
    }
    Shoot(window, Qt::Key_F5, folder + "/editor-f5.png");
    Shoot(window, Qt::Key_F7, folder + "/editor-f7.png");
    return 0;
}
