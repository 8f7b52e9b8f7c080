#include "timer/frmrtty.h"
#include "ui_frmrtty.h"

#include "drivers/model_tables.h"
#include "drivers/nrd535/clsnrd535.h"
#include "drivers/nrd545/clsnrd545.h"
#include "drivers/rx_link.h"
#include "panels/panel_lock.h"
#include "platform/option_group.h"
#include "platform/commport.h"
#include "platform/dialogs.h"
#include "shell/dial_reports.h"
#include "shell/facade.h"
#include "shell/file_kinds.h"
#include "shell/frmsavefile.h"
#include "shell/frmsetup.h"
#include "shell/globals.h"
#include "timer/timer_texts.h"

#include <QLabel>
#include <QRadioButton>
#include <QTimer>

namespace dovrane {

namespace {

namespace tt = timertexts;

const QColor SavingColour{0xFF, 0x80, 0x00};   // &H80FF
const QColor IdleColour{0xFF, 0xFF, 0xC0};     // &HC0FFFF
const QString RttyStopped = QStringLiteral("The RTTY reception has stopped");

template <class T, size_t N> void gather(QWidget* w, std::array<T*, N>& out, const QString& name) {
    for (size_t i = 0; i < N; ++i) out[i] = w->findChild<T*>(name + QLatin1Char('_') + QString::number(i));
}

} // namespace

frmRtty::frmRtty() : Form(22, &RttyOpen), ui(std::make_unique<Ui::frmRtty>()), params_(RxType) {
    ui->setupUi(this);
    tmrGetRTTY_ = new QTimer(this);
    tmrGetRTTY_->setInterval(ReadIntervalMs);
    connect(tmrGetRTTY_, &QTimer::timeout, this, [this] { tmrGetRTTY_Timer(); });

    gather(this, cmdBaud, QStringLiteral("cmdBaud"));
    gather(this, cmdShift, QStringLiteral("cmdShift"));
    gather(this, cmdPolarity, QStringLiteral("cmdPolarity"));
    gather(this, cmdSave, QStringLiteral("cmdSave"));
    gather(this, optUnshift, QStringLiteral("optUnshift"));
    gather(this, optError, QStringLiteral("optError"));
    gather(this, lblRy, QStringLiteral("lblRy"));
    for (int i = 0; i < 3; ++i) {
        connect(cmdBaud[size_t(i)], &QAbstractButton::clicked, this, [this, i] { cmdBaud_Click(i); });
        connect(cmdShift[size_t(i)], &QAbstractButton::clicked, this, [this, i] { cmdShift_Click(i); });
    }
    for (int i = 0; i < 2; ++i) {
        connect(cmdPolarity[size_t(i)], &QAbstractButton::clicked, this, [this, i] { cmdPolarity_Click(i); });
        connect(cmdSave[size_t(i)], &QAbstractButton::clicked, this, [this, i] { cmdSave_Click(i); });
    }
    onOptionChosen(optionGroup(this, QStringLiteral("optUnshift")), this,
                               [this](int i) { optUnshift_Click(i); });
    onOptionChosen(optionGroup(this, QStringLiteral("optError")), this,
                               [this](int i) { optError_Click(i); });
    connect(ui->cmdStart, &QAbstractButton::clicked, this, [this] { cmdStart_Click(); });
    connect(ui->cmdStop, &QAbstractButton::clicked, this, [this] { cmdStop_Click(); });
    connect(ui->cmdCls, &QAbstractButton::clicked, this, [this] { cmdCls_Click(); });
    connect(ui->cmdExit, &QAbstractButton::clicked, this, [this] { cmdExit_Click(); });
    connect(&setUpNotifier(), &SetUpNotifier::closed, this, [this] {
        if (isLoaded()) followOptions();
    });
}

frmRtty::~frmRtty() = default;

void frmRtty::Form_Load() {
    params_ = RttyParameters(RxType);
    for (int i = 0; i < 2; ++i) cmdPolarity[size_t(i)]->setText(params_.polarityCaption(i));
    const bool nrd545 = RxType == 4;
    ui->fraUnshift->setVisible(nrd545);
    ui->fraError->setVisible(nrd545);
    if (Comm1 && RxType == 2) NRD535A = new clsNRD535(*Comm1, Comm1);
    if (Comm1 && nrd545) NRD545A = new clsNRD545(*Comm1, Comm1);
    // Normal polarity, 50 Bd, 425 Hz, not saving.
    cmdPolarity_Click(nrd545 ? 1 : 0);
    if (nrd545) {
        optUnshift[1]->setChecked(true);
        optError[1]->setChecked(true);
    }
    cmdBaud_Click(1);
    cmdShift_Click(1);
    cmdSave_Click(0);
    ui->cmdStop->setEnabled(false);
    followOptions();
}

void frmRtty::followOptions() {
    const bool unit = receiverTakes(RxType, RxSetting::Rtty, RttyOn);
    // A run ends with the unit; switching it off is always taken.
    if (!unit) cmdStop_Click();
    ui->cmdStart->setEnabled(unit && !receiving_);
    for (auto* b : cmdBaud) b->setEnabled(unit);
    for (auto* b : cmdShift) b->setEnabled(unit);
    for (auto* b : cmdPolarity) b->setEnabled(unit);
}

void frmRtty::Form_Unload() {
    cmdStop_Click();
    tmrGetRTTY_->stop();
    {
        // The window's close is not the user's Go: its switch-off goes only
        // to the receiver the program spoke to.
        std::optional<ReopenPin> pin;
        if (Comm1) pin.emplace(*Comm1);
        rttyOnOff(0);
    }
    closeFile();
    delete NRD535A.data();
    delete NRD545A.data();
}

QString frmRtty::displayLine(int i) const { return i >= 0 && i < 15 ? lblRy[size_t(i)]->text() : QString(); }

void frmRtty::sendParameters() {
    if (NRD535A) NRD535A->RttyParameters(params_.text());
    if (NRD545A) NRD545A->RttyParameters(params_.text());
}

SendResult frmRtty::rttyOnOff(int v) {
    if (NRD535A) return NRD535A->RttyOnOff(v);
    if (NRD545A) return NRD545A->RttyOnOff(v);
    return Sent::Refused;
}

void frmRtty::cmdBaud_Click(int i) {
    if (i < 0 || i > 2) return;
    ui->lblBaud->setText(cmdBaud[size_t(i)]->text());
    params_.baud(i);
    sendParameters();
}

void frmRtty::cmdShift_Click(int i) {
    if (i < 0 || i > 2) return;
    ui->lblShift->setText(cmdShift[size_t(i)]->text());
    params_.shift(i);
    sendParameters();
}

void frmRtty::cmdPolarity_Click(int i) {
    if (i < 0 || i > 1) return;
    ui->lblPolarity->setText(cmdPolarity[size_t(i)]->text());
    params_.polarity(i);
    sendParameters();
}

void frmRtty::optUnshift_Click(int i) {
    if (NRD545A) NRD545A->Userdefs(25, i);
}

void frmRtty::optError_Click(int i) {
    if (NRD545A) NRD545A->Userdefs(26, i);
}

bool frmRtty::openTextFile(const QString& path, const QString& name) {
    if (!file_.open(path)) {
        closeFile();
        return false;
    }
    setBackground(ui->lblSave, SavingColour);
    ui->lblSave->setText(name);
    return true;
}

void frmRtty::closeFile() {
    file_.close();
    setBackground(ui->lblSave, IdleColour);
    ui->lblSave->clear();
}

void frmRtty::cmdSave_Click(int i) {
    if (i == 1) {
        // Saving starts only once the chooser has opened a file.
        showSaveChooser(13);
    } else if (i == 0) {
        closeFile();
    }
}

void frmRtty::append(const QString& line) {
    if (!file_.isOpen()) return;
    if (file_.appendLine(line)) return;
    // Saving stops at the first failure, and the user hears of it once, after the tick.
    const QString path = file_.path();
    closeFile();
    if (failureNoticePending_) return;
    failureNoticePending_ = true;
    QTimer::singleShot(0, this, [this, path] {
        failureNoticePending_ = false;
        dialogs::message(tt::RttyWriteFailed.arg(path), dialogs::Buttons::Ok, dialogs::Icon::Exclamation,
                         tt::RttyTitle);
    });
}

void frmRtty::cmdStart_Click() {
    // Without the receiver's RTTY unit there is nothing to read.
    if (receiving_ || !receiverTakes(RxType, RxSetting::Rtty, RttyOn)) return;
    receiving_ = true;
    ui->cmdExit->setEnabled(false);
    ui->cmdStart->setEnabled(false);
    ui->cmdCls->setEnabled(false);
    ui->cmdStop->setEnabled(true);
    // The window reads what the receiver sends by itself from now on: no dial
    // report takes any of it, and nothing from before the run is shown.
    reportsPaused_.emplace();
    device_.take();
    if (Comm1) Comm1->discardInput();
    // The demodulator counts as on once the receiver has answered after the
    // switch: the command alone also goes out to a receiver switched off.
    // Else the window is back as it was, and the driver's notice tells why.
    if (!rttyOnOff(1) || !Comm1 || !receiverAnswers(RxType, *Comm1)) {
        receiving_ = false;
        reportsPaused_.reset();
        ui->cmdExit->setEnabled(true);
        ui->cmdStart->setEnabled(true);
        ui->cmdCls->setEnabled(true);
        ui->cmdStop->setEnabled(false);
        return;
    }
    alive_.start();
    silence_.answered();
    if (file_.isOpen()) {
        const QString freq = openPanel() ? openPanel()->frequencyText() : QString();
        append(QStringLiteral(" "));
        append(QStringLiteral("Start at LT : ") + LocalTimeText + QStringLiteral("   UTC : ") + UtcTimeText);
        append(QStringLiteral("Freq : ") + freq + QStringLiteral("  Bd/shift/pol : ") + params_.baudText() +
               QLatin1Char('/') + params_.shiftText() + QLatin1Char('/') + params_.polarityText());
        append(QStringLiteral(" "));
    }
    builder_.clear();
    lblRy[14]->clear();
    tmrGetRTTY_->start();
}

bool frmRtty::readText() {
    if (!receiving_ || !Comm1 || Comm1->inBufferCount() < 1) return false;
    for (const QString& line : builder_.feed(Comm1->readAll())) {
        append(line);
        scroll(line);
    }
    lblRy[14]->setText(builder_.line());
    return true;
}

void frmRtty::tmrGetRTTY_Timer() {
    if (!receiving_) return;
    std::optional<ReopenPin> pin;
    device_.pin(pin);
    if (readText()) {
        alive_.heard();
        return;
    }
    // Text shows the receiver is there; without any, it is asked, seldom
    // enough that what it says meanwhile is hardly ever lost to the question.
    if (!alive_.due()) return;
    QPointer<frmRtty> self(this);
    const bool answered = Comm1 && receiverAnswers(RxType, *Comm1);
    if (!self || !receiving_) return;
    if (answered) {
        silence_.answered();
        notice_.release();
        return;
    }
    notice_.failed();
    if (!silence_.failed()) return;
    stopReceiving();
    notice_.stopped(RttyStopped, tt::RttyTitle);
}

void frmRtty::scroll(const QString& line) {
    for (int k = 1; k < 14; ++k) lblRy[size_t(k - 1)]->setText(lblRy[size_t(k)]->text());
    lblRy[13]->setText(line);
}

void frmRtty::cmdStop_Click() {
    if (!receiving_) return;
    stopReceiving();
    // A receiver's silence met during the run is told over a stopped window.
    notice_.release();
}

void frmRtty::stopReceiving() {
    tmrGetRTTY_->stop();
    // What arrived up to the click belongs to this run.
    readText();
    receiving_ = false;
    {
        std::optional<ReopenPin> pin;
        device_.pin(pin);
        rttyOnOff(0);
    }
    // A tracking window left in Dial mode follows the dial again.
    reportsPaused_.reset();
    ui->cmdExit->setEnabled(true);
    ui->cmdStart->setEnabled(true);
    ui->cmdCls->setEnabled(true);
    ui->cmdStop->setEnabled(false);
    if (file_.isOpen()) {
        append(QStringLiteral(" "));
        append(QStringLiteral("Stop at LT : ") + LocalTimeText + QStringLiteral("   UTC : ") + UtcTimeText);
        append(QStringLiteral(" "));
    }
    // The file stays open: the next run follows this one in it, until "No"
    // or the window's close.
}

void frmRtty::cmdCls_Click() {
    for (QLabel* l : lblRy) l->clear();
}

} // namespace dovrane
