#include "logbook/frmlog.h"
#include "ui_frmlog.h"

#include "lists/grid_columns.h"
#include "lists/list_table_model.h"
#include "logbook/frmlogformat.h"
#include "logbook/frmloginput.h"
#include "logbook/frmlogsort.h"
#include "logbook/log_record.h"
#include "platform/busycursor.h"
#include "platform/dialogs.h"
#include "shell/facade.h"
#include "shell/file_kinds.h"
#include "shell/frmloadfile.h"
#include "shell/frmsavefile.h"
#include "shell/globals.h"

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QTableWidget>

namespace dovrane {

namespace {

constexpr int kKind = 4;

const QString kLogging = QStringLiteral("Logging");
const QString kNoRecord = QStringLiteral("No record selected");
const QString kReplace = QStringLiteral("File %1 already exist.\nDo you want to replace it ?");
const QString kSaved = QStringLiteral("The data is now saved\nto the file %1");
const QString kSaveFailed =
    QStringLiteral("Something went wrong while\nsaving your data to a file ! ! !\nPLEASE TRY AGAIN\n\n%1");
const QString kExitText = QStringLiteral("Do you want to save data\nfrom the Logging window");
const QString kDeleteText = QStringLiteral("You are sure you want to delete\nrecord %1 about frequency %2?");
const QString kUnreadable = QStringLiteral("The file %1\ncould not be read.");
const QString kLeftOut = QStringLiteral(
    "The log holds at most %1 records:\n%2 lines at the end of the file were not loaded.\n"
    "They are kept, and every save writes them back after the others.");
const QString kFull = QStringLiteral("The log holds at most %1 records:\nno record can be added.");

// The fields a click on a grid cell tunes to: the frequency and the four
// alternative frequencies (the SINPO code is no frequency).
bool tunesField(int field) { return field == LogFieldFrequency || (field >= 8 && field <= 11); }

// The widest text of the number column and of each field as the file holds
// it: dates, times and frequencies in their digits, a language code of three
// capitals, free texts of their full width in capitals.
const std::vector<QString> kWidest{
    QStringLiteral("000"),       QStringLiteral("00000000"), QStringLiteral("0000"),  QStringLiteral("0000"),
    QStringLiteral("00000.000"), QStringLiteral("00000"),    QStringLiteral("WWW"),   anyCapitals(20),
    anyCapitals(20),             QStringLiteral("00000"),    QStringLiteral("00000"), QStringLiteral("00000"),
    QStringLiteral("00000"),     anyCapitals(40),            anyCapitals(4),          anyCapitals(4)};

void tell(const QString& text, const QString& title, dialogs::Icon icon = dialogs::Icon::Exclamation) {
    dialogs::message(text, dialogs::Buttons::Ok, icon, title);
}

} // namespace

frmLog::frmLog() : GridListWindow(12, &LogOpen), ui(std::make_unique<Ui::frmLog>()) {
    ui->setupUi(this);
    bindGrid(
        ui->grdLog, ui->grdTitles, [this](int row, int column) { grdLog_Click(row, column); }, ui->cmdLoad,
        [this] { cmdLoad_Click(); });
    ui->grdTitles->verticalHeader()->setDefaultSectionSize(18);
    ui->grdTitles->setFixedHeight(18 + 2 * ui->grdTitles->frameWidth());
    // The titles follow the grid sideways.
    connect(ui->grdLog->horizontalScrollBar(), &QScrollBar::valueChanged, ui->grdTitles->horizontalScrollBar(),
            &QScrollBar::setValue);
    connect(ui->cmdSaveas, &QPushButton::clicked, this, [this] { cmdSaveas_Click(); });
    connect(ui->cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(ui->cmdClose, &QPushButton::clicked, this, [this] { cmdClose_Click(); });
    connect(ui->cmdAddrecord, &QPushButton::clicked, this, [this] { cmdAddrecord_Click(); });
    connect(ui->cmdChangerecord, &QPushButton::clicked, this, [this] { cmdChangerecord_Click(); });
    connect(ui->cmdDeleterecord, &QPushButton::clicked, this, [this] { cmdDeleterecord_Click(); });
    connect(ui->cmdFormat, &QPushButton::clicked, this, [this] { cmdFormat_Click(); });
    connect(ui->cmdSort, &QPushButton::clicked, this, [this] { cmdSort_Click(); });
}

frmLog::~frmLog() = default;

void frmLog::Form_Load() {
    LogGridFormat = readLogGridFormat(DataFolder);
    fillLogColumnTables();
    // One font and one width per field for every format: those at which each
    // title and each field's widest text show whole.
    const QStringList titles(LogColTitle.begin(), LogColTitle.end());
    const std::vector<int> twips(LogColWidth.begin(), LogColWidth.end());
    std::vector<GridColumn> columns;
    for (size_t k = 0; k < twips.size(); ++k) columns.push_back({twips[k], kWidest.at(k)});
    fit_ = fitGridColumns(QApplication::font(ui->grdTitles), QApplication::font(ui->grdLog), titles, twips, columns);
    ui->grdTitles->setFont(fit_.titleFont);
    ui->grdLog->setFont(fit_.dataFont);
    useCompactCells(ui->grdTitles);
    useCompactCells(ui->grdLog);
    shownRows_ = 1;
    fillloggridheader();
    setlogbuttons(false);
    registerLogFileKind();
}

void frmLog::fillloggridheader() {
    fields_ = logGridFields(LogGridFormat);
    const int columns = int(fields_.size()) + 1;
    model_->setSource(shownRows_, columns, [this](int row, int column) -> QString {
        const int r = row - 1;
        if (r < 0 || r > LogLast || r >= int(LogRecords.size())) return QString();
        if (column == 0) return logNumberText(r);
        const size_t k = size_t(column - 1);
        return k < fields_.size() ? LogRecords[size_t(r)][size_t(fields_[k])] : QString();
    });
    // The number column, then one column per field shown; the widths go on
    // after the model has its columns, in both grids alike.
    std::vector<int> titlePx{fit_.titlePx.at(0)};
    std::vector<int> dataPx{fit_.dataPx.at(0)};
    QTableWidget* t = ui->grdTitles;
    t->setColumnCount(columns);
    t->setItem(0, 0, new QTableWidgetItem(LogColTitle[0]));
    for (int k = 1; k < columns; ++k) {
        const int f = fields_[size_t(k - 1)];
        t->setItem(0, k, new QTableWidgetItem(LogColTitle[size_t(f + 1)]));
        titlePx.push_back(fit_.titlePx.at(size_t(f + 1)));
        dataPx.push_back(fit_.dataPx.at(size_t(f + 1)));
    }
    setGridColumnWidths(t, titlePx);
    setGridColumnWidths(ui->grdLog, dataPx);
}

void frmLog::fillgrdlog() {
    BusyCursor busy;
    shownRows_ = LogLast + 2;
    model_->refresh(shownRows_);
}

void frmLog::setlogbuttons(bool enable) {
    buttonsOn_ = enable;
    updateButtons();
}

void frmLog::entryWindowChanged() { updateButtons(); }

void frmLog::updateButtons() {
    const bool entryOpen = LoginputOpen;
    for (QPushButton* b : {ui->cmdSaveas, ui->cmdSave, ui->cmdFormat}) b->setEnabled(buttonsOn_);
    for (QPushButton* b : {ui->cmdClose, ui->cmdSort, ui->cmdDeleterecord, ui->cmdChangerecord, ui->cmdAddrecord})
        b->setEnabled(buttonsOn_ && !entryOpen);
    ui->cmdLoad->setEnabled(!entryOpen);
}

void frmLog::cmdLoad_Click() {
    if (LoginputOpen) return;
    showLoadChooser(kKind);
}

void frmLog::cmdSaveas_Click() { showSaveChooser(kKind); }

bool frmLog::cmdSave_Click() {
    FileKind = kKind;
    const QString name = FileKindName[kKind];
    if (dialogs::message(kReplace.arg(name), dialogs::Buttons::YesNoCancel, dialogs::Icon::Question,
                         QStringLiteral("Save file")) != dialogs::Answer::Yes)
        return false;
    // Nothing is deleted first: the new file replaces the old one only once
    // it is complete, so a failed save leaves the old one as it was.
    QString error;
    bool written = checkfileexists(false);
    if (written) {
        QDir().mkpath(FileKindPath[kKind]);
        BusyCursor busy;
        written = writeWholeLog(FileKindPath[kKind] + name, &error);
    }
    if (!written) {
        tell(kSaveFailed.arg(error), QStringLiteral("Save File"));
        return false;
    }
    tell(kSaved.arg(name), QStringLiteral("Save File"));
    return true;
}

void frmLog::cmdClose_Click() {
    cmdSave_Click();
    shownRows_ = 1;
    model_->refresh(shownRows_);
    setlogbuttons(false);
}

bool frmLog::askToStay() {
    switch (dialogs::message(kExitText, dialogs::Buttons::YesNoCancel, dialogs::Icon::Question,
                             QStringLiteral("Exit"))) {
    case dialogs::Answer::Yes: cmdSaveas_Click(); return true;
    case dialogs::Answer::No: return false;
    default: return true;
    }
}

void frmLog::cmdExit_Click() {
    if (!askToStay()) unload();
}

bool frmLog::keepForUnsavedWork() {
    // The records of a loaded log are gone with the window; with none loaded
    // (or after Close, which offers the save) there is nothing to ask.
    return buttonsOn_ && askToStay();
}

void frmLog::cmdAddrecord_Click() {
    if (LoginputOpen) return;
    if (LogLast + 1 >= logCapacity()) {
        tell(kFull.arg(logCapacity()), kLogging);
        return;
    }
    LogAddMode = true;
    BusyCursor busy;
    frmLoginput* w = forms::load<frmLoginput>();
    if (!w) return;
    w->startAdd();
    w->show();
    w->raise();
}

void frmLog::cmdChangerecord_Click() {
    if (LoginputOpen) return;
    LogAddMode = false;
    LogSelected = ui->grdLog->currentIndex().row() - 1;
    if (LogSelected < 0 || LogSelected > LogLast) {
        tell(kNoRecord, kLogging);
        return;
    }
    BusyCursor busy;
    frmLoginput* w = forms::load<frmLoginput>();
    if (!w) return;
    w->startChange();
    w->show();
    w->raise();
}

void frmLog::cmdDeleterecord_Click() {
    if (LoginputOpen) return;
    const int r = ui->grdLog->currentIndex().row() - 1;
    if (r < 0 || r > LogLast || r >= int(LogRecords.size())) {
        tell(kNoRecord, kLogging);
        return;
    }
    const QString question = kDeleteText.arg(logNumberText(r), LogRecords[size_t(r)][LogFieldFrequency]);
    if (dialogs::message(question, dialogs::Buttons::OkCancel, dialogs::Icon::Question,
                         QStringLiteral("Check on Delete")) != dialogs::Answer::Ok)
        return;
    BusyCursor busy;
    LogRecords.erase(LogRecords.begin() + r);
    LogLast = int(LogRecords.size()) - 1;
    fillgrdlog();
}

void frmLog::cmdFormat_Click() {
    if (frmLogFormat* w = forms::load<frmLogFormat>()) w->showModal();
}

void frmLog::cmdSort_Click() {
    if (LoginputOpen) return;
    if (frmLogsort* w = forms::load<frmLogsort>()) w->showModal();
}

void frmLog::grdLog_Click(int row, int column) {
    if (column < 1 || column > int(fields_.size())) return;
    if (!tunesField(fields_[size_t(column - 1)])) return;
    tuneTo(cell(row, column));
    const int r = row - 1;
    if (row >= 1 && r <= LogLast && r < int(LogRecords.size())) {
        QString letter = LogRecords[size_t(r)][LogFieldRxSetting].left(1);
        SetRx2mfa(letter);
    }
}

bool loadlogfile() {
    const QString name = FileKindName[kKind];
    const QString path = FileKindPath[kKind] + name;
    std::optional<LogFileContent> content;
    {
        BusyCursor busy;
        content = readLogFile(path, logCapacity());
    }
    if (!content) {
        tell(kUnreadable.arg(path), QStringLiteral("Load File"));
        return false;
    }
    LogRecords = std::move(content->records);
    LogBeyond = std::move(content->beyond);
    LogLast = int(LogRecords.size()) - 1;
    if (frmLog* w = forms::loaded<frmLog>()) {
        if (QLabel* l = w->findChild<QLabel*>(QStringLiteral("lblDBname"))) l->setText(name);
        w->fillgrdlog();
        w->setlogbuttons(true);
    }
    if (content->leftOut > 0)
        tell(kLeftOut.arg(logCapacity()).arg(content->leftOut), QStringLiteral("Load File"),
             dialogs::Icon::Information);
    return true;
}

bool savelogfile() {
    BusyCursor busy;
    return writeWholeLog(FileKindPath[kKind] + FileKindName[kKind]);
}

void sortlog() {
    BusyCursor busy;
    sortLogRecords(LogRecords, LogSortKey);
}

void registerLogFileKind() {
    registerLoader(kKind, 0, [] { return loadlogfile(); });
    registerWriter(kKind, [] { return savelogfile(); });
}

} // namespace dovrane
