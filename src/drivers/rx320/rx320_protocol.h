#pragma once
// The RX-320's byte language: every command is a letter, raw parameter bytes
// (high byte first) and CR. Pure functions, no port, so the encoding can be
// checked byte for byte on its own.
#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

namespace dovrane::rx320 {

// Filter widths in Hz by filter number. The driver tunes from this table, not
// from BwTexts: the panels resize that one and another model may have filled it.
inline constexpr std::array<int, 34> FilterWidthsHz = {
    6000, 5700, 5400, 5100, 4800, 4500, 4200, 3900, 3600, 3300, 3000, 2850,
    2700, 2550, 2400, 2250, 2100, 1950, 1800, 1650, 1500, 1350, 1200, 1050,
    900,  750,  675,  600,  525,  450,  375,  330,  300,  8000};

enum Mode { AM = 0, USB = 1, LSB = 2, CW = 3 };
// AGC codes: 1 slow, 2 medium, 3 fast.
inline constexpr int SlowAgc = 1;
inline constexpr int FastAgc = 3;

// The filter width as the panels show it ("6000"), empty outside 0..33.
QString filterWidthText(int filter);

// Everything a tuning command is computed from.
struct TuningInput {
    double freqKHz = 0;
    int mode = AM;
    int filter = 0;
    int pbsHz = 0;
    int bfoHz = 0;
    double c5 = 0;    // correction in Hz at 5 MHz
    double c15 = 0;   // correction in Hz at 15 MHz
};

struct TuningFactors {
    int coarse = 0;
    double fine = 0;  // deliberately not rounded: only its low byte is
    int bfo = 0;
};

// The correction in Hz at freqHz: the straight line through c5 at 5 MHz and
// c15 at 15 MHz, taken down to a whole hertz.
double correctionHz(double freqHz, double c5, double c15);

// The three tuning factors; nullopt when the bytes of the command cannot carry
// them (mode outside 0..3, an unknown filter in a sideband mode, a frequency or
// offset that puts a factor below 0 or past its bytes).
std::optional<TuningFactors> tuningFactors(const TuningInput& in);
// "N", the six factor bytes and CR.
QByteArray tuningCommand(const TuningFactors& f);
std::optional<QByteArray> tuningCommand(const TuningInput& in);

// "W", the filter byte, CR; nullopt for a filter the width table lacks.
std::optional<QByteArray> filterCommand(int filter);
// "M", the mode digit, CR; nullopt outside 0..3.
std::optional<QByteArray> modeCommand(int mode);
// "G", the AGC digit, CR; nullopt outside 1..3.
std::optional<QByteArray> agcCommand(int agc);

// Audio levels run 0..99; anything else is taken to the nearer end.
int clampedLevel(int level);
// The attenuation byte 0..63 for a level: 63 is silence, 0 full volume.
int attenuation(int level);
// "V" (loudspeaker) or "A" (line out), 127, the attenuation byte, CR.
QByteArray volumeCommand(int level);
QByteArray linelevelCommand(int level);

QByteArray firmwareQuery();
QByteArray smeterQuery();
inline constexpr int SmeterReplySize = 4;
// The signal value of an "X" reply ('X', high, low, CR): 1.4 * ln(n) with the
// reading n taken unsigned, 0 for n = 0; nullopt for anything malformed.
std::optional<float> smeterValue(const QByteArray& reply);

} // namespace dovrane::rx320
