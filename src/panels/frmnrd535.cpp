#include "panels/frmnrd535.h"
#include "ui_frmnrd535.h"

#include "drivers/model_tables.h"
#include "drivers/nrd535/clsnrd535.h"
#include "panels/tool_windows.h"
#include "platform/clickable_label.h"
#include "platform/dialogs.h"
#include "platform/delay.h"
#include "shell/frmsetup.h"
#include "shell/globals.h"
#include "platform/number_text.h"
#include "platform/sequence.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>
#include <algorithm>

namespace dovrane {

namespace {

const QString kMemoryOutside = QStringLiteral("Memory cell outside range");
const QString kError = QStringLiteral("Error");
const QString kRttyMissing = QStringLiteral("Reserved for RTTY demodulation\nwith optional unit CMH-530");
const QString kRttyTitle = QStringLiteral("RTTY demodulation");

constexpr int kModeDelayMs = 100;
constexpr int kPbsKeyStep = 50;

// The step of the bandwidth-control keys on a filter.
int bwcKeyStep(int filter) { return filter == 0 ? 200 : 100; }

// The numeric value of one character of the status string (1-based), 0 for
// anything that is not a digit.
int statusDigit(const QString& s, int pos) {
    if (pos < 1 || pos > s.size()) return 0;
    const QChar c = s[pos - 1];
    return c.isDigit() ? c.digitValue() : 0;
}

QString attenuatorText(int code) { return numText(double(code * -20)); }

} // namespace

frmNRD535::frmNRD535() : NrdPanel(int(RxModel::Nrd535)), ui(std::make_unique<Ui::frmNRD535>()) {
    ui->setupUi(this);
    ui->tuningBlock->setFrameTitle(QStringLiteral("Freq A : 10 k - 30 M"));
    setupPanel();
    bindModelControls();
    {
        // The passband shift spans what the receiver takes; the bandwidth
        // control takes the range of its filter when it is set up.
        const QSignalBlocker block(ui->vsbPassbandshift);
        ui->vsbPassbandshift->setRange(passbandShiftRange(RxModel::Nrd535).lo, passbandShiftRange(RxModel::Nrd535).hi);
    }

    // This panel's own captions.
    if (QAction* a = menuItem(QStringLiteral("mnuConvertaero2"))) a->setText(QStringLiteral("Convert Aero . . ."));
    if (QAction* a = menuItem(QStringLiteral("mnuConvertaero"))) a->setText(QStringLiteral("Convert Aero . . "));

    // Set Up is reachable from the panel and changes the options at once.
    // Only the open panel follows: one that is closing has let go of its
    // receiver already.
    connect(&setUpNotifier(), &SetUpNotifier::closed, this, [this] {
        if (openPanel() == this) followOptions();
    });
}

frmNRD535::~frmNRD535() = default;

clsNRD535* frmNRD535::driver() const { return NRD535A; }

void frmNRD535::bindModelControls() {
    auto bindArray = [this](auto& array, const char* prefix, auto handler) {
        for (int i = 0; i < int(array.size()); ++i) {
            array[size_t(i)] = findChild<QAbstractButton*>(QStringLiteral("%1_%2").arg(QLatin1String(prefix)).arg(i));
            if (array[size_t(i)])
                connect(array[size_t(i)], &QAbstractButton::clicked, this, [this, handler, i] { (this->*handler)(i); });
        }
    };
    bindArray(cmdAttenuator, "cmdAttenuator", &frmNRD535::cmdAttenuator_Click);
    bindArray(cmdBandwidth, "cmdBandwidth", &frmNRD535::cmdBandwidth_Click);
    bindArray(cmdMode, "cmdMode", &frmNRD535::cmdMode_Click);
    bindArray(cmdAgcspeed, "cmdAgcspeed", &frmNRD535::cmdAgcspeed_Click);
    bindArray(cmdNoiseblanker, "cmdNoiseblanker", &frmNRD535::cmdNoiseblanker_Click);
    bindArray(cmdLock, "cmdLock", &frmNRD535::cmdLock_Click);
    connect(ui->cmdPowerOnOff, &QAbstractButton::clicked, this, [this] { cmdPowerOnOff_Click(); });
    connect(ui->lblPassbandshift, &ClickableLabel::clicked, this, [this] { lblPassbandshift_Click(); });

    // A slider's new value goes to the receiver at once; the receiver takes
    // these commands only while it is held, and the sliders are enabled only
    // then.
    connect(ui->vsbPassbandshift, &QSlider::valueChanged, this, [this](int v) {
        if (NRD535A && RemoteHeld == 1) NRD535A->PassBandShift(v);
    });
    connect(ui->vsbBandwidthcontrol, &QSlider::valueChanged, this, [this](int v) {
        if (NRD535A && RemoteHeld == 1) NRD535A->Bandwidthcontrol(v);
    });
}

void frmNRD535::fillDirectMenu(QMenu* menu) {
    addMenuItem(menu, QStringLiteral("mnuUpdate"), QStringLiteral("Update"), [this] { RxUpdatefull(); });
    addStandardItem(menu, QStringLiteral("mnuSetup"));
    addToolItem(menu, QStringLiteral("mnuUserdefs"), QStringLiteral("User Defs . . ."), QStringLiteral("frmUserdefs"));
    menu->addSeparator();
    addStandardItem(menu, QStringLiteral("mnuLast20"));
    addStandardItem(menu, QStringLiteral("mnuScratchpad"));
    menu->addSeparator();
    // Enabled always: without the RTTY unit the item explains itself.
    addMenuItem(menu, QStringLiteral("mnuRtty"), QStringLiteral("RTTY . . ."), [this] { mnuRtty_Click(); });
    menu->addSeparator();
    addStandardItem(menu, QStringLiteral("mnuClose"));
    addStandardItem(menu, QStringLiteral("mnuExit"));
}

// ---- load and unload ----

void frmNRD535::createDriverAndTables() {
    if (Comm1) {
        NRD535A = new clsNRD535(*Comm1, this);
        setNrdDriver(NRD535A);
        clsNRD535* d = NRD535A;
        connect(d, &clsNRD535::PoweronoffChanged, this, [this](int v) { NRD535A_PoweronoffChanged(v); });
        connect(d, &NrdDriver::LockChanged, this, [this](int v) { NRD535A_LockChanged(v); });
        connect(d, &clsNRD535::RxStatusChanged, this, [this](const QString& s) { NRD535A_RxStatusChanged(s); });
        connect(d, &clsNRD535::AttenuatorChanged, this, [this](int v) { NRD535A_AttenuatorChanged(v); });
        connect(d, &clsNRD535::BandwidthChanged, this, [this](int v) { NRD535A_BandwidthChanged(v); });
        connect(d, &clsNRD535::ModeChanged, this, [this](int v) { NRD535A_ModeChanged(v); });
        connect(d, &clsNRD535::AgcspeedChanged, this, [this](int v) { NRD535A_AgcspeedChanged(v); });
        connect(d, &clsNRD535::NoiseblankerChanged, this, [this](int v) { NRD535A_NoiseblankerChanged(v); });
        connect(d, &clsNRD535::BandwidthcontrolChanged, this,
                [this](int v) { NRD535A_BandwidthcontrolChanged(v); });
        connect(d, &clsNRD535::PassbandshiftChanged, this, [this](int v) { NRD535A_PassbandshiftChanged(v); });
        connect(d, &clsNRD535::FrequencyAChanged, this, [this](double f) { NRD535A_FrequencyAChanged(f); });
    }
    initnrd535tables();
}

bool frmNRD535::setDriverFrequencyA(double kHz) { return NRD535A && NRD535A->FrequencyA(kHz); }

void frmNRD535::applyOptions() {
    // A button whose code needs an option the receiver lacks stays disabled.
    const ModelCodes& codes = *modelCodes(RxModel::Nrd535);
    for (int i = 0; i < int(cmdBandwidth.size()); ++i)
        if (cmdBandwidth[size_t(i)]) cmdBandwidth[size_t(i)]->setEnabled(takesCode(codes.filter, i));
    for (int i = 0; i < int(cmdMode.size()); ++i)
        if (cmdMode[size_t(i)]) cmdMode[size_t(i)]->setEnabled(takesCode(codes.mode, i));
}

void frmNRD535::followOptions() {
    applyOptions();
    // The bandwidth control just fitted starts as a refresh starts it; one
    // that already holds a value keeps it.
    showReceiverState();
}

QString frmNRD535::modeText(int m) const {
    if (!modelCodes(RxModel::Nrd535)->mode.holds(m)) return QStringLiteral("?");
    const QString t = tableText(ModeTexts, m);
    // The tables leave the modes of a missing option without a name; the
    // mode buttons keep them.
    if (t.isEmpty() && cmdMode[size_t(m)]) return cmdMode[size_t(m)]->text();
    return t;
}

bool frmNRD535::controlApplies() const { return bandwidthControlApplies(RxModel::Nrd535, mode_, filter_); }

void frmNRD535::showReceiverState() {
    if (mode_ >= 0) ui->lblMode->setText(modeText(mode_));
    // Nothing is known of the receiver yet: the controls stay as loaded.
    if (mode_ < 0) return;
    const ModelCodes& codes = *modelCodes(RxModel::Nrd535);

    // NFM runs without AGC and filters.
    const bool nfm = mode_ == nrdmode::Nfm;
    for (QAbstractButton* c : cmdAgcspeed)
        if (c) c->setEnabled(!nfm);
    if (nfm) ui->lblAgcspeed->clear();
    else if (agc_ >= 0) ui->lblAgcspeed->setText(codes.agc.holds(agc_) ? tableText(AgcTexts, agc_) : QStringLiteral("?"));
    ui->fraFilters->setEnabled(!nfm);
    if (nfm) ui->lblBandwidth->clear();
    else if (filter_ >= 0)
        ui->lblBandwidth->setText(codes.filter.holds(filter_) ? tableText(BwTexts, filter_) : QStringLiteral("?"));

    // A bandwidth control set for another filter is none. NFM, or an option
    // the set-up no longer lists, only hides a value: the receiver keeps it.
    if (bwcFilter_ != filter_) bwcFilter_ = -1;
    const bool showPbs = !nfm && pbs_.has_value();
    const bool showBwc = controlApplies() && bwcFilter_ >= 0;
    ui->lblPassbandshift->setText(showPbs ? numText(double(*pbs_)) : QString());
    ui->lblbandwidthcontrol->setText(showBwc ? numText(double(bwc_)) : QString());
    // Passband shift and bandwidth control act only on a held receiver.
    const bool held = RemoteHeld == 1;
    ui->vsbPassbandshift->setEnabled(held && showPbs);
    ui->vsbBandwidthcontrol->setEnabled(held && showBwc);
    learnFilterValues();
}

void frmNRD535::learnFilterValues() {
    // A held receiver never has a dead control it takes. The receiver cannot
    // report these two, so a value the panel has not got (after NFM, a new
    // filter, the option just fitted, a hold taken in NFM) is set as a
    // refresh sets it, whoever changed the mode or the filter.
    if (!modeChanging_) {
        learnFilterValuesNow();
        return;
    }
    // A new mode may be followed by a new filter (a list letter sets both):
    // the values are those of the filter the change ends on, learnt once all
    // of it has gone out, never a bandwidth control for a filter passed on
    // the way.
    if (learnPending_) return;
    learnPending_ = true;
    QTimer::singleShot(0, this, [this] { learnFilterValuesNow(); });
}

void frmNRD535::learnFilterValuesNow() {
    // Not between the operations of a sequence: it may still change the filter.
    QPointer<frmNRD535> self(this);
    if (sequence::later([self] {
            if (self) self->learnFilterValuesNow();
        }))
        return;
    learnPending_ = false;
    if (learning_ || RemoteHeld != 1 || mode_ < 0 || mode_ == nrdmode::Nfm || !NRD535A) return;
    const bool pbsUnknown = !pbs_.has_value();
    const bool bwcUnknown = controlApplies() && bwcFilter_ < 0;
    if (!pbsUnknown && !bwcUnknown) return;
    learning_ = true;
    const auto restore = qScopeGuard([self] {
        if (self) self->learning_ = false;
    });
    if (pbsUnknown) setPassbandshift(0);
    if (self && bwcUnknown) setUpBandwidthcontrol(filter_);
}

void frmNRD535::modelLoad(bool portOpen) {
    applyOptions();
    blankSliders();
    setLockPanel(this);
    PanelLock = 0;
    if (portOpen && NRD535A) {
        NRD535A->RttyOnOff(0);
        RxUpdatebasics();
        NRD535A->Userdefs(1, 0);
        setVbtBypassIndicator(false);
        NRD535A->Noiseblanker(0);
        NRD535A->Lockonoff(PanelLock);
    } else {
        setVbtBypassIndicator(false);
    }
    NRD535A_LockChanged(RemoteHeld);
}

// ---- the panel lock ----

void frmNRD535::blankSliders() {
    // In local the receiver's own knobs may change both.
    ui->lblbandwidthcontrol->clear();
    ui->vsbBandwidthcontrol->setEnabled(false);
    ui->lblPassbandshift->clear();
    ui->vsbPassbandshift->setEnabled(false);
    bwcFilter_ = -1;
    pbs_.reset();
}

// ---- refreshing from the receiver ----

std::optional<QString> frmNRD535::readStatus() {
    if (!NRD535A) return std::nullopt;
    const std::optional<QString> s = NRD535A->RxStatus();
    if (s) NRD535A_RxStatusChanged(*s);
    return s;
}

bool frmNRD535::RxUpdatebasics() { return readStatus().has_value(); }

bool frmNRD535::RxUpdatefull() {
    QPointer<frmNRD535> self(this);
    // The refresh sets both values itself: nothing is learnt on the way.
    const bool wasLearning = std::exchange(learning_, true);
    const auto restore = qScopeGuard([self, wasLearning] {
        if (self) self->learning_ = wasLearning;
    });
    const std::optional<QString> s = readStatus();
    // A receiver that did not answer leaves the panel as it was.
    if (!s) return false;
    // Passband shift and bandwidth control act only on a held receiver, in a
    // mode with filters; a refresh starts them from the centre and the top.
    if (!self || RemoteHeld != 1 || mode_ == nrdmode::Nfm) return true;
    setPassbandshift(0);
    if (self && controlApplies()) setUpBandwidthcontrol(filter_);
    return true;
}

void frmNRD535::setUpBandwidthcontrol(int filter) {
    const CodeRange r = bandwidthControlRange(RxModel::Nrd535, filter);
    {
        const QSignalBlocker block(ui->vsbBandwidthcontrol);
        ui->vsbBandwidthcontrol->setRange(r.lo, r.hi);
    }
    setBandwidthcontrol(r.hi);
}

void frmNRD535::setPassbandshift(int v) {
    {
        const QSignalBlocker block(ui->vsbPassbandshift);
        ui->vsbPassbandshift->setValue(v);
    }
    if (NRD535A && RemoteHeld == 1) NRD535A->PassBandShift(ui->vsbPassbandshift->value());
}

void frmNRD535::setBandwidthcontrol(int v) {
    {
        const QSignalBlocker block(ui->vsbBandwidthcontrol);
        ui->vsbBandwidthcontrol->setValue(v);
    }
    if (NRD535A && RemoteHeld == 1) NRD535A->Bandwidthcontrol(ui->vsbBandwidthcontrol->value());
}

// ---- the driver's events ----

void frmNRD535::NRD535A_PoweronoffChanged(int v) {
    setBackground(ui->cmdPowerOnOff, v == 1 ? nrdcolours::PowerOn : nrdcolours::PowerOff);
}

void frmNRD535::NRD535A_LockChanged(int v) { showLockState(ui->lblLock, v); }

void frmNRD535::NRD535A_RxStatusChanged(const QString& s) {
    ui->lblAttenuator->setText(attenuatorText(statusDigit(s, 2)));
    filter_ = statusDigit(s, 3);
    mode_ = statusDigit(s, 4);
    agc_ = statusDigit(s, 13);
    if (txtFrequencyA) {
        QString f = formatPattern(val(s.mid(4, 8)) / 1000.0, QStringLiteral("####0.000"));
        f.replace(QLatin1Char(','), QLatin1Char('.'));
        txtFrequencyA->setText(f);
    }
    showReceiverState();
}

void frmNRD535::NRD535A_AttenuatorChanged(int v) {
    ui->lblAttenuator->setText(modelCodes(RxModel::Nrd535)->attenuator.holds(v) ? attenuatorText(v) : QStringLiteral("?"));
}

void frmNRD535::NRD535A_BandwidthChanged(int v) {
    filter_ = v;
    showReceiverState();
}

void frmNRD535::NRD535A_ModeChanged(int v) {
    mode_ = v;
    const QScopedValueRollback<bool> changing(modeChanging_, true);
    showReceiverState();
}

void frmNRD535::NRD535A_AgcspeedChanged(int v) {
    agc_ = v;
    showReceiverState();
}

void frmNRD535::NRD535A_NoiseblankerChanged(int v) {
    ui->lblNoiseblanker->setText(v >= 0 && v <= 2 ? tableText(NbTexts, v) : QStringLiteral("?"));
}

void frmNRD535::NRD535A_BandwidthcontrolChanged(int v) {
    // Shown over the whole range the receiver has, whatever the filter.
    if (!modelCodes(RxModel::Nrd535)->bandwidthControl.holds(v)) {
        ui->lblbandwidthcontrol->setText(QStringLiteral("?"));
        return;
    }
    ui->lblbandwidthcontrol->setText(numText(double(v)));
    // A value for the filter in use: the slider takes that filter's range.
    const CodeRange r = bandwidthControlRange(RxModel::Nrd535, filter_);
    {
        const QSignalBlocker block(ui->vsbBandwidthcontrol);
        if (r.has()) ui->vsbBandwidthcontrol->setRange(r.lo, r.hi);
        ui->vsbBandwidthcontrol->setValue(v);
    }
    bwc_ = v;
    bwcFilter_ = filter_;
    showReceiverState();
}

void frmNRD535::NRD535A_PassbandshiftChanged(int v) {
    if (!passbandShiftRange(RxModel::Nrd535).holds(v)) {
        ui->lblPassbandshift->setText(QStringLiteral("?"));
        return;
    }
    ui->lblPassbandshift->setText(numText(double(v)));
    {
        const QSignalBlocker block(ui->vsbPassbandshift);
        ui->vsbPassbandshift->setValue(v);
    }
    pbs_ = v;
    showReceiverState();
}

void frmNRD535::setVbtBypassIndicator(bool on) {
    setBackground(ui->lblAttenuator, on ? nrdcolours::Orange : nrdcolours::LightYellow);
}

// ---- buttons ----

void frmNRD535::cmdAttenuator_Click(int i) {
    if (NRD535A) NRD535A->Attenuator(i);
}

// The keys reach these too, also for a button disabled for want of an
// option: the driver sends no filter or mode the receiver lacks.
void frmNRD535::cmdBandwidth_Click(int i) {
    if (!NRD535A) return;
    // The button's own refresh sets the filter values: nothing is learnt
    // before it.
    QPointer<frmNRD535> self(this);
    learning_ = true;
    const auto restore = qScopeGuard([self] {
        if (self) self->learning_ = false;
    });
    if (!NRD535A->Bandwidth(i) || !self) return;
    RxUpdatefull();
}

void frmNRD535::cmdMode_Click(int i) {
    if (!NRD535A) return;
    QPointer<frmNRD535> self(this);
    learning_ = true;
    const auto restore = qScopeGuard([self] {
        if (self) self->learning_ = false;
    });
    if (!NRD535A->Mode(i)) return;
    delayms(kModeDelayMs);
    // The panel may have closed while the wait let events run.
    if (!self || !self->isLoaded()) return;
    RxUpdatefull();
}

void frmNRD535::cmdAgcspeed_Click(int i) {
    if (NRD535A) NRD535A->Agcspeed(i);
}

void frmNRD535::cmdNoiseblanker_Click(int i) {
    if (NRD535A) NRD535A->Noiseblanker(i);
}

void frmNRD535::cmdPowerOnOff_Click() {
    powerState_ = 1 - powerState_;
    if (NRD535A) NRD535A->PowerOnOff(powerState_);
}

void frmNRD535::cmdEnterMem_Click() {
    const QString entry = lblMfreq ? lblMfreq->text() : QString();
    // Compared as a wide number first, so no entry can overflow on the way.
    const double n = vbRound(val(entry));
    if (!entry.isEmpty() && n >= 0 && n <= MaxMemNr) {
        if (NRD535A && NRD535A->Rx2Mem(int(n))) RxUpdatebasics();
    } else {
        dialogs::message(kMemoryOutside, dialogs::Buttons::Ok, dialogs::Icon::Exclamation, kError);
    }
    if (lblMfreq) lblMfreq->clear();
}

void frmNRD535::lblPassbandshift_Click() {
    if (ui->vsbPassbandshift->isEnabled()) ui->vsbPassbandshift->setValue(0);
}

void frmNRD535::mnuRtty_Click() {
    if (!optionFitted(RttyOption)) {
        dialogs::message(kRttyMissing, dialogs::Buttons::Ok, dialogs::Icon::Information, kRttyTitle);
        return;
    }
    if (auto open = toolWindowOpener(QStringLiteral("frmRtty"))) open();
}

// ---- keyboard ----

void frmNRD535::modelKey(const KeyAction& action) {
    switch (action.command) {
    case KeyCommand::Bandwidth: cmdBandwidth_Click(action.arg); break;
    case KeyCommand::Mode: cmdMode_Click(action.arg); break;
    case KeyCommand::LockOn: cmdLock_Click(1); break;
    case KeyCommand::LockOff: cmdLock_Click(0); break;
    case KeyCommand::PbsUp:
    case KeyCommand::PbsDown:
    case KeyCommand::PbsCentre: passbandKey(action); break;
    case KeyCommand::BwcLowest:
    case KeyCommand::BwcDown:
    case KeyCommand::BwcUp:
    case KeyCommand::BwcHighest: bandwidthcontrolKey(action); break;
    default: break;
    }
}

void frmNRD535::passbandKey(const KeyAction& action) {
    // The keys work the slider, so they do nothing while it cannot act.
    QSlider* s = ui->vsbPassbandshift;
    if (!s->isEnabled()) return;
    const CodeRange r = passbandShiftRange(RxModel::Nrd535);
    int v = s->value();
    if (action.command == KeyCommand::PbsUp) v = std::min(v + kPbsKeyStep, r.hi);
    else if (action.command == KeyCommand::PbsDown) v = std::max(v - kPbsKeyStep, r.lo);
    else v = 0;
    setPassbandshift(v);
}

void frmNRD535::bandwidthcontrolKey(const KeyAction& action) {
    QSlider* s = ui->vsbBandwidthcontrol;
    if (!s->isEnabled()) return;
    // The slider is live only with a value for the filter in use.
    if (bwcFilter_ < 0 || bwcFilter_ != filter_) return;
    const CodeRange r = bandwidthControlRange(RxModel::Nrd535, filter_);
    const int step = bwcKeyStep(filter_);
    int v = s->value();
    switch (action.command) {
    case KeyCommand::BwcUp: v = std::min(v + step, r.hi); break;
    case KeyCommand::BwcDown: v = std::max(v - step, r.lo); break;
    case KeyCommand::BwcLowest: v = r.lo; break;
    case KeyCommand::BwcHighest: v = r.hi; break;
    default: break;
    }
    setBandwidthcontrol(v);
}

} // namespace dovrane
