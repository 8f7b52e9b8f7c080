#include "lists/frmlast20.h"
#include "ui_frmlast20.h"

#include "lists/grid_columns.h"
#include "lists/last20_list.h"
#include "platform/geometry.h"
#include "shell/facade.h"
#include "shell/globals.h"
#include "platform/number_text.h"
#include "shell/unloadallforms.h"

#include <QApplication>
#include <QHeaderView>

namespace dovrane {

namespace {
constexpr int kNrWidthTwips = 400;
constexpr int kFreqWidthTwips = 1200;
} // namespace

frmLast20::frmLast20() : Form(10, &Last20Open), ui(std::make_unique<Ui::frmLast20>()) {
    ui->setupUi(this);
    registerWindow(&Last20Open, this);
    connect(ui->grdLast20, &QTableWidget::cellClicked, this, [this](int row, int) { grdLast20_Click(row); });
    connect(ui->cmdClear, &QPushButton::clicked, this, [this] { cmdClear_Click(); });
    connect(ui->cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });
}

frmLast20::~frmLast20() = default;

QTableWidget* frmLast20::grid() const { return ui->grdLast20; }

void frmLast20::Form_Load() {
    for (QTableWidget* g : {ui->grdTitles, ui->grdLast20}) {
        g->setTextElideMode(Qt::ElideNone);
        g->setWordWrap(false);
        g->verticalHeader()->setDefaultSectionSize(18);
    }
    // A row number " 19" and a frequency as the panel shows it, "00000.000" at most.
    const QFont base = QApplication::font(ui->grdLast20);
    applyGridFit(fitGridColumns(base, base, {QStringLiteral(" NR"), QStringLiteral(" FREQUENCY")},
                                {kNrWidthTwips, kFreqWidthTwips},
                                {{kNrWidthTwips, QStringLiteral(" 00")}, {kFreqWidthTwips, QStringLiteral("00000.000")}}),
                 ui->grdTitles, ui->grdLast20);
    ui->grdTitles->setItem(0, 0, new QTableWidgetItem(QStringLiteral(" NR")));
    ui->grdTitles->setItem(0, 1, new QTableWidgetItem(QStringLiteral(" FREQUENCY")));
    ui->grdTitles->setFixedHeight(ui->grdTitles->rowHeight(0) + 2 * ui->grdTitles->frameWidth());
    // The history outlives the window, so a window loaded again shows it at once.
    showRows();
}

void frmLast20::setRow(int row, const QString& text) {
    QTableWidget* g = ui->grdLast20;
    if (g->rowCount() <= row) g->setRowCount(row + 1);
    g->setItem(row, 0, new QTableWidgetItem(numText(double(row))));
    g->setItem(row, 1, new QTableWidgetItem(text));
}

void frmLast20::showRows() {
    ui->grdLast20->setRowCount(Last20Size);
    for (int r = 0; r < Last20Size; ++r) setRow(r, Last20[size_t(r)]);
}

void frmLast20::fillgrdlast20() {
    if (PanelHandlers* panel = openPanel()) fillgrdlast20(panel->frequencyText());
}

void frmLast20::fillgrdlast20(const QString& text) {
    pushLast20(text);
    showRows();
}

void frmLast20::grdLast20_Click(int row) {
    if (row < 0 || row >= Last20Size) return;
    const QString entry = Last20[size_t(row)];
    // A row that holds nothing has nothing to tune to.
    if (entry.isEmpty()) return;
    Change2FreqA(val(entry));
    // Tuning moved the entry to the top of the list: the selection follows it
    // rather than stay on a row that now shows another frequency.
    if (!isLoaded()) return;
    QTableWidget* g = ui->grdLast20;
    g->clearSelection();
    g->setCurrentCell(-1, -1);
    for (int r = 0; r < Last20Size; ++r) {
        if (Last20[size_t(r)] == entry) {
            g->setCurrentCell(r, 1);
            break;
        }
    }
}

void frmLast20::cmdClear_Click() {
    clearLast20();
    ui->grdLast20->clearContents();
    ui->grdLast20->setRowCount(1);
    showRows();
}

void frmLast20::cmdExit_Click() { hide(); }

} // namespace dovrane
