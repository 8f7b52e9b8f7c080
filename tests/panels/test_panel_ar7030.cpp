// The pattern on a real AR7030 driver, through the real port, with a
// simulated receiver on a pseudo-terminal: keypad tuning, the rounding labels
// through the facade, continuous stepping that keeps pace with the line, and a
// receiver that does not answer.
#include "panel_rig.h"

#include "drivers/ar7030/ar7030_protocol.h"
#include "drivers/ar7030/clsar7030.h"
#include "lists/last20_list.h"
#include "platform/clickable_label.h"
#include "platform/commport.h"
#include "shell/globals.h"
#include "platform/number_text.h"
#include "panels/panel_registry.h"
#include "shell/frmwelcome.h"
#include "shell/settings_file.h"
#include "sim/ar7030_sim.h"
#include "support/waits.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <chrono>
#include <thread>

namespace dovrane::test {
namespace {

// As thin as a model panel can be: tables, driver, its frequency event.
class SimAr7030Panel : public RxPanel {
public:
    SimAr7030Panel() : RxPanel(1) {
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(new TuningBlock(this));
        setupPanel();
    }
    clsAR7030* driver = nullptr;

protected:
    void createDriverAndTables() override {
        initar7030tables();
        driver = new clsAR7030(*Comm1, this);
        connect(driver, &clsAR7030::FrequencyAChanged, this, [this](double f) { frequencyAChanged(f); });
    }
    bool setDriverFrequencyA(double kHz) override { return driver->FrequencyA(kHz); }
    void modelLoad(bool portOpen) override {
        if (!portOpen) return;
        if (const auto f = driver->FrequencyA()) frequencyAChanged(*f);
    }
    void releaseDriver() override {
        delete driver;
        driver = nullptr;
    }
};

class Ar7030PanelTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        clearLast20();
        ASSERT_TRUE(sim.start());
        sim.setClockRunning(false);
        sim.setFrequencyWord(*ar7030::frequencyWord(9650));
        port.setDeviceName(sim.devicePath());
        Comm1 = &port;
        Settings[1] = 1;
        RxType = 1;
    }
    void TearDown() override {
        forms::destroyAll();
        resetFacade();
        port.close();
        sim.stop();
        EXPECT_EQ(sim.violations(), 0);
        PanelTest::TearDown();
    }

    // The receiver's frequency word once the line has gone quiet.
    uint32_t tunedWord() {
        EXPECT_TRUE(sim.waitIdle());
        int last = -1;
        for (int i = 0; i < 100 && sim.bytesReceived().size() != last; ++i) {
            last = int(sim.bytesReceived().size());
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return sim.frequencyWord();
    }
    static uint32_t word(double kHz) { return *ar7030::frequencyWord(kHz); }
    static QString box(RxPanel* p) { return control<QLineEdit>(p, QStringLiteral("txtFrequencyA"))->text(); }

    sim::Ar7030Sim sim;
    CommPort port;
};

TEST_F(Ar7030PanelTest, TheKeypadTunesTheReceiver) {
    auto* p = loadPanel<SimAr7030Panel>();
    EXPECT_TRUE(port.isOpen());
    EXPECT_EQ(port.settings(), QStringLiteral("1200,N,8,1"));
    EXPECT_EQ(box(p), QStringLiteral("9650.00")) << "the load reads the receiver";
    for (const char* key : {"cmd0to9_7", "cmd0to9_1", "cmd0to9_0", "cmd0to9_0", "cmdEnterfreq"})
        click(p, QLatin1String(key));
    EXPECT_EQ(tunedWord(), word(7100));
    EXPECT_EQ(box(p), QStringLiteral("7100.00"));
    EXPECT_EQ(Last20[0], QStringLiteral("7100.00"));
    EXPECT_EQ(Last20[1], QStringLiteral("9650.00"));

    // Closing the panel closes the port.
    p->unload();
    EXPECT_FALSE(port.isOpen());
}

TEST_F(Ar7030PanelTest, RoundingLabelsTuneThroughTheFacade) {
    auto* p = loadPanel<SimAr7030Panel>();
    auto* edit = control<QLineEdit>(p, QStringLiteral("txtFrequencyA"));
    auto* i5 = control<ClickableLabel>(p, QStringLiteral("lblInt5"));
    auto* i1 = control<ClickableLabel>(p, QStringLiteral("lbnInt1"));
    edit->setText(QStringLiteral("7502.4"));
    emit i5->clicked();
    EXPECT_EQ(tunedWord(), word(7500));
    EXPECT_EQ(box(p), QStringLiteral("7500.00"));
    edit->setText(QStringLiteral("7502.5"));
    emit i5->clicked();
    EXPECT_EQ(tunedWord(), word(7505));
    edit->setText(QStringLiteral("9999.5"));
    emit i1->clicked();
    EXPECT_EQ(tunedWord(), word(10000));
    EXPECT_EQ(box(p), QStringLiteral("10000.00"));
}

TEST_F(Ar7030PanelTest, ContinuousSteppingKeepsPaceWithTheLine) {
    sim.setBaud(1200);
    auto* p = loadPanel<SimAr7030Panel>();
    control<QComboBox>(p, QStringLiteral("cmbFreqstep"))->setEditText(QStringLiteral("1"));
    auto* go = control<QAbstractButton>(p, QStringLiteral("cmdMovefreq"));
    go->click();
    pump(400);
    EXPECT_TRUE(pumpUntil([&] { return box(p) != QLatin1String("9650.00"); }));
    go->click();
    const QString shown = box(p);
    EXPECT_NE(shown, QStringLiteral("9650.00"));
    // Each step went out whole before the next: once stopped, the receiver
    // stands where the panel says, with nothing left queued on the line.
    EXPECT_EQ(tunedWord(), word(val(shown)));
    EXPECT_EQ(box(p), shown);
}

TEST_F(Ar7030PanelTest, GoOpensThePanelOnTheConfiguredPortAndCloseComesBack) {
    // The settings name the AR7030 on port 1, which leads to the simulator.
    writeDataFile(SettingsFileName, DataFolder.toUtf8() + "\r\n5130N\r\n00007W\r\n 1\r\n 1\r\n");
    writeDataFile(QStringLiteral("serialports.ini"), sim.devicePath().toUtf8() + "\r\n");
    RxType = 0;
    welcome::panelOpeners[1] = [] { return openReceiverPanel<SimAr7030Panel>(); };
    frmWelcome* w = frmWelcome::start();
    w->imgGo_Click();
    auto* p = forms::loaded<SimAr7030Panel>();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(RxType, 1);
    EXPECT_TRUE(p->isVisible());
    EXPECT_FALSE(w->isVisible());
    ASSERT_TRUE(Comm1->isOpen());
    EXPECT_EQ(Comm1->deviceName(), sim.devicePath());
    EXPECT_EQ(box(p), QStringLiteral("9650.00"));
    // The facade tunes through the welcome window's own driver, and the panel follows.
    EXPECT_TRUE(Change2FreqA(15400));
    EXPECT_EQ(tunedWord(), word(15400));
    EXPECT_EQ(box(p), QStringLiteral("15400.00"));

    p->cmdClose_Click();
    EXPECT_FALSE(AR7030Open);
    EXPECT_FALSE(Comm1->isOpen());
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(Change2FreqA(9000)) << "no receiver panel, no tuning";
    welcome::panelOpeners[1] = nullptr;
}

TEST_F(Ar7030PanelTest, ASilentReceiverDoesNotHoldUpTheLoad) {
    sim.setFault(sim::Fault::Silent);
    dialogs.expect(QStringLiteral("The receiver does not answer"));
    QElapsedTimer t;
    t.start();
    auto* p = loadPanel<SimAr7030Panel>();
    EXPECT_LT(t.elapsed(), 3000);
    EXPECT_TRUE(AR7030Open);
    EXPECT_EQ(box(p), QString()) << "nothing is shown that the receiver did not give";
}

} // namespace
} // namespace dovrane::test
