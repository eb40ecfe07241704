#pragma once

#include <QObject>
#include <QPointer>
#include <memory>
#include <vector>

class QEvent;
class QWidget;

namespace contado {

// Watches, while it lives, for an Esc press waiting to reach a window during a long operation. The
// key events posted for that window are delivered into the watch and held back, so none of them
// acts in the middle of the operation; when the watch ends they are posted again in their order
// and act as keys afterwards.
class TPendingEscape : public QObject {
  public:
    explicit TPendingEscape(QWidget* window);
    ~TPendingEscape() override;
    TPendingEscape(const TPendingEscape&) = delete;
    TPendingEscape& operator=(const TPendingEscape&) = delete;

    // Looks at the key events waiting so far; true once an Esc press for the window was among them.
    bool Pending();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct THeldEvent {
        QPointer<QObject> Receiver;
        std::unique_ptr<QEvent> Event;
    };

    bool ForWindow(QObject* receiver) const;

    QPointer<QWidget> window_;
    std::vector<THeldEvent> held_;
    bool escape_ = false;
};

}  // namespace contado
