#pragma once
// The texts of the title clock: local time, UTC and the UTC stamp, and the
// titles they give the receiver panel and the list windows.
#include "platform/date_text.h"
#include <QDateTime>
#include <QString>

namespace dovrane {

// A date in one of the program's patterns (see platform/date_text.h).
inline QString formatDate(const QDateTime& t, const QString& pattern) { return formatDatePattern(t, pattern); }

struct ClockTexts {
    QString local;   // "d mmm yyyy  hh:mm"
    QString utc;     // the same, in UTC
    QString stamp;   // UTC as "yyyymmdd hhmm"
};

// The clock texts for a local time, UTC being local time minus lt2utcHours
// (Settings(3)), both in whole minutes. The sum is taken on the clock's fields,
// so a change to or from summer time does not shift it.
ClockTexts clockTexts(const QDateTime& localNow, double lt2utcHours);

// The title of the panel of a receiver type (0..4); empty for any other type.
QString panelTitle(int rxType, const ClockTexts& texts);
// The title of a list window whose title begins with prefix ("BDXC     LT : ").
QString listTitle(const QString& prefix, const ClockTexts& texts);

} // namespace dovrane
