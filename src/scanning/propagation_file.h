#pragma once
// The propagation file ("PAN_" files): three header lines (start, frequency
// text, station) and one 37-character line a recorded minute, "hh:mm" and
// four groups " min max" of the quarter minutes at seconds 1, 16, 31 and 46,
// each value in tenths of an S unit. Also the address file of the print form.
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

class QDateTime;

namespace dovrane {

inline constexpr int PropKind = 7;
inline constexpr int Prop2prtKind = 14;
inline constexpr int PropLineLength = 37;

// Line 1 of a file and the "Start" caption: "7 Mar 2004  01:30 UTC".
QString propStartText(const QDateTime& utc);

// One value of a group: a blank and three digits, the level in tenths cut
// down to the whole number below. Levels outside the three digits are held
// at 000 and 999 so the columns never shift.
QString propValueText(float level);

struct PropGroup {
    float min = 0;
    float max = 0;
};

// "hh:mm" and the four groups.
QString propMinuteLine(int hour, int minute, const std::array<PropGroup, 4>& groups);

// A minute line as a reader takes it: hour from columns 1-2, minute from
// 4-5, group k from the three characters at columns 7 + 8k and 11 + 8k,
// divided by 10. A short or foreign field reads as 0.
struct PropMinute {
    int hour = 0;
    int minute = 0;
    std::array<PropGroup, 4> groups{};
    QString time;   // the first five characters
};
PropMinute parsePropMinute(const QString& line);

struct PropFile {
    QString start, frequency, station;
    QList<PropMinute> minutes;
};
// The header and minute lines of a file; nullopt when it cannot be read.
// Lines after the header that are empty are skipped.
std::optional<PropFile> readPropFile(const QString& path);

// The name shown for a file: without its prefix and its ".TXT".
QString propShortName(const QString& fileName);

// The print form's "prop2prt.ini": up to nine lines (receiver, antenna,
// location, name, address, city, ZIP code, country, e-mail). A missing file
// gives nine empty fields; lines after the ninth are ignored.
std::array<QString, 9> readProp2prtIni(const QString& path);

} // namespace dovrane
