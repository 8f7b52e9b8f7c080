// The NRD-545 panel against a simulated NRD-545: what Go shows, the six
// sliders that act only while the receiver is held, the buttons, the keys,
// memory recall and a receiver that does not answer.
#include "test_frmnrd5_rig.h"

#include "panels/frmnrd545.h"
#include "sim/nrd545_sim.h"

#include <QComboBox>
#include <QMenu>

namespace dovrane::test {
namespace {

using Setting = sim::NrdSimBase::Setting;
using Levels = sim::Nrd545Sim::Levels;

const char* const kSliders[] = {"vsbBandwidthcontrol", "vsbPassbandshift", "vsbIfgain",
                                "vsbSquelch",          "vsbTone",          "vsbVolume"};
const char* const kSliderLabels[] = {"lblbandwidthcontrol", "lblPassbandshift", "lblIfgain",
                                     "lblSquelch",          "lblTone",          "lblVolume"};

class Nrd545PanelTest : public NrdPanelTest<sim::Nrd545Sim, frmNRD545, 4> {
protected:
    void keypad(frmNRD545* p, const QString& digits) {
        for (QChar c : digits) click(p, QStringLiteral("cmd0to9_") + c);
    }
    static void expectSlidersOff(frmNRD545* p) {
        for (const char* s : kSliders) EXPECT_FALSE(enabled(p, s)) << s;
        for (const char* l : kSliderLabels) EXPECT_EQ(text(p, l), QString()) << l;
    }
};

TEST_F(Nrd545PanelTest, GoShowsTheReceiverItsMenusAndCloseReturnsItToLocal) {
    sim.setVfo(Setting{1, 1, 4, 6090000, 30});
    frmNRD545* p = go();
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(NRD545Open);
    EXPECT_EQ(p->windowTitle(), QStringLiteral("NRD-545"));
    EXPECT_EQ(Comm1->settings(), QStringLiteral("4800,N,8,1"));

    // RTTY off, the input tuning circuit on, a status read, remote off.
    EXPECT_EQ(wire(), (Wire{"H1", "H1", "U230", "H0", "H0", "H1", "H1", "U241", "H0", "H0", "H1", "H1", "MM21",
                            "J1999", "MM21", "L999999", "H0", "H0", "H0", "H0"}));
    EXPECT_FALSE(sim.inRemote());
    EXPECT_EQ(sim.userSetting(24), QByteArray("1"));
    EXPECT_EQ(text(p, "lblAttenuator"), QStringLiteral("-20"));
    EXPECT_EQ(text(p, "lblBandwidth"), QStringLiteral("Int"));
    EXPECT_EQ(text(p, "lblMode"), QStringLiteral("AM"));
    EXPECT_EQ(text(p, "lblAgcspeed"), QStringLiteral("0600"));
    EXPECT_EQ(box(p), QStringLiteral("6090.000"));
    EXPECT_EQ(text(p, "lblLock"), QStringLiteral("Off"));
    // AM: the ECSS buttons are offered, the AGC is the receiver's own.
    EXPECT_TRUE(enabled(p, "cmdEcss_0"));
    EXPECT_FALSE(enabled(p, "cmdAgcspeed_0"));
    // Not held: no slider can act.
    expectSlidersOff(p);

    EXPECT_EQ(p->palette().color(QPalette::Window), QColor(0xD0, 0x00, 0x00));
    EXPECT_EQ(bg(p, "cmdClose"), QColor(0xFF, 0x80, 0x80));
    EXPECT_EQ(bg(p, "cmdPowerOnOff"), QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(bg(p, "lblAttenuator"), nrdcolours::LightYellow);
    EXPECT_NE(control<QWidget>(p, QStringLiteral("fraFreqA"))->findChild<QWidget*>(QStringLiteral("cmdFreqOrChan")),
              nullptr);

    auto* direct = p->findChild<QMenu*>(QStringLiteral("mnuDirect"));
    ASSERT_NE(direct, nullptr);
    QStringList items;
    for (QAction* a : direct->actions()) items << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(items, (QStringList{"Update", "Set-up . . .", "User Defs . . .", "Advanced DSP . . .", "-",
                                  "Last 20 Freqs . . .", "Freq Sratchpad . . .", "-", "RTTY", "-", "Close", "Exit"}));
    EXPECT_EQ(caption(p, "mnuConvertaero2"), QStringLiteral("Convert Aero . . ."));
    EXPECT_EQ(caption(p, "mnuConvertaero"), QStringLiteral("Convert Aero . . ."));

    // Values with no text show "?" and leave their slider where it was.
    const Wire wireBefore = wire();
    QSlider* bwc = slider(p, "vsbBandwidthcontrol");
    QSlider* ifg = slider(p, "vsbIfgain");
    const int bwcBefore = bwc->value();
    const int ifgBefore = ifg->value();
    for (int v : {0, 1000}) {
        p->NRD545A_BandwidthcontrolChanged(v);
        EXPECT_EQ(text(p, "lblbandwidthcontrol"), QStringLiteral("?"));
        EXPECT_EQ(bwc->value(), bwcBefore);
    }
    p->NRD545A_BandwidthcontrolChanged(999);
    EXPECT_EQ(text(p, "lblbandwidthcontrol"), QStringLiteral("9.99"));
    p->NRD545A_PassbandshiftChanged(-230);
    EXPECT_EQ(text(p, "lblPassbandshift"), QStringLiteral("-2.30"));
    p->NRD545A_PassbandshiftChanged(231);
    EXPECT_EQ(text(p, "lblPassbandshift"), QStringLiteral("?"));
    p->NRD545A_IfgainChanged(300);
    EXPECT_EQ(text(p, "lblIfgain"), QStringLiteral("?"));
    EXPECT_EQ(ifg->value(), ifgBefore);
    p->NRD545A_SquelchChanged(128);
    EXPECT_EQ(text(p, "lblSquelch"), QStringLiteral("49"));
    p->NRD545A_ToneChanged(127);
    EXPECT_EQ(text(p, "lblTone"), QStringLiteral("  0"));
    p->NRD545A_AgcspeedChanged(10);
    EXPECT_EQ(text(p, "lblAgcspeed"), QStringLiteral("?"));
    p->NRD545A_RxStatusChanged(QStringLiteral("X054012345670"));
    EXPECT_EQ(text(p, "lblAgcspeed"), QStringLiteral("0000")) << "the status shows AGC 0 as a time";
    EXPECT_EQ(text(p, "lblBandwidth"), QStringLiteral("?"));
    p->NRD545A_EcssChanged(3);
    EXPECT_EQ(text(p, "lblMode"), QStringLiteral("?"));
    p->NRD545A_AttenuatorChanged(0);
    EXPECT_EQ(text(p, "lblAttenuator"), QStringLiteral(" 0"));
    p->NRD545A_LockChanged(5);
    EXPECT_EQ(text(p, "lblLock"), QStringLiteral("Off"));
    // Nothing of this went to the receiver.
    EXPECT_EQ(wire(), wireBefore);

    EXPECT_TRUE(Change2FreqA(15400));
    EXPECT_EQ(box(p), QStringLiteral("15400.000"));
    wire();
    EXPECT_EQ(sim.vfo().hertz, 15400000);

    p->cmdClose_Click();
    EXPECT_FALSE(NRD545Open);
    EXPECT_FALSE(Comm1->isOpen());
    EXPECT_FALSE(sim.inRemote());
    EXPECT_TRUE(forms::loaded<frmWelcome>()->isVisible());
}

TEST_F(Nrd545PanelTest, SlidersActOnlyWhileTheReceiverIsHeld) {
    sim.setVfo(Setting{0, 0, 2, 14200000, 10});
    Levels start;
    start.bandwidthControl = 240;
    start.passbandShift = -120;
    start.ifGain = 200;
    start.squelch = 128;
    start.tone = 255;
    start.volume = 0;
    sim.setLevels(start);
    frmNRD545* p = go();
    ASSERT_NE(p, nullptr);
    clearWire();

    // Held, the refresh reads the six values and shows them without sending
    // them back.
    click(p, QStringLiteral("cmdLock_1"));
    EXPECT_EQ(wire(), (Wire{"H1", "H1", "MM21", "J1999", "MM21", "L999999", "W", "P", "HH", "LL", "KK", "JJ"}));
    for (const char* s : kSliders) EXPECT_TRUE(enabled(p, s)) << s;
    EXPECT_EQ(text(p, "lblbandwidthcontrol"), QStringLiteral("2.40"));
    EXPECT_EQ(text(p, "lblPassbandshift"), QStringLiteral("-1.20"));
    EXPECT_EQ(text(p, "lblIfgain"), QStringLiteral("78"));
    EXPECT_EQ(text(p, "lblSquelch"), QStringLiteral("49"));
    EXPECT_EQ(text(p, "lblTone"), QStringLiteral("+ 9"));
    EXPECT_EQ(text(p, "lblVolume"), QStringLiteral("00"));
    EXPECT_EQ(slider(p, "vsbIfgain")->value(), 200);
    EXPECT_EQ(slider(p, "vsbPassbandshift")->value(), -120);

    // Each slider reaches the receiver.
    slider(p, "vsbBandwidthcontrol")->setValue(500);
    slider(p, "vsbPassbandshift")->setValue(100);
    slider(p, "vsbIfgain")->setValue(10);
    slider(p, "vsbSquelch")->setValue(20);
    slider(p, "vsbTone")->setValue(0);
    slider(p, "vsbVolume")->setValue(255);
    wire();
    Levels l = sim.levels();
    EXPECT_EQ(l.bandwidthControl, 500);
    EXPECT_EQ(l.passbandShift, 100);
    EXPECT_EQ(l.ifGain, 10);
    EXPECT_EQ(l.squelch, 20);
    EXPECT_EQ(l.tone, 0);
    EXPECT_EQ(l.volume, 255);
    EXPECT_EQ(text(p, "lblTone"), QStringLiteral("- 9"));
    EXPECT_EQ(text(p, "lblVolume"), QStringLiteral("99"));
    EXPECT_EQ(text(p, "lblbandwidthcontrol"), QStringLiteral("5.00"));

    // The labels that centre or silence their slider.
    p->lblTone_Click();
    p->lblVolume_Click();
    p->lblPassbandshift_Click();
    wire();
    l = sim.levels();
    EXPECT_EQ(l.tone, 127);
    EXPECT_EQ(l.volume, 0);
    EXPECT_EQ(l.passbandShift, 0);
    EXPECT_EQ(text(p, "lblTone"), QStringLiteral("  0"));

    // A filter change shows the receiver's bandwidth control for it.
    clearWire();
    click(p, QStringLiteral("cmdBandwidth_2"));
    EXPECT_EQ(wire(), (Wire{"B2", "W"}));
    EXPECT_EQ(text(p, "lblBandwidth"), QStringLiteral("Nar"));

    click(p, QStringLiteral("cmdLock_0"));
    EXPECT_FALSE(inRemote());
    expectSlidersOff(p);
    // A refresh while released enables none of them, and a slider moved by
    // the program sends nothing to a receiver that would not take it.
    clearWire();
    p->menuItem(QStringLiteral("mnuUpdate"))->trigger();
    expectSlidersOff(p);
    slider(p, "vsbPassbandshift")->setValue(50);
    slider(p, "vsbVolume")->setValue(60);
    EXPECT_EQ(wire(), (Wire{"H1", "H1", "MM21", "J1999", "MM21", "L999999", "H0", "H0"}));
}

// The bandwidth control at either end of what the receiver takes: read back
// it is shown with its slider live, and the slider sends it.
TEST_F(Nrd545PanelTest, TheBandwidthControlAtEitherEndIsShownAndSent) {
    const struct {
        int value;
        const char* shown;
        QByteArray command;
    } ends[] = {{999, "9.99", "W999"}, {1, "0.01", "W001"}};
    for (const auto& end : ends) {
        SCOPED_TRACE(end.shown);
        sim.setVfo(Setting{0, 0, 2, 14200000, 10});
        Levels l;
        l.bandwidthControl = end.value;
        sim.setLevels(l);
        frmNRD545* p = go();
        ASSERT_NE(p, nullptr);
        click(p, QStringLiteral("cmdLock_1"));
        QSlider* bwc = slider(p, "vsbBandwidthcontrol");
        EXPECT_EQ(text(p, "lblbandwidthcontrol"), QLatin1String(end.shown));
        EXPECT_TRUE(bwc->isEnabled());
        EXPECT_EQ(bwc->value(), end.value);

        bwc->setValue(500);
        clearWire();
        bwc->setValue(end.value);
        EXPECT_EQ(wire(), Wire{end.command});
        EXPECT_EQ(sim.levels().bandwidthControl, end.value);
        EXPECT_EQ(text(p, "lblbandwidthcontrol"), QLatin1String(end.shown));
        TearDown();
        SetUp();
    }
}

TEST_F(Nrd545PanelTest, ModeFilterAgcMemoryAndOtherButtons) {
    sim.setChannel(500, Setting{0, 2, 3, 3985000, 90});
    frmNRD545* p = go();
    ASSERT_NE(p, nullptr);
    click(p, QStringLiteral("cmdLock_1"));

    // NFM and AMS set their own filter: no filter buttons, no bandwidth sliders.
    for (const char* mode : {"cmdMode_5", "cmdMode_6"}) {
        click(p, QLatin1String(mode));
        for (const char* c : {"cmdBandwidth_0", "cmdBandwidth_1", "cmdBandwidth_2", "lblBandwidth",
                              "vsbBandwidthcontrol", "vsbPassbandshift", "cmdAgcspeed_0", "cmdEcss_0"})
            EXPECT_FALSE(enabled(p, c)) << mode << " " << c;
        EXPECT_EQ(text(p, "lblBandwidth"), QStringLiteral("Wid"));
        EXPECT_TRUE(enabled(p, "vsbIfgain"));
    }
    wire();
    EXPECT_EQ(sim.vfo().mode, 6);
    // USB: filters, both bandwidth sliders and the AGC buttons are back.
    click(p, QStringLiteral("cmdMode_2"));
    for (const char* c : {"cmdBandwidth_0", "vsbBandwidthcontrol", "vsbPassbandshift", "cmdAgcspeed_0"})
        EXPECT_TRUE(enabled(p, c)) << c;
    EXPECT_FALSE(enabled(p, "cmdEcss_1"));
    // WFM, which only the receiver can select: filters yes, AGC no.
    sim.setVfo(Setting{0, 0, 9, 9000000, 10});
    p->RxUpdatefull();
    EXPECT_EQ(text(p, "lblMode"), QStringLiteral("WFM"));
    EXPECT_TRUE(enabled(p, "cmdBandwidth_0"));
    EXPECT_FALSE(enabled(p, "cmdAgcspeed_0"));
    // AM offers ECSS.
    click(p, QStringLiteral("cmdMode_4"));
    EXPECT_TRUE(enabled(p, "cmdEcss_1"));
    click(p, QStringLiteral("cmdEcss_1"));
    wire();
    EXPECT_EQ(sim.levels().ecss, 2);
    EXPECT_EQ(text(p, "lblMode"), QStringLiteral("AM-L"));

    // The AGC buttons send the factors of the settings (defaults 1, 3, 9).
    click(p, QStringLiteral("cmdMode_1"));
    const std::pair<const char*, int> agc[] = {{"cmdAgcspeed_0", 10}, {"cmdAgcspeed_1", 30}, {"cmdAgcspeed_2", 90}};
    const char* shown[] = {"0200", "0600", "1800"};
    for (size_t i = 0; i < 3; ++i) {
        click(p, QLatin1String(agc[i].first));
        wire();
        EXPECT_EQ(sim.vfo().agc, agc[i].second);
        EXPECT_EQ(text(p, "lblAgcspeed"), QLatin1String(shown[i]));
    }
    click(p, QStringLiteral("cmdAgcspeed_3"));
    wire();
    EXPECT_EQ(sim.vfo().agc, 0);
    EXPECT_EQ(text(p, "lblAgcspeed"), QStringLiteral("Off"));

    // Memory recall goes through the receiver.
    keypad(p, QStringLiteral("500"));
    click(p, QStringLiteral("cmdEnterMem"));
    EXPECT_EQ(box(p), QStringLiteral("3985.000"));
    EXPECT_EQ(text(p, "lblMode"), QStringLiteral("LSB"));
    EXPECT_EQ(text(p, "lblBandwidth"), QStringLiteral("Nar"));
    EXPECT_EQ(text(p, "lblAgcspeed"), QStringLiteral("1800"));

    clearWire();
    keypad(p, QStringLiteral("999"));
    click(p, QStringLiteral("cmdEnterMem"));
    EXPECT_TRUE(wire().contains("C999"));
    clearWire();
    for (const QString& entry : {QStringLiteral("1000"), QStringLiteral("99999"), QString()}) {
        dialogs.expect(QStringLiteral("Memory cell outside range"));
        keypad(p, entry);
        click(p, QStringLiteral("cmdEnterMem"));
        EXPECT_EQ(text(p, "lblMfreq"), QString());
    }
    EXPECT_EQ(wire(), Wire{});

    clearWire();
    click(p, QStringLiteral("cmdAttenuator_1"));
    click(p, QStringLiteral("cmdPowerOnOff"));
    click(p, QStringLiteral("cmdFreqOrChan"));
    EXPECT_EQ(wire(), (Wire{"A1", "T1", "MM21"}));
    EXPECT_EQ(text(p, "lblAttenuator"), QStringLiteral("-20"));
    EXPECT_EQ(bg(p, "cmdPowerOnOff"), nrdcolours::PowerOn);
    EXPECT_TRUE(sim.channelDisplay());
}

// The labels never show a value the receiver is not using: the bandwidth
// control and passband shift go blank in NFM and AMS and come back with the
// next mode, and the lock shows the hold as it stands after a release that
// could not reach the receiver.
TEST_F(Nrd545PanelTest, TheLabelsShowWhatTheReceiverHas) {
    onALinkOfItsOwn();
    sim.setVfo(Setting{0, 0, 2, 14200000, 10});
    frmNRD545* p = go();
    ASSERT_NE(p, nullptr);
    click(p, QStringLiteral("cmdLock_1"));
    EXPECT_EQ(text(p, "lblbandwidthcontrol"), QStringLiteral("2.40"));
    EXPECT_EQ(text(p, "lblPassbandshift"), QStringLiteral("0.00"));

    const struct {
        const char* mode;
        const char* bwc;
        const char* pbs;
    } modes[] = {{"cmdMode_5", "", ""}, {"cmdMode_2", "2.40", "0.00"}, {"cmdMode_6", "", ""},
                 {"cmdMode_4", "2.40", "0.00"}};
    for (const auto& m : modes) {
        click(p, QLatin1String(m.mode));
        EXPECT_EQ(text(p, "lblbandwidthcontrol"), QLatin1String(m.bwc)) << m.mode;
        EXPECT_EQ(text(p, "lblPassbandshift"), QLatin1String(m.pbs)) << m.mode;
    }
    // The receiver goes away while held.
    expectTheLockAsItStandsOnceTheReceiverHasGone(p);
}

TEST_F(Nrd545PanelTest, KeysUnderTheUsersLockAndSteppingThatKeepsIt) {
    frmNRD545* p = go();
    ASSERT_NE(p, nullptr);
    QWidget* k = keyTarget(p);
    QSlider* pbs = slider(p, "vsbPassbandshift");
    QSlider* bwc = slider(p, "vsbBandwidthcontrol");
    QSlider* vol = slider(p, "vsbVolume");

    // A tool's hold enables the sliders but does not arm the keys.
    dovrane::lockoffon(1);
    EXPECT_TRUE(pbs->isEnabled());
    clearWire();
    sendKey(k, Qt::Key_Plus, Qt::ShiftModifier, QStringLiteral("+"));
    sendKey(k, Qt::Key_F1, Qt::ControlModifier);
    sendKey(k, Qt::Key_0, Qt::AltModifier, QStringLiteral("0"));
    EXPECT_EQ(wire(), Wire{});
    dovrane::lockoffon(0);
    EXPECT_FALSE(inRemote());

    sendKey(k, Qt::Key_Plus, Qt::ShiftModifier | Qt::ControlModifier, QStringLiteral("+"));
    ASSERT_EQ(PanelLock, 1);
    pbs->setValue(225);
    sendKey(k, Qt::Key_Plus, Qt::ShiftModifier, QStringLiteral("+"));
    EXPECT_EQ(pbs->value(), 230);
    pbs->setValue(-225);
    sendKey(k, Qt::Key_Underscore, Qt::ShiftModifier, QStringLiteral("_"));
    EXPECT_EQ(pbs->value(), -230);
    clearWire();
    sendKey(k, Qt::Key_Underscore, Qt::ShiftModifier, QStringLiteral("_"));
    EXPECT_EQ(wire(), Wire{"P-230"}) << "a key sends even at the end of the range";
    sendKey(k, Qt::Key_ParenRight, Qt::ShiftModifier, QStringLiteral(")"));
    EXPECT_EQ(pbs->value(), 0);

    bwc->setValue(15);
    sendKey(k, Qt::Key_F2, Qt::ControlModifier);
    EXPECT_EQ(bwc->value(), 10);
    bwc->setValue(985);
    sendKey(k, Qt::Key_F3, Qt::ControlModifier);
    EXPECT_EQ(bwc->value(), 990);
    sendKey(k, Qt::Key_F1, Qt::ControlModifier);
    EXPECT_EQ(bwc->value(), 10);
    sendKey(k, Qt::Key_F4, Qt::ControlModifier);
    EXPECT_EQ(bwc->value(), 990);

    vol->setValue(245);
    sendKey(k, Qt::Key_Equal, Qt::AltModifier, QStringLiteral("="));
    EXPECT_EQ(vol->value(), 255);
    sendKey(k, Qt::Key_Minus, Qt::AltModifier, QStringLiteral("-"));
    EXPECT_EQ(vol->value(), 240);
    wire();
    EXPECT_EQ(sim.levels().volume, 240);
    EXPECT_EQ(sim.levels().bandwidthControl, 990);
    EXPECT_EQ(sim.levels().passbandShift, 0);

    sendKey(k, Qt::Key_X, Qt::ShiftModifier, QStringLiteral("X"));
    sendKey(k, Qt::Key_F1, Qt::ShiftModifier);
    sendKey(k, Qt::Key_P, Qt::ShiftModifier, QStringLiteral("P"));
    wire();
    EXPECT_EQ(sim.vfo().mode, 6);
    EXPECT_EQ(sim.vfo().bandwidth, 2);
    EXPECT_EQ(sim.levels().ecss, 1);

    // Continuous stepping under the user's lock leaves the lock alone.
    control<QComboBox>(p, QStringLiteral("cmbFreqstep"))->setEditText(QStringLiteral("1"));
    click(p, QStringLiteral("cmdMovefreq"));
    pump(150);
    click(p, QStringLiteral("cmdMovefreq"));
    EXPECT_EQ(RemoteHeld, 1);
    EXPECT_TRUE(vol->isEnabled());
    EXPECT_TRUE(inRemote());
    EXPECT_NE(sim.vfo().hertz, 9500000) << "it stepped";

    sendKey(k, Qt::Key_Underscore, Qt::ShiftModifier | Qt::ControlModifier, QStringLiteral("_"));
    EXPECT_EQ(PanelLock, 0);
    EXPECT_FALSE(inRemote());
    expectSlidersOff(p);
}

TEST_F(Nrd545PanelTest, ASilentReceiverNeverHoldsUpThePanel) {
    sim.setFault(sim::Fault::Silent);
    dialogs.expect(QStringLiteral("The receiver does not answer"));
    QElapsedTimer t;
    t.start();
    frmNRD545* p = go();
    ASSERT_NE(p, nullptr);
    EXPECT_LT(t.elapsed(), 3000);
    EXPECT_TRUE(NRD545Open);
    EXPECT_EQ(box(p), QString());

    t.restart();
    click(p, QStringLiteral("cmdLock_1"));
    EXPECT_LT(t.elapsed(), 1500);
    EXPECT_EQ(RemoteHeld, 1);
    expectSlidersOff(p);
    p->cmdClose_Click();
    EXPECT_FALSE(sim.inRemote());
}

} // namespace
} // namespace dovrane::test
