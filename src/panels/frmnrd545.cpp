#include "panels/frmnrd545.h"
#include "ui_frmnrd545.h"

#include "drivers/model_tables.h"
#include "drivers/nrd545/clsnrd545.h"
#include "panels/tool_windows.h"
#include "platform/clickable_label.h"
#include "platform/dialogs.h"
#include "platform/delay.h"
#include "shell/globals.h"
#include "platform/number_text.h"

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QLayout>
#include <QMenuBar>
#include <QMenu>
#include <QScopeGuard>
#include <QSignalBlocker>
#include <QSlider>
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace dovrane {

namespace {

const QString kMemoryOutside = QStringLiteral("Memory cell outside range");
const QString kError = QStringLiteral("Error");

const QColor kWindowRed{0xD0, 0x00, 0x00};
const QColor kCloseRed{0xFF, 0x80, 0x80};
const QColor kPowerUnknown{0x80, 0x80, 0x80};

constexpr int kModeDelayMs = 100;
constexpr int kToneCentre = 127;
// The step of the passband-shift and bandwidth-control keys.
constexpr int kKeyStep = 10;

int statusDigit(const QString& s, int pos) {
    if (pos < 1 || pos > s.size()) return 0;
    const QChar c = s[pos - 1];
    return c.isDigit() ? c.digitValue() : 0;
}

// Modes whose filter the receiver sets by itself: NFM and AMS.
bool fixedFilterMode(int m) { return fixesFilter(RxModel::Nrd545, m); }
// AM and its two side bands (AM-U, AM-L), which a timer event names by their
// own codes and the receiver reports so from a channel: the ECSS buttons
// choose among them.
bool amMode(int m) { return m == nrdmode::Am || m == nrdmode::AmUpper || m == nrdmode::AmLower; }
// Modes that run with the receiver's own AGC: the AM modes, NFM, AMS and WFM.
bool fixedAgcMode(int m) { return amMode(m) || fixedFilterMode(m) || m == nrdmode::Wfm; }

QString attenuatorText(int code) { return numText(double(code * -20)); }

// Hundredths with two decimals and a point: 999 gives "9.99".
QString hundredths(int v) {
    QString s = formatPattern(v * 0.01, QStringLiteral("0.00"));
    s.replace(QLatin1Char(','), QLatin1Char('.'));
    return s;
}

} // namespace

frmNRD545::frmNRD545() : NrdPanel(int(RxModel::Nrd545)), ui(std::make_unique<Ui::frmNRD545>()) {
    ui->setupUi(this);
    ui->tuningBlock->setFrameTitle(QStringLiteral("Freq A : 10 k - 30 M"));
    // "f/c" belongs with the frequency.
    if (auto* frame = ui->tuningBlock->findChild<QGroupBox*>(QStringLiteral("fraFreqA")))
        if (frame->layout()) frame->layout()->addWidget(ui->cmdFreqOrChan);
    setupPanel();
    bindModelControls();
    // The two filter sliders span what the receiver takes.
    for (const auto& [slider, range] : {std::pair{ui->vsbBandwidthcontrol, bandwidthControlRange(RxModel::Nrd545, 0)},
                                         std::pair{ui->vsbPassbandshift, passbandShiftRange(RxModel::Nrd545)}}) {
        const QSignalBlocker block(slider);
        slider->setRange(range.lo, range.hi);
    }

    QPalette p = palette();
    p.setColor(QPalette::Window, kWindowRed);
    setPalette(p);
    setAutoFillBackground(true);
    if (QWidget* bar = panelMenuBar()) {
        // The menus keep the system's colours.
        QPalette mp = bar->palette();
        mp.setColor(QPalette::Window, QApplication::palette().color(QPalette::Window));
        bar->setPalette(mp);
    }
    setBackground(ui->cmdClose, kCloseRed);
    setBackground(ui->cmdPowerOnOff, kPowerUnknown);
    for (QLabel* l : std::initializer_list<QLabel*>{ui->lblMode, ui->lblBandwidth, ui->lblbandwidthcontrol, ui->lblPassbandshift, ui->lblAgcspeed,
                      ui->lblIfgain, ui->lblSquelch, ui->lblTone, ui->lblVolume, ui->lblAttenuator, ui->lblLock})
        setBackground(l, nrdcolours::LightYellow);

    if (QAction* a = menuItem(QStringLiteral("mnuConvertaero2"))) a->setText(QStringLiteral("Convert Aero . . ."));
}

frmNRD545::~frmNRD545() = default;

clsNRD545* frmNRD545::driver() const { return NRD545A; }

void frmNRD545::bindModelControls() {
    auto bindArray = [this](auto& array, const char* prefix, auto handler) {
        for (int i = 0; i < int(array.size()); ++i) {
            array[size_t(i)] = findChild<QAbstractButton*>(QStringLiteral("%1_%2").arg(QLatin1String(prefix)).arg(i));
            if (array[size_t(i)])
                connect(array[size_t(i)], &QAbstractButton::clicked, this, [this, handler, i] { (this->*handler)(i); });
        }
    };
    bindArray(cmdMode, "cmdMode", &frmNRD545::cmdMode_Click);
    bindArray(cmdEcss, "cmdEcss", &frmNRD545::cmdEcss_Click);
    bindArray(cmdBandwidth, "cmdBandwidth", &frmNRD545::cmdBandwidth_Click);
    bindArray(cmdAgcspeed, "cmdAgcspeed", &frmNRD545::cmdAgcspeed_Click);
    bindArray(cmdAttenuator, "cmdAttenuator", &frmNRD545::cmdAttenuator_Click);
    bindArray(cmdLock, "cmdLock", &frmNRD545::cmdLock_Click);
    connect(ui->cmdPowerOnOff, &QAbstractButton::clicked, this, [this] { cmdPowerOnOff_Click(); });
    connect(ui->cmdFreqOrChan, &QAbstractButton::clicked, this, [this] { cmdFreqOrChan_Click(); });
    connect(ui->lblPassbandshift, &ClickableLabel::clicked, this, [this] { lblPassbandshift_Click(); });
    connect(ui->lblTone, &ClickableLabel::clicked, this, [this] { lblTone_Click(); });
    connect(ui->lblVolume, &ClickableLabel::clicked, this, [this] { lblVolume_Click(); });
    for (QSlider* s : {ui->vsbBandwidthcontrol, ui->vsbPassbandshift, ui->vsbIfgain, ui->vsbSquelch, ui->vsbTone,
                       ui->vsbVolume})
        connect(s, &QSlider::valueChanged, this, [this, s](int v) { sendLevel(s, v); });
}

void frmNRD545::fillDirectMenu(QMenu* menu) {
    addMenuItem(menu, QStringLiteral("mnuUpdate"), QStringLiteral("Update"), [this] { RxUpdatefull(); });
    addStandardItem(menu, QStringLiteral("mnuSetup"));
    addToolItem(menu, QStringLiteral("mnuUserdefs"), QStringLiteral("User Defs . . ."),
                QStringLiteral("frmUserdefs545"));
    addToolItem(menu, QStringLiteral("mnuAdvancedDSP"), QStringLiteral("Advanced DSP . . ."),
                QStringLiteral("frmAdvancedDSP"));
    menu->addSeparator();
    addStandardItem(menu, QStringLiteral("mnuLast20"));
    addStandardItem(menu, QStringLiteral("mnuScratchpad"))->setText(QStringLiteral("Freq Sratchpad . . ."));
    menu->addSeparator();
    addToolItem(menu, QStringLiteral("mnuRtty"), QStringLiteral("RTTY"), QStringLiteral("frmRtty"));
    menu->addSeparator();
    addStandardItem(menu, QStringLiteral("mnuClose"));
    addStandardItem(menu, QStringLiteral("mnuExit"));
}

// ---- load and unload ----

void frmNRD545::createDriverAndTables() {
    if (Comm1) {
        NRD545A = new clsNRD545(*Comm1, this);
        setNrdDriver(NRD545A);
        clsNRD545* d = NRD545A;
        connect(d, &clsNRD545::PoweronoffChanged, this, [this](int v) { NRD545A_PoweronoffChanged(v); });
        connect(d, &NrdDriver::LockChanged, this, [this](int v) { NRD545A_LockChanged(v); });
        connect(d, &clsNRD545::AttenuatorChanged, this, [this](int v) { NRD545A_AttenuatorChanged(v); });
        connect(d, &clsNRD545::BandwidthChanged, this, [this](int v) { NRD545A_BandwidthChanged(v); });
        connect(d, &clsNRD545::BandwidthcontrolChanged, this,
                [this](int v) { NRD545A_BandwidthcontrolChanged(v); });
        connect(d, &clsNRD545::ModeChanged, this, [this](int v) { NRD545A_ModeChanged(v); });
        connect(d, &clsNRD545::EcssChanged, this, [this](int v) { NRD545A_EcssChanged(v); });
        connect(d, &clsNRD545::AgcspeedChanged, this, [this](int v) { NRD545A_AgcspeedChanged(v); });
        connect(d, &clsNRD545::FrequencyAChanged, this, [this](double f) { NRD545A_FrequencyAChanged(f); });
        connect(d, &clsNRD545::PassbandshiftChanged, this, [this](int v) { NRD545A_PassbandshiftChanged(v); });
        connect(d, &clsNRD545::IfgainChanged, this, [this](int v) { NRD545A_IfgainChanged(v); });
        connect(d, &clsNRD545::SquelchChanged, this, [this](int v) { NRD545A_SquelchChanged(v); });
        connect(d, &clsNRD545::RxStatusChanged, this, [this](const QString& s) { NRD545A_RxStatusChanged(s); });
        connect(d, &clsNRD545::ToneChanged, this, [this](int v) { NRD545A_ToneChanged(v); });
        connect(d, &clsNRD545::VolumeChanged, this, [this](int v) { NRD545A_VolumeChanged(v); });
    }
    initnrd545tables();
}

bool frmNRD545::setDriverFrequencyA(double kHz) { return NRD545A && NRD545A->FrequencyA(kHz); }

void frmNRD545::modelLoad(bool portOpen) {
    blankSliders();
    setLockPanel(this);
    PanelLock = 0;
    setInputCircuitIndicator(true);
    if (portOpen && NRD545A) {
        NRD545A->RttyOnOff(0);
        NRD545A->Userdefs(24, 1);
        RxUpdatefull();
        NRD545A->Lockonoff(PanelLock);
    }
    NRD545A_LockChanged(RemoteHeld);
}

// ---- the panel lock ----

void frmNRD545::blankSliders() {
    const std::pair<QLabel*, QSlider*> pairs[] = {
        {ui->lblbandwidthcontrol, ui->vsbBandwidthcontrol}, {ui->lblPassbandshift, ui->vsbPassbandshift},
        {ui->lblIfgain, ui->vsbIfgain},                     {ui->lblSquelch, ui->vsbSquelch},
        {ui->lblVolume, ui->vsbVolume},                     {ui->lblTone, ui->vsbTone},
    };
    for (const auto& [label, slider] : pairs) {
        label->clear();
        slider->setEnabled(false);
    }
    bwcKnown_ = false;
    pbsKnown_ = false;
}

// ---- refreshing from the receiver ----

bool frmNRD545::RxUpdatefull() {
    if (!NRD545A) return false;
    QPointer<frmNRD545> self(this);
    const std::optional<QString> s = NRD545A->RxStatus();
    // A receiver that did not answer leaves the panel as it was.
    if (!s) return false;
    if (!self) return true;
    // The refresh reads every level itself: nothing is learnt on the way.
    const bool wasLearning = std::exchange(learning_, true);
    const auto restore = qScopeGuard([self, wasLearning] {
        if (self) self->learning_ = wasLearning;
    });
    NRD545A_RxStatusChanged(*s);
    if (!self || RemoteHeld != 1) return true;

    // Each slider is enabled once the receiver has given its value; a
    // receiver that stops answering leaves the rest as they were.
    std::vector<QSlider*> levels;
    if (!fixedFilterMode(mode_)) levels = {ui->vsbBandwidthcontrol, ui->vsbPassbandshift};
    for (QSlider* l : {ui->vsbIfgain, ui->vsbSquelch, ui->vsbTone, ui->vsbVolume}) levels.push_back(l);
    for (QSlider* l : levels) {
        if (!self) return true;
        if (!readLevel(l)) return false;
    }
    return true;
}

void frmNRD545::showReceiverState() {
    if (ecss_ != 0)
        ui->lblMode->setText(ecss_ == 1 ? QStringLiteral("AM-U") : ecss_ == 2 ? QStringLiteral("AM-L") : QStringLiteral("?"));
    else if (mode_ >= 0)
        ui->lblMode->setText(modelCodes(RxModel::Nrd545)->mode.holds(mode_) ? tableText(ModeTexts, mode_) : QStringLiteral("?"));
    // Nothing is known of the receiver yet: the controls stay as loaded.
    if (mode_ < 0) return;

    for (QAbstractButton* c : cmdEcss)
        if (c) c->setEnabled(amMode(mode_));
    for (QAbstractButton* c : cmdAgcspeed)
        if (c) c->setEnabled(!fixedAgcMode(mode_));

    const bool fixedFilter = fixedFilterMode(mode_);
    for (QAbstractButton* c : cmdBandwidth)
        if (c) c->setEnabled(!fixedFilter);
    if (fixedFilter)
        ui->lblBandwidth->setText(QStringLiteral("Wid"));
    else if (filter_ >= 0)
        ui->lblBandwidth->setText(modelCodes(RxModel::Nrd545)->filter.holds(filter_) ? tableText(BwTexts, filter_)
                                                                       : QStringLiteral("?"));
    ui->lblBandwidth->setEnabled(!fixedFilter);

    // NFM and AMS run without bandwidth control and passband shift: a value
    // from before would show what the receiver is not doing, and a slider
    // would send a command the mode has no use for.
    if (fixedFilter) {
        ui->lblbandwidthcontrol->clear();
        ui->lblPassbandshift->clear();
        bwcKnown_ = false;
        pbsKnown_ = false;
    }
    const bool held = RemoteHeld == 1;
    ui->vsbBandwidthcontrol->setEnabled(held && bwcKnown_);
    ui->vsbPassbandshift->setEnabled(held && pbsKnown_);
    learnFilterLevels();
}

void frmNRD545::learnFilterLevels() {
    // A held receiver never has a dead control it takes: leaving NFM or AMS,
    // or taking the hold in them, the two values are read as a refresh reads
    // them, whoever changed the mode (a list, Set R2M, the memory scan, a
    // timer event).
    if (learning_ || RemoteHeld != 1 || mode_ < 0 || fixedFilterMode(mode_) || !NRD545A) return;
    if (bwcKnown_ && pbsKnown_) return;
    QPointer<frmNRD545> self(this);
    learning_ = true;
    const auto restore = qScopeGuard([self] {
        if (self) self->learning_ = false;
    });
    const bool answered = bwcKnown_ || readLevel(ui->vsbBandwidthcontrol);
    if (self && answered && !pbsKnown_) readLevel(ui->vsbPassbandshift);
}

bool frmNRD545::readLevel(QSlider* s) {
    if (!NRD545A) return false;
    std::optional<int> v;
    if (s == ui->vsbBandwidthcontrol) v = NRD545A->Bandwidthcontrol();
    else if (s == ui->vsbPassbandshift) v = NRD545A->PassBandShift();
    else if (s == ui->vsbIfgain) v = NRD545A->Ifgain();
    else if (s == ui->vsbSquelch) v = NRD545A->Squelch();
    else if (s == ui->vsbTone) v = NRD545A->Tone();
    else if (s == ui->vsbVolume) v = NRD545A->Volume();
    if (!v) return false;
    // The two filter sliders follow the mode as well (showReceiverState).
    if (s != ui->vsbBandwidthcontrol && s != ui->vsbPassbandshift) s->setEnabled(true);
    if (s == ui->vsbBandwidthcontrol) NRD545A_BandwidthcontrolChanged(*v);
    else if (s == ui->vsbPassbandshift) NRD545A_PassbandshiftChanged(*v);
    else if (s == ui->vsbIfgain) NRD545A_IfgainChanged(*v);
    else if (s == ui->vsbSquelch) NRD545A_SquelchChanged(*v);
    else if (s == ui->vsbTone) NRD545A_ToneChanged(*v);
    else NRD545A_VolumeChanged(*v);
    return true;
}

void frmNRD545::sendLevel(QSlider* s, int v) {
    // Plain commands reach the receiver only while it is held, and the level
    // commands are meant for the same state: nothing goes out otherwise.
    if (!NRD545A || RemoteHeld != 1) return;
    if (s == ui->vsbBandwidthcontrol) NRD545A->Bandwidthcontrol(v);
    else if (s == ui->vsbPassbandshift) NRD545A->PassBandShift(v);
    else if (s == ui->vsbIfgain) NRD545A->Ifgain(v);
    else if (s == ui->vsbSquelch) NRD545A->Squelch(v);
    else if (s == ui->vsbTone) NRD545A->Tone(v);
    else if (s == ui->vsbVolume) NRD545A->Volume(v);
}

void frmNRD545::placeSlider(QSlider* s, int v) {
    const QSignalBlocker block(s);
    s->setValue(v);
}

// ---- the driver's events ----

void frmNRD545::NRD545A_PoweronoffChanged(int v) {
    setBackground(ui->cmdPowerOnOff, v == 1 ? nrdcolours::PowerOn : nrdcolours::PowerOff);
}

void frmNRD545::NRD545A_AttenuatorChanged(int v) {
    ui->lblAttenuator->setText(modelCodes(RxModel::Nrd545)->attenuator.holds(v) ? attenuatorText(v) : QStringLiteral("?"));
}

void frmNRD545::NRD545A_BandwidthChanged(int v) {
    filter_ = v;
    showReceiverState();
}

void frmNRD545::NRD545A_BandwidthcontrolChanged(int v) {
    if (!bandwidthControlRange(RxModel::Nrd545, filter_).holds(v)) {
        ui->lblbandwidthcontrol->setText(QStringLiteral("?"));
        return;
    }
    ui->lblbandwidthcontrol->setText(hundredths(v));
    placeSlider(ui->vsbBandwidthcontrol, v);
    bwcKnown_ = true;
    showReceiverState();
}

void frmNRD545::NRD545A_ModeChanged(int v) {
    mode_ = v;
    ecss_ = 0;
    showReceiverState();
}

void frmNRD545::NRD545A_EcssChanged(int v) {
    // The side band of synchronous AM: the receiver stays in AM.
    ecss_ = v == 1 || v == 2 ? v : -1;
    showReceiverState();
}

void frmNRD545::NRD545A_AgcspeedChanged(int v) {
    QString t = QStringLiteral("?");
    if (v == 0) t = QStringLiteral("Off");
    else if (v >= 1 && v <= 9) t = formatPattern(v * 200, QStringLiteral("0000"));
    ui->lblAgcspeed->setText(t);
}

void frmNRD545::NRD545A_LockChanged(int v) { showLockState(ui->lblLock, v); }

void frmNRD545::NRD545A_PassbandshiftChanged(int v) {
    if (!passbandShiftRange(RxModel::Nrd545).holds(v)) {
        ui->lblPassbandshift->setText(QStringLiteral("?"));
        return;
    }
    ui->lblPassbandshift->setText(hundredths(v));
    placeSlider(ui->vsbPassbandshift, v);
    pbsKnown_ = true;
    showReceiverState();
}

void frmNRD545::showLevel(QLabel* label, QSlider* slider, int v) {
    // A value the slider cannot hold is shown as unknown and moves nothing.
    if (v < slider->minimum() || v > slider->maximum()) {
        label->setText(QStringLiteral("?"));
        return;
    }
    label->setText(formatPattern(vbInt(v * 0.39), QStringLiteral("00")));
    placeSlider(slider, v);
}

void frmNRD545::NRD545A_IfgainChanged(int v) { showLevel(ui->lblIfgain, ui->vsbIfgain, v); }
void frmNRD545::NRD545A_SquelchChanged(int v) { showLevel(ui->lblSquelch, ui->vsbSquelch, v); }
void frmNRD545::NRD545A_VolumeChanged(int v) { showLevel(ui->lblVolume, ui->vsbVolume, v); }

void frmNRD545::NRD545A_ToneChanged(int v) {
    if (v < ui->vsbTone->minimum() || v > ui->vsbTone->maximum()) {
        ui->lblTone->setText(QStringLiteral("?"));
        return;
    }
    const int t = int(vbRound((v - kToneCentre) * 0.074));
    const QString sign = t > 0 ? QStringLiteral("+") : t < 0 ? QStringLiteral("-") : QStringLiteral(" ");
    ui->lblTone->setText(sign + numText(double(std::abs(t))));
    placeSlider(ui->vsbTone, v);
}

void frmNRD545::NRD545A_RxStatusChanged(const QString& s) {
    ui->lblAttenuator->setText(attenuatorText(statusDigit(s, 2)));
    filter_ = statusDigit(s, 3);
    mode_ = statusDigit(s, 4);
    ecss_ = 0;
    ui->lblAgcspeed->setText(formatPattern(statusDigit(s, 13) * 200, QStringLiteral("0000")));
    if (txtFrequencyA) {
        QString f = formatPattern(val(s.mid(4, 8)) / 1000.0, QStringLiteral("####0.000"));
        f.replace(QLatin1Char(','), QLatin1Char('.'));
        txtFrequencyA->setText(f);
    }
    showReceiverState();
}

void frmNRD545::setInputCircuitIndicator(bool on) {
    setBackground(ui->lblAttenuator, on ? nrdcolours::LightYellow : nrdcolours::Orange);
}

// ---- buttons ----

void frmNRD545::cmdMode_Click(int i) {
    if (!NRD545A) return;
    // The button's own refresh reads the filter values: nothing is learnt
    // before it.
    QPointer<frmNRD545> self(this);
    learning_ = true;
    const auto restore = qScopeGuard([self] {
        if (self) self->learning_ = false;
    });
    if (!NRD545A->Mode(i)) return;
    delayms(kModeDelayMs);
    // The panel may have closed while the wait let events run.
    if (!self || !self->isLoaded()) return;
    RxUpdatefull();
}

void frmNRD545::cmdEcss_Click(int i) {
    if (NRD545A) NRD545A->Ecss(i + 1);
}

void frmNRD545::cmdBandwidth_Click(int i) {
    if (!NRD545A || !NRD545A->Bandwidth(i)) return;
    if (RemoteHeld != 1) return;
    if (const auto v = NRD545A->Bandwidthcontrol()) NRD545A_BandwidthcontrolChanged(*v);
}

void frmNRD545::cmdAgcspeed_Click(int i) {
    if (!NRD545A || i < 0 || i > 3) return;
    NRD545A->Agcspeed(i == 3 ? 0 : int(vbRound(double(Settings[size_t(23 + i)]))));
}

void frmNRD545::cmdAttenuator_Click(int i) {
    if (NRD545A) NRD545A->Attenuator(i);
}

void frmNRD545::cmdPowerOnOff_Click() {
    powerState_ = 1 - powerState_;
    if (NRD545A) NRD545A->PowerOnOff(powerState_);
}

void frmNRD545::cmdFreqOrChan_Click() {
    if (NRD545A) NRD545A->FreqOrChan(0);
}

void frmNRD545::cmdEnterMem_Click() {
    const QString entry = lblMfreq ? lblMfreq->text() : QString();
    // Compared as a wide number first, so no entry can overflow on the way.
    const double n = vbRound(val(entry));
    if (!entry.isEmpty() && n >= 0 && n <= MaxMemNr) {
        if (NRD545A && NRD545A->Rx2Mem(int(n))) RxUpdatefull();
    } else {
        dialogs::message(kMemoryOutside, dialogs::Buttons::Ok, dialogs::Icon::Exclamation, kError);
    }
    if (lblMfreq) lblMfreq->clear();
}

void frmNRD545::lblPassbandshift_Click() {
    if (ui->vsbPassbandshift->isEnabled()) ui->vsbPassbandshift->setValue(0);
}

void frmNRD545::lblTone_Click() {
    if (ui->vsbTone->isEnabled()) ui->vsbTone->setValue(kToneCentre);
}

void frmNRD545::lblVolume_Click() {
    if (ui->vsbVolume->isEnabled()) ui->vsbVolume->setValue(0);
}

// ---- keyboard ----

void frmNRD545::sliderKey(QSlider* s, int v) {
    // The keys work the slider, so they do nothing while it cannot act.
    if (!s->isEnabled()) return;
    placeSlider(s, v);
    sendLevel(s, s->value());
}

void frmNRD545::modelKey(const KeyAction& action) {
    const int pbs = ui->vsbPassbandshift->value();
    const int bwc = ui->vsbBandwidthcontrol->value();
    const int vol = ui->vsbVolume->value();
    const CodeRange pbsRange = passbandShiftRange(RxModel::Nrd545);
    // The keys stop within the range the timer editor offers too.
    const CodeRange bwcRange = bandwidthControlStepRange(RxModel::Nrd545, filter_);
    switch (action.command) {
    case KeyCommand::Bandwidth: cmdBandwidth_Click(action.arg); break;
    case KeyCommand::Mode: cmdMode_Click(action.arg); break;
    case KeyCommand::Ecss: cmdEcss_Click(action.arg); break;
    case KeyCommand::LockOn: cmdLock_Click(1); break;
    case KeyCommand::LockOff: cmdLock_Click(0); break;
    case KeyCommand::PbsUp: sliderKey(ui->vsbPassbandshift, std::min(pbs + kKeyStep, pbsRange.hi)); break;
    case KeyCommand::PbsDown: sliderKey(ui->vsbPassbandshift, std::max(pbs - kKeyStep, pbsRange.lo)); break;
    case KeyCommand::PbsCentre: sliderKey(ui->vsbPassbandshift, 0); break;
    case KeyCommand::BwcUp: sliderKey(ui->vsbBandwidthcontrol, std::min(bwc + kKeyStep, bwcRange.hi)); break;
    case KeyCommand::BwcDown: sliderKey(ui->vsbBandwidthcontrol, std::max(bwc - kKeyStep, bwcRange.lo)); break;
    case KeyCommand::BwcLowest: sliderKey(ui->vsbBandwidthcontrol, bwcRange.lo); break;
    case KeyCommand::BwcHighest: sliderKey(ui->vsbBandwidthcontrol, bwcRange.hi); break;
    case KeyCommand::VolumeUp: sliderKey(ui->vsbVolume, vol <= 240 ? vol + 15 : 255); break;
    case KeyCommand::VolumeDown: sliderKey(ui->vsbVolume, vol >= 15 ? vol - 15 : 0); break;
    case KeyCommand::VolumeZero: sliderKey(ui->vsbVolume, 0); break;
    default: break;
    }
}

} // namespace dovrane
