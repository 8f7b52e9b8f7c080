#pragma once
// "rx320settings.ini": the last settings sent to the RX-320, carried from one
// run to the next because the receiver cannot be asked for them. Eight lines,
// one number each: frequency (kHz), filter, passband shift, AGC, CW offset,
// mode, volume, line level.
//
// Whatever the file holds, what comes out of it can be sent: a line that is
// missing, holds no number or lies outside its field's range gives that
// field's start value instead.
#include <QString>
#include <QStringList>

namespace dovrane {

inline const QString Rx320SettingsFileName = QStringLiteral("rx320settings.ini");

struct Rx320Settings {
    double freq = 10000;   // kHz
    int bw = 2;            // 5400 Hz, the middle filter of the widest range
    int pbs = 0;           // Hz
    int agc = 2;           // medium
    int bfo = 0;           // Hz
    int mode = 0;          // AM
    int volume = 0;        // silent until the user turns it up
    int linelevel = 0;
    bool operator==(const Rx320Settings&) const = default;
};

// The field ranges; the frequency range is the receiver's tuning range.
struct Rx320Limits {
    double freqMin = 100;
    double freqMax = 30000;
};
inline constexpr int Rx320PbsLimit = 2000;
inline constexpr int Rx320BfoLimit = 3000;
inline constexpr int Rx320LevelMax = 99;

// The settings the lines stand for; start values where a line is missing or
// unusable. start supplies those values (the line level of the set-up, say).
Rx320Settings parseRx320Settings(const QStringList& lines, const Rx320Settings& start = {},
                                 const Rx320Limits& limits = {});
// The eight lines as written: numbers with "." and a leading blank when not
// negative; the frequency with up to 15 significant digits.
QStringList rx320SettingsLines(const Rx320Settings& s);

// Rx320State into and out of the settings.
Rx320Settings rx320SettingsFromState();
void rx320SettingsToState(const Rx320Settings& s);

// The file in folder (a folder path ending in "/"), found whatever the case of
// its name; a file that cannot be read gives start.
Rx320Settings readRx320SettingsFile(const QString& folder, const Rx320Settings& start = {},
                                    const Rx320Limits& limits = {});
// Replaces the file whole; the old one stays until the new one is complete.
bool writeRx320SettingsFile(const QString& folder, const Rx320Settings& s, QString* error = nullptr);

} // namespace dovrane
