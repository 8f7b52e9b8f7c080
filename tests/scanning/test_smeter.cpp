// The S-meter recorder: the histogram's bins and ring, and the window on a
// simulated NRD-545 at its line speed (hold, attenuator frame, marker, bars,
// and a receiver that stops answering).
#include "panels/tool_windows.h"
#include "platform/canvas.h"
#include "scanning/frmsmeter.h"
#include "scanning/smeter_histogram.h"
#include "shell/globals.h"
#include "sim/nrd_sim_base.h"
#include "support/go_rig.h"

#include <QPushButton>
#include <QTimer>
#include <atomic>
#include <cmath>

namespace dovrane::test {
namespace {

TEST(SmeterHistogram, ClampAndBins) {
    const struct {
        float reading, shown;
        int bin;
    } cases[] = {
        {0.4f, 1, 1}, {25, 21, 21}, {9.5f, 9.5f, 10}, {9.49f, 9.49f, 9}, {1.5f, 1.5f, 2},
        {20.5f, 20.5f, 21}, {21, 21, 21}, {-3, 1, 1},
    };
    for (const auto& c : cases) {
        EXPECT_FLOAT_EQ(SmeterHistogram::clampLevel(c.reading), c.shown) << c.reading;
        EXPECT_EQ(SmeterHistogram::binOf(SmeterHistogram::clampLevel(c.reading)), c.bin) << c.reading;
    }
    EXPECT_EQ(SmeterHistogram::binOf(0), 0);   // an unwritten slot counts nowhere
}

TEST(SmeterHistogram, TheRingForgetsTheReadingOfSixtyTicksBefore) {
    SmeterHistogram h;
    for (int i = 1; i <= 60; ++i) {
        const SmeterHistogram::Change c = h.add(float(1 + i % 21));
        EXPECT_EQ(c.lost, 0) << i;
    }
    EXPECT_EQ(h.count(2), 3);   // i = 1, 22, 43
    const SmeterHistogram::Change c = h.add(5);   // tick 61 takes away tick 1's 2
    EXPECT_EQ(c.lost, 2);
    EXPECT_EQ(c.gained, 5);
    EXPECT_EQ(h.count(2), 2);
    EXPECT_EQ(h.pos(), 1);
    h.clear();
    EXPECT_EQ(h.count(5), 0);
    EXPECT_EQ(h.pos(), 1);
}

class SmeterWindow : public GoRig {
protected:
    frmSmeter* open(int rxType) {
        panel = go(rxType);
        if (!panel) return nullptr;
        simulator()->setBaud(4800);
        simulator()->setSmeterCurve([this](double) { return level.load(); });
        toolWindowOpener(QStringLiteral("frmSmeter"))();
        return forms::loaded<frmSmeter>();
    }
    QWidget* frame() const { return panel->findChild<QWidget*>(QStringLiteral("fraAttenuator")); }
    bool inRemote() {
        settle();
        return dynamic_cast<sim::NrdSimBase&>(*simulator()).inRemote();
    }
    PanelForm* panel = nullptr;
    std::atomic<double> level{9.0};
};

TEST_F(SmeterWindow, ReadingsMoveTheMarkerAndGrowTheBarsWhileTheReceiverIsHeld) {
    frmSmeter* w = open(4);
    ASSERT_TRUE(w);
    w->cmdStart_Click();
    EXPECT_FALSE(frame()->isEnabled());
    EXPECT_TRUE(inRemote());
    EXPECT_TRUE(w->timer()->isActive());
    const double readings[] = {12, 12, 5, 18};
    for (double r : readings) {
        level = r;
        w->tmrSmeter_Timer();
    }
    EXPECT_NEAR(w->cur(), 18, 0.5);
    EXPECT_EQ(w->histogram().count(12), 2);
    EXPECT_EQ(w->histogram().count(5), 1);
    EXPECT_EQ(w->histogram().count(18), 1);
    const QImage strip = w->picSmeter()->image();
    EXPECT_EQ(QColor(strip.pixel(int(std::lround(10 * (w->cur() - 1))), 6)), frmSmeter::Bar);
    EXPECT_EQ(QColor(strip.pixel(40, 6)), frmSmeter::PictureBack);  // level 5 erased
    const QImage bars = w->picShistogram()->image();
    EXPECT_EQ(QColor(bars.pixel(118, 61)), frmSmeter::Bar);          // bin 12: two readings
    EXPECT_EQ(QColor(bars.pixel(118, 58)), frmSmeter::PictureBack);
    EXPECT_EQ(QColor(bars.pixel(48, 62)), frmSmeter::Bar);

    w->cmdStop_Click();
    EXPECT_TRUE(frame()->isEnabled());
    EXPECT_FALSE(inRemote());
    // A new run starts its bars from nothing.
    w->cmdStart_Click();
    EXPECT_EQ(QColor(w->picShistogram()->image().pixel(118, 62)), frmSmeter::PictureBack);
    // Closed by its frame in the middle of a run: nothing stays held.
    w->unload();
    EXPECT_TRUE(frame()->isEnabled());
    EXPECT_FALSE(inRemote());
}

TEST_F(SmeterWindow, MissingReadingsAreNotCountedAndThreeInARowStopTheRun) {
    frmSmeter* w = open(4);
    ASSERT_TRUE(w);
    dialogs.allow(QStringLiteral("does not answer"));
    w->cmdStart_Click();
    level = 14;
    w->tmrSmeter_Timer();
    ASSERT_EQ(w->histogram().count(14), 1);
    settle();
    simulator()->setStopAnsweringAfter(0);
    for (int n = 0; n < 3; ++n) {
        EXPECT_TRUE(w->recording()) << n;
        w->tmrSmeter_Timer();
    }
    EXPECT_FALSE(w->recording());
    EXPECT_FALSE(w->timer()->isActive());
    EXPECT_EQ(w->histogram().count(14), 1);
    EXPECT_EQ(w->histogram().pos(), 1);
    EXPECT_TRUE(frame()->isEnabled());
    EXPECT_TRUE(w->findChild<QPushButton*>(QStringLiteral("cmdStart"))->isEnabled());
}

} // namespace
} // namespace dovrane::test
