// The frequency scratchpad: its file's comma format, the window's loader and
// writer behind the file choosers, its questions, and sending a cell to the
// receiver (a simulated RX-320 on a pseudo-terminal).
#include "drivers/model_tables.h"
#include "drivers/rx320/rx320_state.h"
#include "lists/frmscratchpad.h"
#include "lists/scratchpad_file.h"
#include "platform/commport.h"
#include "shell/common_tables.h"
#include "shell/facade.h"
#include "shell/file_kinds.h"
#include "shell/globals.h"
#include "sim/rx320_sim.h"
#include "support/paste.h"
#include "support/test_env.h"

#include <QAbstractItemDelegate>
#include <QLineEdit>
#include <QTableWidget>

namespace dovrane::test {
namespace {

TEST(ScratchpadFile, EveryFieldEndedByACommaIsACell) {
    EXPECT_EQ(scratchpadCells(QStringLiteral("7100,,9500,")),
              (QStringList{QStringLiteral("7100"), QString(), QStringLiteral("9500")}));
    EXPECT_EQ(scratchpadCells(QStringLiteral("7100,9500")), QStringList{QStringLiteral("7100")});
    EXPECT_TRUE(scratchpadCells(QStringLiteral("7100")).isEmpty());
    EXPECT_EQ(scratchpadCells(QStringLiteral(",,,,,,,,")).size(), 8);
    EXPECT_EQ(scratchpadCells(QStringLiteral("1,2,3,4,5,6,7,8,9,10,")).size(), 8);
    EXPECT_EQ(scratchpadLine({QStringLiteral("7100"), QString(), QStringLiteral("x y")}), QStringLiteral("7100,,x y,"));
    EXPECT_EQ(scratchpadCellText(QStringLiteral("7,125")), QStringLiteral("7.125"));
}

class ScratchpadTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        initcommontables();
        setFileKindPaths();
        FileKindName[9] = QStringLiteral("FSP_TEST.TXT");
    }
    void TearDown() override {
        resetFacade();
        clearFileKindHandlers();
        AppTest::TearDown();
    }
    void writeFile(const QByteArray& content) { writeDataFile(QStringLiteral("FSP/FSP_TEST.TXT"), content); }
    QByteArray readFile() const { return readDataFile(QStringLiteral("FSP/FSP_TEST.TXT")); }
    static QString cell(frmScratchpad* w, int r, int c) {
        const QTableWidgetItem* item = w->grid()->item(r, c);
        return item ? item->text() : QStringLiteral("(none)");
    }
    static void type(frmScratchpad* w, int r, int c, const QString& text) {
        w->grid()->setCurrentCell(r, c);
        w->grid()->item(r, c)->setText(text);
    }
};

TEST_F(ScratchpadTest, LoadingShowsTheLinesReadAndOneEmptyRow) {
    frmScratchpad* w = forms::load<frmScratchpad>();
    ASSERT_TRUE(ScratchpadOpen);
    EXPECT_EQ(w->grid()->rowCount(), 10);
    EXPECT_EQ(w->grid()->columnCount(), 8);
    EXPECT_EQ(w->grid()->columnWidth(0), 59);
    EXPECT_TRUE(hasLoader(9, 0));
    EXPECT_TRUE(hasWriter(9));

    writeFile("7100,,9500,\r\n,,,,,,,,\r\n7100,9500\n");
    ASSERT_TRUE(runLoader(9, 0));
    ASSERT_EQ(w->grid()->rowCount(), 4);
    EXPECT_EQ(cell(w, 0, 0), QStringLiteral("7100"));
    EXPECT_EQ(cell(w, 0, 1), QString());
    EXPECT_EQ(cell(w, 0, 2), QStringLiteral("9500"));
    EXPECT_EQ(cell(w, 2, 0), QStringLiteral("7100"));
    EXPECT_EQ(cell(w, 2, 1), QString()) << "text after the last comma is no cell";
    EXPECT_EQ(w->grid()->currentRow(), 0);

    // Saving straight away writes the rows shown, the empty one included.
    ASSERT_EQ(runWriter(9), std::optional<bool>(true));
    EXPECT_EQ(readFile(), QByteArray("7100,,9500,,,,,,\r\n,,,,,,,,\r\n7100,,,,,,,,\r\n,,,,,,,,\r\n"));

    w->unload();
    EXPECT_FALSE(hasLoader(9, 0)) << "without its window the kind has nowhere to load to";
}

TEST_F(ScratchpadTest, EveryCellShownComesBackAfterSaveAndLoad) {
    frmScratchpad* w = forms::load<frmScratchpad>();
    // A file longer than the grid loads its first ten lines.
    QByteArray twelve;
    for (int i = 0; i < 12; ++i) twelve += QByteArray::number(1000 + i) + ",\r\n";
    writeFile(twelve);
    ASSERT_TRUE(runLoader(9, 0));
    ASSERT_EQ(w->grid()->rowCount(), 10) << "no row is shown that the file could not take back";
    EXPECT_EQ(cell(w, 9, 0), QStringLiteral("1009"));

    // Fill every cell, the last row too, with a decimal comma here and there
    // and pasted line breaks and tabs elsewhere.
    const char* const typed[] = {"%1,%2", "%1\r\n%2", "%1\t%2", "%1\n%2\r"};
    for (int r = 0; r < 10; ++r)
        for (int c = 0; c < 8; ++c) type(w, r, c, QString::fromLatin1(typed[(r + c) % 4]).arg(r).arg(c));
    EXPECT_EQ(cell(w, 9, 7), QStringLiteral("9.7")) << "a comma would split the cell in the file";
    EXPECT_EQ(cell(w, 0, 1), QStringLiteral("0 1")) << "a line break would split the row";
    EXPECT_EQ(cell(w, 1, 1), QStringLiteral("1 1"));
    EXPECT_EQ(cell(w, 2, 1), QStringLiteral("2 1 "));
    // And a paste into the cell's own editor.
    QTableWidget* g = w->grid();
    g->setCurrentCell(3, 3);
    g->editItem(g->item(3, 3));
    auto* editor = g->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    pasteInto(editor, QStringLiteral("7100\r\n9500"));
    emit g->itemDelegate()->commitData(editor);
    EXPECT_EQ(cell(w, 3, 3), QStringLiteral("7100 9500"));
    const QList<QStringList> shown = w->rows();
    ASSERT_EQ(runWriter(9), std::optional<bool>(true));
    w->cleargridscratchpad();
    EXPECT_EQ(cell(w, 4, 4), QString());
    ASSERT_TRUE(runLoader(9, 0));
    EXPECT_EQ(w->rows(), shown);
    // And once more: nothing creeps in or drops out.
    ASSERT_EQ(runWriter(9), std::optional<bool>(true));
    ASSERT_TRUE(runLoader(9, 0));
    EXPECT_EQ(w->rows(), shown);
    EXPECT_EQ(readFile().count('\n'), 10);
}

TEST_F(ScratchpadTest, ClearingAndLeavingAskFirst) {
    frmScratchpad* w = forms::load<frmScratchpad>();
    type(w, 1, 1, QStringLiteral("5000"));
    type(w, 2, 2, QStringLiteral("6000"));
    w->grid()->setCurrentCell(1, 1);
    dialogs.expect(QStringLiteral("the active scratchpad gridcell"), dialogs::Answer::No);
    w->cmdClrcell_Click();
    EXPECT_EQ(cell(w, 1, 1), QStringLiteral("5000"));
    EXPECT_EQ(dialogs.shown().back().title, QStringLiteral("Clear grid cell check"));
    dialogs.expect(QStringLiteral("the active scratchpad gridcell"), dialogs::Answer::Yes);
    w->cmdClrcell_Click();
    EXPECT_EQ(cell(w, 1, 1), QString());
    EXPECT_EQ(cell(w, 2, 2), QStringLiteral("6000"));
    dialogs.expect(QStringLiteral("the whole scratchpad grid"), dialogs::Answer::Cancel);
    w->cmdClrgrid_Click();
    EXPECT_EQ(cell(w, 2, 2), QStringLiteral("6000"));
    dialogs.expect(QStringLiteral("the whole scratchpad grid"), dialogs::Answer::Yes);
    w->cmdClrgrid_Click();
    EXPECT_EQ(cell(w, 2, 2), QString());
    EXPECT_EQ(w->grid()->currentRow(), 0);
    EXPECT_EQ(w->grid()->currentColumn(), 0);

    dialogs.expect(QStringLiteral("from the Frequency Scratchpad"), dialogs::Answer::Cancel);
    w->cmdExit_Click();
    EXPECT_TRUE(ScratchpadOpen);
    dialogs.expect(QStringLiteral("from the Frequency Scratchpad"), dialogs::Answer::No);
    w->cmdExit_Click();
    EXPECT_FALSE(ScratchpadOpen);
}

struct BoxPanel : PanelHandlers {
    QString text = QStringLiteral("?");
    void frequencyAChanged(double kHz) override { text = QString::number(kHz, 'f', 3); }
    QString frequencyText() const override { return text; }
};

TEST_F(ScratchpadTest, ACellTunesTheReceiverAndTakesWhatThePanelShows) {
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

    frmScratchpad* w = forms::load<frmScratchpad>();
    type(w, 0, 0, QStringLiteral("7100"));
    w->grdScratchpad_DblClick();
    EXPECT_EQ(Rx320Freq, 7100);
    EXPECT_EQ(cell(w, 0, 0), QStringLiteral("7100.000"));

    // A refused value stays in the cell as typed.
    type(w, 0, 1, QStringLiteral("45000"));
    dialogs.expect(QStringLiteral("Frequency outside range"));
    w->grdScratchpad_DblClick();
    EXPECT_EQ(cell(w, 0, 1), QStringLiteral("45000"));
    // An empty cell does nothing at all.
    w->grid()->setCurrentCell(3, 3);
    w->grdScratchpad_DblClick();

    // "To Scratchpad " copies the panel's box; "To Receiver" only tunes.
    w->grid()->setCurrentCell(5, 5);
    w->cmdRx2sp_Click();
    EXPECT_EQ(cell(w, 5, 5), QStringLiteral("7100.000"));
    type(w, 6, 0, QStringLiteral("9500"));
    w->cmdSp2rx_Click();
    EXPECT_EQ(Rx320Freq, 9500);
    EXPECT_EQ(cell(w, 6, 0), QStringLiteral("9500"));

    // Without a receiver neither button does anything.
    RxType = 0;
    w->grid()->setCurrentCell(7, 0);
    w->cmdRx2sp_Click();
    EXPECT_EQ(cell(w, 7, 0), QString());

    w->unload();
    clearOpenPanel(&panel);
    resetFacade();
    port.close();
    sim.stop();
}

} // namespace
} // namespace dovrane::test
