// The BDXC, own-list and ".320" windows: loading through the kind's loader,
// the time selection, capacity, garbage files, and a click that tunes each
// simulated receiver (mode letter first or after, as each list does).
#include "drivers/model_tables.h"
#include "drivers/rx320/rx320_state.h"
#include "lists/frm320files.h"
#include "lists/frmbdxc.h"
#include "lists/frmown.h"
#include "lists/list_table_model.h"
#include "logbook/frmlog.h"
#include "panels/panel_rig.h"
#include "panels/tool_windows.h"
#include "platform/commport.h"
#include "shell/common_tables.h"
#include "shell/facade.h"
#include "shell/facade_rig.h"
#include "shell/file_kinds.h"
#include "shell/globals.h"
#include "sim/ar7030_sim.h"
#include "sim/nrd535_sim.h"
#include "sim/nrd545_sim.h"
#include "sim/rx320_sim.h"
#include "support/test_env.h"

#include <QLabel>
#include <QPointer>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTableView>
#include <QTableWidget>

namespace dovrane::test {
namespace {

QByteArray bdxcLine(const char* country, const char* org, const char* time, const char* freqs) {
    QByteArray l = QByteArray(country).leftJustified(17, ' ', true);
    l += QByteArray(org).leftJustified(18, ' ', true);
    l += QByteArray(time).leftJustified(13, ' ', true);
    return l + freqs + "\r\n";
}

QByteArray ownLine(const char* org, char mode, const char* freqs) {
    QByteArray l = QByteArray(org).leftJustified(20, ' ', true) + "SWE ENG 0100-0130";
    l = l.leftJustified(43, ' ') + mode;
    return l.leftJustified(50, ' ') + freqs + "\r\n";
}

class ListWindowTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        initcommontables();
        setFileKindPaths();
        Settings[4] = 1;
        Settings[5] = 1;
        FileKindName[1] = QStringLiteral("BDX_A07TOE.TXT");
        FileKindName[2] = QStringLiteral("OWN_TEST.TXT");
        FileKindName[10] = QStringLiteral("test.320");
    }
    void TearDown() override {
        resetFacade();
        clearFileKindHandlers();
        AppTest::TearDown();
        BdxcRecords.clear();
        BdxcShownCount = 0;
        OwnRecords.clear();
        F320Records.clear();
    }
};

TEST_F(ListWindowTest, BdxcSelectsByTimeAndKeepsTheGridOnCancel) {
    writeDataFile(QStringLiteral("BDXC/BDX_A07TOE.TXT"),
                  bdxcLine("Germany", "Deutsche Welle", "2300-0100", "6075,9545") +
                      bdxcLine(".", "DW relay", "1000-1100", "15275") +
                      bdxcLine("Sweden", "Radio Sweden", "1000-1000", "6065,1,2,3,4,5,6,7,8,9,10,11"));
    frmBdxc* w = forms::load<frmBdxc>();
    ASSERT_TRUE(BdxcOpen);
    EXPECT_EQ(w->titles()->item(0, 1)->text(), QStringLiteral(" Broadcast Org"));
    EXPECT_EQ(w->model()->columnCount(), 10);

    dialogs.expectInput(QStringLiteral("Enter time in UTC (Format: hhmm)."), QStringLiteral("2330"));
    ASSERT_TRUE(runLoader(1, 0));
    EXPECT_EQ(dialogs.shown().back().defaultText, QStringLiteral("0130")) << "UTC now";
    EXPECT_EQ(dialogs.shown().back().title, QStringLiteral("Selection Criterium"));
    EXPECT_EQ(BdxcShownCount, 1);
    EXPECT_EQ(w->model()->rowCount(), 2);
    EXPECT_EQ(w->cell(1, 3), QStringLiteral(" 6075"));
    EXPECT_EQ(w->findChild<QLabel*>(QStringLiteral("lblDBname"))->text(), QStringLiteral("BDX_A07TOE.TXT"));
    EXPECT_EQ(w->titles()->item(0, 1)->text(), QStringLiteral(" Broadcast Org."));

    dialogs.expectInput(QStringLiteral("Enter 'all'"), QStringLiteral("1000"));
    ASSERT_TRUE(runLoader(1, 0));
    ASSERT_EQ(BdxcShownCount, 1) << "1000-1000 only shows with all";
    EXPECT_EQ(w->cell(1, 0), QStringLiteral("Germany         ")) << "the ditto resolved";
    EXPECT_EQ(w->cell(1, 1), QStringLiteral("DW relay         ")) << "row 1 of this selection, not of the last";

    dialogs.expectInput(QStringLiteral("Enter 'all'"), QStringLiteral("ALL"));
    ASSERT_TRUE(runLoader(1, 0));
    EXPECT_EQ(BdxcShownCount, 3);
    EXPECT_EQ(w->cell(3, 9), QString()) << "the seventh frequency place; the rest are not shown";

    // A new file, then Cancel or 0000: the old list stays, the titles follow the new name.
    FileKindName[1] = QStringLiteral("ILG_X01TOW.TXT");
    writeDataFile(QStringLiteral("BDXC/ILG_X01TOW.TXT"), bdxcLine("A", "B", "0000-2400", "7100"));
    dialogs.expectInput(QStringLiteral("Enter 'all'"), QString(), true);
    ASSERT_TRUE(runLoader(1, 0));
    EXPECT_EQ(BdxcShownCount, 3);
    EXPECT_EQ(BdxcRecords.size(), 2u);
    EXPECT_EQ(w->titles()->item(0, 1)->text(), QStringLiteral(" Language"));
    dialogs.expectInput(QStringLiteral("Enter 'all'"), QStringLiteral("0000"));
    ASSERT_TRUE(runLoader(1, 0));
    EXPECT_EQ(w->model()->rowCount(), 4);
}

TEST_F(ListWindowTest, LongAndGarbledFilesNeverCrash) {
    // More lines than the list holds: what fits, and a word on the rest.
    QByteArray many;
    for (int i = 0; i < 1005; ++i) many += bdxcLine("C", "O", "0000-2400", "6000");
    writeDataFile(QStringLiteral("BDXC/BDX_A07TOE.TXT"), many);
    frmBdxc* b = forms::load<frmBdxc>();
    dialogs.expect(QStringLiteral("5 lines at the end of the file were not loaded"));
    dialogs.expectInput(QStringLiteral("Enter 'all'"), QStringLiteral("all"));
    ASSERT_TRUE(runLoader(1, 0));
    EXPECT_EQ(BdxcShownCount, 1000);

    frmOwn* o = forms::load<frmOwn>();
    frm320Files* f = forms::load<frm320Files>();
    QRandomGenerator rng(1802);
    dialogs.allow(QStringLiteral("Enter 'all'"));
    dialogs.allow(QStringLiteral("were not loaded"));
    for (int round = 0; round < 10; ++round) {
        QByteArray junk(int(rng.bounded(20000)), '\0');
        for (char& ch : junk) ch = char(rng.bounded(256));
        writeDataFile(QStringLiteral("BDXC/BDX_A07TOE.TXT"), junk);
        writeDataFile(QStringLiteral("OWN/OWN_TEST.TXT"), junk);
        writeDataFile(QStringLiteral("F320/test.320"), junk);
        ASSERT_TRUE(runLoader(1, 0));
        b->select(QStringLiteral("all"));
        ASSERT_TRUE(runLoader(2, 0));
        ASSERT_TRUE(runLoader(10, 0));
        for (int r = 0; r < o->model()->rowCount(); ++r) EXPECT_EQ(o->cell(r, 12), QString());
        EXPECT_EQ(o->model()->rowCount(), int(OwnRecords.size()));
        EXPECT_EQ(f->model()->rowCount(), int(F320Records.size()));
        for (int r = 0; r < b->model()->rowCount(); r += 97) b->cell(r, 9);
    }
    // A missing file says so and keeps what was shown.
    const int rows = o->model()->rowCount();
    FileKindName[2] = QStringLiteral("OWN_NONE.TXT");
    dialogs.expect(QStringLiteral("could not be read"));
    ASSERT_FALSE(runLoader(2, 0)) << "the loader did not take the file";
    EXPECT_EQ(o->model()->rowCount(), rows);
}

// The panel's frequency handler finds the windows by their open flags.
class ListFanOutTest : public PanelTest {};

TEST_F(ListFanOutTest, ThePanelWritesItsFrequencyIntoEveryOpenListWindow) {
    auto* panel = loadPanel<RecordingPanel<1>>();
    frmBdxc* b = forms::load<frmBdxc>();
    frm320Files* f = forms::load<frm320Files>();
    frmLog* l = forms::load<frmLog>();
    frmOwn* o = forms::load<frmOwn>();
    o->frequencyBox()->setText(QStringLiteral("old"));
    const QPointer<frmOwn> closed(o);
    o->unload();
    panel->frequencyAChanged(9650);
    for (ListWindow* w : std::initializer_list<ListWindow*>{b, f, l})
        EXPECT_EQ(w->frequencyBox()->text(), QStringLiteral("9650.00")) << w->metaObject()->className();
    ASSERT_TRUE(closed);
    EXPECT_EQ(closed->frequencyBox()->text(), QStringLiteral("old")) << "a closed window is not written";
}

// The same clicks on every receiver.
template <class Sim>
class ListClickTest : public ListWindowTest, protected ReceiverLink<Sim> {
protected:
    using Link = ReceiverLink<Sim>;
    using Link::panel;
    using Link::port;
    using Link::sim;
    void SetUp() override {
        ListWindowTest::SetUp();
        this->attach();
    }
    void TearDown() override {
        this->detach();
        ListWindowTest::TearDown();
    }
    void open() {
        static const char* kSettings[] = {"", "1200,N,8,1", "4800,N,8,1", "1200,N,8,1", "4800,N,8,1"};
        initModelTables(Model());
        if (Model() == 3) {
            Rx320Bw = 2;
            Rx320Agc = 2;
        }
        this->openDriver(Model(), kSettings[Model()]);
    }
    double tuned() {
        const std::optional<double> f = Update2RxFreq();
        return f.value_or(-1);
    }
    static int Model();
};

template <> int ListClickTest<sim::Ar7030Sim>::Model() { return 1; }
template <> int ListClickTest<sim::Nrd535Sim>::Model() { return 2; }
template <> int ListClickTest<sim::Rx320Sim>::Model() { return 3; }
template <> int ListClickTest<sim::Nrd545Sim>::Model() { return 4; }

using Sims = ::testing::Types<sim::Ar7030Sim, sim::Nrd535Sim, sim::Rx320Sim, sim::Nrd545Sim>;
TYPED_TEST_SUITE(ListClickTest, Sims);

TYPED_TEST(ListClickTest, AFrequencyClickTunesWithTheListsModeLetter) {
    this->open();
    this->writeDataFile(QStringLiteral("BDXC/BDX_A07TOE.TXT"), bdxcLine("Sweden", "Radio Sweden", "0000-2400", "6065,9490"));
    this->writeDataFile(QStringLiteral("OWN/OWN_TEST.TXT"), ownLine("Radio Sweden", 'u', "7100,9,11,12,13,14,15,9700"));
    this->writeDataFile(QStringLiteral("F320/test.320"), "\"Beacon\",3.5,LSB,,,,,Here,CW,0000,2400,,\r\n");

    for (const char* name : {"frmBdxc", "frmOwn", "frm320Files"})
        EXPECT_TRUE(toolWindowRegistered(QLatin1String(name))) << name << ": its panel menu item is enabled";
    frmBdxc* b = forms::load<frmBdxc>();
    this->dialogs.expectInput(QStringLiteral("Enter 'all'"), QStringLiteral("all"));
    ASSERT_TRUE(runLoader(1, 0));
    b->grdBdxc_Click(1, 4);
    EXPECT_NEAR(this->tuned(), 9490, 0.003);
    b->grdBdxc_Click(1, 2);   // the time column tunes nothing
    EXPECT_NEAR(this->tuned(), 9490, 0.003);
    this->dialogs.expect(QStringLiteral("Frequency outside range"));
    b->grdBdxc_Click(1, 5);   // an empty frequency cell passes 0
    EXPECT_NEAR(this->tuned(), 9490, 0.003);

    frmOwn* o = forms::load<frmOwn>();
    ASSERT_TRUE(runLoader(2, 0));
    EXPECT_EQ(o->cell(1, 13), QStringLiteral("U"));
    o->grdOwn_Click(1, 4);
    EXPECT_NEAR(this->tuned(), 7100, 0.003);
    EXPECT_EQ(ConvertRx2mfa(), QStringLiteral("u"));
    o->grdOwn_Click(1, 11);   // the eighth frequency, shown, tunes too
    EXPECT_NEAR(this->tuned(), 9700, 0.003);

    frm320Files* f = forms::load<frm320Files>();
    ASSERT_TRUE(runLoader(10, 0));
    EXPECT_EQ(f->cell(1, 1), QStringLiteral("03500.000"));
    this->panel.calls.clear();
    f->grd320Files_Click(1, 6);
    EXPECT_NEAR(this->tuned(), 3500, 0.003);
    EXPECT_EQ(ConvertRx2mfa(), QStringLiteral("l"));
    ASSERT_FALSE(this->panel.calls.isEmpty());
    EXPECT_TRUE(this->panel.calls.first().startsWith(QStringLiteral("Mode"))) << "the mode first, then the frequency";
    EXPECT_EQ(f->grid()->currentIndex().column(), 1);

    // The panels' frequency lands in each open window's box.
    this->panel.calls.clear();
    for (ListWindow* w : std::initializer_list<ListWindow*>{b, o, f}) {
        w->frequencyBox()->setText(QStringLiteral("7200"));
        w->txtFrequencyA_Enter();
        EXPECT_NEAR(this->tuned(), 7200, 0.003);
    }
}

} // namespace
} // namespace dovrane::test

namespace dovrane::test {
namespace {

// A second file whose question is refused: the grid goes on showing, and a
// click goes on tuning, the rows the last accepted answer chose, although the
// records in memory are the new file's.
struct Refusal {
    const char* name;
    const char* answer;
    bool cancelled;
};
void PrintTo(const Refusal& r, std::ostream* os) { *os << r.name; }

class BdxcRefusalTest : public ListClickTest<sim::Ar7030Sim>, public ::testing::WithParamInterface<Refusal> {};

TEST_P(BdxcRefusalTest, TheGridAndItsClicksKeepTheLastAcceptedSelection) {
    open();
    FileKindName[1] = QStringLiteral("BDX_A07TOE.TXT");
    writeDataFile(QStringLiteral("BDXC/BDX_A07TOE.TXT"),
                  bdxcLine("Japan", "NHK World", "0000-0100", "11000") +
                      bdxcLine("Sweden", "Radio Sweden", "1100-1300", "6065,9490") +
                      bdxcLine("Germany", "Deutsche Welle", "1000-1400", "15275"));
    frmBdxc* w = forms::load<frmBdxc>();
    dialogs.expectInput(QStringLiteral("Enter 'all'"), QStringLiteral("1200"));
    ASSERT_TRUE(runLoader(1, 0));
    ASSERT_EQ(BdxcShownCount, 2);
    std::vector<QStringList> shown;
    for (int r = 0; r < w->model()->rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < w->model()->columnCount(); ++c) row << w->cell(r, c);
        shown.push_back(row);
    }

    FileKindName[1] = QStringLiteral("BDX_B08TOE.TXT");
    writeDataFile(QStringLiteral("BDXC/BDX_B08TOE.TXT"),
                  bdxcLine("France", "RFI", "0000-2400", "7315,9790") + bdxcLine("China", "CRI", "0000-2400", "7190") +
                      bdxcLine("Cuba", "RHC", "0000-2400", "5040") + bdxcLine("Iran", "IRIB", "0000-2400", "7320"));
    const Refusal& refusal = GetParam();
    dialogs.expectInput(QStringLiteral("Enter 'all'"), QLatin1String(refusal.answer), refusal.cancelled);
    ASSERT_TRUE(runLoader(1, 0));
    ASSERT_EQ(BdxcRecords.size(), 5u) << "the new file is in memory";
    EXPECT_EQ(BdxcShownCount, 2);
    EXPECT_EQ(w->findChild<QLabel*>(QStringLiteral("lblDBname"))->text(), QStringLiteral("BDX_A07TOE.TXT"));
    ASSERT_EQ(w->model()->rowCount(), int(shown.size()));
    for (int r = 0; r < int(shown.size()); ++r)
        for (int c = 0; c < w->model()->columnCount(); ++c)
            EXPECT_EQ(w->cell(r, c), shown[size_t(r)].value(c)) << "row " << r << ", column " << c;

    w->grdBdxc_Click(1, 4);
    EXPECT_NEAR(tuned(), 9490, 0.003) << "Radio Sweden's second frequency, on screen in row 1";
    w->grdBdxc_Click(2, 3);
    EXPECT_NEAR(tuned(), 15275, 0.003) << "Deutsche Welle, on screen in row 2";
}

INSTANTIATE_TEST_SUITE_P(Answers, BdxcRefusalTest,
                         ::testing::Values(Refusal{"Cancel", "", true}, Refusal{"Empty", "", false},
                                           Refusal{"Midnight", "0000", false}, Refusal{"ThreeDigits", "930", false},
                                           Refusal{"PastMidnight", "2401", false}),
                         [](const ::testing::TestParamInfo<Refusal>& info) { return std::string(info.param.name); });

} // namespace
} // namespace dovrane::test
