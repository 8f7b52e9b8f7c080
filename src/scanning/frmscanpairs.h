#pragma once
// The frequency-pair scan: pairs of channels from a scan-pair file (file
// kind 12), tuned one pair per tick on side A or B over a range of pair
// numbers, with an eleven-row view around the pair in hand.
#include "scanning/scanpair_scan.h"
#include "scanning/tool_run.h"
#include "shell/form.h"

#include <array>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QTimer;
namespace Ui {
class frmScanpairs;
}

namespace dovrane {

class ClickableLabel;

class frmScanpairs : public Form {
    Q_OBJECT
public:
    frmScanpairs();
    ~frmScanpairs() override;

    // Fills the eleven rows around pair actnr.
    void showactivepairs(int actnr);

    void cmdStart_Click();
    void cmdStop_Click();
    void cmdContinue_Click();
    void cmdLoad_Click();
    void cmdsaveas_Click();
    void cmdRezeri_Click();
    void cmdExit_Click();
    void lblChannel_Click(int side, int row);
    void tmrScanpairs_Timer();

    bool loadscanpairsfile();
    bool savescanpairsfile();

    const QList<ScanPair>& pairs() const { return Pairs; }
    PairRange range() const;
    int current() const { return cur_; }
    float delay() const { return delay_; }
    QTimer* timer() const { return tmrScanpairs_; }
    bool runActive() const { return run_.active(); }
    // The pair a row shows; -1 for none.
    int rowPair(int row) const { return rowPair_[size_t(row)]; }

    static constexpr int Rows = 11;
    std::array<QLabel*, Rows> lblNr{};
    std::array<ClickableLabel*, Rows> lblChannelA{};
    std::array<ClickableLabel*, Rows> lblChannelB{};
    std::array<QCheckBox*, Rows> chkChannel{};
    std::array<QLineEdit*, Rows> txtRemarks{};

protected:
    void Form_Load() override;
    void Form_Unload() override;

private:
    void startRun(bool fromStart);
    void setRunButtons(bool enabled);
    void applyStart();
    void applyEnd();
    void applyDelay();
    void paintSides();
    // The window as a load leaves it, for the list in Pairs.
    void showList();
    // The timer and the buttons as a stopped run leaves them.
    void stopControls();

    std::unique_ptr<Ui::frmScanpairs> ui;
    QTimer* tmrScanpairs_ = nullptr;
    int start_ = 0;
    int end_ = 0;
    int cur_ = 0;
    float delay_ = 1;
    int shown_ = 0;
    ToolRun run_{MeasurementTool::Scanpairs};
    AliveCheck alive_;
    // The last question to the receiver went unanswered.
    bool questionFailed_ = false;
    std::array<int, Rows> rowPair_{};
};

} // namespace dovrane
