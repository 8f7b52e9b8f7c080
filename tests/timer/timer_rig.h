#pragma once
// The program started on a receiver model against its simulator, Go pressed,
// and the timer programming window opened from there. The clock is set by the
// tests; the UTC offset of the settings is two hours.
#include "panels/panel_rig.h"

#include "panels/panel_registry.h"
#include "panels/rxpanel.h"
#include "platform/clock.h"
#include "platform/number_text.h"
#include "shell/frmwelcome.h"
#include "shell/settings_file.h"
#include "shell/show_panel.h"
#include "panels/panelform.h"
#include "sim/ar7030_sim.h"
#include "sim/nrd535_sim.h"
#include "sim/nrd545_sim.h"
#include "sim/rx320_sim.h"
#include "support/timer_event.h"
#include "timer/frmrxtimer.h"

#include <QAction>
#include <map>

namespace dovrane::test {

inline const char* simModel(int rxType) {
    switch (rxType) {
    case 1: return "ar7030";
    case 2: return "nrd535";
    case 3: return "rx320";
    default: return "nrd545";
    }
}

class TimerRig : public PanelTest {
protected:
    static constexpr int UtcOffsetHours = 2;

    void TearDown() override {
        forms::destroyAll();
        resetFacade();
        if (sim) sim->stop();
        for (auto& open : welcome::panelOpeners) open = nullptr;
        Clock::reset();
        PanelTest::TearDown();
    }

    // Starts the program on rxType (0: no receiver) and opens the timer window.
    frmRxTimer* open(int rxType, const std::map<int, float>& settings = {}) {
        registerPanelWindows();
        if (rxType != 0) {
            sim = sim::makeSim(QLatin1String(simModel(rxType)));
            EXPECT_TRUE(sim && sim->start());
            // The receiver's own line speed, so that every tick meets real timing.
            if (sim) sim->setBaud(QString::fromLatin1(panelModel(rxType).lineSettings).section(QLatin1Char(','), 0, 0).toInt());
            writeDataFile(QStringLiteral("serialports.ini"), sim->devicePath().toUtf8() + "\r\n");
        }
        std::map<int, float> s = {{3, float(UtcOffsetHours)}, {28, 40}, {31, 55}};
        for (const auto& [k, v] : settings) s[k] = v;
        QByteArray text = DataFolder.toUtf8() + "\r\n5130N\r\n00007W\r\n" + numText(double(rxType)).toUtf8() + "\r\n";
        for (int i = 1; i <= 31; ++i) {
            const auto it = s.find(i);
            text += numText(double(it != s.end() ? it->second : defaultSetting(i))).toUtf8() + "\r\n";
        }
        writeDataFile(SettingsFileName, text);
        frmWelcome::start()->imgGo_Click();
        // Every panel, the no-receiver one included, opens the window from its menu.
        auto* panel = dynamic_cast<PanelForm*>(currentPanel());
        QAction* item = panel ? panel->menuItem(QStringLiteral("mnuRxTimer")) : nullptr;
        EXPECT_TRUE(item && item->isEnabled());
        if (item) item->trigger();
        return forms::loaded<frmRxTimer>();
    }

    // Sets the clock to a UTC time (the PC clock runs two hours ahead).
    static void setUtc(const QDateTime& utc) {
        Clock::set(QDateTime(utc.date(), utc.time()).addSecs(UtcOffsetHours * 3600));
    }

    // Waits until the simulator has handled every byte sent so far.
    void settle() {
        if (sim) {
            EXPECT_TRUE(sim->waitIdle());
        }
    }

    template <class S> S& as() { return *dynamic_cast<S*>(sim.get()); }

    // For tests that run the window's ticks themselves: the NRD-545's line
    // output as the receiver has it, whether an event runs, and one tick with
    // both timers stopped after it.
    bool nrd545Relay() {
        settle();
        return as<sim::Nrd545Sim>().timerRelay();
    }
    static bool running(frmRxTimer* w) { return w->programme().state() == TimerProgramme::State::Running; }
    static void tickOnce(frmRxTimer* w, void (frmRxTimer::*handler)()) {
        (w->*handler)();
        w->tmrTestprog()->stop();
        w->tmrDuration()->stop();
    }

    std::unique_ptr<sim::SimReceiver> sim;
};

inline QDateTime utcAt(int y, int mo, int d, int h, int mi, int s = 0) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC);
}

} // namespace dovrane::test
