#pragma once
// The propagation recorder: the level of the tuned station on a minute, an
// hour and a day graph by UTC, one line per minute into a propagation file
// (file kind 7) while one is open, and saved files drawn back onto the hour
// and day graphs.
#include "platform/append_file.h"
#include "scanning/measure_interlock.h"
#include "scanning/propagation_record.h"
#include "shell/form.h"

#include <array>
#include <memory>

class QLabel;
class QTimer;
namespace Ui {
class frmPropagation;
}

namespace dovrane {

class Canvas;
class LevelSampler;

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

    bool savepropfile();
    void loadpropfile();

    bool recording() const { return recording_; }
    // PropSaving: a propagation file is open for the minute lines.
    bool saving() const { return file_.isOpen(); }
    Canvas* canvas() const;
    QTimer* timer() const { return tmrPropagation_; }

    static const QColor Background;
    static const QColor Trace;

protected:
    void Form_Load() override;
    void Form_Unload() override;

private:
    void drawGraphs();
    void closeFile();
    void stopWithMessage(const QString& text);

    std::unique_ptr<Ui::frmPropagation> ui;
    std::array<QLabel*, 4> lblPropfiles{};
    QTimer* tmrPropagation_ = nullptr;
    std::unique_ptr<LevelSampler> sampler_;
    PropagationRecorder recorder_;
    AppendFile file_;
    bool recording_ = false;
    std::unique_ptr<MeasurementInterlock> interlock_;
    MeasurementRun run_{MeasurementRun::Options{false, true}};
    float lastLevel_ = 0;
    int failures_ = 0;
};

} // namespace dovrane
