#include "drivers/memory_record.h"

namespace dovrane {

namespace {
QString fit(const QString& s, int width) {
    if (s.isEmpty()) return QString(width, QLatin1Char('@'));
    return s.left(width).leftJustified(width, QLatin1Char(' '));
}
} // namespace

QString buildMemoryRecord(const MemoryFields& f) {
    QString r;
    r.reserve(MemoryRecordLength);
    r += f.used ? QStringLiteral("MEM") : QStringLiteral("XXX");
    r += QStringLiteral("%1").arg(qBound(0, f.channel, 999), 3, 10, QLatin1Char('0'));
    r += QLatin1Char(' ');
    r += fit(f.used ? f.frequencyHz : (f.frequencyHz.isEmpty() ? QStringLiteral("No data ") : f.frequencyHz), 8);
    r += QLatin1Char(' ');
    r += fit(f.mode, 1);
    r += QLatin1Char(' ');
    r += fit(f.filter, 2);
    r += QLatin1Char(' ');
    r += fit(f.attenuator, 1);
    r += QLatin1Char(' ');
    r += fit(f.agc, 1);
    r += QLatin1Char(' ');
    r += fit(f.passband, 3);
    r += QLatin1Char(' ');
    r += fit(f.squelch, 3);
    r += QLatin1Char(' ');
    r += fit(f.scan, 1);
    r += QLatin1Char(' ');
    return r;
}

std::optional<MemoryFields> parseMemoryRecord(const QString& r) {
    if (r.size() != MemoryRecordLength) return std::nullopt;
    const QString head = r.left(3);
    if (head != QLatin1String("MEM") && head != QLatin1String("XXX")) return std::nullopt;
    bool ok = false;
    const int ch = r.mid(3, 3).toInt(&ok);
    if (!ok || !r.at(3).isDigit() || !r.at(4).isDigit() || !r.at(5).isDigit()) return std::nullopt;
    MemoryFields f;
    f.used = head == QLatin1String("MEM");
    f.channel = ch;
    f.frequencyHz = r.mid(7, 8);
    f.mode = r.mid(16, 1);
    f.filter = r.mid(18, 2);
    f.attenuator = r.mid(21, 1);
    f.agc = r.mid(23, 1);
    f.passband = r.mid(25, 3);
    f.squelch = r.mid(29, 3);
    f.scan = r.mid(33, 1);
    return f;
}

} // namespace dovrane
