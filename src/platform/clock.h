#pragma once
// The one place the program reads the PC clock; tests set it.
#include <QDateTime>
#include <functional>

namespace dovrane {

struct Clock {
    // Local date and time now (or the set time, advancing with the real clock).
    static QDateTime now();
    static void set(const QDateTime& localTime);
    static void reset();

    // UTC as the program reckons it: the local clock's fields minus the
    // user's local-minus-UTC hours (whole minutes), seconds kept, in a
    // QDateTime of Qt::UTC. The hours come from the source the shell
    // installs (Settings(3)); without one, 0.
    static QDateTime utcNow();
    // The same for a given local time and offset in hours.
    static QDateTime utcFor(const QDateTime& localTime, double localMinusUtcHours);
    static void setUtcOffsetSource(std::function<double()> localMinusUtcHours);

    // Milliseconds on a clock that never jumps and counts the time the
    // computer sleeps: lengths of time (an event's duration, a recorder's
    // quarter) are counted on it, so a summer-time change or a clock set by
    // hand neither stretches nor cuts them, and a sleep is part of them.
    static qint64 steadyMs();
    // For tests: time passes by ms on every clock at once. set() alone is a
    // step of the wall clock, which the steady clock does not see.
    static void pass(qint64 ms);
    // For tests: the computer sleeps for ms, as a suspend moves the system's
    // clocks: the wall clock and the time since boot move on by ms, the
    // monotonic clock (which stands still while the computer sleeps) does
    // not, and no timer fired nor event ran meanwhile (the test then runs
    // the ticks that the resume brings).
    static void sleep(qint64 ms);
    // The system clock `clockId` (CLOCK_BOOTTIME, CLOCK_MONOTONIC, ...) in
    // milliseconds, as moved on by pass() and sleep(): the one place the
    // program reads the system's steady clocks.
    static qint64 systemMs(int clockId);
};

} // namespace dovrane
