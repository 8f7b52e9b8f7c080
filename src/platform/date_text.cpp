#include "platform/date_text.h"

#include <QLocale>

namespace dovrane {

namespace {

QString twoDigits(int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); }

bool isHour(QChar c) { return c == QLatin1Char('h'); }

} // namespace

QString formatDatePattern(const QDateTime& t, const QString& pattern) {
    const QDate d = t.date();
    const QTime tm = t.time();
    const QLocale c = QLocale::c();
    QString out;
    QChar lastField;   // the letter of the last date or time field written
    for (int i = 0; i < pattern.size();) {
        const QChar ch = pattern[i].toLower();
        int n = 1;
        while (i + n < pattern.size() && pattern[i + n].toLower() == ch) ++n;
        if (ch == QLatin1Char('d')) {
            if (n >= 4) out += c.dayName(d.dayOfWeek(), QLocale::LongFormat);
            else if (n == 3) out += c.dayName(d.dayOfWeek(), QLocale::ShortFormat);
            else out += n == 2 ? twoDigits(d.day()) : QString::number(d.day());
        } else if (ch == QLatin1Char('m')) {
            if (n >= 4) out += c.monthName(d.month(), QLocale::LongFormat);
            else if (n == 3) out += c.monthName(d.month(), QLocale::ShortFormat);
            else {
                const int v = isHour(lastField) ? tm.minute() : d.month();
                out += n == 2 ? twoDigits(v) : QString::number(v);
            }
        } else if (ch == QLatin1Char('y')) {
            out += n >= 3 ? QString::number(d.year()) : twoDigits(d.year() % 100);
        } else if (ch == QLatin1Char('h')) {
            out += n >= 2 ? twoDigits(tm.hour()) : QString::number(tm.hour());
        } else if (ch == QLatin1Char('n')) {
            out += n >= 2 ? twoDigits(tm.minute()) : QString::number(tm.minute());
        } else if (ch == QLatin1Char('s')) {
            out += n >= 2 ? twoDigits(tm.second()) : QString::number(tm.second());
        } else {
            out += pattern.mid(i, n);
            i += n;
            continue;
        }
        lastField = ch;
        i += n;
    }
    return out;
}

} // namespace dovrane
