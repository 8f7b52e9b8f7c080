#include "stations/frmconvertilg.h"
#include "ui_frmconvertilg.h"

#include "platform/dialogs.h"
#include "shell/globals.h"
#include "stations/frmilgfinddbf.h"
#include "stations/station_texts.h"

#include <QCloseEvent>
#include <QPointer>

namespace dovrane {

namespace {
// Records converted per turn of the event loop; Stop is looked at before each.
constexpr int kChunk = 200;
} // namespace

frmConvertILG::frmConvertILG() : Form(5, &ConvertILGOpen), ui(std::make_unique<Ui::frmConvertILG>()) {
    ui->setupUi(this);
    optDbconnect = {ui->optDbconnect_0, ui->optDbconnect_1, ui->optDbconnect_2};
    chkInclude = {ui->chkInclude_0, ui->chkInclude_1, ui->chkInclude_2, ui->chkInclude_3};
    for (int i = 0; i < int(optDbconnect.size()); ++i)
        connect(optDbconnect[size_t(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) optDbconnect_Click(i);
        });
    connect(ui->cmdLocate, &QPushButton::clicked, this, [this] { cmdLocate_Click(); });
    connect(ui->cmdConvert, &QPushButton::clicked, this, [this] { cmdConvert_Click(); });
    connect(ui->cmdStop, &QPushButton::clicked, this, [this] { cmdStop_Click(); });
    connect(ui->cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });
    chunkTimer_.setParent(this);
    chunkTimer_.setInterval(0);
    connect(&chunkTimer_, &QTimer::timeout, this, [this] { convertChunk(); });
}

frmConvertILG::~frmConvertILG() = default;

void frmConvertILG::Form_Load() {
    FindSourceKind = 1;
    selectConnect(0);
    optDbconnect_Click(0);
    ui->fraConnect->setEnabled(false);
    ui->datILG->setEnabled(false);
    ui->cmdConvert->setEnabled(false);
}

void frmConvertILG::Form_Unload() {
    // Closed from outside while converting: nothing is written, so the old
    // list stays as it was.
    chunkTimer_.stop();
    running_ = false;
    conversion_.reset();
    table_.close();
}

void frmConvertILG::closeEvent(QCloseEvent* event) {
    if (running_) {
        // The conversion ends as Stop ends it, and the window closes then.
        event->ignore();
        cmdStop_Click();
        return;
    }
    Form::closeEvent(event);
}

void frmConvertILG::selectConnect(int index) {
    if (index < 0 || index >= int(optDbconnect.size())) return;
    optDbconnect[size_t(index)]->setChecked(true);
}

void frmConvertILG::enableConnect() { ui->fraConnect->setEnabled(true); }

int frmConvertILG::convertedCount() const { return conversion_ ? conversion_->count() : 0; }

void frmConvertILG::optDbconnect_Click(int index) {
    if (running_) return;
    ui->datILG->setEnabled(false);
    if (index == 0) {
        ui->lblRecnum->clear();
        table_.close();
        recordSource_.clear();
        ui->datILG->clear();
        ui->cmdConvert->setEnabled(false);
        ui->lblRecord->clear();
        return;
    }
    recordSource_ = index == 1 ? QStringLiteral("ILGADATA") : QStringLiteral("ILGSDATA");
    QString why;
    if (!table_.open(FileKindPath[0], recordSource_, &why)) {
        dialogs::message(stationtexts::CouldNotConnect, dialogs::Buttons::Ok, dialogs::Icon::Critical,
                         stationtexts::ErrorTitle);
        selectConnect(0);
        return;
    }
    ui->datILG->setText(recordSource_);
    ui->datILG->setEnabled(true);
    table_.moveFirst();
    ui->cmdConvert->setEnabled(true);
    ui->lblRecord->setText(index == 1
                               ? QStringLiteral("ILGRadio LW/MW database connected, conversion can be started.")
                               : QStringLiteral("ILGRadio SW database connected, conversion can be started."));
}

void frmConvertILG::cmdLocate_Click() {
    if (running_) return;
    selectConnect(0);
    forms::unload<frmILGfinddbf>();
    if (frmILGfinddbf* finder = forms::load<frmILGfinddbf>()) finder->showModal();
}

void frmConvertILG::setRunning(bool on) {
    running_ = on;
    for (QWidget* w : std::initializer_list<QWidget*>{ui->cmdExit, ui->fraConnect, ui->fraInclude, ui->datILG,
                                                      ui->cmdConvert, ui->cmdLocate})
        w->setEnabled(!on);
}

void frmConvertILG::cmdConvert_Click() {
    if (running_ || !table_.isOpen()) return;
    setRunning(true);
    stop_ = false;
    shownCount_ = 0;
    table_.moveFirst();
    IlgIncludes include{};
    for (size_t i = 0; i < include.size(); ++i) include[i] = chkInclude[i]->isChecked();
    conversion_.emplace(table_, include);
    chunkTimer_.start();
}

void frmConvertILG::cmdStop_Click() { stop_ = true; }

void frmConvertILG::cmdExit_Click() {
    if (running_) return;
    unload();
}

void frmConvertILG::convertChunk() {
    if (!running_ || !conversion_) return;
    for (int n = 0; n < kChunk; ++n) {
        if (stop_ || conversion_->atEnd()) {
            finish();
            return;
        }
        conversion_->convertNext();
        const int count = conversion_->count();
        if (count != shownCount_ && count % 100 == 0) {
            shownCount_ = count;
            ui->lblRecnum->setText(QString::number(count));
            ui->lblRecord->setText(conversion_->lastLine().left(77));
            ui->lblRecnum->repaint();
            ui->lblRecord->repaint();
        }
    }
}

void frmConvertILG::finish() {
    chunkTimer_.stop();
    const int count = conversion_->count();
    QString why;
    const bool written = writeStationList(DataFolder + FileKindDir[3], broadcastListName(recordSource_),
                                          conversion_->sortedLines(), &why);
    conversion_.reset();
    ui->lblRecord->clear();
    ui->lblRecnum->setText(QString::number(count));
    QPointer<frmConvertILG> self(this);
    if (written)
        dialogs::message(stationtexts::ConversionReady, dialogs::Buttons::Ok, dialogs::Icon::Information,
                         QStringLiteral("ILGRadio database"));
    else
        dialogs::message(stationtexts::notWritten(broadcastListName(recordSource_), why), dialogs::Buttons::Ok,
                         dialogs::Icon::Exclamation, QStringLiteral("ILGRadio database"));
    if (!self) return;
    running_ = false;
    unload();
}

} // namespace dovrane
