// The RX-320 panel against the simulated receiver, through the real port and
// the welcome window's Go: the last session's settings restored into the
// receiver, every control reaching it, the settings carried from one session
// to the next, muting on close, the line-out lock and the firmware query.
#include "panel_rig.h"

#include "drivers/model_tables.h"
#include "drivers/rx320/rx320_protocol.h"
#include "drivers/rx320/rx320_state.h"
#include "panels/frmrx320.h"
#include "panels/panel_registry.h"
#include "panels/rx320_settings_file.h"
#include "platform/clickable_label.h"
#include "platform/commport.h"
#include "shell/facade.h"
#include "shell/frmwelcome.h"
#include "shell/globals.h"
#include "shell/settings_file.h"
#include "sim/rx320_sim.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QSlider>
#include <chrono>
#include <thread>

namespace dovrane::test {
namespace {

QByteArray lines(std::initializer_list<const char*> texts) {
    QByteArray out;
    for (const char* t : texts) out += QByteArray(t) + "\r\n";
    return out;
}

class Rx320PanelTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        registerPanelWindows();
        // The RX-320 on port 1.
        writeDataFile(SettingsFileName, DataFolder.toUtf8() + "\r\n5130N\r\n00007W\r\n 3\r\n 1\r\n");
        newReceiver();
        welcome = frmWelcome::start();
        ASSERT_NE(welcome, nullptr);
    }
    void TearDown() override {
        forms::destroyAll();
        for (auto& open : welcome::panelOpeners) open = nullptr;
        welcome::endProgram = nullptr;
        if (sim) {
            EXPECT_EQ(sim->protocolErrors(), 0) << sim->logLines().join(QLatin1Char('\n')).toStdString();
            sim->stop();
        }
        PanelTest::TearDown();
    }

    // A receiver fresh from power-on on a new line, which port 1 leads to.
    void newReceiver() {
        if (sim) sim->stop();
        sim = std::make_unique<sim::Rx320Sim>();
        ASSERT_TRUE(sim->start());
        ASSERT_TRUE(setSerialDeviceForPort(DataFolder, 1, sim->devicePath()));
    }

    frmRX320* go() {
        welcome->imgGo_Click();
        settle();
        return forms::loaded<frmRX320>();
    }
    void close(frmRX320* p) {
        p->cmdClose_Click();
        settle();
    }

    // Waits until the receiver has taken in everything sent so far.
    void settle() { EXPECT_TRUE(sim->waitIdle()); }
    sim::Rx320SimState rx() {
        settle();
        return sim->state();
    }
    double tunedKHz() {
        settle();
        const auto f = sim->tunedKHz();
        return f ? *f : -1;
    }
    int commandCount() {
        settle();
        return int(sim->commands().size());
    }
    QList<QByteArray> commandsSince(int n) {
        settle();
        return sim->commands().mid(n);
    }

    static QString text(QWidget* p, const char* name) { return control<QLabel>(p, QLatin1String(name))->text(); }
    static QSlider* slider(QWidget* p, const char* name) { return control<QSlider>(p, QLatin1String(name)); }
    static QAbstractButton* button(QWidget* p, const QString& name) { return control<QAbstractButton>(p, name); }
    static QString box(QWidget* p) { return control<QLineEdit>(p, QStringLiteral("txtFrequencyA"))->text(); }
    static void key(QWidget* p, int qtKey, Qt::KeyboardModifiers mods) {
        sendKey(control<QWidget>(p, QStringLiteral("txtFrequencyA")), qtKey, mods);
    }
    static void keypad(QWidget* p, const QString& digits) {
        for (QChar c : digits) {
            if (c == QLatin1Char('.')) click(p, QStringLiteral("cmdDot"));
            else click(p, QStringLiteral("cmd0to9_%1").arg(c));
        }
        click(p, QStringLiteral("cmdEnterfreq"));
    }
    static QStringList filterCaptions(QWidget* p) {
        QStringList out;
        for (int b = 0; b < 10; ++b) out << button(p, QStringLiteral("cmdBwgroup_%1").arg(b))->text();
        return out;
    }
    static QList<bool> filtersEnabled(QWidget* p) {
        QList<bool> out;
        for (int b = 0; b < 10; ++b) out << button(p, QStringLiteral("cmdBwgroup_%1").arg(b))->isEnabled();
        return out;
    }

    std::unique_ptr<sim::Rx320Sim> sim;
    frmWelcome* welcome = nullptr;
};

TEST_F(Rx320PanelTest, TheLastSessionIsRestoredIntoTheReceiver) {
    writeDataFile(Rx320SettingsFileName, lines({" 14200.5", " 20", "-300", " 3", " 250", " 1", " 40", " 25"}));
    Settings[31] = 60;
    frmRX320* p = go();
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(RX320Open);
    EXPECT_EQ(p->windowTitle(), QStringLiteral("RX-320"));
    EXPECT_EQ(Comm1->settings(), QStringLiteral("1200,N,8,1"));
    EXPECT_EQ(FreqMin, 100);
    EXPECT_EQ(BwTexts.size(), 34);

    const sim::Rx320SimState s = rx();
    EXPECT_EQ(s.filter, 20);
    EXPECT_EQ(s.mode, 1);
    EXPECT_EQ(s.agc, 3);
    EXPECT_EQ(s.speakerAtt, 23);
    EXPECT_EQ(s.lineAtt, rx320::attenuation(25));
    EXPECT_NEAR(tunedKHz(), 14200.5, 0.0005);

    // The set-up's line level goes first, then the filter with its re-tune,
    // the AGC, the levels and the mode; the last command tunes the frequency.
    const QList<QByteArray> sent = sim->commands();
    ASSERT_FALSE(sent.isEmpty());
    EXPECT_EQ(sent.first(), rx320::linelevelCommand(60));
    QByteArray order;
    for (const QByteArray& c : sent)
        if (!order.contains(c[0])) order += c[0];
    EXPECT_EQ(order, QByteArray("AWNGVM"));
    EXPECT_EQ(sent.last()[0], 'N');

    EXPECT_EQ(box(p), QStringLiteral("14200.500"));
    EXPECT_EQ(text(p, "lblBandwidth"), QStringLiteral("1500"));
    EXPECT_EQ(text(p, "lblMode"), QStringLiteral("USB"));
    EXPECT_EQ(text(p, "lblAgcspeed"), QStringLiteral("Fst"));
    EXPECT_EQ(text(p, "lblPassbandshift"), QStringLiteral("-300"));
    EXPECT_EQ(slider(p, "vsbPassbandshift")->value(), -300);
    EXPECT_EQ(text(p, "lblBeatfreqosc"), QStringLiteral(" 250"));
    EXPECT_FALSE(slider(p, "vsbBeatfreqosc")->isEnabled()) << "no CW offset outside CW";
    EXPECT_EQ(text(p, "lblVolume"), QStringLiteral("40"));
    EXPECT_EQ(slider(p, "vsbVolume")->value(), 40);
    EXPECT_EQ(text(p, "lblLinelevel"), QStringLiteral("25"));

    // The filter buttons offer the range of the stored filter.
    EXPECT_EQ(p->BwRange(), 2);
    EXPECT_EQ(filterCaptions(p), QStringList({"1950", "1800", "1650", "1500", "1350", "1200", "1050", "", "", ""}));
    EXPECT_EQ(filtersEnabled(p), QList<bool>({true, true, true, true, true, true, true, false, false, false}));
    click(p, QStringLiteral("cmdBwgroup_5"));
    EXPECT_EQ(rx().filter, 22);
    EXPECT_EQ(text(p, "lblBandwidth"), QStringLiteral("1200"));
    EXPECT_NEAR(tunedKHz(), 14200.5, 0.0005) << "a filter change re-tunes to the same frequency";
}

TEST_F(Rx320PanelTest, WithoutAUsableFileThePanelStartsFromValuesTheReceiverTakes) {
    Settings[31] = 30;
    frmRX320* p = go();
    ASSERT_NE(p, nullptr);
    sim::Rx320SimState s = rx();
    ASSERT_TRUE(s.tuned);
    EXPECT_NEAR(tunedKHz(), 10000, 0.0005);
    EXPECT_EQ(s.filter, 2);
    EXPECT_EQ(s.agc, 2);
    EXPECT_EQ(s.mode, 0);
    EXPECT_EQ(s.speakerAtt, 63) << "silent until the user turns the volume up";
    EXPECT_EQ(s.lineAtt, rx320::attenuation(30)) << "the set-up's line level";
    EXPECT_EQ(box(p), QStringLiteral("10000.000"));
    EXPECT_EQ(p->BwRange(), 0);
    EXPECT_EQ(filterCaptions(p).first(), QStringLiteral("8000"));
    close(p);
    EXPECT_EQ(readDataFile(Rx320SettingsFileName), lines({" 10000", " 2", " 0", " 2", " 0", " 0", " 0", " 30"}));

    // A damaged file: every field that cannot be sent starts afresh, the rest
    // is kept. A mode of 7 or a frequency of 0 would leave the receiver untuned.
    writeDataFile(Rx320SettingsFileName, lines({" 0", " 26", "garbage", " 0", " 99999", " 7"}));
    newReceiver();
    p = go();
    ASSERT_NE(p, nullptr);
    s = rx();
    ASSERT_TRUE(s.tuned);
    EXPECT_NEAR(tunedKHz(), 10000, 0.0005);
    EXPECT_EQ(s.filter, 26);
    EXPECT_EQ(s.agc, 2);
    EXPECT_EQ(s.mode, 0);
    EXPECT_EQ(s.lineAtt, rx320::attenuation(30));
    EXPECT_EQ(p->BwRange(), 3);
    EXPECT_EQ(text(p, "lblBandwidth"), QStringLiteral("675"));
}

TEST_F(Rx320PanelTest, TuningModeFilterAgcAndShiftReachTheReceiver) {
    writeDataFile(Rx320SettingsFileName, lines({" 7000", " 33", " 0", " 2", " 0", " 0", " 40", " 0"}));
    frmRX320* p = go();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->BwRange(), 0);
    EXPECT_EQ(filterCaptions(p), QStringList({"8000", "6000", "5700", "5400", "5100", "4800", "4500", "4200", "", ""}));

    keypad(p, QStringLiteral("7100"));
    EXPECT_NEAR(tunedKHz(), 7100, 0.0005);
    EXPECT_EQ(box(p), QStringLiteral("7100.000"));

    // CW brings in the CW offset; the other modes keep it for the next time.
    click(p, QStringLiteral("cmdMode_3"));
    EXPECT_EQ(rx().mode, 3);
    EXPECT_EQ(text(p, "lblMode"), QStringLiteral("CW"));
    QSlider* bfo = slider(p, "vsbBeatfreqosc");
    ASSERT_TRUE(bfo->isEnabled());
    EXPECT_TRUE(control<QWidget>(p, QStringLiteral("lblBeatfreqosc"))->isEnabled());
    bfo->setValue(1000);
    EXPECT_EQ(rx().bfo, 24570);
    EXPECT_EQ(text(p, "lblBeatfreqosc"), QStringLiteral(" 1000"));
    click(p, QStringLiteral("cmdMode_0"));
    EXPECT_EQ(rx().bfo, 21840);
    EXPECT_FALSE(bfo->isEnabled());
    EXPECT_FALSE(control<QWidget>(p, QStringLiteral("lblBeatfreqosc"))->isEnabled());
    key(p, Qt::Key_C, Qt::ShiftModifier);
    EXPECT_EQ(rx().mode, 3);
    EXPECT_EQ(rx().bfo, 24570) << "the stored CW offset is used again";
    key(p, Qt::Key_U, Qt::ShiftModifier);
    EXPECT_EQ(rx().mode, 1);
    key(p, Qt::Key_A, Qt::ShiftModifier);
    EXPECT_EQ(rx().mode, 0);
    EXPECT_NEAR(tunedKHz(), 7100, 0.0005) << "every mode change re-tuned";

    click(p, QStringLiteral("cmdAgcspeed_0"));
    EXPECT_EQ(rx().agc, 1);
    EXPECT_EQ(text(p, "lblAgcspeed"), QStringLiteral("Slw"));

    // A range button relabels the filter buttons and at once takes button 3.
    click(p, QStringLiteral("cmdBwrange_1"));
    EXPECT_EQ(rx().filter, 10);
    EXPECT_EQ(text(p, "lblBandwidth"), QStringLiteral("3000"));
    EXPECT_EQ(filterCaptions(p),
              QStringList({"3900", "3600", "3300", "3000", "2850", "2700", "2550", "2400", "2250", "2100"}));
    EXPECT_FALSE(filtersEnabled(p).contains(false));
    key(p, Qt::Key_F8, Qt::ShiftModifier);
    EXPECT_EQ(rx().filter, 7);
    key(p, Qt::Key_F1, Qt::ShiftModifier);
    EXPECT_EQ(p->BwRange(), 3);
    EXPECT_EQ(rx().filter, 27);
    EXPECT_EQ(filtersEnabled(p), QList<bool>({true, true, true, true, true, true, true, true, true, false}));
    key(p, Qt::Key_F5, Qt::ShiftModifier);
    EXPECT_EQ(rx().filter, 30);
    key(p, Qt::Key_F4, Qt::ShiftModifier);
    EXPECT_EQ(rx().filter, 2);
    EXPECT_EQ(text(p, "lblBandwidth"), QStringLiteral("5400"));

    // The passband shift reaches the receiver through the tuning factors only.
    click(p, QStringLiteral("cmdBwgroup_0"));
    EXPECT_EQ(rx().filter, 33);
    const int before = commandCount();
    slider(p, "vsbPassbandshift")->setValue(500);
    EXPECT_EQ(rx().bfo, 23205);
    EXPECT_EQ(text(p, "lblPassbandshift"), QStringLiteral(" 500"));
    const QList<QByteArray> sent = commandsSince(before);
    ASSERT_FALSE(sent.isEmpty());
    for (const QByteArray& c : sent) EXPECT_EQ(c[0], 'N');
    emit control<ClickableLabel>(p, QStringLiteral("lblPassbandshift"))->clicked();
    EXPECT_EQ(rx().bfo, 21840);
    EXPECT_EQ(slider(p, "vsbPassbandshift")->value(), 0);
    EXPECT_NEAR(tunedKHz(), 7100, 0.0005);
}

TEST_F(Rx320PanelTest, LevelsAndTheirKeysStopAtTheEnds) {
    writeDataFile(Rx320SettingsFileName, lines({" 7000", " 33", " 0", " 2", " 0", " 0", " 40", " 0"}));
    frmRX320* p = go();
    ASSERT_NE(p, nullptr);
    QSlider* vol = slider(p, "vsbVolume");
    QSlider* line = slider(p, "vsbLinelevel");
    QSlider* pbs = slider(p, "vsbPassbandshift");

    line->setValue(50);
    EXPECT_EQ(rx().lineAtt, 18);
    EXPECT_EQ(text(p, "lblLinelevel"), QStringLiteral("50"));
    vol->setValue(96);
    key(p, Qt::Key_Equal, Qt::AltModifier);
    EXPECT_EQ(vol->value(), 99);
    EXPECT_EQ(rx().speakerAtt, 0);
    EXPECT_EQ(text(p, "lblVolume"), QStringLiteral("99"));
    // At the end the value does not move, yet it is sent once more.
    int n = commandCount();
    key(p, Qt::Key_Equal, Qt::AltModifier);
    EXPECT_EQ(commandsSince(n), QList<QByteArray>({rx320::volumeCommand(99)}));
    vol->setValue(3);
    EXPECT_EQ(text(p, "lblVolume"), QStringLiteral("03"));
    key(p, Qt::Key_Minus, Qt::AltModifier);
    EXPECT_EQ(vol->value(), 0);
    EXPECT_EQ(rx().speakerAtt, 63);
    vol->setValue(20);
    key(p, Qt::Key_0, Qt::AltModifier);
    EXPECT_EQ(vol->value(), 0);
    EXPECT_EQ(Rx320Volume, 0);

    // A click on a level label silences it, and sends nothing when it already is.
    vol->setValue(40);
    emit control<ClickableLabel>(p, QStringLiteral("lblVolume"))->clicked();
    EXPECT_EQ(rx().speakerAtt, 63);
    n = commandCount();
    emit control<ClickableLabel>(p, QStringLiteral("lblVolume"))->clicked();
    EXPECT_EQ(commandCount(), n);
    emit control<ClickableLabel>(p, QStringLiteral("lblLinelevel"))->clicked();
    EXPECT_EQ(rx().lineAtt, 63);

    // The passband shift keys stop at 2000 / -2000, not 2010.
    pbs->setValue(1960);
    key(p, Qt::Key_Plus, Qt::ShiftModifier);
    EXPECT_EQ(pbs->value(), 2000);
    EXPECT_EQ(Rx320Pbs, 2000);
    pbs->setValue(1950);
    key(p, Qt::Key_Plus, Qt::ShiftModifier);
    EXPECT_EQ(pbs->value(), 2000);
    pbs->setValue(-1960);
    key(p, Qt::Key_Underscore, Qt::ShiftModifier);
    EXPECT_EQ(pbs->value(), -2000);
    EXPECT_EQ(text(p, "lblPassbandshift"), QStringLiteral("-2000"));
    key(p, Qt::Key_ParenRight, Qt::ShiftModifier);
    EXPECT_EQ(pbs->value(), 0);
    EXPECT_EQ(Rx320Pbs, 0);
    // No key works the CW offset or the line level; arrows with Shift do nothing.
    n = commandCount();
    key(p, Qt::Key_Up, Qt::ShiftModifier);
    key(p, Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(commandCount(), n);
}

TEST_F(Rx320PanelTest, ClosingAndReopeningBringsBackExactlyWhatWasSet) {
    Settings[20] = 100;   // a frequency correction, so the factors depend on it
    Settings[21] = -40;
    frmRX320* p = go();
    ASSERT_NE(p, nullptr);
    keypad(p, QStringLiteral("9650.125"));
    click(p, QStringLiteral("cmdMode_3"));
    slider(p, "vsbBeatfreqosc")->setValue(-700);
    click(p, QStringLiteral("cmdMode_2"));
    click(p, QStringLiteral("cmdBwrange_2"));
    click(p, QStringLiteral("cmdBwgroup_1"));
    click(p, QStringLiteral("cmdAgcspeed_0"));
    slider(p, "vsbPassbandshift")->setValue(-450);
    slider(p, "vsbVolume")->setValue(33);
    slider(p, "vsbLinelevel")->setValue(71);
    const sim::Rx320SimState before = rx();
    ASSERT_TRUE(before.tuned);
    EXPECT_EQ(before.filter, 18);

    close(p);
    EXPECT_FALSE(RX320Open);
    EXPECT_FALSE(Comm1->isOpen());
    EXPECT_TRUE(welcome->isVisible());
    EXPECT_EQ(readDataFile(Rx320SettingsFileName),
              lines({" 9650.125", " 18", "-450", " 1", "-700", " 2", " 33", " 71"}));

    // The next run: nothing left in memory, and a receiver that has
    // forgotten everything.
    resetRx320State();
    newReceiver();
    p = go();
    ASSERT_NE(p, nullptr);
    const sim::Rx320SimState after = rx();
    EXPECT_EQ(after.coarse, before.coarse);
    EXPECT_EQ(after.fine, before.fine);
    EXPECT_EQ(after.bfo, before.bfo);
    EXPECT_EQ(after.mode, before.mode);
    EXPECT_EQ(after.filter, before.filter);
    EXPECT_EQ(after.agc, before.agc);
    EXPECT_EQ(after.speakerAtt, before.speakerAtt);
    EXPECT_EQ(after.lineAtt, before.lineAtt);
    EXPECT_EQ(box(p), QStringLiteral("9650.125"));
    EXPECT_EQ(p->BwRange(), 2);
    EXPECT_EQ(text(p, "lblBandwidth"), QStringLiteral("1800"));
    EXPECT_EQ(text(p, "lblMode"), QStringLiteral("LSB"));
    EXPECT_EQ(text(p, "lblAgcspeed"), QStringLiteral("Slw"));
    EXPECT_EQ(slider(p, "vsbPassbandshift")->value(), -450);
    EXPECT_EQ(slider(p, "vsbBeatfreqosc")->value(), -700);
    EXPECT_EQ(slider(p, "vsbVolume")->value(), 33);
    EXPECT_EQ(slider(p, "vsbLinelevel")->value(), 71);
}

TEST_F(Rx320PanelTest, ClosingMutesAsTheSettingsSayAfterSavingTheLevels) {
    writeDataFile(Rx320SettingsFileName, lines({" 7000", " 33", " 0", " 2", " 0", " 0", " 40", " 30"}));
    Settings[18] = 1;
    Settings[19] = 1;
    frmRX320* p = go();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(rx().speakerAtt, 23);
    close(p);
    EXPECT_EQ(rx().speakerAtt, 63);
    EXPECT_EQ(rx().lineAtt, 63);
    const QList<QByteArray> file = readDataFile(Rx320SettingsFileName).split('\n');
    ASSERT_GE(file.size(), 8);
    EXPECT_EQ(file[6], " 40\r") << "the file keeps the volume in use before the mute";
    EXPECT_EQ(file[7], " 30\r");

    // Next time the volume comes back; only the line output is muted on close.
    Settings[18] = 0;
    p = go();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(rx().speakerAtt, 23);
    EXPECT_EQ(rx().lineAtt, rx320::attenuation(30));
    close(p);
    EXPECT_EQ(rx().speakerAtt, 23);
    EXPECT_EQ(rx().lineAtt, 63);
}

TEST_F(Rx320PanelTest, TheLineOutLockKeepsOnlyTheUserAway) {
    writeDataFile(Rx320SettingsFileName, lines({" 7000", " 33", " 0", " 2", " 0", " 0", " 40", " 45"}));
    Settings[30] = 1;
    Settings[31] = 10;
    frmRX320* p = go();
    ASSERT_NE(p, nullptr);
    QSlider* line = slider(p, "vsbLinelevel");
    auto* label = control<QWidget>(p, QStringLiteral("lblLinelevel"));
    EXPECT_FALSE(line->isEnabled());
    EXPECT_FALSE(label->isEnabled());
    EXPECT_EQ(rx().lineAtt, rx320::attenuation(45)) << "the stored level is still sent";
    EXPECT_EQ(p->menuItem(QStringLiteral("mnuDisableLine"))->text(), QStringLiteral("Disable Line out"));
    EXPECT_EQ(p->menuItem(QStringLiteral("mnuEnableLine"))->text(), QStringLiteral("Enable Line Out"));

    const int n = commandCount();
    p->menuItem(QStringLiteral("mnuEnableLine"))->trigger();
    EXPECT_TRUE(line->isEnabled());
    EXPECT_TRUE(label->isEnabled());
    p->menuItem(QStringLiteral("mnuDisableLine"))->trigger();
    EXPECT_FALSE(line->isEnabled());
    EXPECT_EQ(commandCount(), n) << "the lock sends nothing";

    // The timer switches the line output through its own driver object and
    // then tells the panel; the locked slider follows and the level goes out.
    p->RX320A_LinelevelChanged(60);
    EXPECT_EQ(line->value(), 60);
    EXPECT_EQ(text(p, "lblLinelevel"), QStringLiteral("60"));
    EXPECT_EQ(rx().lineAtt, rx320::attenuation(60));
}

TEST_F(Rx320PanelTest, HandlersShowWhatOthersSetAndMarkWhatCannotBe) {
    writeDataFile(Rx320SettingsFileName, lines({" 7000", " 33", "-100", " 2", " 200", " 3", " 40", " 20"}));
    frmRX320* p = go();
    ASSERT_NE(p, nullptr);
    const int n = commandCount();
    p->RX320A_PassbandshiftChanged(2001);
    p->RX320A_BeatfreqoscChanged(-3001);
    p->RX320A_VolumeChanged(100);
    p->RX320A_LinelevelChanged(-1);
    p->RX320A_BandwidthChanged(34);
    p->RX320A_ModeChanged(12);
    p->RX320A_AgcspeedChanged(-1);
    for (const char* name : {"lblPassbandshift", "lblBeatfreqosc", "lblVolume", "lblLinelevel", "lblBandwidth",
                             "lblMode", "lblAgcspeed"})
        EXPECT_EQ(text(p, name), QStringLiteral("?")) << name;
    EXPECT_EQ(slider(p, "vsbPassbandshift")->value(), -100) << "the slider keeps its place";
    EXPECT_EQ(slider(p, "vsbBeatfreqosc")->value(), 200);
    EXPECT_EQ(slider(p, "vsbVolume")->value(), 40);
    EXPECT_EQ(slider(p, "vsbLinelevel")->value(), 20);
    EXPECT_EQ(commandCount(), n) << "nothing was sent";

    // The facade sets mode, filter and AGC for a mode letter, then tells the panel.
    QString letter = QStringLiteral("u");
    SetRx2mfa(letter);
    EXPECT_EQ(rx().mode, 1);
    EXPECT_EQ(rx().filter, 10);
    EXPECT_EQ(rx().agc, 1);
    EXPECT_EQ(text(p, "lblMode"), QStringLiteral("USB"));
    EXPECT_EQ(text(p, "lblBandwidth"), QStringLiteral("3000"));
    EXPECT_EQ(text(p, "lblAgcspeed"), QStringLiteral("Slw"));
    EXPECT_FALSE(slider(p, "vsbBeatfreqosc")->isEnabled());
    EXPECT_TRUE(Change2FreqA(15400));
    EXPECT_NEAR(tunedKHz(), 15400, 0.0005);
    EXPECT_EQ(box(p), QStringLiteral("15400.000"));
    EXPECT_EQ(ConvertRx2mfa(), QStringLiteral("u"));
}

TEST_F(Rx320PanelTest, TheFirmwareQueryShowsTheReceiversText) {
    frmRX320* p = go();
    ASSERT_NE(p, nullptr);
    QAction* firmware = p->menuItem(QStringLiteral("mnuFirmware"));
    ASSERT_NE(firmware, nullptr);
    EXPECT_EQ(firmware->text(), QStringLiteral("Firmware version"));
    EXPECT_EQ(p->menuItem(QStringLiteral("mnuUpdate")), nullptr) << "nothing to read back";
    EXPECT_FALSE(control<QWidget>(p, QStringLiteral("cmdEnterMem"))->isVisible());

    dialogs.expect(QStringLiteral("VER 1.07"));
    firmware->trigger();
    ASSERT_FALSE(dialogs.shown().isEmpty());
    EXPECT_EQ(dialogs.shown().last().title, QStringLiteral("Firmware Version"));
    EXPECT_EQ(dialogs.shown().last().icon, dialogs::Icon::Information);

    // Without an answer: the box stays empty, and the one notice follows
    // once the command has returned.
    sim->setFault(sim::Fault::Silent);
    dialogs.expect(QStringLiteral("Firmware Version"));
    dialogs.expect(QStringLiteral("The receiver does not answer"));
    firmware->trigger();
    EXPECT_EQ(dialogs.shown().last().text, QString());
    pump();
}

TEST_F(Rx320PanelTest, ExitSavesAsCloseDoes) {
    frmRX320* p = go();
    ASSERT_NE(p, nullptr);
    slider(p, "vsbVolume")->setValue(12);
    int ended = 0;
    welcome::endProgram = [&] { ++ended; };
    p->menuItem(QStringLiteral("mnuExit"))->trigger();
    EXPECT_EQ(ended, 1);
    EXPECT_FALSE(RX320Open);
    EXPECT_EQ(readDataFile(Rx320SettingsFileName).split('\n').value(6), QByteArray(" 12\r"));
}

TEST_F(Rx320PanelTest, AFileThatCannotBeWrittenIsReportedAndTheCloseGoesOn) {
    // Something that is no file stands where the settings go.
    ASSERT_TRUE(QDir(DataFolder).mkdir(Rx320SettingsFileName));
    frmRX320* p = go();
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(rx().tuned) << "unreadable: the start values are sent";
    dialogs.expect(QStringLiteral("could not be saved"));
    close(p);
    EXPECT_FALSE(RX320Open);
    EXPECT_FALSE(Comm1->isOpen());
    EXPECT_TRUE(welcome->isVisible());
}

TEST_F(Rx320PanelTest, APortThatCannotOpenLeavesTheSavedSettingsAlone) {
    const QByteArray saved = lines({" 14200.5", " 20", "-300", " 3", " 250", " 1", " 40", " 25"});
    writeDataFile(Rx320SettingsFileName, saved);
    ASSERT_TRUE(setSerialDeviceForPort(DataFolder, 1, DataFolder + QStringLiteral("no-such-tty")));
    dialogs.expect(QStringLiteral("no-such-tty"));
    frmRX320* p = go();
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(RX320Open);
    EXPECT_EQ(p->BwRange(), 2);
    // A slider moved now cannot reach the receiver, so it does not stay moved.
    slider(p, "vsbVolume")->setValue(70);
    EXPECT_EQ(slider(p, "vsbVolume")->value(), 0);
    close(p);
    EXPECT_EQ(readDataFile(Rx320SettingsFileName), saved);
    EXPECT_FALSE(sim->state().tuned);
}

} // namespace
} // namespace dovrane::test
