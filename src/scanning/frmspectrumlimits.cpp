#include "scanning/frmspectrumlimits.h"
#include "ui_frmspectrumlimits.h"

#include "scanning/frmspectrum.h"
#include "shell/globals.h"

#include <QKeyEvent>

namespace dovrane {

frmSpectrumlimits::frmSpectrumlimits() : Form(31, &SpectrumlimitsOpen), ui(std::make_unique<Ui::frmSpectrumlimits>()) {
    ui->setupUi(this);
    txtInput = {ui->txtInput_0, ui->txtInput_1, ui->txtInput_2, ui->txtInput_3};
    for (QLineEdit* e : txtInput) e->installEventFilter(this);
    connect(ui->cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(ui->cmdNew, &QPushButton::clicked, this, [this] { cmdNew_Click(); });
    connect(ui->cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    connect(ui->chkKeepgoing, &QCheckBox::toggled, this, [this] { chkKeepgoing_Click(); });
}

frmSpectrumlimits::~frmSpectrumlimits() = default;

void frmSpectrumlimits::Form_Load() {
    ui->chkKeephighest->hide();
    txtInput[3]->setText(QStringLiteral("1"));
}

void frmSpectrumlimits::showEvent(QShowEvent* event) {
    Form::showEvent(event);
    txtInput[0]->setFocus();
}

bool frmSpectrumlimits::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            cmdOK_Click();
            return true;
        }
    }
    return Form::eventFilter(watched, event);
}

void frmSpectrumlimits::chkKeepgoing_Click() { ui->chkKeephighest->setVisible(ui->chkKeepgoing->isChecked()); }

void frmSpectrumlimits::cmdOK_Click() {
    frmSpectrum* w = forms::loaded<frmSpectrum>();
    if (!w) {
        hide();
        return;
    }
    std::array<QString, 4> texts;
    for (size_t i = 0; i < 4; ++i) texts[i] = txtInput[i]->text().replace(QLatin1Char(','), QLatin1Char('.'));
    if (!w->applyLimits(texts, ui->chkKeepgoing->isChecked(), ui->chkKeephighest->isChecked())) {
        // What was typed stays, to be put right.
        txtInput[0]->setFocus();
        return;
    }
    hide();
    w->preparespectrumscan();
}

void frmSpectrumlimits::cmdNew_Click() {
    for (size_t i = 0; i < 3; ++i) txtInput[i]->clear();
    txtInput[3]->setText(QStringLiteral("1"));
    ui->chkKeepgoing->setChecked(false);
    ui->chkKeephighest->setChecked(false);
    ui->chkKeephighest->hide();
}

void frmSpectrumlimits::cmdCancel_Click() { hide(); }

} // namespace dovrane
