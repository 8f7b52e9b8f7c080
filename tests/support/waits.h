#pragma once
// Waiting for something the program does on its own time (timers, queued
// signals, the simulated line) by what it does, not by the clock: the cap is
// for a machine busy with other work, never a time the program must keep.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QThread>
#include <QTimer>
#include <algorithm>

namespace dovrane::test {

constexpr int BusyMachineCapMs = 10000;

// Runs events until done() holds, for up to capMs; whether it came to hold.
template <class Done>
bool pumpUntil(Done done, int capMs = BusyMachineCapMs) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() >= capMs) return done();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QThread::msleep(1);   // leaves the core to the threads being waited for
    }
    return true;
}

// A timer that ticks while events run, as one of the program's own would,
// and the longest gap between two of its ticks: how long something held the
// window.
class Heartbeat {
public:
    Heartbeat() {
        beat_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&beat_, &QTimer::timeout, [this] {
            longest_ = std::max(longest_, clock_.elapsed() - last_);
            last_ = clock_.elapsed();
        });
    }
    void start(int intervalMs) {
        clock_.start();
        last_ = 0;
        beat_.start(intervalMs);
    }
    void stop() { beat_.stop(); }
    qint64 longestGapMs() const { return longest_; }

private:
    QTimer beat_;
    QElapsedTimer clock_;
    qint64 last_ = 0;
    qint64 longest_ = 0;
};

} // namespace dovrane::test
