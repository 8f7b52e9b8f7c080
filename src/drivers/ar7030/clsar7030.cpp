#include "drivers/ar7030/clsar7030.h"
#include "drivers/ar7030/ar7030_protocol.h"
#include "drivers/memory_record.h"
#include "drivers/model_tables.h"
#include "drivers/rx_link.h"
#include "platform/commport.h"
#include "platform/sequence.h"
#include "platform/timeouts.h"

#include <QElapsedTimer>

namespace dovrane {

using namespace ar7030;

namespace {
constexpr RxModel Model = RxModel::Ar7030;
}

clsAR7030::clsAR7030(CommPort& port, QObject* parent) : QObject(parent), port_(port) {}

bool clsAR7030::send(const Sequence& seq) {
    const sequence::Operation op(port_);
    if (!seq.valid()) return false;
    if (port_.write(seq.bytes())) {
        // Both power sequences end in the reset routine: the receiver starts
        // afresh and is slow to answer the next question.
        if (seq.bytes().endsWith(char(CmdExecute + RoutineReset))) noteReceiverRestarted(port_);
        return true;
    }
    noteRxFailure(port_);
    return false;
}

std::optional<QByteArray> clsAR7030::query(const Sequence& select, int count) {
    const sequence::Operation op(port_);
    if (!select.valid()) return std::nullopt;
    QByteArray answer;
    for (int i = 0; i < count; ++i) {
        QByteArray out = i == 0 ? select.bytes() : QByteArray();
        out.append(char(CmdRead));
        // Whatever is waiting now belongs to no question of ours.
        port_.discardInput();
        QElapsedTimer writeStarted;
        writeStarted.start();
        const bool written = port_.write(out);
        // The deadline runs from when the line will have carried the
        // question, this one and any still going out before it.
        const ReplyDeadline due(
            port_, writeStarted, int(out.size()), 1,
            takeReplyAllowanceMs(port_, replyTimeouts.ar7030ByteMs, replyTimeouts.ar7030SettleMs));
        if (written) {
            // The answer cannot come before the question has crossed the line
            // and one byte has come back. A byte that arrives sooner is still
            // on its way from an earlier exchange (noise behind an answer, an
            // answer that came after its deadline) and must not pass as this
            // answer. An eighth of a byte is left as margin.
            const qint64 byteNs = port_.byteTimeNs();
            port_.discardArrivalsUntil(due.clock(), due.outNs() + byteNs - byteNs / 8);
        }
        if (!written || !waitForReply(port_, 1, due)) {
            // Ask no further: the rest of the run would only wait as long again.
            port_.discardInput();
            noteRxFailure(port_);
            return std::nullopt;
        }
        // The receiver answers one byte; anything behind it is noise.
        answer.append(port_.readAll().at(0));
    }
    noteRxSuccess();
    return answer;
}

std::optional<int> clsAR7030::readRegister(int page, int address) {
    const auto b = query(Sequence().page(page).address(address), 1);
    if (!b) return std::nullopt;
    return uint8_t(b->at(0));
}

std::optional<int> clsAR7030::readbyte() {
    const auto b = query(Sequence(), 1);
    if (!b) return std::nullopt;
    return uint8_t(b->at(0));
}

bool clsAR7030::Reset() { return send(Sequence().execute(RoutineReset)); }

std::optional<QString> clsAR7030::Firmware() {
    // The bare set-address byte selects address 0: every operation leaves H at zero.
    const auto b = query(Sequence().page(PageFirmware).addressZero(), FirmwareLength);
    if (!b) return std::nullopt;
    return QString::fromLatin1(*b);
}

std::optional<int> clsAR7030::PowerOnOff() {
    const auto b = readRegister(Page1, RegPower);
    if (!b) return std::nullopt;
    return *b & 1;
}

bool clsAR7030::PowerOnOff(int v) {
    if (v != 0 && v != 1) return false;
    if (!send(v == 0 ? powerOffSequence() : powerOnSequence())) return false;
    emit PoweronoffChanged(v);
    return true;
}

bool clsAR7030::writeShort(int address, int v, int routine, int routine2) {
    Sequence s;
    s.page(Page0).address(address).shortWrite(v).execute(routine);
    if (routine2 >= 0) s.execute(routine2);
    return send(s);
}

bool clsAR7030::writeByte(int address, int v, int routine, int routine2) {
    Sequence s;
    s.page(Page0).address(address).write(v).execute(routine);
    if (routine2 >= 0) s.execute(routine2);
    return send(s);
}

std::optional<int> clsAR7030::Attenuator() { return readRegister(Page0, RegAttenuator); }

SendResult clsAR7030::Attenuator(int v) {
    if (!receiverTakes(Model, RxSetting::Attenuator, v)) return Sent::Refused;
    if (!writeShort(RegAttenuator, v, RoutineLevels, -1)) return Sent::NoAnswer;
    emit AttenuatorChanged(v);
    return Sent::Yes;
}

std::optional<int> clsAR7030::Bandwidth() { return readRegister(Page0, RegFilter); }

SendResult clsAR7030::Bandwidth(int v) {
    if (!receiverTakes(Model, RxSetting::Filter, v)) return Sent::Refused;
    if (!writeShort(RegFilter, v, RoutineFilter, RoutineSettle)) return Sent::NoAnswer;
    emit BandwidthChanged(v);
    return Sent::Yes;
}

std::optional<int> clsAR7030::Mode() { return readRegister(Page0, RegMode); }

SendResult clsAR7030::Mode(int v) {
    if (!receiverTakes(Model, RxSetting::Mode, v)) return Sent::Refused;
    if (!writeShort(RegMode, v, RoutineMode, RoutineSettle)) return Sent::NoAnswer;
    emit ModeChanged(v);
    return Sent::Yes;
}

std::optional<int> clsAR7030::Agcspeed() { return readRegister(Page0, RegAgc); }

SendResult clsAR7030::Agcspeed(int v) {
    if (!receiverTakes(Model, RxSetting::Agc, v)) return Sent::Refused;
    if (!writeShort(RegAgc, v, RoutineLevels, -1)) return Sent::NoAnswer;
    emit AgcspeedChanged(v);
    return Sent::Yes;
}

std::optional<double> clsAR7030::FrequencyA() {
    const auto b = query(Sequence().page(Page0).address(RegFrequency), 3);
    if (!b) return std::nullopt;
    const uint32_t word = (uint32_t(uint8_t(b->at(0))) << 16) | (uint32_t(uint8_t(b->at(1))) << 8) |
                          uint32_t(uint8_t(b->at(2)));
    return frequencyKHz(word);
}

bool clsAR7030::FrequencyA(double kHz) {
    const auto word = frequencyWord(kHz);
    if (!word) return false;
    Sequence s;
    s.page(Page0).address(RegFrequency).frequencyWord(*word).execute(RoutineTune).execute(RoutineTuneDone);
    if (!send(s)) return false;
    emit FrequencyAChanged(kHz);
    return true;
}

std::optional<QString> clsAR7030::Installedfilter(int i) {
    // Only six filter places have a register; any other place has no answer.
    if (i < 1 || i > int(RegFilterWidth.size())) return std::nullopt;
    const auto b = readRegister(Page1, RegFilterWidth[size_t(i - 1)]);
    if (!b) return std::nullopt;
    return filterWidthText(*b);
}

std::optional<int> clsAR7030::readLevel(const LevelRegister& reg) {
    const auto b = readRegister(Page0, reg.address);
    if (!b) return std::nullopt;
    return levelFromByte(reg, *b);
}

bool clsAR7030::writeLevel(const LevelRegister& reg, int v) {
    // Read and write are one operation: nothing may change the byte between.
    const sequence::Operation op(port_);
    const int level = limitedLevelByte(reg, v);
    // The register shares its byte with other settings: keep their bits.
    const auto current = readRegister(Page0, reg.address);
    if (!current) return false;
    Sequence s;
    s.address(reg.address).write(level | (*current & reg.keepMask)).execute(RoutineLevels);
    return send(s);
}

std::optional<int> clsAR7030::Volume() { return readLevel(VolumeRegister); }

bool clsAR7030::Volume(int v) {
    if (!writeLevel(VolumeRegister, v)) return false;
    emit VolumeChanged(v);
    return true;
}

std::optional<int> clsAR7030::Leftauxlevel() { return readLevel(LeftLineRegister); }

bool clsAR7030::Leftauxlevel(int v) {
    if (!writeLevel(LeftLineRegister, v)) return false;
    emit LeftauxlevelChanged(v);
    return true;
}

std::optional<int> clsAR7030::Rightauxlevel() { return readLevel(RightLineRegister); }

bool clsAR7030::Rightauxlevel(int v) {
    if (!writeLevel(RightLineRegister, v)) return false;
    emit RightauxlevelChanged(v);
    return true;
}

std::optional<int> clsAR7030::Bass() { return readLevel(BassRegister); }

bool clsAR7030::Bass(int v) {
    if (!writeLevel(BassRegister, v)) return false;
    emit BassChanged(v);
    return true;
}

std::optional<int> clsAR7030::Treble() { return readLevel(TrebleRegister); }

bool clsAR7030::Treble(int v) {
    if (!writeLevel(TrebleRegister, v)) return false;
    emit TrebleChanged(v);
    return true;
}

std::optional<int> clsAR7030::PassBandShift() { return readRegister(Page0, RegPassband); }

bool clsAR7030::PassBandShift(int v) {
    if (!writeByte(RegPassband, v, RoutineFilter, RoutineSettle)) return false;
    emit PassbandshiftChanged(v);
    return true;
}

std::optional<int> clsAR7030::Ifgain() {
    const auto b = readRegister(Page0, RegIfGain);
    if (!b) return std::nullopt;
    return ifGainLevel(*b);
}

bool clsAR7030::Ifgain(int v) {
    if (!writeByte(RegIfGain, ifGainByte(v), RoutineLevels, -1)) return false;
    emit IfgainChanged(v);
    return true;
}

std::optional<int> clsAR7030::Squelch() { return readRegister(Page0, RegSquelch); }

bool clsAR7030::Squelch(int v) {
    Sequence s;
    s.page(Page0).address(RegSquelch).write(v).address(RegSquelchCopy).write(v).execute(RoutineLevels);
    if (!send(s)) return false;
    emit SquelchChanged(v);
    return true;
}

std::optional<int> clsAR7030::Beatfreqosc() { return readRegister(Page0, RegBfo); }

bool clsAR7030::Beatfreqosc(int v) {
    if (!writeByte(RegBfo, v, RoutineFilter, RoutineSettle)) return false;
    emit BeatfreqoscChanged(v);
    return true;
}

std::optional<float> clsAR7030::Smeter() {
    const sequence::Operation op(port_);
    const auto whole = readRegister(Page0, RegSmeterWhole);
    if (!whole) return std::nullopt;
    const auto fifths = readRegister(Page0, RegSmeterFifths);
    if (!fifths) return std::nullopt;
    return smeterUnits(*whole, *fifths);
}

std::optional<QString> clsAR7030::Memory(int n) {
    // A channel beyond 99 has no address inside its pages.
    if (n < 0 || n >= ChannelCount) return std::nullopt;
    // The mode byte is read where the word left the address pointer.
    const sequence::Operation op(port_);
    const auto freq = query(Sequence().page(Page2).memoryAddress(channelAddress(n)), 3);
    if (!freq) return std::nullopt;
    ChannelBytes ch;
    ch.word = (uint32_t(uint8_t(freq->at(0))) << 16) | (uint32_t(uint8_t(freq->at(1))) << 8) |
              uint32_t(uint8_t(freq->at(2)));
    if (channelVacant(ch.word, FreqMin, FreqMax)) return channelRecord(n, ch, FreqMin, FreqMax);

    const auto modeByte = query(Sequence(), 1);  // 4n+3 follows the word
    if (!modeByte) return std::nullopt;
    const auto passband = query(Sequence().page(Page2).memoryAddress(RegChannelPassband + n), 1);
    if (!passband) return std::nullopt;
    const auto squelch = query(Sequence().page(Page1).address(RegChannelSquelch + n), 1);
    if (!squelch) return std::nullopt;
    ch.modeByte = uint8_t(modeByte->at(0));
    ch.passband = uint8_t(passband->at(0));
    ch.squelch = uint8_t(squelch->at(0));
    return channelRecord(n, ch, FreqMin, FreqMax);
}

bool clsAR7030::Memory(int n, const QString& record) {
    const auto ch = channelFromRecord(record);
    if (!ch || !isRecordOf(record, Model)) return false;
    return send(channelWrite(n, *ch));
}

std::optional<QString> clsAR7030::RxClock() {
    const auto b = query(Sequence().page(Page1).address(RegClock), 3);
    if (!b) return std::nullopt;
    return clockText(uint8_t(b->at(0)), uint8_t(b->at(1)), uint8_t(b->at(2)));
}

bool clsAR7030::RxClock(const QString& t) {
    const auto smh = clockValues(t);
    if (!smh) return false;
    Sequence s;
    s.page(Page1).address(RegClock);
    for (int x : *smh) s.write((x / 10) * 16 + x % 10);  // BCD: tens in the upper nibble
    s.execute(RoutineLevels);
    return send(s);
}

} // namespace dovrane
