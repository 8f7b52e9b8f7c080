#include "scanning/propagation_file.h"

#include "platform/date_text.h"
#include "platform/number_text.h"
#include "platform/text_file.h"

#include <QDateTime>
#include <cmath>

namespace dovrane {

QString propStartText(const QDateTime& utc) {
    return formatDatePattern(utc, QStringLiteral("d mmm yyyy  hh:mm")) + QStringLiteral(" UTC");
}

QString propValueText(float level) {
    // Single times integer stays single, as the tenths have always been taken.
    const float tenths = std::floor(level * 10.0f);
    int v = 0;
    if (std::isnan(tenths) || tenths < 0) v = 0;
    else if (tenths > 999) v = 999;
    else v = int(tenths);
    return QStringLiteral(" %1").arg(v, 3, 10, QLatin1Char('0'));
}

QString propMinuteLine(int hour, int minute, const std::array<PropGroup, 4>& groups) {
    QString line = QStringLiteral("%1:%2").arg(hour, 2, 10, QLatin1Char('0')).arg(minute, 2, 10, QLatin1Char('0'));
    for (const PropGroup& g : groups) line += propValueText(g.min) + propValueText(g.max);
    return line;
}

PropMinute parsePropMinute(const QString& line) {
    PropMinute m;
    m.hour = int(val(line.mid(0, 2)));
    m.minute = int(val(line.mid(3, 2)));
    m.time = line.left(5);
    for (int k = 0; k < 4; ++k) {
        m.groups[k].min = float(val(line.mid(6 + 8 * k, 3)) / 10);
        m.groups[k].max = float(val(line.mid(10 + 8 * k, 3)) / 10);
    }
    return m;
}

std::optional<PropFile> readPropFile(const QString& path) {
    const std::optional<QStringList> lines = readLines(path);
    if (!lines) return std::nullopt;
    PropFile f;
    f.start = lines->value(0);
    f.frequency = lines->value(1);
    f.station = lines->value(2);
    for (int i = 3; i < lines->size(); ++i)
        if (!lines->at(i).trimmed().isEmpty()) f.minutes << parsePropMinute(lines->at(i));
    return f;
}

QString propShortName(const QString& fileName) { return fileName.mid(4, fileName.size() - 8); }

std::array<QString, 9> readProp2prtIni(const QString& path) {
    std::array<QString, 9> fields;
    const std::optional<QStringList> lines = readLines(path);
    if (!lines) return fields;
    for (int i = 0; i < 9 && i < lines->size(); ++i) fields[i] = lines->at(i);
    return fields;
}

} // namespace dovrane
