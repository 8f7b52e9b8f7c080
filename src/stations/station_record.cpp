#include "stations/station_record.h"
#include "platform/number_text.h"
#include "shell/globals.h"

namespace dovrane {

QString fitField(const QString& text, int width) {
    return text.left(width).leftJustified(width, QLatin1Char(' '));
}

QString fitRecord(const QString& line) { return fitField(line, StationRecordLength); }

QString columns(const QString& line, int first, int last) {
    return fitField(line.mid(first - 1), last - first + 1);
}

double recordFrequency(const QString& line) { return val(line.left(8)); }

namespace {
// The number value of four columns; plain digits, the usual case, are read
// without making a text of them.
int hhmmAt(const QString& line, int from) {
    if (line.size() >= from + 4) {
        int v = 0;
        bool digits = true;
        for (int i = from; i < from + 4 && digits; ++i) {
            const char16_t c = line[i].unicode();
            digits = c >= u'0' && c <= u'9';
            v = v * 10 + (c - u'0');
        }
        if (digits) return v;
    }
    return valRounded(line.mid(from, 4));
}
} // namespace

bool onAirAt(const QString& line, int now) {
    const int start = hhmmAt(line, 9);
    const int end = hhmmAt(line, 14);
    if (start < end) return start <= now && now <= end;
    if (start > end) return now >= start || now <= end;
    return false;
}

int utcNowHhmm() {
    const QString t = UtcTimeText.right(5);
    return int(val(t.left(2) + t.mid(3, 2)));
}

} // namespace dovrane
