#include "panels/frmrx320.h"
#include "ui_frmrx320.h"

#include "drivers/model_tables.h"
#include "drivers/rx320/clsrx320.h"
#include "drivers/rx320/rx320_state.h"
#include "panels/rx320_settings_file.h"
#include "platform/clickable_label.h"
#include "platform/commport.h"
#include "platform/dialogs.h"
#include "shell/globals.h"
#include "platform/number_text.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMenu>
#include <QSignalBlocker>
#include <QSlider>
#include <algorithm>

namespace dovrane {

namespace {

const QString kFirmwareTitle = QStringLiteral("Firmware Version");
const QString kSaveFailed = QStringLiteral("The RX-320 settings could not be saved to\n%1\n%2");
const QString kSaveTitle = QStringLiteral("Error");

// Filter numbers behind the filter buttons, by range; the widest filter of
// each range sits on button 0.
constexpr std::array<std::array<int16_t, 10>, 4> kBwtab{{
    {33, 0, 1, 2, 3, 4, 5, 6, 0, 0},
    {7, 8, 9, 10, 11, 12, 13, 14, 15, 16},
    {17, 18, 19, 20, 21, 22, 23, 0, 0, 0},
    {24, 25, 26, 27, 28, 29, 30, 31, 32, 0},
}};

// The button a range change selects.
constexpr int kRangeDefaultButton = 3;

bool isSetting(int index, float value) { return Settings[size_t(index)] == value; }

} // namespace

frmRX320::frmRX320() : RxPanel(int(RxModel::Rx320)), ui(std::make_unique<Ui::frmRX320>()) {
    ui->setupUi(this);
    ui->tuningBlock->setFrameTitle(QStringLiteral("Freq A : 100 k - 30 M"));
    setupPanel();
    bindModelControls();
}

frmRX320::~frmRX320() = default;

void frmRX320::bindModelControls() {
    auto button = [this](const QString& name) { return findChild<QAbstractButton*>(name); };
    for (int i = 0; i < 4; ++i) {
        cmdBwrange[size_t(i)] = button(QStringLiteral("cmdBwrange_%1").arg(i));
        connect(cmdBwrange[size_t(i)], &QAbstractButton::clicked, this, [this, i] { cmdBwrange_Click(i); });
        cmdMode[size_t(i)] = button(QStringLiteral("cmdMode_%1").arg(i));
        connect(cmdMode[size_t(i)], &QAbstractButton::clicked, this, [this, i] { cmdMode_Click(i); });
    }
    for (int b = 0; b < 10; ++b) {
        cmdBwgroup[size_t(b)] = button(QStringLiteral("cmdBwgroup_%1").arg(b));
        connect(cmdBwgroup[size_t(b)], &QAbstractButton::clicked, this, [this, b] { cmdBwgroup_Click(b); });
    }
    for (int i = 0; i < 3; ++i) {
        cmdAgcspeed[size_t(i)] = button(QStringLiteral("cmdAgcspeed_%1").arg(i));
        connect(cmdAgcspeed[size_t(i)], &QAbstractButton::clicked, this, [this, i] { cmdAgcspeed_Click(i); });
    }

    lblBandwidth = ui->lblBandwidth;
    lblMode = ui->lblMode;
    lblAgcspeed = ui->lblAgcspeed;
    lblPassbandshift = ui->lblPassbandshift;
    lblBeatfreqosc = ui->lblBeatfreqosc;
    lblVolume = ui->lblVolume;
    lblLinelevel = ui->lblLinelevel;
    connect(lblPassbandshift, &ClickableLabel::clicked, this, [this] { lblPassbandshift_Click(); });
    connect(lblBeatfreqosc, &ClickableLabel::clicked, this, [this] { lblBeatfreqosc_Click(); });
    connect(lblVolume, &ClickableLabel::clicked, this, [this] { lblVolume_Click(); });
    connect(lblLinelevel, &ClickableLabel::clicked, this, [this] { lblLinelevel_Click(); });

    vsbPassbandshift = ui->vsbPassbandshift;
    vsbBeatfreqosc = ui->vsbBeatfreqosc;
    vsbVolume = ui->vsbVolume;
    vsbLinelevel = ui->vsbLinelevel;
    // A change by the user or by the program sends the value; setting a
    // slider to the value it holds changes nothing and sends nothing.
    for (QSlider* s : {vsbPassbandshift, vsbBeatfreqosc, vsbVolume, vsbLinelevel})
        connect(s, &QSlider::valueChanged, this, [this, s](int v) { sliderChanged(s, v); });
}

void frmRX320::fillDirectMenu(QMenu* menu) {
    addStandardItem(menu, QStringLiteral("mnuSetup"));
    menu->addSeparator();
    addStandardItem(menu, QStringLiteral("mnuLast20"));
    addStandardItem(menu, QStringLiteral("mnuScratchpad"));
    menu->addSeparator();
    addMenuItem(menu, QStringLiteral("mnuFirmware"), QStringLiteral("Firmware version"), [this] { mnuFirmware_Click(); });
    addMenuItem(menu, QStringLiteral("mnuEnableLine"), QStringLiteral("Enable Line Out"), [this] { mnuEnableLine_Click(); });
    addMenuItem(menu, QStringLiteral("mnuDisableLine"), QStringLiteral("Disable Line out"),
                [this] { mnuDisableLine_Click(); });
    menu->addSeparator();
    addStandardItem(menu, QStringLiteral("mnuClose"));
    addStandardItem(menu, QStringLiteral("mnuExit"));
}

// ---- driver, load and unload ----

void frmRX320::createDriverAndTables() {
    if (Comm1) {
        RX320A = new clsRX320(*Comm1, this);
        connect(RX320A, &clsRX320::FrequencyAChanged, this, [this](double f) { RX320A_FrequencyAChanged(f); });
        connect(RX320A, &clsRX320::BandwidthChanged, this, [this](int v) { RX320A_BandwidthChanged(v); });
        connect(RX320A, &clsRX320::ModeChanged, this, [this](int v) { RX320A_ModeChanged(v); });
        connect(RX320A, &clsRX320::AgcspeedChanged, this, [this](int v) { RX320A_AgcspeedChanged(v); });
        connect(RX320A, &clsRX320::VolumeChanged, this, [this](int v) { RX320A_VolumeChanged(v); });
        connect(RX320A, &clsRX320::LinelevelChanged, this, [this](int v) { RX320A_LinelevelChanged(v); });
        connect(RX320A, &clsRX320::PassbandshiftChanged, this, [this](int v) { RX320A_PassbandshiftChanged(v); });
        connect(RX320A, &clsRX320::BeatfreqoscChanged, this, [this](int v) { RX320A_BeatfreqoscChanged(v); });
    }
    initrx320tables();
    bwtab_ = kBwtab;
}

bool frmRX320::setDriverFrequencyA(double kHz) { return RX320A && RX320A->FrequencyA(kHz); }

void frmRX320::modelLoad(bool portOpen) {
    const int setupLine = int(std::clamp(vbRound(double(Settings[31])), 0.0, double(Rx320LevelMax)));
    if (portOpen && RX320A) RX320A->Linelevel(setupLine);
    if (isSetting(30, 1)) mnuDisableLine_Click();

    // The receiver keeps nothing the program could read, so the last session's
    // settings are all there is. Whatever the file lacks or holds out of range
    // starts from a value that can be sent, so every setter below can tune.
    Rx320Settings start;
    start.linelevel = setupLine;
    const Rx320Settings s = readRx320SettingsFile(DataFolder, start, Rx320Limits{FreqMin, FreqMax});
    rx320SettingsToState(s);

    if (portOpen && RX320A) {
        RX320A->Bandwidth(s.bw);
        RX320A->Agcspeed(s.agc);
        RX320A->Volume(s.volume);
        RX320A->Linelevel(s.linelevel);
        RX320A->Mode(s.mode);
        RX320A->PassBandShift(s.pbs);
        RX320A->Beatfreqosc(s.bfo);
        RX320A->FrequencyA(s.freq);
    }
    bwRange_ = rangeOfFilter(Rx320Bw);
    relabelFilters(bwRange_);
}

void frmRX320::modelUnload() {
    // The file keeps the levels in use before any muting below, so the next
    // load brings them back.
    saveSettings();
    if (!RX320A) return;
    if (isSetting(18, 1)) RX320A->Volume(0);
    if (isSetting(19, 1)) RX320A->Linelevel(0);
}

void frmRX320::saveSettings() {
    QString error;
    if (!writeRx320SettingsFile(DataFolder, rx320SettingsFromState(), &error))
        dialogs::message(kSaveFailed.arg(DataFolder + Rx320SettingsFileName, error), dialogs::Buttons::Ok,
                         dialogs::Icon::Exclamation, kSaveTitle);
}

void frmRX320::releaseDriver() { delete RX320A.data(); }

// ---- filters ----

int frmRX320::bwtab(int range, int button) const {
    if (range < 0 || range > 3 || button < 0 || button > 9) return 0;
    return bwtab_[size_t(range)][size_t(button)];
}

int frmRX320::rangeOfFilter(int filter) {
    if (filter >= 7 && filter <= 16) return 1;
    if (filter >= 17 && filter <= 23) return 2;
    if (filter >= 24 && filter <= 32) return 3;
    return 0;
}

void frmRX320::relabelFilters(int range) {
    for (int b = 0; b < 10; ++b) {
        QAbstractButton* button = cmdBwgroup[size_t(b)];
        const bool has = b < FiltersInRange[size_t(range)];
        button->setText(has ? tableText(BwTexts, bwtab(range, b)) : QString());
        button->setEnabled(has);
    }
}

void frmRX320::cmdBwrange_Click(int range) {
    if (range < 0 || range > 3) return;
    bwRange_ = range;
    relabelFilters(range);
    cmdBwgroup_Click(kRangeDefaultButton);
}

void frmRX320::cmdBwgroup_Click(int button) {
    if (button < 0 || button >= FiltersInRange[size_t(bwRange_)] || !RX320A) return;
    RX320A->Bandwidth(bwtab(bwRange_, button));
}

// ---- mode, AGC, sliders and their labels ----

void frmRX320::cmdMode_Click(int mode) {
    if (RX320A) RX320A->Mode(mode);
}

void frmRX320::cmdAgcspeed_Click(int index) {
    if (RX320A) RX320A->Agcspeed(index + 1);
}

void frmRX320::sliderChanged(QSlider* slider, int value) {
    const std::array<QSlider*, 4> sliders{vsbPassbandshift, vsbBeatfreqosc, vsbVolume, vsbLinelevel};
    const size_t i = size_t(std::find(sliders.begin(), sliders.end(), slider) - sliders.begin());
    if (i >= sliders.size()) return;
    bool sent = false;
    if (RX320A) {
        switch (i) {
        case 0: sent = RX320A->PassBandShift(value); break;
        case 1: sent = RX320A->Beatfreqosc(value); break;
        case 2: sent = RX320A->Volume(value); break;
        default: sent = RX320A->Linelevel(value); break;
        }
    }
    if (sent) {
        sliderSent_[i] = value;
        return;
    }
    // A slider never stays at a value the receiver did not get.
    const QSignalBlocker quiet(slider);
    slider->setValue(sliderSent_[i]);
}

void frmRX320::lblPassbandshift_Click() { vsbPassbandshift->setValue(0); }
void frmRX320::lblBeatfreqosc_Click() { vsbBeatfreqosc->setValue(0); }
void frmRX320::lblVolume_Click() { vsbVolume->setValue(0); }
void frmRX320::lblLinelevel_Click() { vsbLinelevel->setValue(0); }

void frmRX320::mnuEnableLine_Click() {
    vsbLinelevel->setEnabled(true);
    lblLinelevel->setEnabled(true);
}

void frmRX320::mnuDisableLine_Click() {
    vsbLinelevel->setEnabled(false);
    lblLinelevel->setEnabled(false);
}

void frmRX320::mnuFirmware_Click() {
    if (!RX320A) return;
    // Without an answer the driver has already said that the receiver does
    // not answer; the box then stays empty.
    const std::optional<QString> text = RX320A->Firmware();
    dialogs::message(text.value_or(QString()), dialogs::Buttons::Ok, dialogs::Icon::Information, kFirmwareTitle);
}

// ---- the driver's events ----

void frmRX320::RX320A_FrequencyAChanged(double kHz) { frequencyAChanged(kHz); }

void frmRX320::RX320A_BandwidthChanged(int filter) {
    filter_ = filter;
    showReceiverState();
}

void frmRX320::RX320A_ModeChanged(int mode) {
    mode_ = mode;
    showReceiverState();
}

void frmRX320::showReceiverState() {
    if (filter_ >= 0) {
        lblBandwidth->setText(tableText(BwTexts, filter_));
        // The filter buttons offer the range of the filter in use, as the
        // range button that reaches it leaves them.
        if (modelCodes(RxModel::Rx320)->filter.holds(filter_) && rangeOfFilter(filter_) != bwRange_) {
            bwRange_ = rangeOfFilter(filter_);
            relabelFilters(bwRange_);
        }
    }
    if (mode_ >= 0) {
        lblMode->setText(tableText(ModeTexts, mode_));
        // The CW offset only matters in CW; it is kept for the next time.
        const bool cw = mode_ >= rx320::CW;
        vsbBeatfreqosc->setEnabled(cw);
        lblBeatfreqosc->setEnabled(cw);
    }
}

void frmRX320::RX320A_AgcspeedChanged(int agc) { lblAgcspeed->setText(tableText(AgcTexts, agc)); }

void frmRX320::showSliderValue(QSlider* slider, QLabel* label, int value, int limit) {
    if (value < -limit || value > limit) {
        label->setText(QStringLiteral("?"));
        return;
    }
    label->setText(numText(double(value)));
    slider->setValue(value);
}

void frmRX320::showLevel(QSlider* slider, QLabel* label, int level) {
    if (level < 0 || level > Rx320LevelMax) {
        label->setText(QStringLiteral("?"));
        return;
    }
    slider->setValue(level);
    label->setText(formatPattern(level, QStringLiteral("00")));
}

void frmRX320::RX320A_PassbandshiftChanged(int hz) {
    showSliderValue(vsbPassbandshift, lblPassbandshift, hz, Rx320PbsLimit);
}

void frmRX320::RX320A_BeatfreqoscChanged(int hz) { showSliderValue(vsbBeatfreqosc, lblBeatfreqosc, hz, Rx320BfoLimit); }

void frmRX320::RX320A_VolumeChanged(int level) { showLevel(vsbVolume, lblVolume, level); }

void frmRX320::RX320A_LinelevelChanged(int level) { showLevel(vsbLinelevel, lblLinelevel, level); }

// ---- keyboard ----

void frmRX320::keySlider(QSlider* slider, int delta, bool toZero) {
    const int target = toZero ? 0 : std::clamp(slider->value() + delta, slider->minimum(), slider->maximum());
    slider->setValue(target);
    if (!RX320A) return;
    if (slider == vsbPassbandshift) RX320A->PassBandShift(slider->value());
    else RX320A->Volume(slider->value());
}

void frmRX320::modelKey(const KeyAction& action) {
    switch (action.command) {
    case KeyCommand::BwRange: cmdBwrange_Click(action.arg); break;
    case KeyCommand::BwGroup: cmdBwgroup_Click(action.arg); break;
    case KeyCommand::Mode: cmdMode_Click(action.arg); break;
    case KeyCommand::PbsUp: keySlider(vsbPassbandshift, 50, false); break;
    case KeyCommand::PbsDown: keySlider(vsbPassbandshift, -50, false); break;
    case KeyCommand::PbsCentre: keySlider(vsbPassbandshift, 0, true); break;
    case KeyCommand::VolumeUp: keySlider(vsbVolume, 5, false); break;
    case KeyCommand::VolumeDown: keySlider(vsbVolume, -5, false); break;
    case KeyCommand::VolumeZero: keySlider(vsbVolume, 0, true); break;
    default: break;
    }
}

} // namespace dovrane
