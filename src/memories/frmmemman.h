#pragma once
// The memory manager: a grid over the memory image, the detail frame of the
// selected cell, and the commands that fetch, fill, sort, scan, load and save
// the image.
#include "memories/memory_grid_model.h"
#include "memories/memory_scan.h"
#include "memories/memory_transfer.h"
#include "platform/printing.h"
#include "shell/form.h"

#include <QTimer>
#include <functional>
#include <memory>

class QTableView;
class QTableWidget;
namespace Ui {
class frmMemman;
}

namespace dovrane {

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
    // Set R2M on cell n, without a message.
    MemoryTransfer::SetResult setCell(int n);
    // Ends the scan: the timer stops and the buttons come back.
    void stopScan();

    std::unique_ptr<Ui::frmMemman> ui;
    MemoryGridModel* model_ = nullptr;
    std::unique_ptr<MemoryTransfer> transfer_;
    QTimer tmrScan;
    bool transferRunning_ = false;
    bool tickRunning_ = false;
    MemoryScan scan_;

    int MemFrom = 0;
    int MemTo = 0;
    float ScanDelay = 1;
};

// The scan's top row, shared with the cell editor.
inline int MemScanTopRow = 0;
// The cell editor's job: 1 change, 2 store the receiver's setting, 3 copy, 4 delete.
inline int MemcellMode = 0;

// Where the print-out goes: empty for the print dialog (tests print to a
// PDF file instead).
inline std::function<bool(const DocumentComposer&)> memoryPrinter;

} // namespace dovrane
