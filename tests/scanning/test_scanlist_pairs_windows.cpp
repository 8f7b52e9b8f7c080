// The frequency-list and frequency-pair scan windows against the simulated
// RX-320 through the real port at its baud rate.
#include "drivers/model_tables.h"
#include "drivers/rx320/rx320_state.h"
#include "platform/canvas.h"
#include "platform/clickable_label.h"
#include "platform/commport.h"
#include "platform/timeouts.h"
#include "scanning/frmscanlist.h"
#include "scanning/frmscanpairs.h"
#include "shell/frmsavefile.h"
#include "shell/common_tables.h"
#include "shell/facade.h"
#include "shell/form.h"
#include "shell/globals.h"
#include "sim/rx320_sim.h"
#include "support/paste.h"
#include "support/test_env.h"
#include "support/when_shown.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QStyle>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <cmath>
#include <map>

namespace dovrane {
namespace {

class ScanWindowTest : public test::AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        // The program's own reply times: a loaded machine must not look like a
        // receiver that does not answer.
        replyTimeouts = ReplyTimeouts{};
        resetRx320State();
        ASSERT_TRUE(sim.start());
        sim.setBaud(1200);
        port.setDeviceName(sim.devicePath());
        ASSERT_TRUE(port.setSettings(QStringLiteral("1200,N,8,1")));
        ASSERT_TRUE(port.open()) << port.errorString().toStdString();
        Comm1 = &port;
        RxType = 3;
        initrx320tables();
        createWelcomeDriver(RxType);
    }
    void TearDown() override {
        forms::destroyAll();
        releaseWelcomeDrivers();
        Comm1 = nullptr;
        port.close();
        sim.stop();
        resetRx320State();
        AppTest::TearDown();
    }
    // The receiver's reading follows the frequency it was last tuned to.
    void followCurve() {
        ASSERT_TRUE(sim.waitIdle());
        const std::optional<double> f = sim.tunedKHz();
        sim.setSmeterReading(f && readings.count(std::lround(*f)) ? readings[std::lround(*f)] : 1);
    }
    static float levelOf(int n) { return float(1.4 * std::log(double(n))); }

    sim::Rx320Sim sim;
    CommPort port;
    std::map<long, int> readings;
};

TEST_F(ScanWindowTest, ListScanBarsAndTrendsFollowTheLevels) {
    readings = {{6000, 20}, {7000, 1000}, {9000, 20000}};
    frmScanlist* w = forms::load<frmScanlist>();
    ASSERT_TRUE(w && w->isLoaded());
    for (QLineEdit* e : w->txtFreqlist) e->setText(QStringLiteral("-"));
    w->txtFreqlist[1]->setText(QStringLiteral("6000"));
    w->txtFreqlist[4]->setText(QStringLiteral("7000"));
    w->txtFreqlist[19]->setText(QStringLiteral("9000"));
    w->findChild<QLineEdit*>(QStringLiteral("txtUpdate"))->setText(QStringLiteral("3"));
    w->cmdStart_Click();
    ASSERT_TRUE(w->timer()->isActive());
    w->timer()->start(60000);   // ticks come from the test
    // Nine passes: the first trends come at the third update. Row 4's level
    // rises in the last three passes, row 19's falls.
    for (int pass = 1; pass <= 9; ++pass) {
        if (pass == 7) readings = {{6000, 20}, {7000, 30000}, {9000, 500}};
        for (int row = 0; row < 3; ++row) {
            followCurve();
            w->tmrScanlist_Timer();
        }
    }
    EXPECT_EQ(w->scan().passes(), 9);
    Canvas* c = w->canvas();
    // Newest bar of each row: from the base line up to CInt(270 - 9 level).
    const std::pair<int, int> rows[] = {{1, 20}, {4, 30000}, {19, 500}};
    for (auto [row, n] : rows) {
        const int x = 25 * row + 94;
        const int top = int(std::lround(270 - 9.0 * levelOf(n)));
        EXPECT_EQ(c->pixel(x, top), QColor(0, 0, 0)) << row;
        EXPECT_EQ(c->pixel(x, top - 2), QColor(255, 255, 192)) << row;
        EXPECT_FLOAT_EQ(w->scan().sample(row, 20), levelOf(n));
    }
    // Newest trend boxes: steady yellow, rising green, falling red.
    EXPECT_EQ(c->pixel(25 * 1 + 93, 300), QColor(255, 255, 0));
    EXPECT_EQ(c->pixel(25 * 4 + 93, 300), QColor(0, 255, 0));
    EXPECT_EQ(c->pixel(25 * 19 + 93, 300), QColor(255, 0, 0));
    EXPECT_EQ(c->pixel(25 * 4 + 92, 300), QColor(255, 255, 255));   // no older trend yet
    w->cmdStop_Click();
    EXPECT_FALSE(w->runActive());
}

TEST_F(ScanWindowTest, ListFileRoundTripsByteForByte) {
    const QByteArray file = "9995.5\r\n-\r\n6000\r\n-\r\n-\r\n-\r\n-\r\n-\r\n-\r\n-\r\n"
                            "-\r\n-\r\n-\r\n-\r\n-\r\n-\r\n-\r\n-\r\n-\r\n29999\r\n";
    writeDataFile(QStringLiteral("SFL/SFL_ONE.TXT"), file);
    frmScanlist* w = forms::load<frmScanlist>();
    ASSERT_TRUE(w && w->isLoaded());
    FileKindPath[11] = dataPath(QStringLiteral("SFL/"));
    FileKindName[11] = QStringLiteral("SFL_ONE.TXT");
    w->loadscanlistfile();
    EXPECT_EQ(w->txtFreqlist[0]->text(), QStringLiteral("9995.5"));
    FileKindName[11] = QStringLiteral("SFL_TWO.TXT");
    ASSERT_TRUE(w->savescanlistfile());
    EXPECT_EQ(readDataFile(QStringLiteral("SFL/SFL_TWO.TXT")), file);
}

TEST_F(ScanWindowTest, ListScanWithNoValidFrequencyDoesNotStart) {
    frmScanlist* w = forms::load<frmScanlist>();
    ASSERT_TRUE(w && w->isLoaded());
    for (QLineEdit* e : w->txtFreqlist) e->setText(QStringLiteral("-"));
    dialogs.expect(QStringLiteral("No valid"));
    w->cmdStart_Click();
    EXPECT_FALSE(w->timer()->isActive());
    // Edited away during a run: the run stops, with one message after the tick.
    w->txtFreqlist[2]->setText(QStringLiteral("7000"));
    w->cmdCls_Click();
    w->cmdStart_Click();
    w->timer()->start(60000);
    w->txtFreqlist[2]->setText(QStringLiteral("-"));
    w->tmrScanlist_Timer();
    EXPECT_FALSE(w->timer()->isActive());
    dialogs.expect(QStringLiteral("No valid"));
    pump(10);
    EXPECT_EQ(dialogs.pending(), 0);
}

TEST_F(ScanWindowTest, PairScanVisitsIncludedPairsOfAWrappingRange) {
    QByteArray file;
    for (int i = 0; i <= 10; ++i)
        file += QByteArray::number(5000 + 100 * i) + "," + QByteArray::number(15000 + 100 * i) + "," +
                (i == 9 ? " 0" : " 1") + ",pair " + QByteArray::number(i) + (i == 3 ? ", with comma" : "") + "\r\n";
    writeDataFile(QStringLiteral("SFP/SFP_LIST.TXT"), file);
    frmScanpairs* w = forms::load<frmScanpairs>();
    ASSERT_TRUE(w && w->isLoaded());
    FileKindPath[12] = dataPath(QStringLiteral("SFP/"));
    FileKindName[12] = QStringLiteral("SFP_LIST.TXT");
    w->loadscanpairsfile();
    ASSERT_EQ(w->pairs().size(), 11);
    EXPECT_EQ(w->pairs()[3].remark, QStringLiteral("pair 3, with comma"));
    w->findChild<QLineEdit*>(QStringLiteral("txtStart"))->setText(QStringLiteral("8"));
    w->findChild<QLineEdit*>(QStringLiteral("txtEnd"))->setText(QStringLiteral("2"));
    w->findChild<QLineEdit*>(QStringLiteral("txtDelay"))->setText(QStringLiteral("0.5"));
    w->cmdStart_Click();
    ASSERT_TRUE(w->timer()->isActive());
    EXPECT_EQ(w->timer()->interval(), 500);
    w->timer()->stop();
    w->timer()->start(60000);   // ticks come from the test
    std::vector<long> tuned;
    for (int i = 0; i < 7; ++i) {
        w->tmrScanpairs_Timer();
        ASSERT_TRUE(sim.waitIdle());
        tuned.push_back(std::lround(*sim.tunedKHz()));
    }
    EXPECT_EQ(tuned, (std::vector<long>{5800, 6000, 5000, 5100, 5200, 5800, 6000}));
    // Row 5 shows the pair in hand; rows outside the range stay empty.
    EXPECT_EQ(w->rowPair(5), 10);
    EXPECT_EQ(w->rowPair(4), 9);
    EXPECT_EQ(w->rowPair(6), -1);   // beyond the last pair
    EXPECT_EQ(w->rowPair(0), -1);   // pair 5, outside the range
    EXPECT_FALSE(w->txtRemarks[0]->isEnabled());
    w->cmdStop_Click();
    w->txtRemarks[5]->setText(QStringLiteral("edited"));
    w->chkChannel[4]->setChecked(true);
    w->showactivepairs(0);
    EXPECT_EQ(w->pairs()[10].remark, QStringLiteral("edited"));
    EXPECT_EQ(w->pairs()[9].on, 1);
    EXPECT_EQ(w->pairs()[0].remark, QStringLiteral("pair 0"));
    EXPECT_FALSE(w->runActive());
    // An edit goes to the row's own pair; the file round-trips byte for byte.
    FileKindName[12] = QStringLiteral("SFP_COPY.TXT");
    ASSERT_TRUE(w->savescanpairsfile());
    const QByteArray copy = readDataFile(QStringLiteral("SFP/SFP_COPY.TXT"));
    EXPECT_TRUE(copy.contains("5300,15300, 1,\"pair 3, with comma\"\r\n"));
    EXPECT_TRUE(copy.contains("5900,15900, 1,pair 9\r\n"));
    w->loadscanpairsfile();   // the copy
    ASSERT_TRUE(w->savescanpairsfile());
    EXPECT_EQ(readDataFile(QStringLiteral("SFP/SFP_COPY.TXT")), copy);
}

TEST_F(ScanWindowTest, PairScanStopsWhenNoPairOfTheRangeIsIncluded) {
    writeDataFile(QStringLiteral("SFP/SFP_OFF.TXT"), "5000,6000, 0,a\r\n7000,8000, 0,b\r\n");
    writeDataFile(QStringLiteral("SFP/SFP_EMPTY.TXT"), "");
    frmScanpairs* w = forms::load<frmScanpairs>();
    ASSERT_TRUE(w && w->isLoaded());
    FileKindPath[12] = dataPath(QStringLiteral("SFP/"));
    FileKindName[12] = QStringLiteral("SFP_EMPTY.TXT");
    w->loadscanpairsfile();
    EXPECT_FALSE(w->findChild<QPushButton*>(QStringLiteral("cmdStart"))->isEnabled());
    FileKindName[12] = QStringLiteral("SFP_OFF.TXT");
    w->loadscanpairsfile();
    w->cmdStart_Click();
    w->tmrScanpairs_Timer();
    EXPECT_FALSE(w->timer()->isActive());
    dialogs.expect(QStringLiteral("is included"));
    pump(10);
    EXPECT_EQ(dialogs.pending(), 0);
}

TEST_F(ScanWindowTest, APastedLineBreakNeverSplitsALineOfTheScanFiles) {
    // A frequency box of the list refuses the paste whole and keeps its text.
    frmScanlist* l = forms::load<frmScanlist>();
    ASSERT_TRUE(l && l->isLoaded());
    for (QLineEdit* e : l->txtFreqlist) e->setText(QStringLiteral("-"));
    l->txtFreqlist[0]->setText(QStringLiteral("6000"));
    const struct {
        int box;
        QString pasted;
        const char* shown;
    } boxes[] = {
        {0, QStringLiteral("7100\r\n9500"), "6000"},
        {1, QStringLiteral("7100\r\n"), "-"},
        {2, QStringLiteral("\t9500"), "-"},
        {3, QStringLiteral("9500"), "9500"},
        // Two numbers are no frequency: refused as a line break is.
        {4, QStringLiteral("7100 9500"), "-"},
        // So are two numbers with a blank of another kind between them.
        {5, QStringLiteral("7100") + QChar(0x00A0) + QStringLiteral("9500"), "-"},
        {6, QStringLiteral("7100") + QChar(0x202F) + QStringLiteral("9500"), "-"},
    };
    for (const auto& b : boxes) {
        test::pasteInto(l->txtFreqlist[size_t(b.box)], b.pasted);
        EXPECT_EQ(l->txtFreqlist[size_t(b.box)]->text(), QLatin1String(b.shown)) << b.box;
    }
    FileKindPath[11] = dataPath(QStringLiteral("SFL/"));
    FileKindName[11] = QStringLiteral("SFL_PASTE.TXT");
    ASSERT_TRUE(l->savescanlistfile());
    QByteArray expected = "6000\r\n-\r\n-\r\n9500\r\n";
    for (int i = 4; i < ScanlistRows; ++i) expected += "-\r\n";
    EXPECT_EQ(readDataFile(QStringLiteral("SFL/SFL_PASTE.TXT")), expected);
    for (QLineEdit* e : l->txtFreqlist) e->clear();
    l->loadscanlistfile();
    for (const auto& b : boxes) EXPECT_EQ(l->txtFreqlist[size_t(b.box)]->text(), QLatin1String(b.shown)) << b.box;

    // A remark of a pair takes a blank in the line break's place.
    writeDataFile(QStringLiteral("SFP/SFP_TWO.TXT"), "5000,6000, 1,a\r\n7000,8000, 1,b\r\n");
    frmScanpairs* p = forms::load<frmScanpairs>();
    ASSERT_TRUE(p && p->isLoaded());
    FileKindPath[12] = dataPath(QStringLiteral("SFP/"));
    FileKindName[12] = QStringLiteral("SFP_TWO.TXT");
    p->loadscanpairsfile();
    ASSERT_EQ(p->rowPair(5), 0);
    ASSERT_EQ(p->rowPair(6), 1);
    test::pasteInto(p->txtRemarks[5], QStringLiteral("weak\r\nfade"));
    test::pasteInto(p->txtRemarks[6], QStringLiteral("\tnight\n"));
    EXPECT_EQ(p->pairs()[0].remark, QStringLiteral("weak fade"));
    EXPECT_EQ(p->pairs()[1].remark, QStringLiteral(" night "));
    const QList<ScanPair> edited = p->pairs();
    ASSERT_TRUE(p->savescanpairsfile());
    EXPECT_EQ(readDataFile(QStringLiteral("SFP/SFP_TWO.TXT")).count('\n'), 2) << "one line a pair";
    p->loadscanpairsfile();
    ASSERT_EQ(p->pairs().size(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(p->pairs()[i].a, edited[i].a);
        EXPECT_EQ(p->pairs()[i].remark, edited[i].remark);
    }
}

TEST_F(ScanWindowTest, PairListOutlivesItsWindowAndNoSaveWritesAListOfNothing) {
    QByteArray seven;
    for (int i = 0; i < 7; ++i)
        seven += QByteArray::number(5000 + 100 * i) + "," + QByteArray::number(15000 + 100 * i) + ", 1,pair " +
                 QByteArray::number(i) + "\r\n";
    writeDataFile(QStringLiteral("SFP/SFP_SEVEN.TXT"), seven);
    writeDataFile(QStringLiteral("SFP/SFP_EMPTY.TXT"), "");
    initcommontables();
    FileKindPath[12] = dataPath(QStringLiteral("SFP/"));
    // The user saves over the file of seven pairs, if the window lets him.
    dialogs.allow(QStringLiteral("already exist"), dialogs::Answer::Yes);
    auto savePairs = [](frmScanpairs* w) {
        const auto answer = test::whenShown<frmSavefile>([](frmSavefile* chooser) {
            auto* name = chooser->findChild<QComboBox*>(QStringLiteral("cmbSavefile"));
            name->setEditText(QStringLiteral("SFP_SEVEN.TXT"));
            chooser->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
        });
        w->cmdsaveas_Click();
        pump(60);
    };
    auto button = [](frmScanpairs* w, const char* name) { return w->findChild<QPushButton*>(QLatin1String(name)); };
    const struct {
        const char* what;
        const char* load;   // nullptr: nothing loaded in this window
        bool reopen;        // closed and opened again first
        bool saved;         // the save goes ahead, with the list of seven
    } steps[] = {
        {"nothing loaded", nullptr, false, false},
        {"an empty file loaded", "SFP_EMPTY.TXT", false, false},
        {"the seven loaded", "SFP_SEVEN.TXT", false, true},
        {"the window closed and opened again", nullptr, true, true},
    };
    frmScanpairs* w = forms::load<frmScanpairs>();
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        if (step.reopen) {
            w->cmdExit_Click();
            forms::collect();
            pump(10);
            w = forms::load<frmScanpairs>();
            // The list is there as it was loaded.
            ASSERT_EQ(w->pairs().size(), 7);
            EXPECT_EQ(w->rowPair(5), 0);
            EXPECT_EQ(w->lblChannelA[6]->text(), QStringLiteral("5100"));
            EXPECT_EQ(w->findChild<QLineEdit*>(QStringLiteral("txtEnd"))->text(), QStringLiteral(" 6"));
            EXPECT_EQ(w->findChild<QLabel*>(QStringLiteral("lblFilename"))->text(), QStringLiteral("SFP_SEVEN.TXT"));
            EXPECT_TRUE(button(w, "cmdStart")->isEnabled());
        }
        if (step.load) {
            FileKindName[12] = QLatin1String(step.load);
            w->loadscanpairsfile();
        }
        const qsizetype shown = dialogs.shown().size();
        if (!step.saved) dialogs.expect(QStringLiteral("nothing to save"));
        else dialogs.expect(QStringLiteral("now saved"));
        savePairs(w);
        EXPECT_EQ(dialogs.pending(), 0);
        for (qsizetype i = shown; i < dialogs.shown().size(); ++i)
            EXPECT_TRUE(step.saved || !dialogs.shown()[i].text.contains(QStringLiteral("now saved")));
        EXPECT_EQ(readDataFile(QStringLiteral("SFP/SFP_SEVEN.TXT")), seven);
    }
    // A scan of the list kept from the window before.
    w->cmdStart_Click();
    w->timer()->stop();
    w->timer()->start(60000);
    w->tmrScanpairs_Timer();
    ASSERT_TRUE(sim.waitIdle());
    EXPECT_EQ(std::lround(*sim.tunedKHz()), 5000);
    w->cmdStop_Click();
}

// The remark boxes stand in rows 16 pixels apart: each shows its font's full
// height, so the accent over a capital ("Vier \u00d6") is not cut, and none
// reaches into the row below.
TEST_F(ScanWindowTest, ARemarkBoxShowsItsFontsFullHeight) {
    frmScanpairs* p = forms::load<frmScanpairs>();
    ASSERT_TRUE(p && p->isLoaded());
    for (size_t r = 0; r < p->txtRemarks.size(); ++r) {
        SCOPED_TRACE(r);
        QLineEdit* box = p->txtRemarks[r];
        const int frame = box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, box) : 0;
        const QMargins m = box->textMargins();
        // A line edit keeps a pixel above and below its line of text.
        const int room = box->height() - 2 * frame - m.top() - m.bottom() - 2;
        const QFontMetrics fm(box->font());
        EXPECT_LE(fm.height(), room);
        EXPECT_LE(fm.boundingRect(QStringLiteral("Vier \u00d6")).height(), room);
        EXPECT_GE(QFontInfo(box->font()).pointSizeF(), 6.9);
        if (r + 1 < p->txtRemarks.size()) {
            EXPECT_LE(box->geometry().bottom(), p->txtRemarks[r + 1]->y() - 1);
        }
    }
}

} // namespace
} // namespace dovrane
