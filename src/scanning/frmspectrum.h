#pragma once
// The spectrum window: steps the receiver over a range, draws one bar per
// step, keeps a run in a spectrum file (file kind 6) and draws up to four
// such files over the graph. Its limits come from frmSpectrumlimits.
#include "scanning/spectrum_file.h"
#include "scanning/spectrum_scan.h"
#include "scanning/tool_run.h"
#include "shell/form.h"

#include <QColor>
#include <array>
#include <memory>

class QLabel;
class QPushButton;
class QTimer;
namespace Ui {
class frmSpectrum;
}

namespace dovrane {

class Canvas;

class frmSpectrum : public Form {
    Q_OBJECT
public:
    frmSpectrum();
    ~frmSpectrum() override;

    // Starts or resumes a run.
    void preparespectrumscan();
    // The limits dialog's OK with its four texts ("," already made ".")
    // and check boxes. False (and the message) when the limits are not valid.
    bool applyLimits(const std::array<QString, 4>& texts, bool loop, bool keepHighest);

    void cmdStart_Click();
    void cmdStop_Click();
    void cmdContinue_Click();
    void cmdTunerx_Click();
    void cmdCls_Click();
    void cmdsaveas_Click();
    void cmdLoad_Click();
    void cmdRezeri_Click();
    void cmdExit_Click();
    void tmrSpectrum_Timer();
    // The pointer over the graph and a button pressed on it, in graph pixels.
    void graphMouseMove(QPoint at);
    void graphMouseDown(QPoint at);

    bool loadspectrumfile();
    bool savespectrumfile();

    const SpectrumScan& scan() const { return scan_; }
    Canvas* canvas() const;
    QTimer* timer() const { return tmrSpectrum_; }
    bool tuneMode() const { return tuneMode_; }
    // Whether a run holds the receiver and the other windows.
    bool runActive() const { return run_.active(); }

    static const QColor Background;
    // The colours of the four overlay slots, slot 1 first.
    static const std::array<QColor, 4> FileColours;

protected:
    void Form_Load() override;
    void Form_Unload() override;

private:
    void drawFrame();
    void lockTuneMode(bool lock);
    void setButtons(bool start, bool stop, bool cont, bool tunerx, bool cls, bool saveas, bool load, bool rezeri,
                    bool exit);
    // The timer, the tune mode and the buttons as a stopped run leaves them.
    void stopControls();

    std::unique_ptr<Ui::frmSpectrum> ui;
    std::array<QLabel*, 4> lblDBname{};
    QTimer* tmrSpectrum_ = nullptr;
    ToolRun run_{MeasurementTool::Spectrum, MeasurementRun::Options{true, false}};
    SpectrumScan scan_;
    bool running_ = false;
    bool tuneMode_ = false;
    bool tuneLocked_ = false;  // lockforms taken by "Tune RX" mode
};

} // namespace dovrane
