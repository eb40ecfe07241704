#include "app/terminationnotifier.h"

#include <QSocketNotifier>

#include "app/run/terminationsignals.h"

namespace contado {

TTerminationNotifier::TTerminationNotifier(QObject* parent) : QObject(parent) {
    const int descriptor = TTerminationSignals::EventDescriptor();
    if (descriptor < 0) {
        return;
    }
    notifier_ = new QSocketNotifier(descriptor, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TTerminationNotifier::ReadSignals);
}

void TTerminationNotifier::ReadSignals() {
    while (const int signalNumber = TTerminationSignals::NextSignal()) {
        emit Received(signalNumber);
    }
}

}  // namespace contado
