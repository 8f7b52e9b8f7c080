#pragma once
// Waiting for something the program does on its own time (timers, queued
// signals, the simulated line) by what it does, not by the clock: the cap is
// for a machine busy with other work, never a time the program must keep.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QThread>

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

} // namespace dovrane::test
