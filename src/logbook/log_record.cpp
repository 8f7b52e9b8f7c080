#include "logbook/log_record.h"

#include "lists/list_files.h"
#include "platform/number_text.h"
#include "platform/text_file.h"
#include "shell/globals.h"
#include "shell/settings_file.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cmath>

namespace dovrane {

namespace {

constexpr std::array<LogFieldInfo, LogFields> kFields{{
    {8, 5, "Date", 960, "Date (yyyymmdd)", "Date"},
    {4, 14, "UTC", 480, "Start UTC (hhmm)", "Start Time"},
    {4, 19, "UTC", 480, "End UTC (hhmm)", "End Time"},
    {9, 24, "Frequency", 1080, "Frequency (kHz)", "Frequency"},
    {5, 34, "SINPO", 600, "SINPO (#####)", "SINPO"},
    {3, 40, "Lan", 360, "Language (%%%)", "Language"},
    {20, 44, "Organisation", 2400, "Organisation", "BC org."},
    {20, 65, "Tx location", 2400, "TX Location", "Tx Loc."},
    {5, 86, "//Freq", 600, "// Frequency 1", "// Freq 1"},
    {5, 92, "//Freq", 600, "// Frequency 2", "// Freq 2"},
    {5, 98, "//Freq", 600, "// Frequency 3", "// Freq 3"},
    {5, 104, "//Freq", 600, "// Frequency 4", "// Freq 4"},
    {40, 110, "Remarks", 4800, "Remarks", "Remarks"},
    {4, 151, "Rx", 480, "RX setting", "RX setting"},
    {4, 156, "Aux", 480, "Auxilary", "Auxilary"},
}};

// The five key fields of each LogSortKey, in key order.
constexpr std::array<std::array<int, 5>, 5> kKeyOrders{{
    {0, 1, 3, 6, 5},
    {1, 0, 3, 6, 5},
    {3, 0, 1, 6, 5},
    {6, 0, 1, 3, 5},
    {5, 0, 1, 3, 6},
}};

const QString kGridFormatFile = QStringLiteral("loggridformat.ini");

bool isAllDigits(const QString& s) {
    if (s.isEmpty()) return false;
    for (QChar c : s)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return true;
}

} // namespace

const LogFieldInfo& logField(int field) { return kFields[size_t(std::clamp(field, 0, LogFields - 1))]; }

void fillLogColumnTables() {
    LogColTitle[0] = QStringLiteral("Nr");
    LogColWidth[0] = 360;
    for (int f = 0; f < LogFields; ++f) {
        LogColTitle[size_t(f + 1)] = QString::fromLatin1(kFields[size_t(f)].title);
        LogColWidth[size_t(f + 1)] = kFields[size_t(f)].gridTwips;
    }
}

int logCapacity() { return listCapacity(6) + 1; }

QString logNumberText(int r) { return formatPattern(double(((r % 1000) + 1000) % 1000), QStringLiteral("000")); }

QString logLine(int r, const LogRecord& record) {
    QString line = logNumberText(r) + QLatin1Char(' ');
    for (int f = 0; f < LogFields; ++f) {
        const int width = kFields[size_t(f)].width;
        // A text longer than its field would push every later field out of
        // its columns, so it is cut to the field.
        line += record[size_t(f)].left(width).leftJustified(width + 1, QLatin1Char(' '));
    }
    return line;
}

LogRecord logRecordFromLine(const QString& line) {
    // Most records leave several fields blank (the parallel frequencies, the
    // end time, the auxiliary field): those share one text per field width
    // instead of a copy each.
    static const std::array<QString, LogFields> blanks = [] {
        std::array<QString, LogFields> b;
        for (int f = 0; f < LogFields; ++f) b[size_t(f)] = QString(kFields[size_t(f)].width, QLatin1Char(' '));
        return b;
    }();
    LogRecord r;
    const QStringView all(line);
    for (int f = 0; f < LogFields; ++f) {
        const qsizetype start = kFields[size_t(f)].column - 1;
        if (start >= all.size()) break;
        const QStringView text = all.mid(start, kFields[size_t(f)].width);
        const bool blank = text.size() == kFields[size_t(f)].width &&
                           std::all_of(text.begin(), text.end(), [](QChar c) { return c == QLatin1Char(' '); });
        r[size_t(f)] = blank ? blanks[size_t(f)] : text.toString();
    }
    return r;
}

std::optional<LogFileContent> readLogFile(const QString& path, int capacity) {
    const std::optional<QStringList> lines = readTextLines(path);
    if (!lines) return std::nullopt;
    LogFileContent content;
    const int n = int(lines->size());
    const int take = std::min(n, std::max(capacity, 0));
    content.records.reserve(size_t(take));
    for (int i = 0; i < take; ++i) content.records.push_back(logRecordFromLine(lines->at(i)));
    content.beyond.reserve(size_t(n - take));
    for (int i = take; i < n; ++i) content.beyond.push_back(logRecordFromLine(lines->at(i)));
    content.leftOut = n - take;
    return content;
}

std::optional<QString> unwritableLogText(const std::vector<LogRecord>& records) {
    for (const LogRecord& r : records)
        for (const QString& s : r)
            for (QChar c : s)
                if (c.unicode() > 0xFF) return s;
    return std::nullopt;
}

bool writeLogFile(const QString& path, const std::vector<LogRecord>& records, QString* error,
                  const std::vector<LogRecord>& beyond) {
    std::optional<QString> bad = unwritableLogText(records);
    if (!bad) bad = unwritableLogText(beyond);
    if (bad) {
        if (error) *error = QStringLiteral("\"%1\" holds characters the log file cannot keep").arg(*bad);
        return false;
    }
    QStringList lines;
    lines.reserve(qsizetype(records.size() + beyond.size()));
    for (size_t r = 0; r < records.size(); ++r) lines << logLine(int(r), records[r]);
    for (size_t r = 0; r < beyond.size(); ++r) lines << logLine(int(records.size() + r), beyond[r]);
    return writeLines(path, lines, error);
}

bool writeWholeLog(const QString& path, QString* error) { return writeLogFile(path, LogRecords, error, LogBeyond); }

QString normalLogGridFormat(const QString& line) {
    QString f(LogFields, QLatin1Char('0'));
    for (int p = 0; p < LogFields && p < line.size(); ++p)
        if (line[p] == QLatin1Char('1')) f[p] = QLatin1Char('1');
    return f;
}

QString readLogGridFormat(const QString& folder) {
    const QString path = findCaseInsensitive(folder, kGridFormatFile);
    const std::optional<QStringList> lines = QFileInfo(path).isFile() ? readLines(path) : std::nullopt;
    if (!lines) return QString(LogFields, QLatin1Char('1'));
    return normalLogGridFormat(lines->isEmpty() ? QString() : lines->first());
}

bool writeLogGridFormat(const QString& folder, const QString& format, QString* error) {
    return writeLines(findCaseInsensitive(folder, kGridFormatFile), {normalLogGridFormat(format)}, error);
}

std::vector<int> logGridFields(const QString& format) {
    std::vector<int> fields;
    for (int f = 0; f < LogFields && f < format.size(); ++f)
        if (format[f] == QLatin1Char('1')) fields.push_back(f);
    return fields;
}

int logFormatLength(const QString& format) {
    int sum = 0;
    for (int f : logGridFields(format)) sum += kFields[size_t(f)].width + 1;
    return sum;
}

QStringList logGridRow(int r, const LogRecord& record, const std::vector<int>& fields) {
    QStringList cells;
    cells.reserve(qsizetype(fields.size() + 1));
    cells << logNumberText(r);
    for (int f : fields) cells << record[size_t(f)];
    return cells;
}

namespace {

// A frequency field in thousandths as std::round(val(text) * 1000) gives it,
// for the plain forms a log holds ("09410", "9410,5", "09410.500", trailing
// blanks); nullopt for anything else, which val() itself must read.
std::optional<qint64> plainThousandths(const QString& text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    const auto digitAt = [&](qsizetype k) {
        return k < n && text[k] >= QLatin1Char('0') && text[k] <= QLatin1Char('9');
    };
    while (i < n && text[i] == QLatin1Char(' ')) ++i;
    qint64 whole = 0;
    int digits = 0;
    for (; digitAt(i); ++i, ++digits) whole = whole * 10 + (text[i].unicode() - u'0');
    if (digits == 0 || digits > 9) return std::nullopt;
    qint64 fraction = 0;
    int places = 0;
    if (i < n && (text[i] == QLatin1Char('.') || text[i] == QLatin1Char(','))) {
        for (++i; digitAt(i); ++i, ++places) {
            // More places would need rounding: val() decides those.
            if (places == 3) return std::nullopt;
            fraction = fraction * 10 + (text[i].unicode() - u'0');
        }
    }
    while (i < n && text[i] == QLatin1Char(' ')) ++i;
    if (i < n) return std::nullopt;
    for (; places < 3; ++places) fraction *= 10;
    return whole * 1000 + fraction;
}

// Appends text in upper case, cut or padded to width; plain ASCII, what a
// log mostly holds, is upper-cased on the way without a copy.
void appendKeyField(QString& key, const QString& text, int width) {
    const qsizetype n = std::min<qsizetype>(text.size(), width);
    const QChar* c = text.constData();
    if (std::all_of(c, c + n, [](QChar ch) { return ch.unicode() < 0x80; })) {
        for (qsizetype i = 0; i < n; ++i) {
            const char16_t u = c[i].unicode();
            key += QChar(u >= u'a' && u <= u'z' ? char16_t(u - 32) : u);
        }
        for (qsizetype i = n; i < width; ++i) key += QLatin1Char(' ');
        return;
    }
    // Beyond ASCII a letter may grow in upper case ("ß" gives "SS"), so the
    // whole text is upper-cased before it is cut.
    key += text.toUpper().leftJustified(width, QLatin1Char(' '), true);
}

} // namespace

QString logSortKey(const LogRecord& record, int sortKey) {
    const auto& order = kKeyOrders[size_t(std::clamp(sortKey, 0, 4))];
    QString key;
    key.reserve(64);
    for (int f : order) {
        const int width = kFields[size_t(f)].width;
        if (f == LogFieldFrequency) {
            // Stored as "09410", "09410.500" or as a file holds it: compare the
            // numbers, wide enough for any frequency the field can hold.
            qint64 thousandths = 0;
            if (const std::optional<qint64> plain = plainThousandths(record[size_t(f)])) {
                thousandths = *plain;
            } else {
                QString t = record[size_t(f)];
                t.replace(QLatin1Char(','), QLatin1Char('.'));
                thousandths = qint64(std::round(std::clamp(val(t), 0.0, 1e9) * 1000));
            }
            const QString number = QString::number(thousandths);
            for (qsizetype pad = number.size(); pad < 13; ++pad) key += QLatin1Char('0');
            key += number;
        } else {
            appendKeyField(key, record[size_t(f)], width);
        }
    }
    return key;
}

void sortLogRecords(std::vector<LogRecord>& records, int sortKey) {
    std::vector<std::pair<QString, size_t>> keys;
    keys.reserve(records.size());
    for (size_t i = 0; i < records.size(); ++i) keys.emplace_back(logSortKey(records[i], sortKey), i);
    // Compared by character codes, as the keys are plain one-byte texts.
    std::stable_sort(keys.begin(), keys.end(), [](const auto& a, const auto& b) {
        return QString::compare(a.first, b.first, Qt::CaseSensitive) < 0;
    });
    std::vector<LogRecord> sorted;
    sorted.reserve(records.size());
    for (const auto& k : keys) sorted.push_back(std::move(records[k.second]));
    records = std::move(sorted);
}

QString logTimeText(const QString& typed) {
    if (!isAllDigits(typed)) return typed;
    return formatPattern(val(typed), QStringLiteral("0000"));
}

std::optional<QString> logFrequencyText(const QString& typed) {
    QString t = typed;
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    const double v = val(t);
    // Five whole digits at most, so that frequencies sort as numbers.
    if (v < 0 || v >= 100000) return std::nullopt;
    const QString s = (v == std::floor(v)) ? formatPattern(v, QStringLiteral("00000"))
                                           : formatPattern(v, QStringLiteral("00000.000"));
    if (s.size() > kFields[LogFieldFrequency].width) return std::nullopt;
    return s;
}

} // namespace dovrane
