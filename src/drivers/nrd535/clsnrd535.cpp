#include "drivers/nrd535/clsnrd535.h"

#include "drivers/memory_record.h"
#include "drivers/model_tables.h"
#include "drivers/nrd/nrd_codec.h"

namespace dovrane {

using namespace nrd;

namespace {
constexpr RxModel Model = RxModel::Nrd535;
}

clsNRD535::clsNRD535(CommPort& port, QObject* parent) : NrdDriver(port, parent) {}

const NrdDriver::Particulars& clsNRD535::particulars() const {
    static constexpr Particulars p{Model, "H0", "U3", true};
    return p;
}

SendResult clsNRD535::settingCommand(const char* letter, RxSetting setting, int v) {
    const auto d = digitField(v);
    if (!d || !receiverTakes(Model, setting, v)) return Sent::Refused;
    return SendResult::wrote(sendBracketed(QByteArray(letter) + *d));
}

SendResult clsNRD535::RttyOnOff(int v) {
    const SendResult r = settingCommand("X", RxSetting::Rtty, v);
    if (r) emit RttyonoffChanged(v);
    return r;
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

SendResult clsNRD535::RxStatus(const QString& s) {
    const auto cmd = statusCommand535(s);
    if (!cmd || !statusTaken(Model, s)) return Sent::Refused;
    if (!sendBracketed(*cmd)) return Sent::NoAnswer;
    emit RxStatusChanged(s);
    return Sent::Yes;
}

std::optional<int> clsNRD535::Attenuator() {
    const auto s = RxStatus();
    if (!s) return std::nullopt;
    return parseRxStatusString(*s)->attenuator;
}

SendResult clsNRD535::Attenuator(int v) {
    const SendResult r = settingCommand("A", RxSetting::Attenuator, v);
    if (r) emit AttenuatorChanged(v);
    return r;
}

std::optional<int> clsNRD535::Bandwidth() {
    const auto s = RxStatus();
    if (!s) return std::nullopt;
    return parseRxStatusString(*s)->bandwidth;
}

SendResult clsNRD535::Bandwidth(int v) {
    const SendResult r = settingCommand("B", RxSetting::Filter, v);
    if (r) emit BandwidthChanged(v);
    return r;
}

std::optional<int> clsNRD535::Mode() {
    const auto s = RxStatus();
    if (!s) return std::nullopt;
    return parseRxStatusString(*s)->mode;
}

SendResult clsNRD535::Mode(int v) {
    const SendResult r = settingCommand("D", RxSetting::Mode, v);
    if (r) emit ModeChanged(v);
    return r;
}

std::optional<int> clsNRD535::Agcspeed() {
    const auto s = RxStatus();
    if (!s) return std::nullopt;
    return parseRxStatusString(*s)->agc;
}

SendResult clsNRD535::Agcspeed(int v) {
    const SendResult r = settingCommand("G", RxSetting::Agc, v);
    if (r) emit AgcspeedChanged(v);
    return r;
}

SendResult clsNRD535::Noiseblanker(int v) {
    const SendResult r = settingCommand("N", RxSetting::NoiseBlanker, v);
    if (r) emit NoiseblankerChanged(v);
    return r;
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

SendResult clsNRD535::Bandwidthcontrol(int v) {
    const auto d = fixedDigits(v, 4);
    if (!d || !receiverTakes(Model, RxSetting::BandwidthControl, v)) return Sent::Refused;
    if (const SendResult r = sendPlain("W" + *d); !r) return r;
    pause(PauseMs);
    emit BandwidthcontrolChanged(v);
    return Sent::Yes;
}

SendResult clsNRD535::PassBandShift(int v) {
    const auto d = signedDigits(v, 4);
    if (!d || !receiverTakes(Model, RxSetting::PassbandShift, v)) return Sent::Refused;
    if (const SendResult r = sendPlain("P" + *d); !r) return r;
    pause(PauseMs);
    emit PassbandshiftChanged(v);
    return Sent::Yes;
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
