#include "platform/clock.h"

#include <QElapsedTimer>
#include <cmath>
#include <ctime>
#include <optional>

namespace dovrane {

namespace {
struct Fixed {
    QDateTime at;
    QElapsedTimer since;
};
std::optional<Fixed>& fixed() {
    static std::optional<Fixed> f;
    return f;
}
// Time handed on by pass(): the wall clock's share is dropped when the wall
// clock is set afresh, the steady clock keeps all of it.
qint64& passedSinceSet() {
    static qint64 ms = 0;
    return ms;
}
// What pass() and sleep() moved the system's clocks on by: a sleep moves
// the time since boot and not the monotonic clock, as a suspend does.
qint64& monotonicShift() {
    static qint64 ms = 0;
    return ms;
}
qint64& bootTimeShift() {
    static qint64 ms = 0;
    return ms;
}
std::function<double()>& offsetSource() {
    static std::function<double()> f;
    return f;
}
} // namespace

QDateTime Clock::now() {
    if (fixed()) return fixed()->at.addMSecs(fixed()->since.elapsed() + passedSinceSet());
    return QDateTime::currentDateTime().addMSecs(passedSinceSet());
}

void Clock::set(const QDateTime& localTime) {
    Fixed f;
    f.at = localTime;
    f.since.start();
    fixed() = f;
    passedSinceSet() = 0;
}

void Clock::reset() {
    fixed().reset();
    passedSinceSet() = 0;
}

qint64 Clock::steadyMs() {
    // CLOCK_BOOTTIME, unlike CLOCK_MONOTONIC (QElapsedTimer's clock), goes on
    // while the computer sleeps: an event's length or a recorder's quarter
    // includes the sleep, as the wall clock does, yet it never steps.
    return systemMs(CLOCK_BOOTTIME);
}

qint64 Clock::systemMs(int clockId) {
    timespec ts{};
    clock_gettime(clockid_t(clockId), &ts);
    qint64 shift = 0;
    if (clockId == CLOCK_MONOTONIC) shift = monotonicShift();
    else if (clockId == CLOCK_BOOTTIME) shift = bootTimeShift();
    return qint64(ts.tv_sec) * 1000 + ts.tv_nsec / 1'000'000 + shift;
}

void Clock::pass(qint64 ms) {
    if (ms <= 0) return;
    passedSinceSet() += ms;
    monotonicShift() += ms;
    bootTimeShift() += ms;
}

void Clock::sleep(qint64 ms) {
    // What a suspend does to the clocks: the wall clock and the time since
    // boot move on, the monotonic clock stands still, and nothing ran
    // meanwhile.
    if (ms <= 0) return;
    passedSinceSet() += ms;
    bootTimeShift() += ms;
}

QDateTime Clock::utcFor(const QDateTime& localTime, double localMinusUtcHours) {
    // The clock's fields as they read, in a zone without summer time, so a
    // change to or from summer time does not shift the sum.
    const QDateTime fields(localTime.date(), localTime.time(), Qt::UTC);
    const double minutes = std::isfinite(localMinusUtcHours) ? std::round(-localMinusUtcHours * 60.0) : 0.0;
    return fields.addSecs(qint64(minutes) * 60);
}

QDateTime Clock::utcNow() {
    const auto& source = offsetSource();
    return utcFor(now(), source ? source() : 0.0);
}

void Clock::setUtcOffsetSource(std::function<double()> localMinusUtcHours) {
    offsetSource() = std::move(localMinusUtcHours);
}

} // namespace dovrane
