#include "stations/frmconvertaero.h"
#include "ui_frmconvertaero.h"

#include "platform/dialogs.h"
#include "platform/text_file.h"
#include "shell/globals.h"
#include "stations/station_texts.h"

#include <QDir>
#include <QFileInfo>

namespace dovrane {

frmConvertAero::frmConvertAero() : ConvertWindow(0, &ConvertAeroOpen), ui(std::make_unique<Ui::frmConvertAero>()) {
    ui->setupUi(this);
    optDbtype = {ui->optDbtype_0, ui->optDbtype_1};
    bindConverter({{ui->optDbconnect_0, ui->optDbconnect_1}, ui->fraConnect, ui->cmdLocate, ui->cmdConvert,
                   ui->cmdStop, ui->cmdExit, ui->lblCount, ui->lblShowrecord,
                   {ui->cmdExit, ui->fraConnect, ui->fraDbtype, ui->cmdConvert, ui->cmdLocate}});
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
    stopConverting();
    conversion_.reset();
    source_.clear();
}

QString frmConvertAero::sourcePath() const { return QDir(FileKindPath[0]).filePath(FileKindName[0]); }

void frmConvertAero::optDbconnect_Click(int index) {
    if (converting()) return;
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

void frmConvertAero::cmdConvert_Click() {
    if (converting()) return;
    std::optional<QStringList> lines = readLines(sourcePath());
    if (!lines) {
        dialogs::message(stationtexts::CouldNotConnect, dialogs::Buttons::Ok, dialogs::Icon::Critical,
                         stationtexts::ErrorTitle);
        selectConnect(0);
        return;
    }
    source_ = std::move(*lines);
    next_ = 0;
    conversion_.emplace(optDbtype[1]->isChecked());
    startConverting();
}

bool frmConvertAero::convertNext() {
    if (!conversion_ || next_ >= source_.size()) return false;
    conversion_->feed(source_[next_++]);
    return true;
}

int frmConvertAero::count() const { return conversion_ ? conversion_->count() : 0; }

QString frmConvertAero::lastLine() const { return conversion_ ? conversion_->lastLine() : QString(); }

void frmConvertAero::finish() {
    if (!conversion_) return;
    const QString name = optDbtype[1]->isChecked() ? AeroNetworkName : AeroFullName;
    const int converted = conversion_->count();
    const QStringList lines = conversion_->sortedLines();
    conversion_.reset();
    source_.clear();
    writeList(lines, converted, name, QStringLiteral("Aerolist database"));
}

} // namespace dovrane
