#include "shell/facade.h"
#include "drivers/ar7030/clsar7030.h"
#include "drivers/model_tables.h"
#include "drivers/nrd535/clsnrd535.h"
#include "drivers/nrd545/clsnrd545.h"
#include "drivers/rx320/clsrx320.h"
#include "drivers/rx320/rx320_state.h"
#include "platform/commport.h"
#include "platform/dialogs.h"
#include "shell/globals.h"
#include "shell/mode_letter.h"
#include "shell/quiet_tune.h"
#include "platform/number_text.h"

#include <QPointer>
#include <QVariant>
#include <vector>

namespace dovrane {

namespace {

const QString kOutsideRange = QStringLiteral("Frequency outside range");
const QString kInputError = QStringLiteral("Input Error");

PanelHandlers* g_panel = nullptr;
QByteArray g_term;

// The welcome window's driver objects. Each is a child of the port it talks
// to, so it can never outlive it.
struct WelcomeDrivers {
    QPointer<clsAR7030> AR7030A;
    QPointer<clsNRD535> NRD535A;
    QPointer<clsRX320> RX320A;
    QPointer<clsNRD545> NRD545A;
    QPointer<CommPort> port;
    int type = -1;
};
WelcomeDrivers g_drivers;

bool driverReady() {
    const WelcomeDrivers& d = g_drivers;
    if (d.type != RxType || !d.port || d.port != Comm1) return false;
    switch (RxType) {
    case int(RxModel::Ar7030): return !d.AR7030A.isNull();
    case int(RxModel::Nrd535): return !d.NRD535A.isNull();
    case int(RxModel::Rx320): return !d.RX320A.isNull();
    case int(RxModel::Nrd545): return !d.NRD545A.isNull();
    default: return false;
    }
}

// The driver of RxType, made on Comm1 when there is none yet.
bool ensureDriver() {
    if (RxType < 1 || RxType > 4 || !Comm1) return false;
    if (!driverReady()) createWelcomeDriver(RxType);
    return driverReady();
}

bool sendFrequency(double f) {
    switch (RxType) {
    case int(RxModel::Ar7030): return g_drivers.AR7030A->FrequencyA(f);
    case int(RxModel::Nrd535): return g_drivers.NRD535A->FrequencyA(f);
    case int(RxModel::Rx320): return g_drivers.RX320A->FrequencyA(f);
    case int(RxModel::Nrd545): return g_drivers.NRD545A->FrequencyA(f);
    default: return false;
    }
}

std::optional<double> readFrequency() {
    switch (RxType) {
    case int(RxModel::Ar7030): return g_drivers.AR7030A->FrequencyA();
    case int(RxModel::Nrd535): return g_drivers.NRD535A->FrequencyA();
    case int(RxModel::Rx320): return Rx320Freq;
    case int(RxModel::Nrd545): return g_drivers.NRD545A->FrequencyA();
    default: return std::nullopt;
    }
}

// One setting of SetRx2mfa: which member, and the value sent.
enum class Member { Mode, Bandwidth, Agcspeed };
struct Setting {
    Member member;
    int value;
};

// What the driver answered: a setting the receiver does not take is refused
// by the driver's gate with nothing sent.
SendResult sendSetting(const Setting& s) {
    const int v = s.value;
    switch (RxModel(RxType)) {
    case RxModel::Ar7030:
        switch (s.member) {
        case Member::Mode: return g_drivers.AR7030A->Mode(v);
        case Member::Bandwidth: return g_drivers.AR7030A->Bandwidth(v);
        case Member::Agcspeed: return g_drivers.AR7030A->Agcspeed(v);
        }
        break;
    case RxModel::Nrd535:
        switch (s.member) {
        case Member::Mode: return g_drivers.NRD535A->Mode(v);
        case Member::Bandwidth: return g_drivers.NRD535A->Bandwidth(v);
        case Member::Agcspeed: return g_drivers.NRD535A->Agcspeed(v);
        }
        break;
    case RxModel::Rx320:
        switch (s.member) {
        case Member::Mode: return g_drivers.RX320A->Mode(v);
        case Member::Bandwidth: return g_drivers.RX320A->Bandwidth(v);
        case Member::Agcspeed: return g_drivers.RX320A->Agcspeed(v);
        }
        break;
    case RxModel::Nrd545:
        if (s.member == Member::Mode) return g_drivers.NRD545A->Mode(v);
        break;
    case RxModel::None: break;
    }
    return Sent::Refused;
}

void showSetting(const Setting& s) {
    if (!g_panel) return;
    switch (s.member) {
    case Member::Mode: g_panel->modeChanged(s.value); break;
    case Member::Bandwidth: g_panel->bandwidthChanged(s.value); break;
    case Member::Agcspeed: g_panel->agcspeedChanged(s.value); break;
    }
}

// An AR7030 filter place from the settings.
Setting ar7030Filter(int settingIndex) {
    return Setting{Member::Bandwidth, int(vbRound(double(Settings[size_t(settingIndex)])))};
}

// What a mode letter sends, in order, for RxType.
std::vector<Setting> settingsFor(QChar letter) {
    using M = Member;
    const char c = letter.toLatin1();
    std::vector<Setting> out;
    auto add = [&](std::initializer_list<Setting> list) {
        for (const Setting& s : list) out.push_back(s);
    };
    switch (RxType) {
    case int(RxModel::Ar7030):
        switch (c) {
        case 'A': add({Setting{M::Mode, 1}, ar7030Filter(14), Setting{M::Agcspeed, 0}}); break;
        case 'U': add({Setting{M::Mode, 7}, ar7030Filter(15), Setting{M::Agcspeed, 2}}); break;
        case 'L': add({Setting{M::Mode, 6}, ar7030Filter(15), Setting{M::Agcspeed, 2}}); break;
        case 'C': add({Setting{M::Mode, 5}, ar7030Filter(16), Setting{M::Agcspeed, 0}}); break;
        case 'F': add({Setting{M::Mode, 3}, ar7030Filter(17)}); break;
        case 'D': add({Setting{M::Mode, 4}, ar7030Filter(15), Setting{M::Agcspeed, 0}}); break;
        default: break;
        }
        break;
    case int(RxModel::Nrd535): {
        // CW on the narrow filter where the receiver has it.
        const int cwFilter = receiverTakes(RxModel::Nrd535, RxSetting::Filter, 2) ? 2 : 1;
        switch (c) {
        case 'A': add({Setting{M::Mode, 4}, Setting{M::Bandwidth, 0}, Setting{M::Agcspeed, 1}}); break;
        case 'U': add({Setting{M::Mode, 2}, Setting{M::Bandwidth, 1}, Setting{M::Agcspeed, 0}}); break;
        case 'L': add({Setting{M::Mode, 3}, Setting{M::Bandwidth, 1}, Setting{M::Agcspeed, 0}}); break;
        case 'C': add({Setting{M::Mode, 1}, Setting{M::Bandwidth, cwFilter}, Setting{M::Agcspeed, 1}}); break;
        case 'F': add({Setting{M::Mode, 5}, Setting{M::Bandwidth, 3}}); break;
        case 'D': add({Setting{M::Mode, 6}, Setting{M::Bandwidth, 1}, Setting{M::Agcspeed, 1}}); break;
        default: break;
        }
        break;
    }
    case int(RxModel::Rx320):
        switch (c) {
        case 'A': add({Setting{M::Mode, 0}, Setting{M::Bandwidth, 2}, Setting{M::Agcspeed, 3}}); break;
        case 'U': add({Setting{M::Mode, 1}, Setting{M::Bandwidth, 10}, Setting{M::Agcspeed, 1}}); break;
        case 'L': add({Setting{M::Mode, 2}, Setting{M::Bandwidth, 10}, Setting{M::Agcspeed, 1}}); break;
        case 'C': add({Setting{M::Mode, 3}, Setting{M::Bandwidth, 23}, Setting{M::Agcspeed, 3}}); break;
        default: break;
        }
        break;
    case int(RxModel::Nrd545):
        switch (c) {
        case 'A': add({Setting{M::Mode, 4}}); break;
        case 'U': add({Setting{M::Mode, 2}}); break;
        case 'L': add({Setting{M::Mode, 3}}); break;
        case 'C': add({Setting{M::Mode, 1}}); break;
        case 'F': add({Setting{M::Mode, 5}}); break;
        case 'D': add({Setting{M::Mode, 0}}); break;
        default: break;
        }
        break;
    default: break;
    }
    return out;
}

// The frequency of one complete report line (without its CR), or nothing
// when the line is too short or the eight places are not all digits.
std::optional<double> reportFrequency(const QByteArray& line, int rxType) {
    int after = 0;   // characters that follow the eight digits
    if (rxType == int(RxModel::Nrd535)) after = 1;
    else if (rxType == int(RxModel::Nrd545)) after = 3;
    else return std::nullopt;
    if (line.size() < 8 + after) return std::nullopt;
    const QByteArray digits = line.mid(line.size() - after - 8, 8);
    for (char ch : digits)
        if (ch < '0' || ch > '9') return std::nullopt;
    return digits.toLongLong() / 1000.0;
}

void capBuffer(QByteArray& term) {
    if (term.size() > ReceiveBufferLimit) term.remove(0, term.size() - ReceiveBufferLimit);
}

} // namespace

void setOpenPanel(PanelHandlers* panel) { g_panel = panel; }
void clearOpenPanel(PanelHandlers* panel) {
    if (g_panel == panel) g_panel = nullptr;
}
PanelHandlers* openPanel() { return g_panel; }

void createWelcomeDriver(int rxType) {
    releaseWelcomeDrivers();
    if (!Comm1 || rxType < 1 || rxType > 4) return;
    WelcomeDrivers& d = g_drivers;
    switch (rxType) {
    case int(RxModel::Ar7030): d.AR7030A = new clsAR7030(*Comm1, Comm1); break;
    case int(RxModel::Nrd535): d.NRD535A = new clsNRD535(*Comm1, Comm1); break;
    case int(RxModel::Rx320): d.RX320A = new clsRX320(*Comm1, Comm1); break;
    case int(RxModel::Nrd545): d.NRD545A = new clsNRD545(*Comm1, Comm1); break;
    default: break;
    }
    d.port = Comm1;
    d.type = rxType;
}

void releaseWelcomeDrivers() {
    WelcomeDrivers& d = g_drivers;
    delete d.AR7030A.data();
    delete d.NRD535A.data();
    delete d.RX320A.data();
    delete d.NRD545A.data();
    d = WelcomeDrivers{};
}

TuneResult tuneQuietly(double freq) {
    if (RxType < 1 || RxType > 4) return TuneResult::NoReceiver;
    if (!(FreqMax > 0 && FreqMin <= freq && freq <= FreqMax)) return TuneResult::OutOfRange;
    if (!ensureDriver()) return TuneResult::NoReceiver;
    if (!sendFrequency(freq)) return TuneResult::Failed;
    if (g_panel) g_panel->frequencyAChanged(freq);
    return TuneResult::Tuned;
}

bool Change2FreqA(double freq) {
    const TuneResult r = tuneQuietly(freq);
    if (r == TuneResult::OutOfRange)
        dialogs::message(kOutsideRange, dialogs::Buttons::Ok, dialogs::Icon::Exclamation, kInputError);
    return r == TuneResult::Tuned;
}

QString ConvertRx2mfa() {
    std::optional<int> mode;
    switch (RxType) {
    case int(RxModel::Rx320): mode = Rx320Mode; break;
    case int(RxModel::Ar7030):
        if (ensureDriver()) mode = g_drivers.AR7030A->Mode();
        break;
    case int(RxModel::Nrd535):
        if (ensureDriver()) mode = g_drivers.NRD535A->Mode();
        break;
    case int(RxModel::Nrd545):
        if (ensureDriver()) mode = g_drivers.NRD545A->Mode();
        break;
    default: break;
    }
    return mode ? modeLetterFor(RxType, *mode) : QString();
}

void SetRx2mfa(QString& letter) {
    letter = letter.toUpper();
    if (letter.size() != 1) return;
    const std::vector<Setting> settings = settingsFor(letter.at(0));
    if (settings.empty() || !ensureDriver()) return;
    for (const Setting& s : settings) {
        // A setting the receiver does not take (a filter place it lacks) is
        // left as it is; what did not go out is not shown, and after a write
        // that failed nothing more is sent.
        const SendResult sent = sendSetting(s);
        if (sent.refused()) continue;
        if (!sent) return;
        showSetting(s);
    }
}

std::optional<double> Update2RxFreq() {
    if (RxType < 1 || RxType > 4) return 0.0;
    if (RxType != 3 && !ensureDriver()) return std::nullopt;
    const std::optional<double> f = readFrequency();
    if (f && g_panel) g_panel->frequencyAChanged(*f);
    return f;
}

void Update4RxFreq() { (void)Update2RxFreq(); }

void getfreq(QByteArray& term, const QByteArray& s) {
    term.append(s);
    const qsizetype lastCr = term.lastIndexOf('\r');
    if (lastCr < 0) {
        capBuffer(term);
        return;
    }
    const QList<QByteArray> lines = term.left(lastCr).split('\r');
    term.remove(0, lastCr + 1);
    capBuffer(term);

    std::optional<double> f;
    for (auto it = lines.crbegin(); it != lines.crend() && !f; ++it) f = reportFrequency(*it, RxType);
    if (f) {
        TrackFreq = *f;
        if (g_panel) g_panel->frequencyAChanged(TrackFreq);
    }
    updatetracking();
}

void Comm1_OnComm() {
    if (!CommRxEnabled || !Comm1) return;
    const QByteArray data = Comm1->readAll();
    if (!data.isEmpty()) getfreq(g_term, data);
}

void attachSerialReceive(CommPort& port) {
    static const char* kAttached = "dovraneSerialReceive";
    if (port.property(kAttached).toBool()) return;
    port.setProperty(kAttached, true);
    QObject::connect(&port, &CommPort::received, &port, [] { Comm1_OnComm(); });
}

QByteArray& receiveBuffer() { return g_term; }

void updatetracking() {
    if (updatetrackingHandler) updatetrackingHandler();
}

void resetFacade() {
    releaseWelcomeDrivers();
    g_panel = nullptr;
    g_term.clear();
    updatetrackingHandler = nullptr;
}

} // namespace dovrane
