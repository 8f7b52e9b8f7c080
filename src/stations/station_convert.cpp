#include "stations/station_convert.h"
#include "platform/number_text.h"
#include "platform/text_file.h"
#include "shell/globals.h"
#include "stations/station_record.h"

#include <QDir>
#include <algorithm>

namespace dovrane {

namespace {

const std::array<const char*, 9> kAreaNames{"NA", "CA", "SA", "EU", "AF", "ME", "AS", "AU", "PA"};
// Every field a line is made of, in the order the line takes them.
const std::array<const char*, 20> kBroadcastFields{
    "FREQ", "UTC", "STATUS", "STATION", "TARGET", "LANGUAGE", "POWER", "LATI", "LONGI", "NA",
    "CA",   "SA",  "EU",     "AF",      "ME",     "AS",       "AU",    "PA",   "COUNTRY", "LOCATION"};

// A text for a list that is kept one byte a character: what the list's
// character set cannot hold becomes "?", never a shifted column.
QString listText(const std::optional<QString>& v) {
    if (!v) return QStringLiteral("  ");
    QString s = *v;
    for (QChar& c : s)
        if (c.unicode() > 0xFF || c.unicode() < 0x20) c = QLatin1Char('?');
    return s;
}

bool isNumber(const QString& t) {
    const QString s = t.trimmed();
    if (s.isEmpty()) return false;
    bool ok = false;
    s.toDouble(&ok);
    return ok;
}

std::vector<std::pair<double, QString>> byFrequency(std::vector<std::pair<double, QString>> v) {
    std::stable_sort(v.begin(), v.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    return v;
}

QStringList texts(const std::vector<std::pair<double, QString>>& v) {
    QStringList out;
    out.reserve(qsizetype(v.size()));
    for (const auto& p : v) out << p.second;
    return out;
}

} // namespace

BroadcastConversion::BroadcastConversion(DbaseTable& table, IlgIncludes include)
    : table_(table), include_(include), freq_(table.fieldIndex(QStringLiteral("FREQ"))),
      utc_(table.fieldIndex(QStringLiteral("UTC"))), status_(table.fieldIndex(QStringLiteral("Status"))),
      station_(table.fieldIndex(QStringLiteral("STATION"))), target_(table.fieldIndex(QStringLiteral("TARGET"))),
      language_(table.fieldIndex(QStringLiteral("LANGUAGE"))), power_(table.fieldIndex(QStringLiteral("POWER"))),
      lati_(table.fieldIndex(QStringLiteral("LATI"))), longi_(table.fieldIndex(QStringLiteral("LONGI"))),
      country_(table.fieldIndex(QStringLiteral("COUNTRY"))), location_(table.fieldIndex(QStringLiteral("LOCATION"))) {
    for (size_t i = 0; i < area_.size(); ++i) area_[i] = table.fieldIndex(QLatin1String(kAreaNames[i]));
}

QString BroadcastConversion::lineOfCurrent(double* kHz) const {
    const std::optional<QString> utc = table_.value(utc_);
    if (!utc || utc->isEmpty() || !utc->at(0).isDigit() || utc->at(0).unicode() > '9') return QString();
    const QString status = table_.value(status_).value_or(QStringLiteral("C")).toUpper();
    static const std::array<QString, 4> letters{QStringLiteral("E"), QStringLiteral("I"), QStringLiteral("N"),
                                                QStringLiteral("P")};
    for (size_t i = 0; i < letters.size(); ++i)
        if (status == letters[i] && !include_[i]) return QString();

    // A record without a frequency, or one too large for the column, would
    // shift every later column: it is left out like one without a time.
    const std::optional<QString> freqText = table_.value(freq_);
    if (!freqText || !isNumber(*freqText)) return QString();
    const double f = freqText->trimmed().toDouble();
    if (f < 0) return QString();
    QString freq = formatPattern(f, QStringLiteral("00000.00"));
    freq.replace(QLatin1Char(','), QLatin1Char('.'));
    if (freq.size() != 8) return QString();

    QString flags(9, QLatin1Char('0'));
    for (size_t i = 0; i < area_.size(); ++i)
        if (table_.value(area_[i]) == QLatin1String(kAreaNames[i])) flags[qsizetype(i)] = QLatin1Char('1');

    const QString sp(QLatin1Char(' '));
    QString line = freq + sp + fitField(listText(utc), 9) + sp + fitField(listText(table_.value(station_)), 22) + sp +
                   fitField(listText(table_.value(target_)), 8) + sp +
                   fitField(listText(table_.value(language_)), 17) + sp +
                   fitField(listText(table_.value(power_)), 7) + sp + fitField(listText(table_.value(lati_)), 5) +
                   sp + fitField(listText(table_.value(longi_)), 6) + sp + flags + sp +
                   fitField(listText(table_.value(country_)), 12) + sp +
                   fitField(listText(table_.value(location_)), 12);
    if (kHz) *kHz = vbRound(f * 100) / 100;
    return line;
}

bool BroadcastConversion::convertNext() {
    if (table_.atEnd()) return false;
    double f = 0;
    const QString line = lineOfCurrent(&f);
    if (!line.isEmpty()) {
        lines_.emplace_back(f, line);
        last_ = line;
    }
    table_.moveNext();
    return !table_.atEnd();
}

QStringList BroadcastConversion::sortedLines() const { return texts(byFrequency(lines_)); }

void AeroConversion::feed(const QString& source) {
    QString line = source;
    const double v = val(line.left(8));
    ++count_;
    if (network_) {
        if (val(line) > 2000) {
            const QString key = columns(line, 1, 8) + columns(line, 17, 38);
            if (key != lastKey_) {
                lines_.emplace_back(val(key.left(8)), key.left(8) + QString(8, QLatin1Char(' ')) + key.mid(8));
                lastKey_ = key;
            }
        }
    } else if (!started_ && v <= 1000) {
        // headers before the list
    } else if (started_ && v < 1000) {
        // A continuation line carries on the frequency and the columns of
        // the full line above it.
        if (previous_.size() > 39 && line.size() > 39) {
            line = previous_.left(39) + line.mid(39);
            const double f = val(line.left(8));
            if (f > 1000) lines_.emplace_back(f, line);
        }
    } else {
        started_ = true;
        if (v > 1000) lines_.emplace_back(v, line);
    }
    previous_ = line;
}

QStringList AeroConversion::sortedLines() const { return texts(byFrequency(lines_)); }

QStringList missingBroadcastFields(const DbaseTable& table) {
    QStringList missing;
    for (const char* name : kBroadcastFields)
        if (table.fieldIndex(QLatin1String(name)) < 0) missing << QLatin1String(name);
    return missing;
}

QString broadcastListName(const QString& table) { return table + QStringLiteral(".ftl"); }

bool writeStationList(const QString& folder, const QString& name, const QStringList& lines, QString* error) {
    return writeLines(QDir(folder).filePath(name), lines, error);
}

} // namespace dovrane
