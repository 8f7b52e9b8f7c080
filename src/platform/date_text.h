#pragma once
// Dates and times in the patterns the program writes into titles, files and
// log lines, the same whatever the system's locale.
#include <QDateTime>
#include <QString>

namespace dovrane {

// "d", "dd" day ("ddd", "dddd" its name); "mmm" month name (English
// abbreviation, "mmmm" in full), "mm"/"m" month number, or minutes right after
// an hour; "yyyy", "yy" year; "hh", "h" hour; "nn" minutes; "ss" seconds;
// anything else as it stands. "d mmm yyyy  hh:mm" gives "7 Mar 2004  01:30",
// "yyyymmdd hhmm" "20040307 0130", "hh:mm:ss" "01:30:05".
QString formatDatePattern(const QDateTime& t, const QString& pattern);

} // namespace dovrane
