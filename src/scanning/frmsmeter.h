#pragma once
// The S-meter recorder: the level once a second as a marker on an S-meter
// scale, and the histogram of the last sixty readings.
#include "scanning/measure_interlock.h"
#include "scanning/smeter_histogram.h"
#include "shell/form.h"

#include <memory>

class QTimer;
namespace Ui {
class frmSmeter;
}

namespace dovrane {

class Canvas;
class LevelSampler;

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

    const SmeterHistogram& histogram() const { return hist_; }
    Canvas* marker() const;
    Canvas* histogramPicture() const;
    QTimer* timer() const { return tmrSmeter_; }
    bool runActive() const { return run_.active(); }

    static const QColor Erase;
    static const QColor Bar;

protected:
    void Form_Load() override;
    void Form_Unload() override;

private:
    void drawScale();
    void drawBin(int b);

    std::unique_ptr<Ui::frmSmeter> ui;
    QTimer* tmrSmeter_ = nullptr;
    std::unique_ptr<LevelSampler> sampler_;
    SmeterHistogram hist_;
    bool running_ = false;
    std::unique_ptr<MeasurementInterlock> interlock_;
    MeasurementRun run_{MeasurementRun::Options{false, true}};
    int failures_ = 0;
};

} // namespace dovrane
