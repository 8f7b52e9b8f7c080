// The logbook windows as a user meets them: load, add, change, delete, sort,
// save and load again; the entry window one at a time; the screen format; a
// click on a frequency that tunes a simulated RX-320 and sets its mode.
#include "drivers/model_tables.h"
#include "drivers/rx320/rx320_state.h"
#include "lists/list_table_model.h"
#include "logbook/frmlog.h"
#include "logbook/frmlogformat.h"
#include "logbook/frmloginput.h"
#include "logbook/frmlogsort.h"
#include "logbook/log_record.h"
#include "panels/frmnorx.h"
#include "panels/panel_registry.h"
#include "platform/commport.h"
#include "shell/common_tables.h"
#include "shell/facade.h"
#include "shell/file_kinds.h"
#include "shell/frmsavefile.h"
#include "shell/globals.h"
#include "sim/rx320_sim.h"
#include "support/paste.h"
#include "support/test_env.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTableWidget>

namespace dovrane::test {
namespace {

const QString kName = QStringLiteral("LOG_TEST.TXT");

LogRecord rec(std::initializer_list<std::pair<int, const char*>> fields) {
    LogRecord r;
    for (const auto& [f, text] : fields) r[size_t(f)] = QString::fromLatin1(text);
    return r;
}

class LogTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        initcommontables();
        setFileKindPaths();
        Settings[6] = 1;
        LogRecords.clear();
        LogBeyond.clear();
        LogLast = -1;
        LogGridFormat.clear();
        FileKindName[4] = kName;
        registerLogFileKind();
    }
    void TearDown() override {
        resetFacade();
        clearFileKindHandlers();
        AppTest::TearDown();
        LogRecords.clear();
        LogBeyond.clear();
        LogLast = -1;
    }
    QString path() const { return FileKindPath[4] + kName; }
    QByteArray file() const { return readDataFile(QStringLiteral("LOG/") + kName); }
    void writeLog(const std::vector<LogRecord>& records) { ASSERT_TRUE(writeLogFile(path(), records)); }

    static bool enabled(frmLog* w, const char* name) {
        return w->findChild<QPushButton*>(QLatin1String(name))->isEnabled();
    }
    static void select(frmLog* w, int row) { w->grid()->setCurrentIndex(w->model()->index(row, 0)); }
    static QStringList organisations() {
        QStringList out;
        for (const LogRecord& r : LogRecords) out << r[LogFieldOrganisation].trimmed();
        return out;
    }
};

TEST_F(LogTest, ANewUserLoadsAddsChangesDeletesSortsSavesAndLoadsAgain) {
    writeLog({rec({{0, "20040301"}, {1, "1200"}, {3, "15400"}, {6, "Radio Canada"}, {13, "a"}}),
              rec({{0, "20040302"}, {1, "1300"}, {3, "06195"}, {6, "Deutsche Welle"}, {13, "u"}})});

    frmLog* w = forms::load<frmLog>();
    ASSERT_TRUE(LogOpen);
    EXPECT_FALSE(enabled(w, "cmdAddrecord")) << "records can be added once a log is loaded";
    EXPECT_FALSE(enabled(w, "cmdSave"));
    EXPECT_TRUE(enabled(w, "cmdLoad"));
    EXPECT_EQ(w->model()->rowCount(), 1);
    EXPECT_EQ(w->model()->columnCount(), 16) << "no format file: every field and the number";

    ASSERT_TRUE(runLoader(4, 0));
    EXPECT_EQ(LogLast, 1);
    EXPECT_EQ(w->findChild<QLabel*>(QStringLiteral("lblDBname"))->text(), kName);
    EXPECT_TRUE(enabled(w, "cmdAddrecord"));
    ASSERT_EQ(w->model()->rowCount(), 3) << "the blank row, then one row per record";
    EXPECT_EQ(w->cell(2, 0), QStringLiteral("001"));
    EXPECT_EQ(w->cell(2, 4), QStringLiteral("06195    "));

    // Add: the entry window, one at a time.
    w->cmdAddrecord_Click();
    frmLoginput* in = forms::loaded<frmLoginput>();
    ASSERT_TRUE(in);
    EXPECT_EQ(in->windowTitle(), QStringLiteral("Input Record 002"));
    EXPECT_FALSE(enabled(w, "cmdAddrecord"));
    EXPECT_FALSE(enabled(w, "cmdDeleterecord"));
    EXPECT_FALSE(enabled(w, "cmdSort"));
    w->cmdAddrecord_Click();   // a second Add while it is open does nothing
    EXPECT_EQ(LogLast, 1);
    in->setBox(0, QStringLiteral("20040303"));
    in->setBox(1, QStringLiteral("930"));
    in->setBox(3, QStringLiteral("9410,5"));
    in->setBox(6, QStringLiteral("BBC"));
    in->setBox(13, QStringLiteral("a"));
    EXPECT_EQ(in->box(6)->maxLength(), 20);
    in->cmdOK_Click();
    EXPECT_FALSE(LoginputOpen);
    ASSERT_EQ(LogLast, 2);
    EXPECT_EQ(LogRecords[2][1], QStringLiteral("0930"));
    EXPECT_EQ(LogRecords[2][3], QStringLiteral("09410.500"));
    EXPECT_EQ(LogRecords[2][2], QString());
    EXPECT_EQ(w->model()->rowCount(), 4);
    EXPECT_TRUE(enabled(w, "cmdAddrecord"));

    // Change: the boxes hold the record without its trailing blanks.
    select(w, 2);
    w->cmdChangerecord_Click();
    in = forms::loaded<frmLoginput>();
    ASSERT_TRUE(in);
    EXPECT_EQ(in->windowTitle(), QStringLiteral("Change record 001"));
    EXPECT_EQ(in->box(6)->text(), QStringLiteral("Deutsche Welle"));
    in->setBox(12, QStringLiteral("fair"));
    in->cmdOK_Click();
    EXPECT_EQ(LogRecords[1][12], QStringLiteral("fair"));
    EXPECT_EQ(LogRecords[1][3], QStringLiteral("06195"));
    EXPECT_EQ(LogLast, 2);

    // Delete the first record, after the question.
    select(w, 1);
    dialogs.expect(QStringLiteral("record 000 about frequency 15400    ?"), dialogs::Answer::Cancel);
    w->cmdDeleterecord_Click();
    EXPECT_EQ(LogLast, 2);
    dialogs.expect(QStringLiteral("record 000 about frequency"), dialogs::Answer::Ok);
    w->cmdDeleterecord_Click();
    EXPECT_EQ(organisations(), (QStringList{QStringLiteral("Deutsche Welle"), QStringLiteral("BBC")}));
    EXPECT_EQ(w->model()->rowCount(), 3);

    // Sort on the frequency.
    frmLogsort* sort = forms::load<frmLogsort>();
    EXPECT_EQ(LogSortKey, 0);
    sort->option(2)->setChecked(true);
    EXPECT_EQ(LogSortKey, 2);
    sort->cmdOK_Click();
    EXPECT_FALSE(LogsortOpen);
    EXPECT_EQ(organisations(), (QStringList{QStringLiteral("Deutsche Welle"), QStringLiteral("BBC")}));
    EXPECT_EQ(w->cell(2, 7), QStringLiteral("BBC"));

    // Save, load again: every field comes back padded to its width.
    dialogs.expect(QStringLiteral("File LOG_TEST.TXT already exist."), dialogs::Answer::Yes);
    dialogs.expect(QStringLiteral("The data is now saved\nto the file LOG_TEST.TXT"));
    EXPECT_TRUE(w->cmdSave_Click());
    const std::vector<LogRecord> before = LogRecords;
    ASSERT_TRUE(runLoader(4, 0));
    ASSERT_EQ(LogLast, 1);
    for (size_t r = 0; r < 2; ++r)
        for (int f = 0; f < LogFields; ++f) {
            EXPECT_EQ(LogRecords[r][size_t(f)].size(), logField(f).width);
            EXPECT_EQ(LogRecords[r][size_t(f)].trimmed(), before[r][size_t(f)].trimmed());
        }

    // Loaded and saved with no change: the same bytes.
    const QByteArray saved = file();
    dialogs.expect(QStringLiteral("already exist"), dialogs::Answer::Yes);
    dialogs.expect(QStringLiteral("The data is now saved"));
    EXPECT_TRUE(w->cmdSave_Click());
    EXPECT_EQ(file(), saved);

    // The blank top row is no record.
    select(w, 0);
    dialogs.expect(QStringLiteral("No record selected"));
    w->cmdChangerecord_Click();
    EXPECT_EQ(dialogs.shown().back().title, QStringLiteral("Logging"));

    // Close: saved after the question, then an empty grid, the log kept.
    dialogs.expect(QStringLiteral("already exist"), dialogs::Answer::No);
    w->cmdClose_Click();
    EXPECT_EQ(w->model()->rowCount(), 1);
    EXPECT_FALSE(enabled(w, "cmdAddrecord"));
    EXPECT_EQ(LogLast, 1);

    dialogs.expect(QStringLiteral("from the Logging window"), dialogs::Answer::No);
    w->cmdExit_Click();
    EXPECT_FALSE(LogOpen);
}

TEST_F(LogTest, AnEntryLeftEmptyOrCancelledChangesNothing) {
    writeLog({rec({{3, "09410"}, {6, "Only"}})});
    frmLog* w = forms::load<frmLog>();
    ASSERT_TRUE(runLoader(4, 0));

    for (bool cancel : {false, true}) {
        w->cmdAddrecord_Click();
        frmLoginput* in = forms::loaded<frmLoginput>();
        ASSERT_TRUE(in);
        if (cancel) {
            in->setBox(6, QStringLiteral("typed"));
            in->cmdCancel_Click();
        } else {
            in->cmdOK_Click();
        }
        EXPECT_EQ(LogLast, 0);
        EXPECT_EQ(w->model()->rowCount(), 2);
        EXPECT_TRUE(enabled(w, "cmdAddrecord"));
    }

    // A frequency the field cannot hold is refused and the window stays.
    w->cmdAddrecord_Click();
    frmLoginput* in = forms::loaded<frmLoginput>();
    in->setBox(3, QStringLiteral("123456"));
    dialogs.expect(QStringLiteral("does not fit the log"));
    in->cmdOK_Click();
    EXPECT_TRUE(LoginputOpen);
    in->setBox(3, QString());
    in->setBox(6, QStringLiteral("x"));
    in->cmdOK_Click();
    ASSERT_EQ(LogLast, 1);
    EXPECT_EQ(LogRecords[1][3], QStringLiteral("00000"));

    // Deleting every record leaves an empty log.
    for (int i = 0; i < 2; ++i) {
        select(w, 1);
        dialogs.expect(QStringLiteral("You are sure you want to delete"), dialogs::Answer::Ok);
        w->cmdDeleterecord_Click();
    }
    EXPECT_EQ(LogLast, -1);
    EXPECT_EQ(w->model()->rowCount(), 1);
}

TEST_F(LogTest, APastedLineBreakStaysInsideItsRecord) {
    writeLog({rec({{0, "20040301"}, {3, "15400"}, {6, "Radio Canada"}, {12, "fair"}})});
    frmLog* w = forms::load<frmLog>();
    ASSERT_TRUE(runLoader(4, 0));
    w->cmdAddrecord_Click();
    frmLoginput* in = forms::loaded<frmLoginput>();
    ASSERT_TRUE(in);

    // Each text box, as pasted and as its record keeps it: a line break or
    // other control character becomes a blank, after the box's length cut.
    const struct {
        int field;
        QString pasted;
        const char* kept;
    } texts[] = {
        {0, QStringLiteral("20040303\r\n"), "20040303"},
        {2, QStringLiteral("9\t3"), "9 3"},
        {4, QStringLiteral("3\r\n44"), "3 44"},
        {5, QStringLiteral("E\nG"), "E G"},
        {6, QStringLiteral("Radio\r\nAlpha"), "Radio Alpha"},
        {7, QStringLiteral("\tSackville"), " Sackville"},
        {8, QStringLiteral("5\r\n9"), "5 9"},
        {12, QStringLiteral("weak\r\nfade"), "weak fade"},
        {13, QStringLiteral("u\r"), "u"},
        {14, QString(QChar(1)) + QStringLiteral("x"), " x"},
    };
    for (const auto& t : texts) pasteInto(in->box(t.field), t.pasted);

    // The frequency is a number: the entry refuses it as it refuses a text
    // the log cannot keep, and the window stays open.
    pasteInto(in->box(3), QStringLiteral("9500\r\n"));
    dialogs.expect(QStringLiteral("holds characters the log file cannot keep"));
    in->cmdOK_Click();
    EXPECT_TRUE(LoginputOpen);
    EXPECT_EQ(LogRecords.size(), 1u);
    pasteInto(in->box(3), QStringLiteral("9500"));
    in->cmdOK_Click();
    ASSERT_EQ(LogLast, 1);

    dialogs.expect(QStringLiteral("already exist"), dialogs::Answer::Yes);
    dialogs.expect(QStringLiteral("The data is now saved"));
    EXPECT_TRUE(w->cmdSave_Click());
    EXPECT_EQ(file().count('\n'), 2) << "one line a record";
    EXPECT_EQ(file().count('\r'), 2);
    ASSERT_TRUE(runLoader(4, 0));
    ASSERT_EQ(LogLast, 1);
    EXPECT_EQ(LogRecords[0][12].trimmed(), QStringLiteral("fair"));
    for (const auto& t : texts)
        EXPECT_EQ(LogRecords[1][size_t(t.field)], QString::fromLatin1(t.kept).leftJustified(logField(t.field).width))
            << t.field;
    EXPECT_EQ(LogRecords[1][3], QStringLiteral("09500    "));
}

TEST_F(LogTest, AFailedSaveSaysSoAndKeepsTheOldFile) {
    writeLog({rec({{3, "09410"}, {6, "Old"}})});
    const QByteArray old = file();
    frmLog* w = forms::load<frmLog>();
    ASSERT_TRUE(runLoader(4, 0));
    LogRecords[0][12] = QStringLiteral("\u03a9 cannot be kept");
    dialogs.expect(QStringLiteral("already exist"), dialogs::Answer::Yes);
    dialogs.expect(QStringLiteral("Something went wrong"));
    EXPECT_FALSE(w->cmdSave_Click());
    EXPECT_EQ(file(), old);
    EXPECT_EQ(runWriter(4), std::optional<bool>(false)) << "the chooser's writer says so too";

    // A file longer than the log holds: what fits, and how many were left out.
    QByteArray lines;
    for (int i = 0; i < 1003; ++i) lines += "000 20040307\r\n";
    writeDataFile(QStringLiteral("LOG/") + kName, lines);
    dialogs.expect(QStringLiteral("2 lines at the end of the file were not loaded"));
    ASSERT_TRUE(runLoader(4, 0));
    EXPECT_EQ(LogLast, 1000);
    w->grid()->setCurrentIndex(w->model()->index(1, 0));
    dialogs.expect(QStringLiteral("no record can be added"));
    w->cmdAddrecord_Click();
    EXPECT_FALSE(LoginputOpen);
}

// A file longer than the log holds keeps the lines that were not loaded:
// every path that saves the log writes them back after the others, whatever
// was done to the records loaded.
TEST_F(LogTest, EverySaveWritesBackTheLinesBeyondTheCapacity) {
    enum class Path { Save, Close, SaveAsSameName, DeleteThenSave, SortThenSave };
    const struct {
        const char* name;
        Path path;
        int lines;   // in the file after the save
    } rows[] = {
        {"Save", Path::Save, 1005},
        {"Close", Path::Close, 1005},
        {"Save As to the same name", Path::SaveAsSameName, 1005},
        {"Delete, then Save", Path::DeleteThenSave, 1004},
        {"Sort, then Save", Path::SortThenSave, 1005},
    };
    // Record i names itself; the loaded ones in falling order, so a sort moves them.
    const auto org = [](int i) { return QStringLiteral("Station %1").arg(i < 1001 ? 2000 - i : i); };
    std::vector<LogRecord> all;
    for (int i = 0; i < 1005; ++i) {
        LogRecord r = rec({{0, "20040307"}, {3, "09410"}});
        r[LogFieldOrganisation] = org(i);
        all.push_back(r);
    }
    frmLog* w = forms::load<frmLog>();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        writeLog(all);
        dialogs.expect(QStringLiteral("4 lines at the end of the file were not loaded"));
        ASSERT_TRUE(runLoader(4, 0));
        ASSERT_EQ(LogLast, 1000);
        switch (row.path) {
        case Path::DeleteThenSave:
            select(w, 1);
            dialogs.expect(QStringLiteral("You are sure you want to delete"), dialogs::Answer::Ok);
            w->cmdDeleterecord_Click();
            [[fallthrough]];
        case Path::Save:
            dialogs.expect(QStringLiteral("already exist"), dialogs::Answer::Yes);
            dialogs.expect(QStringLiteral("The data is now saved"));
            EXPECT_TRUE(w->cmdSave_Click());
            break;
        case Path::SortThenSave: {
            frmLogsort* sort = forms::load<frmLogsort>();
            sort->option(3)->setChecked(true);
            sort->cmdOK_Click();
            dialogs.expect(QStringLiteral("already exist"), dialogs::Answer::Yes);
            dialogs.expect(QStringLiteral("The data is now saved"));
            EXPECT_TRUE(w->cmdSave_Click());
            break;
        }
        case Path::Close:
            dialogs.expect(QStringLiteral("already exist"), dialogs::Answer::Yes);
            dialogs.expect(QStringLiteral("The data is now saved"));
            w->cmdClose_Click();
            break;
        case Path::SaveAsSameName: {
            FileKind = 4;
            frmSavefile* s = forms::load<frmSavefile>();
            s->findChild<QComboBox*>(QStringLiteral("cmbSavefile"))->setEditText(kName);
            dialogs.expect(QStringLiteral("This file already exist."), dialogs::Answer::Yes);
            dialogs.expect(QStringLiteral("The data is now saved"));
            s->cmdOK_Click();
            break;
        }
        }
        EXPECT_EQ(dialogs.pending(), 0);
        const std::optional<LogFileContent> saved = readLogFile(path(), 100000);
        ASSERT_TRUE(saved);
        ASSERT_EQ(int(saved->records.size()), row.lines);
        // The four lines not loaded, as they were, at the end.
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(saved->records[size_t(row.lines - 4 + k)][LogFieldOrganisation].trimmed(), org(1001 + k));
        EXPECT_EQ(file().left(4), QByteArray("000 "));
        EXPECT_EQ(file().right(162).left(4), QByteArray::number((row.lines - 1) % 1000).rightJustified(3, '0') + ' ')
            << "numbered on after the others";
        const QString first = saved->records[0][LogFieldOrganisation].trimmed();
        EXPECT_EQ(first, row.path == Path::SortThenSave ? org(1000)
                         : row.path == Path::DeleteThenSave ? org(1) : org(0));
    }
}

TEST_F(LogTest, TheScreenFormatChoosesTheColumns) {
    writeDataFile(QStringLiteral("loggridformat.ini"), "000100100000010\r\n");
    writeLog({rec({{0, "20040307"}, {3, "09410"}, {6, "BBC"}, {13, "u"}})});
    frmLog* w = forms::load<frmLog>();
    ASSERT_TRUE(runLoader(4, 0));
    ASSERT_EQ(w->model()->columnCount(), 4);
    EXPECT_EQ(w->titles()->item(0, 1)->text(), QStringLiteral("Frequency"));
    EXPECT_EQ(w->grid()->columnWidth(1), 72);
    EXPECT_EQ(w->cell(1, 3), QStringLiteral("u   "));

    frmLogFormat* f = forms::load<frmLogFormat>();
    EXPECT_EQ(f->lengthText(), QStringLiteral("036"));
    f->check(0)->setChecked(true);
    f->check(13)->setChecked(false);
    EXPECT_EQ(LogGridFormat, QStringLiteral("100100100000000"));
    EXPECT_EQ(f->lengthText(), QStringLiteral("040"));
    for (int i = 0; i < 15; ++i) f->check(i)->setChecked(true);
    EXPECT_EQ(f->lengthText(), QStringLiteral("156"));
    f->cmdSave_Click();
    EXPECT_EQ(readDataFile(QStringLiteral("loggridformat.ini")), QByteArray("111111111111111\r\n"));
    f->cmdOK_Click();
    EXPECT_FALSE(LogFormatOpen);
    ASSERT_EQ(w->model()->columnCount(), 16);
    EXPECT_EQ(w->titles()->item(0, 15)->text(), QStringLiteral("Aux"));
    EXPECT_EQ(w->cell(1, 1), QStringLiteral("20040307"));
}

TEST_F(LogTest, EveryPanelsLoggingItemOpensTheLogWindow) {
    registerPanelWindows();
    frmNoRx* p = forms::load<frmNoRx>();
    ASSERT_TRUE(p && p->isLoaded());
    QAction* item = p->menuItem(QStringLiteral("mnuLog"));
    ASSERT_TRUE(item);
    EXPECT_TRUE(item->isEnabled());
    item->trigger();
    ASSERT_TRUE(LogOpen);
    frmLog* w = forms::loaded<frmLog>();
    EXPECT_TRUE(w->isVisible());
    p->hide();
    w->cmdRezeri_Click();
    EXPECT_TRUE(p->isVisible()) << "ReZeri shows the panel of the receiver type";
    forms::destroyAll();
}

struct BoxPanel : PanelHandlers {
    QString text;
    void frequencyAChanged(double kHz) override { text = QString::number(kHz, 'f', 3); }
    QString frequencyText() const override { return text; }
};

TEST_F(LogTest, AFrequencyClickTunesTheReceiverAndSetsTheRecordsMode) {
    sim::Rx320Sim sim;
    ASSERT_TRUE(sim.start());
    CommPort port;
    port.setDeviceName(sim.devicePath());
    ASSERT_TRUE(port.setSettings(QStringLiteral("1200,N,8,1")));
    ASSERT_TRUE(port.open());
    Comm1 = &port;
    RxType = 3;
    initrx320tables();
    Rx320Bw = 2;
    Rx320Agc = 2;
    BoxPanel panel;
    setOpenPanel(&panel);

    writeLog({rec({{3, "09410"}, {4, "45444"}, {8, "6195"}, {13, "u"}}), rec({{3, "15400"}, {13, ""}})});
    frmLog* w = forms::load<frmLog>();
    ASSERT_TRUE(runLoader(4, 0));
    // Columns: 0 number, 1 date, 2 start, 3 end, 4 frequency, 5 SINPO, ... 9 the first "//Freq".
    w->grdLog_Click(1, 4);
    EXPECT_EQ(Rx320Freq, 9410);
    EXPECT_EQ(Rx320Mode, 1) << "the record's \"u\" sets USB";
    EXPECT_EQ(LogOpen ? w->frequencyBox()->text() : QString(), QString()) << "this panel fills no box";

    w->grdLog_Click(1, 5);   // the SINPO code is no frequency
    EXPECT_EQ(Rx320Freq, 9410);
    w->grdLog_Click(1, 9);
    EXPECT_EQ(Rx320Freq, 6195);
    w->grdLog_Click(2, 4);   // no RX setting: the mode stays
    EXPECT_EQ(Rx320Freq, 15400);
    EXPECT_EQ(Rx320Mode, 1);
    dialogs.expect(QStringLiteral("Frequency outside range"));
    w->grdLog_Click(0, 4);
    EXPECT_EQ(Rx320Freq, 15400);

    // Enter in the frequency box tunes to it; a double click empties it.
    w->frequencyBox()->setText(QStringLiteral("7100,5"));
    w->txtFrequencyA_Enter();
    EXPECT_DOUBLE_EQ(Rx320Freq, 7100.5);
    w->txtFrequencyA_DblClick();
    EXPECT_TRUE(w->frequencyBox()->text().isEmpty());

    // Get Current Setting: UTC from the clock, the panel's frequency, the mode letter.
    w->cmdAddrecord_Click();
    frmLoginput* in = forms::loaded<frmLoginput>();
    ASSERT_TRUE(in);
    in->cmdGetcurrentsetting_Click();
    EXPECT_EQ(in->box(0)->text(), QStringLiteral("20040307"));
    EXPECT_EQ(in->box(1)->text(), QStringLiteral("0130"));
    EXPECT_EQ(in->box(3)->text(), QStringLiteral("7100.500"));
    EXPECT_EQ(in->box(13)->text(), QStringLiteral("u"));
    dialogs.expect(QStringLiteral("current record by current Rx setting"), dialogs::Answer::No);
    in->box(3)->setText(QStringLiteral("1"));
    in->cmdGetcurrentsetting_Click();
    EXPECT_EQ(in->box(3)->text(), QStringLiteral("1"));
    in->cmdCancel_Click();

    w->unload();
    clearOpenPanel(&panel);
    resetFacade();
    port.close();
    sim.stop();
}

} // namespace
} // namespace dovrane::test
