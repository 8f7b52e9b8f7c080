#include "panels/frmadvanceddsp.h"
#include "ui_frmadvanceddsp.h"

#include "drivers/nrd545/clsnrd545.h"
#include "panels/frmuserdefs.h"
#include "platform/option_group.h"
#include "platform/dialogs.h"
#include "shell/globals.h"
#include "platform/number_text.h"
#include "shell/unloadallforms.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <algorithm>
#include <optional>

namespace dovrane {

namespace {

constexpr int kLevelMax = 255;
constexpr int kNotchMax = 1023;
constexpr int kFilterHoldItem = 27;
constexpr int kFilterSlopeItem = 32;

const QString kDefaultsText = QStringLiteral(
    "    Do you want to bring the \nNoise reduction and Beat canceler\n   level back to its defaults");
const QString kDefaultsTitle = QStringLiteral("Defaults");

QString levelText(int v) { return formatPattern(v, QStringLiteral("000")); }
QString notchText(int v) { return formatPattern(v, QStringLiteral("0000")); }

// The text of a mode the receiver reported, "?" for one it has no name for.
QString modeText(const QStringList& texts, std::optional<int> mode) {
    return mode && *mode >= 0 && *mode < texts.size() ? texts[*mode] : QStringLiteral("?");
}

} // namespace

frmAdvancedDSP::frmAdvancedDSP() : Form(35, &AdvancedDSPOpen), ui(std::make_unique<Ui::frmAdvancedDSP>()) {
    ui->setupUi(this);
    registerWindow(&AdvancedDSPOpen, this);
    for (int i = 0; i < 3; ++i) {
        auto byName = [this, i](const char* base) {
            return findChild<QPushButton*>(QString::fromLatin1(base) + QLatin1Char('_') + QString::number(i));
        };
        connect(byName("cmdNrbc"), &QPushButton::clicked, this, [this, i] { cmdNrbc_Click(i); });
        connect(byName("cmdNB"), &QPushButton::clicked, this, [this, i] { cmdNB_Click(i); });
        connect(byName("cmdNT"), &QPushButton::clicked, this, [this, i] { cmdNT_Click(i); });
    }
    connect(ui->vsbNR, &QSlider::valueChanged, this, [this](int v) {
        if (NRD545A) NRD545A->nrbc(1, v);
        ui->lblNr->setText(levelText(v));
    });
    connect(ui->vsbBC, &QSlider::valueChanged, this, [this](int v) {
        if (NRD545A) NRD545A->nrbc(2, v);
        ui->lblBC->setText(levelText(v));
    });
    connect(ui->vsbNB, &QSlider::valueChanged, this, [this](int v) {
        if (NRD545A) NRD545A->nb(1, v);
        ui->lblNB2->setText(levelText(v));
    });
    connect(ui->vsbNT, &QSlider::valueChanged, this, [this](int v) {
        if (NRD545A) NRD545A->nt(1, v);
        ui->lblNT2->setText(notchText(v));
    });
    const std::pair<const char*, int> options[] = {{"optFilterslope", kFilterSlopeItem},
                                                   {"optHoldofnr", kFilterHoldItem}};
    for (const auto& [base, item] : options) {
        QButtonGroup* g = optionGroup(this, QString::fromLatin1(base));
        onOptionChosen(g, this, [this, item](int id) {
            if (NRD545A) NRD545A->Userdefs(item, id);
        });
    }
    connect(ui->cmdDefaultNRBC, &QPushButton::clicked, this, [this] { cmdDefaultNRBC_Click(); });
    connect(ui->cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });
}

frmAdvancedDSP::~frmAdvancedDSP() = default;

int frmAdvancedDSP::defaultNr() { return std::clamp(int(vbRound(Settings[26])), 0, kLevelMax); }
int frmAdvancedDSP::defaultBc() { return std::clamp(int(vbRound(Settings[27])), 0, kLevelMax); }

void frmAdvancedDSP::Form_Load() {
    if (Comm1) NRD545A = std::make_unique<clsNRD545>(*Comm1);
    nrbcTexts_ = {QStringLiteral("Off"), QStringLiteral("NR"), QStringLiteral("BC")};
    nbTexts_ = {QStringLiteral("Off"), QStringLiteral("NB1"), QStringLiteral("NB2")};
    ntTexts_ = {QStringLiteral("Off"), QStringLiteral("N"), QStringLiteral("NT")};
    hold_.take(NRD545A.get());
    cmdNrbc_Click(0);
    cmdDefaultNRBC_Click();

    // The receiver's own blanker setting is kept: read, shown and sent back.
    const std::optional<int> mode = NRD545A ? NRD545A->nb(0) : std::nullopt;
    ui->lblNB->setText(modeText(nbTexts_, mode));
    // The labels show what was read also when the slider stood there already
    // and so raised no change.
    const std::optional<int> level = NRD545A ? NRD545A->nb(1) : std::nullopt;
    if (level && *level >= 0 && *level <= kLevelMax) {
        ui->vsbNB->setValue(*level);
        ui->lblNB2->setText(levelText(*level));
    }
    // A mode without a name is neither sent back nor given a level slider.
    if (mode && *mode >= 0 && *mode < nbTexts_.size()) cmdNB_Click(*mode);
    else ui->vsbNB->setEnabled(false);

    const std::optional<int> notch = NRD545A ? NRD545A->nt(1) : std::nullopt;
    if (notch && std::abs(*notch) <= kNotchMax) {
        ui->vsbNT->setValue(*notch);
        ui->lblNT2->setText(notchText(*notch));
    }
    cmdNT_Click(0);
}

void frmAdvancedDSP::Form_Unload() {
    // However the window closes, the hold taken for it does not outlive it.
    hold_.release();
    NRD545A.reset();
}

void frmAdvancedDSP::closeEvent(QCloseEvent* event) {
    event->ignore();
    cmdExit_Click();
}

void frmAdvancedDSP::cmdNrbc_Click(int index) {
    if (NRD545A) NRD545A->nrbc(0, index);
    ui->lblNrbc->setText(nrbcTexts_.value(index));
    ui->vsbNR->setEnabled(index == 1);
    ui->vsbBC->setEnabled(index == 2);
}

void frmAdvancedDSP::cmdNB_Click(int index) {
    if (NRD545A) NRD545A->nb(0, index);
    ui->lblNB->setText(nbTexts_.value(index));
    ui->vsbNB->setEnabled(index != 0);
}

void frmAdvancedDSP::cmdNT_Click(int index) {
    if (NRD545A) NRD545A->nt(0, index);
    ui->lblNT->setText(ntTexts_.value(index));
    ui->vsbNT->setEnabled(index == 1);
}

void frmAdvancedDSP::cmdDefaultNRBC_Click() {
    if (NRD545A) {
        NRD545A->nrbc(1, defaultNr());
        NRD545A->nrbc(2, defaultBc());
    }
    ui->vsbNR->setValue(defaultNr());
    ui->vsbBC->setValue(defaultBc());
    ui->lblNr->setText(levelText(defaultNr()));
    ui->lblBC->setText(levelText(defaultBc()));
}

void frmAdvancedDSP::cmdExit_Click() {
    if (!isLoaded()) return;
    if (ui->vsbNR->value() != defaultNr() || ui->vsbBC->value() != defaultBc()) {
        const dialogs::Answer a = dialogs::message(kDefaultsText, dialogs::Buttons::YesNoCancel,
                                                   dialogs::Icon::Exclamation, kDefaultsTitle);
        // The window may have been closed with the panel while the question was up.
        if (a == dialogs::Answer::Cancel || !isLoaded()) return;
        if (a == dialogs::Answer::Yes && NRD545A) {
            NRD545A->nrbc(1, defaultNr());
            NRD545A->nrbc(2, defaultBc());
        }
    }
    hold_.release();
    unload();
}

} // namespace dovrane
