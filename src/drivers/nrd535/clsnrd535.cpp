#include "drivers/nrd535/clsnrd535.h"

#include "drivers/memory_record.h"
#include "drivers/model_tables.h"
#include "drivers/nrd/nrd_codec.h"

namespace dovrane {

using namespace nrd;

namespace {
constexpr int Model = 2;
}

clsNRD535::clsNRD535(CommPort& port, QObject* parent) : NrdDriver(port, parent) {}

bool clsNRD535::digitCommand(const char* letter, int v) {
    const auto d = digitField(v);
    return d && sendBracketed(QByteArray(letter) + *d);
}

bool clsNRD535::settingCommand(const char* letter, RxSetting setting, int v) {
    return receiverTakes(Model, setting, v) && digitCommand(letter, v);
}

bool clsNRD535::RttyOnOff(int v) {
    const auto d = onOffField(v);
    if (!d || !receiverTakes(Model, RxSetting::Rtty, v) || !sendBracketed("X" + *d)) return false;
    emit RttyonoffChanged(v);
    return true;
}

bool clsNRD535::PowerOnOff(int v) {
    const auto d = onOffField(v);
    if (!d || !sendBracketed("T" + *d)) return false;
    emit PoweronoffChanged(v);
    return true;
}

std::optional<QString> clsNRD535::RxStatus() {
    std::optional<QString> status;
    {
        Bracket bracket(*this);
        if (bracket.ok() && send("J1199")) {
            pause(PauseMs);
            // The line of channel 199 now holds the tuned setting.
            if (const auto r = query("L199199", "?199############\r")) status = statusFrom535Line(*r);
        }
    }
    return noted(status);
}

bool clsNRD535::RxStatus(const QString& s) {
    const auto cmd = statusCommand535(s);
    if (!cmd || !statusTaken(Model, s) || !sendBracketed(*cmd)) return false;
    emit RxStatusChanged(s);
    return true;
}

std::optional<int> clsNRD535::Attenuator() {
    const auto s = RxStatus();
    if (!s) return std::nullopt;
    return parseRxStatusString(*s)->attenuator;
}

bool clsNRD535::Attenuator(int v) {
    if (!settingCommand("A", RxSetting::Attenuator, v)) return false;
    emit AttenuatorChanged(v);
    return true;
}

std::optional<int> clsNRD535::Bandwidth() {
    const auto s = RxStatus();
    if (!s) return std::nullopt;
    return parseRxStatusString(*s)->bandwidth;
}

bool clsNRD535::Bandwidth(int v) {
    if (!settingCommand("B", RxSetting::Filter, v)) return false;
    emit BandwidthChanged(v);
    return true;
}

std::optional<int> clsNRD535::Mode() {
    const auto s = RxStatus();
    if (!s) return std::nullopt;
    return parseRxStatusString(*s)->mode;
}

bool clsNRD535::Mode(int v) {
    if (!settingCommand("D", RxSetting::Mode, v)) return false;
    emit ModeChanged(v);
    return true;
}

std::optional<int> clsNRD535::Agcspeed() {
    const auto s = RxStatus();
    if (!s) return std::nullopt;
    return parseRxStatusString(*s)->agc;
}

bool clsNRD535::Agcspeed(int v) {
    if (!settingCommand("G", RxSetting::Agc, v)) return false;
    emit AgcspeedChanged(v);
    return true;
}

bool clsNRD535::Noiseblanker(int v) {
    if (!settingCommand("N", RxSetting::NoiseBlanker, v)) return false;
    emit NoiseblankerChanged(v);
    return true;
}

std::optional<double> clsNRD535::FrequencyA() {
    const auto s = RxStatus();
    if (!s) return std::nullopt;
    return double(parseRxStatusString(*s)->hertz) / 1000.0;
}

bool clsNRD535::FrequencyA(double kHz) {
    const auto hz = hertzDigits(kHz, 8);
    if (!hz || !sendBracketed("F" + *hz)) return false;
    emit FrequencyAChanged(kHz);
    return true;
}

bool clsNRD535::Bandwidthcontrol(int v) {
    const auto d = fixedDigits(v, 4);
    if (!d || !receiverTakes(Model, RxSetting::BandwidthControl, v) || !send("W" + *d)) return false;
    pause(PauseMs);
    emit BandwidthcontrolChanged(v);
    return true;
}

bool clsNRD535::PassBandShift(int v) {
    const auto d = signedDigits(v, 4);
    if (!d || !receiverTakes(Model, RxSetting::PassbandShift, v) || !send("P" + *d)) return false;
    pause(PauseMs);
    emit PassbandshiftChanged(v);
    return true;
}

std::optional<float> clsNRD535::Smeter() {
    std::optional<float> s;
    if (const auto r = query("M", "M###")) s = smeter535(float(r->mid(1, 3).toInt()));
    return noted(s);
}

std::optional<QString> clsNRD535::Memory(int ch) {
    const auto ccc = channelField(ch, Nrd535TopChannel);
    if (!ccc) return std::nullopt;
    std::optional<QString> record;
    if (const auto line = lineRead("L" + *ccc + *ccc, 16)) record = memoryFrom535Line(*line, ch);
    return noted(record);
}

bool clsNRD535::Memory(int ch, const QString& record) {
    const auto cmd = memoryCommand535(ch, record);
    return cmd && isRecordOf(record, Model) && sendBracketed(*cmd);
}

bool clsNRD535::Rx2Mem(int ch) {
    const auto ccc = channelField(ch, Nrd535TopChannel);
    return ccc && sendBracketed("C" + *ccc);
}

std::optional<QString> clsNRD535::RxClock() {
    std::optional<QString> time;
    {
        Bracket bracket(*this);
        // The reply is taken before the receiver is released.
        if (bracket.ok())
            if (const auto r = query("R0", "R######\r")) time = clockFromReply(*r);
    }
    return noted(time);
}

bool clsNRD535::RxClock(const QString& t) {
    const auto digits = clockDigits(t, true);
    return digits && sendBracketed("R1" + *digits);
}

bool clsNRD535::RttyParameters(const QString& p) {
    const auto text = commandText(p);
    return text && receiverTakes(Model, RxSetting::Rtty, RttyOn) && sendBracketed("U3" + *text);
}

bool clsNRD535::Timerrelaysonoff(int v) {
    const auto d = onOffField(v);
    return d && sendBracketed("O" + *d);
}

bool clsNRD535::Userdefs(int item, int v) {
    QByteArray cmd;
    switch (item) {
    case 0:  // relay mode
        if (v >= 0 && v <= 2) cmd = "U0" + *digitField(v);
        break;
    case 1:  // VBT bypass: the receiver's 0 means "on"
        if (v == 0 || v == 1) cmd = "U1" + *digitField(1 - v);
        break;
    case 2:  // CW BFO pitch in Hz
        if (const auto d = signedDigits(v, 4)) cmd = "U2" + *d;
        break;
    case 4:  // S-meter display
    case 6:  // SSB frequency display shift
    case 7:  // 10 Hz digit
    case 8:  // clock colon blinking
    case 9:  // key beep
        if (v == 0 || v == 1) cmd = "U" + *digitField(item) + *digitField(v);
        break;
    default:
        break;
    }
    return !cmd.isEmpty() && sendBracketed(cmd);
}

std::optional<int> clsNRD535::Userdefs(int) const { return std::nullopt; }

} // namespace dovrane
