#pragma once
// The propagation recorder: the signal level of the tuned station drawn on
// a minute, an hour and a day graph by UTC time of day, the minute lines
// written to an open propagation file while it records, and saved files
// drawn back onto the hour and day graphs.
#include "platform/append_file.h"
#include "scanning/prop_recorder.h"
#include "scanning/tool_run.h"
#include "shell/form.h"

#include <QColor>
#include <array>
#include <memory>
#include <optional>

class QLabel;
class QTimer;
namespace Ui {
class frmPropagation;
}

namespace dovrane {

class Canvas;

class frmPropagation : public Form {
    Q_OBJECT
public:
    frmPropagation();
    ~frmPropagation() override;

    void cmdStart_Click();
    void cmdStop_Click();
    void cmdCls_Click();
    void cmdsaveas_Click();
    void cmdLoad_Click();
    void cmdRezeri_Click();
    void cmdExit_Click();
    void tmrPropagation_Timer();

    // The writer and the loader of file kind 7.
    bool savepropfile();
    bool loadpropfile();

    bool recording() const;
    bool saving() const { return file_.isOpen(); }
    float PropLevel = 0;
    Canvas* surface() const;
    QTimer* timer() const { return timer_; }

    static inline const QColor Back{255, 255, 192};
    static inline const QColor Trace{0, 192, 0};
    // The colours of the four loaded files, in the order they are used.
    static const std::array<QColor, 4> FileColours;

protected:
    void Form_Load() override;
    void Form_Unload() override;

private:
    void drawGraphs();
    void drawTick(const QDateTime& utc, std::optional<float> level, const PropTickResult& result);
    // The timer and the buttons as a stopped run leaves them.
    void stopControls();
    // Closes a file being recorded to; true when one was open.
    bool closeFile();
    // "The Propagation data is now saved", after whatever runs now.
    void tellSaved(const QString& name);
    void setRunButtons(bool enabled);

    std::unique_ptr<Ui::frmPropagation> ui;
    std::array<QLabel*, 4> lblPropfiles{};
    QTimer* timer_ = nullptr;
    ToolRun run_{MeasurementTool::Propagation, MeasurementRun::Options{false, true}};
    PropRecorder recorder_;
    AppendFile file_;
    QString fileName_;
    bool inTick_ = false;
    bool running_ = false;
};

bool savepropfile();
bool loadpropfile();

} // namespace dovrane
