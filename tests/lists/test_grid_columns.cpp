// Every list grid and its title grid loaded with files that hold the widest
// value of each column: each cell's text whole in the font it is drawn with,
// titles included, at 7 points or more; each column as wide as drawn (twips,
// 15 to a pixel) unless its widest value needs more, then just as wide as
// that; each title over the column it names, with the same width. In the log
// as it opens, after a load and after each change of its screen format, in
// the other lists after a first and a second load.
#include "lists/frm320files.h"
#include "lists/frmbdxc.h"
#include "lists/frmlast20.h"
#include "lists/frmown.h"
#include "lists/frmscratchpad.h"
#include "lists/grid_columns.h"
#include "lists/last20_list.h"
#include "lists/list_table_model.h"
#include "logbook/frmlog.h"
#include "logbook/frmlogformat.h"
#include "logbook/log_record.h"
#include "memories/frmmemman.h"
#include "scanning/frmscanlist.h"
#include "scanning/frmscanpairs.h"
#include "memories/memory_image.h"
#include "drivers/model_tables.h"
#include "shell/common_tables.h"
#include "shell/file_kinds.h"
#include "shell/globals.h"
#include "support/test_env.h"

#include <QCheckBox>
#include <QLabel>
#include <QRegularExpression>
#include <QFontInfo>
#include <QLineEdit>
#include <QStyleOptionFrame>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <functional>
#include <typeinfo>

namespace dovrane::test {
namespace {

// A title grid and the grid under it, found by their names (a grid may have
// no title grid), with the widths they were drawn with: title t stands over
// data column t; a last title with fewer titles than columns over the rest,
// titles beyond the columns over the last column together.
struct GridPair {
    const char* titles;
    const char* data;
    std::vector<int> titleTwips;
    std::vector<int> dataTwips;
};
struct GridCase {
    const char* name;
    std::function<QWidget*(AppTest&)> open;   // the window, with its widest values shown
    std::vector<GridPair> grids;
    bool widest = true;   // false: the grid shows no values yet
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
GridPair logGrids(const std::vector<int>& twips) { return {"grdTitles", "grdLog", twips, twips}; }

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
        clearLast20();
        FileKindName[1] = QStringLiteral("BDX_A07TOE.TXT");
        FileKindName[2] = QStringLiteral("OWN_TEST.TXT");
        FileKindName[4] = QStringLiteral("LOG_TEST.TXT");
        FileKindName[8] = QStringLiteral("MEM_TEST.TXT");
        FileKindName[9] = QStringLiteral("FSP_TEST.TXT");
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
        clearLast20();
        RxType = 0;
    }
};

GridColumnsTest& fixture(AppTest& t) { return static_cast<GridColumnsTest&>(t); }

// Names of their full length in capitals as they are written: real ones, and
// one of each capital of ordinary width (all but the broad W and M) alone, so
// that whichever is the widest in the font is among them.
QList<QByteArray> capitalNames(std::initializer_list<const char*> real, int length) {
    QList<QByteArray> names;
    for (const char* n : real) names << QByteArray(n).leftJustified(length, ' ', true);
    for (char c = 'A'; c <= 'Z'; ++c)
        if (c != 'W' && c != 'M') names << QByteArray(length, c);
    return names;
}
// Frequencies to the hertz as the lists write them.
const QByteArray kFrequencies = "29999.999,32016.666,15400.125,15400.25,7125.75";

// The widest value of each field of a log line: the language as the issue
// of a listener (ENG) and as wide as three capitals go (WWW), free texts of
// their full width in capitals.
QByteArray logFile() {
    const QList<QByteArray> names = capitalNames({"DEUTSCHE WELLE KOELN", "PAPUA NEW GUINEA RADI"}, 20);
    const QList<QByteArray> remarks = capitalNames({"FINE SIGNAL, QSL CARD RECEIVED IN MARCH."}, 40);
    const QList<QByteArray> codes = capitalNames({"USB"}, 4);
    QByteArray out;
    for (qsizetype k = 0; k < names.size(); ++k) {
        const std::vector<std::pair<QByteArray, int>> fields{
            {"20040301", 8}, {"2359", 4}, {"0000", 4}, {k % 2 ? "32016.666" : "29999.999", 9}, {"45444", 5},
            {k % 2 ? "WWW" : "ENG", 3}, {names[k], 20}, {names[k], 20}, {"11795", 5}, {"21735", 5}, {"17505", 5},
            {"25820", 5}, {remarks[std::min(k, remarks.size() - 1)], 40}, {codes[std::min(k, codes.size() - 1)], 4},
            {codes[std::min(k, codes.size() - 1)], 4}};
        QByteArray line = QByteArray::number(k).rightJustified(3, '0') + ' ';
        for (const auto& [text, width] : fields) line += text.leftJustified(width + 1, ' ', true);
        out += line + "\r\n";
    }
    return out;
}
frmLog* openLog(AppTest&) { return forms::load<frmLog>(); }
frmLog* loadLog(AppTest& t) {
    fixture(t).writeDataFile(QStringLiteral("LOG/LOG_TEST.TXT"), logFile());
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
std::function<QWidget*(AppTest&)> logIn(const char* format) {
    return [format](AppTest& t) -> QWidget* {
        frmLog* w = loadLog(t);
        chooseFormat(format);
        return w;
    };
}

// Countries and organisations of their full 16 and 17 characters in
// capitals; frequencies to the hertz in every column (a line holds five of
// them at most: empty fields before them leave the first cells empty).
QByteArray bdxcFile() {
    const QList<QByteArray> countries = capitalNames({"PAPUA NEW GUINEA", "BOSNIA-HERCEGOVI"}, 16);
    const QList<QByteArray> orgs = capitalNames({"BBC WORLD SERVICE", "RADIO NETHERLANDS"}, 17);
    const QByteArray shifts[] = {"", ",,", ",,,,"};
    QByteArray out;
    for (qsizetype k = 0; k < countries.size(); ++k)
        out += countries[k] + ' ' + orgs[k] + " 0000-2400    " + shifts[k % 3] + kFrequencies + "\r\n";
    return out;
}
void loadBdxc(AppTest& t, const char* name, const QByteArray& text) {
    FileKindName[1] = QString::fromLatin1(name);
    fixture(t).writeDataFile(QStringLiteral("BDXC/") + FileKindName[1], text);
    fixture(t).dialogs.expectInput(QStringLiteral("Enter 'all'"), QStringLiteral("all"));
    EXPECT_TRUE(runLoader(1, 0));
}
// Organisations of their full 19 characters in capitals, codes as wide as
// three capitals go, frequencies to the hertz in each of the eight columns
// (the 50 columns of the line hold five of them at most).
QByteArray ownFile() {
    const QList<QByteArray> orgs = capitalNames({"RADIO ROMANIA INTL.", "BOSNIA-HERCEGOVINA "}, 19);
    const QByteArray shifts[] = {"", ",,,", ",,,,,"};
    QByteArray out;
    for (qsizetype k = 0; k < orgs.size(); ++k)
        out += orgs[k] + (k % 2 ? " WWW WWW" : " ROU ENG") + " 0000-2400      " + (k % 2 ? 'w' : 'u') + "      " +
               shifts[k % 3] + kFrequencies + "\r\n";
    return out;
}
void loadOwn(AppTest& t, const QByteArray& text) {
    fixture(t).writeDataFile(QStringLiteral("OWN/OWN_TEST.TXT"), text);
    EXPECT_TRUE(runLoader(2, 0));
}
const QByteArray k320File = "\"Radio Sweden Intl.\",9.41,USB,,,,,Sines Portugal,Portuguese,0600,2400,Notes of the station and more,\r\n"
                            "\"Beacon\",29.999999,LSB,,,,,Here,CW,0000,0030,,\r\n";
void load320(AppTest& t, const QByteArray& text) {
    fixture(t).writeDataFile(QStringLiteral("F320/test.320"), text);
    EXPECT_TRUE(runLoader(10, 0));
}

const GridPair kBdxcGrids{"grdTitles", "grdBdxc", {1400, 1800, 1120, 4680}, std::vector<int>{1400, 1800, 1120} + times(7, 620)};
const GridPair kOwnGrids{"grdTitles", "grdOwn", {2200, 550, 550, 1000, 4835},
                         std::vector<int>{2200, 550, 550, 1000} + times(8, 620) + std::vector<int>{300, 400}};
const std::vector<int> k320Twips{2130, 975, 345, 1605, 1080, 450, 450, 2085};

// A memory file for a model: the widest frequency, mode and bandwidth texts,
// a tag of its full 45 characters.
QWidget* openMemman(AppTest& t, int rxType, const QByteArray& records) {
    RxType = rxType;
    rxType == 3 ? initrx320tables() : initnrd545tables();
    frmMemman* m = forms::load<frmMemman>();
    fixture(t).writeDataFile(QStringLiteral("MEM/MEM_TEST.TXT"), records);
    EXPECT_TRUE(runLoader(8, 0));
    return m;
}
const QByteArray kTag = "Radio Netherlands Intl. relay Bonaire, 5 kW .";

const std::vector<GridCase>& cases() {
    static const std::vector<GridCase> all{
        {"LogAtOpen", openLog, {logGrids(kLogTwips)}, false},
        {"LogAfterLoad", [](AppTest& t) -> QWidget* { return loadLog(t); }, {logGrids(kLogTwips)}},
        {"LogAfterFewerColumns", logIn("000101100000100"), {logGrids(logTwips("000101100000100"))}},
        {"LogAfterMoreColumns",
         [](AppTest& t) -> QWidget* {
             QWidget* w = logIn("000101100000100")(t);
             chooseFormat("110011000011011");
             return w;
         },
         {logGrids(logTwips("110011000011011"))}},
        {"LogEveryField", logIn("111111111111111"), {logGrids(logTwips("111111111111111"))}},
        {"Bdxc",
         [](AppTest& t) -> QWidget* {
             frmBdxc* w = forms::load<frmBdxc>();
             loadBdxc(t, "BDX_A07TOE.TXT", bdxcFile());
             return w;
         },
         {kBdxcGrids}},
        // A second load, and one whose titles are those of an ILG list.
        {"BdxcSecondLoad",
         [](AppTest& t) -> QWidget* {
             frmBdxc* w = forms::load<frmBdxc>();
             loadBdxc(t, "BDX_A07TOE.TXT", "Sweden           Radio Sweden      0000-2400    6065\r\n");
             loadBdxc(t, "ILGBDXC.TXT", bdxcFile());
             return w;
         },
         {kBdxcGrids}},
        {"Own",
         [](AppTest& t) -> QWidget* {
             frmOwn* w = forms::load<frmOwn>();
             loadOwn(t, ownFile());
             return w;
         },
         {kOwnGrids}},
        {"OwnSecondLoad",
         [](AppTest& t) -> QWidget* {
             frmOwn* w = forms::load<frmOwn>();
             loadOwn(t, "Radio Sweden        SWE ENG 0100-0130      u      6065\r\n");
             loadOwn(t, ownFile());
             return w;
         },
         {kOwnGrids}},
        {"Files320",
         [](AppTest& t) -> QWidget* {
             frm320Files* w = forms::load<frm320Files>();
             load320(t, k320File);
             return w;
         },
         {{"grdTitles", "grd320Files", k320Twips, k320Twips}}},
        {"Files320SecondLoad",
         [](AppTest& t) -> QWidget* {
             frm320Files* w = forms::load<frm320Files>();
             load320(t, "\"Beacon\",3.5,AM,,,,,Here,English,0000,2400,Notes,\r\n");
             load320(t, k320File);
             return w;
         },
         {{"grdTitles", "grd320Files", k320Twips, k320Twips}}},
        {"Last20",
         [](AppTest&) -> QWidget* {
             for (int i = 0; i < Last20Size; ++i) pushLast20(QStringLiteral("%1.000").arg(29980 + i));
             return forms::load<frmLast20>();
         },
         {{"grdTitles", "grdLast20", {400, 1200}, {400, 1200}}}},
        {"Scratchpad",
         [](AppTest& t) -> QWidget* {
             auto* w = forms::load<frmScratchpad>();
             fixture(t).writeDataFile(QStringLiteral("FSP/FSP_TEST.TXT"),
                                      "15240.250,09410.000,29999.999,11795.000,21735.500,17505.250,13650.750,25820.000,\r\n");
             EXPECT_TRUE(runLoader(9, 0));
             return w;
         },
         {{nullptr, "grdScratchpad", {}, times(8, 885)}}},
        {"MemmanNrd545",
         [](AppTest& t) -> QWidget* {
             return openMemman(t, 4, "MEM000 29999999 7 00 0 1 @@@ @@@ @ " + kTag + "\r\n" +
                                         "MEM001 32016666 8 02 1 9 @@@ @@@ @ " + kTag + "\r\n");
         },
         {{"grdTitles", "grdMemman", {600, 1200, 600, 600, 2800, 2800}, {600, 1200, 600, 600, 5600}}}},
        {"MemmanRx320",
         [](AppTest& t) -> QWidget* {
             return openMemman(t, 3, "MEM000 29999999 1 00 @ 1 @@@ @@@ @ " + kTag + "\r\n");
         },
         {{"grdTitles", "grdMemman", {600, 1200, 600, 600, 2800, 2800}, {600, 1200, 600, 600, 5600}}}},
    };
    return all;
}

// The pixels the text of a cell may take in a column: the grid line and the
// margins of the grid's cells left out (the style's, unless narrowed).
int textRoom(const QTableView* v, int px) {
    if (typeid(*v->itemDelegate()) != typeid(QStyledItemDelegate)) return gridTextRoom(px);
    return px - 1 - 2 * (v->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, v) + 1);
}
int textNeed(const QTableView* v, const QFont& font, const QString& text) {
    const int w = QFontMetrics(font).horizontalAdvance(text);
    return w == 0 ? 0 : w + (100 - textRoom(v, 100));
}
QFont cellFont(const QTableView* v, const QModelIndex& i) {
    const QVariant f = i.data(Qt::FontRole);
    return f.isValid() ? f.value<QFont>() : v->font();
}
// The widest text a column shows, as the width that it needs.
int columnNeed(const QTableView* v, int column) {
    int need = 0;
    for (int r = 0; r < v->model()->rowCount(); ++r) {
        const QModelIndex i = v->model()->index(r, column);
        need = std::max(need, textNeed(v, cellFont(v, i), i.data().toString()));
    }
    return need;
}

TEST_P(GridColumnsTest, EveryValueAndTitleWholeOverItsColumnAtItsWidth) {
    const GridCase& c = GetParam();
    QWidget* w = c.open(*this);
    ASSERT_NE(w, nullptr);
    w->show();
    pump(20);
    for (const GridPair& g : c.grids) {
        SCOPED_TRACE(testing::Message() << g.data);
        auto* data = w->findChild<QTableView*>(QLatin1String(g.data));
        ASSERT_NE(data, nullptr);
        auto* titles = g.titles ? w->findChild<QTableView*>(QLatin1String(g.titles)) : nullptr;
        QHeaderView* dh = data->horizontalHeader();
        ASSERT_GE(dh->count(), int(g.dataTwips.size()));
        if (g.dataTwips.size() == g.titleTwips.size()) {
            EXPECT_EQ(dh->count(), int(g.dataTwips.size()));
        }
        EXPECT_GE(QFontInfo(data->font()).pointSizeF(), 7.0);

        // Every cell whole; each column as drawn, or as wide as its widest text.
        const int nData = int(g.dataTwips.size());
        for (int col = 0; col < dh->count(); ++col)
            for (int r = 0; r < data->model()->rowCount(); ++r) {
                const QModelIndex i = data->model()->index(r, col);
                const QString text = i.data().toString();
                EXPECT_LE(QFontMetrics(cellFont(data, i)).horizontalAdvance(text), textRoom(data, dh->sectionSize(col)))
                    << "row " << r << " column " << col << " \"" << text.toStdString() << "\" cut";
            }
        std::vector<int> drawn;
        for (int t : g.dataTwips) drawn.push_back((t + 7) / 15);
        if (!titles) {
            for (int col = 0; col < nData && c.widest; ++col)
                EXPECT_EQ(dh->sectionSize(col), std::max(drawn[size_t(col)], columnNeed(data, col))) << "column " << col;
            continue;
        }

        QHeaderView* th = titles->horizontalHeader();
        const int nTitles = int(g.titleTwips.size());
        ASSERT_EQ(th->count(), nTitles);
        EXPECT_GE(QFontInfo(titles->font()).pointSizeF(), 7.0);
        // Both grids' cells start at the same place in the window.
        EXPECT_EQ(data->viewport()->mapTo(w, QPoint(0, 0)).x(), titles->viewport()->mapTo(w, QPoint(0, 0)).x());
        const auto titleText = [&](int t) { return titles->model()->index(0, t).data().toString(); };
        for (int col = 0; col < nData; ++col) {
            // A title alone over its column may need more than the data.
            int need = columnNeed(data, col);
            if (col < nTitles && (nTitles == nData || (nTitles > nData ? col < nData - 1 : col < nTitles - 1)))
                need = std::max(need, textNeed(titles, titles->font(), titleText(col)));
            if (c.widest) {
                EXPECT_EQ(dh->sectionSize(col), std::max(drawn[size_t(col)], need)) << "column " << col;
            } else {
                EXPECT_GE(dh->sectionSize(col), std::max(drawn[size_t(col)], need)) << "column " << col;
            }
        }
        for (int t = 0; t < nTitles; ++t) {
            const QString title = titleText(t);
            SCOPED_TRACE(testing::Message() << "title " << t << " \"" << title.toStdString() << "\"");
            EXPECT_LE(QFontMetrics(titles->font()).horizontalAdvance(title), textRoom(titles, th->sectionSize(t)))
                << "cut";
            if (t >= nData) continue;
            EXPECT_EQ(th->sectionPosition(t), dh->sectionPosition(t)) << "over its column";
            if (nTitles > nData && t == nData - 1) {
                int together = 0;
                for (int k = t; k < nTitles; ++k) together += th->sectionSize(k);
                // each of them rounded to the pixel
                EXPECT_NEAR(together, dh->sectionSize(t), nTitles - nData) << "the last titles together over the last column";
            } else if (nTitles < nData && t == nTitles - 1) {
                int widened = 0;
                for (int k = t; k < nData; ++k) widened += dh->sectionSize(k) - drawn[size_t(k)];
                EXPECT_EQ(th->sectionSize(t), (g.titleTwips[size_t(t)] + 7) / 15 + widened)
                    << "widened as much as the columns under it";
            } else {
                EXPECT_EQ(th->sectionSize(t), dh->sectionSize(t)) << "as wide as its column";
            }
        }
    }
}

// A model reset that takes the columns away and brings them back (a list
// shown anew with another column set) rebuilds the header's sections at their
// default size: the widths given come back.
TEST(GridColumnWidths, KeptThroughAResetThatRebuildsTheColumns) {
    QTableView grid;
    ListTableModel model;
    grid.setModel(&model);
    const auto cell = [](int, int) { return QString(); };
    model.setSource(1, 3, cell);
    setGridColumnWidths(&grid, {10, 20, 30});
    for (int columns : {0, 3, 5}) {
        model.setSource(1, columns, cell);
        for (int c = 0; c < std::min(columns, 3); ++c)
            EXPECT_EQ(grid.horizontalHeader()->sectionSize(c), 10 * (c + 1)) << columns << " columns, column " << c;
    }
}

// The frequency boxes of the list scan hold a frequency as the panels show
// it, the channels of the pair scan one as a pair file holds it: to the hertz.
TEST_F(GridColumnsTest, ScanWindowsShowTheirWidestFrequencyWhole) {
    RxType = 0;
    initnorxtables();
    writeDataFile(QStringLiteral("SFP/SFP_TEST.TXT"), "29999.999,32016.666, 1,a\r\n32016.666,29999.999, 1,b\r\n");
    FileKindName[12] = QStringLiteral("SFP_TEST.TXT");
    frmScanlist* list = forms::load<frmScanlist>();
    frmScanpairs* pairs = forms::load<frmScanpairs>();
    ASSERT_TRUE(list && pairs && runLoader(12, 0));
    list->show();
    pairs->show();
    pump(20);
    // Each text with the pixels it may take.
    std::vector<std::tuple<QWidget*, QString, int>> shown;
    for (QLineEdit* box : list->txtFreqlist) {
        box->setText(QStringLiteral("29999.999"));
        QStyleOptionFrame o;
        o.initFrom(box);
        o.lineWidth = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &o, box);
        shown.emplace_back(box, box->text(), box->style()->subElementRect(QStyle::SE_LineEditContents, &o, box).width() - 4);
    }
    for (QLabel* channel : pairs->findChildren<QLabel*>(QRegularExpression(QStringLiteral("^lblChannel[AB]_[56]$"))))
        shown.emplace_back(channel, channel->text(), channel->contentsRect().width() - 2 * channel->margin());
    ASSERT_EQ(shown.size(), size_t(ScanlistRows + 4));
    for (const auto& [w, text, room] : shown) {
        SCOPED_TRACE(w->objectName().toStdString());
        EXPECT_GE(QFontInfo(w->font()).pointSizeF(), 7.0);
        EXPECT_FALSE(text.isEmpty());
        EXPECT_LE(QFontMetrics(w->font()).horizontalAdvance(text), room) << "\"" << text.toStdString() << "\" cut";
    }
}

INSTANTIATE_TEST_SUITE_P(ListGrids, GridColumnsTest, ::testing::ValuesIn(cases()),
                         [](const ::testing::TestParamInfo<GridCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace dovrane::test
