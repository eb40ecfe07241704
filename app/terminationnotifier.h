#pragma once

#include <QObject>

class QSocketNotifier;

namespace contado {

// The termination signals as an event of the window's event loop.
class TTerminationNotifier : public QObject {
    Q_OBJECT

  public:
    explicit TTerminationNotifier(QObject* parent = nullptr);

  signals:
    // Emitted on the user-interface thread for every signal received.
    void Received(int signalNumber);

  private:
    void ReadSignals();

    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace contado
