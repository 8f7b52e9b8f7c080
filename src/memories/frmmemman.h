#pragma once
// The memory manager: a grid over the memory image, the detail frame of the
// selected cell, and the commands that fetch, fill, sort, scan, load and save
// the image.
#include "memories/memory_transfer.h"
#include "platform/printing.h"
#include "shell/form.h"
#include "shell/run_notice.h"

#include <QAbstractTableModel>
#include <QTimer>
#include <functional>
#include <memory>

class QTableView;
class QTableWidget;
namespace Ui {
class frmMemman;
}

namespace dovrane {

// The grid's rows: one per cell of MemImage, and an empty row after the last.
class MemoryGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // The image changed as a whole, or in one cell.
    void refreshAll();
    void refreshRow(int n);
};

class frmMemman : public Form {
    Q_OBJECT
public:
    frmMemman();
    ~frmMemman() override;

    void cleargrdmemman();
    void clearadditionalinfo();
    void formatmemx2list(int cellnr);
    void memcmdenabler(bool enable);
    bool memarrayloaded() const;

    void cmdFetch_Click();
    void cmdFill_Click();
    void cmdSetrx2mem_Click();
    void cmdSort_Click();
    void cmdChange_Click();
    void cmdDump_Click();
    void cmdCopy_Click();
    void cmdDelete_Click();
    void cmdLoad_Click();
    void cmdsaveas_Click();
    void cmdPrint_Click();
    void cmdCls_Click();
    void cmdExit_Click();
    bool keepForUnsavedWork() override;
    void cmdRezeri_Click();
    void cmdScanrun_Click();
    void cmdScanstop_Click();
    void grdMemman_Click();
    void grdMemman_DblClick();
    void lblFrom_Click();
    void lblTo_Click();
    void tmrScan_Timer();

    // Makes row n the grid's current row (as a click on it would, without
    // the click's handler).
    void selectRow(int n);
    // Shows the memory file's name in the title grid.
    void showFileName(const QString& name);

    QTableView* grid() const;
    QTableWidget* titles() const;
    MemoryGridModel* gridModel() const { return model_; }
    QTimer* scanTimer() { return &tmrScan; }
    bool transferRunning() const { return transferRunning_; }

protected:
    void Form_Load() override;
    void Form_Unload() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void showBanner(const QString& what);
    void resetRange();
    // Opens the cell editor for a job; false while it is not available.
    void openEditor(int job, const QString& caption);
    // Set R2M on CurMemNr, without a message.
    MemoryTransfer::SetResult setCurrentCell();
    // Ends the scan: the timer stops and the buttons come back.
    void stopScan();

    std::unique_ptr<Ui::frmMemman> ui;
    MemoryGridModel* model_ = nullptr;
    std::unique_ptr<MemoryTransfer> transfer_;
    QTimer tmrScan;
    bool transferRunning_ = false;
    bool tickRunning_ = false;
    // A scan run has told that a cell's record does not suit the receiver.
    bool scanRefusalTold_ = false;
    // Cells in a row the scan set without an answer from the receiver.
    int scanFailures_ = 0;
    RunNotice notice_;

    int MemFrom = 0;
    int MemTo = 0;
    float ScanDelay = 1;
    int ScanCount = 0;
};

// The scan's top row, shared with the cell editor.
inline int MemScanTopRow = 0;
// The cell editor's job: 1 change, 2 store the receiver's setting, 3 copy, 4 delete.
inline int MemcellMode = 0;

// Where the print-out goes: empty for the print dialog (tests print to a
// PDF file instead).
inline std::function<bool(const DocumentComposer&)> memoryPrinter;

// The loader and the writer of file kind 8, for the file choosers.
void loadmemfile();
bool savememfile();

} // namespace dovrane
