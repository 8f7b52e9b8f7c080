#include "drivers/rx320/clsrx320.h"

#include "drivers/model_tables.h"
#include "drivers/rx320/rx320_state.h"
#include "drivers/rx_link.h"
#include "platform/commport.h"
#include "platform/sequence.h"
#include "platform/timeouts.h"
#include "shell/globals.h"

#include <QElapsedTimer>
#include <algorithm>
#include <limits>

namespace dovrane {

namespace {

constexpr RxModel Model = RxModel::Rx320;

// The firmware text has no fixed length: it ends at its CR, or when the line
// has been quiet this long; it is never read for longer or further than the caps.
constexpr int FirmwareQuietMs = 100;
constexpr int FirmwareCapMs = 2000;
constexpr int FirmwareMaxBytes = 256;

bool fitsState(int v) {
    return v >= std::numeric_limits<int16_t>::min() && v <= std::numeric_limits<int16_t>::max();
}

} // namespace

clsRX320::clsRX320(CommPort& port, QObject* parent) : QObject(parent), port_(port) {}

bool clsRX320::put(const QByteArray& command) {
    const sequence::Operation op(port_);
    if (port_.write(command)) return true;
    // The receiver is never read in normal use: a lost line shows only here.
    noteRxFailure(port_);
    return false;
}

rx320::TuningInput clsRX320::stateTuning() const {
    rx320::TuningInput in;
    in.freqKHz = Rx320Freq;
    in.mode = Rx320Mode;
    in.filter = Rx320Bw;
    in.pbsHz = Rx320Pbs;
    in.bfoHz = Rx320Bfo;
    in.c5 = Settings[20];
    in.c15 = Settings[21];
    return in;
}

bool clsRX320::canTune(const rx320::TuningInput& in) const { return rx320::tuningFactors(in).has_value(); }

bool clsRX320::FrequencyA(double kHz) {
    rx320::TuningInput in = stateTuning();
    in.freqKHz = kHz;
    const auto cmd = rx320::tuningCommand(in);
    if (!cmd || !put(*cmd)) return false;
    Rx320Freq = kHz;
    emit FrequencyAChanged(kHz);
    return true;
}

SendResult clsRX320::Bandwidth(int filter) {
    // A number the receiver has no filter for stands for its widest one.
    const ModelCodes& codes = *modelCodes(Model);
    if (!takesCode(codes.filter, filter)) filter = codes.widestFilter;
    const auto cmd = rx320::filterCommand(filter);
    rx320::TuningInput in = stateTuning();
    in.filter = filter;
    // Checked before anything goes out, so a filter is never sent without its re-tune.
    if (!cmd || !canTune(in)) return Sent::Refused;
    const sequence::Operation op(port_);   // the setting and its re-tune go out together
    if (!put(*cmd)) return Sent::NoAnswer;
    Rx320Bw = int16_t(filter);
    if (!FrequencyA(Rx320Freq)) return Sent::NoAnswer;
    emit BandwidthChanged(filter);
    return Sent::Yes;
}

SendResult clsRX320::Mode(int mode) {
    const auto cmd = rx320::modeCommand(mode);
    if (!cmd || !receiverTakes(Model, RxSetting::Mode, mode)) return Sent::Refused;
    rx320::TuningInput in = stateTuning();
    in.mode = mode;
    if (!canTune(in)) return Sent::Refused;
    const sequence::Operation op(port_);
    if (!put(*cmd)) return Sent::NoAnswer;
    Rx320Mode = int16_t(mode);
    if (!FrequencyA(Rx320Freq)) return Sent::NoAnswer;
    emit ModeChanged(mode);
    return Sent::Yes;
}

SendResult clsRX320::Agcspeed(int agc) {
    const auto cmd = rx320::agcCommand(agc);
    if (!cmd || !receiverTakes(Model, RxSetting::Agc, agc)) return Sent::Refused;
    if (!put(*cmd)) return Sent::NoAnswer;
    Rx320Agc = int16_t(agc);
    emit AgcspeedChanged(agc);
    return Sent::Yes;
}

bool clsRX320::PassBandShift(int hz) {
    if (!fitsState(hz)) return false;
    rx320::TuningInput in = stateTuning();
    in.pbsHz = hz;
    if (!canTune(in)) return false;
    const int16_t old = Rx320Pbs;
    Rx320Pbs = int16_t(hz);
    if (!FrequencyA(Rx320Freq)) {
        // Nothing reached the receiver, so the state keeps what it last got.
        Rx320Pbs = old;
        return false;
    }
    emit PassbandshiftChanged(hz);
    return true;
}

bool clsRX320::Beatfreqosc(int hz) {
    if (!fitsState(hz)) return false;
    rx320::TuningInput in = stateTuning();
    in.bfoHz = hz;
    if (!canTune(in)) return false;
    const int16_t old = Rx320Bfo;
    Rx320Bfo = int16_t(hz);
    if (!FrequencyA(Rx320Freq)) {
        Rx320Bfo = old;
        return false;
    }
    emit BeatfreqoscChanged(hz);
    return true;
}

bool clsRX320::Volume(int level) {
    level = rx320::clampedLevel(level);
    if (!put(rx320::volumeCommand(level))) return false;
    Rx320Volume = int16_t(level);
    emit VolumeChanged(level);
    return true;
}

bool clsRX320::Linelevel(int level) {
    level = rx320::clampedLevel(level);
    if (!put(rx320::linelevelCommand(level))) return false;
    Rx320Linelevel = int16_t(level);
    emit LinelevelChanged(level);
    return true;
}

std::optional<float> clsRX320::Smeter() {
    const sequence::Operation op(port_);
    // Whatever is waiting belongs to an earlier exchange, never to this answer.
    port_.discardInput();
    std::optional<float> value;
    if (put(rx320::smeterQuery())) {
        const ReplyDeadline due(port_, rx320::SmeterReplySize, replyTimeouts.rx320SmeterMs);
        waitForReply(port_, rx320::SmeterReplySize, due);
        value = rx320::smeterValue(port_.readExactly(rx320::SmeterReplySize, 0));
    }
    if (!value) {
        port_.discardInput();
        noteRxFailure(port_);
        return std::nullopt;
    }
    noteRxSuccess();
    return value;
}

std::optional<QByteArray> clsRX320::readFirmwareReply() {
    // The text must begin within the reply time; once it runs it may take
    // longer than that at 1200 baud, so it is read to its CR or until the line
    // falls quiet, and a line that never stops is cut off all the same.
    const ReplyDeadline due(port_, 1, replyTimeouts.rx320SmeterMs);
    const int quietMs = std::min(FirmwareQuietMs, std::max(replyTimeouts.rx320SmeterMs, 1));
    if (!waitForReply(port_, 1, due)) return std::nullopt;
    QElapsedTimer t;
    t.start();
    for (;;) {
        const QByteArray line = port_.readUntil('\r', 0);
        if (!line.isEmpty()) return line;
        const int have = port_.inBufferCount();
        const int left = FirmwareCapMs - int(t.elapsed());
        if (left <= 0 || have >= FirmwareMaxBytes) break;
        if (!port_.waitForBytes(have + 1, std::min(quietMs, left))) break;
    }
    return port_.readAll().left(FirmwareMaxBytes);
}

std::optional<QString> clsRX320::Firmware() {
    const sequence::Operation op(port_);
    port_.discardInput();
    std::optional<QByteArray> reply;
    if (put(rx320::firmwareQuery())) reply = readFirmwareReply();
    if (!reply) {
        noteRxFailure(port_);
        return std::nullopt;
    }
    noteRxSuccess();
    QByteArray text = *reply;
    while (text.endsWith('\r') || text.endsWith('\n')) text.chop(1);
    return QString::fromLatin1(text);
}

} // namespace dovrane
