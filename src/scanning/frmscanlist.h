#pragma once
// The frequency-list scan: up to twenty frequencies tuned in turn, the last
// twenty levels of each as bars, the trend of each as a colour strip, and the
// list kept in scan-list files (file kind 11).
#include "scanning/measure_interlock.h"
#include "scanning/scanlist_scan.h"
#include "shell/form.h"
#include "shell/run_notice.h"

#include <array>
#include <memory>

class QLineEdit;
class QTimer;
namespace Ui {
class frmScanlist;
}

namespace dovrane {

class Canvas;
class LevelSampler;

class frmScanlist : public Form {
    Q_OBJECT
public:
    frmScanlist();
    ~frmScanlist() override;

    void cmdStart_Click();
    // release: a receiver notice taken over by the run comes up now.
    void cmdStop_Click(bool release = true);
    void cmdContinue_Click();
    void cmdCls_Click();
    void cmdLoad_Click();
    void cmdsaveas_Click();
    void cmdRezeri_Click();
    void cmdExit_Click();
    void txtFreqlist_Click(int index);
    void tmrScanlist_Timer();

    void loadscanlistfile();
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
    // Stops the run from inside a tick and tells why after it.
    void stopWithMessage(const QString& text, const QString& title);

    std::unique_ptr<Ui::frmScanlist> ui;
    QTimer* tmrScanlist_ = nullptr;
    std::unique_ptr<LevelSampler> sampler_;
    std::unique_ptr<MeasurementInterlock> interlock_;
    MeasurementRun run_;
    RunNotice notice_;
    ScanlistScan scan_;
};

} // namespace dovrane
