// The NRD user-definition and advanced-DSP dialogs against simulated receivers
// through the real port: every setting reaches the receiver, a reset cannot be
// cut short by closing, and however a dialog closes the receiver ends in local
// unless the user holds it with the panel's lock. Opened from the panels'
// menus, they show the VBT bypass and the input circuit on the panel and hold
// the receiver through the panel lock.
#include "test_frmnrd5_rig.h"

#include "drivers/nrd545/clsnrd545.h"
#include "panels/frmadvanceddsp.h"
#include "panels/frmnrd535.h"
#include "panels/frmnrd545.h"
#include "panels/frmuserdefs.h"
#include "panels/frmuserdefs545.h"
#include "shell/globals.h"
#include "shell/unloadallforms.h"
#include "timer/frmrtty.h"
#include "sim/nrd_rig.h"

#include <QAbstractButton>
#include <QLabel>
#include <QSlider>
#include <QTimer>
#include <functional>

namespace dovrane::test {
namespace {

template <class Sim>
class NrdDialogTest : public NrdRig<Sim> {
protected:
    void SetUp() override {
        NrdRig<Sim>::SetUp();
        Comm1 = &this->port;
    }
    void TearDown() override {
        forms::destroyAll();
        Comm1 = nullptr;
        NrdRig<Sim>::TearDown();
    }

    template <class F> F* open() {
        F* f = forms::load<F>();
        f->show();
        return f;
    }
    template <class T = QAbstractButton> static T* control(QWidget* w, const QString& name) {
        T* c = w->findChild<T*>(name);
        EXPECT_NE(c, nullptr) << name.toStdString();
        return c;
    }
    static void click(QWidget* w, const QString& name) {
        if (auto* b = control(w, name)) b->click();
    }
    static QString text(QWidget* w, const QString& name) {
        auto* l = control<QLabel>(w, name);
        return l ? l->text() : QString();
    }
    static void spin(QWidget* w, const QString& name, const char* arrow, int times) {
        auto* s = w->findChild<QWidget*>(name);
        ASSERT_NE(s, nullptr) << name.toStdString();
        for (int i = 0; i < times; ++i) s->findChild<QAbstractButton*>(QString::fromLatin1(arrow))->click();
    }
    // Waits until the simulator has taken everything sent so far (it reads on
    // its own thread; commands sent while the receiver is held come fast).
    void settle() {
        EXPECT_TRUE(this->sim.waitIdle());
        int seen = -1;
        for (int i = 0; i < 100 && this->sim.commands().size() != seen; ++i) {
            seen = int(this->sim.commands().size());
            this->wire(0);
        }
    }
    // The user settings, as the receiver numbers them.
    QByteArray setting(int item) {
        settle();
        return this->sim.userSetting(item);
    }
    bool remote() {
        settle();
        return this->sim.inRemote();
    }
    sim::Nrd545Sim::Levels levels() {
        settle();
        return this->sim.levels();
    }
};

using Nrd535DialogTest = NrdDialogTest<sim::Nrd535Sim>;
using Nrd545DialogTest = NrdDialogTest<sim::Nrd545Sim>;

TEST_F(Nrd535DialogTest, UserDefinitionsReachTheReceiverAndAResetRunsToItsEnd) {
    auto* dlg = open<frmUserdefs>();
    EXPECT_TRUE(UserdefsOpen);
    EXPECT_EQ(setting(1), "1");  // VBT bypass off
    EXPECT_EQ(text(dlg, "lblCWpitch"), "+0800");

    const struct {
        const char* button;
        int item;
        QByteArray value;
    } choices[] = {{"optRelaymode_2", 0, "2"},     {"optVBTbypass_1", 1, "0"}, {"optSmeterdisplay_0", 4, "0"},
                   {"optFreqshift_0", 6, "0"},     {"opt10Hzdisplay_0", 7, "0"}, {"optColonblink_0", 8, "0"},
                   {"optBeeponkey_0", 9, "0"}};
    for (const auto& c : choices) {
        click(dlg, c.button);
        EXPECT_EQ(setting(c.item), c.value) << c.button;
    }

    spin(dlg, "spnCWpitch", "down", 1);
    EXPECT_EQ(text(dlg, "lblCWpitch"), "+0775");
    EXPECT_EQ(setting(2), "");  // stepping sends nothing
    click(dlg, "cmdCWpitch");
    EXPECT_EQ(setting(2), "+0775");
    spin(dlg, "spnCWpitch", "down", 240);
    EXPECT_EQ(text(dlg, "lblCWpitch"), "-5000");
    spin(dlg, "spnCWpitch", "up", 420);
    EXPECT_EQ(text(dlg, "lblCWpitch"), "+5000");

    // The close box during the reset: the dialog stays up, every default still
    // goes out, then it closes.
    QTimer::singleShot(30, dlg, [dlg] {
        dlg->close();
        EXPECT_TRUE(dlg->isVisible());
    });
    dlg->cmdDefaults_Click();
    EXPECT_FALSE(UserdefsOpen);
    const std::pair<int, QByteArray> defaults[] = {{0, "0"}, {1, "1"}, {2, "+0800"}, {4, "1"},
                                                   {6, "1"}, {7, "1"}, {8, "1"},     {9, "1"}};
    for (const auto& [item, value] : defaults) EXPECT_EQ(setting(item), value) << item;
    for (const char* shown : {"optRelaymode_0", "optVBTbypass_0", "optSmeterdisplay_1", "optFreqshift_1",
                              "opt10Hzdisplay_1", "optColonblink_1", "optBeeponkey_1"})
        EXPECT_TRUE(control(dlg, shown)->isChecked()) << shown;
    EXPECT_EQ(dlg->PitchHz(), 800);
    EXPECT_FALSE(remote());
}

TEST_F(Nrd545DialogTest, UserDefinitionsReachTheReceiverAndAResetGivesItBack) {
    auto* dlg = open<frmUserdefs545>();
    EXPECT_EQ(setting(24), "1");
    EXPECT_TRUE(control(dlg, "OptInputtuning_1")->isChecked());

    const struct {
        const char* button;
        int item;
        QByteArray value;
    } choices[] = {{"opt1Hzdisplay_0", 1, "0"},  {"opt10Hzdisplay_1", 2, "1"},  {"optKhzsteps_3", 3, "3"},
                   {"opt100Hzdisplay_1", 4, "1"}, {"optPulses_2", 8, "2"},      {"optSmeterdisplay_2", 9, "2"},
                   {"optBeeponkey_0", 10, "0"},  {"optScanautostop_0", 11, "0"}, {"optSkip_0", 12, "0"},
                   {"optRelaymode_1", 13, "1"},  {"optFreqshift_0", 18, "0"},    {"optColonblink_0", 19, "0"},
                   {"OptInputtuning_0", 24, "0"}, {"optPanellock_0", 28, "0"},   {"optSquelchled_1", 31, "1"}};
    for (const auto& c : choices) {
        click(dlg, c.button);
        EXPECT_EQ(setting(c.item), c.value) << c.button;
    }

    // Each value stops at its ends and "Set" sends the value shown.
    const struct {
        const char* spn;
        const char* lbl;
        const char* cmd;
        int item;
        const char* low;
        QByteArray lowSent;
        const char* high;
    } values[] = {{"spnCWpitch", "lblCWpitch", "cmdCWpitch", 14, "-2550", "-2550", "+5000"},
                  {"spnScantime", "lblScantime", "cmdScantime", 20, "0.3", "03", "5.0"},
                  {"spnSweeptime", "lblSweeptime", "cmdSweeptime", 21, "0.05", "005", "0.50"},
                  {"spnAutostoptime", "lblAutostoptime", "cmdAutostoptime", 22, "00.0", "000", "10.0"}};
    for (const auto& v : values) {
        spin(dlg, v.spn, "down", 200);
        EXPECT_EQ(text(dlg, v.lbl), v.low) << v.spn;
        click(dlg, v.cmd);
        EXPECT_EQ(setting(v.item), v.lowSent) << v.cmd;
        spin(dlg, v.spn, "up", 400);
        EXPECT_EQ(text(dlg, v.lbl), v.high) << v.spn;
    }

    // "Exit" during the reset: the reset finishes, releases the receiver, then the dialog closes.
    QTimer::singleShot(30, dlg, [dlg] {
        dlg->cmdExit_Click();
        EXPECT_TRUE(dlg->isVisible());
    });
    dlg->cmdDefaults_Click();
    EXPECT_FALSE(Userdefs545Open);
    const std::pair<int, QByteArray> defaults[] = {
        {1, "1"},  {2, "0"},  {3, "0"},  {4, "0"},  {8, "0"},  {9, "1"},   {10, "1"},    {11, "1"},   {12, "1"},  {13, "0"},
        {14, "+0800"}, {18, "1"}, {19, "1"}, {20, "05"}, {21, "005"}, {22, "030"}, {24, "1"}, {28, "1"}, {31, "0"}};
    for (const auto& [item, value] : defaults) EXPECT_EQ(setting(item), value) << item;
    EXPECT_EQ(text(dlg, "lblAutostoptime"), "3.0");
    EXPECT_FALSE(remote());
    EXPECT_EQ(RemoteHeld, 0);
}

TEST_F(Nrd545DialogTest, AdvancedDspSetsEveryFunctionAndTheExitQuestionDecides) {
    Settings[26] = 50;
    Settings[27] = 20;
    auto l = sim.levels();
    l.nrbcChoice = 1;
    l.nbChoice = 2;
    l.nbLevel = 77;
    l.notchChoice = 1;
    l.notchFrequency = -300;
    sim.setLevels(l);

    auto* dlg = open<frmAdvancedDSP>();
    l = levels();
    EXPECT_EQ(l.nrbcChoice, 0);
    EXPECT_EQ(l.nrLevel, 50);
    EXPECT_EQ(l.bcLevel, 20);
    EXPECT_EQ(l.nbChoice, 2);  // the receiver's own blanker is kept
    EXPECT_EQ(l.nbLevel, 77);
    EXPECT_EQ(l.notchChoice, 0);
    EXPECT_EQ(l.notchFrequency, -300);
    EXPECT_TRUE(remote());
    EXPECT_EQ(text(dlg, "lblNB"), "NB2");
    EXPECT_EQ(text(dlg, "lblNr"), "050");
    EXPECT_EQ(text(dlg, "lblNT2"), "-0300");
    auto* nr = control<QSlider>(dlg, "vsbNR");
    auto* bc = control<QSlider>(dlg, "vsbBC");
    auto* nb = control<QSlider>(dlg, "vsbNB");
    auto* nt = control<QSlider>(dlg, "vsbNT");
    EXPECT_FALSE(nr->isEnabled() || bc->isEnabled() || nt->isEnabled());
    EXPECT_TRUE(nb->isEnabled());

    click(dlg, "cmdNrbc_1");
    EXPECT_TRUE(nr->isEnabled() && !bc->isEnabled());
    nr->setValue(90);
    click(dlg, "cmdNrbc_2");
    EXPECT_TRUE(!nr->isEnabled() && bc->isEnabled());
    bc->setValue(30);
    click(dlg, "cmdNB_1");
    nb->setValue(100);
    click(dlg, "cmdNT_1");
    EXPECT_TRUE(nt->isEnabled());
    nt->setValue(-512);
    click(dlg, "cmdNT_2");
    EXPECT_FALSE(nt->isEnabled());
    click(dlg, "optFilterslope_1");
    click(dlg, "optHoldofnr_1");
    l = levels();
    EXPECT_EQ(l.nrbcChoice, 2);
    EXPECT_EQ(l.nrLevel, 90);
    EXPECT_EQ(l.bcLevel, 30);
    EXPECT_EQ(l.nbChoice, 1);
    EXPECT_EQ(l.nbLevel, 100);
    EXPECT_EQ(l.notchChoice, 2);
    EXPECT_EQ(l.notchFrequency, -512);
    EXPECT_EQ(setting(32), "1");
    EXPECT_EQ(setting(27), "1");
    EXPECT_EQ(text(dlg, "lblNT2"), "-0512");

    dialogs.expect("Noise reduction and Beat canceler", dialogs::Answer::Cancel);
    click(dlg, "cmdExit");
    EXPECT_TRUE(AdvancedDSPOpen);
    EXPECT_TRUE(remote());

    // The close box asks as "Exit" does; Yes brings the levels back and releases.
    dialogs.expect("Noise reduction and Beat canceler", dialogs::Answer::Yes);
    dlg->close();
    EXPECT_EQ(dialogs.pending(), 0);
    EXPECT_FALSE(AdvancedDSPOpen);
    l = levels();
    EXPECT_EQ(l.nrLevel, 50);
    EXPECT_EQ(l.bcLevel, 20);
    EXPECT_EQ(l.nbChoice, 1);  // only the two levels go back
    EXPECT_FALSE(remote());
}

// The blanker level and the notch frequency read from the receiver show in
// their labels, also where the slider stood there already.
TEST_F(Nrd545DialogTest, AdvancedDspShowsTheBlankerLevelAndNotchItReads) {
    const struct {
        int level;
        int notch;
        const char* levelText;
        const char* notchText;
    } cases[] = {{0, 0, "000", "0000"}, {77, -300, "077", "-0300"}, {255, 1023, "255", "1023"}};
    for (const auto& c : cases) {
        auto l = sim.levels();
        l.nbChoice = 1;
        l.nbLevel = c.level;
        l.notchFrequency = c.notch;
        sim.setLevels(l);
        auto* dlg = open<frmAdvancedDSP>();
        EXPECT_EQ(text(dlg, "lblNB2"), c.levelText);
        EXPECT_EQ(text(dlg, "lblNT2"), c.notchText);
        EXPECT_EQ(control<QSlider>(dlg, "vsbNB")->value(), c.level);
        EXPECT_EQ(control<QSlider>(dlg, "vsbNT")->value(), c.notch);
        dlg->cmdExit_Click();
        ASSERT_FALSE(AdvancedDSPOpen);
        pump(0);
    }
}

// The receiver cannot be asked for its user settings, so the windows show
// what they last sent: a click on the option already selected sends it again.
TEST_F(Nrd545DialogTest, AClickOnTheSelectedOptionSendsItAgain) {
    RxType = 4;
    const struct {
        std::function<Form*()> open;
        const char* option;
        QByteArray command;
    } cases[] = {
        {[this] { return open<frmUserdefs545>(); }, "OptInputtuning_1", "U241"},   // selected by the load
        {[this] { return open<frmUserdefs545>(); }, "optPulses_2", "U082"},
        {[this] { return open<frmAdvancedDSP>(); }, "optFilterslope_0", "U320"},
        {[this] { return open<frmAdvancedDSP>(); }, "optHoldofnr_1", "U271"},
        {[this] { return open<frmRtty>(); }, "optUnshift_1", "U251"},                 // selected by the load
        {[this] { return open<frmRtty>(); }, "optError_0", "U260"},
    };
    for (const auto& c : cases) {
        Form* w = c.open();
        auto* option = control(w, QLatin1String(c.option));
        option->click();
        ASSERT_TRUE(option->isChecked()) << c.option;
        settle();
        clearWire();
        for (int n = 1; n <= 2; ++n) {
            option->click();
            settle();
            EXPECT_EQ(sim.commandTexts().count(c.command), n) << c.option;
        }
        unloadallforms();
        pump(0);
    }
}

TEST_F(Nrd545DialogTest, AdvancedDspWithABlankerModeWithoutNameAndClosedWithThePanel) {
    auto l = sim.levels();
    l.nbChoice = 5;
    sim.setLevels(l);
    auto* dlg = open<frmAdvancedDSP>();
    EXPECT_EQ(text(dlg, "lblNB"), "?");
    EXPECT_FALSE(control<QSlider>(dlg, "vsbNB")->isEnabled());
    EXPECT_EQ(levels().nbChoice, 5);  // not sent back
    EXPECT_TRUE(remote());

    unloadallforms();
    EXPECT_FALSE(AdvancedDSPOpen);
    EXPECT_FALSE(remote());
}

TEST_F(Nrd545DialogTest, AdvancedDspLeavesTheUsersLockAlone) {
    clsNRD545 own(port);
    hold(own);
    PanelLock = 1;
    auto* dlg = open<frmAdvancedDSP>();
    control<QSlider>(dlg, "vsbNR")->setValue(60);
    control<QSlider>(dlg, "vsbNR")->setValue(0);  // back to the default level: no question
    dlg->cmdExit_Click();
    EXPECT_FALSE(AdvancedDSPOpen);
    EXPECT_FALSE(wire(1).contains("H0"));
    EXPECT_TRUE(remote());
}

template <class Sim, class Panel, int Type>
class PanelDialogTest : public NrdPanelTest<Sim, Panel, Type> {
protected:
    // Runs a modal dialog from the panel's menu; act runs while it is up.
    template <class Dialog> void fromMenu(Panel* p, const char* item, std::function<void(Dialog*)> act) {
        bool ran = false;
        // Acts once the dialog is up: its load lets events run between the
        // reads it makes.
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* dlg = forms::loaded<Dialog>();
            if (ran || !dlg || !dlg->isVisible()) return;
            ran = true;
            act(dlg);
        });
        poll.start(50);
        QAction* a = p->menuItem(QLatin1String(item));
        ASSERT_NE(a, nullptr) << item;
        a->trigger();
        EXPECT_TRUE(ran) << item;
    }
    static QColor attenuatorColour(Panel* p) {
        return background(p->template findChild<QWidget*>(QStringLiteral("lblAttenuator")));
    }
};

using Nrd535PanelDialogTest = PanelDialogTest<sim::Nrd535Sim, frmNRD535, 2>;
using Nrd545PanelDialogTest = PanelDialogTest<sim::Nrd545Sim, frmNRD545, 4>;

TEST_F(Nrd535PanelDialogTest, UserDefsShowTheVbtBypassOnThePanel) {
    frmNRD535* p = go();
    ASSERT_NE(p, nullptr);
    fromMenu<frmUserdefs>(p, "mnuUserdefs", [](frmUserdefs* dlg) {
        dlg->findChild<QAbstractButton*>(QStringLiteral("optVBTbypass_1"))->click();
        dlg->close();
    });
    EXPECT_FALSE(UserdefsOpen);
    EXPECT_EQ(attenuatorColour(p), nrdcolours::Orange);
    wire();
    EXPECT_EQ(sim.userSetting(1), "0");
    EXPECT_FALSE(inRemote());
}

TEST_F(Nrd545PanelDialogTest, DialogsHoldThroughThePanelAndCloseWithIt) {
    frmNRD545* p = go();
    ASSERT_NE(p, nullptr);
    fromMenu<frmUserdefs545>(p, "mnuUserdefs", [](frmUserdefs545* dlg) {
        dlg->findChild<QAbstractButton*>(QStringLiteral("OptInputtuning_0"))->click();
        dlg->close();
    });
    EXPECT_FALSE(Userdefs545Open);
    EXPECT_EQ(attenuatorColour(p), nrdcolours::Orange);
    wire();
    EXPECT_EQ(sim.userSetting(24), "0");
    EXPECT_FALSE(inRemote());

    QAction* dsp = p->menuItem(QStringLiteral("mnuAdvancedDSP"));
    ASSERT_NE(dsp, nullptr);
    dsp->trigger();
    EXPECT_TRUE(AdvancedDSPOpen);
    EXPECT_TRUE(inRemote());
    EXPECT_EQ(text(p, "lblLock"), QStringLiteral("On"));
    // A tool's run that ends meanwhile leaves the window's hold in place.
    lockoffon(1);
    lockoffon(0);
    EXPECT_TRUE(inRemote());

    click(p, QStringLiteral("cmdClose"));
    EXPECT_FALSE(AdvancedDSPOpen);
    EXPECT_FALSE(inRemote());
}

} // namespace
} // namespace dovrane::test
