// Every list grid and its title grid at the widths the lists were drawn with
// (twips, 15 to a pixel): each column as wide as its twips, each title over
// the column it names and whole at the program's font, in the log as it
// opens, after a load and after each change of its screen format.
#include "lists/frm320files.h"
#include "lists/frmbdxc.h"
#include "lists/frmown.h"
#include "lists/grid_columns.h"
#include "lists/list_table_model.h"
#include "logbook/frmlog.h"
#include "logbook/frmlogformat.h"
#include "logbook/log_record.h"
#include "shell/common_tables.h"
#include "shell/file_kinds.h"
#include "shell/globals.h"
#include "support/test_env.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <functional>

namespace dovrane::test {
namespace {

struct GridCase {
    const char* name;
    std::function<GridListWindow*(AppTest&)> open;
    std::vector<int> titleTwips;   // title t stands over data column t
    std::vector<int> gridTwips;    // the data columns whose widths are fixed
};
void PrintTo(const GridCase& c, std::ostream* os) { *os << c.name; }

std::vector<int> operator+(std::vector<int> a, const std::vector<int>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
std::vector<int> times(int n, int twips) { return std::vector<int>(size_t(n), twips); }

// Nr, then the fields 0-14 of a log record.
const std::vector<int> kLogTwips{360, 960, 480, 480, 1080, 600, 360, 2400, 2400, 600, 600, 600, 600, 4800, 480, 480};
std::vector<int> logTwips(const char* format) {
    std::vector<int> out{360};
    for (int f = 0; f < 15; ++f)
        if (format[f] == '1') out.push_back(kLogTwips[size_t(f + 1)]);
    return out;
}

class GridColumnsTest : public AppTest, public ::testing::WithParamInterface<GridCase> {
public:
    using AppTest::dialogs;
    using AppTest::writeDataFile;

protected:
    void SetUp() override {
        AppTest::SetUp();
        initcommontables();
        setFileKindPaths();
        for (int i = 4; i <= 6; ++i) Settings[size_t(i)] = 1;
        LogRecords.clear();
        LogLast = -1;
        LogGridFormat.clear();
        FileKindName[1] = QStringLiteral("BDX_A07TOE.TXT");
        FileKindName[2] = QStringLiteral("OWN_TEST.TXT");
        FileKindName[4] = QStringLiteral("LOG_TEST.TXT");
        FileKindName[10] = QStringLiteral("test.320");
    }
    void TearDown() override {
        forms::destroyAll();
        clearFileKindHandlers();
        AppTest::TearDown();
        BdxcRecords.clear();
        BdxcShownCount = 0;
        OwnRecords.clear();
        F320Records.clear();
        LogRecords.clear();
        LogLast = -1;
    }
};

frmLog* openLog(AppTest&) { return forms::load<frmLog>(); }
frmLog* loadLog(AppTest& t) {
    static_cast<GridColumnsTest&>(t).writeDataFile(
        QStringLiteral("LOG/LOG_TEST.TXT"),
        "000 20040301 1200 1300 15400     35443 ENG Radio Canada         Sackville            "
        "                        Fine                                     a         \r\n");
    frmLog* w = forms::load<frmLog>();
    EXPECT_TRUE(runLoader(4, 0));
    return w;
}
// The format window's boxes ticked for a format, then OK.
void chooseFormat(const char* format) {
    frmLogFormat* f = forms::load<frmLogFormat>();
    for (int i = 0; i < 15; ++i)
        f->findChild<QCheckBox*>(QStringLiteral("chkLogformat_%1").arg(i))->setChecked(format[i] == '1');
    f->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
}

const std::vector<GridCase>& cases() {
    static const std::vector<GridCase> all{
        {"LogAtOpen", openLog, kLogTwips, kLogTwips},
        {"LogAfterLoad", [](AppTest& t) -> GridListWindow* { return loadLog(t); }, kLogTwips, kLogTwips},
        {"LogAfterFewerColumns",
         [](AppTest& t) -> GridListWindow* {
             frmLog* w = loadLog(t);
             chooseFormat("000101100000100");
             return w;
         },
         logTwips("000101100000100"), logTwips("000101100000100")},
        {"LogAfterMoreColumns",
         [](AppTest& t) -> GridListWindow* {
             frmLog* w = loadLog(t);
             chooseFormat("000101100000100");
             chooseFormat("110011000011011");
             return w;
         },
         logTwips("110011000011011"), logTwips("110011000011011")},
        {"Bdxc",
         [](AppTest& t) -> GridListWindow* {
             auto& g = static_cast<GridColumnsTest&>(t);
             g.writeDataFile(QStringLiteral("BDXC/BDX_A07TOE.TXT"),
                             "Sweden           Radio Sweden      0000-2400    6065,9490,11550,15240,17505,21500,1179\r\n");
             frmBdxc* w = forms::load<frmBdxc>();
             g.dialogs.expectInput(QStringLiteral("Enter 'all'"), QStringLiteral("all"));
             EXPECT_TRUE(runLoader(1, 0));
             return w;
         },
         {1400, 1800, 1120, 4680}, std::vector<int>{1400, 1800, 1120} + times(7, 620)},
        {"Own",
         [](AppTest& t) -> GridListWindow* {
             static_cast<GridColumnsTest&>(t).writeDataFile(
                 QStringLiteral("OWN/OWN_TEST.TXT"),
                 "Radio Sweden        SWE ENG 0100-0130      u      6065,9490,11550,15240,17505,21500,1179,9700\r\n");
             frmOwn* w = forms::load<frmOwn>();
             EXPECT_TRUE(runLoader(2, 0));
             return w;
         },
         {2200, 550, 550, 1000, 4835}, std::vector<int>{2200, 550, 550, 1000} + times(7, 620)},
        {"Files320",
         [](AppTest& t) -> GridListWindow* {
             static_cast<GridColumnsTest&>(t).writeDataFile(
                 QStringLiteral("F320/test.320"), "\"Beacon\",3.5,LSB,,,,,Here,English,0000,2400,Notes of the beacon,\r\n");
             frm320Files* w = forms::load<frm320Files>();
             EXPECT_TRUE(runLoader(10, 0));
             return w;
         },
         {2130, 975, 345, 1605, 1080, 450, 450, 2085}, {2130, 975, 345, 1605, 1080, 450, 450, 2085}},
    };
    return all;
}

TEST_P(GridColumnsTest, EveryColumnAtItsWidthWithItsTitleWholeAboveIt) {
    const GridCase& c = GetParam();
    GridListWindow* w = c.open(*this);
    ASSERT_NE(w, nullptr);
    w->show();
    pump(20);
    QHeaderView* data = w->grid()->horizontalHeader();
    QHeaderView* titles = w->titles()->horizontalHeader();
    ASSERT_GE(data->count(), int(c.gridTwips.size()));
    ASSERT_EQ(w->titles()->columnCount(), int(c.titleTwips.size()));
    if (c.gridTwips.size() == c.titleTwips.size()) {
        EXPECT_EQ(data->count(), int(c.gridTwips.size()));
    }

    int x = 0;
    for (size_t k = 0; k < c.gridTwips.size(); ++k) {
        SCOPED_TRACE(testing::Message() << "data column " << k);
        EXPECT_EQ(data->sectionPosition(int(k)), x);
        EXPECT_EQ(data->sectionSize(int(k)), (c.gridTwips[k] + 7) / 15);
        x += (c.gridTwips[k] + 7) / 15;
    }
    // Both grids' cells start at the same place in the window.
    EXPECT_EQ(w->grid()->viewport()->mapTo(w, QPoint(0, 0)).x(), w->titles()->viewport()->mapTo(w, QPoint(0, 0)).x());
    const QFontMetrics fm(w->titles()->font());
    for (size_t t = 0; t < c.titleTwips.size(); ++t) {
        const QString title = w->titles()->item(0, int(t))->text();
        SCOPED_TRACE(testing::Message() << "title " << t << " \"" << title.toStdString() << "\"");
        EXPECT_EQ(titles->sectionSize(int(t)), (c.titleTwips[t] + 7) / 15);
        EXPECT_EQ(titles->sectionPosition(int(t)), data->sectionPosition(int(t))) << "over its column";
        EXPECT_LE(fm.horizontalAdvance(title), gridTextRoom(titles->sectionSize(int(t)))) << "cut at the grid's font";
    }
}

INSTANTIATE_TEST_SUITE_P(ListGrids, GridColumnsTest, ::testing::ValuesIn(cases()),
                         [](const ::testing::TestParamInfo<GridCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace dovrane::test
