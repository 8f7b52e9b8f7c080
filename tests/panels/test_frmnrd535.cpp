// The NRD-535 panel against a simulated NRD-535: what Go shows, what the
// controls send, the sliders under the lock, the keys, memory recall and a
// receiver that does not answer.
#include "test_frmnrd5_rig.h"

#include "drivers/model_tables.h"
#include "panels/frmnrd535.h"
#include "sim/nrd535_sim.h"

#include <QComboBox>
#include <algorithm>
#include <functional>
#include <QMenu>

namespace dovrane::test {
namespace {

using Setting = sim::NrdSimBase::Setting;

class Nrd535PanelTest : public NrdPanelTest<sim::Nrd535Sim, frmNRD535, 2> {
protected:
    void keypad(frmNRD535* p, const QString& digits) {
        for (QChar c : digits) click(p, c == QLatin1Char('.') ? QStringLiteral("cmdDot") : QStringLiteral("cmd0to9_") + c);
    }
};

TEST_F(Nrd535PanelTest, GoShowsTheReceiverAndItsMenusAndCloseReturnsItToLocal) {
    sim.setVfo(Setting{1, 2, 3, 14250000, 0});
    frmNRD535* p = go();
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(NRD535Open);
    EXPECT_EQ(p->windowTitle(), QStringLiteral("NRD-535"));
    EXPECT_EQ(Comm1->settings(), QStringLiteral("4800,N,8,1"));
    EXPECT_EQ(Comm1->deviceName(), sim.devicePath());

    // RTTY off, a status read, VBT bypass off, noise blanker off, remote off.
    EXPECT_EQ(wire(), (Wire{"H1", "H1", "X0", "H0", "H0", "H1", "H1", "J1199", "L199199", "H0", "H0",
                            "H1", "H1", "U11", "H0", "H0", "H1", "H1", "N0", "H0", "H0", "H0", "H0"}));
    EXPECT_FALSE(sim.inRemote());
    EXPECT_EQ(text(p, "lblAttenuator"), QStringLiteral("-20"));
    EXPECT_EQ(text(p, "lblBandwidth"), QStringLiteral("Nar"));
    EXPECT_EQ(text(p, "lblMode"), QStringLiteral("LSB"));
    EXPECT_EQ(text(p, "lblAgcspeed"), QStringLiteral("Slw"));
    EXPECT_EQ(box(p), QStringLiteral("14250.000"));
    EXPECT_EQ(text(p, "lblLock"), QStringLiteral("Off"));
    EXPECT_EQ(bg(p, "lblLock"), nrdcolours::LightYellow);
    EXPECT_EQ(bg(p, "lblAttenuator"), nrdcolours::LightYellow);
    for (const char* s : {"vsbBandwidthcontrol", "vsbPassbandshift"}) EXPECT_FALSE(enabled(p, s)) << s;
    EXPECT_EQ(text(p, "lblbandwidthcontrol"), QString());
    EXPECT_EQ(text(p, "lblPassbandshift"), QString());
    // Without the options the narrow filter and the ECSS modes are out of reach.
    EXPECT_FALSE(enabled(p, "cmdBandwidth_2"));
    EXPECT_FALSE(enabled(p, "cmdMode_7"));
    EXPECT_FALSE(enabled(p, "cmdMode_8"));
    EXPECT_TRUE(enabled(p, "cmdMode_6"));

    // A filter digit beyond the table, from a status string.
    p->NRD535A_RxStatusChanged(QStringLiteral("X057012345670"));
    EXPECT_EQ(text(p, "lblBandwidth"), QStringLiteral("?"));
    // Without the ECSS option mode 7 is offered nowhere, but a receiver in it
    // is shown in it, by the status and by the mode handler alike.
    EXPECT_EQ(text(p, "lblMode"), QStringLiteral("AM-U"));
    p->NRD535A_ModeChanged(7);
    EXPECT_EQ(text(p, "lblMode"), QStringLiteral("AM-U"));
    p->NRD535A_ModeChanged(6);
    EXPECT_EQ(text(p, "lblMode"), QStringLiteral("Fax"));
    p->NRD535A_AttenuatorChanged(2);
    EXPECT_EQ(text(p, "lblAttenuator"), QStringLiteral("?"));
    p->NRD535A_BandwidthcontrolChanged(499);
    EXPECT_EQ(text(p, "lblbandwidthcontrol"), QStringLiteral("?"));
    p->NRD535A_PassbandshiftChanged(2001);
    EXPECT_EQ(text(p, "lblPassbandshift"), QStringLiteral("?"));
    p->NRD535A_NoiseblankerChanged(3);
    EXPECT_EQ(text(p, "lblNoiseblanker"), QStringLiteral("?"));
    p->NRD535A_LockChanged(2);
    EXPECT_EQ(text(p, "lblLock"), QStringLiteral("Off"));
    // The facade's mode setting shows through the same handlers.
    QString letter = QStringLiteral("u");
    SetRx2mfa(letter);
    EXPECT_EQ(text(p, "lblMode"), QStringLiteral("USB"));
    EXPECT_EQ(text(p, "lblBandwidth"), QStringLiteral("Int"));
    EXPECT_EQ(text(p, "lblAgcspeed"), QStringLiteral("Slw"));

    // The facade tunes through the welcome window's driver; the panel follows.
    EXPECT_TRUE(Change2FreqA(15400));
    EXPECT_EQ(box(p), QStringLiteral("15400.000"));
    wire();
    EXPECT_EQ(sim.vfo().hertz, 15400000);

    auto* direct = p->findChild<QMenu*>(QStringLiteral("mnuDirect"));
    ASSERT_NE(direct, nullptr);
    QStringList items;
    for (QAction* a : direct->actions()) items << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(items, (QStringList{"Update", "Set-up . . .", "User Defs . . .", "-", "Last 20 Freqs . . .",
                                  "Freq Scratchpad . . .", "-", "RTTY . . .", "-", "Close", "Exit"}));
    EXPECT_EQ(caption(p, "mnuConvertaero2"), QStringLiteral("Convert Aero . . ."));
    EXPECT_EQ(caption(p, "mnuConvertaero"), QStringLiteral("Convert Aero . . "));

    // Without the RTTY unit the item only explains itself.
    dialogs.expect(QStringLiteral("Reserved for RTTY demodulation\nwith optional unit CMH-530"));
    p->menuItem(QStringLiteral("mnuRtty"))->trigger();
    EXPECT_EQ(dialogs.pending(), 0);
    ASSERT_FALSE(dialogs.shown().isEmpty());
    EXPECT_EQ(dialogs.shown().last().title, QStringLiteral("RTTY demodulation"));
    EXPECT_EQ(dialogs.shown().last().icon, dialogs::Icon::Information);

    // "Update" reads the receiver again.
    sim.setVfo(Setting{0, 0, 4, 9600000, 1});
    p->menuItem(QStringLiteral("mnuUpdate"))->trigger();
    EXPECT_EQ(box(p), QStringLiteral("9600.000"));
    EXPECT_EQ(text(p, "lblMode"), QStringLiteral("AM"));

    p->cmdClose_Click();
    EXPECT_FALSE(NRD535Open);
    EXPECT_FALSE(Comm1->isOpen());
    EXPECT_FALSE(sim.inRemote());
    EXPECT_TRUE(forms::loaded<frmWelcome>()->isVisible());
}

TEST_F(Nrd535PanelTest, ButtonsAndMemoryRecallReachTheReceiver) {
    sim.setChannel(150, Setting{0, 3, 2, 7055000, 2});
    frmNRD535* p = go({{10, 1}, {12, 1}});
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(enabled(p, "cmdBandwidth_2"));
    EXPECT_TRUE(enabled(p, "cmdMode_7"));

    // Held, the commands go out bare.
    click(p, QStringLiteral("cmdLock_1"));
    clearWire();
    keypad(p, QStringLiteral("7100"));
    click(p, QStringLiteral("cmdEnterfreq"));
    click(p, QStringLiteral("cmdAttenuator_1"));
    EXPECT_EQ(wire(), (Wire{"F07100000", "A1"}));
    EXPECT_EQ(sim.vfo().hertz, 7100000);
    EXPECT_EQ(box(p), QStringLiteral("7100.000"));
    EXPECT_EQ(text(p, "lblAttenuator"), QStringLiteral("-20"));

    click(p, QStringLiteral("cmdMode_7"));
    click(p, QStringLiteral("cmdBandwidth_2"));
    click(p, QStringLiteral("cmdAgcspeed_1"));
    click(p, QStringLiteral("cmdNoiseblanker_2"));
    click(p, QStringLiteral("cmdAttenuator_0"));
    wire();
    EXPECT_EQ(sim.vfo(), (Setting{0, 2, 7, 7100000, 1}));
    EXPECT_EQ(sim.noiseBlanker(), 2);
    EXPECT_EQ(text(p, "lblMode"), QStringLiteral("AM-U"));
    EXPECT_EQ(text(p, "lblBandwidth"), QStringLiteral("Nar"));
    EXPECT_EQ(text(p, "lblAgcspeed"), QStringLiteral("Fst"));
    EXPECT_EQ(text(p, "lblNoiseblanker"), QStringLiteral("NB2"));
    EXPECT_EQ(text(p, "lblAttenuator"), QStringLiteral(" 0"));

    // Memory recall goes through the receiver.
    keypad(p, QStringLiteral("150"));
    click(p, QStringLiteral("cmdEnterMem"));
    EXPECT_EQ(box(p), QStringLiteral("7055.000"));
    EXPECT_EQ(text(p, "lblMode"), QStringLiteral("USB"));
    EXPECT_EQ(text(p, "lblBandwidth"), QStringLiteral("Aux"));
    EXPECT_EQ(text(p, "lblAgcspeed"), QStringLiteral("Off"));
    EXPECT_EQ(text(p, "lblMfreq"), QString());

    clearWire();
    for (const QString& entry : {QStringLiteral("200"), QString(), QStringLiteral("99999999999")}) {
        dialogs.expect(QStringLiteral("Memory cell outside range"));
        keypad(p, entry);
        click(p, QStringLiteral("cmdEnterMem"));
        EXPECT_EQ(dialogs.shown().last().title, QStringLiteral("Error"));
        EXPECT_EQ(text(p, "lblMfreq"), QString());
    }
    EXPECT_EQ(wire(), Wire{}) << "nothing is sent for a cell the receiver does not have";

    // Power: the first click switches on, the second off.
    clearWire();
    click(p, QStringLiteral("cmdPowerOnOff"));
    EXPECT_EQ(bg(p, "cmdPowerOnOff"), nrdcolours::PowerOn);
    click(p, QStringLiteral("cmdPowerOnOff"));
    EXPECT_EQ(bg(p, "cmdPowerOnOff"), nrdcolours::PowerOff);
    EXPECT_EQ(wire(), (Wire{"T1", "T0"}));
    EXPECT_FALSE(sim.power());
}

TEST_F(Nrd535PanelTest, TheLockHoldsTheReceiverAndTheModeAndFilterSetUpTheSliders) {
    sim.setVfo(Setting{0, 0, 2, 14200000, 1});
    frmNRD535* p = go({{11, 1}});
    ASSERT_NE(p, nullptr);
    QSlider* bwc = slider(p, "vsbBandwidthcontrol");
    QSlider* pbs = slider(p, "vsbPassbandshift");
    clearWire();

    click(p, QStringLiteral("cmdLock_1"));
    EXPECT_EQ(PanelLock, 1);
    EXPECT_TRUE(inRemote());
    EXPECT_EQ(text(p, "lblLock"), QStringLiteral("On"));
    EXPECT_EQ(bg(p, "lblLock"), nrdcolours::Orange);
    // "Wid" with the option: 2000..5500, starting at the top.
    EXPECT_TRUE(bwc->isEnabled());
    EXPECT_EQ(bwc->minimum(), 2000);
    EXPECT_EQ(bwc->maximum(), 5500);
    EXPECT_EQ(bwc->value(), 5500);
    EXPECT_TRUE(pbs->isEnabled());
    EXPECT_EQ(pbs->value(), 0);
    EXPECT_EQ(wire(), (Wire{"H1", "H1", "J1199", "L199199", "P+0000", "W5500"}));
    EXPECT_EQ(sim.bandwidthControl(), 5500);
    EXPECT_EQ(text(p, "lblbandwidthcontrol"), QStringLiteral(" 5500"));
    EXPECT_EQ(text(p, "lblPassbandshift"), QStringLiteral(" 0"));
    // The label shows what the receiver has over the whole of its range,
    // also beyond the filter's own.
    const std::pair<int, const char*> shown[] = {{800, " 800"}, {500, " 500"}, {499, "?"}, {5501, "?"}, {5500, " 5500"}};
    for (const auto& [v, label] : shown) {
        p->NRD535A_BandwidthcontrolChanged(v);
        EXPECT_EQ(text(p, "lblbandwidthcontrol"), QLatin1String(label)) << v;
    }

    // A slider sends its value at once; a click on the label centres it.
    pbs->setValue(-500);
    EXPECT_EQ(text(p, "lblPassbandshift"), QStringLiteral("-500"));
    bwc->setValue(4000);
    wire();
    EXPECT_EQ(sim.passbandShift(), -500);
    EXPECT_EQ(sim.bandwidthControl(), 4000);
    p->lblPassbandshift_Click();
    wire();
    EXPECT_EQ(sim.passbandShift(), 0);

    // "Int" re-ranges the slider without sending anything on the way.
    clearWire();
    click(p, QStringLiteral("cmdBandwidth_1"));
    EXPECT_EQ(bwc->minimum(), 500);
    EXPECT_EQ(bwc->maximum(), 2200);
    EXPECT_EQ(wire(), (Wire{"B1", "J1199", "L199199", "P+0000", "W2200"}));
    // "Aux" has no bandwidth control.
    click(p, QStringLiteral("cmdBandwidth_3"));
    EXPECT_FALSE(bwc->isEnabled());
    EXPECT_EQ(text(p, "lblbandwidthcontrol"), QString());
    // Without the option "Wid" leaves it so.
    Settings[11] = 0;
    click(p, QStringLiteral("cmdBandwidth_0"));
    EXPECT_FALSE(bwc->isEnabled());
    EXPECT_TRUE(pbs->isEnabled());

    // NFM has neither AGC nor filters, held or not.
    click(p, QStringLiteral("cmdMode_5"));
    wire();
    EXPECT_EQ(sim.vfo().mode, 5);
    for (const char* c : {"cmdAgcspeed_0", "cmdAgcspeed_1", "cmdAgcspeed_2", "fraFilters", "vsbBandwidthcontrol",
                          "vsbPassbandshift"})
        EXPECT_FALSE(enabled(p, c)) << c;
    for (const char* l : {"lblAgcspeed", "lblBandwidth", "lblbandwidthcontrol", "lblPassbandshift"})
        EXPECT_EQ(text(p, l), QString()) << l;

    click(p, QStringLiteral("cmdMode_2"));
    EXPECT_TRUE(enabled(p, "cmdAgcspeed_0"));
    EXPECT_TRUE(enabled(p, "fraFilters"));
    EXPECT_TRUE(enabled(p, "vsbPassbandshift"));

    click(p, QStringLiteral("cmdLock_0"));
    EXPECT_EQ(PanelLock, 0);
    EXPECT_EQ(RemoteHeld, 0);
    EXPECT_FALSE(inRemote());
    EXPECT_EQ(text(p, "lblLock"), QStringLiteral("Off"));
    EXPECT_FALSE(pbs->isEnabled());
    EXPECT_EQ(text(p, "lblPassbandshift"), QString());
    click(p, QStringLiteral("cmdMode_5"));
    EXPECT_FALSE(enabled(p, "fraFilters"));
    EXPECT_EQ(text(p, "lblBandwidth"), QString());
}

TEST_F(Nrd535PanelTest, TheLockLabelShowsTheHoldAfterTheReceiverHasGone) {
    onALinkOfItsOwn();
    frmNRD535* p = go();
    ASSERT_NE(p, nullptr);
    click(p, QStringLiteral("cmdLock_1"));
    expectTheLockAsItStandsOnceTheReceiverHasGone(p);
}

TEST_F(Nrd535PanelTest, SteppingAndToolsNeverReleaseTheUsersLock) {
    frmNRD535* p = go();
    ASSERT_NE(p, nullptr);
    control<QComboBox>(p, QStringLiteral("cmbFreqstep"))->setEditText(QStringLiteral("1"));
    auto stepAWhile = [&] {
        click(p, QStringLiteral("cmdMovefreq"));
        pump(150);
        const bool heldWhileStepping = sim.inRemote();
        click(p, QStringLiteral("cmdMovefreq"));
        return heldWhileStepping;
    };

    // The user's lock outlasts a run of continuous stepping and the tools.
    click(p, QStringLiteral("cmdLock_1"));
    EXPECT_TRUE(stepAWhile());
    EXPECT_EQ(RemoteHeld, 1);
    EXPECT_EQ(text(p, "lblLock"), QStringLiteral("On"));
    dovrane::lockoffon(1);
    dovrane::lockoffon(0);
    EXPECT_EQ(RemoteHeld, 1);
    EXPECT_TRUE(inRemote());
    EXPECT_NE(sim.vfo().hertz, 9500000) << "it stepped";

    // Unlocked, stepping holds the receiver for its run only.
    click(p, QStringLiteral("cmdLock_0"));
    EXPECT_FALSE(inRemote());
    EXPECT_TRUE(stepAWhile());
    EXPECT_FALSE(inRemote());
    EXPECT_EQ(text(p, "lblLock"), QStringLiteral("Off"));

    // A tool's run is not cut short by stepping that ends inside it.
    dovrane::lockoffon(1);
    EXPECT_TRUE(inRemote());
    EXPECT_TRUE(enabled(p, "vsbPassbandshift")) << "a tool's hold enables the sliders";
    EXPECT_EQ(PanelLock, 0);
    stepAWhile();
    EXPECT_EQ(RemoteHeld, 1);
    EXPECT_TRUE(inRemote());
    dovrane::lockoffon(0);
    EXPECT_FALSE(inRemote());
    EXPECT_FALSE(enabled(p, "vsbPassbandshift"));

    // Nor is a hold taken through the panel itself, as a dialog takes it.
    p->lockoffon(1);
    stepAWhile();
    EXPECT_TRUE(inRemote());
    p->lockoffon(0);
    EXPECT_FALSE(inRemote());

    // Closing the panel releases a lock the user still holds.
    click(p, QStringLiteral("cmdLock_1"));
    EXPECT_TRUE(inRemote());
    p->cmdClose_Click();
    EXPECT_EQ(RemoteHeld, 0);
    EXPECT_FALSE(sim.inRemote());
    EXPECT_EQ(lockPanel(), nullptr);
    PanelLock = 0;
    dovrane::lockoffon(1);
    EXPECT_EQ(RemoteHeld, 0) << "with no NRD panel open the tools' calls do nothing";
}

TEST_F(Nrd535PanelTest, ARefreshEnablesTheSlidersOnlyOnAHeldReceiver) {
    sim.setVfo(Setting{0, 0, 2, 14200000, 1});
    frmNRD535* p = go({{11, 1}});
    ASSERT_NE(p, nullptr);
    for (int held : {0, 1, 0}) {
        SCOPED_TRACE(held ? "held" : "not held");
        if (held != RemoteHeld) click(p, QStringLiteral("cmdLock_%1").arg(held));
        clearWire();
        p->RxUpdatefull();
        EXPECT_EQ(enabled(p, "vsbPassbandshift"), held == 1);
        EXPECT_EQ(enabled(p, "vsbBandwidthcontrol"), held == 1);
        // A receiver in local would ignore the shift and the bandwidth.
        const Wire sent = wire();
        const bool slidersSent = std::any_of(sent.begin(), sent.end(), [](const QByteArray& c) {
            return c.startsWith('P') || c.startsWith('W');
        });
        EXPECT_EQ(slidersSent, held == 1);
        // Nor does anything the receiver reports make a slider live on a
        // receiver that is not held.
        const std::pair<const char*, std::function<void()>> reports[] = {
            {"a passband shift", [p] { p->NRD535A_PassbandshiftChanged(500); }},
            {"a bandwidth control", [p] { p->NRD535A_BandwidthcontrolChanged(3000); }},
            {"a status", [p] { p->NRD535A_RxStatusChanged(QStringLiteral("X002142000001")); }},
            {"a filter", [p] { p->NRD535A_BandwidthChanged(0); }},
            {"a mode", [p] { p->NRD535A_ModeChanged(2); }},
        };
        for (const auto& [what, report] : reports) {
            report();
            EXPECT_EQ(enabled(p, "vsbPassbandshift"), held == 1) << "after " << what;
            EXPECT_EQ(enabled(p, "vsbBandwidthcontrol"), held == 1) << "after " << what;
        }
    }
}

TEST_F(Nrd535PanelTest, ALockTakenDuringAToolsRunOutlastsTheRun) {
    frmNRD535* p = go();
    ASSERT_NE(p, nullptr);
    {
        RunHold run;
        EXPECT_TRUE(inRemote());
        click(p, QStringLiteral("cmdLock_1"));
    }
    EXPECT_EQ(PanelLock, 1);
    EXPECT_EQ(RemoteHeld, 1);
    EXPECT_TRUE(inRemote());
    EXPECT_EQ(text(p, "lblLock"), QStringLiteral("On"));
    EXPECT_TRUE(enabled(p, "vsbPassbandshift"));
}

TEST_F(Nrd535PanelTest, KeysMoveTheSlidersOnlyUnderTheUsersLock) {
    sim.setVfo(Setting{0, 0, 2, 14200000, 1});
    frmNRD535* p = go({{11, 1}});
    ASSERT_NE(p, nullptr);
    QWidget* k = keyTarget(p);
    QSlider* bwc = slider(p, "vsbBandwidthcontrol");
    QSlider* pbs = slider(p, "vsbPassbandshift");

    // A tool's hold does not arm the keys.
    dovrane::lockoffon(1);
    clearWire();
    sendKey(k, Qt::Key_Plus, Qt::ShiftModifier, QStringLiteral("+"));
    sendKey(k, Qt::Key_F4, Qt::ControlModifier);
    EXPECT_EQ(pbs->value(), 0);
    EXPECT_EQ(wire(), Wire{});
    dovrane::lockoffon(0);

    sendKey(k, Qt::Key_Plus, Qt::ShiftModifier | Qt::ControlModifier, QStringLiteral("+"));
    ASSERT_EQ(PanelLock, 1);
    pbs->setValue(1975);
    clearWire();
    sendKey(k, Qt::Key_Plus, Qt::ShiftModifier, QStringLiteral("+"));
    EXPECT_EQ(pbs->value(), 2000);
    sendKey(k, Qt::Key_Plus, Qt::ShiftModifier, QStringLiteral("+"));
    EXPECT_EQ(pbs->value(), 2000);
    EXPECT_EQ(wire(), (Wire{"P+2000", "P+2000"})) << "a key sends even at the end of the range";
    pbs->setValue(-1975);
    sendKey(k, Qt::Key_Underscore, Qt::ShiftModifier, QStringLiteral("_"));
    EXPECT_EQ(pbs->value(), -2000);
    sendKey(k, Qt::Key_ParenRight, Qt::ShiftModifier, QStringLiteral(")"));
    EXPECT_EQ(pbs->value(), 0);
    wire();
    EXPECT_EQ(sim.passbandShift(), 0);

    // Bandwidth control by "Wid" steps, then "Int" steps.
    bwc->setValue(5400);
    sendKey(k, Qt::Key_F3, Qt::ControlModifier);
    EXPECT_EQ(bwc->value(), 5500);
    sendKey(k, Qt::Key_F2, Qt::ControlModifier);
    EXPECT_EQ(bwc->value(), 5300);
    sendKey(k, Qt::Key_F1, Qt::ControlModifier);
    EXPECT_EQ(bwc->value(), 2000);
    sendKey(k, Qt::Key_F2, Qt::ControlModifier);
    EXPECT_EQ(bwc->value(), 2000);
    sendKey(k, Qt::Key_F2, Qt::ShiftModifier);  // filter "Int"
    EXPECT_EQ(text(p, "lblBandwidth"), QStringLiteral("Int"));
    bwc->setValue(550);
    sendKey(k, Qt::Key_F2, Qt::ControlModifier);
    EXPECT_EQ(bwc->value(), 500);
    sendKey(k, Qt::Key_F4, Qt::ControlModifier);
    EXPECT_EQ(bwc->value(), 2200);
    wire();
    EXPECT_EQ(sim.bandwidthControl(), 2200);

    // With "Aux" there is no bandwidth control, and the keys send nothing.
    sendKey(k, Qt::Key_F4, Qt::ShiftModifier);
    EXPECT_EQ(text(p, "lblBandwidth"), QStringLiteral("Aux"));
    clearWire();
    sendKey(k, Qt::Key_F1, Qt::ControlModifier);
    EXPECT_EQ(wire(), Wire{});

    sendKey(k, Qt::Key_U, Qt::ShiftModifier, QStringLiteral("U"));
    wire();
    EXPECT_EQ(sim.vfo().mode, 2);
    sendKey(k, Qt::Key_Underscore, Qt::ShiftModifier | Qt::ControlModifier, QStringLiteral("_"));
    EXPECT_EQ(PanelLock, 0);
    EXPECT_FALSE(inRemote());
}

// The Shift keys work the filter and mode buttons, and like the buttons they
// never send the receiver a code of an option it lacks.
TEST_F(Nrd535PanelTest, KeysReachAFilterOrModeOfAnOptionOnlyWithTheOption) {
    sim.setVfo(Setting{0, 0, 2, 14200000, 1});
    frmNRD535* p = go();
    ASSERT_NE(p, nullptr);
    QWidget* k = keyTarget(p);
    struct Case {
        Qt::Key key;
        const char* text;
        int setting;
        int filter, mode;   // what the receiver holds after the key, with the option
    };
    const Case cases[] = {
        {Qt::Key_F1, "", NarrowFilterOption, 2, 2},
        {Qt::Key_P, "P", EcssOption, 2, 7},
        {Qt::Key_M, "M", EcssOption, 2, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text[0] ? c.text : "F1");
        Settings[size_t(c.setting)] = 0;
        const Setting before = sim.vfo();
        clearWire();
        sendKey(k, c.key, Qt::ShiftModifier, QLatin1String(c.text));
        EXPECT_EQ(wire(), Wire{}) << "sent without the option";
        EXPECT_EQ(sim.vfo().bandwidth, before.bandwidth);
        EXPECT_EQ(sim.vfo().mode, before.mode);

        Settings[size_t(c.setting)] = 1;
        sendKey(k, c.key, Qt::ShiftModifier, QLatin1String(c.text));
        wire();
        EXPECT_EQ(sim.vfo().bandwidth, c.filter);
        EXPECT_EQ(sim.vfo().mode, c.mode);
    }
}

// The panel sits through one unanswered question at most for each thing the
// user does: counted in questions the receiver was asked, which a busy
// machine does not change, rather than in the time they took.
TEST_F(Nrd535PanelTest, ASilentReceiverNeverHoldsUpThePanel) {
    sim.setFault(sim::Fault::Silent);
    dialogs.expect(QStringLiteral("The receiver does not answer"));
    frmNRD535* p = go({{11, 1}});
    ASSERT_NE(p, nullptr);
    ASSERT_TRUE(sim.waitIdle());
    EXPECT_LE(sim.repliesSent(), 1) << "Go kept asking a receiver that does not answer";
    EXPECT_TRUE(NRD535Open);
    EXPECT_EQ(box(p), QString()) << "nothing is shown that the receiver did not give";
    EXPECT_EQ(text(p, "lblMode"), QString());

    // The hold takes, but a refresh without an answer enables nothing.
    const int asked = sim.repliesSent();
    click(p, QStringLiteral("cmdLock_1"));
    ASSERT_TRUE(sim.waitIdle());
    EXPECT_LE(sim.repliesSent() - asked, 1) << "the lock kept asking a receiver that does not answer";
    EXPECT_EQ(RemoteHeld, 1);
    EXPECT_FALSE(enabled(p, "vsbPassbandshift"));
    EXPECT_FALSE(enabled(p, "vsbBandwidthcontrol"));
    p->cmdClose_Click();
    EXPECT_FALSE(sim.inRemote());
}

} // namespace
} // namespace dovrane::test
