#include "drivers/nrd545/clsnrd545.h"

#include "drivers/memory_record.h"
#include "drivers/model_tables.h"
#include "drivers/nrd/nrd_codec.h"

#include <cstring>

namespace dovrane {

using namespace nrd;

namespace {

constexpr RxModel Model = RxModel::Nrd545;

// The number from position `from` (counted from 1) up to the reply's CR; the
// shape has already been checked, so only a sign and digits stand there.
std::optional<int> valueFrom(const QByteArray& reply, const char* shape, int from) {
    const int end = int(std::strlen(shape)) - 1;  // the CR
    return digitsValue(reply.mid(from - 1, end - from + 1));
}

} // namespace

clsNRD545::clsNRD545(CommPort& port, QObject* parent) : NrdDriver(port, parent) {}

const NrdDriver::Particulars& clsNRD545::particulars() const {
    static constexpr Particulars p{Model, "DD0", "U15", false};
    return p;
}

std::optional<int> clsNRD545::plainLevel(const QByteArray& command, const char* shape, int from) {
    std::optional<int> v;
    if (const auto r = query(command, shape)) v = valueFrom(*r, shape, from);
    return noted(v);
}

std::optional<int> clsNRD545::bracketedLevel(const QByteArray& command, const char* shape, int from) {
    std::optional<int> v;
    {
        Bracket bracket(*this);
        if (bracket.ok())
            if (const auto r = query(command, shape)) v = valueFrom(*r, shape, from);
    }
    return noted(v);
}

SendResult clsNRD545::settingCommand(const QByteArray& letters, RxSetting setting, int v) {
    const auto d = digitField(v);
    if (!d || !receiverTakes(Model, setting, v)) return Sent::Refused;
    return SendResult::wrote(sendBracketed(letters + *d));
}

bool clsNRD545::levelCommand(const char* letters, int v) {
    const auto d = fixedDigits(v, 3);
    return d && sendBracketed(QByteArray(letters) + *d);
}

SendResult clsNRD545::RttyOnOff(int v) {
    const SendResult r = settingCommand("U23", RxSetting::Rtty, v);
    if (r) emit RttyonoffChanged(v);
    return r;
}

bool clsNRD545::PowerOnOff(int v) {
    const auto d = onOffField(v);
    if (!d || !sendBracketed("T" + *d)) return false;
    emit PoweronoffChanged(v);
    return true;
}

std::optional<QString> clsNRD545::RxStatus() {
    std::optional<QString> status;
    {
        Bracket bracket(*this);
        if (bracket.ok() && send("MM21")) {
            pause(ShortPauseMs);
            if (send("J1999")) {
                pause(ShortPauseMs);
                if (send("MM21")) {
                    pause(PauseMs);
                    // Channel 999 now holds the tuned setting.
                    if (const auto r = query("L999999", "?999################\r")) status = statusFrom545Line(*r);
                }
            }
        }
    }
    return noted(status);
}

SendResult clsNRD545::RxStatus(const QString& s) {
    const auto cmd = statusCommand545(s);
    if (!cmd || !statusTaken(Model, s)) return Sent::Refused;
    if (!sendBracketed(*cmd)) return Sent::NoAnswer;
    emit RxStatusChanged(s);
    return Sent::Yes;
}

std::optional<int> clsNRD545::Attenuator() {
    const auto s = RxStatus();
    if (!s) return std::nullopt;
    return parseRxStatusString(*s)->attenuator;
}

SendResult clsNRD545::Attenuator(int v) {
    const SendResult r = settingCommand("A", RxSetting::Attenuator, v);
    if (r) emit AttenuatorChanged(v);
    return r;
}

SendResult clsNRD545::Bandwidth(int v) {
    const SendResult r = settingCommand("B", RxSetting::Filter, v);
    if (r) emit BandwidthChanged(v);
    return r;
}

std::optional<int> clsNRD545::Bandwidthcontrol() { return plainLevel("W", "W###\r", 2); }

std::optional<int> clsNRD545::Bandwidthcontrolxxx() { return bracketedLevel("W", "W###\r", 2); }

SendResult clsNRD545::Bandwidthcontrol(int v) {
    const auto d = fixedDigits(v, 3);
    if (!d || !receiverTakes(Model, RxSetting::BandwidthControl, v)) return Sent::Refused;
    if (const SendResult r = sendPlain("W" + *d); !r) return r;
    emit BandwidthcontrolChanged(v);
    return Sent::Yes;
}

std::optional<int> clsNRD545::Mode() {
    const auto s = RxStatus();
    if (!s) return std::nullopt;
    return parseRxStatusString(*s)->mode;
}

SendResult clsNRD545::Mode(int v) {
    const SendResult r = settingCommand("D", RxSetting::Mode, v);
    if (r) emit ModeChanged(v);
    return r;
}

SendResult clsNRD545::Ecss(int v) {
    const SendResult r = settingCommand("CC", RxSetting::Ecss, v);
    if (r) emit EcssChanged(v);
    return r;
}

std::optional<int> clsNRD545::Agcspeed() {
    std::optional<int> v;
    if (const auto r = query("NN", "NN###\r")) v = agcFactor545(r->mid(2, 3).toInt());
    return noted(v);
}

SendResult clsNRD545::Agcspeed(int v) {
    // 0 switches the AGC off; the others set its time constant.
    QByteArray cmd;
    if (v == 0) cmd = "G2";
    else if (const auto d = v > 0 ? fixedDigits(qint64(v) * 10, 3) : std::nullopt) cmd = "NN" + *d;
    if (cmd.isEmpty() || !receiverTakes(Model, RxSetting::Agc, v)) return Sent::Refused;
    if (!sendBracketed(cmd)) return Sent::NoAnswer;
    emit AgcspeedChanged(v);
    return Sent::Yes;
}

std::optional<double> clsNRD545::FrequencyA() {
    std::optional<double> kHz;
    {
        Bracket bracket(*this);
        // Dropping the input right before the query keeps anything the
        // receiver said to "H1" out of the reply.
        if (bracket.ok())
            if (const auto r = query("F", "F##########\r")) kHz = double(r->mid(3, 8).toLongLong()) / 1000.0;
    }
    return noted(kHz);
}

bool clsNRD545::FrequencyA(double kHz) {
    const auto hz = hertzDigits(kHz, 10);
    if (!hz || !sendBracketed("F" + *hz)) return false;
    emit FrequencyAChanged(kHz);
    return true;
}

bool clsNRD545::FreqOrChan(int) { return sendBracketed("MM21"); }

std::optional<int> clsNRD545::PassBandShift() { return plainLevel("P", "P+###\r", 2); }

std::optional<int> clsNRD545::PassBandShiftxxx() { return bracketedLevel("P", "P+###\r", 2); }

SendResult clsNRD545::PassBandShift(int v) {
    const auto d = signedDigits(v, 3);
    if (!d || !receiverTakes(Model, RxSetting::PassbandShift, v)) return Sent::Refused;
    if (const SendResult r = sendPlain("P" + *d); !r) return r;
    emit PassbandshiftChanged(v);
    return Sent::Yes;
}

std::optional<int> clsNRD545::Ifgain() { return plainLevel("HH", "HH###\r", 3); }

bool clsNRD545::Ifgain(int v) {
    if (!levelCommand("HH", v)) return false;
    emit IfgainChanged(v);
    return true;
}

std::optional<int> clsNRD545::Squelch() { return plainLevel("LL", "LL###\r", 3); }

bool clsNRD545::Squelch(int v) {
    if (!levelCommand("LL", v)) return false;
    emit SquelchChanged(v);
    return true;
}

std::optional<QString> clsNRD545::Memory(int ch) {
    const auto ccc = channelField(ch, Nrd545TopChannel);
    if (!ccc) return std::nullopt;
    std::optional<QString> record;
    if (const auto line = lineRead("L" + *ccc + *ccc, 21)) record = memoryFrom545Line(*line, ch);
    return noted(record);
}

bool clsNRD545::Memory(int ch, const QString& record) {
    const auto cmd = memoryCommand545(ch, record);
    return cmd && isRecordOf(record, Model) && sendBracketed(*cmd);
}

bool clsNRD545::Rx2Mem(int ch) {
    const auto ccc = channelField(ch, Nrd545TopChannel);
    return ccc && sendBracketed("C" + *ccc);
}

std::optional<float> clsNRD545::Smeter() {
    std::optional<float> s;
    if (const auto r = query("M", "M###\r")) s = smeter545(float(r->mid(1, 3).toInt()));
    return noted(s);
}

std::optional<int> clsNRD545::Tone() { return plainLevel("KK", "KK###\r", 3); }

bool clsNRD545::Tone(int v) {
    if (!levelCommand("KK", v)) return false;
    emit ToneChanged(v);
    return true;
}

std::optional<int> clsNRD545::Volume() { return plainLevel("JJ", "JJ###\r", 3); }

bool clsNRD545::Volume(int v) {
    if (!levelCommand("JJ", v)) return false;
    emit VolumeChanged(v);
    return true;
}

bool clsNRD545::Userdefs(int item, int v) {
    std::optional<QByteArray> value;
    switch (item) {
    case 1: case 2: case 4: case 10: case 11: case 12: case 18: case 19:
    case 24: case 25: case 26: case 27: case 28: case 31: case 32:
        value = onOffField(v);
        break;
    case 3:  // tuning steps (kHz)
        if (v >= 0 && v <= 3) value = digitField(v);
        break;
    case 8: case 9: case 13:  // pulses per turn, S-meter display, relay mode
        if (v >= 0 && v <= 2) value = digitField(v);
        break;
    case 14:  // CW BFO pitch
        value = signedDigits(v, 4);
        break;
    case 20:  // scan time
        value = fixedDigits(v, 2);
        break;
    case 21: case 22:  // sweep time, scan auto-stop time
        value = fixedDigits(v, 3);
        break;
    default:
        break;
    }
    return value && sendBracketed("U" + *fixedDigits(item, 2) + *value);
}

bool clsNRD545::nrbc(int sel, int v) {
    std::optional<QByteArray> cmd;
    if (sel == 0) {
        if (const auto d = digitField(v)) cmd = "BB" + *d;
    } else if (sel == 1) {
        if (const auto d = fixedDigits(v, 3)) cmd = "U29" + *d;
    } else if (sel == 2) {
        if (const auto d = fixedDigits(v, 3)) cmd = "U30" + *d;
    }
    return cmd && sendBracketed(*cmd);
}

SendResult clsNRD545::nb(int sel, int v) {
    if (sel == 0) return settingCommand("N", RxSetting::NoiseBlanker, v);
    const auto d = sel == 1 ? fixedDigits(v, 3) : std::nullopt;
    if (!d) return Sent::Refused;
    return SendResult::wrote(sendBracketed("FF" + *d));
}

std::optional<int> clsNRD545::nb(int sel) {
    if (sel == 0) return bracketedLevel("N", "N#\r", 2);
    if (sel == 1) return bracketedLevel("FF", "FF###\r", 3);
    return std::nullopt;
}

bool clsNRD545::nt(int sel, int v) {
    std::optional<QByteArray> cmd;
    if (sel == 0) {
        if (const auto d = digitField(v)) cmd = "EE" + *d;
    } else if (sel == 1) {
        if (const auto d = signedDigits(v, 4)) cmd = "GG" + *d;
    }
    return cmd && sendBracketed(*cmd);
}

std::optional<int> clsNRD545::nt(int sel) {
    if (sel == 1) return bracketedLevel("GG", "GG+####\r", 3);
    return std::nullopt;
}

} // namespace dovrane
