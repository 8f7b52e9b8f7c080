// The propagation recorder, its print form and the S-meter recorder as
// windows, against the simulated RX-320 through the real port at its baud rate.
#include "drivers/model_tables.h"
#include "drivers/rx320/rx320_state.h"
#include "platform/canvas.h"
#include "platform/clock.h"
#include "platform/commport.h"
#include "platform/timeouts.h"
#include "platform/printing.h"
#include "scanning/frmprop2prt2.h"
#include "scanning/frmpropagation.h"
#include "scanning/frmsmeter.h"
#include "scanning/propagation_record.h"
#include "shell/facade.h"
#include "shell/form.h"
#include "shell/globals.h"
#include "sim/rx320_sim.h"
#include "support/test_env.h"

#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>
#include <cmath>

namespace dovrane {
namespace {

class RecorderWindowTest : public test::AppTest {
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
    // The level the RX-320 driver reports for reading n.
    static float levelOf(int n) { return float(1.4 * std::log(double(n))); }

    sim::Rx320Sim sim;
    CommPort port;
};

QDateTime local(int h, int m, int s, int ms = 0) {
    return QDateTime(QDate(2026, 12, 8), QTime(h, m, s, ms), Qt::UTC);
}

TEST_F(RecorderWindowTest, PropagationFileHasOneLinePerMinuteAndReloadsToTheSameGraphs) {
    FileKindPath[7] = dataPath(QStringLiteral("PAN/"));
    FileKindName[7] = QStringLiteral("PAN_TEST.TXT");
    frmPropagation* w = forms::load<frmPropagation>();
    ASSERT_TRUE(w && w->isLoaded());
    Clock::set(local(9, 59, 58));
    ASSERT_TRUE(w->savepropfile());
    EXPECT_TRUE(w->saving());
    Clock::set(local(10, 0, 0, 100));
    w->cmdStart_Click();
    w->timer()->stop();   // the test gives the ticks
    // Ticks every 850 ms with one held up across second 16 of 10:01 and one
    // missing across second 46 of 10:02; some seconds see two ticks.
    QDateTime t = local(10, 0, 0, 400);
    while (t < local(10, 3, 0)) {
        sim.setSmeterReading(t.time().second() < 31 ? 1000 : 3000);
        Clock::set(t);
        w->tmrPropagation_Timer();
        const int s = t.time().second(), m = t.time().minute();
        t = t.addMSecs(m == 1 && s == 14 ? 3000 : (m == 2 && s == 45 ? 2000 : 850));
    }
    dialogs.expect(QStringLiteral("The Propagation data is now"));
    w->cmdStop_Click();
    EXPECT_FALSE(w->saving());

    QStringList lines = QString::fromLatin1(readDataFile(QStringLiteral("PAN/PAN_TEST.TXT"))).split("\r\n");
    ASSERT_TRUE(lines.size() > 1 && lines.last().isEmpty());
    lines.removeLast();
    ASSERT_EQ(lines.size(), 3 + 3);
    EXPECT_EQ(lines[0], QStringLiteral("8 Dec 2026  09:59 UTC"));
    const QString lo = propValueText(levelOf(1000)), hi = propValueText(levelOf(3000));
    EXPECT_EQ(lines[3], "10:00" + lo + lo + lo + lo + lo + hi + hi + hi);
    EXPECT_EQ(lines[4], "10:01" + lo + hi + lo + lo + lo + hi + hi + hi);
    for (int i = 3; i < 6; ++i) EXPECT_EQ(lines[i].size(), 37) << i;

    // The hour graph as recorded, and as drawn from the file.
    // The file keeps tenths cut down, so a point may lie one pixel off the bar.
    auto marked = [w](int x, int y) {
        for (int dy = -1; dy <= 1; ++dy)
            if (w->canvas()->pixel(x, y + dy) != frmPropagation::Background) return true;
        return false;
    };
    const PropFile f = parsePropLines(lines);
    std::vector<std::pair<int, int>> points;
    for (const PropMinute& m : f.minutes)
        for (int k = 0; k < 4; ++k) {
            const int x = 80 + 8 * m.minute + 2 * k;
            points.push_back({x, int(std::lround(279 - 4 * m.min[size_t(k)]))});
            points.push_back({x, int(std::lround(279 - 4 * m.max[size_t(k)]))});
        }
    for (auto [x, y] : points) EXPECT_TRUE(marked(x, y)) << "recorded " << x << "," << y;
    EXPECT_TRUE(marked(280, 409 - 39));   // the day sample of 10:01
    w->cmdCls_Click();
    for (auto [x, y] : points) EXPECT_FALSE(marked(x, y));
    FileKindName[7] = QStringLiteral("PAN_TEST.TXT");
    w->loadpropfile();
    for (auto [x, y] : points) EXPECT_TRUE(marked(x, y)) << "loaded " << x << "," << y;
}

TEST_F(RecorderWindowTest, PrintFormGoesToOnePdfPageWithItsTexts) {
    writeDataFile(QStringLiteral("prop2prt.ini"),
                  "AR-Test receiver\r\nLong wire\r\nLeiden\r\nA. Listener\r\nDijkstraat 1\r\nUtrecht\r\n1234 AB\r\n"
                  "Netherlands\r\nlistener@example.org\r\n");
    writeDataFile(QStringLiteral("PAN/PAN_PRINT.TXT"),
                  "8 Dec 2026  23:50 UTC\r\n9580.000\r\nRadio Test\r\n"
                  "23:58 090 095 088 092 101 110 087 090\r\n23:59 090 090 090 090 090 090 090 090\r\n"
                  "00:00 100 100 100 100 100 100 100 100\r\n");
    frmProp2prt2* w = forms::load<frmProp2prt2>();
    ASSERT_TRUE(w && w->isLoaded());
    EXPECT_EQ(w->txtdat[3]->text(), QStringLiteral("AR-Test receiver"));
    EXPECT_EQ(w->txtdat[11]->text(), QStringLiteral("listener@example.org"));
    FileKindPath[14] = dataPath(QStringLiteral("PAN/"));
    FileKindName[14] = QStringLiteral("PAN_PRINT.TXT");
    w->loadprop2prtfile();
    EXPECT_EQ(w->txtdat[0]->text(), QStringLiteral("Radio Test"));
    // The minute after midnight lies right of the ones before it.
    EXPECT_EQ(w->page()->pixel(129, 449), QColor(0, 0, 0));        // group 1 of 00:00
    EXPECT_EQ(w->page()->pixel(129, 445), QColor(255, 255, 255));
    EXPECT_EQ(w->page()->pixel(128, 362), QColor(0, 0, 0));        // its time mark

    w->show();
    const QString pdf = dataPath(QStringLiteral("page.pdf"));
    ASSERT_TRUE(printToPdf(pdf, [w](QPainter& p, const QRect& r) { w->composePage(p, r); }));
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    ASSERT_TRUE(info.waitForFinished(20000));
    EXPECT_TRUE(QString::fromLatin1(info.readAllStandardOutput()).contains(QRegularExpression("Pages:\\s+1\\n")));
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(20000));
    const QString out = QString::fromUtf8(text.readAllStandardOutput());
    for (const char* part : {"Propagation Impression", "Radio Test", "9580.000", "8 Dec 2026 23:50 UTC",
                             "Long wire", "listener@example.org", "Explanation", "From"})
        EXPECT_TRUE(out.simplified().contains(QString::fromLatin1(part).simplified())) << part;
}

TEST_F(RecorderWindowTest, PrintFormWithoutIniHasEmptyFields) {
    frmProp2prt2* w = forms::load<frmProp2prt2>();
    ASSERT_TRUE(w && w->isLoaded());
    for (int i = 0; i < 12; ++i) EXPECT_TRUE(w->txtdat[size_t(i)]->text().isEmpty()) << i;
}

TEST_F(RecorderWindowTest, SmeterMarkerAndHistogramFollowTheReadings) {
    frmSmeter* w = forms::load<frmSmeter>();
    ASSERT_TRUE(w && w->isLoaded());
    w->cmdStart_Click();
    w->timer()->stop();
    // 1 reads as 0, clamped to S1; 1000 as 9.67 (bin 10); 65535 as 15.5 (bin 16).
    const std::pair<int, int> readings[] = {{1, 1}, {1000, 10}, {1000, 10}, {65535, 16}};
    for (auto [n, bin] : readings) {
        sim.setSmeterReading(n);
        w->tmrSmeter_Timer();
        EXPECT_EQ(SmeterHistogram::binOf(w->histogram().cur()), bin);
    }
    EXPECT_EQ(w->histogram().count(10), 2);
    EXPECT_EQ(w->histogram().count(1), 1);
    Canvas* h = w->histogramPicture();
    EXPECT_EQ(h->pixel(98, 62), frmSmeter::Bar);      // bin 10, two readings high
    EXPECT_EQ(h->pixel(98, 61), frmSmeter::Bar);
    EXPECT_EQ(h->pixel(98, 60), frmSmeter::Erase);
    const int x = int(std::lround(10 * (levelOf(65535) - 1)));
    EXPECT_EQ(w->marker()->pixel(x, 7), frmSmeter::Bar);
    EXPECT_EQ(w->marker()->pixel(int(std::lround(10 * (levelOf(1000) - 1))), 7), frmSmeter::Erase);
    // Start again: counts and bars from zero.
    w->cmdStop_Click();
    w->cmdStart_Click();
    w->timer()->stop();
    EXPECT_EQ(w->histogram().count(10), 0);
    EXPECT_EQ(h->pixel(98, 62), frmSmeter::Erase);
    // A receiver that stops answering: not counted, and three stop the run.
    sim.setFault(sim::Fault::Silent);
    dialogs.allow(QStringLiteral("does not answer"));
    for (int i = 0; i < 3; ++i) w->tmrSmeter_Timer();
    EXPECT_EQ(w->histogram().count(16), 0);
    EXPECT_FALSE(w->timer()->isActive());
    pump(10);
}

} // namespace
} // namespace dovrane
