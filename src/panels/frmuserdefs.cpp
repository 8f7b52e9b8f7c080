#include "panels/frmuserdefs.h"
#include "ui_frmuserdefs.h"

#include "drivers/nrd535/clsnrd535.h"
#include "panels/frmnrd535.h"
#include "platform/option_group.h"
#include "platform/busycursor.h"
#include "platform/delay.h"
#include "shell/globals.h"
#include "platform/number_text.h"
#include "shell/unloadallforms.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QPointer>
#include <cstdlib>
#include <optional>

namespace dovrane {

namespace nrddialogs {

QString pitchText(int hz) {
    return (hz < 0 ? QStringLiteral("-") : QStringLiteral("+")) + formatPattern(std::abs(hz), QStringLiteral("0000"));
}

} // namespace nrddialogs

namespace {

constexpr int kPitchStep = 25;
constexpr int kPitchLimit = 5000;
constexpr int kPitchStart = 800;
constexpr int kResetPauseMs = 20;

// What "Reset to Defaults" sends for items 0..9; items 3 and 5 have no control.
// The clock colon blinks by default, like the receiver's other display items.
constexpr std::optional<int> kResetValue[10] = {0, 0, kPitchStart, std::nullopt, 1, std::nullopt, 1, 1, 1, 1};

// The NRD-535 panel shows the VBT bypass on its attenuator label.
void showVbtBypass(bool on) {
    if (auto* panel = forms::loaded<frmNRD535>()) panel->setVbtBypassIndicator(on);
}

} // namespace

frmUserdefs::frmUserdefs() : Form(33, &UserdefsOpen), ui(std::make_unique<Ui::frmUserdefs>()) {
    ui->setupUi(this);
    registerWindow(&UserdefsOpen, this);
    const std::pair<int, const char*> groups[] = {{0, "optRelaymode"},     {1, "optVBTbypass"}, {4, "optSmeterdisplay"},
                                                  {6, "optFreqshift"},     {7, "opt10Hzdisplay"}, {8, "optColonblink"},
                                                  {9, "optBeeponkey"}};
    for (const auto& [item, base] : groups) {
        QButtonGroup* g = optionGroup(this, QString::fromLatin1(base));
        options_.push_back({item, g});
        // A selection made by code acts like a user's, but only when it changes.
        connect(g, &QButtonGroup::idToggled, this, [this, item](int id, bool on) {
            if (on) optionSelected(item, id);
        });
    }
    connect(ui->spnCWpitch, &SpinButton::SpinDown, this, [this] { spnCWpitch_SpinDown(); });
    connect(ui->spnCWpitch, &SpinButton::SpinUp, this, [this] { spnCWpitch_SpinUp(); });
    connect(ui->cmdCWpitch, &QPushButton::clicked, this, [this] { cmdCWpitch_Click(); });
    connect(ui->cmdDefaults, &QPushButton::clicked, this, [this] { cmdDefaults_Click(); });
    connect(ui->cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
}

frmUserdefs::~frmUserdefs() = default;

void frmUserdefs::Form_Load() {
    if (Comm1) NRD535A = std::make_unique<clsNRD535>(*Comm1);
    pitchHz_ = kPitchStart;
    showPitch();
    selectOption(1, 0);
    send(1, 0);
    showVbtBypass(false);
}

void frmUserdefs::Form_Unload() {
    // A reset still running keeps the driver until its last item is sent.
    if (!resetting_) NRD535A.reset();
}

void frmUserdefs::closeEvent(QCloseEvent* event) {
    event->ignore();
    cmdOK_Click();
}

void frmUserdefs::send(int item, int v) {
    if (NRD535A) NRD535A->Userdefs(item, v);
}

void frmUserdefs::showPitch() { ui->lblCWpitch->setText(nrddialogs::pitchText(pitchHz_)); }

void frmUserdefs::optionSelected(int item, int index) {
    send(item, index);
    if (item == 1) showVbtBypass(index == 1);
}

void frmUserdefs::selectOption(int item, int index) {
    for (const Option& o : options_)
        if (o.item == item)
            if (QAbstractButton* b = o.group->button(index)) b->setChecked(true);
}

void frmUserdefs::spnCWpitch_SpinDown() {
    pitchHz_ = std::max(pitchHz_ - kPitchStep, -kPitchLimit);
    showPitch();
}

void frmUserdefs::spnCWpitch_SpinUp() {
    pitchHz_ = std::min(pitchHz_ + kPitchStep, kPitchLimit);
    showPitch();
}

void frmUserdefs::cmdCWpitch_Click() { send(2, pitchHz_); }

void frmUserdefs::cmdDefaults_Click() {
    if (resetting_) return;
    resetting_ = true;
    QPointer<frmUserdefs> self(this);
    {
        BusyCursor busy;
        for (int item = 0; item < 10; ++item) {
            delayms(kResetPauseMs);
            if (!self) return;
            if (!kResetValue[item]) continue;
            const int v = *kResetValue[item];
            if (item == 2) {
                pitchHz_ = v;
                showPitch();
            }
            send(item, v);
            if (item == 2) continue;
            selectOption(item, v);
            if (item == 1) showVbtBypass(false);
        }
    }
    resetting_ = false;
    if (!isLoaded()) NRD535A.reset();
    else if (closeAsked_) unload();
}

void frmUserdefs::cmdOK_Click() {
    // A reset runs to its end; the dialog closes after it.
    if (resetting_) {
        closeAsked_ = true;
        return;
    }
    unload();
}

} // namespace dovrane
