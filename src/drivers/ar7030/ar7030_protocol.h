#pragma once
// The AR7030's byte language and register map, and the arithmetic between its
// register bytes and the values the program works with. Nothing here touches a
// port: the driver composes its traffic from these pieces and sends it whole.
//
// Every command is one byte: the upper nibble says what, the lower nibble n is
// the operand. A value wider than a nibble travels through the receiver's
// 4-bit holding register H, which a load (0x3n) fills and the next address or
// write byte consumes.
#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

namespace dovrane::ar7030 {

// Command bytes (upper nibble).
constexpr uint8_t CmdHighAddress = 0x10;  // address bits 8..11 = n
constexpr uint8_t CmdExecute = 0x20;      // run receiver routine n
constexpr uint8_t CmdLoadH = 0x30;        // H = n
constexpr uint8_t CmdSetAddress = 0x40;   // low address = H*16 + n, H = 0
constexpr uint8_t CmdPage = 0x50;         // select page n
constexpr uint8_t CmdWrite = 0x60;        // store H*16 + n, address++, H = 0
constexpr uint8_t CmdRead = 0x71;         // answer the byte at the address, address++
constexpr uint8_t CmdPowerOffPrefix = 0x83;

// Receiver routines the driver runs after a write.
constexpr int RoutineReset = 0;
constexpr int RoutineTune = 1;       // then RoutineTuneDone
constexpr int RoutineMode = 2;       // then RoutineSettle
constexpr int RoutineFilter = 3;     // then RoutineSettle (filter, PBS, BFO)
constexpr int RoutineLevels = 4;     // attenuator, AGC, audio and IF levels, squelch, clock
constexpr int RoutinePowerDown = 9;
constexpr int RoutineSettle = 11;
constexpr int RoutineTuneDone = 12;

// Page 0: the receiver's current settings.
constexpr int Page0 = 0;
constexpr int RegSquelchCopy = 0x17;
constexpr int RegIfGain = 0x18;
constexpr int RegFrequency = 0x1A;  // three bytes, most significant first
constexpr int RegMode = 0x1D;
constexpr int RegVolume = 0x1E;
constexpr int RegBass = 0x21;
constexpr int RegTreble = 0x22;
constexpr int RegLeftLine = 0x23;
constexpr int RegRightLine = 0x24;
constexpr int RegPowerScratch = 0x28;  // three bytes, cleared by power-off
constexpr int RegPowerScratch2 = 0x2E;
constexpr int RegAttenuator = 0x30;
constexpr int RegAgc = 0x32;
constexpr int RegSquelch = 0x33;
constexpr int RegFilter = 0x34;
constexpr int RegPassband = 0x35;
constexpr int RegBfo = 0x36;
constexpr int RegSmeterWhole = 0x3F;
constexpr int RegSmeterFifths = 0x40;

// Page 1: clock, power, fitted filters, channel squelch/BFO bytes.
constexpr int Page1 = 1;
constexpr int RegClock = 0x02;  // seconds, minutes, hours in BCD
constexpr int RegPower = 0x16;  // bit 0: on
constexpr std::array<int, 6> RegFilterWidth = {0x85, 0x89, 0x8D, 0x91, 0x95, 0x99};
constexpr int RegChannelSquelch = 0x9C;  // + channel

// Page 2: memory channels.
constexpr int Page2 = 2;
constexpr int RegChannelPassband = 0x190;  // + channel
constexpr int channelAddress(int n) { return 4 * n; }  // 3 bytes frequency, 1 byte mode/filter/scan

// Page 15: firmware identification, eight characters from address 0.
constexpr int PageFirmware = 15;
constexpr int FirmwareLength = 8;

constexpr int ChannelCount = 100;
constexpr uint32_t MaxWord = 0xFFFFFF;

// A run of steps. A step given a value the byte language cannot carry marks
// the whole run invalid, so the driver can refuse it before anything is sent.
class Sequence {
public:
    Sequence& raw(uint8_t byte);
    Sequence& page(int p);
    // Address below 256 on any page.
    Sequence& address(int a);
    // The bare set-address byte 0x40, valid only while H is zero.
    Sequence& addressZero();
    // A page-2 memory address up to 0xFFF; the high-address byte always follows.
    Sequence& memoryAddress(int a);
    Sequence& write(int v);       // 0..255, through H
    Sequence& shortWrite(int v);  // 0..15, only where H is zero
    Sequence& read();
    Sequence& execute(int routine);
    // The six nibbles of a 24-bit frequency word at consecutive addresses.
    Sequence& frequencyWord(uint32_t word);
    Sequence& append(const Sequence& other);

    bool valid() const { return valid_; }
    const QByteArray& bytes() const { return bytes_; }
    int size() const { return int(bytes_.size()); }

private:
    QByteArray bytes_;
    bool valid_ = true;
};

// The whole byte streams of the two power requests.
Sequence powerOffSequence();
Sequence powerOnSequence();

// Frequency word: written with one constant and read with another, as the
// receiver's own firmware does. nullopt for a frequency the 24-bit word
// cannot hold (negative, too high, not a number).
std::optional<uint32_t> frequencyWord(double kHz);
double frequencyKHz(uint32_t word);

// Level registers: the byte written for a level (already limited to the
// register's range) and the level read back from a register byte.
struct LevelRegister {
    int address;
    uint8_t keepMask;  // bits kept from the register's current value
    int lowByte;
    int highByte;
    double (*toByte)(int level);  // before the limit
    int (*toLevel)(int regByte);  // masks the register byte itself
};
extern const LevelRegister VolumeRegister;
extern const LevelRegister LeftLineRegister;
extern const LevelRegister RightLineRegister;
extern const LevelRegister BassRegister;
extern const LevelRegister TrebleRegister;

int limitedLevelByte(const LevelRegister& reg, int level);
int levelFromByte(const LevelRegister& reg, int regByte);

// IF gain: raw 0..130, raw 0 is the highest gain.
int ifGainByte(int level);
int ifGainLevel(int regByte);

// S-meter in S units 0..18 from the whole and fifth registers.
float smeterUnits(int whole, int fifths);

// Fitted filter width text "d.d" from its register byte; 0xFF (none) is 0.0.
QString filterWidthText(int regByte);

// Clock: "hh:mm:ss" from the three BCD bytes, and the three values (seconds,
// minutes, hours) of a clock text; nullopt unless it is a time of day.
QString clockText(int seconds, int minutes, int hours);
std::optional<std::array<int, 3>> clockValues(const QString& text);

// One memory channel as the receiver stores it.
struct ChannelBytes {
    uint32_t word = 0;
    uint8_t modeByte = 0;  // bits 0..3 mode, 4..6 filter, 7 scan flag
    uint8_t passband = 0;
    uint8_t squelch = 0;
};

// The channel's MemoryRecord (35 columns). A frequency that shows (rounded to
// 10 Hz) outside [freqMin, freqMax] makes the vacant record.
QString channelRecord(int n, const ChannelBytes& ch, double freqMin, double freqMax);
// Whether the frequency word alone already marks the channel vacant.
bool channelVacant(uint32_t word, double freqMin, double freqMax);
// The bytes a record stores. A vacant ("XXX") record becomes the empty
// channel pattern. nullopt when the record is too short or a field does not
// fit its register (frequency beyond the word, mode above 15, filter above 7,
// shift or squelch outside a byte).
std::optional<ChannelBytes> channelFromRecord(const QString& record);

// The traffic of a channel store: frequency and mode byte, shift, squelch.
Sequence channelWrite(int n, const ChannelBytes& ch);

} // namespace dovrane::ar7030
