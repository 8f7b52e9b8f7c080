#pragma once
// "dovrane2.ini" (the settings) and "formpositions.ini" (the window positions).
// Both live in ConfigDir, the working directory at start-up: they are read from
// there and written back there, so what is saved is what the next start reads.
#include <QString>
#include <QStringList>
#include <cstdint>

namespace dovrane {

inline const QString SettingsFileName = QStringLiteral("dovrane2.ini");
inline const QString PositionsFileName = QStringLiteral("formpositions.ini");

// The examples the set-up dialog puts back for a bad location, and the location
// a missing or bad settings line gives.
inline const QString DefaultLatitude = QStringLiteral("5130N");
inline const QString DefaultLongitude = QStringLiteral("00007W");

// The data folder used when the settings name none that can be used: ~/ReZeri/.
QString defaultDataFolder();
// The value the set-up dialog gives Settings(index) by default (0 for an index
// without one).
float defaultSetting(int index);
// Whether value is allowed for Settings(index); indexes without a range accept
// any finite number.
bool settingInRange(int index, double value);
// A location text as the settings keep it: degrees and two digits of minutes
// (00..59), then "N"/"S" (5 characters, up to 90 degrees) or "E"/"W" (5 or 6
// characters, up to 180 degrees).
bool validLatitude(const QString& text);
bool validLongitude(const QString& text);

// The path of a file in ConfigDir (the working directory when ConfigDir is not set).
QString configFilePath(const QString& name);

// Reads "dovrane2.ini" into DataFolder, ConfiguredDataFolder, RxLatitude,
// RxLongitude, RxType, ConfiguredRxType and Settings(1..31), then sets
// FileKindPath(1..14). A missing file, or a line that is missing or holds a
// value the program cannot use, gives that value's default; lines after the
// 35th are ignored. Returns whether the file was there.
bool readSettingsFile();
// What the last readSettingsFile found and could not use, one text per line
// of the file: the line, what it held and what stands in its place. Empty when
// every line present was understood (missing lines are not listed).
QStringList settingsNotUnderstood();
// The notice the welcome window gives at start when some lines were not
// understood; empty when there is nothing to say.
QString settingsNotice();
// Writes the 35 lines of "dovrane2.ini" from ConfiguredDataFolder, RxLatitude,
// RxLongitude, ConfiguredRxType and Settings(1..31). False, with the reason in
// error, when it could not be written; the old file then stays as it was.
bool writeSettingsFile(QString* error = nullptr);

// Reads "formpositions.ini" into FormLeft/FormTop(1..42): the number at the
// start of a line is the left, the number after its last comma the top (a line
// without a comma keeps the top). Returns whether the file was there.
bool readPositionsFile();
// Writes the 42 lines of "formpositions.ini"; a value beyond +-40000 twips is
// written as 0. On failure it says so in a message and returns false.
bool writePositionsFile();

// Keeps a closing window's position under its index (1..42): left no further
// left than 1500 - width, so part of the window stays reachable, and top not
// above 0.
void storePosition(int index, int32_t left, int32_t top, int32_t width);

} // namespace dovrane
