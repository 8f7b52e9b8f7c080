#include "platform/number_text.h"

#include <cfenv>
#include <cmath>
#include <limits>

namespace dovrane {

double val(const QString& text) {
    QString digits;
    int i = 0;
    const int n = text.size();
    auto skipBlanks = [&] {
        while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t'))) ++i;
    };
    skipBlanks();
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    bool point = false;
    bool any = false;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t')) continue;
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            digits += c;
            any = true;
        } else if (c == QLatin1Char('.') && !point) {
            digits += c;
            point = true;
        } else {
            break;
        }
    }
    if (!any) return 0.0;
    const double v = digits.toDouble();
    return negative ? -v : v;
}

double valComma(const QString& text) {
    QString t = text;
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    return val(t);
}

double vbRound(double x) {
    // nearbyint follows the current rounding mode, which is to-nearest-even
    // unless someone changed it.
    const int old = std::fegetround();
    if (old != FE_TONEAREST) std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(x);
    if (old != FE_TONEAREST) std::fesetround(old);
    return r;
}

double vbInt(double x) { return std::floor(x); }

int roundedInt(double x) {
    if (std::isnan(x)) return 0;
    const double r = vbRound(x);
    if (r >= double(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
    if (r <= double(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
    return int(r);
}

int valRounded(const QString& text) { return roundedInt(val(text)); }

namespace {
QString plain(double x, int precision) {
    if (x == 0) return QStringLiteral(" 0");
    QString s = QString::number(std::fabs(x), 'g', precision);
    if (s.contains(QLatin1Char('e'))) {
        // Exponent form: mantissa and a two-digit exponent with its sign.
        s = s.toUpper();
        const int e = s.indexOf(QLatin1Char('E'));
        QString mant = s.left(e);
        QString exp = s.mid(e + 1);
        const QChar sign = exp.startsWith(QLatin1Char('-')) ? QLatin1Char('-') : QLatin1Char('+');
        exp.remove(QLatin1Char('+')).remove(QLatin1Char('-'));
        while (exp.size() < 2) exp.prepend(QLatin1Char('0'));
        s = mant + QLatin1Char('E') + sign + exp;
    } else if (s.startsWith(QLatin1String("0."))) {
        s.remove(0, 1);
    }
    return (x < 0 ? QStringLiteral("-") : QStringLiteral(" ")) + s;
}
} // namespace

QString numText(double x) { return plain(x, 15); }
QString numText(float x) { return plain(double(x), 7); }

QString formatPattern(double x, const QString& pattern) {
    // Split the pattern into its number part and the literal text around it.
    int first = -1, last = -1;
    for (int i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == QLatin1Char('0') || c == QLatin1Char('#') || c == QLatin1Char('.')) {
            if (first < 0) first = i;
            last = i;
        }
    }
    if (first < 0) return pattern;
    const QString prefix = pattern.left(first);
    const QString suffix = pattern.mid(last + 1);
    const QString num = pattern.mid(first, last - first + 1);
    const int dot = num.indexOf(QLatin1Char('.'));
    const QString intPart = dot < 0 ? num : num.left(dot);
    const QString fracPart = dot < 0 ? QString() : num.mid(dot + 1);
    // A "0" forces its own digit and every digit between it and the point.
    const int firstZero = int(intPart.indexOf(QLatin1Char('0')));
    const int minInt = firstZero < 0 ? 0 : int(intPart.size()) - firstZero;
    const int decimals = int(fracPart.size());
    const int minFrac = int(fracPart.lastIndexOf(QLatin1Char('0'))) + 1;

    // Round half away from zero on the decimal text, as a format does.
    const double scale = std::pow(10.0, decimals);
    double a = std::fabs(x) * scale;
    a = std::floor(a + 0.5 + 1e-9 * std::max(1.0, a));
    const bool negative = x < 0 && a != 0;
    QString digits = QString::number(a, 'f', 0);
    while (digits.size() <= decimals) digits.prepend(QLatin1Char('0'));
    QString ip = digits.left(digits.size() - decimals);
    QString fp = digits.right(decimals);
    while (fp.size() > minFrac && fp.endsWith(QLatin1Char('0'))) fp.chop(1);
    // Leading zeros only as the pattern's "0" digits ask.
    while (ip.size() > minInt && ip.startsWith(QLatin1Char('0'))) ip.remove(0, 1);
    while (ip.size() < minInt) ip.prepend(QLatin1Char('0'));
    QString out = ip;
    if (dot >= 0 && (!fp.isEmpty() || minFrac > 0)) out += QLatin1Char('.') + fp;
    else if (dot >= 0 && fp.isEmpty() && decimals > 0 && minFrac == 0) out += QLatin1Char('.');
    return prefix + (negative ? QStringLiteral("-") : QString()) + out + suffix;
}

} // namespace dovrane
