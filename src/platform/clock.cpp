#include "platform/clock.h"

#include <QElapsedTimer>
#include <cmath>
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
qint64& passedInAll() {
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
    static QElapsedTimer monotonic = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return monotonic.elapsed() + passedInAll();
}

void Clock::pass(qint64 ms) {
    if (ms <= 0) return;
    passedSinceSet() += ms;
    passedInAll() += ms;
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
