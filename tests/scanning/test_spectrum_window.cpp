// The spectrum window on each receiver, against its simulated receiver paced
// at the line's baud rate, whose S-meter follows a known curve over frequency.
#include "drivers/model_tables.h"
#include "panels/panelform.h"
#include "panels/rxpanel.h"
#include "platform/canvas.h"
#include "platform/number_text.h"
#include "platform/timeouts.h"
#include "scanning/frmspectrum.h"
#include "scanning/frmspectrumlimits.h"
#include "scanning/spectrum_file.h"
#include "shell/facade.h"
#include "shell/frmsavefile.h"
#include "shell/globals.h"
#include "shell/unloadallforms.h"
#include "support/go_rig.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <cmath>

namespace dovrane {
namespace {

// A carrier at 9550 kHz on a floor of S2.
double curve(double kHz) { return 2 + 9 * std::exp(-std::pow((kHz - 9550) / 20, 2)); }

class SpectrumWindowTest : public test::GoRig, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        GoRig::SetUp();
        // The program's own reply times: a loaded machine must not look like
        // a receiver that does not answer.
        replyTimeouts = ReplyTimeouts{};
    }
    frmSpectrum* open(int rxType) {
        if (sim::SimReceiver* rx = startSimulator(rxType)) {
            // Paced as the real line is.
            rx->setBaud(QString::fromLatin1(panelModel(rxType).lineSettings).section(',', 0, 0).toInt());
            rx->setSmeterCurve(curve);
        }
        PanelForm* panel = go(rxType);
        if (!panel) return nullptr;
        QAction* item = panel->menuItem(QStringLiteral("mnuScanSpectrum"));
        if (!item || !item->isEnabled()) return nullptr;
        item->trigger();
        return forms::loaded<frmSpectrum>();
    }
    // The limits dialog's OK with these texts.
    void ok(const QString& lower, const QString& upper, const QString& step, bool loop = false,
            const QString& delay = QStringLiteral("0,2")) {
        frmSpectrumlimits* dlg = forms::load<frmSpectrumlimits>();
        dlg->txtInput[0]->setText(lower);
        dlg->txtInput[1]->setText(upper);
        dlg->txtInput[2]->setText(step);
        dlg->txtInput[3]->setText(delay);
        dlg->findChild<QCheckBox*>(QStringLiteral("chkKeepgoing"))->setChecked(loop);
        dlg->cmdOK_Click();
    }
    // Ticks until the run ends; the number of ticks.
    int run(frmSpectrum* w) {
        w->timer()->stop();   // the test gives the ticks
        int ticks = 0;
        while (ticks < 600) {
            w->timer()->start(60000);
            w->tmrSpectrum_Timer();
            ++ticks;
            // A short dwell, as the scan's own delay gives (0.5 s at least):
            // the reply's last byte is off the line before the next command.
            pump(25);
            if (!w->timer()->isActive()) break;
        }
        return ticks;
    }
    // The top of the bar in column x: the highest black pixel above the base line.
    static int barTop(const Canvas* c, int x) {
        for (int y = 136; y <= 400; ++y)
            if (c->pixel(x, y) == QColor(0, 0, 0)) return y;
        return -1;
    }
};

TEST_P(SpectrumWindowTest, SamplesBarsAndFileFollowTheCurve) {
    frmSpectrum* w = open(GetParam());
    ASSERT_TRUE(w && w->isLoaded());
    ok(QStringLiteral("9500"), QStringLiteral("9600"), QStringLiteral("5"));
    EXPECT_EQ(w->timer()->interval(), 500);   // "0,2" read as 0.2, held at 0.5 s
    EXPECT_EQ(run(w), 21);
    ASSERT_TRUE(settle());
    const SpectrumScan& scan = w->scan();
    const Canvas* c = w->canvas();
    for (int i = 0; i <= 20; ++i) {
        const double f = 9500 + 5 * i;
        const float level = scan.values()[size_t(i)];
        // The driver's own scale quantises the reading.
        EXPECT_NEAR(level, curve(f), 0.75) << "step " << i;
        EXPECT_EQ(barTop(c, spectrumX(f, scan.limits())), spectrumY(level)) << "step " << i;
    }
    // The receiver was left on the last step, never beyond the upper limit.
    const std::optional<double> last = Update2RxFreq();
    ASSERT_TRUE(last);
    EXPECT_NEAR(*last, 9600, 0.01);
    FileKindPath[6] = dataPath(QStringLiteral("SAN/"));
    FileKindName[6] = QStringLiteral("SAN_CURVE.TXT");
    ASSERT_TRUE(w->savespectrumfile());
    const std::optional<SpectrumFile> f = readSpectrumFile(FileKindPath[6] + FileKindName[6]);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->last, 20);
    for (int i = 0; i <= 20; ++i) EXPECT_NEAR(f->values[size_t(i)], scan.values()[size_t(i)], 0.1001) << i;

    // Reloaded, the file draws its line through the same points.
    w->cmdCls_Click();
    w->loadspectrumfile();
    for (int i = 0; i <= 20; ++i) {
        const int x = spectrumX(9500 + 5 * i, f->limits);
        EXPECT_NE(c->pixel(x, spectrumY(f->values[size_t(i)])), frmSpectrum::Background) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(AllModels, SpectrumWindowTest, ::testing::Values(1, 2, 3, 4));

class SpectrumInterlockTest : public SpectrumWindowTest {};

TEST_F(SpectrumInterlockTest, RunLocksPanelAndMenusUntilStopOrClose) {
    frmSpectrum* w = open(2);
    ASSERT_TRUE(w && w->isLoaded());
    PanelForm* panel = qobject_cast<PanelForm*>(windowFor(&NRD535Open));
    ASSERT_TRUE(panel);
    auto enabled = [panel](const char* item) { return panel->menuItem(QLatin1String(item))->isEnabled(); };
    EXPECT_FALSE(enabled("mnuSmeter"));
    EXPECT_FALSE(enabled("mnuScanFreqList"));
    EXPECT_TRUE(enabled("mnuScanSpectrum"));
    EXPECT_FALSE(enabled("mnuPropagation"));
    ok(QStringLiteral("9500"), QStringLiteral("9600"), QStringLiteral("5"));
    EXPECT_FALSE(panel->isEnabled());
    EXPECT_TRUE(w->runActive());
    w->cmdStop_Click();
    EXPECT_TRUE(panel->isEnabled());
    EXPECT_FALSE(w->runActive());
    // Closed mid-run: everything comes back.
    w->cmdContinue_Click();
    EXPECT_FALSE(panel->isEnabled());
    w->unload();
    EXPECT_TRUE(panel->isEnabled());
    EXPECT_TRUE(enabled("mnuPropagation"));
}

TEST_F(SpectrumInterlockTest, ThreeMissingSamplesStopTheRunWithOneMessageAfterTheTick) {
    frmSpectrum* w = open(3);
    ASSERT_TRUE(w && w->isLoaded());
    ok(QStringLiteral("9500"), QStringLiteral("9600"), QStringLiteral("5"));
    w->timer()->stop();
    w->timer()->start(60000);
    w->tmrSpectrum_Timer();
    simulator()->setStopAnsweringAfter(0);
    dialogs.allow(QStringLiteral("The receiver does not answer"));
    const int before = int(dialogs.shown().size());
    for (int i = 0; i < 3; ++i) w->tmrSpectrum_Timer();
    EXPECT_FALSE(w->timer()->isActive());
    EXPECT_FALSE(w->runActive());
    EXPECT_FLOAT_EQ(w->scan().values()[1], 0);   // not stored
    pump(20);
    int stopped = 0;
    for (int i = before; i < dialogs.shown().size(); ++i)
        if (dialogs.shown()[i].text.contains(QStringLiteral("spectrum scan has stopped"))) ++stopped;
    EXPECT_EQ(stopped, 1);
}

TEST_F(SpectrumInterlockTest, BadLimitsAndBadFilesAreRefused) {
    frmSpectrum* w = open(3);
    ASSERT_TRUE(w && w->isLoaded());
    dialogs.expect(QStringLiteral("Input ERROR"));
    ok(QStringLiteral("9500"), QStringLiteral("9500"), QStringLiteral("5"));
    EXPECT_FALSE(w->timer()->isActive());
    EXPECT_EQ(forms::loaded<frmSpectrumlimits>()->txtInput[0]->text(), QStringLiteral("9500"));
    writeDataFile(QStringLiteral("SAN/SAN_BAD.TXT"), "t\r\n 9500\r\n 9500\r\n 5\r\n 1\r\n090\r\n091\r\n");
    writeDataFile(QStringLiteral("SAN/SAN_SHORT.TXT"), "t\r\n 9500\r\n 9600\r\n 5\r\n 20\r\n090\r\n");
    FileKindPath[6] = dataPath(QStringLiteral("SAN/"));
    const QImage before = w->canvas()->image();
    FileKindName[6] = QStringLiteral("SAN_BAD.TXT");
    dialogs.expect(QStringLiteral("Input ERROR"));
    w->loadspectrumfile();
    FileKindName[6] = QStringLiteral("SAN_SHORT.TXT");
    dialogs.expect(QStringLiteral("not a complete spectrum file"));
    w->loadspectrumfile();
    EXPECT_EQ(w->canvas()->image(), before);
    EXPECT_EQ(dialogs.pending(), 0);
}

TEST_F(SpectrumInterlockTest, EveryRunDwellsItsDelayAlsoOverALoadedFile) {
    frmSpectrum* w = open(3);
    ASSERT_TRUE(w && w->isLoaded());
    // Six of the twenty steps: "Continue" goes on from the seventh.
    writeDataFile(QStringLiteral("SAN/SAN_PART.TXT"),
                  "t\r\n 9500\r\n 9600\r\n 5\r\n 5\r\n020\r\n030\r\n040\r\n050\r\n060\r\n070\r\n");
    FileKindPath[6] = dataPath(QStringLiteral("SAN/"));
    FileKindName[6] = QStringLiteral("SAN_PART.TXT");
    auto button = [w](const char* name) { return w->findChild<QPushButton*>(QLatin1String(name)); };
    auto loadStopContinue = [&] {
        w->loadspectrumfile();
        w->cmdStop_Click();
        ASSERT_TRUE(button("cmdContinue")->isEnabled());
        w->cmdContinue_Click();
        EXPECT_TRUE(w->timer()->isActive());
        EXPECT_EQ(w->scan().index(), 6);
    };
    {
        SCOPED_TRACE("no run before: the dialog's own 1 s");
        loadStopContinue();
        EXPECT_EQ(w->timer()->interval(), 1000);
        w->cmdStop_Click();
    }
    {
        SCOPED_TRACE("after a run of 2,5 s");
        ok(QStringLiteral("9500"), QStringLiteral("9600"), QStringLiteral("5"), false, QStringLiteral("2,5"));
        EXPECT_EQ(w->timer()->interval(), 2500);
        w->cmdStop_Click();
        loadStopContinue();
        EXPECT_EQ(w->timer()->interval(), 2500);
        w->cmdStop_Click();
    }
}

TEST_F(SpectrumInterlockTest, ARefusedOkChangesNothingOfTheScanAndTheDialogKeepsWhatWasTyped) {
    frmSpectrum* w = open(3);
    ASSERT_TRUE(w && w->isLoaded());
    ok(QStringLiteral("9500"), QStringLiteral("9600"), QStringLiteral("5"));
    run(w);
    w->cmdStop_Click();
    const SpectrumLimits limits = w->scan().limits();
    const SpecValueArray values = w->scan().values();
    const int top = w->scan().measuredTop();
    ASSERT_EQ(top, 20) << "the run measured every step";
    const QImage graph = w->canvas()->image();
    auto* freq1 = w->findChild<QLabel*>(QStringLiteral("lblFreq1"));
    ASSERT_TRUE(freq1);
    const struct {
        const char *lower, *upper, *step;
    } refused[] = {{"9600", "9500", "5"}, {"9500", "9500", "5"}, {"9500", "9600", "0"}, {"9500", "99999", "5"}};
    for (const auto& r : refused) {
        SCOPED_TRACE(std::string(r.lower) + " " + r.upper + " " + r.step);
        dialogs.expect(QStringLiteral("Input ERROR"));
        ok(QLatin1String(r.lower), QLatin1String(r.upper), QLatin1String(r.step));
        frmSpectrumlimits* dlg = forms::loaded<frmSpectrumlimits>();
        EXPECT_EQ(dlg->txtInput[0]->text(), QLatin1String(r.lower));
        EXPECT_EQ(dlg->txtInput[1]->text(), QLatin1String(r.upper));
        EXPECT_EQ(dlg->txtInput[2]->text(), QLatin1String(r.step));
        dlg->cmdCancel_Click();
        EXPECT_FALSE(w->timer()->isActive());
        EXPECT_DOUBLE_EQ(w->scan().limits().lower, limits.lower);
        EXPECT_DOUBLE_EQ(w->scan().limits().upper, limits.upper);
        EXPECT_DOUBLE_EQ(w->scan().limits().step, limits.step);
        EXPECT_EQ(w->scan().values(), values);
        EXPECT_EQ(w->scan().measuredTop(), top);
        EXPECT_EQ(w->canvas()->image(), graph) << "the graph was erased";
        // "Tune RX" still maps the pointer over the scan that was kept.
        w->cmdTunerx_Click();
        w->graphMouseMove(QPoint(320, 300));
        EXPECT_EQ(freq1->text(), QStringLiteral(" 9550"));
        w->cmdStop_Click();
        // Save writes the kept scan, a file the loader takes whole.
        FileKindPath[6] = dataPath(QStringLiteral("SAN/"));
        FileKindName[6] = QStringLiteral("SAN_KEPT.TXT");
        ASSERT_TRUE(w->savespectrumfile());
        const std::optional<SpectrumFile> f = readSpectrumFile(dataPath(QStringLiteral("SAN/SAN_KEPT.TXT")));
        ASSERT_TRUE(f);
        EXPECT_TRUE(f->limits.valid(FreqMin, FreqMax));
        EXPECT_EQ(f->last, top);
    }
    EXPECT_EQ(dialogs.pending(), 0);
}

TEST_F(SpectrumInterlockTest, SaveWritesNoFileTheLoaderWouldRefuse) {
    frmSpectrum* w = open(3);
    ASSERT_TRUE(w && w->isLoaded());
    FileKindPath[6] = dataPath(QStringLiteral("SAN/"));
    FileKindName[6] = QStringLiteral("SAN_NONE.TXT");
    // Nothing scanned or loaded yet: no limits a file could be read back with.
    EXPECT_FALSE(w->savespectrumfile());
    EXPECT_FALSE(QFile::exists(dataPath(QStringLiteral("SAN/SAN_NONE.TXT"))));
    dialogs.expect(QStringLiteral("nothing to save"));
    w->cmdsaveas_Click();
    EXPECT_EQ(forms::loaded<frmSavefile>(), nullptr) << "the chooser opened";
    // A refused OK on a fresh window leaves it so.
    dialogs.expect(QStringLiteral("Input ERROR"));
    ok(QStringLiteral("9600"), QStringLiteral("9500"), QStringLiteral("5"));
    forms::loaded<frmSpectrumlimits>()->cmdCancel_Click();
    EXPECT_FALSE(w->savespectrumfile());
    EXPECT_FALSE(QFile::exists(dataPath(QStringLiteral("SAN/SAN_NONE.TXT"))));
    EXPECT_EQ(dialogs.pending(), 0);
}

} // namespace
} // namespace dovrane
