#include "shell/settings_file.h"
#include "platform/dialogs.h"
#include "shell/common_tables.h"
#include "shell/globals.h"
#include "platform/number_text.h"
#include "platform/text_file.h"

#include <QDir>
#include <QRegularExpression>
#include <algorithm>
#include <array>
#include <climits>
#include <cmath>

namespace dovrane {

namespace {

constexpr int kSettingsLines = 35;   // folder, latitude, longitude, type, Settings(1..31)
constexpr int kLastSetting = 31;
constexpr int kPositions = 42;
constexpr int32_t kPositionLimit = 40000;

struct Range {
    bool bounded;
    double lo, hi;
    bool whole;      // a code or count the program only ever uses whole
    float byDefault;
};

// Indexed like Settings; the defaults are those the set-up dialog puts back.
constexpr std::array<Range, 33> kRanges{{
    {false, 0, 0, false, 0},        // 0 unused
    {true, 1, 5, true, 1},          // 1 serial port
    {true, 0, 8, true, 0},          // 2 target area
    {true, -13, 13, false, 0},      // 3 local time minus UTC
    {true, 1, 30, false, 2},        // 4 BDXC list size
    {true, 1, 30, false, 1},        // 5 own list size
    {true, 1, 30, false, 1},        // 6 log size
    {true, 1, 30, false, 15},       // 7 database list size
    {false, 0, 0, false, 0},        // 8 placeholder
    {false, 0, 0, false, 0},        // 9 placeholder
    {true, 0, 1, true, 0},          // 10 NRD-535 1 kHz filter
    {true, 0, 1, true, 0},          // 11 NRD-535 BWC
    {true, 0, 1, true, 0},          // 12 NRD-535 ECSS
    {true, 0, 1, true, 0},          // 13 NRD-535 RTTY
    {true, 1, 6, true, 1},          // 14 AR7030 filter AM
    {true, 1, 6, true, 1},          // 15 AR7030 filter SSB
    {true, 1, 6, true, 1},          // 16 AR7030 filter CW
    {true, 1, 6, true, 1},          // 17 AR7030 filter FM
    {true, 0, 1, true, 0},          // 18 RX-320 mute loudspeaker
    {true, 0, 1, true, 0},          // 19 RX-320 mute line
    {true, -1000, 1000, false, 0},  // 20 RX-320 correction at 5 MHz
    {true, -1000, 1000, false, 0},  // 21 RX-320 correction at 15 MHz
    {true, 0, 1, true, 0},          // 22 AR7030 line sliders disabled
    {true, 1, 9, false, 1},         // 23 NRD-545 AGC factor fast
    {true, 1, 9, false, 3},         // 24 NRD-545 AGC factor medium
    {true, 1, 9, false, 9},         // 25 NRD-545 AGC factor slow
    {true, 0, 255, false, 50},      // 26 NRD-545 noise reduction
    {true, 0, 255, false, 20},      // 27 NRD-545 beat canceller
    {true, 0, 99, false, 0},        // 28 AR7030 line level left
    {true, 0, 99, false, 0},        // 29 AR7030 line level right
    {true, 0, 1, true, 0},          // 30 RX-320 line slider disabled
    {true, 0, 99, false, 0},        // 31 RX-320 line level
    {false, 0, 0, false, 0},        // 32 unused
}};

// What each setting is, for the notice about lines that were not understood.
constexpr std::array<const char*, 32> kSettingNames{
    "",
    "serial port",
    "receiver's target area",
    "local time minus UTC",
    "size of the BDXC list",
    "size of the own list",
    "size of the log",
    "size of the database lists",
    "placeholder",
    "placeholder",
    "NRD-535 1 kHz filter",
    "NRD-535 BWC",
    "NRD-535 ECSS",
    "NRD-535 RTTY",
    "AR7030 filter for AM",
    "AR7030 filter for SSB",
    "AR7030 filter for CW",
    "AR7030 filter for FM",
    "RX-320 loudspeaker mute",
    "RX-320 line mute",
    "RX-320 correction at 5 MHz",
    "RX-320 correction at 15 MHz",
    "AR7030 line sliders disabled",
    "NRD-545 AGC fast",
    "NRD-545 AGC medium",
    "NRD-545 AGC slow",
    "NRD-545 noise reduction",
    "NRD-545 beat canceller",
    "AR7030 line level left",
    "AR7030 line level right",
    "RX-320 line slider disabled",
    "RX-320 line level",
};

QStringList& notUnderstood() {
    static QStringList l;
    return l;
}

// A line as the program writes a number: an optional sign, digits and one
// point, blanks around it. Anything else was not written by the program.
bool isNumberLine(const QString& line) {
    static const QRegularExpression number(QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)\\s*$"));
    return number.match(line).hasMatch();
}

void noteNotUnderstood(int lineNo, const QString& what, const QString& held, const QString& used) {
    QString shown = held;
    if (shown.size() > 40) shown = shown.left(37) + QStringLiteral("...");
    notUnderstood() << QStringLiteral("line %1, %2 \"%3\": %4 is used").arg(lineNo).arg(what, shown, used);
}

QString configDir() { return ConfigDir.isEmpty() ? QDir::currentPath() : ConfigDir; }

bool allDigits(const QString& s) {
    if (s.isEmpty()) return false;
    for (QChar c : s)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return true;
}

// Degrees, two digits of minutes and a hemisphere letter, within maxDegrees.
bool validLocation(const QString& text, int minLength, int maxLength, QChar a, QChar b, int maxDegrees) {
    if (text.size() < minLength || text.size() > maxLength) return false;
    const QChar hemisphere = text.back();
    if (hemisphere != a && hemisphere != b) return false;
    const QString digits = text.left(text.size() - 1);
    if (!allDigits(digits)) return false;
    const int minutes = digits.right(2).toInt();
    const int degrees = digits.left(digits.size() - 2).toInt();
    return minutes <= 59 && degrees * 60 + minutes <= maxDegrees * 60;
}

// Line 1 is a UTF-8 path; the program can only use an absolute one.
QString folderFromLine(const QString& latin1Line) {
    const QByteArray bytes = latin1Line.toLatin1();
    QString folder = QString::fromUtf8(bytes);
    if (folder.toUtf8() != bytes) return QString();   // not UTF-8
    if (!folder.startsWith(QLatin1Char('/'))) return QString();
    for (QChar c : folder)
        if (c.category() == QChar::Other_Control || c == QLatin1Char('\\')) return QString();
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    return folder;
}

int32_t positionValue(const QString& text) {
    const double v = vbRound(val(text));
    return std::fabs(v) > kPositionLimit ? 0 : int32_t(v);
}

int32_t positionToWrite(int32_t v) { return (v > kPositionLimit || v < -kPositionLimit) ? 0 : v; }

} // namespace

QString defaultDataFolder() { return QDir::homePath() + QStringLiteral("/ReZeri/"); }

float defaultSetting(int index) {
    if (index < 0 || index >= int(kRanges.size())) return 0;
    return kRanges[size_t(index)].byDefault;
}

bool settingInRange(int index, double value) {
    if (index < 0 || index >= int(kRanges.size()) || !std::isfinite(value)) return false;
    const Range& r = kRanges[size_t(index)];
    if (!std::isfinite(float(value))) return false;
    if (!r.bounded) return true;
    if (r.whole) value = vbRound(value);
    return value >= r.lo && value <= r.hi;
}

bool validLatitude(const QString& text) {
    return validLocation(text, 5, 5, QLatin1Char('N'), QLatin1Char('S'), 90);
}

bool validLongitude(const QString& text) {
    return validLocation(text, 5, 6, QLatin1Char('E'), QLatin1Char('W'), 180);
}

QString configFilePath(const QString& name) { return QDir(configDir()).filePath(name); }

bool readSettingsFile() {
    DataFolder = defaultDataFolder();
    RxLatitude = DefaultLatitude;
    RxLongitude = DefaultLongitude;
    RxType = 0;
    Settings.fill(0);
    for (int i = 1; i <= kLastSetting; ++i) Settings[size_t(i)] = defaultSetting(i);

    notUnderstood().clear();
    const auto lines = readLines(findCaseInsensitive(configDir(), SettingsFileName));
    if (lines) {
        const int n = int(lines->size());
        if (n >= 1) {
            QString first = lines->at(0);
            // Some editors put a UTF-8 byte-order mark in front of the text.
            if (first.startsWith(QStringLiteral("\u00EF\u00BB\u00BF"))) first = first.mid(3);
            const QString folder = folderFromLine(first);
            if (!folder.isEmpty())
                DataFolder = folder;
            else
                noteNotUnderstood(1, QStringLiteral("data folder"), first, DataFolder);
        }
        if (n >= 2) {
            if (validLatitude(lines->at(1)))
                RxLatitude = lines->at(1);
            else
                noteNotUnderstood(2, QStringLiteral("latitude"), lines->at(1), RxLatitude);
        }
        if (n >= 3) {
            if (validLongitude(lines->at(2)))
                RxLongitude = lines->at(2);
            else
                noteNotUnderstood(3, QStringLiteral("longitude"), lines->at(2), RxLongitude);
        }
        if (n >= 4) {
            const double type = vbRound(val(lines->at(3)));
            if (isNumberLine(lines->at(3)) && type >= 0 && type <= 4)
                RxType = int(type);
            else
                noteNotUnderstood(4, QStringLiteral("receiver type"), lines->at(3), numText(double(RxType)).trimmed());
        }
        for (int i = 1; i <= kLastSetting && i + 4 <= n; ++i) {
            const QString& line = lines->at(i + 3);
            double v = val(line);
            if (kRanges[size_t(i)].whole) v = vbRound(v);
            if (settingInRange(i, v)) Settings[size_t(i)] = float(v);
            // The placeholders hold nothing the program uses.
            if (kRanges[size_t(i)].bounded && (!isNumberLine(line) || !settingInRange(i, v)))
                noteNotUnderstood(i + 4, QLatin1String(kSettingNames[size_t(i)]), line,
                                  numText(Settings[size_t(i)]).trimmed());
        }
    }
    ConfiguredDataFolder = DataFolder;
    ConfiguredRxType = RxType;
    setFileKindPaths();
    return lines.has_value();
}

QStringList settingsNotUnderstood() { return notUnderstood(); }

QString settingsNotice() {
    const QStringList& lines = notUnderstood();
    if (lines.isEmpty()) return QString();
    constexpr int kShown = 12;
    QStringList shown = lines.mid(0, kShown);
    if (lines.size() > kShown) shown << QStringLiteral("and %1 more lines").arg(lines.size() - kShown);
    return QStringLiteral("Some settings in\n%1\nwere not understood:\n\n%2\n\n"
                          "These stand in their place until Set Up saves new ones.")
        .arg(QDir::toNativeSeparators(findCaseInsensitive(configDir(), SettingsFileName)), shown.join(QLatin1Char('\n')));
}

bool writeSettingsFile(QString* error) {
    QStringList lines;
    lines.reserve(kSettingsLines);
    // The folder is UTF-8 on disk; the writer passes each character as one byte.
    lines << QString::fromLatin1(ConfiguredDataFolder.toUtf8());
    lines << RxLatitude << RxLongitude;
    lines << numText(double(ConfiguredRxType));
    for (int i = 1; i <= kLastSetting; ++i) lines << numText(Settings[size_t(i)]);
    return writeLines(configFilePath(SettingsFileName), lines, error);
}

bool readPositionsFile() {
    const auto lines = readLines(findCaseInsensitive(configDir(), PositionsFileName));
    if (!lines) return false;
    const int n = std::min(int(lines->size()), kPositions);
    for (int k = 1; k <= n; ++k) {
        const QString& line = lines->at(k - 1);
        FormLeft[size_t(k)] = positionValue(line);
        const int comma = line.lastIndexOf(QLatin1Char(','));
        if (comma >= 0) FormTop[size_t(k)] = positionValue(line.mid(comma + 1));
    }
    return true;
}

bool writePositionsFile() {
    QStringList lines;
    lines.reserve(kPositions);
    for (int k = 1; k <= kPositions; ++k)
        lines << numText(double(positionToWrite(FormLeft[size_t(k)]))) + QLatin1Char(',') +
                     numText(double(positionToWrite(FormTop[size_t(k)])));
    const QString path = configFilePath(PositionsFileName);
    QString error;
    if (writeLines(path, lines, &error)) return true;
    dialogs::message(QStringLiteral("The window positions could not be saved to\n%1\n%2").arg(path, error),
                     dialogs::Buttons::Ok, dialogs::Icon::Exclamation, QStringLiteral("Error"));
    return false;
}

void storePosition(int index, int32_t left, int32_t top, int32_t width) {
    if (index < 1 || index > kPositions) return;
    int64_t l = left;
    const int64_t leftmost = 1500 - int64_t(width);
    if (l < leftmost) l = leftmost;
    FormLeft[size_t(index)] = int32_t(std::clamp<int64_t>(l, INT32_MIN, INT32_MAX));
    FormTop[size_t(index)] = std::max<int32_t>(top, 0);
}

} // namespace dovrane
