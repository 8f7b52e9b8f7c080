#include "panels/frmuserdefs545.h"
#include "ui_frmuserdefs545.h"

#include "drivers/nrd545/clsnrd545.h"
#include "panels/frmnrd545.h"
#include "panels/frmuserdefs.h"
#include "panels/panel_lock.h"
#include "platform/option_group.h"
#include "platform/busycursor.h"
#include "platform/delay.h"
#include "shell/globals.h"
#include "platform/number_text.h"
#include "shell/unloadallforms.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QLabel>
#include <QPointer>
#include <algorithm>
#include <array>
#include <memory>

namespace dovrane {

namespace nrddialogs {

void DialogHold::take(clsNRD545* own) {
    if (taken() || PanelLock != 0) return;
    if (lockPanel()) {
        via_ = Via::Panel;
        lockoffon(1);
    } else if (own && own->Lockonoff(1)) {
        via_ = Via::Own;
        own_ = own;
    }
}


void DialogHold::release() {
    const Via via = via_;
    via_ = Via::None;
    // The user may have locked the panel meanwhile; the lock then stands.
    if (PanelLock != 0) return;
    if (via == Via::Panel) lockoffon(0);
    else if (via == Via::Own && own_) own_->Lockonoff(0);
}

} // namespace nrddialogs

namespace {

constexpr int kResetPauseMs = 20;
constexpr int kInputTuningItem = 24;

// The NRD-545 panel shows the input tuning circuit on its attenuator label.
void showInputCircuit(bool on) {
    if (auto* panel = forms::loaded<frmNRD545>()) panel->setInputCircuitIndicator(on);
}

struct OptionRow {
    int item;
    const char* base;
    int resetValue;
};
constexpr OptionRow kOptions[] = {
    {1, "opt1Hzdisplay", 1},   {2, "opt10Hzdisplay", 0},    {3, "optKhzsteps", 0},    {4, "opt100Hzdisplay", 0},
    {8, "optPulses", 0},       {9, "optSmeterdisplay", 1},  {10, "optBeeponkey", 1},  {11, "optScanautostop", 1},
    {12, "optSkip", 1},        {13, "optRelaymode", 0},     {18, "optFreqshift", 1},  {19, "optColonblink", 1},
    {24, "OptInputtuning", 1}, {28, "optPanellock", 1},     {31, "optSquelchled", 0},
};

} // namespace

frmUserdefs545::frmUserdefs545() : Form(41, &Userdefs545Open), ui(std::make_unique<Ui::frmUserdefs545>()) {
    ui->setupUi(this);
    registerWindow(&Userdefs545Open, this);
    for (const OptionRow& row : kOptions) {
        QButtonGroup* g = optionGroup(this, QString::fromLatin1(row.base));
        options_.push_back({row.item, row.resetValue, g});
        onOptionChosen(g, this, [this, item = row.item](int id) { optionSelected(item, id); });
    }
    values_ = {
        {14, 800, -2550, 5000, 25, 1.0, "", "+0800", ui->lblCWpitch, 800},
        {20, 5, 3, 50, 1, 0.1, "0.0", "0.5", ui->lblScantime, 5},
        {21, 5, 5, 50, 1, 0.01, "0.00", "0.05", ui->lblSweeptime, 5},
        {22, 30, 0, 100, 1, 0.1, "00.0", "3.0", ui->lblAutostoptime, 30},
    };
    const std::array<std::pair<SpinButton*, QPushButton*>, 4> controls{{{ui->spnCWpitch, ui->cmdCWpitch},
                                                                       {ui->spnScantime, ui->cmdScantime},
                                                                       {ui->spnSweeptime, ui->cmdSweeptime},
                                                                       {ui->spnAutostoptime, ui->cmdAutostoptime}}};
    for (size_t i = 0; i < controls.size(); ++i) {
        connect(controls[i].first, &SpinButton::SpinDown, this, [this, i] { spin(values_[i], -1); });
        connect(controls[i].first, &SpinButton::SpinUp, this, [this, i] { spin(values_[i], 1); });
        // The window-level value goes out, not the label's text.
        connect(controls[i].second, &QPushButton::clicked, this,
                [this, i] { send(values_[i].item, values_[i].value); });
    }
    connect(ui->cmdDefaults, &QPushButton::clicked, this, [this] { cmdDefaults_Click(); });
    connect(ui->cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });
}

frmUserdefs545::~frmUserdefs545() = default;

void frmUserdefs545::Form_Load() {
    if (Comm1) NRD545A = std::make_unique<clsNRD545>(*Comm1);
    for (Value& v : values_) v.value = v.start;
    send(kInputTuningItem, 1);
    selectOption(kInputTuningItem, 1);
    showInputCircuit(true);
}

void frmUserdefs545::Form_Unload() {
    // A reset still running keeps the driver until it has given its hold back.
    if (!resetting_) NRD545A.reset();
}

void frmUserdefs545::closeEvent(QCloseEvent* event) {
    event->ignore();
    cmdExit_Click();
}

void frmUserdefs545::send(int item, int v) {
    if (NRD545A) NRD545A->Userdefs(item, v);
}

void frmUserdefs545::optionSelected(int item, int index) {
    send(item, index);
    if (item == kInputTuningItem) showInputCircuit(index == 1);
}

void frmUserdefs545::selectOption(int item, int index) {
    for (const Option& o : options_)
        if (o.item == item)
            if (QAbstractButton* b = o.group->button(index)) b->setChecked(true);
}

void frmUserdefs545::spin(Value& v, int direction) {
    v.value = std::clamp(v.value + direction * v.step, v.low, v.high);
    showValue(v);
}

void frmUserdefs545::showValue(const Value& v) {
    if (v.item == 14) v.label->setText(nrddialogs::pitchText(v.value));
    else v.label->setText(formatPattern(v.value * v.scale, QString::fromLatin1(v.pattern)));
}

void frmUserdefs545::cmdDefaults_Click() {
    if (resetting_) return;
    resetting_ = true;
    QPointer<frmUserdefs545> self(this);
    {
        BusyCursor busy;
        hold_.take(NRD545A.get());
        for (int item = 1; item <= 32; ++item) {
            delayms(kResetPauseMs);
            if (!self) return;
            for (const Option& o : options_) {
                if (o.item != item) continue;
                send(item, o.resetValue);
                selectOption(item, o.resetValue);
                if (item == kInputTuningItem) showInputCircuit(true);
            }
            for (Value& v : values_) {
                if (v.item != item) continue;
                v.value = v.start;
                send(item, v.value);
                v.label->setText(QString::fromLatin1(v.resetText));
            }
        }
        hold_.release();
    }
    resetting_ = false;
    if (!isLoaded()) NRD545A.reset();
    else if (closeAsked_) unload();
}

void frmUserdefs545::cmdExit_Click() {
    // A reset runs to its end and gives the receiver back; the dialog closes after it.
    if (resetting_) {
        closeAsked_ = true;
        return;
    }
    unload();
}

} // namespace dovrane
