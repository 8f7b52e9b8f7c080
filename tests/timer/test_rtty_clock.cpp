// The receiver clock window and the RTTY window against the simulated receivers.
#include "timer_rig.h"

#include "drivers/ar7030/ar7030_protocol.h"
#include "drivers/model_tables.h"
#include "shell/frmsavefile.h"
#include "shell/frmsetup.h"
#include "timer/frmrtty.h"
#include "timer/frmrxclock.h"
#include "scanning/tool_run.h"
#include "shell/run_notice.h"
#include "support/when_shown.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <random>

namespace dovrane::test {
namespace {

class ClockWindow : public TimerRig, public ::testing::WithParamInterface<int> {
protected:
    frmRxClock* openClock(int rxType) {
        // Go, then the panel's menu item as the user would.
        open(rxType);
        if (auto* timer = forms::loaded<frmRxTimer>()) timer->unload();
        auto* panel = dynamic_cast<PanelForm*>(currentPanel());
        QAction* item = panel ? panel->menuItem(QStringLiteral("mnuRxClock")) : nullptr;
        EXPECT_TRUE(item && item->isEnabled());
        if (item) item->trigger();
        return forms::loaded<frmRxClock>();
    }
    QString receiverClock(int rxType) {
        settle();
        if (rxType == 1) {
            const QByteArray b = as<sim::Ar7030Sim>().regs(1, ar7030::RegClock, 3);
            auto bcd = [](char c) { return QStringLiteral("%1%2").arg((uchar(c) >> 4) & 15).arg(uchar(c) & 15); };
            return bcd(b[2]) + QLatin1Char(':') + bcd(b[1]) + QLatin1Char(':') + bcd(b[0]);
        }
        return dynamic_cast<sim::NrdSimBase&>(*sim).clockText();
    }
};

TEST_P(ClockWindow, ReadsAndSetsTheReceiverClockToLocalTimeAndUtc) {
    const int rxType = GetParam();
    setUtc(utcAt(2027, 3, 4, 23, 0));
    frmRxClock* w = openClock(rxType);
    ASSERT_NE(w, nullptr);
    if (rxType == 1) as<sim::Ar7030Sim>().setClockRunning(false);
    // 01:30:07 local with the PC two hours ahead of UTC: UTC is 23:30:07 the day before.
    setUtc(utcAt(2027, 3, 4, 23, 30, 7));
    w->tmrPCclock_Timer();
    EXPECT_EQ(control<QLabel>(w, QStringLiteral("lblLT"))->text(), QStringLiteral("01:30:07"));
    EXPECT_EQ(control<QLabel>(w, QStringLiteral("lblUT"))->text(), QStringLiteral("23:30:07"));
    // The NRD-545 keeps hours and minutes only.
    const QString seconds = rxType == 4 ? QStringLiteral("00") : QStringLiteral("07");

    w->cmdRX2LT_Click();
    EXPECT_EQ(receiverClock(rxType), QStringLiteral("01:30:") + seconds);
    w->cmdGetRXclock_Click();
    EXPECT_EQ(control<QLabel>(w, QStringLiteral("lblRT"))->text(), QStringLiteral("01:30:") + seconds);

    setUtc(utcAt(2027, 3, 4, 23, 30, 7));
    w->cmdRX2UT_Click();
    EXPECT_EQ(receiverClock(rxType), QStringLiteral("23:30:") + seconds);
    w->cmdGetRXclock_Click();
    EXPECT_EQ(control<QLabel>(w, QStringLiteral("lblRT"))->text(), QStringLiteral("23:30:") + seconds);
    for (const char* b : {"cmdGetRXclock", "cmdRX2LT", "cmdRX2UT"})
        EXPECT_TRUE(control<QWidget>(w, QLatin1String(b))->isEnabled()) << b;
}

INSTANTIATE_TEST_SUITE_P(ReceiversWithAClock, ClockWindow, ::testing::Values(1, 2, 4));

TEST_F(TimerRig, TheRx320HasNoClockToSet) {
    setUtc(utcAt(2027, 3, 4, 10, 0));
    open(3);
    auto* panel = dynamic_cast<PanelForm*>(currentPanel());
    ASSERT_NE(panel, nullptr);
    panel->menuItem(QStringLiteral("mnuRxClock"))->trigger();
    EXPECT_EQ(forms::loaded<frmRxClock>(), nullptr);
    // Opened anyway, its receiver buttons send nothing.
    auto* w = forms::load<frmRxClock>();
    settle();
    as<sim::Rx320Sim>().clearCommands();
    w->cmdRX2LT_Click();
    w->cmdGetRXclock_Click();
    settle();
    EXPECT_TRUE(as<sim::Rx320Sim>().commands().isEmpty());
    EXPECT_TRUE(control<QLabel>(w, QStringLiteral("lblRT"))->text().isEmpty());
}

class RttyWindow : public TimerRig, public ::testing::WithParamInterface<int> {
protected:
    frmRtty* openRtty(int rxType) {
        open(rxType, {{13, 1}});
        if (auto* timer = forms::loaded<frmRxTimer>()) timer->unload();
        auto* panel = dynamic_cast<PanelForm*>(currentPanel());
        QAction* item = panel ? panel->menuItem(QStringLiteral("mnuRtty")) : nullptr;
        EXPECT_TRUE(item && item->isEnabled());
        if (item) item->trigger();
        return forms::loaded<frmRtty>();
    }
    sim::NrdSimBase& nrd() { return dynamic_cast<sim::NrdSimBase&>(*sim); }

    // "Yes" and a name typed into the save chooser.
    void saveAs(frmRtty* w, const QString& name) {
        const auto answer = whenShown<frmSavefile>([name](frmSavefile* chooser) {
            control<QComboBox>(chooser, QStringLiteral("cmbSavefile"))->setEditText(name);
            click(chooser, QStringLiteral("cmdOK"));
        });
        w->cmdSave_Click(1);
        EXPECT_TRUE(answer.done()) << "the save chooser did not come";
    }

    // The receiver sends text in chunks of 1..maxChunk bytes while the reader
    // ticks in between, then the reader takes what is left.
    void receive(frmRtty* w, const QByteArray& text, int maxChunk, unsigned seed = 1) {
        std::mt19937 rng(seed);
        for (qsizetype at = 0; at < text.size();) {
            const qsizetype n = std::min<qsizetype>(text.size() - at, 1 + rng() % unsigned(maxChunk));
            nrd().sendRttyText(text.mid(at, n), int(n), 0);
            at += n;
            w->tmrGetRTTY_Timer();
        }
        settle();
        for (int i = 0; i < 40; ++i) {
            pump(5);
            w->tmrGetRTTY_Timer();
        }
    }
};

TEST_P(RttyWindow, TextComesOutTheSameWhateverTheChunking) {
    const int rxType = GetParam();
    setUtc(utcAt(2027, 3, 4, 10, 0));
    frmRtty* w = openRtty(rxType);
    ASSERT_NE(w, nullptr);
    settle();
    EXPECT_EQ(nrd().rttyParameters(), rxType == 4 ? QByteArray("5011") : QByteArray("5010"));
    EXPECT_EQ(control<QLabel>(w, QStringLiteral("lblPolarity"))->text(), QStringLiteral("Nor."));
    if (rxType == 4) {
        EXPECT_EQ(nrd().userSetting(25), QByteArray("1"));
        EXPECT_EQ(nrd().userSetting(26), QByteArray("1"));
    }

    QByteArray text;
    for (int i = 0; i < 12; ++i) text += "ryryry the quick brown fox " + QByteArray::number(i) + "\r\n";
    text += QByteArray(75, 'z') + "\rtail";

    std::mt19937 rng(11);
    QStringList firstScreen;
    QByteArray firstFile;
    for (int run = 0; run < 3; ++run) {
        const QString name = QStringLiteral("RTY_RUN%1.TXT").arg(run);
        saveAs(w, name);
        ASSERT_TRUE(w->rttysave());
        w->cmdCls_Click();
        w->cmdStart_Click();
        settle();
        EXPECT_TRUE(nrd().rtty());
        receive(w, text, run == 0 ? int(text.size()) : 1 + int(rng() % 9), unsigned(run));
        QStringList screen;
        for (int i = 0; i < 15; ++i) screen << w->displayLine(i);
        w->cmdStop_Click();
        settle();
        EXPECT_FALSE(nrd().rtty());
        EXPECT_TRUE(w->rttysave());   // the file stays open for a next run

        QFile f(DataFolder + QStringLiteral("RTTY/") + name);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray file = f.readAll();
        if (run == 0) {
            firstScreen = screen;
            firstFile = file;
            // The CR before "tail" is dropped, so the rest of the Z's and "tail" share a line.
            EXPECT_EQ(screen[14], QStringLiteral("ZZZZTAIL"));
            EXPECT_EQ(screen[13], QString(71, QLatin1Char('Z')));
            EXPECT_EQ(screen[12], QStringLiteral("RYRYRY THE QUICK BROWN FOX 11\n"));
            EXPECT_TRUE(file.startsWith(" \r\nStart at LT : " + LocalTimeText.toLatin1()));
            EXPECT_TRUE(file.contains("  Bd/shift/pol : 50/425/Nor\r\n \r\nRYRYRY THE QUICK BROWN FOX 0\n\r\n"));
            EXPECT_TRUE(file.contains(QByteArray(71, 'Z') + "\r\n \r\nStop at LT : "));
            EXPECT_TRUE(file.endsWith(" \r\n"));
        } else {
            EXPECT_EQ(screen, firstScreen) << "run " << run;
            EXPECT_EQ(file, firstFile) << "run " << run;
        }
    }
    EXPECT_EQ(dialogs.pending(), 0);
}

TEST_P(RttyWindow, RunsFollowOneAnotherInTheFileUntilNo) {
    const int rxType = GetParam();
    setUtc(utcAt(2027, 3, 4, 10, 0));
    frmRtty* w = openRtty(rxType);
    ASSERT_NE(w, nullptr);
    saveAs(w, QStringLiteral("RTY_TWO.TXT"));
    ASSERT_TRUE(w->rttysave());
    const QByteArray freq = openPanel()->frequencyText().toLatin1();

    // Each run as the file should hold it: header, text, footer.
    auto run = [&](const QByteArray& text, const QByteArray& params) {
        const QByteArray started = "Start at LT : " + LocalTimeText.toLatin1() + "   UTC : " + UtcTimeText.toLatin1();
        w->cmdStart_Click();
        receive(w, text, 3);
        const QByteArray stopped = "Stop at LT : " + LocalTimeText.toLatin1() + "   UTC : " + UtcTimeText.toLatin1();
        w->cmdStop_Click();
        settle();
        return " \r\n" + started + "\r\nFreq : " + freq + "  Bd/shift/pol : " + params + "\r\n \r\n" +
               text.toUpper() + "\r\n \r\n" + stopped + "\r\n \r\n";
    };
    QByteArray expected = run("first run\n", "50/425/Nor");
    EXPECT_TRUE(w->rttysave());
    EXPECT_EQ(control<QLabel>(w, QStringLiteral("lblSave"))->text(), QStringLiteral("RTY_TWO.TXT"));
    setUtc(utcAt(2027, 3, 4, 10, 7));
    w->cmdBaud_Click(2);
    expected += run("second run\n", "75/425/Nor");

    // "No" closes the file: a run after it is shown but written nowhere.
    w->cmdSave_Click(0);
    EXPECT_FALSE(w->rttysave());
    EXPECT_TRUE(control<QLabel>(w, QStringLiteral("lblSave"))->text().isEmpty());
    (void)run("third run\n", "75/425/Nor");
    EXPECT_EQ(w->displayLine(13), QStringLiteral("THIRD RUN\n"));

    QFile f(DataFolder + QStringLiteral("RTTY/RTY_TWO.TXT"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), expected);
    EXPECT_EQ(dialogs.pending(), 0);
}

INSTANTIATE_TEST_SUITE_P(NrdReceivers, RttyWindow, ::testing::Values(2, 4));

// An NRD-535 window left open while Set Up closes: with the unit kept, a run
// goes on and cannot be started twice; with the unit cleared, a run in
// progress stops, and no button sends the unit anything but its switch-off;
// ticked again, each sends as before.
TEST_F(RttyWindow, TheWindowFollowsTheRttyUnitFromSetUp) {
    setUtc(utcAt(2027, 3, 4, 10, 0));
    frmRtty* w = openRtty(2);
    ASSERT_NE(w, nullptr);
    auto setUnit = [&](bool fitted) {
        auto* panel = dynamic_cast<PanelForm*>(currentPanel());
        ASSERT_NE(panel, nullptr);
        panel->menuItem(QStringLiteral("mnuSetup"))->trigger();
        frmSetUp* s = forms::loaded<frmSetUp>();
        ASSERT_NE(s, nullptr);
        control<QCheckBox>(s, QStringLiteral("chkNRDoptions_%1").arg(RttyOption - NarrowFilterOption))
            ->setChecked(fitted);
        s->cmdClose_Click();
    };
    w->cmdStart_Click();
    settle();
    ASSERT_TRUE(nrd().rtty());
    // While it receives, Start stays disabled, whatever set the window last.
    const std::pair<const char*, std::function<void()>> whileReceiving[] = {
        {"after Start", [] {}},
        {"after Set Up closed with the unit kept", [&] { setUnit(true); }},
    };
    for (const auto& [what, step] : whileReceiving) {
        SCOPED_TRACE(what);
        step();
        settle();
        EXPECT_TRUE(nrd().rtty());
        EXPECT_FALSE(control<QWidget>(w, QStringLiteral("cmdStart"))->isEnabled());
        EXPECT_TRUE(control<QWidget>(w, QStringLiteral("cmdStop"))->isEnabled());
    }
    nrd().clearCommands();
    setUnit(false);
    settle();
    EXPECT_FALSE(nrd().rtty()) << "the run stops with the unit";
    QList<QByteArray> switches;
    for (const QByteArray& c : nrd().commandTexts())
        if (c.startsWith('X')) switches << c;
    EXPECT_EQ(switches, QList<QByteArray>{"X0"});
    EXPECT_TRUE(control<QWidget>(w, QStringLiteral("cmdExit"))->isEnabled());

    struct Action {
        const char* what;
        std::function<void()> click;
        const char* button;
        QByteArray sent;   // with the unit
    };
    const Action actions[] = {
        {"Start", [w] { w->cmdStart_Click(); }, "cmdStart", "X1"},
        {"baud", [w] { w->cmdBaud_Click(2); }, "cmdBaud_2", "U3"},
        {"shift", [w] { w->cmdShift_Click(0); }, "cmdShift_0", "U3"},
        {"polarity", [w] { w->cmdPolarity_Click(1); }, "cmdPolarity_1", "U3"},
    };
    for (bool fitted : {false, true}) {
        if (fitted) setUnit(true);
        for (const Action& a : actions) {
            SCOPED_TRACE(std::string(a.what) + (fitted ? " with the unit" : " without it"));
            EXPECT_EQ(control<QWidget>(w, QLatin1String(a.button))->isEnabled(), fitted);
            settle();
            nrd().clearCommands();
            a.click();
            settle();
            const QList<QByteArray> sent = nrd().commandTexts();
            const bool carried = std::any_of(sent.begin(), sent.end(), [&](const QByteArray& c) { return c.startsWith(a.sent); });
            EXPECT_EQ(carried, fitted) << sent.join(' ').toStdString();
            w->cmdStop_Click();
        }
    }
    EXPECT_EQ(dialogs.pending(), 0);
}

TEST_F(RttyWindow, NothingIsWrittenWithoutAnOpenFileAndCloseReleasesEverything) {
    setUtc(utcAt(2027, 3, 4, 10, 0));
    frmRtty* w = openRtty(4);
    ASSERT_NE(w, nullptr);
    // "Yes", then the chooser cancelled: not saving.
    {
        const auto answer =
            whenShown<frmSavefile>([](frmSavefile* chooser) { click(chooser, QStringLiteral("cmdCancel")); });
        w->cmdSave_Click(1);
    }
    EXPECT_FALSE(w->rttysave());
    w->cmdBaud_Click(2);
    settle();
    EXPECT_EQ(nrd().rttyParameters(), QByteArray("7511"));

    saveAs(w, QStringLiteral("RTY_CLOSE.TXT"));
    w->cmdStart_Click();
    receive(w, "abc\n", 2);
    w->unload();
    settle();
    EXPECT_FALSE(nrd().rtty());
    QFile f(DataFolder + QStringLiteral("RTTY/RTY_CLOSE.TXT"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains("ABC\n\r\n \r\nStop at LT"));
}

TEST_F(RttyWindow, AWriteFailureStopsSavingAndIsReportedOnceAfterTheTick) {
    setUtc(utcAt(2027, 3, 4, 10, 0));
    frmRtty* w = openRtty(4);
    ASSERT_NE(w, nullptr);
    // A file on a device that takes nothing: every line fails to reach it.
    ASSERT_TRUE(QDir().mkpath(DataFolder + QStringLiteral("RTTY")));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/full"), DataFolder + QStringLiteral("RTTY/RTY_FULL.TXT")));
    saveAs(w, QStringLiteral("RTY_FULL.TXT"));
    ASSERT_TRUE(w->rttysave());
    w->cmdStart_Click();
    // The header could not be written: saving stops, and the message waits
    // until the click has returned.
    EXPECT_FALSE(w->rttysave());
    EXPECT_TRUE(dialogs.shown().isEmpty());
    dialogs.expect(QStringLiteral("could not be written"));
    pump(20);
    EXPECT_EQ(dialogs.pending(), 0);
    // Reception goes on, shown but no longer saved, with no further message.
    nrd().sendRttyText("one\ntwo\nthree\n", 4, 0);
    settle();
    pump(20);
    w->tmrGetRTTY_Timer();
    EXPECT_EQ(w->displayLine(13), QStringLiteral("THREE\n"));
    EXPECT_EQ(dialogs.shown().size(), 1);
    w->cmdStop_Click();
}

// A receiver switched off behind its adapter (the port stays open) or gone
// with its device: a switch-on it never took leaves the window idle, and a
// reception under way learns of it from the questions it asks while no text
// comes, and stops with one message that names the silence and the stop.
enum class RttyLoss { OffBeforeStart, GoneBeforeStart, OffWhileReceiving, GoneWhileReceiving };

struct RttyLossCase {
    const char* name;
    RttyLoss loss;
    int rxType;
};

class RttyReceiverLost : public TimerRig, public ::testing::WithParamInterface<RttyLossCase> {};

TEST_P(RttyReceiverLost, TheWindowStopsAndTellsOnce) {
    const RttyLossCase c = GetParam();
    setUtc(utcAt(2027, 3, 4, 10, 0));
    open(c.rxType, {{13, 1}});
    if (auto* timer = forms::loaded<frmRxTimer>()) timer->unload();
    auto* panel = dynamic_cast<PanelForm*>(currentPanel());
    ASSERT_NE(panel, nullptr);
    panel->menuItem(QStringLiteral("mnuRtty"))->trigger();
    frmRtty* w = forms::loaded<frmRtty>();
    ASSERT_NE(w, nullptr);
    settle();
    dialogs.allow(QStringLiteral("does not answer"));
    const qsizetype before = dialogs.shown().size();
    auto lose = [&] {
        if (c.loss == RttyLoss::OffBeforeStart || c.loss == RttyLoss::OffWhileReceiving) sim->setFault(sim::Fault::Off);
        else sim->stop();
    };
    const bool beforeStart = c.loss == RttyLoss::OffBeforeStart || c.loss == RttyLoss::GoneBeforeStart;
    if (beforeStart) lose();
    w->cmdStart_Click();
    if (beforeStart) {
        EXPECT_FALSE(w->receiving()) << "the window shows a switch-on the receiver never took";
        EXPECT_TRUE(control<QWidget>(w, QStringLiteral("cmdStart"))->isEnabled());
        EXPECT_FALSE(control<QWidget>(w, QStringLiteral("cmdStop"))->isEnabled());
        EXPECT_TRUE(control<QWidget>(w, QStringLiteral("cmdExit"))->isEnabled());
    } else {
        ASSERT_TRUE(w->receiving());
        dynamic_cast<sim::NrdSimBase&>(*sim).sendRttyText("ryry\n", 6, 0);
        settle();
        pump(5);
        w->tmrGetRTTY_Timer();
        lose();
        int ticks = 0;
        while (w->receiving() && ticks < 6) {
            // Nothing comes: each tick finds the question due.
            Clock::pass(AliveCheck::EveryMs);
            w->tmrGetRTTY_Timer();
            ++ticks;
            pump(5);
        }
        EXPECT_FALSE(w->receiving()) << "the reception went on";
        EXPECT_EQ(ticks, SilenceCount::Limit);
        EXPECT_TRUE(control<QWidget>(w, QStringLiteral("cmdStart"))->isEnabled());
        EXPECT_FALSE(control<QWidget>(w, QStringLiteral("cmdStop"))->isEnabled());
    }
    pump(50);
    ASSERT_EQ(dialogs.shown().size(), before + 1) << "one message";
    const QString text = dialogs.shown().last().text;
    EXPECT_TRUE(text.contains(QStringLiteral("The receiver does not answer"))) << text.toStdString();
    if (!beforeStart) {
        EXPECT_TRUE(text.contains(QStringLiteral("The RTTY reception has stopped"))) << text.toStdString();
    }
    w->unload();
    pump(20);
    EXPECT_EQ(dialogs.shown().size(), before + 1);
}

INSTANTIATE_TEST_SUITE_P(
    NrdReceivers, RttyReceiverLost,
    ::testing::Values(RttyLossCase{"OffBeforeStart_NRD535", RttyLoss::OffBeforeStart, 2},
                      RttyLossCase{"GoneBeforeStart_NRD545", RttyLoss::GoneBeforeStart, 4},
                      RttyLossCase{"OffWhileReceiving_NRD535", RttyLoss::OffWhileReceiving, 2},
                      RttyLossCase{"OffWhileReceiving_NRD545", RttyLoss::OffWhileReceiving, 4},
                      RttyLossCase{"GoneWhileReceiving_NRD535", RttyLoss::GoneWhileReceiving, 2},
                      RttyLossCase{"GoneWhileReceiving_NRD545", RttyLoss::GoneWhileReceiving, 4}),
    [](const ::testing::TestParamInfo<RttyLossCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace dovrane::test
