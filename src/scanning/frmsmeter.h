#pragma once
// The S-meter recorder: once a second the signal level as a marker on an
// S-meter scale and in a histogram of the last sixty readings.
#include "scanning/smeter_histogram.h"
#include "scanning/tool_run.h"
#include "shell/form.h"

#include <QColor>
#include <memory>
#include <optional>

class QTimer;
namespace Ui {
class frmSmeter;
}

namespace dovrane {

class Canvas;

class frmSmeter : public Form {
    Q_OBJECT
public:
    frmSmeter();
    ~frmSmeter() override;

    void cmdStart_Click();
    void cmdStop_Click();
    void cmdCls_Click();
    void cmdExit_Click();
    void tmrSmeter_Timer();

    bool recording() const { return running_; }
    float cur() const { return cur_; }
    const SmeterHistogram& histogram() const { return histogram_; }
    QTimer* timer() const { return timer_; }
    Canvas* picSmeter() const;
    Canvas* picShistogram() const;
    Canvas* surface() const;

    static inline const QColor WindowBack{255, 255, 192};
    static inline const QColor PictureBack{255, 255, 127};
    static inline const QColor Bar{0, 192, 0};
    static inline const QColor Scale{0, 255, 0};
    static inline const QColor Zone{255, 255, 0};

protected:
    void Form_Load() override;
    void Form_Unload() override;

private:
    void drawScale();
    void drawBin(int bin);
    // The timer and the buttons as a stopped run leaves them.
    void stopControls();

    std::unique_ptr<Ui::frmSmeter> ui;
    QTimer* timer_ = nullptr;
    ToolRun run_{MeasurementTool::Smeter, MeasurementRun::Options{false, true}};
    SmeterHistogram histogram_;
    float prev_ = 9, cur_ = 9;
    bool running_ = false;
    bool inTick_ = false;
};

} // namespace dovrane
