#include "drivers/rx320/rx320_protocol.h"

#include <algorithm>
#include <cmath>

namespace dovrane::rx320 {

namespace {

constexpr char CR = '\r';
// Past these the receiver's 16-bit factors (and our 16-bit state) cannot
// follow; the real tuning range stays far inside them.
constexpr int MaxCoarse = 32767;
constexpr int MaxBfo = 65535;
constexpr double MaxCorrection = 32767;

// Nearest whole number, a half to the even neighbour, whatever the FPU's
// rounding mode happens to be.
double roundHalfEven(double x) {
    const double r = std::floor(x);
    const double d = x - r;
    if (d > 0.5) return r + 1;
    if (d < 0.5) return r;
    return std::fmod(r, 2.0) == 0 ? r : r + 1;
}

char byteOf(double v) { return char(uint8_t(std::clamp(v, 0.0, 255.0))); }

bool validFilter(int filter) { return filter >= 0 && filter < int(FilterWidthsHz.size()); }

} // namespace

QString filterWidthText(int filter) {
    return validFilter(filter) ? QString::number(FilterWidthsHz[size_t(filter)]) : QString();
}

double correctionHz(double freqHz, double c5, double c15) {
    return std::floor(c5 + (c15 - c5) * (freqHz - 5000000.0) / 10000000.0);
}

std::optional<TuningFactors> tuningFactors(const TuningInput& in) {
    if (!std::isfinite(in.freqKHz) || !std::isfinite(in.c5) || !std::isfinite(in.c15)) return std::nullopt;
    if (in.mode < AM || in.mode > CW) return std::nullopt;

    const double f = in.freqKHz * 1000.0;
    const double corr = correctionHz(f, in.c5, in.c15);
    if (std::fabs(corr) > MaxCorrection) return std::nullopt;

    // The sideband modes set the passband half a filter width plus 200 Hz
    // beside the carrier.
    double offset = 0;
    double a = 0;
    switch (in.mode) {
    case AM:
    case CW:
        offset = in.pbsHz;
        a = corr + f - 1250 - offset;
        break;
    case USB:
    case LSB: {
        if (!validFilter(in.filter)) return std::nullopt;
        offset = FilterWidthsHz[size_t(in.filter)] / 2.0 + 200 + in.pbsHz;
        a = in.mode == USB ? corr + f - 1250 + offset : corr + f - 1250 - offset;
        break;
    }
    }

    const double ar = roundHalfEven(a);
    if (ar < 0) return std::nullopt;
    const double coarse = std::floor(ar / 2500) + 18000;
    if (coarse > MaxCoarse) return std::nullopt;
    const double bfoBase = in.mode == CW ? in.bfoHz + offset + 8000 : offset + 8000;
    const double bfo = std::floor(bfoBase * 2.73);
    if (bfo < 0 || bfo > MaxBfo) return std::nullopt;

    TuningFactors out;
    out.coarse = int(coarse);
    // Coarse and Fine both come from Ar, so Coarse * 2500 + Fine / 5.46 gives Ar back.
    out.fine = std::fmod(ar, 2500.0) * 5.46;
    out.bfo = int(bfo);
    return out;
}

QByteArray tuningCommand(const TuningFactors& t) {
    const double coarseHi = std::floor(t.coarse / 256.0);
    const double fineHi = std::floor(t.fine / 256);
    const double bfoHi = std::floor(t.bfo / 256.0);
    QByteArray cmd;
    cmd.reserve(8);
    cmd += 'N';
    cmd += byteOf(coarseHi);
    cmd += byteOf(t.coarse - 256 * coarseHi);
    cmd += byteOf(fineHi);
    // No carry: a low part of 255.5 or more goes out as 255, less than one Fine unit off.
    cmd += byteOf(roundHalfEven(t.fine - 256 * fineHi));
    cmd += byteOf(bfoHi);
    cmd += byteOf(t.bfo - 256 * bfoHi);
    cmd += CR;
    return cmd;
}

std::optional<QByteArray> tuningCommand(const TuningInput& in) {
    const auto t = tuningFactors(in);
    if (!t) return std::nullopt;
    return tuningCommand(*t);
}

std::optional<QByteArray> filterCommand(int filter) {
    if (!validFilter(filter)) return std::nullopt;
    QByteArray cmd("W");
    cmd += char(uint8_t(filter));
    cmd += CR;
    return cmd;
}

std::optional<QByteArray> modeCommand(int mode) {
    if (mode < AM || mode > CW) return std::nullopt;
    QByteArray cmd("M");
    cmd += char('0' + mode);
    cmd += CR;
    return cmd;
}

std::optional<QByteArray> agcCommand(int agc) {
    if (agc < SlowAgc || agc > FastAgc) return std::nullopt;
    QByteArray cmd("G");
    cmd += char('0' + agc);
    cmd += CR;
    return cmd;
}

int clampedLevel(int level) { return std::clamp(level, 0, 99); }

int attenuation(int level) {
    const int v = clampedLevel(level);
    const double att = roundHalfEven((99 - std::sqrt(double(v * 99))) * 63 / 99);
    return std::clamp(int(att), 0, 63);
}

namespace {
QByteArray levelCommand(char letter, int level) {
    QByteArray cmd;
    cmd += letter;
    cmd += char(127);
    cmd += char(uint8_t(attenuation(level)));
    cmd += CR;
    return cmd;
}
} // namespace

QByteArray volumeCommand(int level) { return levelCommand('V', level); }
QByteArray linelevelCommand(int level) { return levelCommand('A', level); }

QByteArray firmwareQuery() { return QByteArray("?\r"); }
QByteArray smeterQuery() { return QByteArray("X\r"); }

std::optional<float> smeterValue(const QByteArray& reply) {
    if (reply.size() < SmeterReplySize || reply[0] != 'X' || reply[3] != CR) return std::nullopt;
    // The reading is unsigned: a high byte of 128 or more is a strong signal,
    // not a negative one.
    const unsigned n = unsigned(uint8_t(reply[1])) * 256u + uint8_t(reply[2]);
    if (n == 0) return 0.0f;
    return std::max(0.0f, float(1.4 * std::log(double(n))));
}

} // namespace dovrane::rx320
