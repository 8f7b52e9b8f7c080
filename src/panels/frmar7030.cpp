#include "panels/frmar7030.h"
#include "ui_frmar7030.h"

#include "drivers/ar7030/ar7030_convert.h"
#include "drivers/ar7030/clsar7030.h"
#include "drivers/memory_record.h"
#include "drivers/model_tables.h"
#include "platform/clickable_label.h"
#include "platform/dialogs.h"
#include "shell/globals.h"
#include "platform/number_text.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMenu>
#include <QSignalBlocker>
#include <QSlider>
#include <variant>

namespace dovrane {

namespace {

const QString kError = QStringLiteral("Error");
const QString kMemoryOutside = QStringLiteral("Memory cell\noutside range");
// A vacant channel holds no frequency, mode or filter the receiver could take;
// a used one can still hold a code or a frequency that it does not take.
const QString kMemoryEmpty = QStringLiteral("Memory cell\nis empty");
const QString kMemoryFrequency = QStringLiteral("Memory cell\nholds a frequency\noutside range");
const QString kMemoryMode = QStringLiteral("Memory cell\nholds no mode\nthe receiver takes");
const QString kMemoryFilter = QStringLiteral("Memory cell\nholds no filter\nthe receiver takes");
const QString kMemoryCodes = QStringLiteral("Memory cell\nholds a setting\nthe receiver does not take");
const QString kFirmwareTitle = QStringLiteral("Firmware Version");

const QColor kPowerOn(0x00, 0xFF, 0x00);
const QColor kPowerOff(0x88, 0x88, 0x88);
const QColor kInUse(0x00, 0x00, 0xFF);
const QColor kNotInUse(0xFF, 0xFF, 0xC0);

constexpr int ModeNfm = 3;
constexpr int ModeData = 4;
constexpr int ModeCw = 5;
constexpr int PbsTop = 42;
constexpr int VolumeTop = 99;

QString twoDigits(int v) { return formatPattern(v, QStringLiteral("00")); }

void setBackground(QWidget* w, const QColor& colour, const QColor& text = QColor()) {
    QPalette p = w->palette();
    p.setColor(QPalette::Button, colour);
    p.setColor(QPalette::Window, colour);
    if (text.isValid()) p.setColor(QPalette::WindowText, text);
    w->setAutoFillBackground(true);
    w->setPalette(p);
}

// A recalled channel as the receiver can take it.
struct RecalledChannel {
    double kHz;
    int mode;
    int filter;
    int passband;
    int squelch;   // squelch, or BFO in Data and CW
};

// The channel a record recalls, or why it recalls none.
std::variant<RecalledChannel, QString> recallable(const QString& record) {
    const std::optional<MemoryFields> f = parseMemoryRecord(record);
    if (!f || !f->used) return kMemoryEmpty;
    // The check every record passes before it reaches a receiver.
    if (!isRecordOf(record, RxModel::Ar7030)) {
        const ModelCodes* codes = modelCodes(RxModel::Ar7030);
        auto holds = [](const CodeRange& range, const QString& field) {
            bool digits = !field.isEmpty();
            for (QChar ch : field) digits = digits && ch.isDigit();
            return digits && range.holds(field.toInt());
        };
        if (!holds(codes->mode, f->mode)) return kMemoryMode;
        if (!holds(codes->filter, f->filter)) return kMemoryFilter;
        return kMemoryCodes;
    }
    RecalledChannel c{};
    c.kHz = val(f->frequencyHz) / 1000;
    c.mode = valRounded(f->mode);
    c.filter = valRounded(f->filter);
    c.passband = valRounded(f->passband);
    c.squelch = valRounded(f->squelch);
    if (!(FreqMin <= c.kHz && c.kHz <= FreqMax)) return kMemoryFrequency;
    return c;
}

} // namespace

frmAR7030::frmAR7030() : RxPanel(int(RxModel::Ar7030)), ui(std::make_unique<Ui::frmAR7030>()) {
    ui->setupUi(this);
    ui->tuningBlock->setFrameTitle(QStringLiteral("Freq A : 10 k - 32 M"));
    setupPanel();
    bindModelControls();
}

frmAR7030::~frmAR7030() { delete AR7030A_.data(); }

void frmAR7030::bindModelControls() {
    auto bindArray = [this](auto& array, const char* name, void (frmAR7030::*handler)(int)) {
        for (size_t i = 0; i < array.size(); ++i) {
            array[i] = findChild<QAbstractButton*>(QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(i));
            if (array[i])
                connect(array[i], &QAbstractButton::clicked, this, [this, handler, i] { (this->*handler)(int(i)); });
        }
    };
    bindArray(cmdAttenuator, "cmdAttenuator", &frmAR7030::cmdAttenuator_Click);
    bindArray(cmdMode, "cmdMode", &frmAR7030::cmdMode_Click);
    bindArray(cmdBandwidth, "cmdBandwidth", &frmAR7030::cmdBandwidth_Click);
    bindArray(cmdAgcspeed, "cmdAgcspeed", &frmAR7030::cmdAgcspeed_Click);
    connect(ui->cmdPowerOnOff, &QAbstractButton::clicked, this, [this] { cmdPowerOnOff_Click(); });

    for (QSlider* s : {ui->vsbBass, ui->vsbVolume, ui->vsbTreble, ui->vsbLineL, ui->vsbLineR, ui->vsbIfgain,
                       ui->vsbSquelch, ui->vsbPassbandshift, ui->vsbBeatfreqosc})
        connect(s, &QSlider::valueChanged, this, [this, s](int v) { sliderChanged(s, v); });

    // A label click centres its slider; the slider's change sends the value.
    const std::pair<ClickableLabel*, QSlider*> centring[] = {
        {ui->lblVolume, ui->vsbVolume}, {ui->lblLineL, ui->vsbLineL},           {ui->lblLineR, ui->vsbLineR},
        {ui->lblBass, ui->vsbBass},     {ui->lblTreble, ui->vsbTreble},         {ui->lblPassbandshift, ui->vsbPassbandshift},
        {ui->lblBeatfreqosc, ui->vsbBeatfreqosc}};
    for (const auto& [label, slider] : centring)
        connect(label, &ClickableLabel::clicked, this, [slider] {
            if (slider->isEnabled()) slider->setValue(0);
        });
}

void frmAR7030::fillDirectMenu(QMenu* menu) {
    addMenuItem(menu, QStringLiteral("mnuUpdate"), QStringLiteral("Update"), [this] { RxUpdatefull(); });
    addMenuItem(menu, QStringLiteral("mnuResetRX"), QStringLiteral("Reset RX"), [this] { mnuResetRX_Click(); });
    addStandardItem(menu, QStringLiteral("mnuSetup"));
    addMenuItem(menu, QStringLiteral("mnuFirmware"), QStringLiteral("Firmware version"), [this] { mnuFirmware_Click(); });
    menu->addSeparator();
    addStandardItem(menu, QStringLiteral("mnuLast20"));
    addStandardItem(menu, QStringLiteral("mnuScratchpad"));
    menu->addSeparator();
    addMenuItem(menu, QStringLiteral("mnuEnableLLLR"), QStringLiteral("Enable LL+LR"), [this] { mnuEnableLLLR_Click(); });
    addMenuItem(menu, QStringLiteral("mnuDisableLLLR"), QStringLiteral("Disable LL+LR"),
                [this] { mnuDisableLLLR_Click(); });
    menu->addSeparator();
    addMenuItem(menu, QStringLiteral("mnuPowerOn"), QStringLiteral("Power On"), [this] { mnuPowerOn_Click(); });
    addMenuItem(menu, QStringLiteral("mnuPowerOff"), QStringLiteral("Power Off"), [this] { mnuPowerOff_Click(); });
    menu->addSeparator();
    addStandardItem(menu, QStringLiteral("mnuClose"));
    addStandardItem(menu, QStringLiteral("mnuExit"));
}

// ---- driver, load and unload ----

void frmAR7030::createDriverAndTables() {
    initar7030tables();
    delete AR7030A_.data();
    if (!Comm1) return;
    auto* d = new clsAR7030(*Comm1);
    AR7030A_ = d;
    connect(d, &clsAR7030::PoweronoffChanged, this, &frmAR7030::AR7030A_PoweronoffChanged);
    connect(d, &clsAR7030::AttenuatorChanged, this, &frmAR7030::AR7030A_AttenuatorChanged);
    connect(d, &clsAR7030::BandwidthChanged, this, &frmAR7030::AR7030A_BandwidthChanged);
    connect(d, &clsAR7030::ModeChanged, this, &frmAR7030::AR7030A_ModeChanged);
    connect(d, &clsAR7030::AgcspeedChanged, this, &frmAR7030::AR7030A_AgcspeedChanged);
    connect(d, &clsAR7030::FrequencyAChanged, this, &frmAR7030::AR7030A_FrequencyAChanged);
    connect(d, &clsAR7030::VolumeChanged, this, &frmAR7030::AR7030A_VolumeChanged);
    connect(d, &clsAR7030::LeftauxlevelChanged, this, &frmAR7030::AR7030A_LeftauxlevelChanged);
    connect(d, &clsAR7030::RightauxlevelChanged, this, &frmAR7030::AR7030A_RightauxlevelChanged);
    connect(d, &clsAR7030::BassChanged, this, &frmAR7030::AR7030A_BassChanged);
    connect(d, &clsAR7030::TrebleChanged, this, &frmAR7030::AR7030A_TrebleChanged);
    connect(d, &clsAR7030::PassbandshiftChanged, this, &frmAR7030::AR7030A_PassbandshiftChanged);
    connect(d, &clsAR7030::IfgainChanged, this, &frmAR7030::AR7030A_IfgainChanged);
    connect(d, &clsAR7030::SquelchChanged, this, &frmAR7030::AR7030A_SquelchChanged);
    connect(d, &clsAR7030::BeatfreqoscChanged, this, &frmAR7030::AR7030A_BeatfreqoscChanged);
}

void frmAR7030::releaseDriver() { delete AR7030A_.data(); }

bool frmAR7030::setDriverFrequencyA(double kHz) { return AR7030A_ && AR7030A_->FrequencyA(kHz); }

void frmAR7030::modelLoad(bool portOpen) {
    // Once a read has gone unanswered the remaining steps that need the
    // receiver are left out: each would only wait as long again.
    bool answering = portOpen && AR7030A_ && loadInstalledFilters();
    if (answering)
        answering = AR7030A_->Leftauxlevel(int(vbRound(double(Settings[28])))) &&
                    AR7030A_->Rightauxlevel(int(vbRound(double(Settings[29]))));
    if (Settings[22] == 1.0f) mnuDisableLLLR_Click();
    if (answering) {
        const std::optional<int> p = AR7030A_->PowerOnOff();
        if (p) AR7030A_PoweronoffChanged(*p);
        answering = p.has_value();
    }
    if (answering) RxUpdatefull();
}

bool frmAR7030::loadInstalledFilters() {
    for (int i = 1; i <= int(cmdBandwidth.size()); ++i) {
        const std::optional<QString> width = AR7030A_->Installedfilter(i);
        if (!width) return false;
        if (i < BwTexts.size()) BwTexts[i] = *width;
        QAbstractButton* b = cmdBandwidth[size_t(i - 1)];
        if (!b) continue;
        if (val(*width) > 0) {
            b->setEnabled(true);
            b->setText(*width);
        } else {
            b->setEnabled(false);
        }
    }
    return true;
}

bool frmAR7030::RxUpdatefull() {
    clsAR7030* d = AR7030A_;
    // Nothing read is nothing answered.
    if (!d) return false;
    using Read = std::optional<int> (clsAR7030::*)();
    using Show = void (frmAR7030::*)(int);
    struct Row {
        Read read;
        Show show;
    };
    auto run = [this, d](std::initializer_list<Row> rows) {
        for (const Row& r : rows) {
            const std::optional<int> v = (d->*r.read)();
            if (!v) return false;
            (this->*r.show)(*v);
        }
        return true;
    };
    if (!run({{&clsAR7030::Attenuator, &frmAR7030::AR7030A_AttenuatorChanged},
              {&clsAR7030::Bandwidth, &frmAR7030::AR7030A_BandwidthChanged},
              {&clsAR7030::Agcspeed, &frmAR7030::AR7030A_AgcspeedChanged}}))
        return false;
    const std::optional<int> mode = d->Mode();
    if (!mode) return false;
    AR7030A_ModeChanged(*mode);
    const std::optional<double> f = d->FrequencyA();
    if (!f) return false;
    AR7030A_FrequencyAChanged(*f);
    return run({{&clsAR7030::Volume, &frmAR7030::AR7030A_VolumeChanged},
         {&clsAR7030::Bass, &frmAR7030::AR7030A_BassChanged},
         {&clsAR7030::Treble, &frmAR7030::AR7030A_TrebleChanged},
         {&clsAR7030::Leftauxlevel, &frmAR7030::AR7030A_LeftauxlevelChanged},
         {&clsAR7030::Rightauxlevel, &frmAR7030::AR7030A_RightauxlevelChanged},
         {&clsAR7030::PassBandShift, &frmAR7030::AR7030A_PassbandshiftChanged},
         {&clsAR7030::Ifgain, &frmAR7030::AR7030A_IfgainChanged},
         {&clsAR7030::Squelch, &frmAR7030::AR7030A_SquelchChanged},
         {&clsAR7030::Beatfreqosc, &frmAR7030::AR7030A_BeatfreqoscChanged}});
}

void frmAR7030::showReceiverState() {
    if (mode_ < 0) return;
    const int mode = mode_;
    ui->lblMode->setText(modelCodes(RxModel::Ar7030)->mode.holds(mode) ? tableText(ModeTexts, mode) : QStringLiteral("?"));
    const bool pbs = mode != ModeNfm;
    ui->vsbPassbandshift->setEnabled(pbs);
    setBackground(ui->lblPassbandshift, pbs ? kInUse : kNotInUse, pbs ? QColor(Qt::white) : QColor(Qt::black));
    const bool bfo = mode == ModeData || mode == ModeCw;
    ui->vsbBeatfreqosc->setEnabled(bfo);
    setBackground(ui->lblBeatfreqosc, bfo ? kInUse : kNotInUse, bfo ? QColor(Qt::white) : QColor(Qt::black));
}

// ---- the handlers of the driver's events ----

void frmAR7030::showSlider(QSlider* slider, int value) {
    const QSignalBlocker quiet(slider);
    slider->setValue(value);
}

void frmAR7030::AR7030A_PoweronoffChanged(int p) { setBackground(ui->cmdPowerOnOff, p == 1 ? kPowerOn : kPowerOff); }

void frmAR7030::AR7030A_AttenuatorChanged(int a) {
    ui->lblAttenuator->setText(modelCodes(RxModel::Ar7030)->attenuator.holds(a) ? numText(double(10 - 10 * a)) : QStringLiteral("?"));
}

void frmAR7030::AR7030A_BandwidthChanged(int n) {
    ui->lblBandwidth->setText(modelCodes(RxModel::Ar7030)->filter.holds(n) ? tableText(BwTexts, n) : QStringLiteral("?"));
}

void frmAR7030::AR7030A_ModeChanged(int m) {
    mode_ = m;
    showReceiverState();
}

void frmAR7030::AR7030A_AgcspeedChanged(int a) {
    ui->lblAgcspeed->setText(modelCodes(RxModel::Ar7030)->agc.holds(a) ? tableText(AgcTexts, a) : QStringLiteral("?"));
}

void frmAR7030::AR7030A_FrequencyAChanged(double f) { frequencyAChanged(f); }

void frmAR7030::AR7030A_VolumeChanged(int v) {
    if (v < 0 || v > 99) return ui->lblVolume->setText(QStringLiteral("?"));
    showSlider(ui->vsbVolume, v);
    ui->lblVolume->setText(twoDigits(v));
}

void frmAR7030::AR7030A_LeftauxlevelChanged(int v) {
    if (v < 0 || v > 99) return ui->lblLineL->setText(QStringLiteral("?"));
    showSlider(ui->vsbLineL, v);
    ui->lblLineL->setText(twoDigits(v));
}

void frmAR7030::AR7030A_RightauxlevelChanged(int v) {
    if (v < 0 || v > 99) return ui->lblLineR->setText(QStringLiteral("?"));
    showSlider(ui->vsbLineR, v);
    ui->lblLineR->setText(twoDigits(v));
}

void frmAR7030::AR7030A_BassChanged(int v) {
    if (v < -8 || v > 8) return ui->lblBass->setText(QStringLiteral("?"));
    showSlider(ui->vsbBass, v);
    ui->lblBass->setText(numText(double(v)));
}

void frmAR7030::AR7030A_TrebleChanged(int v) {
    if (v < -8 || v > 8) return ui->lblTreble->setText(QStringLiteral("?"));
    showSlider(ui->vsbTreble, v);
    ui->lblTreble->setText(numText(double(v)));
}

void frmAR7030::AR7030A_PassbandshiftChanged(int b) {
    if (b < 0 || b > 255) return ui->lblPassbandshift->setText(QStringLiteral("?"));
    ui->lblPassbandshift->setText(b2fs(b));
    // Bytes 128 and 129 lie one position below the slider; it stands at its end.
    showSlider(ui->vsbPassbandshift, b2vsb(b));
}

void frmAR7030::AR7030A_IfgainChanged(int v) {
    if (v < 0 || v > 99) return ui->lblIfgain->setText(QStringLiteral("?"));
    ui->lblIfgain->setText(twoDigits(v));
    showSlider(ui->vsbIfgain, v);
}

void frmAR7030::AR7030A_SquelchChanged(int v) {
    if (v < 0 || v > 150) return ui->lblSquelch->setText(QStringLiteral("?"));
    const QString text = b2sql(v);
    ui->lblSquelch->setText(text);
    showSlider(ui->vsbSquelch, int(val(text)));
}

void frmAR7030::AR7030A_BeatfreqoscChanged(int b) {
    if (b < 0 || b > 255) return ui->lblBeatfreqosc->setText(QStringLiteral("?"));
    ui->lblBeatfreqosc->setText(b2fs(b));
    showSlider(ui->vsbBeatfreqosc, b2vsb(b));
}

// ---- buttons and sliders ----

void frmAR7030::cmdPowerOnOff_Click() {
    if (!AR7030A_) return;
    // The receiver may have been switched at its own front panel.
    const std::optional<int> p = AR7030A_->PowerOnOff();
    if (p) AR7030A_->PowerOnOff(1 - *p);
}

void frmAR7030::cmdAttenuator_Click(int index) {
    if (AR7030A_) AR7030A_->Attenuator(index);
}

void frmAR7030::cmdAgcspeed_Click(int index) {
    if (AR7030A_) AR7030A_->Agcspeed(index);
}

void frmAR7030::cmdBandwidth_Click(int index) {
    if (AR7030A_) AR7030A_->Bandwidth(index + 1);
}

void frmAR7030::cmdMode_Click(int index) {
    if (!AR7030A_) return;
    ui->fraMode->setEnabled(false);
    AR7030A_->Mode(index + 1);
    // The receiver may change filter, shift and other settings with the mode.
    RxUpdatefull();
    ui->fraMode->setEnabled(true);
}

void frmAR7030::sliderChanged(QSlider* s, int v) {
    clsAR7030* d = AR7030A_;
    if (!d) return;
    if (s == ui->vsbBass) d->Bass(v);
    else if (s == ui->vsbVolume) d->Volume(v);
    else if (s == ui->vsbTreble) d->Treble(v);
    else if (s == ui->vsbLineL) d->Leftauxlevel(v);
    else if (s == ui->vsbLineR) d->Rightauxlevel(v);
    else if (s == ui->vsbIfgain) d->Ifgain(v);
    else if (s == ui->vsbSquelch) d->Squelch(sql2b(numText(double(v))));
    else if (s == ui->vsbPassbandshift) d->PassBandShift(vsb2b(v));
    else if (s == ui->vsbBeatfreqosc) d->Beatfreqosc(vsb2b(v));
}

// ---- memory recall ----

void frmAR7030::cmdEnterMem_Click() {
    if (cmdEnterMem) cmdEnterMem->setEnabled(false);
    const QString entry = lblMfreq ? lblMfreq->text() : QString();
    // Judged before it becomes a channel number, so no entry can overflow.
    const double n = entry.isEmpty() ? -1 : vbRound(val(entry));
    if (n >= 0 && n <= MaxMemNr) {
        if (AR7030A_) {
            // No answer: the receiver's notice has been shown, nothing is tuned.
            if (const std::optional<QString> rec = AR7030A_->Memory(int(n))) {
                const std::variant<RecalledChannel, QString> recalled = recallable(*rec);
                if (const RecalledChannel* c = std::get_if<RecalledChannel>(&recalled)) {
                    AR7030A_->FrequencyA(c->kHz);
                    AR7030A_->Mode(c->mode);
                    AR7030A_->Bandwidth(c->filter);
                    AR7030A_->PassBandShift(c->passband);
                    if (c->mode == ModeData || c->mode == ModeCw) AR7030A_->Beatfreqosc(c->squelch);
                    else AR7030A_->Squelch(c->squelch);
                    RxUpdatefull();
                } else {
                    dialogs::message(std::get<QString>(recalled), dialogs::Buttons::Ok, dialogs::Icon::Exclamation,
                                     kError);
                }
            }
        }
    } else {
        dialogs::message(kMemoryOutside, dialogs::Buttons::Ok, dialogs::Icon::Exclamation, kError);
    }
    if (lblMfreq) lblMfreq->clear();
    if (cmdEnterMem) cmdEnterMem->setEnabled(true);
}

// ---- menu items ----

void frmAR7030::mnuResetRX_Click() {
    if (AR7030A_) AR7030A_->Reset();
}

void frmAR7030::mnuFirmware_Click() {
    if (!AR7030A_) return;
    if (const std::optional<QString> fw = AR7030A_->Firmware())
        dialogs::message(*fw, dialogs::Buttons::Ok, dialogs::Icon::Information, kFirmwareTitle);
}

void frmAR7030::mnuEnableLLLR_Click() {
    for (QWidget* w : std::initializer_list<QWidget*>{ui->vsbLineR, ui->vsbLineL, ui->lblLineR, ui->lblLineL})
        w->setEnabled(true);
}

void frmAR7030::mnuDisableLLLR_Click() {
    for (QWidget* w : std::initializer_list<QWidget*>{ui->vsbLineR, ui->vsbLineL, ui->lblLineR, ui->lblLineL})
        w->setEnabled(false);
}

void frmAR7030::mnuPowerOn_Click() {
    if (AR7030A_) AR7030A_->PowerOnOff(1);
}

void frmAR7030::mnuPowerOff_Click() {
    if (AR7030A_) AR7030A_->PowerOnOff(0);
}

// ---- keys ----

void frmAR7030::pbsKey(int position) {
    ui->vsbPassbandshift->setValue(position);
    if (AR7030A_) AR7030A_->PassBandShift(vsb2b(ui->vsbPassbandshift->value()));
}

void frmAR7030::volumeKey(int value) {
    ui->vsbVolume->setValue(value);
    if (AR7030A_) AR7030A_->Volume(ui->vsbVolume->value());
}

void frmAR7030::modelKey(const KeyAction& a) {
    const int pbs = ui->vsbPassbandshift->value();
    const int volume = ui->vsbVolume->value();
    switch (a.command) {
    // A filter place without a filter is chosen too: its button is only greyed.
    case KeyCommand::Bandwidth: cmdBandwidth_Click(a.arg); break;
    case KeyCommand::Mode: cmdMode_Click(a.arg); break;
    case KeyCommand::PbsUp: pbsKey(pbs < PbsTop ? pbs + 1 : PbsTop); break;
    case KeyCommand::PbsDown: pbsKey(pbs >= -(PbsTop - 1) ? pbs - 1 : -PbsTop); break;
    case KeyCommand::PbsCentre: pbsKey(0); break;
    case KeyCommand::VolumeUp: volumeKey(volume < 95 ? volume + 5 : VolumeTop); break;
    case KeyCommand::VolumeDown: volumeKey(volume >= 5 ? volume - 5 : 0); break;
    case KeyCommand::VolumeZero: volumeKey(0); break;
    default: break;
    }
}

} // namespace dovrane
