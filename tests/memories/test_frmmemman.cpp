// The memory manager window without a receiver: opening, the detail frame,
// Cls, Exit and closing with unsaved data, the memory file through the
// window, the sort command and the memory scan's stepping.
#include "drivers/model_tables.h"
#include "memories/frmmemman.h"
#include "memories/memory_image.h"
#include "memories/memory_texts.h"
#include "shell/common_tables.h"
#include "shell/file_kinds.h"
#include "shell/globals.h"
#include "support/test_env.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>

namespace dovrane::test {
namespace {

class MemmanWindowTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        initcommontables();
        setFileKindPaths();
    }
    void TearDown() override {
        clearFileKindHandlers();
        AppTest::TearDown();
    }
    frmMemman* open(int rxType) {
        RxType = rxType;
        switch (rxType) {
        case 1: initar7030tables(); break;
        case 2: initnrd535tables(); break;
        case 3: initrx320tables(); break;
        case 4: initnrd545tables(); break;
        default: initnorxtables(); break;
        }
        frmMemman* m = forms::load<frmMemman>();
        m->show();
        return m;
    }
    template <class T = QWidget> static T* control(QWidget* w, const char* name) {
        T* c = w->findChild<T*>(QLatin1String(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    static QString text(QWidget* w, const char* name) {
        if (auto* l = w->findChild<QLabel*>(QLatin1String(name))) return l->text();
        return control<QLineEdit>(w, name)->text();
    }
    static bool enabled(QWidget* w, const char* name) { return control<QPushButton>(w, name)->isEnabled(); }
};

TEST_F(MemmanWindowTest, OpeningSetsUpTheGridAndTheButtonsPerModel) {
    struct Case {
        int rxType;
        QString to;
        int rows;
    } cases[] = {{0, " 99", 101}, {1, " 99", 101}, {2, " 199", 201}, {3, " 99", 101}, {4, " 999", 1001}};
    for (const Case& c : cases) {
        frmMemman* m = open(c.rxType);
        EXPECT_TRUE(MemmanOpen);
        EXPECT_EQ(text(m, "txtTo"), c.to);
        EXPECT_EQ(m->gridModel()->rowCount(), c.rows);
        EXPECT_FALSE(m->memarrayloaded());
        EXPECT_EQ(enabled(m, "cmdFetch"), c.rxType != 3);
        EXPECT_TRUE(enabled(m, "cmdLoad"));
        EXPECT_FALSE(enabled(m, "cmdsaveas"));
        EXPECT_FALSE(enabled(m, "cmdFill"));
        EXPECT_EQ(m->titles()->item(0, 1)->text(), QStringLiteral(" FREQUENCY"));
        m->memcmdenabler(true);
        EXPECT_EQ(enabled(m, "cmdFill"), c.rxType != 3) << "the RX-320 has no memory";
        EXPECT_TRUE(enabled(m, "cmdSort"));
        EXPECT_FALSE(control<QPushButton>(m, "cmdScanstop")->isVisibleTo(m));
        m->unload();
        EXPECT_FALSE(MemmanOpen);
        forms::collect();
    }
}

TEST_F(MemmanWindowTest, FileLoadShowsTheCellsAndSaveWritesThem) {
    frmMemman* m = open(2);
    QByteArray file;
    file += "MEM000 09650000 4 01 0 1 @@@ @@@ @ Radio One\r\n";
    file += "\r\n";
    file += "MEM002 07100000 5 03 @ @ 004 250 1 from an AR7030\r\n";
    writeDataFile(QStringLiteral("MEM/MEM_2a.TXT"), file);
    FileKindName[8] = QStringLiteral("MEM_2a.TXT");
    ASSERT_TRUE(runLoader(8, 0));
    EXPECT_TRUE(m->memarrayloaded());
    EXPECT_FALSE(MemImage.modified());
    EXPECT_EQ(m->titles()->item(0, 5)->text(), QStringLiteral("MEM_2a.TXT"));
    EXPECT_EQ(m->gridModel()->index(0, 4).data().toString().trimmed(), QStringLiteral("Radio One"));
    EXPECT_EQ(m->gridModel()->index(1, 1).data().toString(), QString());
    EXPECT_EQ(m->gridModel()->index(2, 2).data().toString(), QStringLiteral("NFM"));

    // The detail frame of the AR7030 record shown with the NRD-535's tables.
    m->selectRow(2);
    m->grdMemman_Click();
    EXPECT_EQ(text(m, "lblCellnr"), QStringLiteral("002"));
    EXPECT_EQ(text(m, "lblBfo"), QStringLiteral("-0.2k"));
    EXPECT_EQ(text(m, "lblAtt"), QStringLiteral("---"));
    EXPECT_EQ(text(m, "lblScan"), QStringLiteral("?"));
    m->lblTo_Click();
    EXPECT_EQ(text(m, "txtTo"), QStringLiteral("002"));
    // The empty row after the last cell shows its number only.
    m->selectRow(200);
    m->grdMemman_Click();
    EXPECT_EQ(text(m, "lblCellnr"), QStringLiteral("200"));
    EXPECT_EQ(text(m, "lblBfo"), QStringLiteral("-0.2k"));

    FileKindName[8] = QStringLiteral("MEM_2b.TXT");
    ASSERT_EQ(runWriter(8), std::optional<bool>(true));
    const QByteArray saved = readDataFile(QStringLiteral("MEM/MEM_2b.TXT"));
    EXPECT_TRUE(saved.startsWith("MEM000 09650000 4 01 0 1 @@@ @@@ @ Radio One"));
    EXPECT_EQ(saved.count("\r\n"), 200);
    EXPECT_TRUE(saved.contains("\r\n\r\nMEM002")) << "the empty cell stays an empty line";

    // A file that cannot be read leaves the image as it was.
    FileKindName[8] = QStringLiteral("MEM_2none.TXT");
    dialogs.expect(QStringLiteral("could not be read"));
    runLoader(8, 0);
    EXPECT_TRUE(m->memarrayloaded());
}

TEST_F(MemmanWindowTest, ClsExitAndCloseAskBeforeDataIsLost) {
    frmMemman* m = open(1);
    // Save, Sort, Change need data.
    dialogs.expect(QStringLiteral("No data loaded in the\nMemMan Window"));
    m->cmdsaveas_Click();
    dialogs.expect(memtext::SortEmptyTitle);
    m->cmdSort_Click();
    dialogs.expect(memtext::ChangeErrorTitle);
    m->cmdChange_Click();

    MemImage.setRecord(3, QStringLiteral("MEM003 07100000 5 03 @ @ 004 250 1 "));
    MemImage.setModified(true);
    dialogs.expect(memtext::ClsTitle, dialogs::Answer::Cancel);
    m->cmdCls_Click();
    EXPECT_TRUE(m->memarrayloaded());
    dialogs.expect(memtext::ExitQuestion, dialogs::Answer::Cancel);
    m->close();
    EXPECT_TRUE(MemmanOpen) << "Cancel keeps the window";
    dialogs.expect(memtext::ExitQuestion, dialogs::Answer::No);
    m->close();
    EXPECT_FALSE(MemmanOpen);
    forms::collect();

    m = open(1);
    EXPECT_FALSE(m->memarrayloaded()) << "a new window starts with an empty image";
    m->close();
    EXPECT_FALSE(MemmanOpen) << "nothing to lose, no question";
}

TEST_F(MemmanWindowTest, SortRebuildsTheGrid) {
    frmMemman* m = open(1);
    for (int n = 0; n <= 99; ++n) MemImage.setRecord(n, vacantRecord(n));
    MemImage.setRecord(40, QStringLiteral("MEM040 15400000 1 02 @ @ 000 020 0 "));
    MemImage.setRecord(41, QStringLiteral("MEM041 07100000 5 03 @ @ 004 250 1 "));
    dialogs.expect(QStringLiteral("on frequency ?"), dialogs::Answer::Yes).expect(memtext::Sorted);
    m->cmdSort_Click();
    EXPECT_EQ(m->gridModel()->index(0, 1).data().toString(), QStringLiteral("07100.000"));
    EXPECT_EQ(m->gridModel()->index(1, 1).data().toString(), QStringLiteral("15400.000"));
    EXPECT_EQ(m->gridModel()->index(41, 0).data().toString(), QStringLiteral("041"));
    EXPECT_EQ(m->gridModel()->index(41, 1).data().toString(), QStringLiteral("No data "));
}

// Without a receiver (No RX, or a model whose port never opened) Fill runs
// its questions and banner, then says that nothing was written.
TEST_F(MemmanWindowTest, FillWithoutAReceiverSaysNothingWasWritten) {
    for (int rxType : {0, 2}) {
        SCOPED_TRACE(rxType);
        frmMemman* m = open(rxType);
        MemImage.setRecord(3, rxType == 0 ? QStringLiteral("MEM003 07100000 @ @@ @ @ @@@ @@@ @ ")
                                          : QStringLiteral("MEM003 07100000 2 01 1 0 @@@ @@@ @ "));
        m->memcmdenabler(true);
        control<QLineEdit>(m, "txtFrom")->setText(QStringLiteral("0"));
        control<QLineEdit>(m, "txtTo")->setText(QStringLiteral("5"));
        dialogs.expect(QStringLiteral("overwrite the Receiver"), dialogs::Answer::Yes).expect(memtext::NoReceiverFill);
        m->cmdFill_Click();
        EXPECT_EQ(dialogs.pending(), 0);
        EXPECT_EQ(dialogs.shown().last().title, memtext::FillTitle);
        EXPECT_FALSE(dialogs.shown().last().text.contains(QStringLiteral("MemMan data is now")));
        EXPECT_TRUE(enabled(m, "cmdFill"));
        m->unload();
        forms::collect();
    }
}

TEST_F(MemmanWindowTest, ScanStepsThroughTheRangeAndWraps) {
    struct Case {
        int rxType;
        QString from, to, delay;
        int interval;
        int topRow;
        QList<int> cells;
    } cases[] = {
        {2, "5", "8", "2", 1900, 5, {5, 6, 7, 8, 5, 6}},
        {1, "5", "8", "2", 1050, 5, {5, 6, 7, 8, 5}},
        {1, "7", "3", "0.5", 50, 3, {3, 4, 5, 6, 7, 3}},
        {1, "95", "96", "61", 59050, 84, {95, 96, 95}},
    };
    for (const Case& c : cases) {
        frmMemman* m = open(c.rxType);
        control<QLineEdit>(m, "txtFrom")->setText(c.from);
        control<QLineEdit>(m, "txtTo")->setText(c.to);
        control<QLineEdit>(m, "txtDelay")->setText(c.delay);
        m->cmdScanrun_Click();
        EXPECT_EQ(m->scanTimer()->interval(), 100);
        EXPECT_EQ(MemScanTopRow, c.topRow);
        EXPECT_TRUE(m->scanTimer()->isActive());
        EXPECT_TRUE(control<QPushButton>(m, "cmdScanstop")->isVisibleTo(m));
        EXPECT_FALSE(enabled(m, "cmdExit"));
        QList<int> seen;
        for (int i = 0; i < c.cells.size(); ++i) {
            m->tmrScan_Timer();
            seen << CurMemNr;
        }
        EXPECT_EQ(seen, c.cells) << c.from.toStdString();
        EXPECT_EQ(m->scanTimer()->interval(), c.interval);
        EXPECT_EQ(m->grid()->currentIndex().row(), c.cells.last());
        m->cmdScanstop_Click();
        EXPECT_FALSE(m->scanTimer()->isActive());
        EXPECT_TRUE(enabled(m, "cmdExit"));
        m->unload();
        forms::collect();
    }

    frmMemman* m = open(2);
    control<QLineEdit>(m, "txtFrom")->setText(QStringLiteral("199"));
    dialogs.expect(memtext::InputError);
    m->cmdScanrun_Click();
    EXPECT_FALSE(m->scanTimer()->isActive());
    EXPECT_EQ(text(m, "txtFrom"), QStringLiteral("0"));
}

} // namespace
} // namespace dovrane::test
