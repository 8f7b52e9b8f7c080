#include "stations/frmconvertaero.h"
#include "ui_frmconvertaero.h"

#include "platform/dialogs.h"
#include "platform/text_file.h"
#include "shell/globals.h"
#include "stations/frmilgfinddbf.h"
#include "stations/station_texts.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QPointer>

namespace dovrane {

namespace {
constexpr int kChunk = 200;
} // namespace

frmConvertAero::frmConvertAero() : Form(0, &ConvertAeroOpen), ui(std::make_unique<Ui::frmConvertAero>()) {
    ui->setupUi(this);
    optDbconnect = {ui->optDbconnect_0, ui->optDbconnect_1};
    optDbtype = {ui->optDbtype_0, ui->optDbtype_1};
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

frmConvertAero::~frmConvertAero() = default;

void frmConvertAero::Form_Load() {
    FindSourceKind = 2;
    selectConnect(0);
    optDbconnect_Click(0);
    optDbtype[0]->setChecked(true);
    ui->fraConnect->setEnabled(false);
    ui->cmdConvert->setEnabled(false);
}

void frmConvertAero::Form_Unload() {
    chunkTimer_.stop();
    running_ = false;
    conversion_.reset();
    source_.clear();
}

void frmConvertAero::closeEvent(QCloseEvent* event) {
    if (running_) {
        event->ignore();
        cmdStop_Click();
        return;
    }
    Form::closeEvent(event);
}

void frmConvertAero::selectConnect(int index) {
    if (index < 0 || index >= int(optDbconnect.size())) return;
    optDbconnect[size_t(index)]->setChecked(true);
}

void frmConvertAero::enableConnect() { ui->fraConnect->setEnabled(true); }

QString frmConvertAero::sourcePath() const { return QDir(FileKindPath[0]).filePath(FileKindName[0]); }

void frmConvertAero::optDbconnect_Click(int index) {
    if (running_) return;
    if (index == 0) {
        ui->cmdConvert->setEnabled(false);
        ui->lblCount->clear();
        ui->lblShowrecord->clear();
        return;
    }
    if (FileKindName[0].isEmpty() || !QFileInfo(sourcePath()).isFile() || !QFileInfo(sourcePath()).isReadable()) {
        dialogs::message(stationtexts::CouldNotConnect, dialogs::Buttons::Ok, dialogs::Icon::Critical,
                         stationtexts::ErrorTitle);
        selectConnect(0);
        return;
    }
    ui->cmdConvert->setEnabled(true);
    ui->lblShowrecord->setText(QStringLiteral("Aerolist db connected, conversion can be started"));
}

void frmConvertAero::cmdLocate_Click() {
    if (running_) return;
    selectConnect(0);
    forms::unload<frmILGfinddbf>();
    if (frmILGfinddbf* finder = forms::load<frmILGfinddbf>()) finder->showModal();
}

void frmConvertAero::setRunning(bool on) {
    running_ = on;
    // A second conversion, or closing the window, while one runs would
    // pull the lines from under it.
    for (QWidget* w : std::initializer_list<QWidget*>{ui->cmdExit, ui->fraConnect, ui->fraDbtype, ui->cmdConvert,
                                                      ui->cmdLocate})
        w->setEnabled(!on);
}

void frmConvertAero::cmdConvert_Click() {
    if (running_) return;
    std::optional<QStringList> lines = readLines(sourcePath());
    if (!lines) {
        dialogs::message(stationtexts::CouldNotConnect, dialogs::Buttons::Ok, dialogs::Icon::Critical,
                         stationtexts::ErrorTitle);
        selectConnect(0);
        return;
    }
    source_ = std::move(*lines);
    next_ = 0;
    stop_ = false;
    conversion_.emplace(optDbtype[1]->isChecked());
    setRunning(true);
    chunkTimer_.start();
}

void frmConvertAero::cmdStop_Click() { stop_ = true; }

void frmConvertAero::cmdExit_Click() {
    if (running_) return;
    unload();
}

void frmConvertAero::convertChunk() {
    if (!running_ || !conversion_) return;
    for (int n = 0; n < kChunk; ++n) {
        if (stop_ || next_ >= source_.size()) {
            finish();
            return;
        }
        conversion_->feed(source_[next_++]);
        const int count = conversion_->count();
        if (count % 100 == 0) {
            ui->lblCount->setText(QString::number(count));
            ui->lblShowrecord->setText(conversion_->lastLine().left(77));
            ui->lblCount->repaint();
            ui->lblShowrecord->repaint();
        }
    }
}

void frmConvertAero::finish() {
    chunkTimer_.stop();
    const bool network = optDbtype[1]->isChecked();
    const QString name = network ? AeroNetworkName : AeroFullName;
    const int count = conversion_->count();
    QString why;
    const bool written = writeStationList(DataFolder + FileKindDir[3], name, conversion_->sortedLines(), &why);
    conversion_.reset();
    source_.clear();
    ui->lblShowrecord->clear();
    ui->lblCount->setText(QString::number(count));
    QPointer<frmConvertAero> self(this);
    if (written)
        dialogs::message(stationtexts::ConversionReady, dialogs::Buttons::Ok, dialogs::Icon::Information,
                         QStringLiteral("Aerolist database"));
    else
        dialogs::message(stationtexts::notWritten(name, why), dialogs::Buttons::Ok, dialogs::Icon::Exclamation,
                         QStringLiteral("Aerolist database"));
    if (!self) return;
    running_ = false;
    unload();
}

} // namespace dovrane
