#include "memories/frmmemman.h"
#include "ui_frmmemman.h"

#include "drivers/model_tables.h"
#include "drivers/rx_link.h"
#include "memories/frmmemcell.h"
#include "memories/memman_files.h"
#include "memories/memory_grid_model.h"
#include "memories/memory_image.h"
#include "memories/memory_print.h"
#include "memories/memory_reports.h"
#include "memories/memory_texts.h"
#include "memories/memory_transfer.h"
#include "platform/busycursor.h"
#include "platform/commport.h"
#include "platform/delay.h"
#include "platform/dialogs.h"
#include "platform/geometry.h"
#include "platform/number_text.h"
#include "platform/printing.h"
#include "shell/file_kinds.h"
#include "shell/frmloadfile.h"
#include "shell/frmsavefile.h"
#include "shell/globals.h"
#include "shell/run_notice.h"
#include "shell/show_panel.h"
#include "shell/unloadallforms.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHeaderView>
#include <QPointer>
#include <QScrollBar>
#include <array>

namespace dovrane {

namespace {

constexpr int kKind = 8;
constexpr int kPosition = 17;
constexpr std::array<int, 6> kTitleTwips{600, 1200, 600, 600, 2800, 2800};
constexpr std::array<int, 5> kGridTwips{600, 1200, 600, 600, 5600};
// Rows the grid shows below the scan's top row.
constexpr int kScanRows = 15;

dialogs::Answer ask(const QString& text, const QString& title) {
    return dialogs::message(text, dialogs::Buttons::YesNoCancel, dialogs::Icon::Question, title);
}

void warn(const QString& text, const QString& title) {
    dialogs::message(text, dialogs::Buttons::Ok, dialogs::Icon::Exclamation, title);
}

void inform(const QString& text, const QString& title) {
    dialogs::message(text, dialogs::Buttons::Ok, dialogs::Icon::Information, title);
}

int nearest(const QString& text) { return valRounded(text); }

} // namespace

// ---- window -------------------------------------------------------------

frmMemman::frmMemman()
    : Form(kPosition, &MemmanOpen), ui(std::make_unique<Ui::frmMemman>()), scan_([this](int n) { return setCell(n); }) {
    ui->setupUi(this);
    registerWindow(&MemmanOpen, this);
    model_ = new MemoryGridModel(this);
    ui->grdMemman->setModel(model_);
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    ui->grdMemman->setFont(fixed);
    ui->grdTitles->setFont(fixed);
    ui->grdMemman->verticalHeader()->setDefaultSectionSize(18);
    ui->cmdScanstop->setVisible(false);
    tmrScan.setParent(this);   // a window's timer: it waits while a sequence runs
    tmrScan.setSingleShot(false);

    connect(ui->cmdFetch, &QPushButton::clicked, this, [this] { cmdFetch_Click(); });
    connect(ui->cmdFill, &QPushButton::clicked, this, [this] { cmdFill_Click(); });
    connect(ui->cmdSetrx2mem, &QPushButton::clicked, this, [this] { cmdSetrx2mem_Click(); });
    connect(ui->cmdSort, &QPushButton::clicked, this, [this] { cmdSort_Click(); });
    connect(ui->cmdChange, &QPushButton::clicked, this, [this] { cmdChange_Click(); });
    connect(ui->cmdDump, &QPushButton::clicked, this, [this] { cmdDump_Click(); });
    connect(ui->cmdCopy, &QPushButton::clicked, this, [this] { cmdCopy_Click(); });
    connect(ui->cmdDelete, &QPushButton::clicked, this, [this] { cmdDelete_Click(); });
    connect(ui->cmdLoad, &QPushButton::clicked, this, [this] { cmdLoad_Click(); });
    connect(ui->cmdsaveas, &QPushButton::clicked, this, [this] { cmdsaveas_Click(); });
    connect(ui->cmdPrint, &QPushButton::clicked, this, [this] { cmdPrint_Click(); });
    connect(ui->cmdCls, &QPushButton::clicked, this, [this] { cmdCls_Click(); });
    connect(ui->cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });
    connect(ui->cmdRezeri, &QPushButton::clicked, this, [this] { cmdRezeri_Click(); });
    connect(ui->cmdScanrun, &QPushButton::clicked, this, [this] { cmdScanrun_Click(); });
    connect(ui->cmdScanstop, &QPushButton::clicked, this, [this] { cmdScanstop_Click(); });
    connect(ui->grdMemman, &QTableView::clicked, this, [this] { grdMemman_Click(); });
    connect(ui->grdMemman, &QTableView::doubleClicked, this, [this] { grdMemman_DblClick(); });
    connect(ui->lblFrom, &ClickableLabel::clicked, this, [this] { lblFrom_Click(); });
    connect(ui->lblTo, &ClickableLabel::clicked, this, [this] { lblTo_Click(); });
    connect(&tmrScan, &QTimer::timeout, this, [this] { tmrScan_Timer(); });
}

frmMemman::~frmMemman() = default;

QTableView* frmMemman::grid() const { return ui->grdMemman; }

QTableWidget* frmMemman::titles() const { return ui->grdTitles; }

void frmMemman::Form_Load() {
    MemImage.create(MaxMemNr);
    CurMemNr = 0;
    memcmdenabler(false);
    for (QPushButton* b : {ui->cmdFetch, ui->cmdLoad, ui->cmdExit, ui->cmdRezeri}) b->setEnabled(true);
    if (RxType >= 1 && RxType <= 4 && Comm1) transfer_ = std::make_unique<MemoryTransfer>(RxType, *Comm1);
    if (RxType == 3) {
        ui->cmdFetch->setEnabled(false);
        ui->cmdFill->setEnabled(false);
    }
    model_->refreshAll();
    ui->txtTo->setText(numText(double(MaxMemNr)));

    for (size_t c = 0; c < kTitleTwips.size(); ++c) ui->grdTitles->setColumnWidth(int(c), twipsToPx(kTitleTwips[c]));
    for (size_t c = 0; c < kGridTwips.size(); ++c) ui->grdMemman->setColumnWidth(int(c), twipsToPx(kGridTwips[c]));
    const QStringList titles{QStringLiteral(" NR"), QStringLiteral(" FREQUENCY"), QStringLiteral("MD"),
                             QStringLiteral(" BW"), QStringLiteral(" ADDITIONAL INFORMATION"), QString()};
    for (int c = 0; c < titles.size(); ++c) ui->grdTitles->setItem(0, c, new QTableWidgetItem(titles[c]));
    ui->grdTitles->verticalHeader()->setDefaultSectionSize(20);

    registerLoader(kKind, 0, [] { return loadmemfile(); });
    registerWriter(kKind, [] { return savememfile(); });
}

void frmMemman::Form_Unload() {
    tmrScan.stop();
    scan_.stop();
    forms::unload<frmMemcell>();
    registerLoader(kKind, 0, nullptr);
    registerWriter(kKind, nullptr);
    // A transfer in progress still uses the driver; it lets go of it when it
    // sees that the window has gone.
    if (!transferRunning_) transfer_.reset();
}

void frmMemman::closeEvent(QCloseEvent* event) {
    if (transferRunning_) {
        event->ignore();
        return;
    }
    Form::closeEvent(event);
}

bool frmMemman::keepForUnsavedWork() {
    // A transfer lets go of the window by itself (Form_Unload); what it has
    // read is still in the receiver.
    if (transferRunning_ || !isLoaded() || !MemImage.modified()) return false;
    switch (ask(memtext::ExitQuestion, memtext::ExitTitle)) {
    case dialogs::Answer::No: return false;
    case dialogs::Answer::Yes: cmdsaveas_Click(); return true;
    default: return true;
    }
}

// ---- public procedures --------------------------------------------------

void frmMemman::cleargrdmemman() {
    model_->refreshAll();
    ui->grdMemman->clearSelection();
    ui->grdMemman->setCurrentIndex(model_->index(0, 0));
}

void frmMemman::clearadditionalinfo() {
    for (QLabel* l : {ui->lblCellnr, ui->lblScan, ui->lblAtt, ui->lblAgc, ui->lblPBS, ui->lblBfo, ui->lblSql})
        l->setText(QString());
}

void frmMemman::formatmemx2list(int cellnr) { model_->refreshRow(cellnr); }

void frmMemman::memcmdenabler(bool enable) {
    for (QPushButton* b : {ui->cmdChange, ui->cmdDump, ui->cmdCopy, ui->cmdDelete, ui->cmdLoad, ui->cmdsaveas,
                           ui->cmdPrint, ui->cmdCls, ui->cmdExit, ui->cmdSort, ui->cmdRezeri, ui->cmdScanrun,
                           ui->cmdSetrx2mem})
        b->setEnabled(enable);
    if (RxType != 3) {
        ui->cmdFetch->setEnabled(enable);
        ui->cmdFill->setEnabled(enable);
    }
}

bool frmMemman::memarrayloaded() const { return MemImage.anyLoaded(); }

void frmMemman::selectRow(int n) {
    ui->grdMemman->setCurrentIndex(model_->index(n, 0));
    ui->grdMemman->selectionModel()->select(
        QItemSelection(model_->index(n, 0), model_->index(n, 4)), QItemSelectionModel::ClearAndSelect);
}

void frmMemman::showFileName(const QString& name) {
    QTableWidgetItem* item = ui->grdTitles->item(0, 5);
    if (!item) ui->grdTitles->setItem(0, 5, item = new QTableWidgetItem());
    item->setText(name);
}

void frmMemman::showBanner(const QString& what) {
    ui->lblCellnr->setText(QString());
    ui->lblScan->setText(QString());
    ui->lblAtt->setText(QStringLiteral("========"));
    ui->lblAgc->setText(what);
    ui->lblPBS->setText(QStringLiteral("Receiver"));
    ui->lblBfo->setText(QStringLiteral(" Memory "));
    ui->lblSql->setText(QStringLiteral("========"));
}

void frmMemman::resetRange() {
    warn(memtext::InputError, memtext::RangeErrorTitle);
    ui->txtFrom->setText(QStringLiteral("0"));
    ui->txtTo->setText(numText(double(MaxMemNr)));
    ui->txtDelay->setText(QStringLiteral("2"));
    ui->txtFrom->setFocus();
}

// ---- transfers ----------------------------------------------------------

void frmMemman::cmdFetch_Click() {
    if (transferRunning_) return;
    if (ask(memtext::FetchQuestion, memtext::FetchTitle) != dialogs::Answer::Yes) return;
    QPointer<frmMemman> self(this);
    // The image is made anew by the fetch itself, once the receiver has
    // given its first channel: a silent receiver empties nothing.
    MemoryTransfer::Result res;
    int last = 0;
    {
        BusyCursor busy;
        memcmdenabler(false);
        cleargrdmemman();
        showBanner(QStringLiteral("Fetching"));
        last = std::min(nearest(ui->txtTo->text()), int(MaxMemNr));
        if (transfer_) {
            transferRunning_ = true;
            MemoryTransfer::Hooks hooks;
            hooks.progress = [this](int n) {
                ui->lblCellnr->setText(cellText(n));
                // After the first channel the image is a new one: every row.
                if (n == 1) model_->refreshAll();
                else if (n > 1) formatmemx2list(n - 1);
                delayms(0);
            };
            hooks.alive = [self] { return self && self->isLoaded(); };
            res = transfer_->fetch(MemImage, last, hooks);
            if (!self) return;
            transferRunning_ = false;
            if (!isLoaded()) {
                transfer_.reset();
                return;
            }
            model_->refreshAll();
        }
        memcmdenabler(true);
    }
    if (res.moved > 0) MemImage.setModified(true);
    if (res.lost) {
        // One message: that the receiver does not answer, and where the fetch
        // stopped (the grid marks the unread cells) or that nothing changed.
        const QString what = res.moved > 0 ? memtext::FetchLost.arg(cellText(res.stoppedAt), cellText(last))
                                           : memtext::FetchNothing;
        warn(takeRxNoticeText() + QStringLiteral("\n\n") + what, memtext::FetchStoppedTitle);
    } else if (res.moved == 0) {
        // No receiver, or a "To" below 0: nothing read, nothing changed.
        inform(memtext::FetchNothing, memtext::FetchTitle);
    } else {
        QString report = memtext::Fetched;
        const int status = statusChannel(RxType);
        if (status >= 0 && status <= last) report += QStringLiteral("\n\n") + memtext::StatusChannelFetched.arg(status);
        inform(report, memtext::FetchedTitle);
    }
    if (self && self->isLoaded()) clearadditionalinfo();
}

void frmMemman::cmdFill_Click() {
    if (transferRunning_) return;
    MemFrom = nearest(ui->txtFrom->text());
    MemTo = nearest(ui->txtTo->text());
    if (!(MemFrom >= 0 && MemFrom < MaxMemNr && MemTo >= 0 && MemTo <= MaxMemNr)) {
        resetRange();
        return;
    }
    if (MemFrom > MemTo) std::swap(MemFrom, MemTo);
    if (ask(memtext::FillQuestion.arg(numText(double(MemFrom)), numText(double(MemTo))), memtext::FillTitle) !=
        dialogs::Answer::Yes)
        return;
    // The status channel is the user's to write or to leave; Cancel writes
    // nothing at all.
    const int status = statusChannel(RxType);
    int leave = -1;
    if (status >= MemFrom && status <= MemTo) {
        switch (ask(memtext::StatusChannelFill.arg(status), memtext::StatusChannelTitle)) {
        case dialogs::Answer::Yes: break;
        case dialogs::Answer::No: leave = status; break;
        default: return;
        }
    }
    QPointer<frmMemman> self(this);
    showBanner(QStringLiteral("Filling"));
    MemoryTransfer::Result res;
    {
        BusyCursor busy;
        memcmdenabler(false);
        if (transfer_) {
            transferRunning_ = true;
            MemoryTransfer::Hooks hooks;
            hooks.progress = [this](int n) {
                ui->lblCellnr->setText(cellText(n));
                delayms(0);
            };
            hooks.alive = [self] { return self && self->isLoaded(); };
            res = transfer_->fill(MemImage, MemFrom, MemTo, hooks, leave);
            if (!self) return;
            transferRunning_ = false;
            if (!isLoaded()) {
                transfer_.reset();
                return;
            }
        }
        memcmdenabler(true);
    }
    if (!transfer_) {
        // No receiver (or no port to it): nothing could be written.
        warn(memtext::NoReceiverFill, memtext::FillTitle);
    } else {
        // One message: with a receiver lost, its notice and which cells it cost.
        const FillReport report = fillReport(res, MemTo, res.lost ? takeRxNoticeText() : QString());
        if (report.failure) warn(report.text, report.title);
        else inform(report.text, report.title);
    }
    if (self && self->isLoaded()) clearadditionalinfo();
}

MemoryTransfer::SetResult frmMemman::setCell(int n) {
    if (n < 0 || n > MaxMemNr || !transfer_ || transferRunning_) return MemoryTransfer::SetResult::Passed;
    return transfer_->setR2M(MemImage.record(n));
}

void frmMemman::cmdSetrx2mem_Click() {
    // A scan tick is talking to the receiver (a double-click can come in its
    // waits): the next tick sets the receiver anyway.
    if (tickRunning_) return;
    if (setCell(CurMemNr) == MemoryTransfer::SetResult::NotOfModel)
        warn(memtext::recordRefusal(checkRecord(MemImage.record(CurMemNr), RxType), CurMemNr), memtext::NotSetTitle);
}

// ---- sort, files, clear, exit -------------------------------------------

void frmMemman::cmdSort_Click() {
    if (!memarrayloaded()) {
        warn(memtext::NoDataSort, memtext::SortEmptyTitle);
        return;
    }
    if (ask(memtext::SortQuestion, memtext::SortTitle) != dialogs::Answer::Yes) return;
    {
        BusyCursor busy;
        sortOnFrequency(MemImage);
        cleargrdmemman();
    }
    warn(memtext::Sorted, memtext::SortedTitle);
}

void frmMemman::openEditor(int job, const QString& caption) {
    // The editor reads its job and cell when it loads: a new job starts afresh.
    forms::unload<frmMemcell>();
    MemcellMode = job;
    frmMemcell* w = forms::load<frmMemcell>();
    if (!w || !w->isLoaded()) return;
    w->show();
    w->setWindowTitle(caption);
    w->raise();
    w->activateWindow();
}

void frmMemman::cmdChange_Click() {
    if (!memarrayloaded()) {
        warn(memtext::NoData, memtext::ChangeErrorTitle);
        return;
    }
    openEditor(1, QStringLiteral("Change selected Mem Cell"));
}

void frmMemman::cmdDump_Click() { openEditor(2, QStringLiteral(" Store Rx setting in Mem Cell")); }

void frmMemman::cmdCopy_Click() {
    if (!memarrayloaded()) {
        warn(memtext::NoData, memtext::ChangeErrorTitle);
        return;
    }
    openEditor(3, QStringLiteral("Copy to other Mem Cell"));
}

void frmMemman::cmdDelete_Click() {
    if (!memarrayloaded()) {
        warn(memtext::NoData, memtext::ChangeErrorTitle);
        return;
    }
    openEditor(4, QStringLiteral("Delete selected Mem Cell"));
}

void frmMemman::cmdPrint_Click() {
    if (!memarrayloaded()) {
        warn(memtext::NoData, memtext::NothingToPrintTitle);
        return;
    }
    MemFrom = nearest(ui->txtFrom->text());
    MemTo = nearest(ui->txtTo->text());
    if (!(MemFrom >= 0 && MemFrom < MaxMemNr && MemTo >= 0 && MemTo <= MaxMemNr)) {
        warn(memtext::InputError, memtext::PrintRangeErrorTitle);
        ui->txtFrom->setText(QStringLiteral("0"));
        ui->txtTo->setText(numText(double(MaxMemNr)));
        ui->txtFrom->setFocus();
        return;
    }
    if (MemFrom > MemTo) std::swap(MemFrom, MemTo);
    if (ask(memtext::PrintQuestion.arg(numText(double(MemFrom)), numText(double(MemTo))), memtext::PrintTitle) !=
        dialogs::Answer::Yes)
        return;
    // "Courier New" where the system has it, else its own fixed-pitch font.
    QFont font(QStringLiteral("Courier New"), 10);
    if (!QFontInfo(font).fixedPitch()) {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setPointSize(10);
    }
    const DocumentComposer doc =
        linesComposer(memoryPrintLines(RxType, MemImage, MemFrom, MemTo, FileKindName[kKind]), font);
    if (memoryPrinter) memoryPrinter(doc);
    else printDocumentWithDialog(this, doc);
}

void frmMemman::cmdLoad_Click() { showLoadChooser(kKind); }

void frmMemman::cmdsaveas_Click() {
    if (!memarrayloaded()) {
        warn(memtext::NoData, memtext::SaveErrorTitle);
        return;
    }
    // The file has no mark for a cell that was never read: saved, it comes
    // back as an empty cell.
    if (const QList<int> unread = MemImage.unreadCells(); !unread.isEmpty() &&
        dialogs::message(memtext::SaveUnread.arg(cellList(unread)), dialogs::Buttons::YesNo, dialogs::Icon::Question,
                         memtext::SaveUnreadTitle) != dialogs::Answer::Yes)
        return;
    showSaveChooser(kKind);
}

void frmMemman::cmdCls_Click() {
    switch (ask(memtext::ClsQuestion, memtext::ClsTitle)) {
    case dialogs::Answer::Yes:
        cmdsaveas_Click();
        break;
    case dialogs::Answer::No:
        MemImage.create(MaxMemNr);
        cleargrdmemman();
        clearadditionalinfo();
        break;
    default:
        break;
    }
}

void frmMemman::cmdExit_Click() {
    switch (ask(memtext::ExitQuestion, memtext::ExitTitle)) {
    case dialogs::Answer::Yes: cmdsaveas_Click(); break;
    case dialogs::Answer::No: unload(); break;
    default: break;
    }
}

void frmMemman::cmdRezeri_Click() { showCurrentPanel(); }

// ---- grid and detail frame ----------------------------------------------

void frmMemman::grdMemman_Click() {
    CurMemNr = ui->grdMemman->currentIndex().row();
    if (CurMemNr < 0) CurMemNr = 0;
    ui->lblCellnr->setText(cellText(CurMemNr));
    if (CurMemNr > MaxMemNr || MemImage.isEmpty(CurMemNr)) return;
    const MemoryDetail d = memoryDetail(MemImage.record(CurMemNr));
    ui->lblAtt->setText(d.att);
    ui->lblAgc->setText(d.agc);
    ui->lblPBS->setText(d.pbs);
    ui->lblBfo->setText(d.bfo);
    ui->lblSql->setText(d.sql);
    ui->lblScan->setText(d.scan);
}

void frmMemman::grdMemman_DblClick() { cmdSetrx2mem_Click(); }

void frmMemman::lblFrom_Click() { ui->txtFrom->setText(cellText(CurMemNr)); }

void frmMemman::lblTo_Click() { ui->txtTo->setText(cellText(CurMemNr)); }

// ---- memory scan --------------------------------------------------------

void frmMemman::cmdScanrun_Click() {
    MemFrom = nearest(ui->txtFrom->text());
    MemTo = nearest(ui->txtTo->text());
    ScanDelay = float(val(ui->txtDelay->text()));
    if (ScanDelay < 1) {
        ScanDelay = 1;
        ui->txtDelay->setText(QStringLiteral("1"));
    } else if (ScanDelay > 60) {
        ScanDelay = 60;
        ui->txtDelay->setText(QStringLiteral("60"));
    }
    if (!(MemFrom >= 0 && MemFrom < MaxMemNr && MemTo >= 0 && MemTo <= MaxMemNr)) {
        resetRange();
        return;
    }
    if (MemFrom > MemTo) std::swap(MemFrom, MemTo);
    ui->cmdScanrun->setVisible(false);
    ui->cmdScanstop->setVisible(true);
    tmrScan.setInterval(100);
    memcmdenabler(false);
    scan_.start(MemFrom, MemTo);
    MemScanTopRow = std::min(MemFrom, MaxMemNr - kScanRows);
    ui->grdMemman->verticalScrollBar()->setValue(MemScanTopRow);
    tmrScan.start();
}

void frmMemman::cmdScanstop_Click() {
    // The run is whole before a notice it held comes up.
    stopScan();
    scan_.stop();
}

void frmMemman::stopScan() {
    tmrScan.stop();
    ui->cmdScanstop->setVisible(false);
    ui->cmdScanrun->setVisible(true);
    memcmdenabler(true);
}

void frmMemman::tmrScan_Timer() {
    // A tick that comes while the last one still talks to the receiver is
    // passed over; the scan goes on with the next.
    if (tickRunning_ || transferRunning_) return;
    tickRunning_ = true;
    tmrScan.setInterval(memoryScanIntervalMs(RxType, ScanDelay));
    CurMemNr = scan_.nextCell();
    QTableView* g = ui->grdMemman;
    const int y = g->rowViewportPosition(CurMemNr);
    if (y < 0 || y + g->rowHeight(CurMemNr) > g->viewport()->height()) {
        MemScanTopRow = std::min(CurMemNr, MaxMemNr - kScanRows);
        g->verticalScrollBar()->setValue(MemScanTopRow);
    }
    selectRow(CurMemNr);
    ui->lblCellnr->setText(cellText(CurMemNr));
    QPointer<frmMemman> self(this);
    const MemoryScan::Tick t = scan_.tick();
    if (!self) return;
    if (t.firstRefusal) {
        const QString text =
            memtext::recordRefusal(checkRecord(MemImage.record(t.cell), RxType), t.cell, memtext::ScanPassesOver);
        QTimer::singleShot(0, this, [text] { warn(text, memtext::ScanTitle); });
    }
    if (t.stopped) {
        stopScan();
        // The grid and "Cell nr" show where the receiver is: the last cell it
        // was set to, not the cells it left unanswered.
        if (t.onCell >= 0) {
            CurMemNr = t.onCell;
            selectRow(CurMemNr);
            ui->grdMemman->scrollTo(model_->index(CurMemNr, 0));
            ui->lblCellnr->setText(cellText(CurMemNr));
        } else {
            ui->grdMemman->clearSelection();
            ui->lblCellnr->clear();
        }
    }
    tickRunning_ = false;
}

} // namespace dovrane
