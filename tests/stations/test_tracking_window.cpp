#include "drivers/model_tables.h"
#include "station_rig.h"

#include "drivers/ar7030/ar7030_protocol.h"
#include "shell/form.h"
#include "sim/ar7030_sim.h"
#include "sim/nrd535_sim.h"
#include "sim/nrd545_sim.h"
#include "stations/frmilg2rx.h"
#include "stations/frmtracking.h"
#include "timer/frmrtty.h"
#include "stations/station_record.h"
#include "shell/file_kinds.h"
#include "shell/frmloadfile.h"
#include "support/when_shown.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace dovrane;
using namespace dovrane::test;

namespace {

QString bc(double kHz, const char* utc = "0000-2359") {
    return formatPattern(kHz, QStringLiteral("00000.00")) + QLatin1Char(' ') + fitField(QLatin1String(utc), 9) +
           QStringLiteral(" Station                EU       English           250     5130N 00012W 000100000 Country      Location    ");
}

QStringList stationList() {
    QStringList l;
    for (int f = 5900; f <= 9700; f += 5) l << bc(f);
    return l;
}

// A log entry window with the three boxes tracking fills.
class FakeLogEntry : public Form {
public:
    FakeLogEntry() : Form(14, &LoginputOpen) {
        for (int i : {5, 6, 7}) {
            auto* box = new QLineEdit(this);
            box->setObjectName(QStringLiteral("txtLoginput_%1").arg(i));
        }
        registerWindow(&LoginputOpen, this);
    }
    QString box(int i) const { return findChild<QLineEdit*>(QStringLiteral("txtLoginput_%1").arg(i))->text(); }
};

template <class Sim>
class TrackingTest : public StationRig<Sim> {
protected:
    frmTracking* openTracking(const QString& name = QStringLiteral("ILGSDATA.FTL")) {
        this->writeList(name, stationList());
        frmTracking* t = forms::load<frmTracking>();
        t->show();
        FileKindName[5] = name;
        t->loadtrackingfile();
        return t;
    }
    static QString firstStationRow(frmTracking* t) {
        for (int r = 0; r < 25; ++r)
            if (!t->bingo(r)->text().isEmpty() && !t->bingo(r)->text().startsWith(QLatin1Char('=')))
                return t->bingo(r)->text();
        return {};
    }
    static bool showsFrequency(frmTracking* t, const QString& f) {
        for (int r = 0; r < 25; ++r)
            if (t->bingo(r)->text().startsWith(f)) return true;
        return false;
    }
    // NRD Dial mode: the receiver's own reports move the display.
    void dialFollowsTheKnob(int rxType, frmTracking* t) {
        attachSerialReceive(this->port);
        t->findChild<QAbstractButton*>(QStringLiteral("optMousedial_1"))->setChecked(true);
        EXPECT_TRUE(CommRxEnabled);
        EXPECT_FALSE(t->findChild<QWidget*>(QStringLiteral("txtFreqstep"))->isVisible());
        ASSERT_TRUE(this->waitFor([&] { return this->sim.reportsOn(); })) << rxType;
        for (qint64 hz : {7100000, 9500000}) {
            this->sim.turnKnob(hz);
            ASSERT_TRUE(this->waitFor([&] { return TrackFreq == double(hz) / 1000; })) << rxType << " " << hz;
            EXPECT_TRUE(showsFrequency(t, formatPattern(double(hz) / 1000, QStringLiteral("00000.00")))) << hz;
        }
        // The close box leaves the receiver as Exit does.
        t->close();
        EXPECT_FALSE(CommRxEnabled);
        EXPECT_FALSE(TrackingOpen);
        EXPECT_FALSE(TrackingActive);
        ASSERT_TRUE(this->waitFor([&] { return !this->sim.reportsOn(); })) << rxType;
    }
    // Picks name in the load chooser that cmdLoad opens, as the user does.
    static void loadThroughChooser(frmTracking* t, const QString& name) {
        const auto answer = pickInChooser(name);
        t->findChild<QPushButton*>(QStringLiteral("cmdLoad"))->click();
    }
    // Picks name in the next load chooser once it is up.
    [[nodiscard]] static WhenReady pickInChooser(const QString& name) {
        return whenShown<frmLoadfile>([name](frmLoadfile* chooser) {
            auto* list = chooser->findChild<QListWidget*>(QStringLiteral("list"));
            const QList<QListWidgetItem*> items = list->findItems(name, Qt::MatchFixedString);
            if (items.size() != 1) return chooser->cmdCancel_Click();
            list->setCurrentItem(items.first());
            chooser->cmdOK_Click();
        });
    }
    static QAbstractButton* option(frmTracking* t, int i) {
        return t->findChild<QAbstractButton*>(QStringLiteral("optMousedial_%1").arg(i));
    }
    // The receiver fell silent: one box says so and that Dial mode ended, and
    // the window is back in Mouse mode.
    void toldOnceBackInMouse(frmTracking* t) {
        ASSERT_TRUE(this->waitFor([&] { return this->dialogs.pending() == 0; }));
        this->pump(50);
        ASSERT_EQ(this->dialogs.shown().size(), 1);
        EXPECT_EQ(this->dialogs.shown().first().text,
                  QStringLiteral("The receiver does not answer\n%1\n\nTracking has gone back to Mouse mode.")
                      .arg(this->port.deviceName()));
        EXPECT_TRUE(option(t, 0)->isChecked());
        EXPECT_FALSE(t->tmrDial7030().isActive());
        EXPECT_FALSE(CommRxEnabled);
        EXPECT_TRUE(t->findChild<QWidget*>(QStringLiteral("txtFreqstep"))->isVisible());
        this->dialogs.clear();
    }
};

using Nrd535Tracking = TrackingTest<sim::Nrd535Sim>;
using Nrd545Tracking = TrackingTest<sim::Nrd545Sim>;
using Ar7030Tracking = TrackingTest<sim::Ar7030Sim>;

} // namespace

TEST_F(Nrd535Tracking, DialFollowsTheKnob) {
    open(2, "4800,N,8,1");
    TrackFreq = 0;
    frmTracking* t = openTracking();
    dialFollowsTheKnob(2, t);
}

// A load from the chooser and an RTTY run have the receiver's input to
// themselves; once they are over, Dial mode follows the knob again.
TEST_F(Nrd535Tracking, DialFollowsTheKnobAgainAfterALoadAndAfterAnRttyRun) {
    open(2, "4800,N,8,1");
    attachSerialReceive(port);
    frmTracking* t = openTracking();
    option(t, 1)->setChecked(true);
    ASSERT_TRUE(waitFor([&] { return sim.reportsOn(); }));
    auto follows = [&](qint64 hz) {
        sim.turnKnob(hz);
        return waitFor([&] { return TrackFreq == double(hz) / 1000; }) &&
               showsFrequency(t, formatPattern(double(hz) / 1000, QStringLiteral("00000.00")));
    };
    ASSERT_TRUE(follows(7100000));

    auto* viewer = forms::load<frmIlg2rx>();
    {
        const auto answer = pickInChooser(QStringLiteral("ILGSDATA.FTL"));
        showLoadChooser(3, 1);
    }
    ASSERT_EQ(viewer->entries().size(), stationList().size()) << "the list was loaded";
    EXPECT_TRUE(option(t, 1)->isChecked());
    EXPECT_TRUE(follows(9500000)) << "after a load";

    // The receiver has its RTTY unit.
    Settings[size_t(RttyOption)] = 1;
    auto* rtty = forms::load<frmRtty>();
    rtty->cmdStart_Click();
    EXPECT_FALSE(CommRxEnabled) << "the run reads the receiver's text itself";
    sim.sendRttyText("ryryry\n", 7, 0);
    ASSERT_TRUE(waitFor([&] {
        rtty->tmrGetRTTY_Timer();
        return rtty->displayLine(13) == QStringLiteral("RYRYRY\n");
    }));
    rtty->cmdStop_Click();
    EXPECT_TRUE(follows(6100000)) << "after an RTTY run";

    // Mouse chosen during a run stays chosen after it.
    rtty->cmdStart_Click();
    option(t, 0)->setChecked(true);
    rtty->cmdStop_Click();
    EXPECT_FALSE(CommRxEnabled);
    rtty->unload();
}

TEST_F(Nrd545Tracking, DialFollowsTheKnob) {
    open(4, "4800,N,8,1");
    frmTracking* t = openTracking();
    dialFollowsTheKnob(4, t);
}

TEST_F(Ar7030Tracking, DialPollsTheReceiver) {
    sim.setClockRunning(false);
    open(1, "1200,N,8,1");
    frmTracking* t = openTracking();
    t->findChild<QAbstractButton*>(QStringLiteral("optMousedial_1"))->setChecked(true);
    EXPECT_TRUE(t->tmrDial7030().isActive());
    for (double f : {6100.0, 9000.0}) {
        sim.setFrequencyWord(*ar7030::frequencyWord(f));
        t->tmrDial7030_Timer();
        EXPECT_NEAR(TrackFreq, f, 0.01);
        EXPECT_TRUE(showsFrequency(t, formatPattern(f, QStringLiteral("00000.00")))) << f;
    }
    t->findChild<QAbstractButton*>(QStringLiteral("optMousedial_0"))->setChecked(true);
    EXPECT_FALSE(t->tmrDial7030().isActive());
    EXPECT_TRUE(t->findChild<QWidget*>(QStringLiteral("txtFreqstep"))->isVisible());
}

TEST_F(Ar7030Tracking, PresetsPagesSteppingAndTheLog) {
    sim.setClockRunning(false);
    open(1, "1200,N,8,1");
    UtcTimeText = QStringLiteral("7 Mar 2004  01:30");
    RxLatitude = QStringLiteral("5130N");
    RxLongitude = QStringLiteral("00012W");
    Settings[2] = 3;
    frmTracking* t = forms::load<frmTracking>();
    t->findChild<QLineEdit*>(QStringLiteral("txtFrequencyA"))->setText(QStringLiteral("6000.00"));
    writeList(QStringLiteral("ILGADATA.FTL"), stationList());
    FileKindName[5] = QStringLiteral("ILGADATA.FTL");
    t->loadtrackingfile();
    EXPECT_TRUE(TrackingActive);
    EXPECT_EQ(t->findChild<QLineEdit*>(QStringLiteral("txtFreqstep"))->text(), QStringLiteral("9"));
    EXPECT_TRUE(t->findChild<QAbstractButton*>(QStringLiteral("optAlternates_1"))->isChecked());
    // Within 2 kHz of 6000 only the 6000 line, aimed at Europe: green.
    EXPECT_EQ(t->bingo(0)->text().left(8), QStringLiteral("06000.00"));
    EXPECT_EQ(t->bingo(0)->text().mid(77, 12), QStringLiteral("00000 km 000"));
    EXPECT_EQ(background(t->bingo(0)), QColor(0, 255, 0));
    EXPECT_TRUE(t->bingo(1)->text().isEmpty());

    t->findChild<QLineEdit*>(QStringLiteral("txtCatchrange"))->setText(QStringLiteral("2000"));
    t->findChild<QAbstractButton*>(QStringLiteral("optHitsall_1"))->setChecked(true);
    EXPECT_EQ(int(t->shown().size()), TrackShownCapacity);
    EXPECT_TRUE(t->showButton(6)->isEnabled());
    EXPECT_EQ(t->showButton(6)->text(), QStringLiteral("7"));
    t->cmdShow_Click(1);
    EXPECT_EQ(t->bingo(0)->text().left(8), t->shown()[24].left(8));

    auto* log = new FakeLogEntry();
    forms::adopt(std::type_index(typeid(FakeLogEntry)), log);
    log->load();
    t->findChild<QAbstractButton*>(QStringLiteral("optAlternates_2"))->setChecked(true);
    t->lblBingo_Click(0);
    EXPECT_EQ(log->box(5), QStringLiteral("Eng"));
    EXPECT_EQ(log->box(6), QStringLiteral("Station             "));
    EXPECT_EQ(log->box(7), QStringLiteral("Country     "));

    // A step up of 9 kHz from 6000 tunes 6009 and the display follows.
    t->findChild<QLineEdit*>(QStringLiteral("txtFrequencyA"))->setText(QStringLiteral("6000.00"));
    t->spnFreqstep_SpinUp();
    EXPECT_EQ(panel.calls.back(), QStringLiteral("FrequencyA 6009.000"));
    EXPECT_EQ(TrackFreq, 6009);
    t->cmdExit_Click();
    EXPECT_FALSE(TrackingOpen);
    updatetracking();   // nothing is left to call into the closed window
}

TEST_F(Ar7030Tracking, AeroListsGetTheAeroChoicesAndShortListsShowNothing) {
    sim.setClockRunning(false);
    open(1, "1200,N,8,1");
    for (const char* name : {"AERO.FTL", "aero2.ftl"}) {
        frmTracking* t = openTracking(QLatin1String(name));
        EXPECT_EQ(t->findChild<QLineEdit*>(QStringLiteral("txtFreqstep"))->text(), QStringLiteral("3")) << name;
        EXPECT_TRUE(t->findChild<QAbstractButton*>(QStringLiteral("optHitsall_1"))->isChecked()) << name;
        EXPECT_TRUE(t->findChild<QAbstractButton*>(QStringLiteral("optAlternates_0"))->isChecked()) << name;
        EXPECT_FALSE(t->findChild<QWidget*>(QStringLiteral("fraHitsall"))->isEnabled()) << name;
        EXPECT_FALSE(t->findChild<QWidget*>(QStringLiteral("fraAlternates"))->isEnabled()) << name;
        t->cmdExit_Click();
        pump(0);
    }
    writeList(QStringLiteral("SHORT.FTL"), {bc(6000), bc(6005)});
    frmTracking* t = forms::load<frmTracking>();
    FileKindName[5] = QStringLiteral("SHORT.FTL");
    ASSERT_TRUE(runLoader(5, 0));
    TrackFreq = 6000;
    t->updatetracking();
    EXPECT_EQ(t->trackIndex(), -1);
    EXPECT_TRUE(t->bingo(0)->text().isEmpty());
}

TEST_F(Ar7030Tracking, AListLongerThanTheWindowHoldsSaysHowManyWereLeftOut) {
    sim.setClockRunning(false);
    open(1, "1200,N,8,1");
    Settings[7] = 1;   // 1001 lines
    frmTracking* t = forms::load<frmTracking>();
    for (int n : {1001, 1002, 1500}) {
        QStringList lines;
        for (int i = 0; i < n; ++i) lines << bc(5000 + i);
        writeList(QStringLiteral("BIG.FTL"), lines);
        dialogs.clear();
        const QString told = QStringLiteral("BIG.FTL holds more records than the list can take:\nthe first 1001 "
                                            "records were loaded, %1 left out.")
                                 .arg(n == 1002 ? QStringLiteral("1 was") : QStringLiteral("%1 were").arg(n - 1001));
        if (n > 1001) dialogs.expect(told);
        loadThroughChooser(t, QStringLiteral("BIG.FTL"));
        ASSERT_EQ(dialogs.shown().size(), n > 1001 ? 1 : 0) << n;
        if (n > 1001) {
            EXPECT_EQ(dialogs.shown().first().text, told);
        }
        ASSERT_EQ(int(t->records().size()), 1001) << n;
        EXPECT_EQ(t->records().back().left(8), QStringLiteral("06000.00"));
    }
}

TEST_F(Ar7030Tracking, ASilentReceiverEndsDialWithOneBox) {
    sim.setClockRunning(false);
    open(1, "1200,N,8,1");
    frmTracking* t = openTracking();
    option(t, 1)->setChecked(true);
    ASSERT_TRUE(t->tmrDial7030().isActive());
    sim.setFault(sim::Fault::Silent);
    dialogs.expect(QStringLiteral("The receiver does not answer"));
    t->tmrDial7030_Timer();
    toldOnceBackInMouse(t);

    // The receiver is back: Dial follows it again.
    sim.setFault(sim::Fault::None);
    option(t, 1)->setChecked(true);
    ASSERT_TRUE(t->tmrDial7030().isActive());
    sim.setFrequencyWord(*ar7030::frequencyWord(7300));
    t->tmrDial7030_Timer();
    EXPECT_NEAR(TrackFreq, 7300, 0.01);
    EXPECT_TRUE(showsFrequency(t, QStringLiteral("07300.00")));

    // Silent before Dial is chosen: Dial does not start.
    sim.setFault(sim::Fault::Silent);
    option(t, 0)->setChecked(true);
    dialogs.expect(QStringLiteral("The receiver does not answer"));
    option(t, 1)->setChecked(true);
    toldOnceBackInMouse(t);
}
