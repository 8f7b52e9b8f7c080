// The AR7030 panel as the user meets it: the program starts, Go opens the
// panel on the port of the settings, which leads to a simulated AR7030 on a
// pseudo-terminal, and every control is checked against the simulator's
// registers through the real driver and port.
#include "panel_rig.h"

#include "drivers/ar7030/ar7030_convert.h"
#include "drivers/ar7030/ar7030_protocol.h"
#include "panels/frmar7030.h"
#include "panels/panel_registry.h"
#include "platform/clickable_label.h"
#include "platform/commport.h"
#include "shell/frmwelcome.h"
#include "platform/number_text.h"
#include "shell/settings_file.h"
#include "sim/ar7030_sim.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QSlider>
#include <chrono>
#include <map>
#include <thread>

namespace dovrane::test {
namespace {

using namespace ar7030;

class Ar7030PanelGo : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        registerPanelWindows();
        ASSERT_TRUE(sim.start());
        sim.setClockRunning(false);
        writeDataFile(QStringLiteral("serialports.ini"), sim.devicePath().toUtf8() + "\r\n");
        settings = {{1, " 1"}, {22, " 0"}, {28, " 40"}, {29, " 60"}};
    }
    void TearDown() override {
        forms::destroyAll();
        resetFacade();
        sim.stop();
        EXPECT_EQ(sim.violations(), 0);
        for (auto& open : welcome::panelOpeners) open = nullptr;
        PanelTest::TearDown();
    }

    // The program's start with the AR7030 chosen, then Go.
    frmAR7030* go() {
        QByteArray text = DataFolder.toUtf8() + "\r\n5130N\r\n00007W\r\n 1\r\n";
        for (int i = 1; i <= 31; ++i)
            text += (settings.count(i) ? settings[i] : QByteArray(" 1")) + "\r\n";
        writeDataFile(SettingsFileName, text);
        frmWelcome* w = frmWelcome::start();
        w->imgGo_Click();
        return forms::loaded<frmAR7030>();
    }

    // Waits until the line has gone quiet, so every command sent has been taken.
    void settle() { EXPECT_TRUE(sim.waitIdle()); }
    uint8_t reg(int address) {
        settle();
        return sim.reg(0, address);
    }
    static uint32_t word(double kHz) { return *frequencyWord(kHz); }
    uint32_t tuned() {
        settle();
        return sim.frequencyWord();
    }
    // A level register as it would hold level v, its other bits kept.
    void setLevel(const LevelRegister& r, int v) {
        sim.setReg(0, r.address, uint8_t((sim.reg(0, r.address) & r.keepMask) | limitedLevelByte(r, v)));
    }
    int level(const LevelRegister& r) { return levelFromByte(r, reg(r.address)); }

    static QString text(QWidget* p, const char* name) {
        QWidget* w = control(p, QLatin1String(name));
        if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
        if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
        if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
        return QStringLiteral("(no text)");
    }
    static QSlider* slider(QWidget* p, const char* name) { return control<QSlider>(p, QLatin1String(name)); }
    static QColor background(QWidget* p, const char* name) {
        QWidget* w = control(p, QLatin1String(name));
        return w->palette().color(qobject_cast<QAbstractButton*>(w) ? QPalette::Button : QPalette::Window);
    }
    static void clickLabel(QWidget* p, const char* name) { emit control<ClickableLabel>(p, QLatin1String(name))->clicked(); }
    static void keypad(QWidget* p, const QString& digits) {
        for (QChar c : digits)
            click(p, c == QLatin1Char('.') ? QStringLiteral("cmdDot") : QStringLiteral("cmd0to9_%1").arg(c));
    }

    sim::Ar7030Sim sim;
    std::map<int, QByteArray> settings;
};

TEST_F(Ar7030PanelGo, GoShowsTheReceiversStateAndSendsTheLineLevels) {
    sim.setFrequencyWord(word(7055));
    sim.setReg(0, RegMode, 6);        // LSB
    sim.setReg(0, RegFilter, 2);
    sim.setReg(0, RegAttenuator, 3);  // -20 dB
    sim.setReg(0, RegAgc, 2);         // slow
    sim.setReg(0, RegPassband, 5);
    sim.setReg(0, RegSquelch, 1);
    sim.setReg(0, RegBfo, 250);       // -6 register units
    sim.setReg(0, RegIfGain, uint8_t(ifGainByte(40)));
    setLevel(VolumeRegister, 60);
    setLevel(BassRegister, 4);
    setLevel(TrebleRegister, -2);

    frmAR7030* p = go();
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(AR7030Open);
    EXPECT_TRUE(p->isVisible());
    EXPECT_FALSE(forms::loaded<frmWelcome>()->isVisible());
    ASSERT_TRUE(Comm1 && Comm1->isOpen());
    EXPECT_EQ(Comm1->deviceName(), sim.devicePath());
    EXPECT_EQ(Comm1->settings(), QStringLiteral("1200,N,8,1"));
    EXPECT_EQ(p->windowTitle(), QStringLiteral("AR7030"));

    EXPECT_EQ(text(p, "txtFrequencyA"), QStringLiteral("7055.00"));
    EXPECT_EQ(text(p, "lblMode"), QStringLiteral("LSB"));
    EXPECT_EQ(text(p, "lblBandwidth"), QStringLiteral("1.4"));
    EXPECT_EQ(text(p, "lblAttenuator"), QStringLiteral("-20"));
    EXPECT_EQ(text(p, "lblAgcspeed"), QStringLiteral("Slw"));
    EXPECT_EQ(text(p, "lblPassbandshift"), QStringLiteral("+0.2k"));
    EXPECT_EQ(text(p, "lblBeatfreqosc"), QStringLiteral("-0.2k"));
    EXPECT_EQ(text(p, "lblSquelch"), QStringLiteral("01"));
    EXPECT_EQ(slider(p, "vsbSquelch")->value(), 1);
    EXPECT_EQ(text(p, "lblIfgain"), QStringLiteral("40"));
    EXPECT_EQ(slider(p, "vsbIfgain")->value(), 40);
    EXPECT_EQ(text(p, "lblVolume"), QStringLiteral("60"));
    EXPECT_EQ(slider(p, "vsbVolume")->value(), 60);
    EXPECT_EQ(text(p, "lblBass"), QStringLiteral(" 4"));
    EXPECT_EQ(text(p, "lblTreble"), QStringLiteral("-2"));
    EXPECT_EQ(slider(p, "vsbTreble")->value(), -2);
    EXPECT_EQ(background(p, "cmdPowerOnOff"), QColor(0, 255, 0));

    // The fitted filters name their buttons; the empty sixth place is greyed.
    const char* widths[] = {"0.5", "1.4", "2.4", "3.5", "5.5"};
    for (int i = 0; i < 5; ++i) {
        auto* b = control<QAbstractButton>(p, QStringLiteral("cmdBandwidth_%1").arg(i));
        EXPECT_TRUE(b->isEnabled()) << i;
        EXPECT_EQ(b->text(), QLatin1String(widths[i]));
    }
    EXPECT_FALSE(control<QAbstractButton>(p, QStringLiteral("cmdBandwidth_5"))->isEnabled());
    EXPECT_EQ(text(p, "cmdBandwidth_5"), QStringLiteral("6"));

    // LSB: the shift is in use, the BFO is not.
    EXPECT_TRUE(slider(p, "vsbPassbandshift")->isEnabled());
    EXPECT_EQ(background(p, "lblPassbandshift"), QColor(0, 0, 255));
    EXPECT_FALSE(slider(p, "vsbBeatfreqosc")->isEnabled());
    EXPECT_EQ(background(p, "lblBeatfreqosc"), QColor(255, 255, 192));

    // The line levels of the settings went to the receiver, the register's
    // other bits kept, and the panel shows what the receiver holds.
    EXPECT_EQ(reg(RegLeftLine) & 63, limitedLevelByte(LeftLineRegister, 40));
    EXPECT_EQ(reg(RegLeftLine) & 0xC0, 0x80);
    EXPECT_EQ(reg(RegRightLine) & 63, limitedLevelByte(RightLineRegister, 60));
    EXPECT_EQ(slider(p, "vsbLineL")->value(), level(LeftLineRegister));
    EXPECT_EQ(slider(p, "vsbLineR")->value(), level(RightLineRegister));
    EXPECT_TRUE(slider(p, "vsbLineL")->isEnabled());

    // Reading the receiver changed nothing on it: a shift of 5 and a squelch
    // of 1 have no slider position of their own, yet stay as they were.
    EXPECT_EQ(reg(RegPassband), 5);
    EXPECT_EQ(reg(RegSquelch), 1);
    EXPECT_EQ(reg(RegBfo), 250);
    EXPECT_EQ(p->model().positionIndex, 3);
}

TEST_F(Ar7030PanelGo, LineLevelsDisabledBySettingAreStillSent) {
    settings[22] = " 1";
    settings[28] = " 10";
    frmAR7030* p = go();
    ASSERT_NE(p, nullptr);
    for (const char* name : {"vsbLineL", "vsbLineR", "lblLineL", "lblLineR"})
        EXPECT_FALSE(control(p, QLatin1String(name))->isEnabled()) << name;
    EXPECT_EQ(reg(RegLeftLine) & 63, limitedLevelByte(LeftLineRegister, 10));

    // The menu brings them back without touching the receiver or the setting.
    sim.clearBytesReceived();
    p->menuItem(QStringLiteral("mnuEnableLLLR"))->trigger();
    for (const char* name : {"vsbLineL", "vsbLineR", "lblLineL", "lblLineR"})
        EXPECT_TRUE(control(p, QLatin1String(name))->isEnabled()) << name;
    p->menuItem(QStringLiteral("mnuDisableLLLR"))->trigger();
    EXPECT_FALSE(slider(p, "vsbLineR")->isEnabled());
    settle();
    EXPECT_TRUE(sim.bytesReceived().isEmpty());
    EXPECT_EQ(Settings[22], 1.0f);
}

TEST_F(Ar7030PanelGo, KeypadStepArrowKeyAndWheelTuneTheReceiver) {
    frmAR7030* p = go();
    ASSERT_NE(p, nullptr);
    auto* box = control<QLineEdit>(p, QStringLiteral("txtFrequencyA"));

    keypad(p, QStringLiteral("7100"));
    click(p, QStringLiteral("cmdEnterfreq"));
    EXPECT_EQ(tuned(), word(7100));
    EXPECT_EQ(box->text(), QStringLiteral("7100.00"));

    control<QComboBox>(p, QStringLiteral("cmbFreqstep"))->setEditText(QStringLiteral("5"));
    click(p, QStringLiteral("cmdfreqstep_1"));
    EXPECT_EQ(tuned(), word(7105));

    sendKey(box, Qt::Key_Down, Qt::NoModifier);
    EXPECT_EQ(tuned(), word(7100));
    EXPECT_EQ(box->text(), QStringLiteral("7100.00"));

    moveMouse(box, box->rect().center());
    ASSERT_TRUE(p->WheelArmed());
    turnWheel(box, 120);
    turnWheel(box, 120);
    EXPECT_EQ(tuned(), word(7110));
    EXPECT_EQ(box->text(), QStringLiteral("7110.00"));

    // The AR7030 panel's own message for a keypad frequency beyond the receiver.
    sim.clearBytesReceived();
    dialogs.expect(QString::fromUtf8("Frequency\n\xc3\xb6utside range"));
    keypad(p, QStringLiteral("40000"));
    click(p, QStringLiteral("cmdEnterfreq"));
    EXPECT_EQ(dialogs.pending(), 0);
    EXPECT_EQ(tuned(), word(7110));
    EXPECT_TRUE(sim.bytesReceived().isEmpty());
    EXPECT_EQ(text(p, "lblMfreq"), QString());
}

TEST_F(Ar7030PanelGo, ButtonsAndShiftKeysSetModeFilterAgcAndAttenuator) {
    frmAR7030* p = go();
    ASSERT_NE(p, nullptr);

    click(p, QStringLiteral("cmdMode_4"));   // CW
    EXPECT_EQ(reg(RegMode), 5);
    EXPECT_EQ(text(p, "lblMode"), QStringLiteral("CW"));
    EXPECT_TRUE(slider(p, "vsbBeatfreqosc")->isEnabled());
    EXPECT_TRUE(control(p, QStringLiteral("fraMode"))->isEnabled());
    click(p, QStringLiteral("cmdMode_2"));   // NFM: no passband shift
    EXPECT_EQ(reg(RegMode), 3);
    EXPECT_FALSE(slider(p, "vsbPassbandshift")->isEnabled());
    EXPECT_EQ(background(p, "lblPassbandshift"), QColor(255, 255, 192));
    EXPECT_FALSE(slider(p, "vsbBeatfreqosc")->isEnabled());
    click(p, QStringLiteral("cmdMode_0"));   // AM
    EXPECT_EQ(reg(RegMode), 1);
    EXPECT_TRUE(slider(p, "vsbPassbandshift")->isEnabled());
    EXPECT_FALSE(slider(p, "vsbBeatfreqosc")->isEnabled());

    click(p, QStringLiteral("cmdBandwidth_0"));
    EXPECT_EQ(reg(RegFilter), 1);
    EXPECT_EQ(text(p, "lblBandwidth"), QStringLiteral("0.5"));
    click(p, QStringLiteral("cmdAgcspeed_3"));
    EXPECT_EQ(reg(RegAgc), 3);
    EXPECT_EQ(text(p, "lblAgcspeed"), QStringLiteral("Off"));
    click(p, QStringLiteral("cmdAttenuator_0"));
    EXPECT_EQ(reg(RegAttenuator), 0);
    EXPECT_EQ(text(p, "lblAttenuator"), QStringLiteral(" 10"));
    click(p, QStringLiteral("cmdAttenuator_5"));
    EXPECT_EQ(reg(RegAttenuator), 5);
    EXPECT_EQ(text(p, "lblAttenuator"), QStringLiteral("-40"));

    auto* box = control<QLineEdit>(p, QStringLiteral("txtFrequencyA"));
    sendKey(box, Qt::Key_U, Qt::ShiftModifier, QStringLiteral("U"));
    EXPECT_EQ(reg(RegMode), 7);
    EXPECT_EQ(text(p, "lblMode"), QStringLiteral("USB"));
    sendKey(box, Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(reg(RegFilter), 3);
    // The key still chooses a place whose button is greyed for want of a filter.
    sendKey(box, Qt::Key_F6, Qt::ShiftModifier);
    EXPECT_EQ(reg(RegFilter), 6);
    EXPECT_EQ(text(p, "lblBandwidth"), QStringLiteral("0.0"));
}

TEST_F(Ar7030PanelGo, EachSliderReachesItsRegister) {
    frmAR7030* p = go();
    ASSERT_NE(p, nullptr);
    click(p, QStringLiteral("cmdMode_4"));   // CW, so the BFO slider is in use

    slider(p, "vsbVolume")->setValue(60);
    EXPECT_EQ(reg(RegVolume) & 63, limitedLevelByte(VolumeRegister, 60));
    EXPECT_EQ(text(p, "lblVolume"), QStringLiteral("60"));
    slider(p, "vsbBass")->setValue(-5);
    EXPECT_EQ(level(BassRegister), -5);
    EXPECT_EQ(text(p, "lblBass"), QStringLiteral("-5"));
    slider(p, "vsbTreble")->setValue(6);
    EXPECT_EQ(level(TrebleRegister), 6);
    slider(p, "vsbLineL")->setValue(20);
    EXPECT_EQ(reg(RegLeftLine) & 63, limitedLevelByte(LeftLineRegister, 20));
    slider(p, "vsbLineR")->setValue(80);
    EXPECT_EQ(reg(RegRightLine) & 63, limitedLevelByte(RightLineRegister, 80));
    EXPECT_EQ(text(p, "lblLineR"), QStringLiteral("80"));
    slider(p, "vsbIfgain")->setValue(30);
    EXPECT_EQ(reg(RegIfGain), ifGainByte(30));
    EXPECT_EQ(text(p, "lblIfgain"), QStringLiteral("30"));
    slider(p, "vsbSquelch")->setValue(33);
    EXPECT_EQ(reg(RegSquelch), 50);
    EXPECT_EQ(sim.reg(0, RegSquelchCopy), 50);
    EXPECT_EQ(text(p, "lblSquelch"), QStringLiteral("33"));
    slider(p, "vsbPassbandshift")->setValue(10);
    EXPECT_EQ(reg(RegPassband), vsb2b(10));
    EXPECT_EQ(text(p, "lblPassbandshift"), b2fs(vsb2b(10)));
    EXPECT_EQ(slider(p, "vsbPassbandshift")->value(), 10);
    slider(p, "vsbBeatfreqosc")->setValue(-5);
    EXPECT_EQ(reg(RegBfo), vsb2b(-5));
    EXPECT_GT(reg(RegBfo), 128) << "a negative offset is a negative byte";

    // A label click centres its slider, which sends the value.
    clickLabel(p, "lblVolume");
    EXPECT_EQ(slider(p, "vsbVolume")->value(), 0);
    EXPECT_EQ(reg(RegVolume) & 63, limitedLevelByte(VolumeRegister, 0));
    clickLabel(p, "lblBeatfreqosc");
    EXPECT_EQ(reg(RegBfo), 0);
    // Only a slider in use is centred by its label.
    click(p, QStringLiteral("cmdMode_2"));   // NFM
    const uint8_t shift = reg(RegPassband);
    clickLabel(p, "lblPassbandshift");
    EXPECT_EQ(slider(p, "vsbPassbandshift")->value(), 10);
    EXPECT_EQ(reg(RegPassband), shift);
}

TEST_F(Ar7030PanelGo, OnlyDataAndCwUseTheBeatFrequencySlider) {
    frmAR7030* p = go();
    ASSERT_NE(p, nullptr);
    // The mode buttons in order: AM, Sync, NFM, Data, CW, LSB, USB.
    const bool bfo[] = {false, false, false, true, true, false, false};
    for (int i = 0; i < 7; ++i) {
        click(p, QStringLiteral("cmdMode_%1").arg(i));
        EXPECT_EQ(reg(RegMode), i + 1);
        EXPECT_EQ(slider(p, "vsbBeatfreqosc")->isEnabled(), bfo[i]) << "mode " << i + 1;
        EXPECT_EQ(background(p, "lblBeatfreqosc"), bfo[i] ? QColor(0, 0, 255) : QColor(255, 255, 192))
            << "mode " << i + 1;
    }
}

TEST_F(Ar7030PanelGo, ShiftAndAltKeysMoveShiftAndVolumeAndAlwaysSend) {
    frmAR7030* p = go();
    ASSERT_NE(p, nullptr);
    auto* box = control<QLineEdit>(p, QStringLiteral("txtFrequencyA"));
    slider(p, "vsbPassbandshift")->setValue(41);
    sendKey(box, Qt::Key_Plus, Qt::ShiftModifier, QStringLiteral("+"));
    EXPECT_EQ(slider(p, "vsbPassbandshift")->value(), 42);
    EXPECT_EQ(reg(RegPassband), vsb2b(42));
    // At the top already: the slider stays, and the value still goes out.
    sim.clearBytesReceived();
    sendKey(box, Qt::Key_Plus, Qt::ShiftModifier, QStringLiteral("+"));
    EXPECT_EQ(slider(p, "vsbPassbandshift")->value(), 42);
    settle();
    EXPECT_FALSE(sim.bytesReceived().isEmpty());
    EXPECT_EQ(reg(RegPassband), vsb2b(42));
    sendKey(box, Qt::Key_ParenRight, Qt::ShiftModifier, QStringLiteral(")"));
    EXPECT_EQ(reg(RegPassband), 0);
    sendKey(box, Qt::Key_Underscore, Qt::ShiftModifier, QStringLiteral("_"));
    EXPECT_EQ(slider(p, "vsbPassbandshift")->value(), -1);
    EXPECT_EQ(reg(RegPassband), vsb2b(-1));

    slider(p, "vsbVolume")->setValue(96);
    sendKey(box, Qt::Key_Equal, Qt::AltModifier, QStringLiteral("="));
    EXPECT_EQ(slider(p, "vsbVolume")->value(), 99);
    EXPECT_EQ(reg(RegVolume) & 63, limitedLevelByte(VolumeRegister, 99));
    sendKey(box, Qt::Key_Minus, Qt::AltModifier, QStringLiteral("-"));
    EXPECT_EQ(slider(p, "vsbVolume")->value(), 94);
    sendKey(box, Qt::Key_0, Qt::AltModifier, QStringLiteral("0"));
    EXPECT_EQ(slider(p, "vsbVolume")->value(), 0);
    EXPECT_EQ(reg(RegVolume) & 63, limitedLevelByte(VolumeRegister, 0));
}

TEST_F(Ar7030PanelGo, UpdateShowsTheReceiversNewStateWithoutWritingBack) {
    frmAR7030* p = go();
    ASSERT_NE(p, nullptr);
    // Someone turns the receiver's own knobs.
    sim.setFrequencyWord(word(15400));
    sim.setReg(0, RegMode, 3);        // NFM
    sim.setReg(0, RegFilter, 4);
    sim.setReg(0, RegAttenuator, 2);
    sim.setReg(0, RegAgc, 0);
    sim.setReg(0, RegPassband, 5);
    sim.setReg(0, RegSquelch, 1);
    setLevel(VolumeRegister, 70);
    sim.clearRoutines();

    p->menuItem(QStringLiteral("mnuUpdate"))->trigger();
    EXPECT_EQ(text(p, "txtFrequencyA"), QStringLiteral("15400.00"));
    EXPECT_EQ(text(p, "lblMode"), QStringLiteral("NFM"));
    EXPECT_EQ(text(p, "lblBandwidth"), QStringLiteral("3.5"));
    EXPECT_EQ(text(p, "lblAttenuator"), QStringLiteral("-10"));
    EXPECT_EQ(text(p, "lblAgcspeed"), QStringLiteral("Fst"));
    EXPECT_EQ(text(p, "lblVolume"), QStringLiteral("70"));
    EXPECT_EQ(slider(p, "vsbVolume")->value(), 70);
    EXPECT_FALSE(slider(p, "vsbPassbandshift")->isEnabled());
    EXPECT_EQ(text(p, "lblSquelch"), QStringLiteral("01"));

    // A refresh only reads: no routine ran, nothing was rewritten.
    settle();
    EXPECT_TRUE(sim.routines().isEmpty());
    EXPECT_EQ(reg(RegPassband), 5);
    EXPECT_EQ(reg(RegSquelch), 1);
}

// The receiver's word for a band edge reads back a little inside or outside
// it (10 kHz as 9.99906); the panel shows what it rounds to.
TEST_F(Ar7030PanelGo, TheBandEdgesReadBackAsTheyRound) {
    frmAR7030* p = go();
    ASSERT_NE(p, nullptr);
    const struct {
        double kHz;
        const char* shown;
    } cases[] = {{10, "10.00"}, {32016, "32016.00"}, {9194.69, "9194.69"}};
    for (const auto& c : cases) {
        sim.setFrequencyWord(word(c.kHz));
        p->menuItem(QStringLiteral("mnuUpdate"))->trigger();
        EXPECT_EQ(text(p, "txtFrequencyA"), QLatin1String(c.shown)) << c.kHz;
    }
}

TEST_F(Ar7030PanelGo, HandlersShowValuesOutsideTheirRangeAsQuestionMarksAndSendNothing) {
    frmAR7030* p = go();
    ASSERT_NE(p, nullptr);
    slider(p, "vsbVolume")->setValue(30);
    settle();
    sim.clearBytesReceived();

    p->AR7030A_AttenuatorChanged(6);
    EXPECT_EQ(text(p, "lblAttenuator"), QStringLiteral("?"));
    p->AR7030A_AttenuatorChanged(1);
    EXPECT_EQ(text(p, "lblAttenuator"), QStringLiteral(" 0"));
    p->AR7030A_ModeChanged(0);
    EXPECT_EQ(text(p, "lblMode"), QStringLiteral("?"));
    p->AR7030A_BandwidthChanged(7);
    EXPECT_EQ(text(p, "lblBandwidth"), QStringLiteral("?"));
    p->AR7030A_AgcspeedChanged(4);
    EXPECT_EQ(text(p, "lblAgcspeed"), QStringLiteral("?"));
    p->AR7030A_VolumeChanged(100);
    EXPECT_EQ(text(p, "lblVolume"), QStringLiteral("?"));
    EXPECT_EQ(slider(p, "vsbVolume")->value(), 30);
    p->AR7030A_BassChanged(9);
    EXPECT_EQ(text(p, "lblBass"), QStringLiteral("?"));
    p->AR7030A_SquelchChanged(151);
    EXPECT_EQ(text(p, "lblSquelch"), QStringLiteral("?"));
    p->AR7030A_PassbandshiftChanged(256);
    EXPECT_EQ(text(p, "lblPassbandshift"), QStringLiteral("?"));
    p->AR7030A_FrequencyAChanged(FreqMax + 1);
    EXPECT_EQ(text(p, "txtFrequencyA"), QStringLiteral("?"));

    // Values in range are shown, and sliders follow without sending.
    p->AR7030A_VolumeChanged(7);
    EXPECT_EQ(text(p, "lblVolume"), QStringLiteral("07"));
    EXPECT_EQ(slider(p, "vsbVolume")->value(), 7);
    p->AR7030A_SquelchChanged(150);
    EXPECT_EQ(text(p, "lblSquelch"), QStringLiteral("99"));
    EXPECT_EQ(slider(p, "vsbSquelch")->value(), 99);
    // A shift byte just below the slider's range: label shown, slider at its end.
    p->AR7030A_PassbandshiftChanged(128);
    EXPECT_EQ(text(p, "lblPassbandshift"), b2fs(128));
    EXPECT_EQ(slider(p, "vsbPassbandshift")->value(), -42);
    p->AR7030A_BeatfreqoscChanged(129);
    EXPECT_EQ(slider(p, "vsbBeatfreqosc")->value(), -42);
    p->AR7030A_PoweronoffChanged(0);
    EXPECT_EQ(background(p, "cmdPowerOnOff"), QColor(0x88, 0x88, 0x88));
    p->AR7030A_PoweronoffChanged(2);
    EXPECT_EQ(background(p, "cmdPowerOnOff"), QColor(0x88, 0x88, 0x88));
    p->AR7030A_PoweronoffChanged(1);
    EXPECT_EQ(background(p, "cmdPowerOnOff"), QColor(0, 255, 0));
    settle();
    EXPECT_TRUE(sim.bytesReceived().isEmpty());
}

TEST_F(Ar7030PanelGo, ASilentReceiverIsReportedOnceAndThePanelStaysUsable) {
    sim.setFault(sim::Fault::Silent);
    dialogs.expect(QStringLiteral("The receiver does not answer"));
    QElapsedTimer t;
    t.start();
    frmAR7030* p = go();
    ASSERT_NE(p, nullptr);
    EXPECT_LT(t.elapsed(), 3000);
    EXPECT_TRUE(AR7030Open);
    EXPECT_TRUE(p->isVisible());
    pump();
    EXPECT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(text(p, "txtFrequencyA"), QString()) << "nothing is shown that the receiver did not give";
    EXPECT_EQ(text(p, "lblMode"), QString());

    // Commands still go out, and further silence stays quiet.
    keypad(p, QStringLiteral("6000"));
    click(p, QStringLiteral("cmdEnterfreq"));
    EXPECT_EQ(tuned(), word(6000));
    EXPECT_EQ(text(p, "txtFrequencyA"), QStringLiteral("6000.00"));
    click(p, QStringLiteral("cmdMode_5"));
    EXPECT_EQ(reg(RegMode), 6);
    p->menuItem(QStringLiteral("mnuUpdate"))->trigger();
    click(p, QStringLiteral("cmdPowerOnOff"));
    p->menuItem(QStringLiteral("mnuFirmware"))->trigger();
    pump();
    EXPECT_EQ(dialogs.shown().size(), 1);

    // Once the receiver answers again, Update shows it.
    sim.setFault(sim::Fault::None);
    sim.setReg(0, RegMode, 2);
    p->menuItem(QStringLiteral("mnuUpdate"))->trigger();
    EXPECT_EQ(text(p, "lblMode"), QStringLiteral("Sync"));
    EXPECT_EQ(text(p, "lblAgcspeed"), QStringLiteral("Med"));
    p->cmdClose_Click();
    EXPECT_FALSE(AR7030Open);
    EXPECT_TRUE(forms::loaded<frmWelcome>()->isVisible());
}

TEST_F(Ar7030PanelGo, MemoryRecallTunesTheStoredChannel) {
    sim.setChannel(7, word(3550), 0x40 | 5, 0x10, 0x12);   // CW, filter 4
    frmAR7030* p = go();
    ASSERT_NE(p, nullptr);
    const uint8_t squelch = reg(RegSquelch);

    keypad(p, QStringLiteral("7"));
    click(p, QStringLiteral("cmdEnterMem"));
    EXPECT_EQ(tuned(), word(3550));
    EXPECT_EQ(reg(RegMode), 5);
    EXPECT_EQ(reg(RegFilter), 4);
    EXPECT_EQ(reg(RegPassband), 0x10);
    EXPECT_EQ(reg(RegBfo), 0x12) << "in CW the last field is the BFO";
    EXPECT_EQ(reg(RegSquelch), squelch);
    EXPECT_EQ(text(p, "txtFrequencyA"), QStringLiteral("3550.00"));
    EXPECT_EQ(text(p, "lblMode"), QStringLiteral("CW"));
    EXPECT_EQ(text(p, "lblBandwidth"), QStringLiteral("3.5"));
    EXPECT_TRUE(slider(p, "vsbBeatfreqosc")->isEnabled());
    EXPECT_EQ(text(p, "lblMfreq"), QString());
    EXPECT_TRUE(control<QAbstractButton>(p, QStringLiteral("cmdEnterMem"))->isEnabled());

    // Ctrl+1, Ctrl+M from the keyboard: channel 1 holds 7000 kHz LSB with a squelch.
    auto* box = control<QLineEdit>(p, QStringLiteral("txtFrequencyA"));
    sendKey(box, Qt::Key_1, Qt::ControlModifier, QStringLiteral("1"));
    EXPECT_EQ(text(p, "lblMfreq"), QStringLiteral("1"));
    sendKey(box, Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(tuned(), word(7000));
    EXPECT_EQ(reg(RegMode), 6);
    EXPECT_EQ(reg(RegFilter), 2);
    EXPECT_EQ(reg(RegSquelch), 0x21);
    EXPECT_EQ(reg(RegBfo), 0x12);
    EXPECT_EQ(p->KeyDigits(), QString());
    EXPECT_EQ(text(p, "lblMode"), QStringLiteral("LSB"));
}

TEST_F(Ar7030PanelGo, MemoryRecallRefusesEmptyAndOutOfRangeChannels) {
    frmAR7030* p = go();
    ASSERT_NE(p, nullptr);
    const uint32_t before = tuned();
    const uint8_t mode = reg(RegMode);
    sim.clearRoutines();

    // Channel 5 was never stored: nothing is tuned.
    dialogs.expect(QStringLiteral("Memory cell\nis empty"));
    keypad(p, QStringLiteral("5"));
    click(p, QStringLiteral("cmdEnterMem"));
    EXPECT_EQ(text(p, "lblMfreq"), QString());

    for (const char* entry : {"100", "", "99999999999999999999"}) {
        dialogs.expect(QStringLiteral("Memory cell\noutside range"));
        keypad(p, QLatin1String(entry));
        click(p, QStringLiteral("cmdEnterMem"));
        EXPECT_EQ(text(p, "lblMfreq"), QString()) << entry;
    }
    EXPECT_EQ(dialogs.pending(), 0);
    for (const dialogs::Box& b : dialogs.shown()) {
        EXPECT_EQ(b.title, QStringLiteral("Error"));
        EXPECT_EQ(b.icon, dialogs::Icon::Exclamation);
    }
    settle();
    EXPECT_TRUE(sim.routines().isEmpty());
    EXPECT_EQ(sim.frequencyWord(), before);
    EXPECT_EQ(reg(RegMode), mode);
    EXPECT_EQ(text(p, "txtFrequencyA"), QStringLiteral("9650.00"));
}

// A channel the receiver holds is recalled, up to the top frequency it tunes
// to; one it cannot take is refused with the reason, and nothing is tuned.
TEST_F(Ar7030PanelGo, MemoryRecallSaysWhyAChannelIsRefused) {
    frmAR7030* p = go();
    ASSERT_NE(p, nullptr);
    const struct {
        uint32_t word;
        uint8_t modeByte;  // bits 0..3 mode, 4..6 filter
        const char* refusal;  // nullptr: recalled
    } cases[] = {
        {word(10), 0x16, nullptr},     // LSB, filter 1, at the bottom
        {word(32016), 0x21, nullptr},  // AM, filter 2, at the top
        {word(32016.666), 0x00, "Memory cell\nis empty"},
        {word(7000), 0x20, "Memory cell\nholds no mode\nthe receiver takes"},
        {word(7000), 0x2C, "Memory cell\nholds no mode\nthe receiver takes"},
        {word(7000), 0x01, "Memory cell\nholds no filter\nthe receiver takes"},
        {word(7000), 0x71, "Memory cell\nholds no filter\nthe receiver takes"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.word);
        sim.setFrequencyWord(word(9650));
        sim.setChannel(3, c.word, c.modeByte, 0, 0x20);
        if (c.refusal) dialogs.expect(QLatin1String(c.refusal));
        keypad(p, QStringLiteral("3"));
        click(p, QStringLiteral("cmdEnterMem"));
        EXPECT_EQ(dialogs.pending(), 0);
        EXPECT_EQ(tuned(), c.refusal ? word(9650) : c.word);
        if (!c.refusal) {
            EXPECT_EQ(reg(RegFilter), c.modeByte >> 4);
        }
    }
    // The last channel recalled.
    EXPECT_EQ(text(p, "txtFrequencyA"), QStringLiteral("32016.00"));
}

TEST_F(Ar7030PanelGo, DirectMenuResetFirmwareAndPower) {
    frmAR7030* p = go();
    ASSERT_NE(p, nullptr);
    QStringList captions;
    for (QAction* a : control<QMenu>(p, QStringLiteral("mnuDirect"))->actions())
        captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(captions, (QStringList{"Update", "Reset RX", "Set-up . . .", "Firmware version", "-",
                                     "Last 20 Freqs . . .", "Freq Scratchpad . . .", "-", "Enable LL+LR",
                                     "Disable LL+LR", "-", "Power On", "Power Off", "-", "Close", "Exit"}));

    dialogs.expect(QStringLiteral("SIM 1.00"));
    p->menuItem(QStringLiteral("mnuFirmware"))->trigger();
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown().front().title, QStringLiteral("Firmware Version"));
    EXPECT_EQ(dialogs.shown().front().icon, dialogs::Icon::Information);

    sim.clearRoutines();
    p->menuItem(QStringLiteral("mnuResetRX"))->trigger();
    settle();
    EXPECT_EQ(sim.routines(), QList<int>{RoutineReset});

    p->menuItem(QStringLiteral("mnuPowerOff"))->trigger();
    settle();
    EXPECT_EQ(sim.reg(1, RegPower) & 1, 0);
    EXPECT_EQ(background(p, "cmdPowerOnOff"), QColor(0x88, 0x88, 0x88));
    // "Pwr" asks the receiver first, then switches the other way.
    click(p, QStringLiteral("cmdPowerOnOff"));
    settle();
    EXPECT_EQ(sim.reg(1, RegPower) & 1, 1);
    EXPECT_EQ(background(p, "cmdPowerOnOff"), QColor(0, 255, 0));
    sim.setReg(1, RegPower, 0);   // switched off at the receiver itself
    click(p, QStringLiteral("cmdPowerOnOff"));
    settle();
    EXPECT_EQ(sim.reg(1, RegPower) & 1, 1);
    p->menuItem(QStringLiteral("mnuPowerOn"))->trigger();
    settle();
    EXPECT_EQ(sim.reg(1, RegPower) & 1, 1);
}

} // namespace
} // namespace dovrane::test
