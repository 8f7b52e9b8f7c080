#pragma once
// The three frequency lists the list windows read: BDXC schedules (file kind
// 1, fixed columns with ditto marks), the user's own list (kind 2, fixed
// columns with a mode letter) and RX-320 ".320" files (kind 10, fields ended
// by commas). All are read only.
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

namespace dovrane {

inline constexpr int ListLineWidth = 100;
inline constexpr int MaxListFrequencies = 10;
inline constexpr int F320Fields = 15;

// A line cut or padded to 100 characters.
QString fitListLine(const QString& line);
// The frequencies of a comma-separated text, at most 10: each field's number
// in plain decimal form, with a leading blank when leadingBlank is set; a
// value below 10 gives an empty cell. Fields beyond the tenth are ignored.
QStringList listFrequencies(const QString& text, bool leadingBlank);

// The lines of a one-byte text file, ended by CR LF, LF or CR; a trailing
// end-of-file mark is no line. nullopt when the file cannot be read.
std::optional<QStringList> readTextLines(const QString& path);

// Lines of a list file up to a capacity, and how many were left out.
struct ListFileLines {
    QStringList lines;
    int leftOut = 0;
};
// nullopt when the file cannot be read. A trailing end-of-file mark is no line.
std::optional<ListFileLines> readListFile(const QString& path, int capacity);
// The records of a list whose size setting is Settings(index) thousands: the
// setting times 1000, to the nearest record (2.5 gives 2500), the default when
// the setting was never read. The one rule of every list: those indexed from 0
// (the log, the station lists) hold one more.
int listCapacity(int settingIndex);

// ---- BDXC ----

// The records of a BDXC file, in file order, each fitted to 100 characters
// with its ditto marks resolved: "." in column 1 takes columns 1-17 of the
// record before, then "." in column 18 takes columns 18-35.
std::vector<QString> resolveBdxcLines(const QStringList& lines);
// Whether a selection answer is a time: four characters, 0 < value <= 2400.
bool bdxcTimeAnswer(const QString& answer);
// Whether a record is on the air at time t ("hhmm"), its times compared as texts.
bool bdxcOnAir(const QString& record, const QString& t);
// The ten grid cells of a record: country, organisation, time, frequencies 1-7.
QStringList bdxcRow(const QString& record);
// The title row: its first two cells follow the file name ("ILG..." files).
QStringList bdxcTitles(const QString& fileName);

// ---- own list ----

// The fourteen grid cells of an own-list record: organisation, ITU code,
// language, time, frequencies 1-8, an empty cell, the mode letter in upper case.
QStringList ownRow(const QString& record);

// ---- .320 ----

using F320Record = std::array<QString, F320Fields>;
// The fields of a line: each text a "," ends, at most 15, one leading and one
// trailing double quote removed; text after the last "," is dropped.
F320Record f320Fields(const QString& line);
// The eight grid cells: name, frequency in kHz ("00000.000"), mode, location,
// language, start, end and the first 20 characters of the notes.
QStringList f320Row(const F320Record& record);

} // namespace dovrane
