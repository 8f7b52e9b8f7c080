#pragma once
// The frequency-list scan: up to twenty frequencies tuned in turn, the last
// twenty levels of each as bars, the trend of each as a colour strip, and the
// list kept in scan-list files (file kind 11).
#include "scanning/scanlist_scan.h"
#include "scanning/tool_run.h"
#include "shell/form.h"

#include <array>
#include <memory>

class QLineEdit;
class QTimer;
namespace Ui {
class frmScanlist;
}

namespace dovrane {

class Canvas;

class frmScanlist : public Form {
    Q_OBJECT
public:
    frmScanlist();
    ~frmScanlist() override;

    void cmdStart_Click();
    void cmdStop_Click();
    void cmdContinue_Click();
    void cmdCls_Click();
    void cmdLoad_Click();
    void cmdsaveas_Click();
    void cmdRezeri_Click();
    void cmdExit_Click();
    void txtFreqlist_Click(int index);
    void tmrScanlist_Timer();

    bool loadscanlistfile();
    bool savescanlistfile();

    std::array<QLineEdit*, ScanlistRows> txtFreqlist{};
    const ScanlistScan& scan() const { return scan_; }
    Canvas* canvas() const;
    QTimer* timer() const { return tmrScanlist_; }
    bool runActive() const { return run_.active(); }

protected:
    void Form_Load() override;
    void Form_Unload() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void drawFrame();
    void drawBars(int row);
    void drawTrends();
    void setBoxColour(int row, bool current);
    // The timer and the buttons as a stopped run leaves them.
    void stopControls();

    std::unique_ptr<Ui::frmScanlist> ui;
    QTimer* tmrScanlist_ = nullptr;
    ToolRun run_{MeasurementTool::Scanlist};
    ScanlistScan scan_;
};

} // namespace dovrane
