// Working without a receiver: Go with "No RX" opens the no-receiver panel,
// its menus reach every tool that stands, Close comes back to the welcome
// window and Exit ends the program with the positions written for the next
// start.
#include "panel_rig.h"

#include "lists/frmlast20.h"
#include "logbook/frmlog.h"
#include "memories/frmmemman.h"
#include "memories/memory_image.h"
#include "memories/memory_texts.h"
#include "lists/frmscratchpad.h"
#include "panels/frmnorx.h"
#include "panels/panel_registry.h"
#include "panels/tool_windows.h"
#include "platform/commport.h"
#include "platform/launcher.h"
#include "shell/frmabout.h"
#include "shell/frmwelcome.h"
#include "shell/settings_file.h"

#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <functional>

namespace dovrane::test {
namespace {

class NoRxTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        registerPanelWindows();
        // "No RX", with the test's folder as the data folder.
        writeDataFile(SettingsFileName, DataFolder.toUtf8() + "\r\n5130N\r\n00007W\r\n 0\r\n");
    }
    void TearDown() override {
        for (auto& open : welcome::panelOpeners) open = nullptr;
        welcome::endProgram = nullptr;
        launcher::setHook([](const QString&, const QStringList&) { return false; });
        PanelTest::TearDown();
    }

    // The program's start, then Go.
    frmNoRx* go() {
        frmWelcome* w = frmWelcome::start();
        w->imgGo_Click();
        return forms::loaded<frmNoRx>();
    }
    static QString text(QAction* a) { return a ? a->text() : QStringLiteral("(missing)"); }
};

TEST_F(NoRxTest, GoOpensThePanelWithoutPortOrDriver) {
    frmNoRx* p = go();
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(NoRxOpen);
    EXPECT_TRUE(p->isVisible());
    EXPECT_FALSE(forms::loaded<frmWelcome>()->isVisible());
    EXPECT_EQ(RxType, 0);
    EXPECT_EQ(FreqMin, 10);
    EXPECT_EQ(FreqMax, 30000);
    EXPECT_EQ(MaxMemNr, 99);
    EXPECT_FALSE(Comm1->isOpen());
    ASSERT_TRUE(Last20Open) << "the last-20 window loads with the panel";
    EXPECT_FALSE(forms::loaded<frmLast20>()->isVisible());

    // Only the double click on the frequency box does anything among the controls.
    auto* box = control<QLineEdit>(p, QStringLiteral("txtFrequencyA"));
    EXPECT_EQ(box->text(), QStringLiteral("1234.56"));
    click(p, QStringLiteral("cmd0to9_7"));
    click(p, QStringLiteral("cmdEnterfreq"));
    click(p, QStringLiteral("cmdMode_1"));
    EXPECT_EQ(control<QLabel>(p, QStringLiteral("lblMfreq"))->text(), QString());
    EXPECT_EQ(box->text(), QStringLiteral("1234.56"));
    doubleClick(box);
    EXPECT_EQ(box->text(), QString());
}

TEST_F(NoRxTest, MenusCarryTheirOwnCaptionsAndReachTheTools) {
    frmNoRx* p = go();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->menuItem(QStringLiteral("mnuUpdate")), nullptr);
    EXPECT_EQ(text(p->menuItem(QStringLiteral("mnuLast20"))), QStringLiteral("Last 20 freqs . . ."));
    EXPECT_EQ(text(p->menuItem(QStringLiteral("mnuScratchpad"))), QStringLiteral("Freq Sratchpad . . ."));
    EXPECT_EQ(text(p->menuItem(QStringLiteral("mnuConvertaero2"))), QStringLiteral("Convert Aero . . ."));
    EXPECT_EQ(text(p->menuItem(QStringLiteral("mnuSignalAn"))), QStringLiteral("SignalAn"));
    EXPECT_EQ(text(p->menuItem(QStringLiteral("mnuSmeter"))), QStringLiteral("S meter . . ."));
    EXPECT_EQ(text(p->menuItem(QStringLiteral("mnuScanList"))), QStringLiteral("Freq List . . ."));
    EXPECT_EQ(p->menuItem(QStringLiteral("mnuScanFreqList")), nullptr);
    EXPECT_EQ(text(p->menuItem(QStringLiteral("mnuTimean2prt"))), QStringLiteral("Time Analysys to Print"));
    EXPECT_FALSE(p->menuItem(QStringLiteral("mnuRxClock"))->isEnabled());
    EXPECT_EQ(p->menuItem(QStringLiteral("mnuHTMLhelp"))->shortcut(), QKeySequence(Qt::Key_F1));
    // The tools that stand are there to choose; the others wait, disabled.
    for (const char* name : {"mnuSetup", "mnuLast20", "mnuScratchpad", "mnuClose", "mnuExit", "mnuPCclock",
                             "mnuHTMLhelp", "mnuAbout"})
        EXPECT_TRUE(p->menuItem(QLatin1String(name))->isEnabled()) << name;
    const char* const waiting[][2] = {{"mnuBDXC", "frmBdxc"},         {"mnuOwn", "frmOwn"},
                                      {"mnuLog", "frmLog"},           {"mnuTracking", "frmTracking"},
                                      {"mnuSmeter", "frmSmeter"},     {"mnuMemman", "frmMemman"},
                                      {"mnuRxTimer", "frmRxTimer"}};
    for (const auto& w : waiting)
        EXPECT_EQ(p->menuItem(QLatin1String(w[0]))->isEnabled(), toolWindowRegistered(QLatin1String(w[1]))) << w[0];

    p->menuItem(QStringLiteral("mnuLast20"))->trigger();
    EXPECT_TRUE(forms::loaded<frmLast20>()->isVisible());
    p->menuItem(QStringLiteral("mnuScratchpad"))->trigger();
    ASSERT_TRUE(ScratchpadOpen);
    EXPECT_TRUE(forms::loaded<frmScratchpad>()->isVisible());
    p->menuItem(QStringLiteral("mnuAbout"))->trigger();
    EXPECT_TRUE(AboutOpen);

    // The help is this window's own file; the date and time settings are a
    // program of the system. Without either, the user is told.
    QStringList launched;
    launcher::setHook([&](const QString& program, const QStringList& args) {
        launched << program + QLatin1Char(' ') + args.join(QLatin1Char(' '));
        return false;
    });
    dialogs.expect(QStringLiteral("dovrane1.chm"));
    p->menuItem(QStringLiteral("mnuHTMLhelp"))->trigger();
    ASSERT_FALSE(launched.isEmpty());
    EXPECT_EQ(launched.first(), QStringLiteral("open ") + DataFolder + QStringLiteral("dovrane1.chm"));
    dialogs.expect(QStringLiteral("date and time"));
    p->menuItem(QStringLiteral("mnuPCclock"))->trigger();
    EXPECT_GT(launched.size(), 2);
}

TEST_F(NoRxTest, CloseComesBackToTheWelcomeWindowAndClosesTheTools) {
    frmNoRx* p = go();
    ASSERT_NE(p, nullptr);
    p->menuItem(QStringLiteral("mnuScratchpad"))->trigger();
    p->menuItem(QStringLiteral("mnuAbout"))->trigger();
    p->move(200, 100);
    click(p, QStringLiteral("cmdClose"));
    EXPECT_FALSE(NoRxOpen);
    EXPECT_FALSE(ScratchpadOpen);
    EXPECT_FALSE(AboutOpen);
    EXPECT_FALSE(Last20Open);
    EXPECT_TRUE(forms::loaded<frmWelcome>()->isVisible());
    EXPECT_EQ(FormLeft[18], 3000);
    EXPECT_EQ(FormTop[18], 1500);

    // Go again, and the menu's Close does the same.
    p = go();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->pos(), QPoint(200, 100));
    p->menuItem(QStringLiteral("mnuClose"))->trigger();
    EXPECT_FALSE(NoRxOpen);
    EXPECT_TRUE(forms::loaded<frmWelcome>()->isVisible());
}

TEST_F(NoRxTest, ExitWritesThePositionsAndTheNextStartRestoresThem) {
    frmNoRx* p = go();
    ASSERT_NE(p, nullptr);
    p->menuItem(QStringLiteral("mnuLast20"))->trigger();
    forms::loaded<frmLast20>()->move(60, 30);
    p->move(300, 150);
    int ended = 0;
    welcome::endProgram = [&] { ++ended; };
    p->menuItem(QStringLiteral("mnuExit"))->trigger();
    EXPECT_EQ(ended, 1) << "Exit ends the program";
    EXPECT_FALSE(NoRxOpen);
    EXPECT_FALSE(Last20Open);
    EXPECT_FALSE(WelcomeOpen);
    EXPECT_FALSE(forms::loaded<frmWelcome>());

    const QList<QByteArray> lines = readDataFile(PositionsFileName).split('\n');
    ASSERT_GE(lines.size(), 42);
    EXPECT_EQ(lines[17], " 4500, 2250\r");
    EXPECT_EQ(lines[9], " 900, 450\r");

    // The next start.
    forms::destroyAll();
    pump();
    FormLeft.fill(0);
    FormTop.fill(0);
    p = go();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(FormLeft[18], 4500);
    EXPECT_EQ(p->pos(), QPoint(300, 150));
    p->menuItem(QStringLiteral("mnuLast20"))->trigger();
    EXPECT_EQ(forms::loaded<frmLast20>()->pos(), QPoint(60, 30));
}

// A loaded log and changed memories are held nowhere else: however the user
// closes the panel, the windows that hold them ask first, and a Cancel keeps
// the panel and every window open.
TEST_F(NoRxTest, ClosingThePanelAsksFirstWhereALogOrMemoriesWouldBeLost) {
    const QString logQuestion = QStringLiteral("from the Logging window");
    int ended = 0;
    welcome::endProgram = [&] { ++ended; };
    struct Way {
        const char* name;
        std::function<void(frmNoRx*)> close;
        int ends;
    };
    const Way ways[] = {
        {"title bar", [](frmNoRx* p) { p->close(); }, 0},
        {"Close", [](frmNoRx* p) { p->cmdClose_Click(); }, 0},
        {"Exit", [](frmNoRx* p) { p->mnuExit_Click(); }, 1},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        ended = 0;
        frmNoRx* p = go();
        ASSERT_NE(p, nullptr);
        forms::load<frmLog>()->setlogbuttons(true);
        forms::load<frmMemman>();
        MemImage.setRecord(3, QStringLiteral("MEM003 07100000 5 03 @ @ 004 250 1 "));
        MemImage.setModified(true);

        dialogs.expect(logQuestion, dialogs::Answer::Cancel);
        way.close(p);
        EXPECT_TRUE(NoRxOpen && LogOpen && MemmanOpen);

        dialogs.expect(logQuestion, dialogs::Answer::No);
        dialogs.expect(memtext::ExitQuestion, dialogs::Answer::Cancel);
        way.close(p);
        EXPECT_TRUE(NoRxOpen && LogOpen && MemmanOpen);
        EXPECT_EQ(ended, 0);

        dialogs.expect(logQuestion, dialogs::Answer::No);
        dialogs.expect(memtext::ExitQuestion, dialogs::Answer::No);
        way.close(p);
        EXPECT_FALSE(NoRxOpen || LogOpen || MemmanOpen);
        EXPECT_EQ(ended, way.ends);
        EXPECT_EQ(dialogs.pending(), 0);
        forms::destroyAll();
        pump();
    }

    // The log window's own title bar: a question only while a log is loaded.
    frmLog* log = forms::load<frmLog>();
    log->close();
    EXPECT_FALSE(LogOpen) << "nothing loaded, nothing asked";
    log = forms::load<frmLog>();
    log->setlogbuttons(true);
    dialogs.expect(logQuestion, dialogs::Answer::Cancel);
    log->close();
    EXPECT_TRUE(LogOpen);
    dialogs.expect(logQuestion, dialogs::Answer::No);
    log->close();
    EXPECT_FALSE(LogOpen);
    MemImage.setModified(false);
}

} // namespace
} // namespace dovrane::test
