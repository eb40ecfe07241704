#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    application.setApplicationName("Contabiliza ventas contado");
    return 0;
}
