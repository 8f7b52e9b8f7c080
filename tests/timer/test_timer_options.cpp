// A timer event on an NRD-535 whose options change after its slot was fixed:
// the event sends the receiver only what it takes with its options as they
// stand at the event, and goes on with the rest.
#include "timer_rig.h"

#include "drivers/model_tables.h"
#include "panels/panel_lock.h"
#include "shell/frmsetup.h"

#include <QCheckBox>
#include <QLabel>
#include <QTimer>

namespace dovrane::test {
namespace {

using Setting = sim::NrdSimBase::Setting;

class TimerOptions : public TimerRig {
protected:
    // Ticks or clears the NRD-535's options in Set Up, opened from the panel.
    void setOptions(bool fitted, std::initializer_list<int> options = {NarrowFilterOption, BwcOption, EcssOption}) {
        auto* panel = dynamic_cast<PanelForm*>(currentPanel());
        ASSERT_NE(panel, nullptr);
        panel->menuItem(QStringLiteral("mnuSetup"))->trigger();
        frmSetUp* s = forms::loaded<frmSetUp>();
        ASSERT_NE(s, nullptr);
        for (int option : options) {
            const QString box = QStringLiteral("chkNRDoptions_%1").arg(option - NarrowFilterOption);
            control<QCheckBox>(s, box)->setChecked(fitted);
        }
        s->cmdClose_Click();
    }
    QList<QByteArray> sent() {
        settle();
        return as<sim::Nrd535Sim>().commandTexts();
    }
};

// Two slots read from the receiver in AM-U on the narrow filter while the
// set-up gave it every option. Run with the options cleared, the event tunes
// and sets what the receiver takes but sends no mode or filter of an option,
// and the run goes on; with the options ticked again the next event sends
// them all, the narrow filter's forced 0 of the bandwidth control with them.
TEST_F(TimerOptions, AnEventSendsOnlyWhatTheOptionsAtItsStartAllow) {
    setUtc(utcAt(2027, 6, 1, 9, 0));
    frmRxTimer* w = open(2, {{NarrowFilterOption, 1}, {BwcOption, 1}, {EcssOption, 1}});
    ASSERT_NE(w, nullptr);
    auto& rx = as<sim::Nrd535Sim>();
    rx.setVfo(Setting{1, 2, 7, 7100000, 1});
    w->cmdRX_Click();
    ASSERT_EQ(w->editor().tpmode, 7);
    ASSERT_EQ(w->editor().tpbw, 2);
    const QDateTime starts[2] = {utcAt(2027, 6, 1, 10, 0), utcAt(2027, 6, 1, 10, 10)};
    for (int n = 1; n <= 2; ++n) {
        w->editor().setStart(starts[n - 1]);
        w->editor().tpduration = 2;
        w->cmdFixClr_Click(n, 0);
        ASSERT_TRUE(w->programme().progfixed[size_t(n)]);
    }

    setOptions(false);
    rx.setVfo(Setting{0, 0, 4, 6000000, 0});
    dialogs.expect(QStringLiteral("switched on"));
    w->timeronoff(1);
    struct Run {
        bool fitted;
        Setting after;   // what the receiver holds once the event has started
    };
    const Run runs[2] = {{false, Setting{1, 0, 4, 7100000, 1}}, {true, Setting{1, 2, 7, 7100000, 1}}};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(runs[i].fitted ? "options ticked again" : "options cleared");
        if (i == 1) setOptions(true);
        rx.clearCommands();
        setUtc(starts[i].addSecs(2));
        w->tmrTestprog_Timer();
        ASSERT_TRUE(w->tmrDuration()->isActive()) << "the event runs";
        const QList<QByteArray> wire = sent();
        for (const char* c : {"D7", "B2"}) EXPECT_EQ(wire.contains(c), runs[i].fitted) << c;
        // The narrow filter's bandwidth control goes out as its forced 0,
        // and only with the filter.
        QList<QByteArray> bwc;
        for (const QByteArray& c : wire)
            if (c.startsWith('W')) bwc << c;
        EXPECT_EQ(bwc, runs[i].fitted ? QList<QByteArray>{"W0000"} : QList<QByteArray>{});
        for (const char* c : {"A1", "F07100000", "P+0000", "G1", "O1"}) EXPECT_TRUE(wire.contains(c)) << c;
        EXPECT_EQ(rx.vfo(), runs[i].after);
        EXPECT_TRUE(rx.timerRelay());

        Clock::pass(2 * 60'000);
        w->tmrDuration_Timer();
        EXPECT_FALSE(w->tmrDuration()->isActive());
        settle();
        EXPECT_FALSE(rx.timerRelay());
    }
    EXPECT_EQ(w->programme().state(), TimerProgramme::State::Editing);
    EXPECT_EQ(dialogs.pending(), 0);
}

// A slot read on "Nar" with every option fitted and fixed (into every slot),
// then the 1 kHz filter cleared: the event leaves out the filter and the
// bandwidth control that belongs to it, whatever control the slot holds (as
// read, or 2200 put in by hand), and the editor and every slot's row show
// neither.
class RefusedFilter : public TimerOptions, public ::testing::WithParamInterface<int> {};

TEST_P(RefusedFilter, AnEventLeavesOutTheStepsOfARefusedFilter) {
    setUtc(utcAt(2027, 6, 1, 9, 0));
    frmRxTimer* w = open(2, {{NarrowFilterOption, 1}, {BwcOption, 1}, {EcssOption, 1}});
    ASSERT_NE(w, nullptr);
    auto& rx = as<sim::Nrd535Sim>();
    rx.setVfo(Setting{0, 2, 2, 7100000, 1});
    w->cmdRX_Click();
    ASSERT_EQ(w->editor().tpbw, 2);
    if (GetParam() >= 0) w->editor().tpbwc = GetParam();
    // Every slot holds it, ten minutes apart: each row follows Set Up.
    auto rowLabel = [w](int n, int setting) {
        return control<QLabel>(w, QStringLiteral("lblRxSetting%1_%2").arg(n).arg(setting))->text();
    };
    for (int n = 1; n <= 6; ++n) {
        w->editor().setStart(utcAt(2027, 6, 1, 10, 10 * (n - 1)));
        w->editor().tpduration = 2;
        w->cmdFixClr_Click(n, 0);
        ASSERT_TRUE(w->programme().progfixed[size_t(n)]) << n;
        EXPECT_EQ(rowLabel(n, 1), QStringLiteral("Nar")) << n;
    }

    setOptions(false, {NarrowFilterOption});
    EXPECT_EQ(control<QLabel>(w, QStringLiteral("lblRxSetting_1"))->text(), QString());
    for (int n = 1; n <= 6; ++n) {
        EXPECT_EQ(rowLabel(n, 1), QString()) << "slot " << n;
        EXPECT_EQ(rowLabel(n, 3), QStringLiteral("xxx")) << "slot " << n;
    }

    rx.setVfo(Setting{0, 0, 2, 6000000, 1});
    dialogs.expect(QStringLiteral("switched on"));
    w->timeronoff(1);
    rx.clearCommands();
    setUtc(utcAt(2027, 6, 1, 10, 0, 2));
    w->tmrTestprog_Timer();
    ASSERT_TRUE(w->tmrDuration()->isActive()) << "the event runs";
    const QList<QByteArray> wire = sent();
    for (const QByteArray& c : wire) {
        EXPECT_FALSE(c.startsWith('B')) << c.toStdString();
        EXPECT_FALSE(c.startsWith('W')) << c.toStdString();
    }
    for (const char* c : {"F07100000", "D2", "O1"}) EXPECT_TRUE(wire.contains(c)) << c;
    EXPECT_EQ(rx.vfo().bandwidth, 0) << "the receiver keeps its filter";
    EXPECT_EQ(dialogs.pending(), 0);
}

INSTANTIATE_TEST_SUITE_P(SlotControls, RefusedFilter, ::testing::Values(-1, 2200));

// The editor row shows what the options as Set Up leaves them give: the mode
// of an option without its text, the bandwidth control only with BWC; ticked
// again, both come back.
TEST_F(TimerOptions, TheEditorFollowsTheOptionsFromSetUp) {
    setUtc(utcAt(2027, 6, 1, 9, 0));
    frmRxTimer* w = open(2, {{NarrowFilterOption, 1}, {BwcOption, 1}, {EcssOption, 1}});
    ASSERT_NE(w, nullptr);
    as<sim::Nrd535Sim>().setVfo(Setting{0, 0, 7, 7100000, 1});
    w->cmdRX_Click();
    const struct {
        bool fitted;
        const char* mode;
        const char* bwc;
    } steps[] = {{true, "AM-U", "5500"}, {false, "", "xxx"}, {true, "AM-U", "5500"}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.fitted ? "options ticked" : "options cleared");
        setOptions(step.fitted);
        EXPECT_EQ(control<QLabel>(w, QStringLiteral("lblRxSetting_4"))->text(), QLatin1String(step.mode));
        EXPECT_EQ(control<QLabel>(w, QStringLiteral("lblRxSetting_3"))->text(), QLatin1String(step.bwc));
        EXPECT_EQ(control<QWidget>(w, QStringLiteral("spnRxSetting_3"))->isEnabled(), step.fitted);
    }
}

} // namespace
} // namespace dovrane::test
