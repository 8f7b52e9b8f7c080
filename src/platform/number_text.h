#pragma once
// Numbers to and from text the same way whatever the system's locale: "." is
// always the decimal point.
#include <QString>

namespace dovrane {

// The number at the start of a text: blanks and tabs skipped, an optional sign,
// digits with "." as the decimal point; reading stops at the first character
// that cannot continue the number; no digits give 0 ("12.5.3" gives 12.5).
double val(const QString& text);
// The same for text that may use a decimal comma: every "," reads as ".".
double valComma(const QString& text);
// Nearest whole number, a half going to the even neighbour.
double vbRound(double x);
// Largest whole number not above x.
double vbInt(double x);
// The nearest whole number of x (a half to the even neighbour) held within
// int's range; NaN gives 0. A box may hold any number of digits, and a value
// past int would turn into any number at all.
int roundedInt(double x);
// The nearest whole number of a text: roundedInt(val(text)).
int valRounded(const QString& text);
// Plain number text: " 5", "-3", " .5", " 5.5". Single precision shows at most
// 7 significant digits, double precision 15.
QString numText(double x);
QString numText(float x);
// A format pattern of "0", "#", one "." and literal characters:
// "####0.00", "00", "0.000", "0.0k". Always "." as the decimal point.
QString formatPattern(double x, const QString& pattern);

} // namespace dovrane
