#include "lists/frmscratchpad.h"
#include "ui_frmscratchpad.h"

#include "lists/grid_columns.h"
#include "lists/scratchpad_file.h"
#include "platform/busycursor.h"
#include "platform/dialogs.h"
#include "platform/geometry.h"
#include "shell/facade.h"
#include "shell/file_kinds.h"
#include "shell/frmloadfile.h"
#include "shell/frmsavefile.h"
#include "shell/globals.h"
#include "platform/number_text.h"
#include "platform/one_line_text.h"
#include "shell/show_panel.h"
#include "platform/text_file.h"
#include "shell/unloadallforms.h"

#include <QApplication>
#include <QHeaderView>
#include <QSignalBlocker>
#include <array>

namespace dovrane {

namespace {

constexpr int kKind = 9;
constexpr int kColumnTwips = 885;

const QString kClearCellText = QStringLiteral("You are sure you want to clear\nthe active scratchpad gridcell");
const QString kClearCellTitle = QStringLiteral("Clear grid cell check");
const QString kClearGridText = QStringLiteral("You are sure you want to clear\nthe whole scratchpad grid");
const QString kClearGridTitle = QStringLiteral("Clear grid check");
const QString kExitText = QStringLiteral("Do you want to save data\nfrom the Frequency Scratchpad");
const QString kExitTitle = QStringLiteral("Exit");
const QString kUnreadable = QStringLiteral("The file %1\ncould not be read.");

bool askYes(const QString& text, const QString& title) {
    return dialogs::message(text, dialogs::Buttons::YesNoCancel, dialogs::Icon::Question, title) ==
           dialogs::Answer::Yes;
}

} // namespace

frmScratchpad::frmScratchpad() : Form(27, &ScratchpadOpen), ui(std::make_unique<Ui::frmScratchpad>()) {
    ui->setupUi(this);
    registerWindow(&ScratchpadOpen, this);
    connect(ui->cmdRezeri, &QPushButton::clicked, this, [this] { cmdRezeri_Click(); });
    connect(ui->cmdSp2rx, &QPushButton::clicked, this, [this] { cmdSp2rx_Click(); });
    connect(ui->cmdRx2sp, &QPushButton::clicked, this, [this] { cmdRx2sp_Click(); });
    connect(ui->cmdLoad, &QPushButton::clicked, this, [this] { cmdLoad_Click(); });
    connect(ui->cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(ui->cmdClrgrid, &QPushButton::clicked, this, [this] { cmdClrgrid_Click(); });
    connect(ui->cmdClrcell, &QPushButton::clicked, this, [this] { cmdClrcell_Click(); });
    connect(ui->cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });
    connect(ui->grdScratchpad, &QTableWidget::cellDoubleClicked, this, [this] { grdScratchpad_DblClick(); });
    // A typed "," would split the cell when the grid is saved, a pasted line
    // break the row, and a character the file cannot hold would be lost: all
    // are dealt with as the cell is left. A line break becomes a blank.
    connect(ui->grdScratchpad, &QTableWidget::itemChanged, this, [](QTableWidgetItem* item) {
        const QString typed = oneLineText(item->text());
        const QString unstorable = unstorableCharacters(typed);
        QString fixed = scratchpadCellText(typed);
        for (QChar c : unstorable) fixed.remove(c);
        if (fixed != item->text()) {
            QSignalBlocker block(item->tableWidget());
            item->setText(fixed);
        }
        if (!unstorable.isEmpty())
            dialogs::message(unstorableReason(unstorable) + QStringLiteral("\nThey were taken out of the cell."),
                             dialogs::Buttons::Ok, dialogs::Icon::Exclamation, QStringLiteral("Freq Scratchpad"));
    });
}

frmScratchpad::~frmScratchpad() = default;

QTableWidget* frmScratchpad::grid() const { return ui->grdScratchpad; }

void frmScratchpad::Form_Load() {
    // A cell holds a frequency as the panel shows it, "00000.000" at most.
    const std::vector<GridColumn> columns(size_t(ScratchpadColumns), GridColumn{kColumnTwips, QStringLiteral("00000.000")});
    const QFont base = QApplication::font(ui->grdScratchpad);
    applyGridFit(fitGridColumns(base, base, {}, {}, columns), nullptr, ui->grdScratchpad);
    ui->grdScratchpad->verticalHeader()->setDefaultSectionSize(22);
    cleargridscratchpad();
    registerLoader(kKind, 0, [] { return loadscratchpadfile(); });
    registerWriter(kKind, [] { return savescratchpadfile(); });
}

void frmScratchpad::Form_Unload() {
    registerLoader(kKind, 0, nullptr);
    registerWriter(kKind, nullptr);
}

void frmScratchpad::cleargridscratchpad() {
    QTableWidget* g = ui->grdScratchpad;
    QSignalBlocker block(g);
    for (int r = 0; r < g->rowCount(); ++r)
        for (int c = 0; c < g->columnCount(); ++c) g->setItem(r, c, new QTableWidgetItem());
    if (g->rowCount() > 0) g->setCurrentCell(0, 0);
}

QList<QStringList> frmScratchpad::rows() const {
    QList<QStringList> out;
    const QTableWidget* g = ui->grdScratchpad;
    for (int r = 0; r < g->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < g->columnCount(); ++c) {
            const QTableWidgetItem* item = g->item(r, c);
            cells << (item ? item->text() : QString());
        }
        out << cells;
    }
    return out;
}

void frmScratchpad::showRows(const QList<QStringList>& rows) {
    QTableWidget* g = ui->grdScratchpad;
    // The rows read and one empty row after them, but never more rows than
    // the file takes back in, so every row saved comes back on loading.
    g->setRowCount(std::min<int>(int(rows.size()) + 1, ScratchpadRows));
    cleargridscratchpad();
    QSignalBlocker block(g);
    for (int r = 0; r < rows.size() && r < g->rowCount(); ++r)
        for (int c = 0; c < rows[r].size() && c < g->columnCount(); ++c)
            g->item(r, c)->setText(scratchpadCellText(rows[r][c]));
}

QString frmScratchpad::currentText() const {
    const QTableWidgetItem* item = ui->grdScratchpad->currentItem();
    return item ? item->text() : QString();
}

void frmScratchpad::setCurrentText(const QString& text) {
    QTableWidget* g = ui->grdScratchpad;
    const int r = g->currentRow(), c = g->currentColumn();
    if (r < 0 || c < 0) return;
    QTableWidgetItem* item = g->item(r, c);
    if (!item) g->setItem(r, c, item = new QTableWidgetItem());
    item->setText(text);
}

bool frmScratchpad::toReceiver() { return Change2FreqA(val(currentText())); }

void frmScratchpad::cmdSp2rx_Click() { toReceiver(); }

void frmScratchpad::cmdRx2sp_Click() {
    if (RxType == 0) return;
    if (PanelHandlers* panel = openPanel()) setCurrentText(panel->frequencyText());
}

void frmScratchpad::grdScratchpad_DblClick() {
    if (currentText().isEmpty()) return;
    // The cell takes the panel's text only when the receiver was tuned, so a
    // refused entry stays as it was typed.
    if (toReceiver()) cmdRx2sp_Click();
}

void frmScratchpad::cmdClrcell_Click() {
    if (askYes(kClearCellText, kClearCellTitle)) setCurrentText(QString());
}

void frmScratchpad::cmdClrgrid_Click() {
    if (askYes(kClearGridText, kClearGridTitle)) cleargridscratchpad();
}

void frmScratchpad::cmdExit_Click() {
    switch (dialogs::message(kExitText, dialogs::Buttons::YesNoCancel, dialogs::Icon::Question, kExitTitle)) {
    case dialogs::Answer::Yes: cmdSave_Click(); break;
    case dialogs::Answer::No: unload(); break;
    default: break;
    }
}

void frmScratchpad::cmdRezeri_Click() { showCurrentPanel(); }

void frmScratchpad::cmdLoad_Click() { showLoadChooser(kKind); }

void frmScratchpad::cmdSave_Click() { showSaveChooser(kKind); }

bool loadscratchpadfile() {
    frmScratchpad* w = forms::loaded<frmScratchpad>();
    if (!w) return false;
    BusyCursor busy;
    const QString path = FileKindPath[kKind] + FileKindName[kKind];
    const std::optional<QList<QStringList>> rows = readScratchpadFile(path);
    if (!rows) {
        dialogs::message(kUnreadable.arg(path), dialogs::Buttons::Ok, dialogs::Icon::Exclamation,
                         QStringLiteral("Load File"));
        return false;
    }
    w->showRows(*rows);
    return true;
}

bool savescratchpadfile() {
    frmScratchpad* w = forms::loaded<frmScratchpad>();
    if (!w) return false;
    return writeScratchpadFile(FileKindPath[kKind] + FileKindName[kKind], w->rows());
}

} // namespace dovrane
