// What the tools share of the shell: the mode letters both ways, the tune
// that never opens a box, the panel "ReZeri" brings back, and the registry
// through which the panels' menus reach the tool windows.
#include "facade_rig.h"

#include "drivers/model_tables.h"
#include "panels/frmnorx.h"
#include "panels/frmrx320.h"
#include "panels/panel_registry.h"
#include "panels/tool_windows.h"
#include "platform/commport.h"
#include "register_windows.h"
#include "shell/common_tables.h"
#include "shell/frmwelcome.h"
#include "shell/globals.h"
#include "shell/mode_letter.h"
#include "shell/quiet_tune.h"
#include "shell/settings_file.h"
#include "shell/show_panel.h"
#include "sim/rx320_sim.h"
#include "support/test_env.h"

#include <QAction>

namespace dovrane::test {
namespace {

TEST(ModeLetter, EveryLetterSelectsAModeThatReadsBackAsThatLetter) {
    const QString letters = QStringLiteral("aulcfd");
    // The letters each type has a mode for.
    const char* const has[5] = {"", "aulcfd", "aulcfd", "aulc", "aulcfd"};
    for (int type = 0; type <= 4; ++type) {
        for (QChar l : letters) {
            const std::optional<int> code = modeCodeFor(type, l);
            EXPECT_EQ(code.has_value(), QLatin1String(has[type]).contains(l)) << type << " " << l.toLatin1();
            if (code) {
                EXPECT_EQ(modeLetterFor(type, *code), QString(l)) << type;
            }
            EXPECT_EQ(modeCodeFor(type, l.toUpper()), code) << "either case";
        }
        EXPECT_FALSE(modeCodeFor(type, QLatin1Char('x')));
    }
    const struct {
        int type, code;
        const char* letter;
    } reads[] = {
        {1, 2, "a"},  // AR7030 Sync
        {2, 7, "a"},  {2, 8, "a"}, {2, 0, "d"},  // NRD-535 AM-U, AM-L, RTTY
        {4, 6, "a"},  {4, 9, ""},                // NRD-545 AMS, WFM
        {3, 4, ""},   {1, 0, ""},  {0, 1, ""},
    };
    for (const auto& r : reads) EXPECT_EQ(modeLetterFor(r.type, r.code), QLatin1String(r.letter)) << r.type << r.code;
}

class QuietTune : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        ASSERT_TRUE(sim.start());
        port.setDeviceName(sim.devicePath());
        ASSERT_TRUE(port.setSettings(QStringLiteral("1200,N,8,1")));
        ASSERT_TRUE(port.open());
        Comm1 = &port;
        setOpenPanel(&panel);
    }
    void TearDown() override {
        resetFacade();
        port.close();
        sim.stop();
        AppTest::TearDown();
    }
    sim::Rx320Sim sim;
    CommPort port;
    RecordingHandlers panel;
};

TEST_F(QuietTune, RefusesWithAResultAndNeverABox) {
    initrx320tables();
    const struct {
        int rxType;
        double kHz;
        TuneResult result;
    } cases[] = {
        {3, 9500, TuneResult::Tuned},     {3, FreqMax, TuneResult::Tuned},   {3, FreqMax + 0.001, TuneResult::OutOfRange},
        {3, 0, TuneResult::OutOfRange},   {0, 9500, TuneResult::NoReceiver},
    };
    for (const auto& c : cases) {
        RxType = c.rxType;
        panel.calls.clear();
        EXPECT_EQ(tuneQuietly(c.kHz), c.result) << c.kHz;
        EXPECT_EQ(panel.calls.size(), c.result == TuneResult::Tuned ? 1 : 0);
    }
    EXPECT_TRUE(dialogs.shown().isEmpty());
    ASSERT_TRUE(sim.waitIdle());
    EXPECT_NEAR(*sim.tunedKHz(), FreqMax, 0.01);

    // The user's tune keeps its message.
    RxType = 3;
    dialogs.expect(QStringLiteral("Frequency outside range"));
    EXPECT_FALSE(Change2FreqA(FreqMax + 1));

    // A receiver that cannot be sent anything: a result, still no box.
    dialogs.allow(QStringLiteral("does not answer"));
    port.close();
    EXPECT_EQ(tuneQuietly(9500), TuneResult::Failed);
    EXPECT_EQ(panel.calls.size(), 0);
}

// The registry and the menus, on the no-receiver panel and the RX-320 panel.
class ToolWindowMenus : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        registerPanelWindows();
        initcommontables();
    }
    void TearDown() override {
        forms::destroyAll();
        resetFacade();
        for (auto& open : welcome::panelOpeners) open = nullptr;
        AppTest::TearDown();
    }
};

TEST_F(ToolWindowMenus, AnItemIsEnabledExactlyWhenItsWindowIsRegistered) {
    clearToolWindows();
    frmNoRx* p = forms::load<frmNoRx>();
    ASSERT_TRUE(p && p->isLoaded());
    RxType = 0;
    const char* const items[][2] = {{"mnuLast20", "frmLast20"},   {"mnuScratchpad", "frmScratchpad"},
                                    {"mnuAbout", "frmAbout"},     {"mnuSetup", "frmSetUp"},
                                    {"mnuLog", "frmLog"},         {"mnuScanSpectrum", "frmSpectrum"},
                                    {"mnuTimean", "frmPropagation"}, {"mnuRxTimer", "frmRxTimer"}};
    for (const auto& i : items) EXPECT_FALSE(p->menuItem(QLatin1String(i[0]))->isEnabled()) << i[0];

    // Registering enables the item on the panel already open, and the item opens it.
    int opened = 0;
    registerToolWindow(QStringLiteral("frmSpectrum"), [&] { ++opened; });
    EXPECT_TRUE(p->menuItem(QStringLiteral("mnuScanSpectrum"))->isEnabled());
    EXPECT_FALSE(p->menuItem(QStringLiteral("mnuScanFreqpairs"))->isEnabled());
    p->menuItem(QStringLiteral("mnuScanSpectrum"))->trigger();
    EXPECT_EQ(opened, 1);

    // The program's own registration: the windows of this build.
    registerToolWindows();
    for (const auto& i : items)
        EXPECT_EQ(p->menuItem(QLatin1String(i[0]))->isEnabled(), toolWindowRegistered(QLatin1String(i[1]))) << i[0];
    EXPECT_TRUE(toolWindowRegistered(QStringLiteral("frmLast20")));
    EXPECT_TRUE(toolWindowRegistered(QStringLiteral("frmScratchpad")));

    // A new panel is built with the registry as it stands.
    p->unload();
    forms::collect();
    frmNoRx* q = forms::load<frmNoRx>();
    EXPECT_TRUE(q->menuItem(QStringLiteral("mnuScratchpad"))->isEnabled());
    EXPECT_TRUE(q->menuItem(QStringLiteral("mnuScanSpectrum"))->isEnabled());
    EXPECT_FALSE(q->menuItem(QStringLiteral("mnuMemman"))->isEnabled());

    // ReZeri brings the panel of the current type back.
    q->hide();
    showCurrentPanel();
    EXPECT_TRUE(q->isVisible());
    EXPECT_EQ(currentPanel(), q);
    RxType = 3;
    EXPECT_EQ(currentPanel(), nullptr);
    showCurrentPanel();   // nothing to show, nothing happens
}

TEST_F(ToolWindowMenus, ThePanelLoadsTheLast20WindowAndFeedsItEveryFrequency) {
    frmNoRx* p = forms::load<frmNoRx>();
    ASSERT_TRUE(p);
    EXPECT_TRUE(Last20Open) << "loaded in the background with the panel";
    int heard = 0;
    QString last;
    registerFrequencyListener([&](const QString& s) {
        ++heard;
        last = s;
    });
    notifyFrequencyShown(QStringLiteral("9500.000"));
    EXPECT_EQ(heard, 1);
    EXPECT_EQ(last, QStringLiteral("9500.000"));
}

} // namespace
} // namespace dovrane::test
