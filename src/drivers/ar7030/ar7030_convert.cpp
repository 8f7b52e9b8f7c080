#include "drivers/ar7030/ar7030_convert.h"
#include "platform/number_text.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace dovrane {

namespace {
constexpr double KHzPerUnit = 0.033189;

// |units| * 0.033189 kHz in tenths, a half going away from zero; whole-number
// arithmetic so that no binary fraction decides a half.
QString tenthsText(int units) {
    const long tenths = (long(std::abs(units)) * 33189 + 50000) / 100000;
    return QStringLiteral("%1.%2k").arg(tenths / 10).arg(tenths % 10);
}

// Register units of a kHz magnitude, rounded to the nearest unit.
int unitsOf(const QString& s) {
    const double u = std::floor(std::fabs(val(s)) / KHzPerUnit + 0.5);
    return u > 1000 ? 1000 : int(u);
}
} // namespace

QString b2fs(int b) {
    if (b == 0) return QStringLiteral(" 0.0k");
    if (b >= 1 && b <= 127) return QLatin1Char('+') + tenthsText(b);
    if (b >= 128 && b <= 255) return QLatin1Char('-') + tenthsText(b - 256);
    return QString();
}

int fs2b(const QString& s) {
    if (s == QLatin1String(" 0.0K")) return 0;
    if (s.startsWith(QLatin1Char('+'))) {
        // Beyond +127 units the byte would turn into a negative shift.
        return std::min(unitsOf(s), 127);
    }
    if (s.startsWith(QLatin1Char('-'))) {
        // Beyond -128 units the byte would turn into a positive shift; a
        // magnitude below half a unit stays on the negative side as 255.
        const int b = 256 - std::min(unitsOf(s), 128);
        return b == 256 ? 255 : b;
    }
    return 0;
}

int b2vsb(int b) {
    if (b >= 0 && b <= 127) return b / 3;
    if (b >= 128 && b <= 255) return int(std::floor((b - 256) / 3.0));
    return 0;
}

int vsb2b(int v) {
    if (v >= 0 && v <= 42) return 3 * v;
    if (v >= -42 && v <= -1) return 3 * v + 256;
    return 0;
}

QString b2sql(int b) {
    // b * 0.66 to the nearest whole number, a half going up (away from zero).
    const long hundredths = long(std::abs(b)) * 66;
    const long whole = (hundredths + 50) / 100;
    const QString digits = QString::number(whole).rightJustified(2, QLatin1Char('0'));
    return b < 0 && whole != 0 ? QLatin1Char('-') + digits : digits;
}

int sql2b(const QString& s) {
    const double r = std::floor(val(s) / 0.66 + 0.5);
    if (!(r > 0)) return 0;  // a negative squelch is no byte the receiver takes
    return r > 150 ? 150 : int(r);
}

} // namespace dovrane
