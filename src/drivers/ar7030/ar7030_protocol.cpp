#include "drivers/ar7030/ar7030_protocol.h"
#include "drivers/memory_record.h"
#include "platform/number_text.h"

#include <cmath>

namespace dovrane::ar7030 {

namespace {

// The receiver's two frequency constants differ in their last digits; each
// direction keeps its own so that tuned values read back as the receiver
// reports them.
constexpr double WordsPerKHzWrite = 376.6352228;
// The read constant in millionths, for whole-number arithmetic.
constexpr uint64_t ReadMillionths = 376635223;
constexpr double WordsPerKHzRead = double(ReadMillionths) / 1e6;

bool nibble(int v) { return v >= 0 && v <= 15; }
bool byteValue(int v) { return v >= 0 && v <= 255; }

// Limits a level byte computed in double before it becomes an int, so that
// no request, however large, can overflow on the way.
int limitDouble(double x, int lo, int hi) {
    if (!(x >= lo)) return lo;  // also NaN
    if (x > hi) return hi;
    return int(x);
}

} // namespace

Sequence& Sequence::raw(uint8_t byte) {
    bytes_.append(char(byte));
    return *this;
}

Sequence& Sequence::page(int p) {
    if (!nibble(p)) valid_ = false;
    return raw(uint8_t(CmdPage + (p & 15)));
}

Sequence& Sequence::address(int a) {
    if (!byteValue(a)) valid_ = false;
    raw(uint8_t(CmdLoadH + ((a >> 4) & 15)));
    return raw(uint8_t(CmdSetAddress + (a & 15)));
}

Sequence& Sequence::addressZero() { return raw(CmdSetAddress); }

Sequence& Sequence::memoryAddress(int a) {
    if (a < 0 || a > 0xFFF) valid_ = false;
    raw(uint8_t(CmdLoadH + ((a >> 4) & 15)));
    raw(uint8_t(CmdSetAddress + (a & 15)));
    return raw(uint8_t(CmdHighAddress + ((a >> 8) & 15)));
}

Sequence& Sequence::write(int v) {
    if (!byteValue(v)) valid_ = false;
    raw(uint8_t(CmdLoadH + ((v >> 4) & 15)));
    return raw(uint8_t(CmdWrite + (v & 15)));
}

Sequence& Sequence::shortWrite(int v) {
    if (!nibble(v)) valid_ = false;
    return raw(uint8_t(CmdWrite + (v & 15)));
}

Sequence& Sequence::read() { return raw(CmdRead); }

Sequence& Sequence::execute(int routine) {
    if (!nibble(routine)) valid_ = false;
    return raw(uint8_t(CmdExecute + (routine & 15)));
}

Sequence& Sequence::frequencyWord(uint32_t word) {
    if (word > MaxWord) valid_ = false;
    for (int shift = 20; shift >= 0; shift -= 8) {
        raw(uint8_t(CmdLoadH + ((word >> shift) & 15)));
        raw(uint8_t(CmdWrite + ((word >> (shift - 4)) & 15)));
    }
    return *this;
}

Sequence& Sequence::append(const Sequence& other) {
    bytes_.append(other.bytes_);
    valid_ = valid_ && other.valid_;
    return *this;
}

Sequence powerOffSequence() {
    Sequence s;
    s.raw(CmdPowerOffPrefix);
    s.page(Page0).address(RegPowerScratch).shortWrite(0).shortWrite(0).shortWrite(0);
    s.execute(RoutinePowerDown);
    s.page(Page0).address(RegPowerScratch2).shortWrite(0);
    s.page(Page1).address(RegPower).shortWrite(0);
    s.execute(RoutineReset);
    return s;
}

Sequence powerOnSequence() {
    Sequence s;
    s.page(Page1).address(RegPower).shortWrite(1);
    s.execute(RoutineReset);
    return s;
}

std::optional<uint32_t> frequencyWord(double kHz) {
    const double w = std::floor(kHz * WordsPerKHzWrite + 0.5);
    if (!(w >= 0) || w > double(MaxWord)) return std::nullopt;
    return uint32_t(w);
}

double frequencyKHz(uint32_t word) { return double(word) / WordsPerKHzRead; }

const LevelRegister VolumeRegister{
    RegVolume, 0xC0, 15, 63,
    [](int v) { return std::floor(v * 0.485 + 15.5); },
    [](int b) { return int(std::floor(((b & 63) - 15) / 0.481)); }};
const LevelRegister LeftLineRegister{
    RegLeftLine, 0xC0, 27, 63,
    [](int v) { return std::floor(v * 0.364 + 27.5); },
    [](int b) { return int(std::floor(((b & 63) - 27) / 0.361)); }};
const LevelRegister RightLineRegister{
    RegRightLine, 0xC0, 27, 63,
    [](int v) { return std::floor(v * 0.364 + 27.5); },
    [](int b) { return int(std::floor(((b & 63) - 27) / 0.361)); }};
const LevelRegister BassRegister{
    RegBass, 0xE0, 7, 23,
    [](int v) { return double(v) + 15; },
    [](int b) { return (b & 31) - 15; }};
const LevelRegister TrebleRegister{
    RegTreble, 0xF0, 2, 10,
    [](int v) { return std::floor(v * 0.5 + 6); },
    [](int b) { return ((b & 15) - 6) * 2; }};

int limitedLevelByte(const LevelRegister& reg, int level) {
    return limitDouble(reg.toByte(level), reg.lowByte, reg.highByte);
}

int levelFromByte(const LevelRegister& reg, int regByte) { return reg.toLevel(regByte); }

int ifGainByte(int level) { return limitDouble(vbRound((99.0 - level) / 0.74), 0, 130); }

int ifGainLevel(int regByte) { return int(vbRound(99 - regByte * 0.74)); }

float smeterUnits(int whole, int fifths) {
    float s = float(whole) + float(fifths) / 5.0f;
    // Above S11.5 the receiver's scale is compressed; stretch it back.
    if (s > 11.5f) s = float(double(s) + 0.66 * (double(s) - 11.5));
    if (s < 0) s = 0;
    if (s > 18) s = 18;
    return s;
}

QString filterWidthText(int regByte) {
    const int b = regByte == 255 ? 0 : regByte;
    const QString units = QString::number(b / 16).right(1);
    const QString tenths = QString::number(b % 16).right(1);
    return units + QLatin1Char('.') + tenths;
}

QString clockText(int seconds, int minutes, int hours) {
    auto bcd = [](int x) { return formatPattern((x / 16) * 10 + (x % 16), QStringLiteral("00")); };
    return bcd(hours) + QLatin1Char(':') + bcd(minutes) + QLatin1Char(':') + bcd(seconds);
}

std::optional<std::array<int, 3>> clockValues(const QString& text) {
    if (text.size() != 8 || text[2] != QLatin1Char(':') || text[5] != QLatin1Char(':')) return std::nullopt;
    for (int i : {0, 1, 3, 4, 6, 7})
        if (text[i] < QLatin1Char('0') || text[i] > QLatin1Char('9')) return std::nullopt;
    const int h = int(val(text.left(2)));
    const int m = int(val(text.mid(3, 2)));
    const int s = int(val(text.right(2)));
    if (h > 23 || m > 59 || s > 59) return std::nullopt;
    return std::array<int, 3>{s, m, h};
}

namespace {
// The frequency as the record shows it, in whole 10 Hz (hundredths of a kHz),
// rounded to the nearest. Worked in whole numbers: a word never lies at a
// half (the constant shares no factor with 2 or 5 and exceeds every word), so
// the rounding is exact, where a decimal format's tolerance for binary
// fractions would show some words 10 Hz high.
uint64_t shownTensOfHz(uint32_t word) {
    return (uint64_t(word) * 200000000u + ReadMillionths) / (2 * ReadMillionths);
}
} // namespace

bool channelVacant(uint32_t word, double freqMin, double freqMax) {
    // Judged on the frequency as shown: a channel stored at the lowest or the
    // highest frequency the receiver tunes to reads back a fraction of a hertz
    // beside it, and must not pass for an empty one. The empty pattern,
    // 32016.666 kHz, lies above the top.
    const double f = double(shownTensOfHz(word)) / 100.0;
    return f < freqMin || f > freqMax;
}

QString channelRecord(int n, const ChannelBytes& ch, double freqMin, double freqMax) {
    MemoryFields fields;
    fields.channel = n;
    if (channelVacant(ch.word, freqMin, freqMax)) {
        fields.used = false;
        fields.frequencyHz = QStringLiteral("No data ");
        return buildMemoryRecord(fields);
    }
    fields.used = true;
    // Hz from the frequency as shown with two decimals (always ending in 0).
    fields.frequencyHz = QStringLiteral("%1").arg(shownTensOfHz(ch.word) * 10, 8, 10, QLatin1Char('0'));
    const int mode = ch.modeByte % 16;
    // One column only: a mode nibble of two digits would shift every later
    // field, so it shows as "no value" instead.
    fields.mode = mode <= 9 ? QString::number(mode) : QString();
    fields.filter = QStringLiteral("%1").arg((ch.modeByte / 16) % 8, 2, 10, QLatin1Char('0'));
    fields.passband = formatPattern(ch.passband, QStringLiteral("000"));
    fields.squelch = formatPattern(ch.squelch, QStringLiteral("000"));
    fields.scan = QString::number(ch.modeByte / 128);
    return buildMemoryRecord(fields);
}

std::optional<ChannelBytes> channelFromRecord(const QString& record) {
    QString rec = record;
    if (rec.size() < 34 && !(rec.startsWith(QLatin1String("XXX")) && rec.size() >= 7)) return std::nullopt;
    if (rec.startsWith(QLatin1String("XXX")))
        rec = rec.left(7) + QStringLiteral("32016666 0 00 @ @ 000 000 1");

    const std::optional<uint32_t> word = frequencyWord(val(rec.mid(7, 8)) / 1000);
    const double mode = vbRound(val(rec.mid(16, 1)));
    const double filter = vbRound(val(rec.mid(18, 2)));
    const double passband = vbRound(val(rec.mid(25, 3)));
    const double squelch = vbRound(val(rec.mid(29, 3)));
    const bool scan = val(rec.mid(33, 1)) == 1;
    if (!word || mode < 0 || mode > 15 || filter < 0 || filter > 7 || passband < 0 || passband > 255 ||
        squelch < 0 || squelch > 255)
        return std::nullopt;

    ChannelBytes ch;
    ch.word = *word;
    ch.modeByte = uint8_t((int(filter) + (scan ? 8 : 0)) * 16 + int(mode));
    ch.passband = uint8_t(passband);
    ch.squelch = uint8_t(squelch);
    return ch;
}

Sequence channelWrite(int n, const ChannelBytes& ch) {
    Sequence s;
    if (n < 0 || n >= ChannelCount) {
        s.page(-1);  // marks the run invalid: the channel has no address
        return s;
    }
    s.page(Page2).memoryAddress(channelAddress(n)).frequencyWord(ch.word);
    s.write(ch.modeByte);  // at 4n+3, right after the word
    s.page(Page2).memoryAddress(RegChannelPassband + n).write(ch.passband);
    s.page(Page1).address(RegChannelSquelch + n).write(ch.squelch);
    return s;
}

} // namespace dovrane::ar7030
