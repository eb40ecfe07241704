#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <memory>
#include <vector>

class QEvent;
class QWidget;

namespace contado {

// Watches, while it lives, for an Esc press waiting to reach a window during a long operation.
// Looking takes the key events posted so far and, now and then, those still waiting in the window
// system's queue. Nothing acts in the middle of the operation: key and resize events are held back
// and given back in their order when the watch ends, each key to the focus of its moment; mouse
// input, close requests and painting of the application's widgets are dropped, and the windows are
// painted anew at the end.
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

    // How often the window system's queue is read, in milliseconds: often enough for a key to
    // feel answered, seldom enough to cost nothing beside the search.
    static constexpr int kSystemQueueInterval = 40;

    bool ForWindow(QObject* receiver) const;
    void LookAtSystemQueue();

    QPointer<QWidget> window_;
    std::vector<THeldEvent> held_;
    QElapsedTimer sinceLastLook_;
    bool escape_ = false;
    bool dropped_ = false;
};

}  // namespace contado
