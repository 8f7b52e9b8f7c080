#include "shell/title_clock.h"

#include <array>
#include <cmath>

namespace dovrane {

ClockTexts clockTexts(const QDateTime& localNow, double lt2utcHours) {
    // The local clock's fields as they read, in a time zone without summer time.
    const QTime t = localNow.time();
    const QDateTime local(localNow.date(), QTime(t.hour(), t.minute()), Qt::UTC);
    const double minutes = std::isfinite(lt2utcHours) ? std::round(-lt2utcHours * 60.0) : 0.0;
    const QDateTime utc = local.addSecs(qint64(minutes) * 60);
    const QString pattern = QStringLiteral("d mmm yyyy  hh:mm");
    return {formatDate(local, pattern), formatDate(utc, pattern), formatDate(utc, QStringLiteral("yyyymmdd hhmm"))};
}

QString panelTitle(int rxType, const ClockTexts& texts) {
    static const std::array<const char*, 5> words{"     No RX     ", "     AR7030     ", "     NRD535     ",
                                                  "     RX320     ", "     NRD545     "};
    if (rxType < 0 || rxType >= int(words.size())) return QString();
    return QStringLiteral("LT : ") + texts.local + QLatin1String(words[size_t(rxType)]) +
           QStringLiteral("UTC : ") + texts.utc;
}

QString listTitle(const QString& prefix, const ClockTexts& texts) {
    return prefix + texts.local + QStringLiteral("     UTC : ") + texts.utc;
}

} // namespace dovrane
