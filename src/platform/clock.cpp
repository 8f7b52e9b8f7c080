#include "platform/clock.h"

#include <QElapsedTimer>
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
} // namespace

QDateTime Clock::now() {
    if (fixed()) return fixed()->at.addMSecs(fixed()->since.elapsed());
    return QDateTime::currentDateTime();
}

void Clock::set(const QDateTime& localTime) {
    Fixed f;
    f.at = localTime;
    f.since.start();
    fixed() = f;
}

void Clock::reset() { fixed().reset(); }

} // namespace dovrane
