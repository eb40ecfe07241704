#include "app/run/terminationsignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <thread>

#include "data/sql/driverstop.h"

namespace contado {

namespace {

// After a signal, how long the user-interface thread has to end the program on its own before the
// guard cuts its waiting calls, and before the guard ends the process.
constexpr auto kStopDatabaseAfter = std::chrono::milliseconds(1000);
constexpr auto kEndProcessAfter = std::chrono::milliseconds(4000);

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

int eventPipe[2] = {-1, -1};
int guardPipe[2] = {-1, -1};
std::atomic<int> firstSignal{0};

bool MakePipe(int (&ends)[2]) {
    return pipe2(ends, O_CLOEXEC) == 0 && fcntl(ends[1], F_SETFL, O_NONBLOCK) == 0;
}

// A signal that finds a pipe full is one already waiting there; its number is kept by firstSignal.
void WriteNumber(int fd, int signalNumber) {
    const char byte = static_cast<char>(signalNumber);
    while (write(fd, &byte, 1) < 0 && errno == EINTR) {
    }
}

int ReadNumber(int fd) {
    char byte = 0;
    ssize_t count = 0;
    do {
        count = read(fd, &byte, 1);
    } while (count < 0 && errno == EINTR);
    return count == 1 ? static_cast<unsigned char>(byte) : 0;
}

}  // namespace

void TTerminationSignals::Install() {
    if (!MakePipe(eventPipe) || !MakePipe(guardPipe)) {
        return;
    }
    fcntl(eventPipe[0], F_SETFL, O_NONBLOCK);
    std::thread(&TTerminationSignals::Guard).detach();
    struct sigaction action {};
    action.sa_handler = &TTerminationSignals::Handle;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigset_t routed;
    sigemptyset(&routed);
    for (int signalNumber : kSignals) {
        sigaction(signalNumber, &action, nullptr);
        sigaddset(&routed, signalNumber);
    }
    // A parent may start the program with these blocked; a stop must always be heard, and one
    // already waiting is heard here, before any work.
    sigprocmask(SIG_UNBLOCK, &routed, nullptr);
}

int TTerminationSignals::FirstSignal() {
    return firstSignal.load();
}

// Runs in signal context: only atomic stores and writes.
void TTerminationSignals::Handle(int signalNumber) {
    const int savedErrno = errno;
    int none = 0;
    firstSignal.compare_exchange_strong(none, signalNumber);
    WriteNumber(eventPipe[1], signalNumber);
    WriteNumber(guardPipe[1], signalNumber);
    errno = savedErrno;
}

// The guard only cuts the calls waiting on a server: the thread that made them gets them back and
// stops the database work itself when it hears the signal. Stopping the client from here, while
// that thread still uses it, could pull the client's state from under it. A thread that does not
// come back (a connect, which has no call to cut) is ended with the process.
void TTerminationSignals::Guard() {
    if (ReadNumber(guardPipe[0]) == 0) {
        return;
    }
    const auto received = std::chrono::steady_clock::now();
    std::this_thread::sleep_until(received + kStopDatabaseAfter);
    TDriverStop::CutAll();
    std::this_thread::sleep_until(received + kEndProcessAfter);
    _exit(128 + FirstSignal());
}

int TTerminationSignals::EventDescriptor() {
    return eventPipe[0];
}

int TTerminationSignals::NextSignal() {
    return eventPipe[0] < 0 ? 0 : ReadNumber(eventPipe[0]);
}

}  // namespace contado
