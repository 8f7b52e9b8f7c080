#include "stations/frmconvertilg.h"
#include "ui_frmconvertilg.h"

#include "platform/dialogs.h"
#include "shell/globals.h"
#include "stations/station_texts.h"


namespace dovrane {

frmConvertILG::frmConvertILG() : ConvertWindow(5, &ConvertILGOpen), ui(std::make_unique<Ui::frmConvertILG>()) {
    ui->setupUi(this);
    chkInclude = {ui->chkInclude_0, ui->chkInclude_1, ui->chkInclude_2, ui->chkInclude_3};
    bindConverter({{ui->optDbconnect_0, ui->optDbconnect_1, ui->optDbconnect_2}, ui->fraConnect, ui->cmdLocate,
                   ui->cmdConvert, ui->cmdStop, ui->cmdExit, ui->lblRecnum, ui->lblRecord,
                   {ui->cmdExit, ui->fraConnect, ui->fraInclude, ui->datILG, ui->cmdConvert, ui->cmdLocate}});
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
    stopConverting();
    conversion_.reset();
    table_.close();
}

int frmConvertILG::convertedCount() const { return conversion_ ? conversion_->count() : 0; }

void frmConvertILG::optDbconnect_Click(int index) {
    if (converting()) return;
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
    // Another table under the table's name would convert to an empty list.
    if (const QStringList missing = missingBroadcastFields(table_); !missing.isEmpty()) {
        table_.close();
        dialogs::message(stationtexts::lacksFields(recordSource_, missing), dialogs::Buttons::Ok,
                         dialogs::Icon::Critical, stationtexts::ErrorTitle);
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

void frmConvertILG::cmdConvert_Click() {
    if (converting() || !table_.isOpen()) return;
    table_.moveFirst();
    IlgIncludes include{};
    for (size_t i = 0; i < include.size(); ++i) include[i] = chkInclude[i]->isChecked();
    conversion_.emplace(table_, include);
    startConverting();
}

bool frmConvertILG::convertNext() {
    if (!conversion_ || conversion_->atEnd()) return false;
    conversion_->convertNext();
    return true;
}

int frmConvertILG::count() const { return convertedCount(); }

QString frmConvertILG::lastLine() const { return conversion_ ? conversion_->lastLine() : QString(); }

void frmConvertILG::finish() {
    if (!conversion_) return;
    const QString name = broadcastListName(recordSource_);
    const int converted = conversion_->count();
    const QStringList lines = conversion_->sortedLines();
    conversion_.reset();
    writeList(lines, converted, name, QStringLiteral("ILGRadio database"));
}

} // namespace dovrane
