#include "station_rig.h"

#include "sim/rx320_sim.h"
#include "stations/frmaero2rx.h"
#include "stations/frmaeroquery.h"
#include "stations/frmilg2rx.h"
#include "stations/frmilgqsort.h"
#include "stations/frmilgquery.h"
#include "stations/station_query_form.h"
#include "stations/station_record.h"
#include "shell/file_kinds.h"
#include "panels/panel_lock.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using namespace dovrane;
using namespace dovrane::test;

namespace {

QString bc(double kHz, const char* utc, const char* station, const char* language, const char* flags = "000100000") {
    return formatPattern(kHz, QStringLiteral("00000.00")) + QLatin1Char(' ') + fitField(QLatin1String(utc), 9) +
           QLatin1Char(' ') + fitField(QLatin1String(station), 22) + QStringLiteral(" EU       ") +
           fitField(QLatin1String(language), 17) + QStringLiteral(" 250     5130N 00012W ") + QLatin1String(flags) +
           QStringLiteral(" Country      Location    ");
}

// An NRD panel's hold, as the runs ask for it.
struct FakeLockPanel : NrdLockPanel {
    std::vector<int> calls;
    void lockoffon(int v) override {
        calls.push_back(v);
        RemoteHeld = v;
    }
};

class ViewerTest : public StationRig<sim::Rx320Sim> {
protected:
    void SetUp() override {
        StationRig::SetUp();
        open(3, "1200,N,8,1");
        UtcTimeText = QStringLiteral("7 Mar 2004  00:30");
        writeList(QStringLiteral("ILGSDATA.ftl"), {bc(5995, "2300-0100", "Radio Alpha", "English"),
                                                   bc(6000, "0000-0100", "beta", "French"),
                                                   bc(6000, "1200-1300", "Gamma", "english"),
                                                   bc(9500, "0000-0200", "Delta", "German", "100000000")});
        writeList(QStringLiteral("AERO.FTL"), {"02851.0 xxxxxxxxxxNAT-A family", "05598.0 xxxxxxxxxxNAT-B",
                                               "99999.0 xxxxxxxxxxbeyond the receiver"});
    }
    // Loads a list as the load chooser does, through the kind's loader.
    template <class V> V* loadInto(const QString& name, int subKind) {
        V* v = forms::load<V>();
        FileKind = 3;
        FileSubKind = subKind;
        FileKindName[3] = name;
        EXPECT_TRUE(runLoader(3, subKind));
        return v;
    }
    void settleSim() { ASSERT_TRUE(sim.waitIdle()); }
};

} // namespace

TEST_F(ViewerTest, EachViewerKeepsItsOwnListAndTunesFromIt) {
    frmIlg2rx* ilg = loadInto<frmIlg2rx>(QStringLiteral("ILGSDATA.ftl"), 1);
    EXPECT_EQ(ilg->windowTitle(), QStringLiteral("ILG Radio Database ILGSDATA.ftl /  4 records"));
    EXPECT_TRUE(ilg->findChild<QWidget*>(QStringLiteral("cmdQuery"))->isEnabled());
    frmAero2rx* aero = loadInto<frmAero2rx>(QStringLiteral("AERO.FTL"), 2);
    EXPECT_EQ(aero->windowTitle(), QStringLiteral("Aero database AERO.FTL /  3 records"));
    ASSERT_EQ(ilg->entries().size(), 4);
    EXPECT_EQ(ilg->entries()[3].size(), 126);
    EXPECT_EQ(ilg->store().listLast(), 3);
    EXPECT_EQ(aero->store().listLast(), 2);

    ilg->list_Click(3);
    EXPECT_EQ(panel.calls.back(), QStringLiteral("FrequencyA 9500.000"));
    EXPECT_EQ(ilg->scanPos(), 3);
    settleSim();
    EXPECT_NEAR(*sim.tunedKHz(), 9500, 0.01);

    ilg->findChild<QLineEdit*>(QStringLiteral("txtFrequencyA"))->setText(QStringLiteral("7100"));
    ilg->txtFrequencyA_Enter();
    EXPECT_EQ(panel.calls.back(), QStringLiteral("FrequencyA 7100.000"));
    dialogs.expect(QStringLiteral("Frequency outside range"));
    aero->list_Click(2);
}

TEST_F(ViewerTest, QueryWindowSearchesAndTheSortShowsWholeRecords) {
    writeDataFile(QStringLiteral("ilgquery.ini"), "***\r\n5\r\n***\r\n7\r\n***\r\nEnglish\r\n");
    frmIlg2rx* ilg = loadInto<frmIlg2rx>(QStringLiteral("ILGSDATA.ftl"), 1);
    frmIlgquery* q = forms::loaded<frmIlgquery>();
    ASSERT_NE(q, nullptr);
    EXPECT_FALSE(q->isVisible());
    EXPECT_EQ(q->combo(2)->count(), 1);
    ilg->cmdQuery_Click();
    EXPECT_TRUE(q->isVisible());
    q->check(0)->setChecked(true);
    q->combo(0)->setEditText(QStringLiteral("7"));
    q->combo(1)->setEditText(QStringLiteral("5"));
    q->check(1)->setChecked(true);
    q->combo(2)->setEditText(QStringLiteral("ENG"));
    q->check(4)->setChecked(true);   // 0030 UTC in these tests
    q->cmdSearch_Click();
    EXPECT_FALSE(q->isVisible());
    EXPECT_EQ(q->combo(0)->currentText(), QStringLiteral("5"));
    EXPECT_EQ(q->combo(1)->currentText(), QStringLiteral("7"));
    ASSERT_EQ(ilg->entries().size(), 1);
    EXPECT_EQ(ilg->entries()[0], bc(5995, "2300-0100", "Radio Alpha", "English").left(77) +
                                     QStringLiteral("Country      Location     "));
    EXPECT_EQ(ilg->store().matchIndex, std::vector<int>{0});

    q->cmdClear_Click();
    q->check(0)->setChecked(true);
    q->cmdSearch_Click();   // both empty: 0 to 32 MHz
    EXPECT_EQ(ilg->entries().size(), 4);

    QTimer::singleShot(0, [] {
        frmIlgqsort* s = forms::loaded<frmIlgqsort>();
        ASSERT_NE(s, nullptr);
        s->findChild<QAbstractButton*>(QStringLiteral("optSort_2"))->setChecked(true);
        s->cmdOK_Click();
    });
    ilg->cmdSort_Click();
    EXPECT_EQ(ListSortKey, 2);
    const QStringList e = ilg->entries();
    ASSERT_EQ(e.size(), 4);
    EXPECT_EQ(e[0].mid(19, 5), QStringLiteral("Delta"));
    EXPECT_EQ(e[3].mid(19, 4), QStringLiteral("beta"));
    EXPECT_EQ(e[0].size(), 126);

    ilg->cmdExit_Click();
    EXPECT_FALSE(Ilg2rxOpen);
    EXPECT_FALSE(IlgqueryOpen);
}

TEST_F(ViewerTest, EachQueryWindowFindsItsChoiceFileInAnyLetterCase) {
    const struct {
        const char* file;
        QByteArray content;
        std::function<StationQueryForm*()> load;
        const char* from;
        QStringList third;
    } cases[] = {
        {"ILGQUERY.INI", "***\r\n5\r\n***\r\n7\r\n***\r\nEnglish\r\nGerman\r\n",
         [] { return forms::load<frmIlgquery>(); }, "5", {QStringLiteral("English"), QStringLiteral("German")}},
        {"AeroQuery.Ini", "***\r\n2\r\n***\r\n9\r\n***\r\nNAT-A\r\n",
         [] { return forms::load<frmAeroquery>(); }, "2", {QStringLiteral("NAT-A")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        writeDataFile(QLatin1String(c.file), c.content);
        StationQueryForm* q = c.load();
        ASSERT_NE(q, nullptr);
        ASSERT_EQ(q->combo(0)->count(), 1);
        EXPECT_EQ(q->combo(0)->itemText(0), QLatin1String(c.from));
        QStringList third;
        for (int i = 0; i < q->combo(2)->count(); ++i) third << q->combo(2)->itemText(i);
        EXPECT_EQ(third, c.third);
    }
}

TEST_F(ViewerTest, ScanDelaysTicksAndClosing) {
    frmAero2rx* aero = loadInto<frmAero2rx>(QStringLiteral("AERO.FTL"), 2);
    frmIlg2rx* ilg = loadInto<frmIlg2rx>(QStringLiteral("ILGSDATA.ftl"), 1);
    auto* delay = ilg->findChild<QLineEdit*>(QStringLiteral("txtScandelay"));
    for (const char* bad : {"0.5", "11", "60", "x"}) {
        delay->setText(QLatin1String(bad));
        dialogs.expect(QStringLiteral("Select value between 1 and 10 sec."));
        ilg->cmdScan_Click();
        EXPECT_FALSE(ilg->scanning()) << bad;
    }
    EXPECT_EQ(dialogs.shown().last().title, QStringLiteral("Error"));
    FakeLockPanel lock;
    setLockPanel(&lock);
    delay->setText(QStringLiteral("1,5"));
    ilg->cmdScan_Click();
    ASSERT_TRUE(ilg->scanning());
    EXPECT_EQ(lock.calls, std::vector<int>{1});
    EXPECT_EQ(ilg->tmrScan().interval(), 1000);
    EXPECT_EQ(ilg->findChild<QPushButton*>(QStringLiteral("cmdScan"))->text(), QStringLiteral("Stop Scan"));
    EXPECT_FALSE(ilg->findChild<QWidget*>(QStringLiteral("cmdLoad"))->isEnabled());

    // 5995, then both 6000 entries are one stop, then 9500, then round again.
    QStringList tuned;
    for (int i = 0; i < 4; ++i) {
        panel.calls.clear();
        ilg->tmrScan_Timer();
        tuned << panel.calls;
    }
    EXPECT_EQ(tuned, (QStringList{"FrequencyA 5995.000", "FrequencyA 6000.000", "FrequencyA 9500.000",
                                  "FrequencyA 5995.000"}));
    ilg->close();
    EXPECT_FALSE(Ilg2rxOpen);
    EXPECT_FALSE(ilg->tmrScan().isActive());
    EXPECT_EQ(lock.calls, (std::vector<int>{1, 0}));   // closing lets go of the receiver
    clearLockPanel(&lock);

    // The aero viewer takes a minute, and passes over what the receiver cannot tune without a box.
    auto* aeroDelay = aero->findChild<QLineEdit*>(QStringLiteral("txtScandelay"));
    aeroDelay->setText(QStringLiteral("60"));
    aero->cmdScan_Click();
    ASSERT_TRUE(aero->scanning());
    for (int i = 0; i < 3; ++i) aero->tmrScan_Timer();
    EXPECT_EQ(aero->scanPos(), 0);
    aero->cmdScan_Click();
    EXPECT_FALSE(aero->scanning());
    EXPECT_EQ(aero->findChild<QPushButton*>(QStringLiteral("cmdScan"))->text(), QStringLiteral("Start Scan"));
}

TEST_F(ViewerTest, AListLongerThanTheCapacityLoadsWhatFits) {
    Settings[7] = 1;
    QStringList lines;
    for (int i = 0; i < 1005; ++i) lines << bc(1000 + i, "0000-0100", "S", "L");
    writeList(QStringLiteral("ILGBIG.ftl"), lines);
    dialogs.expect(QStringLiteral("the first 1001 records were loaded"));
    frmIlg2rx* ilg = loadInto<frmIlg2rx>(QStringLiteral("ILGBIG.ftl"), 1);
    EXPECT_EQ(ilg->entries().size(), 1001);
    // A one-record result: no division by zero in the progress figures.
    frmIlgquery* q = forms::loaded<frmIlgquery>();
    q->check(0)->setChecked(true);
    q->combo(0)->setEditText(QStringLiteral("1.5"));
    q->combo(1)->setEditText(QStringLiteral("1.5"));
    q->cmdSearch_Click();
    EXPECT_EQ(ilg->entries().size(), 1);
}

namespace {

// Where the list draws character `column` of its first line, in window coordinates: the item's left
// edge, the style's text margin and the advance of the characters before it in the list's font.
int listTextX(QListView* list, int column) {
    const QModelIndex first = list->model()->index(0, 0);
    const int margin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
    const QString line = first.data().toString();
    return list->viewport()->mapTo(list->window(), list->visualRect(first).topLeft()).x() + margin +
           qRound(QFontMetricsF(list->font()).horizontalAdvance(line.left(column)));
}

} // namespace

TEST_F(ViewerTest, HeaderTitlesStandOverTheFieldsTheyName) {
    // An aero line as the converter keeps it: frequency 1-8, status, network 17-38, then the station.
    writeList(QStringLiteral("AEROT.FTL"),
              {fitField(QStringLiteral("  2851.0"), 9) + fitField(QStringLiteral("ACTIVE"), 7) +
               fitField(QStringLiteral("NAT-A Family A"), 23) + QStringLiteral("Gander / Gander Radio")});
    const QString bcText = QStringLiteral("Frequency | Time(UTC) | Broadcast Organisation      | Target |  Language     "
                                          "               | Power | Location");
    const QString aeroText = QStringLiteral("Freq.   | Status         | Network                       | Location / station");
    using Fields = std::vector<std::pair<QString, QString>>;   // title, the field's text in the first line
    const Fields bcFields{{"Frequency", "05995.00"}, {"Time(UTC)", "2300-0100"}, {"Broadcast Organisation", "Radio Alpha"},
                          {"Target", "EU"},          {"Language", "English"},    {"Power", "250"},
                          {"Location", "Location"}};
    const Fields aeroFields{{"Freq.", "  2851.0"}, {"Status", "ACTIVE"}, {"Network", "NAT-A"},
                            {"Location / station", "Gander"}};
    struct Case {
        const char* what;
        bool aero;
        bool search;   // the query's result lines rather than the loaded records
        bool scroll;   // the list scrolled sideways
    } cases[] = {{"broadcast loaded", false, false, false}, {"broadcast result", false, true, false},
                 {"broadcast scrolled", false, false, true}, {"aero loaded", true, false, false},
                 {"aero result", true, true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StationViewer* v = c.aero ? static_cast<StationViewer*>(loadInto<frmAero2rx>(QStringLiteral("AEROT.FTL"), 2))
                                  : loadInto<frmIlg2rx>(QStringLiteral("ILGSDATA.ftl"), 1);
        v->show();
        if (c.search) {
            StationQueryForm* q = c.aero ? static_cast<StationQueryForm*>(forms::loaded<frmAeroquery>())
                                         : forms::loaded<frmIlgquery>();
            q->check(0)->setChecked(true);   // 0 to 32 MHz: every line
            q->cmdSearch_Click();
        }
        auto* list = v->findChild<QListView*>(c.aero ? QStringLiteral("lstAero") : QStringLiteral("lstIlgq"));
        auto* header = v->findChild<QLabel*>(c.aero ? QStringLiteral("lblTitle") : QStringLiteral("lblTitles"));
        ASSERT_TRUE(list && header);
        if (c.scroll) {
            v->resize(v->minimumSizeHint());
            pump(0);
            ASSERT_GT(list->horizontalScrollBar()->maximum(), 0);
            list->horizontalScrollBar()->setValue(list->horizontalScrollBar()->maximum() / 2);
        }
        pump(0);
        EXPECT_EQ(header->text(), c.aero ? aeroText : bcText);
        const QString line = list->model()->index(0, 0).data().toString();
        for (const auto& [title, field] : c.aero ? aeroFields : bcFields) {
            SCOPED_TRACE(title.toStdString());
            QLabel* shown = nullptr;
            for (QLabel* l : header->findChildren<QLabel*>())
                if (l->text() == title && l->isVisibleTo(header)) shown = l;
            ASSERT_NE(shown, nullptr);
            const int column = int(line.indexOf(field));
            ASSERT_GE(column, 0) << line.toStdString();
            EXPECT_EQ(shown->font(), list->font());
            EXPECT_NEAR(shown->mapTo(v, shown->contentsRect().topLeft()).x(), listTextX(list, column), 2)
                << line.toStdString();
        }
        v->cmdExit_Click();
    }
}
