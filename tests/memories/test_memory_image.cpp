// The memory image without a window: the memory file both ways, the grid row
// and detail texts of a record, and the sort on frequency.
#include "drivers/model_tables.h"
#include "memories/memory_file.h"
#include "memories/memory_image.h"
#include "memories/memory_reports.h"
#include "memories/memory_texts.h"
#include "memories/memory_transfer.h"
#include "shell/globals.h"
#include "support/test_env.h"

namespace dovrane::test {
namespace {

const QString kAm = QStringLiteral("MEM000 09650000 4 01 0 1 @@@ @@@ @ ");        // NRD, AM
const QString kCw = QStringLiteral("MEM001 07001500 5 03 @ @ 004 250 1 ");        // AR7030, CW
const QString kOdd = QStringLiteral("MEM002 00001000 9 77 8 9 @@@ @@@ 5 ");       // out of every table

class MemoryImageTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        initnrd535tables();
    }
};

TEST_F(MemoryImageTest, FileRoundTripKeepsRecordsTagsAndEmptyCells) {
    MemoryImage image;
    image.create(199);
    image.setRecord(0, kAm);
    image.setTag(0, QStringLiteral("Radio One   "));
    image.setRecord(5, vacantRecord(5));
    image.setRecord(7, kCw);
    image.setTag(7, QString(45, QLatin1Char('x')) + QStringLiteral("cut"));

    const QStringList lines = memoryFileLines(image);
    ASSERT_EQ(lines.size(), 200);
    EXPECT_EQ(lines[0].size(), 80);
    EXPECT_EQ(lines[0], kAm + QStringLiteral("Radio One").leftJustified(45));
    EXPECT_TRUE(lines[1].isEmpty()) << "an empty cell is an empty line";

    const MemoryImage back = memoryImageFromLines(lines, 199);
    for (int n = 0; n <= 199; ++n) {
        EXPECT_EQ(back.record(n), image.record(n)) << n;
        EXPECT_EQ(back.tag(n).trimmed(), image.tag(n).trimmed()) << n;
        EXPECT_EQ(back.isEmpty(n), image.isEmpty(n)) << n;
    }
    EXPECT_EQ(back.tag(7), QString(45, QLatin1Char('x')));

    // A file of blank lines gives an image without data.
    EXPECT_FALSE(memoryImageFromLines(QStringList(100, QString(80, QLatin1Char(' '))), 99).anyLoaded());
    EXPECT_FALSE(MemoryImage().anyLoaded());
}

TEST_F(MemoryImageTest, FileLinesOfEveryLengthAndEveryModelSize) {
    struct Case {
        QString line;
        QString record;
        QString tag;
    } cases[] = {
        {kAm.left(34), kAm, QString()},
        {kAm, kAm, QString(45, QLatin1Char(' '))},
        {kAm.left(34) + QStringLiteral("#") + QStringLiteral("tag"), kAm, QStringLiteral("tag").leftJustified(45)},
        {kAm + QString(50, QLatin1Char('t')), kAm, QString(45, QLatin1Char('t'))},
        {QStringLiteral("MEM003 0700"), QString(), QString()},  // not a record: an empty cell
    };
    for (const Case& c : cases) {
        const MemoryImage img = memoryImageFromLines({c.line}, 99);
        EXPECT_EQ(img.record(0), c.record) << c.line.toStdString();
        EXPECT_EQ(img.tag(0), c.tag) << c.line.toStdString();
    }

    QStringList thousand;
    for (int n = 0; n < 1000; ++n) thousand << vacantRecord(n);
    const MemoryImage small = memoryImageFromLines(thousand, 99);
    EXPECT_EQ(small.maxMemNr(), 99);
    EXPECT_EQ(small.record(99), vacantRecord(99));
    const MemoryImage big = memoryImageFromLines(thousand.mid(0, 100), 999);
    EXPECT_EQ(big.record(99), vacantRecord(99));
    EXPECT_TRUE(big.isEmpty(100));
    EXPECT_TRUE(big.isEmpty(999));
}

TEST_F(MemoryImageTest, OnlyLinesThatAreAModelsRecordFillTheirCells) {
    struct Case {
        QString line;
        bool record;
    } cases[] = {
        {kAm, true},
        {kCw, true},
        {QStringLiteral("MEM002 09650000 3 33 @ 2 @@@ @@@ @ "), true},  // RX-320
        {QStringLiteral("MEM003 09650000 9 02 1 9 @@@ @@@ @ "), true},  // NRD-545
        {QStringLiteral("MEM004 09650000 @ @@ @ @ @@@ @@@ @ "), true},  // no receiver
        {vacantRecord(5), true},
        {kOdd, false},
        {QStringLiteral("MEM007 0965000x 4 01 0 1 @@@ @@@ @ "), false},
        {QStringLiteral("MEM008 07001500 5 03 @ @ 004 256 1 "), false},  // a byte above 255
        {QStringLiteral("MEM009 09650000 4 01 0 1 004 @@@ @ "), false},  // NRD with a PBS byte
        {QStringLiteral("MEM010-05000000-2-01-0-1-@@@-@@@-@ "), false},  // the fields' own blanks are not
        {QStringLiteral("XXX011 No data  4 @@ @ @ @@@ @@@ @ "), false},
        {QStringLiteral("\x8f\x03ZK\xff\x12 q\xe4~\x01@@ MEM"), false},
        {QString(35, QLatin1Char(' ')) + QStringLiteral("a tag alone"), false},
    };
    QStringList lines;
    int expectedBad = 0;
    for (const Case& c : cases) {
        lines << c.line + QStringLiteral("tag");
        expectedBad += c.record ? 0 : 1;
    }
    int bad = -1;
    const MemoryImage img = memoryImageFromLines(lines, 99, &bad);
    for (int i = 0; i < int(std::size(cases)); ++i) {
        EXPECT_EQ(img.record(i), cases[i].record ? cases[i].line : QString()) << cases[i].line.toStdString();
        EXPECT_EQ(img.tag(i).isEmpty(), !cases[i].record) << i;
    }
    EXPECT_EQ(bad, expectedBad);
}

TEST_F(MemoryImageTest, EachModelsRecordsHoldItsCodesUpToTheLastAndNoFurther) {
    // The NRD-535's codes all count with its options fitted.
    Settings[NarrowFilterOption] = 1;
    Settings[EcssOption] = 1;
    // A record of each model with every field at a code it has.
    const QString base[] = {
        QStringLiteral("MEM004 09650000 @ @@ @ @ @@@ @@@ @ "),  // no receiver
        QStringLiteral("MEM004 09650000 1 01 @ @ 000 000 0 "),  // AR7030
        QStringLiteral("MEM004 09650000 0 00 0 0 @@@ @@@ @ "),  // NRD-535
        QStringLiteral("MEM004 09650000 0 00 @ 1 @@@ @@@ @ "),  // RX-320
        QStringLiteral("MEM004 09650000 0 00 0 0 @@@ @@@ @ "),  // NRD-545
    };
    struct Field {
        int rxType;
        int first, last;  // columns
        int lowest, highest;  // -1, -1: the model has no such field
    } fields[] = {
        {1, 17, 17, 1, 7},   {1, 19, 20, 1, 6},  {1, 22, 22, -1, -1}, {1, 24, 24, -1, -1},
        {1, 26, 28, 0, 255}, {1, 30, 32, 0, 255}, {1, 34, 34, 0, 1},
        {2, 17, 17, 0, 8},   {2, 19, 20, 0, 3},  {2, 22, 22, 0, 1},   {2, 24, 24, 0, 2},
        {2, 26, 28, -1, -1}, {2, 30, 32, -1, -1}, {2, 34, 34, -1, -1},
        {3, 17, 17, 0, 3},   {3, 19, 20, 0, 33}, {3, 22, 22, -1, -1}, {3, 24, 24, 1, 3},
        {3, 26, 28, -1, -1}, {3, 34, 34, -1, -1},
        {4, 17, 17, 0, 9},   {4, 19, 20, 0, 2},  {4, 22, 22, 0, 1},   {4, 24, 24, 0, 9},
        {4, 30, 32, -1, -1},
        {0, 17, 17, -1, -1}, {0, 19, 20, -1, -1}, {0, 24, 24, -1, -1}, {0, 34, 34, -1, -1},
    };
    for (int m = 0; m <= 4; ++m) {
        EXPECT_TRUE(isRecordOf(base[m], m)) << m;
        EXPECT_TRUE(isRecordOf(vacantRecord(4), m)) << m;
    }
    for (const Field& f : fields) {
        const int width = f.last - f.first + 1;
        auto with = [&](int code) {
            return base[f.rxType].left(f.first - 1) + QStringLiteral("%1").arg(code, width, 10, QLatin1Char('0')) +
                   base[f.rxType].mid(f.last);
        };
        auto fitsWidth = [&](int code) { return code >= 0 && QString::number(code).size() <= width; };
        const std::string where = std::to_string(f.rxType) + " columns " + std::to_string(f.first);
        if (f.highest < 0) {
            EXPECT_FALSE(isRecordOf(with(0), f.rxType)) << where << ": a field the model does not have";
            continue;
        }
        EXPECT_TRUE(isRecordOf(with(f.highest), f.rxType)) << where;
        EXPECT_TRUE(isRecordOf(with(f.lowest), f.rxType)) << where;
        if (fitsWidth(f.highest + 1)) {
            EXPECT_FALSE(isRecordOf(with(f.highest + 1), f.rxType)) << where << ": one above the last code";
        }
        if (fitsWidth(f.lowest - 1)) {
            EXPECT_FALSE(isRecordOf(with(f.lowest - 1), f.rxType)) << where << ": one below the first code";
        }
        const QString at = base[f.rxType].left(f.first - 1) + QString(width, QLatin1Char('@')) + base[f.rxType].mid(f.last);
        EXPECT_FALSE(isRecordOf(at, f.rxType)) << where << ": a field the model has, in its \"@\" form";
    }
}

TEST_F(MemoryImageTest, ACodeOfAnOptionSuitsOnlyAReceiverThatHasIt) {
    const QString ecssMode = QStringLiteral("MEM000 09650000 7 01 0 1 @@@ @@@ @ ");
    const QString narrow = QStringLiteral("MEM000 09650000 2 02 0 1 @@@ @@@ @ ");
    const QString both = QStringLiteral("MEM000 09650000 8 02 0 1 @@@ @@@ @ ");
    struct Case {
        QString record;
        int rxType;
        float narrowFilter, ecss;
        RecordFit fit;
        int option;
    } cases[] = {
        {ecssMode, 2, 1, 0, RecordFit::LacksOption, EcssOption},
        {ecssMode, 2, 0, 1, RecordFit::Fits, 0},
        {narrow, 2, 0, 1, RecordFit::LacksOption, NarrowFilterOption},
        {narrow, 2, 1, 0, RecordFit::Fits, 0},
        {both, 2, 0, 0, RecordFit::LacksOption, EcssOption},
        {both, 2, 1, 1, RecordFit::Fits, 0},
        {both, 4, 0, 0, RecordFit::Fits, 0},  // the options are the NRD-535's
        {kAm, 2, 0, 0, RecordFit::Fits, 0},
        {kCw, 2, 1, 1, RecordFit::Foreign, 0},
    };
    for (const Case& c : cases) {
        Settings[NarrowFilterOption] = c.narrowFilter;
        Settings[EcssOption] = c.ecss;
        const RecordCheck check = checkRecord(c.record, c.rxType);
        const std::string where = c.record.toStdString() + " on " + std::to_string(c.rxType);
        EXPECT_EQ(check.fit, c.fit) << where;
        EXPECT_EQ(check.option, c.option) << where;
        EXPECT_EQ(isRecordOf(c.record, c.rxType), c.fit == RecordFit::Fits) << where;
        // A memory file keeps such a record whatever the receiver lacks.
        EXPECT_TRUE(isMemoryRecord(c.record)) << where;
    }
}

TEST_F(MemoryImageTest, WriteAndReadTheFileOnDisk) {
    MemoryImage image;
    image.create(99);
    image.setRecord(3, kAm);
    const QString path = dataPath(QStringLiteral("MEM/MEM_1test.TXT"));
    ASSERT_TRUE(writeMemoryFile(path, image));
    const QByteArray bytes = readDataFile(QStringLiteral("MEM/MEM_1test.TXT"));
    EXPECT_TRUE(bytes.startsWith("\r\n\r\n\r\nMEM000 09650000")) << "CR LF after every line";
    MemoryImage back;
    ASSERT_TRUE(readMemoryFile(path, 99, back));
    EXPECT_EQ(back.record(3), kAm);
    MemoryImage untouched = back;
    EXPECT_FALSE(readMemoryFile(dataPath(QStringLiteral("MEM/none.TXT")), 99, untouched));
    EXPECT_EQ(untouched.record(3), kAm);
}

TEST_F(MemoryImageTest, GridRowsShowTheModelsTexts) {
    struct Case {
        QString record;
        QStringList cells;
    } cases[] = {
        {kAm, {"000", "09650.000", "AM", "Int", "t"}},
        {vacantRecord(12), {"012", "No data ", " ", " ", "t"}},
        {kOdd, {"002", "00001.000", "?", "?", "t"}},
        {QStringLiteral("MEM004 00000001 2 02 0 0 @@@ @@@ @ "), {"004", "00000001", "USB", "Nar", "t"}},
        {QString(), {"", "", "", "", "t"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(memoryRowCells(c.record, QStringLiteral("t")), c.cells) << c.record.toStdString();
}

TEST_F(MemoryImageTest, ATextTheModelLeavesEmptyShowsEmptyInItsOwnRecords) {
    struct Case {
        float ecss;
        QString record;
        QString mode;
    } cases[] = {
        {0, QStringLiteral("MEM000 09650000 7 01 0 1 @@@ @@@ @ "), QString()},
        {0, QStringLiteral("MEM000 09650000 8 01 0 1 @@@ @@@ @ "), QString()},
        {1, QStringLiteral("MEM000 09650000 8 01 0 1 @@@ @@@ @ "), QStringLiteral("AM-L")},
        {0, QStringLiteral("MEM000 09650000 9 01 0 1 @@@ @@@ @ "), QStringLiteral("?")},  // outside the table
        {0, QStringLiteral("MEM000 07001500 7 01 @ @ 004 250 1 "), QStringLiteral("?")},  // the AR7030's USB
        {0, QStringLiteral("MEM000 07001500 5 01 @ @ 004 250 1 "), QStringLiteral("NFM")},
    };
    RxType = 2;
    for (const Case& c : cases) {
        Settings[12] = c.ecss;
        initnrd535tables();
        EXPECT_EQ(memoryRowCells(c.record, QString()).value(2), c.mode) << c.record.toStdString() << c.ecss;
    }
}

TEST_F(MemoryImageTest, DetailTextsFollowModeAndAtFields) {
    initar7030tables();
    const MemoryDetail cw = memoryDetail(kCw);
    EXPECT_EQ(cw.att, QStringLiteral("---"));
    EXPECT_EQ(cw.agc, QStringLiteral("---"));
    EXPECT_EQ(cw.pbs, QStringLiteral("+0.1k"));
    EXPECT_EQ(cw.bfo, QStringLiteral("-0.2k"));
    EXPECT_EQ(cw.sql, QStringLiteral("---"));
    EXPECT_EQ(cw.scan, QStringLiteral("N"));

    const MemoryDetail am = memoryDetail(QStringLiteral("MEM001 07001500 1 03 @ @ 000 020 0 "));
    EXPECT_EQ(am.bfo, QStringLiteral("---"));
    EXPECT_EQ(am.sql, QStringLiteral("13"));
    EXPECT_EQ(am.scan, QStringLiteral("Y"));

    initnrd535tables();
    const MemoryDetail nrd = memoryDetail(kAm);
    EXPECT_EQ(nrd.att, QStringLiteral("0 dB"));
    EXPECT_EQ(nrd.agc, QStringLiteral("Fst"));
    EXPECT_EQ(nrd.pbs, QStringLiteral("---"));
    EXPECT_EQ(nrd.scan, QStringLiteral("-"));
    const MemoryDetail odd = memoryDetail(kOdd);
    EXPECT_EQ(odd.att, QStringLiteral("?"));
    EXPECT_EQ(odd.agc, QStringLiteral("?"));
    EXPECT_EQ(odd.scan, QStringLiteral("?"));
}

TEST_F(MemoryImageTest, SortOrdersChannelsAndKeepsEveryRecordsOwnData) {
    MemoryImage image;
    image.create(99);
    for (int n = 0; n <= 99; ++n) image.setRecord(n, vacantRecord(n));
    const QStringList freqs{"15400000", "07100000", "09650000", "07100000"};
    for (int i = 0; i < freqs.size(); ++i) {
        image.setRecord(10 + i, QStringLiteral("MEM%1 %2 4 01 0 1 @@@ @@@ @ ").arg(cellText(10 + i), freqs[i]));
        image.setTag(10 + i, QStringLiteral("tag %1").arg(i));
    }
    // A channel at 0 Hz, a cell never filled and a cell left unread.
    image.setRecord(20, QStringLiteral("MEM020 00000000 4 01 0 1 @@@ @@@ @ "));
    image.setRecord(30, QString());
    image.setRecord(31, QString());
    image.setUnread(31, true);

    sortOnFrequency(image);
    EXPECT_EQ(recordColumns(image.record(0), 8, 15), QStringLiteral("07100000"));
    EXPECT_EQ(image.tag(0).trimmed(), QStringLiteral("tag 1"));
    EXPECT_EQ(image.tag(1).trimmed(), QStringLiteral("tag 3")) << "equal frequencies keep their order";
    EXPECT_EQ(recordColumns(image.record(2), 8, 15), QStringLiteral("09650000"));
    EXPECT_EQ(recordColumns(image.record(3), 8, 15), QStringLiteral("15400000"));
    EXPECT_EQ(image.record(3).left(6), QStringLiteral("MEM003"));
    EXPECT_EQ(image.tag(3).trimmed(), QStringLiteral("tag 0"));
    for (int n = 4; n <= 97; ++n) {
        EXPECT_FALSE(image.record(n).contains(QLatin1String("32016666"))) << n;
        EXPECT_EQ(recordColumns(image.record(n), 4, 6), cellText(n)) << n;
    }
    // Vacant cells and the channel without a frequency, in their old order.
    EXPECT_EQ(image.record(4), vacantRecord(4));
    EXPECT_EQ(image.record(20), QStringLiteral("MEM020 00000000 4 01 0 1 @@@ @@@ @ "));
    EXPECT_EQ(image.record(97), vacantRecord(97));
    EXPECT_TRUE(image.isEmpty(98));
    EXPECT_TRUE(image.isEmpty(99));
    EXPECT_TRUE(image.isUnread(99)) << "the unread mark travels with its cell";
    EXPECT_TRUE(image.modified());
}

TEST_F(MemoryImageTest, CellsAreNamedInRuns) {
    QList<int> many;
    for (int n = 0; n < 40; n += 2) many << n;
    const struct {
        QList<int> cells;
        QString text;
    } cases[] = {
        {{}, QString()},
        {{5}, QStringLiteral("005")},
        {{6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30},
         QStringLiteral("006 to 030")},
        {{4, 1, 3, 3}, QStringLiteral("001, 003 to 004")},
        {{998, 999, 0}, QStringLiteral("000, 998 to 999")},
        {many, QStringLiteral("000, 002, 004, 006, 008, 010, 012, 014, 016, 018, 020, 022, ...")},
    };
    for (const auto& c : cases) EXPECT_EQ(cellList(c.cells), c.text) << c.text.toStdString();
}

// Each kind of cell a fill did not write is told once, with its own count:
// the cells refused for an option by option, the other refusals apart.
TEST_F(MemoryImageTest, FillNotesTellEachKindOfCellNotWritten) {
    using Result = MemoryTransfer::Result;
    auto result = [](int refused, std::map<int, int> lacking, int notCleared, QList<int> unread, QList<int> empty) {
        Result r;
        r.refused = refused;
        r.lackingOption = std::move(lacking);
        r.notCleared = notCleared;
        r.unreadSkipped = std::move(unread);
        r.emptySkipped = std::move(empty);
        return r;
    };
    const QString suits = QStringLiteral(" cell(s) not written:\ntheir record does not suit this receiver");
    const QString ecss = QStringLiteral(
        " cell(s) not written:\ntheir record needs the option \"ECSS\",\nwhich the set-up says this receiver lacks");
    const QString narrow = QStringLiteral(
        " cell(s) not written:\ntheir record needs the option \"1 kHz\",\nwhich the set-up says this receiver lacks");
    const struct {
        Result res;
        QString notes;
    } cases[] = {
        {Result{}, QString()},
        {result(1, {}, 0, {}, {}), QLatin1Char('1') + suits},
        {result(2, {{EcssOption, 2}}, 0, {}, {}), QLatin1Char('2') + ecss},
        {result(4, {{EcssOption, 1}, {NarrowFilterOption, 1}}, 0, {}, {}),
         QLatin1Char('1') + narrow + QStringLiteral("\n\n1") + ecss + QStringLiteral("\n\n2") + suits},
        {result(3, {{EcssOption, 1}}, 2, {6, 7, 8}, {40, 41, 99}),
         QStringLiteral("2 vacant cell(s) left as they were in the receiver:\nthe NRD-545 cannot clear a channel\n\n1") +
             ecss + QStringLiteral("\n\n2") + suits +
             QStringLiteral("\n\n3 unread cell(s) not written:\n006 to 008"
                            "\n\n3 empty cell(s) not written,\ntheir channels are left as they were:\n040 to 041, 099")},
    };
    for (const auto& c : cases) EXPECT_EQ(fillNotes(c.res), c.notes);
}

// A fill's report tells what it knows: the cells written and confirmed go
// unnamed, those sent after the receiver's last answer are "not confirmed",
// those never sent "not written"; a fill that wrote nothing does not report
// the memory loaded.
TEST_F(MemoryImageTest, FillReportTellsConfirmedUnconfirmedAndUnwrittenCells) {
    using Result = MemoryTransfer::Result;
    auto result = [](int moved, bool lost, int stoppedAt, QList<int> unconfirmed, int left = -1) {
        Result r;
        r.moved = moved;
        r.lost = lost;
        r.stoppedAt = stoppedAt;
        r.unconfirmed = std::move(unconfirmed);
        r.left = left;
        return r;
    };
    const QString notice = QStringLiteral("The receiver does not answer\n/dev/ttyUSB0");
    const QString unconfirmed = QStringLiteral("Cell(s) %1 were sent, but not confirmed.");
    const QString notWritten = QStringLiteral("Cell(s) %1 were not written.");
    const QString left = QStringLiteral("\n\nChannel 199, the status channel, was left as it was.");
    const struct {
        const char* what;
        Result res;
        QString text;
        QString title;
        bool failure;
    } cases[] = {
        {"all written", result(21, false, -1, {}), memtext::Filled, memtext::FilledTitle, false},
        {"lost in the middle", result(13, true, 13, {7, 8, 9, 10, 11, 12}),
         notice + "\n\n" + unconfirmed.arg("007 to 012") + '\n' + notWritten.arg("013 to 020"),
         memtext::FillStoppedTitle, true},
        {"silent from the start", result(0, true, 0, {}), notice + "\n\n" + notWritten.arg("000 to 020"),
         memtext::FillStoppedTitle, true},
        {"lost at the last cell", result(20, true, 20, {17, 18, 19}),
         notice + "\n\n" + unconfirmed.arg("017 to 019") + '\n' + notWritten.arg("020"), memtext::FillStoppedTitle,
         true},
        {"lost after the last write", result(21, true, 21, {19, 20}),
         notice + "\n\n" + unconfirmed.arg("019 to 020"), memtext::FillStoppedTitle, true},
        {"nothing to write", result(0, false, -1, {}), memtext::NothingFilled, memtext::FillTitle, false},
        {"the status channel left", result(20, false, -1, {}, 199), memtext::Filled + left, memtext::FilledTitle,
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const FillReport report = fillReport(c.res, 20, c.res.lost ? notice : QString());
        EXPECT_EQ(report.text, c.text);
        EXPECT_EQ(report.title, c.title);
        EXPECT_EQ(report.failure, c.failure);
    }
}

} // namespace
} // namespace dovrane::test
