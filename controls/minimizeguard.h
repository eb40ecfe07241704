#pragma once

#include <QObject>

class QWidget;

namespace contado {

// Keeps a modal box on the screen. Its frame offers no minimize button, and a window manager that
// minimizes it all the same (openbox does, from its own button or menu, whatever the window's hints
// say) sees it restored at once: minimized, the box would leave the window it blocks with nothing
// to show, and the program would look hung.
class TMinimizeGuard : public QObject {
    Q_OBJECT

  public:
    // A dialog frame with a title and a close button only.
    static constexpr Qt::WindowFlags kWindowFlags =
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

    // Watches the window, which owns the guard.
    explicit TMinimizeGuard(QWidget* window);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* window_;
};

}  // namespace contado
