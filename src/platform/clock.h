#pragma once
// The one place the program reads the PC clock; tests set it.
#include <QDateTime>

namespace dovrane {

struct Clock {
    // Local date and time now (or the set time, advancing with the real clock).
    static QDateTime now();
    static void set(const QDateTime& localTime);
    static void reset();
};

} // namespace dovrane
