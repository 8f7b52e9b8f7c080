#include "timer/timer_event.h"
#include "drivers/ar7030/ar7030_convert.h"
#include "drivers/ar7030/clsar7030.h"
#include "drivers/model_tables.h"
#include "drivers/nrd535/clsnrd535.h"
#include "drivers/nrd545/clsnrd545.h"
#include "drivers/rx320/clsrx320.h"
#include "drivers/rx320/rx320_state.h"
#include "drivers/rx_link.h"
#include "panels/frmar7030.h"
#include "panels/frmnrd535.h"
#include "panels/frmnrd545.h"
#include "panels/frmrx320.h"
#include "platform/commport.h"
#include "platform/delay.h"
#include "platform/number_text.h"
#include "platform/sequence.h"
#include "shell/facade.h"
#include "shell/form.h"
#include "shell/globals.h"
#include "shell/quiet_tune.h"
#include "timer/timer_editor.h"

#include <cmath>

namespace dovrane {

using namespace slotfield;
using M = RxStep::Member;

namespace {
constexpr int Ar7030SettleMs = 500;

} // namespace

std::vector<RxStep> eventSteps(int rxType, const SlotFields& p) {
    switch (RxModel(rxType)) {
    case RxModel::Ar7030:
        return {{M::Attenuator, p[Att]}, {M::PassBandShift, vsb2b(p[Pbs])}, {M::Mode, p[Mode]},
                {M::Agcspeed, p[Agc]}, {M::Bandwidth, p[Bw]}};
    case RxModel::Nrd535:
        // The bandwidth control belongs to the filter of step 1; it goes out
        // also as the forced 0 of a filter without it.
        return {{M::Attenuator, p[Att]}, {M::Bandwidth, p[Bw]}, {M::PassBandShift, p[Pbs]},
                {M::Bandwidthcontrol, p[Bwc], true, 1}, {M::Mode, p[Mode]}, {M::Agcspeed, p[Agc]}};
    case RxModel::Rx320:
        return {{M::Bandwidth, p[Bw]}, {M::PassBandShift, p[Pbs]}, {M::Mode, p[Mode]}, {M::Agcspeed, p[Agc]}};
    case RxModel::Nrd545: {
        std::vector<RxStep> s{{M::Attenuator, p[Att]}};
        if (p[Mode] == nrdmode::AmUpper || p[Mode] == nrdmode::AmLower) {
            // Synchronous AM: AM first, then the side band once the receiver has settled.
            const int am = int(s.size());
            s.push_back({M::Mode, nrdmode::Am, false});
            s.push_back({M::Pause, 100, false, am});
            s.push_back({M::Ecss, p[Mode] == nrdmode::AmUpper ? 1 : 2, false, am + 1});
            s.push_back({M::ShowMode, p[Mode], true, am + 2});
        } else {
            s.push_back({M::Mode, p[Mode]});
        }
        s.push_back({M::PassBandShift, p[Pbs]});
        s.push_back({M::Bandwidthcontrol, p[Bwc]});
        if (p[Mode] < nrdmode::Am) s.push_back({M::Agcspeed, p[Agc]});
        return s;
    }
    default: return {};
    }
}

TimerReceiver::TimerReceiver(int rxType) : TimerReceiver(rxType, Comm1) {}

TimerReceiver::TimerReceiver(int rxType, CommPort* port) : rxType_(rxType) {
    if (!port) return;
    switch (RxModel(rxType)) {
    case RxModel::Ar7030: AR7030A = new clsAR7030(*port, port); break;
    case RxModel::Nrd535: NRD535A = new clsNRD535(*port, port); break;
    case RxModel::Rx320: RX320A = new clsRX320(*port, port); break;
    case RxModel::Nrd545: NRD545A = new clsNRD545(*port, port); break;
    default: break;
    }
}

TimerReceiver::~TimerReceiver() { release(); }

void TimerReceiver::release() {
    delete AR7030A.data();
    delete NRD535A.data();
    delete RX320A.data();
    delete NRD545A.data();
}

bool TimerReceiver::hasDriver() const {
    switch (RxModel(rxType_)) {
    case RxModel::Ar7030: return !AR7030A.isNull();
    case RxModel::Nrd535: return !NRD535A.isNull();
    case RxModel::Rx320: return !RX320A.isNull();
    case RxModel::Nrd545: return !NRD545A.isNull();
    default: return false;
    }
}

namespace {
// The driver's answer, and the panel's change handler after a write that went out.
template <class Show> SendResult shownIf(SendResult sent, Show show) {
    if (sent) show();
    return sent;
}
// The same for a write whose driver tells no refusal apart.
template <class Show> SendResult shownIf(bool sent, Show show) { return shownIf(SendResult::wrote(sent), show); }
} // namespace

SendResult TimerReceiver::send(const RxStep& s) {
    const int v = s.value;
    if (s.member == M::Pause) {
        // Between two of the event's operations: what could start another
        // exchange or close a window waits for the event's steps.
        sequence::pause(v);
        return hasDriver() ? Sent::Yes : Sent::NoAnswer;
    }
    if (!hasDriver()) return Sent::NoAnswer;
    switch (RxModel(rxType_)) {
    case RxModel::Ar7030: {
        auto* p = forms::loaded<frmAR7030>();
        clsAR7030& rx = *AR7030A;
        switch (s.member) {
        case M::Attenuator: return shownIf(rx.Attenuator(v), [&] { if (p) p->AR7030A_AttenuatorChanged(v); });
        case M::PassBandShift: return shownIf(rx.PassBandShift(v), [&] { if (p) p->AR7030A_PassbandshiftChanged(v); });
        case M::Mode: return shownIf(rx.Mode(v), [&] { if (p) p->AR7030A_ModeChanged(v); });
        case M::Agcspeed: return shownIf(rx.Agcspeed(v), [&] { if (p) p->AR7030A_AgcspeedChanged(v); });
        case M::Bandwidth: return shownIf(rx.Bandwidth(v), [&] { if (p) p->AR7030A_BandwidthChanged(v); });
        default: return Sent::Refused;
        }
    }
    case RxModel::Nrd535: {
        auto* p = forms::loaded<frmNRD535>();
        clsNRD535& rx = *NRD535A;
        switch (s.member) {
        case M::Attenuator: return shownIf(rx.Attenuator(v), [&] { if (p) p->NRD535A_AttenuatorChanged(v); });
        case M::Bandwidth: return shownIf(rx.Bandwidth(v), [&] { if (p) p->NRD535A_BandwidthChanged(v); });
        case M::PassBandShift: return shownIf(rx.PassBandShift(v), [&] { if (p) p->NRD535A_PassbandshiftChanged(v); });
        case M::Bandwidthcontrol:
            return shownIf(rx.Bandwidthcontrol(v), [&] { if (p) p->NRD535A_BandwidthcontrolChanged(v); });
        case M::Mode: return shownIf(rx.Mode(v), [&] { if (p) p->NRD535A_ModeChanged(v); });
        case M::Agcspeed: return shownIf(rx.Agcspeed(v), [&] { if (p) p->NRD535A_AgcspeedChanged(v); });
        default: return Sent::Refused;
        }
    }
    case RxModel::Rx320: {
        auto* p = forms::loaded<frmRX320>();
        clsRX320& rx = *RX320A;
        switch (s.member) {
        case M::Bandwidth: return shownIf(rx.Bandwidth(v), [&] { if (p) p->RX320A_BandwidthChanged(v); });
        case M::PassBandShift: return shownIf(rx.PassBandShift(v), [&] { if (p) p->RX320A_PassbandshiftChanged(v); });
        case M::Mode: return shownIf(rx.Mode(v), [&] { if (p) p->RX320A_ModeChanged(v); });
        case M::Agcspeed: return shownIf(rx.Agcspeed(v), [&] { if (p) p->RX320A_AgcspeedChanged(v); });
        default: return Sent::Refused;
        }
    }
    case RxModel::Nrd545: {
        auto* p = forms::loaded<frmNRD545>();
        clsNRD545& rx = *NRD545A;
        const bool show = p && s.show;
        switch (s.member) {
        case M::Attenuator: return shownIf(rx.Attenuator(v), [&] { if (show) p->NRD545A_AttenuatorChanged(v); });
        case M::Mode: return shownIf(rx.Mode(v), [&] { if (show) p->NRD545A_ModeChanged(v); });
        case M::Ecss: return shownIf(rx.Ecss(v), [&] { if (show) p->NRD545A_EcssChanged(v); });
        case M::ShowMode:
            if (p) p->NRD545A_ModeChanged(v);
            return Sent::Yes;
        case M::PassBandShift: return shownIf(rx.PassBandShift(v), [&] { if (show) p->NRD545A_PassbandshiftChanged(v); });
        case M::Bandwidthcontrol:
            return shownIf(rx.Bandwidthcontrol(v), [&] { if (show) p->NRD545A_BandwidthcontrolChanged(v); });
        case M::Agcspeed: return shownIf(rx.Agcspeed(v), [&] { if (show) p->NRD545A_AgcspeedChanged(v); });
        default: return Sent::Refused;
        }
    }
    case RxModel::None: break;
    }
    return Sent::Refused;
}

bool TimerReceiver::apply(const SlotFields& slot) {
    if (!modelCodes(rxType_) || RxModel(rxType_) == RxModel::None) return true;
    const double f = slotFrequencyKHz(slot);
    if (!hasDriver()) return false;
    // A tick must never stop at a message box.
    bool ok = tuneQuietly(f) == TuneResult::Tuned;
    const std::vector<RxStep> steps = eventSteps(rxType_, slot);
    // Steps left out: one the receiver does not take (a code of an option it
    // lacks, in a slot fixed while the option was ticked), and every step
    // that only makes sense after one that was left out or did not reach the
    // receiver: a side band sent or shown on a mode the receiver never got
    // would leave it, and the panel, in a mode nobody chose. The rest still
    // goes out.
    std::vector<bool> leftOut(steps.size(), false);
    for (size_t i = 0; i < steps.size(); ++i) {
        // The pause lets events run: the window may have let the driver go meanwhile.
        if (!hasDriver()) return false;
        const int needs = steps[i].needs;
        if (needs >= 0 && leftOut[size_t(needs)]) {
            leftOut[i] = true;
            continue;
        }
        const SendResult sent = send(steps[i]);
        leftOut[i] = !sent;
        if (sent.unanswered()) ok = false;
    }
    if (ok && RxModel(rxType_) == RxModel::Ar7030) {
        // The driver's reads allow no time for commands still on their way: at
        // 1200 Bd an event's writes take up to half a second, and the line level
        // that follows starts with a read. Let them reach the receiver first.
        // Not after a write that failed: nothing follows then, and the wait
        // would show the driver's notice on its own before the timer, which
        // stops over the failure, could tell it in its one message.
        sequence::pause(Ar7030SettleMs);
        if (!hasDriver()) return false;
    }
    return ok;
}

bool TimerReceiver::lineOut(int onoff) {
    if (onoff != 0 && onoff != 1) return true;
    switch (RxModel(rxType_)) {
    case RxModel::Ar7030: {
        const int level = onoff ? int(vbRound(double(Settings[28]))) : 0;
        if (!AR7030A || !AR7030A->Leftauxlevel(level)) return false;
        if (auto* panel = forms::loaded<frmAR7030>()) panel->AR7030A_LeftauxlevelChanged(level);
        return true;
    }
    case RxModel::Nrd535: return NRD535A && NRD535A->Timerrelaysonoff(onoff);
    case RxModel::Rx320: {
        const int level = onoff ? int(vbRound(double(Settings[31]))) : 0;
        if (!RX320A || !RX320A->Linelevel(level)) return false;
        if (auto* panel = forms::loaded<frmRX320>()) panel->RX320A_LinelevelChanged(level);
        return true;
    }
    case RxModel::Nrd545: return NRD545A && NRD545A->Timerrelaysonoff(onoff);
    default: return true;
    }
}

bool TimerReceiver::answers() {
    switch (RxModel(rxType_)) {
    case RxModel::Ar7030: return AR7030A && AR7030A->Smeter().has_value();
    case RxModel::Nrd535: return NRD535A && NRD535A->Smeter().has_value();
    case RxModel::Rx320: return RX320A && RX320A->Smeter().has_value();
    case RxModel::Nrd545: return NRD545A && NRD545A->Smeter().has_value();
    default: return true;
    }
}

bool TimerReceiver::heard() {
    if (rxType_ < 1 || rxType_ > 4) return true;
    if (RX320A) return RX320A->Smeter().has_value();
    return receiverAnswers(AR7030A.data(), NRD535A.data(), NRD545A.data());
}

NrdDriver* TimerReceiver::nrd() const {
    if (RxModel(rxType_) == RxModel::Nrd535) return NRD535A.data();
    if (RxModel(rxType_) == RxModel::Nrd545) return NRD545A.data();
    return nullptr;
}

bool TimerReceiver::lineOffBegin() {
    NrdDriver* d = nrd();
    return d ? d->openBracket() : hasDriver();
}

bool TimerReceiver::lineOffAsk() {
    NrdDriver* d = nrd();
    return d ? d->relayOffOnAnswer() : answers() && lineOut(0);
}

void TimerReceiver::lineOffEnd() {
    if (NrdDriver* d = nrd()) d->closeBracket();
}

bool TimerReceiver::read(TimerEditor& editor) {
    bool ok = true;
    switch (RxModel(rxType_)) {
    case RxModel::Ar7030: {
        if (!AR7030A) return false;
        const auto att = AR7030A->Attenuator();
        const auto bw = att ? AR7030A->Bandwidth() : std::nullopt;
        const auto pbs = bw ? AR7030A->PassBandShift() : std::nullopt;
        const auto mode = pbs ? AR7030A->Mode() : std::nullopt;
        const auto agc = mode ? AR7030A->Agcspeed() : std::nullopt;
        if (!agc) return false;
        editor.readAr7030(*att, *bw, *pbs, *mode, *agc);
        break;
    }
    case RxModel::Nrd535: {
        const auto s = NRD535A ? NRD535A->RxStatus() : std::nullopt;
        if (!s) return false;
        editor.readNrd535(*s);
        break;
    }
    case RxModel::Rx320: editor.readRx320(Rx320Bw, Rx320Pbs, Rx320Mode, Rx320Agc); break;
    case RxModel::Nrd545: {
        const auto s = NRD545A ? NRD545A->RxStatus() : std::nullopt;
        const auto pbs = s ? NRD545A->PassBandShiftxxx() : std::nullopt;
        const auto bwc = pbs ? NRD545A->Bandwidthcontrolxxx() : std::nullopt;
        if (!bwc) return false;
        editor.readNrd545(*s, *pbs, *bwc);
        break;
    }
    default: editor.readNoRx(); break;
    }
    const std::optional<double> f = Update2RxFreq();
    if (f) editor.setFrequencyHz(std::lround(*f * 1000.0));
    else ok = false;
    return ok;
}

} // namespace dovrane
