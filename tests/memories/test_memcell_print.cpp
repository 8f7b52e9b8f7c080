// The cell editor without a receiver (the record it builds, its refusals) and
// the memory print-out, read back from a PDF file.
#include "drivers/memory_record.h"
#include "drivers/model_tables.h"
#include "memories/frmmemcell.h"
#include "memories/frmmemman.h"
#include "memories/memory_cell.h"
#include "memories/memory_image.h"
#include "memories/memory_print.h"
#include "memories/memory_texts.h"
#include "shell/common_tables.h"
#include "shell/globals.h"
#include "shell/file_kinds.h"
#include "support/paste.h"
#include "support/test_env.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>

namespace dovrane::test {
namespace {

void initTables(int rxType) {
    switch (rxType) {
    case 1:
        initar7030tables();
        // The AR7030 panel names the filters the receiver has fitted.
        redimBwTexts(6);
        for (int i = 1; i <= 6; ++i) BwTexts[i] = QStringLiteral("%1.0").arg(i);
        break;
    case 2: initnrd535tables(); break;
    case 3: initrx320tables(); break;
    case 4: initnrd545tables(); break;
    default: initnorxtables(); break;
    }
}

class MemcellTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        initcommontables();
        setFileKindPaths();
    }
    void TearDown() override {
        memoryPrinter = nullptr;
        AppTest::TearDown();
    }
    frmMemman* open(int rxType) {
        RxType = rxType;
        initTables(rxType);
        frmMemman* m = forms::load<frmMemman>();
        m->show();
        return m;
    }
    frmMemcell* editor(frmMemman* m, int cell, void (frmMemman::*button)()) {
        CurMemNr = cell;
        (m->*button)();
        return forms::loaded<frmMemcell>();
    }
    template <class T> static T* control(QWidget* w, const char* name) {
        T* c = w->findChild<T*>(QLatin1String(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    static void choose(QWidget* w, const char* combo, const QString& text) {
        auto* c = control<QComboBox>(w, combo);
        const int i = c->findText(text);
        ASSERT_GE(i, 0) << combo << " has no " << text.toStdString();
        c->setCurrentIndex(i);
    }
};

TEST_F(MemcellTest, RecordsPerModelFollowTheColumnLayout) {
    struct Case {
        int rxType;
        CellFields f;
        std::optional<QString> record;
    } cases[] = {
        {1, {40, "7100", 5, 3, -1, -1, 4, 250, 1}, QStringLiteral("MEM040 07100000 5 03 @ @ 004 250 1 ")},
        {2, {12, "7100,5", 2, 3, 1, 0}, QStringLiteral("MEM012 07100500 2 03 1 0 @@@ @@@ @ ")},
        {0, {12, "7,125"}, QStringLiteral("MEM012 00007125 @ @@ @ @ @@@ @@@ @ ")},
        {4, {999, "29999.999", 6, 2, 0, 9}, QStringLiteral("MEM999 29999999 6 02 0 9 @@@ @@@ @ ")},
        {3, {7, "9650", 0, 33, -1, 3}, QStringLiteral("MEM007 09650000 0 33 @ 3 @@@ @@@ @ ")},
        {0, {7, "9650"}, QStringLiteral("MEM007 09650000 @ @@ @ @ @@@ @@@ @ ")},
        // Refused: above FreqMax, a vacant cell's "No da.ta", a cell beyond the
        // model, a mode the model does not have, a missing attenuator.
        {2, {12, "31000", 2, 3, 1, 0}, std::nullopt},
        {2, {12, "No da.ta ", 2, 3, 1, 0}, std::nullopt},
        {2, {200, "7100", 2, 3, 1, 0}, std::nullopt},
        {2, {12, "7100", 8, 3, 1, 0}, std::nullopt},
        {4, {12, "7100", 2, 1, -1, 0}, std::nullopt},
        // The NRD-545's AM-U, AM-L and WFM: read from its channels, never written.
        {4, {12, "7100", 7, 1, 0, 0}, std::nullopt},
        {4, {12, "7100", 9, 1, 0, 0}, std::nullopt},
        {0, {7, "123456789"}, std::nullopt},
    };
    for (const Case& c : cases) {
        initTables(c.rxType);
        const int max = c.rxType == 2 ? 199 : c.rxType == 4 ? 999 : 99;
        EXPECT_EQ(buildCellRecord(c.rxType, c.f, max), c.record) << c.rxType << " " << c.f.frequency.toStdString();
    }
}

TEST_F(MemcellTest, CopyChangeAndDeleteIntoTheImage) {
    frmMemman* m = open(4);
    MemImage.setRecord(12, QStringLiteral("MEM012 09650000 6 02 1 7 @@@ @@@ @ "));
    MemImage.setTag(12, QStringLiteral("AMS channel"));

    // Copy 012 to 040.
    frmMemcell* e = editor(m, 12, &frmMemman::cmdCopy_Click);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->windowTitle(), QStringLiteral("Copy to other Mem Cell"));
    EXPECT_EQ(control<QComboBox>(e, "cmbMode")->currentText(), QStringLiteral("AMS"));
    choose(e, "cmbCellnr", QStringLiteral("040"));
    dialogs.expect(QStringLiteral("Window row 040 with the"), dialogs::Answer::Yes).expect(QStringLiteral("040 is now updated"));
    e->cmdToMMWorRM_Click(0);
    EXPECT_EQ(MemImage.record(40), QStringLiteral("MEM040 09650000 6 02 1 7 @@@ @@@ @ "));
    EXPECT_EQ(MemImage.tag(40).trimmed(), QStringLiteral("AMS channel"));
    EXPECT_EQ(MemImage.record(12).left(6), QStringLiteral("MEM012"));
    EXPECT_EQ(CurMemNr, 40);
    EXPECT_EQ(m->gridModel()->index(40, 2).data().toString(), QStringLiteral("AMS"));

    // A change refused: nothing is written.
    e = editor(m, 40, &frmMemman::cmdChange_Click);
    EXPECT_FALSE(control<QComboBox>(e, "cmbCellnr")->isEnabled());
    control<QLineEdit>(e, "txtFrequency")->setText(QStringLiteral("35000"));
    dialogs.expect(memtext::InputError);
    e->cmdToMMWorRM_Click(0);
    EXPECT_EQ(MemImage.record(40), QStringLiteral("MEM040 09650000 6 02 1 7 @@@ @@@ @ "));

    // Delete.
    e = editor(m, 40, &frmMemman::cmdDelete_Click);
    dialogs.expect(QStringLiteral("empty the MemMan\nWindow cell 040"), dialogs::Answer::Yes).expect(QStringLiteral("updated"));
    e->cmdToMMWorRM_Click(0);
    EXPECT_EQ(MemImage.record(40), vacantRecord(40));
    EXPECT_TRUE(MemImage.tag(40).trimmed().isEmpty());
    EXPECT_EQ(m->gridModel()->index(40, 1).data().toString(), QStringLiteral("No data "));
}

// The editor offers each model's modes up to the last one its channels are
// edited with; a channel of another mode (the NRD-545's WFM) shows none, and
// nothing chosen writes nothing.
TEST_F(MemcellTest, TheEditorOffersTheModesOfTheModelsChannels) {
    const struct {
        int rxType;
        QStringList modes;
    } cases[] = {
        {1, {"AM", "Sync", "NFM", "Data", "CW", "LSB", "USB"}},
        {2, {}},
        {3, {"AM", "USB", "LSB", "CW"}},
        {4, {"RY", "CW", "USB", "LSB", "AM", "NFM", "AMS"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rxType);
        frmMemman* m = open(c.rxType);
        QStringList expected = c.modes;
        if (c.rxType == 2)   // as its options stand: the ECSS modes only with ECSS
            for (int i = 0; i <= 8; ++i)
                if (takesCode(modelCodes(2)->mode, i)) expected << ModeTexts[i];
        MemImage.setRecord(3, QStringLiteral("MEM003 09650000 9 02 1 7 @@@ @@@ @ "));
        frmMemcell* e = editor(m, 3, &frmMemman::cmdChange_Click);
        ASSERT_NE(e, nullptr);
        auto* mode = control<QComboBox>(e, "cmbMode");
        QStringList offered;
        for (int i = 0; i < mode->count(); ++i) offered << mode->itemText(i);
        EXPECT_EQ(offered, expected);
        if (c.rxType == 4) {
            EXPECT_EQ(mode->currentIndex(), -1) << "a WFM channel shows no mode";
            dialogs.expect(memtext::InputError);
            e->cmdToMMWorRM_Click(1);
            EXPECT_EQ(dialogs.pending(), 0);
        }
        forms::destroyAll();
    }
}

// The frequency box of a cell without a frequency is empty for the user to
// fill in, not the vacant record's "No data" cut by a point.
TEST_F(MemcellTest, TheFrequencyBoxShowsTheCellsFrequencyOrNothing) {
    const struct {
        int rxType;
        QString record;
        QString box;
    } cases[] = {
        {2, QString(), QString()},
        {2, vacantRecord(12), QString()},
        {2, QStringLiteral("MEM012 07100500 2 03 1 0 @@@ @@@ @ "), QStringLiteral("07100.500")},
        {1, vacantRecord(12), QString()},
        {1, QStringLiteral("MEM012 32016000 1 02 @ @ 000 020 0 "), QStringLiteral("32016.000")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.record.toStdString());
        frmMemman* m = open(c.rxType);
        MemImage.setRecord(0, vacantRecord(0));
        if (!c.record.isEmpty()) MemImage.setRecord(12, c.record);
        frmMemcell* e = editor(m, 12, &frmMemman::cmdChange_Click);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(control<QLineEdit>(e, "txtFrequency")->text(), c.box);
        m->unload();
        forms::collect();
    }
}

TEST_F(MemcellTest, Ar7030TagOnlyEditKeepsEveryByteAndModeSwitchesTheList) {
    frmMemman* m = open(1);
    const QString rec = QStringLiteral("MEM003 07100000 1 02 @ @ 004 001 0 ");
    MemImage.setRecord(3, rec);
    frmMemcell* e = editor(m, 3, &frmMemman::cmdChange_Click);
    EXPECT_EQ(control<QLabel>(e, "lblSqlBfo")->text(), QStringLiteral("Sql"));
    control<QLineEdit>(e, "txtMemtag")->setText(QStringLiteral("new tag"));
    dialogs.expect(QStringLiteral("row 003"), dialogs::Answer::Yes).expect(QStringLiteral("updated"));
    e->cmdToMMWorRM_Click(0);
    EXPECT_EQ(MemImage.record(3), rec) << "PBS 4 and squelch 1 stay as they were";
    EXPECT_EQ(MemImage.tag(3).trimmed(), QStringLiteral("new tag"));

    choose(e, "cmbMode", QStringLiteral("CW"));
    EXPECT_EQ(control<QLabel>(e, "lblSqlBfo")->text(), QStringLiteral("BFO"));
    EXPECT_EQ(control<QComboBox>(e, "cmbSqlBfo")->count(), 85);
    EXPECT_EQ(control<QComboBox>(e, "cmbSqlBfo")->currentText(), QStringLiteral(" 0.0k"));
    choose(e, "cmbSqlBfo", QStringLiteral("+1.0k"));
    dialogs.expect(QStringLiteral("row 003"), dialogs::Answer::Yes).expect(QStringLiteral("updated"));
    e->cmdToMMWorRM_Click(0);
    EXPECT_EQ(MemImage.record(3), QStringLiteral("MEM003 07100000 5 02 @ @ 004 030 0 "));
}

TEST_F(MemcellTest, APastedLineBreakInTheTagStaysOnItsCellsLine) {
    frmMemman* m = open(2);
    const struct {
        int cell;
        QString pasted;
        const char* kept;
    } tags[] = {
        {12, QStringLiteral("night\r\nnet"), "night net"},
        {13, QStringLiteral("\tRTTY\n"), " RTTY "},
        {14, QStringLiteral("a\rb\u2028c"), "a b c"},
    };
    for (const auto& t : tags) {
        const QString record = QStringLiteral("MEM%1 07100500 2 03 1 0 @@@ @@@ @ ").arg(cellText(t.cell));
        MemImage.setRecord(t.cell, record);
        frmMemcell* e = editor(m, t.cell, &frmMemman::cmdChange_Click);
        ASSERT_NE(e, nullptr);
        pasteInto(control<QLineEdit>(e, "txtMemtag"), t.pasted);
        dialogs.expect(QStringLiteral("row ") + cellText(t.cell), dialogs::Answer::Yes).expect(QStringLiteral("updated"));
        e->cmdToMMWorRM_Click(0);
        EXPECT_EQ(MemImage.record(t.cell), record);
    }

    FileKindName[8] = QStringLiteral("MEM_2TEST.TXT");
    ASSERT_EQ(runWriter(8), std::optional<bool>(true));
    EXPECT_EQ(readDataFile(QStringLiteral("MEM/MEM_2TEST.TXT")).count('\n'), MaxMemNr + 1) << "one line a cell";
    const MemoryImage saved = MemImage;
    MemImage.create(MaxMemNr);
    ASSERT_TRUE(runLoader(8, 0));
    for (int n = 0; n <= MaxMemNr; ++n) EXPECT_EQ(MemImage.record(n), saved.record(n)) << n;
    for (const auto& t : tags)
        EXPECT_EQ(MemImage.tag(t.cell), fitText(QLatin1String(t.kept), MemoryTagLength)) << t.cell;
}

TEST_F(MemcellTest, PrintOutOfEveryCellReadsBackFromThePdf) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    for (int rxType : {0, 1, 2, 3, 4}) {
        frmMemman* m = open(rxType);
        for (int n = 0; n <= MaxMemNr; n += 3)
            MemImage.setRecord(n, QStringLiteral("MEM%1 %2 1 01 1 2 004 020 1 ")
                                      .arg(cellText(n))
                                      .arg(7000000 + n * 1000, 8, 10, QLatin1Char('0')));
        MemImage.setRecord(1, vacantRecord(1));
        MemImage.setTag(0, QStringLiteral("first tag"));
        FileKindName[8] = QStringLiteral("mem_%1test.txt").arg(rxType);
        const QString path = dataPath(QStringLiteral("print%1.pdf").arg(rxType));
        memoryPrinter = [path](const DocumentComposer& doc) { return printDocumentToPdf(path, doc); };
        // "From" may not be the highest cell.
        control<QLineEdit>(m, "txtFrom")->setText(QString::number(MaxMemNr));
        dialogs.expect(memtext::InputError);
        m->cmdPrint_Click();
        EXPECT_EQ(control<QLineEdit>(m, "txtFrom")->text(), QStringLiteral("0"));
        control<QLineEdit>(m, "txtFrom")->setText(QStringLiteral("0"));
        control<QLineEdit>(m, "txtTo")->setText(QString::number(MaxMemNr));
        dialogs.expect(QStringLiteral("memorycells   0  to   %1").arg(MaxMemNr), dialogs::Answer::Yes);
        m->cmdPrint_Click();
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
        ASSERT_TRUE(p.waitForFinished(60000));
        const QStringList got = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'));
        QStringList simplified;
        for (const QString& l : got) simplified << l.simplified();
        const QStringList want = memoryPrintLines(rxType, MemImage, 0, MaxMemNr, FileKindName[8]);
        int cellLines = 0;
        for (const QString& l : want) {
            if (l.trimmed().isEmpty()) continue;
            EXPECT_TRUE(simplified.contains(l.simplified())) << rxType << ": " << l.toStdString();
        }
        for (const QString& l : simplified)
            if (QRegularExpression(QStringLiteral("^\\d{3} \\d{5}\\.\\d{3}")).match(l).hasMatch()) ++cellLines;
        EXPECT_EQ(cellLines, MaxMemNr + 1) << rxType;
        EXPECT_TRUE(simplified.contains(QStringLiteral("MEM_%1TEST.TXT").arg(rxType)));
        m->unload();
        forms::collect();
    }
}

TEST_F(MemcellTest, PrintLinesPerModel) {
    initTables(1);
    EXPECT_EQ(memoryPrintHeader(1), QStringLiteral("     Nr  Frequency Mode  Bw    PBS  Sql  BFO  Scn Alpha tag"));
    EXPECT_EQ(memoryPrintLine(1, 3, QStringLiteral("MEM003 07100000 5 02 @ @ 004 030 0 "), QStringLiteral("cw")),
              QStringLiteral("     003 07100.000   CW ") + BwTexts.value(2).rightJustified(4) +
                  QStringLiteral("  +0.1k     +1.0k Y  ") + QStringLiteral("cw").leftJustified(45));
    EXPECT_TRUE(memoryPrintLine(1, 4, QStringLiteral("MEM004 07100000 1 02 @ @ 004 030 0 "), QString())
                    .contains(QStringLiteral("+0.1k 20        Y  ")));
    EXPECT_TRUE(memoryPrintLine(1, 5, vacantRecord(5), QString()).startsWith(QStringLiteral("     005 00000.000 ")));
    initnrd535tables();
    EXPECT_EQ(memoryPrintHeader(2), QStringLiteral("     Nr  Frequency Mode Bw   Att  Agc  Alpha tag"));
    EXPECT_EQ(memoryPrintLine(2, 0, QStringLiteral("MEM000 09650000 4 01 1 2 @@@ @@@ @ "), QStringLiteral("x")),
              QStringLiteral("     000 09650.000   AM  Int -20 dB  Off  ") + QStringLiteral("x").leftJustified(45));
    EXPECT_EQ(memoryPrintLines(0, MemoryImage(), 0, -1, QStringLiteral("mem_0a.txt")),
              (QStringList{"", "", "     MEM_0A.TXT", "", "", ""}));
}

} // namespace
} // namespace dovrane::test
