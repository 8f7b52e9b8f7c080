// Fetch, fill and Set R2M of the memory manager against the simulated
// receivers at their real baud rates, through the real panels, drivers and
// port: a fetched image saved, reloaded and filled back leaves the receiver's
// channels as they were; a receiver that stops answering in the middle of a
// fetch leaves the cells read and marks the rest unread.
#include "drivers/ar7030/ar7030_protocol.h"
#include "drivers/model_tables.h"
#include "platform/timeouts.h"
#include "memman_rig.h"
#include "support/waits.h"
#include "memories/memory_file.h"
#include "memories/frmmemcell.h"
#include "platform/clock.h"
#include "shell/frmsavefile.h"
#include "shell/frmsetup.h"
#include "panels/frmar7030.h"
#include "panels/frmnrd535.h"
#include "panels/frmnrd545.h"
#include "sim/ar7030_sim.h"
#include "sim/nrd535_sim.h"
#include "sim/nrd545_sim.h"
#include "support/when_shown.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSet>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <array>
#include <atomic>
#include <cctype>
#include <map>

namespace dovrane::test {
namespace {

using Setting = sim::NrdSimBase::Setting;

// ---- NRD receivers ------------------------------------------------------

template <class Sim, class Panel, int Type>
class NrdMemmanTest : public MemmanRig<Sim, Panel, Type, 4800> {
protected:
    using Base = MemmanRig<Sim, Panel, Type, 4800>;
    std::map<int, std::optional<Setting>> channels(int from, int to) {
        std::map<int, std::optional<Setting>> out;
        for (int ch = from; ch <= to; ++ch) out[ch] = this->sim.channel(ch);
        return out;
    }
    // The commands that store or clear a channel.
    int channelWrites() {
        this->sim.waitIdle();
        int n = 0;
        for (const QByteArray& c : this->sim.commandTexts())
            if ((c.startsWith('K') && c.size() > 1 && std::isdigit(uint8_t(c[1]))) || c.startsWith("U5")) ++n;
        return n;
    }
};

class Nrd535Memman : public NrdMemmanTest<sim::Nrd535Sim, frmNRD535, 2> {};
class Nrd545Memman : public NrdMemmanTest<sim::Nrd545Sim, frmNRD545, 4> {};

TEST_F(Nrd535Memman, FetchSaveReloadFillGivesTheReceiverItsChannelsBack) {
    sim.setChannel(0, Setting{0, 1, 4, 9650000, 1});
    sim.setChannel(3, Setting{1, 2, 2, 7100000, 0});
    sim.setChannel(12, Setting{0, 3, 3, 29999999, 2});
    ASSERT_NE(go(), nullptr);
    frmMemman* m = openMemman();
    const auto before = channels(0, 12);

    fetch(m, 12, QStringLiteral("Rx memory is now loaded"));
    EXPECT_EQ(MemImage.record(0), QStringLiteral("MEM000 09650000 4 01 0 1 @@@ @@@ @ "));
    EXPECT_EQ(MemImage.record(3), QStringLiteral("MEM003 07100000 2 02 1 0 @@@ @@@ @ "));
    EXPECT_EQ(MemImage.record(5), vacantRecord(5));
    EXPECT_TRUE(MemImage.isEmpty(13));
    EXPECT_EQ(m->gridModel()->index(3, 1).data().toString(), QStringLiteral("07100.000"));
    EXPECT_TRUE(enabled(m, "cmdFill"));
    EXPECT_FALSE(sim.inRemote()) << "the hold ends with the fetch";
    EXPECT_FALSE(sim.rtty());

    saveClearReload(m, QStringLiteral("MEM_2test.TXT"));
    EXPECT_EQ(MemImage.record(3), QStringLiteral("MEM003 07100000 2 02 1 0 @@@ @@@ @ "));

    // The receiver's channels change, then the file goes back in.
    sim.setChannel(0, Setting{1, 0, 1, 5000000, 2});
    sim.setChannel(5, Setting{1, 0, 1, 6000000, 2});
    sim.setChannel(20, Setting{1, 0, 1, 6100000, 2});
    fill(m, 12, 0, QStringLiteral("MemMan data is now"));
    EXPECT_EQ(channels(0, 12), before);
    EXPECT_EQ(sim.channel(20), (Setting{1, 0, 1, 6100000, 2})) << "outside the range";

    panel->hide();
    m->cmdRezeri_Click();
    EXPECT_TRUE(panel->isVisible());
}

TEST_F(Nrd535Memman, NothingButItsOwnRecordsFromAFileReachesTheReceiver) {
    for (int ch = 0; ch <= 3; ++ch) sim.setChannel(ch, Setting{0, 1, 4, 9000000 + ch * 1000, 1});
    ASSERT_NE(go(), nullptr);
    frmMemman* m = openMemman();
    fetch(m, 3, QStringLiteral("Rx memory is now loaded"));
    FileKindName[8] = QStringLiteral("MEM_2good.TXT");
    ASSERT_TRUE(savememfile());
    const QStringList fetched = memoryFileLines(MemImage);
    const auto before = channels(0, 3);

    QRandomGenerator random(2026);
    QByteArray junk;
    for (int i = 0; i < 3000; ++i) junk += char(random.bounded(256));
    writeDataFile(QStringLiteral("MEM/MEM_2junk.TXT"), junk);
    sim.clearCommands();
    load(m, QStringLiteral("MEM_2junk.TXT"), QStringLiteral("holds no memory records"));
    EXPECT_EQ(memoryFileLines(MemImage), fetched);
    EXPECT_EQ(m->titles()->item(0, 5)->text(), QStringLiteral("MEM_2good.TXT"));
    EXPECT_EQ(channelWrites(), 0);
    fill(m, 0, 3, QStringLiteral("MemMan data is now"));
    EXPECT_EQ(channels(0, 3), before);

    // Lines that are no record become empty cells, which leave their
    // channels as they were; another model's record is loaded, but not
    // written.
    writeDataFile(QStringLiteral("MEM/MEM_2mixed.TXT"), "MEM000 05000000 4 01 0 1 @@@ @@@ @ five\r\n" +
                                                            junk.left(60).replace('\n', ' ').replace('\r', ' ') +
                                                            "\r\nMEM002 07100000 9 02 1 7 @@@ @@@ @ an NRD-545's\r\n"
                                                            "MEM003 0710000 2 02 1 0 @@@ @@@ @ \r\n"
                                                            "MEM004-05000000-2-01-0-1-@@@-@@@-@ \r\n");
    load(m, QStringLiteral("MEM_2mixed.TXT"), QStringLiteral("3 line(s) of the file MEM_2mixed.TXT\nwere not memory"));
    EXPECT_EQ(m->titles()->item(0, 5)->text(), QStringLiteral("MEM_2mixed.TXT"));
    EXPECT_TRUE(MemImage.isEmpty(1));
    EXPECT_TRUE(MemImage.isEmpty(3));
    EXPECT_TRUE(MemImage.isEmpty(4));
    fill(m, 0, 4, QStringLiteral("1 cell(s) not written"));
    EXPECT_TRUE(dialogs.shown().last().text.contains(QStringLiteral("3 empty cell(s) not written")));
    EXPECT_TRUE(dialogs.shown().last().text.endsWith(QStringLiteral(":\n001, 003 to 004")));
    EXPECT_EQ(sim.channel(0), (Setting{0, 1, 4, 5000000, 1}));
    EXPECT_EQ(sim.channel(1), before.at(1));
    EXPECT_EQ(sim.channel(2), before.at(2));
    EXPECT_EQ(sim.channel(3), before.at(3));
    EXPECT_EQ(sim.channel(4), std::nullopt) << "a line with dashes for blanks is no channel";
}

TEST_F(Nrd545Memman, FillTellsThatVacantCellsStayAsTheyWere) {
    sim.setChannel(0, Setting{0, 1, 4, 9650000, 10});
    sim.setChannel(2, Setting{1, 2, 9, 10000, 90});
    ASSERT_NE(go(), nullptr);
    frmMemman* m = openMemman();
    fetch(m, 4, QStringLiteral("Rx memory is now loaded"));
    EXPECT_EQ(MemImage.record(2), QStringLiteral("MEM002 00010000 9 02 1 9 @@@ @@@ @ "));
    saveClearReload(m, QStringLiteral("MEM_4test.TXT"));

    sim.setChannel(0, Setting{1, 0, 1, 5000000, 20});
    sim.setChannel(2, std::nullopt);
    sim.setChannel(4, Setting{1, 0, 1, 6000000, 20});
    sim.clearCommands();
    fill(m, 0, 4, QStringLiteral("3 vacant cell(s) left as they were"));
    EXPECT_EQ(sim.channel(0), (Setting{0, 1, 4, 9650000, 10}));
    EXPECT_EQ(sim.channel(2), (Setting{1, 2, 9, 10000, 90}));
    EXPECT_EQ(sim.channel(4), (Setting{1, 0, 1, 6000000, 20})) << "no command clears it";
    EXPECT_EQ(channelWrites(), 2) << sim.commandTexts().join(" ").toStdString();
}

TEST_F(Nrd535Memman, AReceiverThatFallsSilentEndsTheFetchWithOneMessage) {
    for (int ch = 0; ch <= 30; ++ch) sim.setChannel(ch, Setting{0, 1, 4, 9000000 + ch * 1000, 1});
    ASSERT_NE(go(), nullptr);
    frmMemman* m = openMemman();
    // From channel 6 on the receiver answers nothing at all.
    auto silent = std::make_shared<std::atomic<bool>>(false);
    sim.setReplyFilter([silent](const QByteArray& command, const QByteArray& reply) -> QList<QByteArray> {
        if (command == "L006006") *silent = true;
        if (*silent) return {};
        return {reply};
    });
    QElapsedTimer t;
    t.start();
    fetch(m, 30, QStringLiteral("The receiver does not answer"));
    EXPECT_LT(t.elapsed(), 4000);

    const int firstUnread = 6;
    for (int n = 0; n < firstUnread; ++n) EXPECT_EQ(recordColumns(MemImage.record(n), 8, 15).toInt(), 9000000 + n * 1000);
    for (int n = firstUnread; n <= 30; ++n) {
        EXPECT_TRUE(MemImage.isUnread(n)) << n;
        EXPECT_TRUE(MemImage.isEmpty(n)) << n;
    }
    EXPECT_FALSE(MemImage.isUnread(31));
    EXPECT_EQ(m->gridModel()->index(30, 1).data().toString(), memtext::Unread);
    EXPECT_TRUE(enabled(m, "cmdFetch"));
    EXPECT_TRUE(enabled(m, "cmdExit"));

    // Filled back, the unread channels are left alone, not cleared.
    sim.setReplyFilter(nullptr);
    sim.clearCommands();
    fill(m, 0, 30, QStringLiteral("25 unread cell(s) not written:\n006 to 030"));
    EXPECT_EQ(channelWrites(), firstUnread);
    EXPECT_EQ(sim.channel(30), (Setting{0, 1, 4, 9030000, 1}));

    // Save names the unread cells before the file makes empty cells of them;
    // saved and loaded back, they still leave their channels alone.
    dialogs.expect(QStringLiteral("Cell(s) 006 to 030 were not read from the receiver"), dialogs::Answer::No);
    m->cmdsaveas_Click();
    EXPECT_EQ(forms::loaded<frmSavefile>(), nullptr) << "No saves nothing";
    dialogs.expect(memtext::SaveUnreadTitle, dialogs::Answer::Yes).expect(QStringLiteral("The data is now saved"));
    const auto answer = whenShown<frmSavefile>([](frmSavefile* chooser) {
        chooser->findChild<QComboBox*>(QStringLiteral("cmbSavefile"))->setEditText(QStringLiteral("MEM_2part.TXT"));
        chooser->cmdOK_Click();
    });
    m->cmdsaveas_Click();
    EXPECT_TRUE(answer.done()) << "the save chooser did not come";
    EXPECT_EQ(dialogs.pending(), 0);
    saveClearReload(m, QStringLiteral("MEM_2part.TXT"));
    EXPECT_FALSE(MemImage.isUnread(6));
    EXPECT_TRUE(MemImage.isEmpty(6));
    for (int ch = 0; ch <= 30; ++ch) sim.setChannel(ch, Setting{1, 0, 1, 5000000 + ch * 1000, 2});
    sim.clearCommands();
    fill(m, 0, 30, QStringLiteral("25 empty cell(s) not written,\ntheir channels are left as they were:\n006 to 030"));
    EXPECT_EQ(channelWrites(), firstUnread);
    EXPECT_EQ(sim.channel(5), (Setting{0, 1, 4, 9005000, 1}));
    EXPECT_EQ(sim.channel(6), (Setting{1, 0, 1, 5006000, 2}));
}

// A fetch that reads nothing leaves the image as the user had it: every
// cell, tag and unsaved change. One that stops part-way keeps what it read
// and marks the rest unread. Either way one message says both that the
// receiver does not answer and what became of the fetch.
TEST_F(Nrd535Memman, AFetchKeepsTheImageUntilTheReceiverGivesItsFirstChannel) {
    for (int ch = 0; ch <= 12; ++ch) sim.setChannel(ch, Setting{0, 1, 4, 9000000 + ch * 1000, 1});
    ASSERT_NE(go(), nullptr);
    frmMemman* m = openMemman();
    const struct {
        const char* what;
        const char* silentFrom;   // the channel read that goes unanswered
        int read;                 // channels read before it
        QString text;             // the message after the notice
    } cases[] = {
        {"silent from the start", "L000000", 0, memtext::FetchNothing},
        {"silent from channel 6", "L006006", 6,
         QStringLiteral("The receiver stopped answering at cell 006.\nCells 006 to 012 are marked unread.")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (int n = 0; n <= 12; ++n) {
            MemImage.setRecord(n, QStringLiteral("MEM%1 0%2 2 01 1 0 @@@ @@@ @ ").arg(cellText(n)).arg(7100000 + n * 1000));
            MemImage.setTag(n, QStringLiteral("kept %1").arg(n));
        }
        MemImage.setModified(true);
        m->gridModel()->refreshAll();
        auto silent = std::make_shared<std::atomic<bool>>(false);
        const QByteArray from = c.silentFrom;
        sim.setReplyFilter([silent, from](const QByteArray& command, const QByteArray& reply) -> QList<QByteArray> {
            if (command == from) *silent = true;
            if (*silent) return {};
            return {reply};
        });
        const qsizetype boxes = dialogs.shown().size();
        fetch(m, 12, QStringLiteral("The receiver does not answer"));
        pump(50);
        sim.setReplyFilter(nullptr);
        ASSERT_EQ(dialogs.shown().size(), boxes + 2) << "the question and one message";
        EXPECT_EQ(dialogs.shown().last().title, memtext::FetchStoppedTitle);
        EXPECT_EQ(dialogs.shown().last().text,
                  QStringLiteral("The receiver does not answer\n") + sim.devicePath() + QStringLiteral("\n\n") + c.text);
        EXPECT_TRUE(MemImage.modified());
        for (int n = 0; n <= 12; ++n) {
            if (c.read == 0) {
                EXPECT_EQ(recordColumns(MemImage.record(n), 8, 15).toInt(), 7100000 + n * 1000) << n;
                EXPECT_EQ(MemImage.tag(n).trimmed(), QStringLiteral("kept %1").arg(n)) << n;
                EXPECT_FALSE(MemImage.isUnread(n)) << n;
            } else if (n < c.read) {
                EXPECT_EQ(recordColumns(MemImage.record(n), 8, 15).toInt(), 9000000 + n * 1000) << n;
                EXPECT_TRUE(MemImage.tag(n).trimmed().isEmpty()) << n;
            } else {
                EXPECT_TRUE(MemImage.isUnread(n)) << n;
            }
        }
        EXPECT_EQ(m->gridModel()->index(12, 1).data().toString(), c.read == 0 ? QStringLiteral("07112.000") : memtext::Unread);
        EXPECT_TRUE(enabled(m, "cmdFetch"));
    }
}

// A fill counts as done only once the receiver answers after its writes; a
// receiver that does not answer ends it with one message that names the
// cells not known to be written.
TEST_F(Nrd535Memman, FillToAReceiverThatStoppedAnsweringIsNoSuccess) {
    const Setting before{1, 0, 1, 5000000, 2};
    for (int ch = 0; ch <= 20; ++ch) sim.setChannel(ch, before);
    ASSERT_NE(go(), nullptr);
    frmMemman* m = openMemman();
    for (int n = 0; n <= 20; ++n)
        MemImage.setRecord(n, QStringLiteral("MEM%1 0%2 2 01 1 0 @@@ @@@ @ ").arg(cellText(n)).arg(7100000 + n * 1000));
    // The cells sent but never confirmed, and those never sent.
    auto oneBox = [this](const QString& unconfirmed, const QString& notWritten) {
        pump(50);
        EXPECT_EQ(dialogs.pending(), 0);
        const dialogs::Box box = dialogs.shown().last();
        EXPECT_EQ(box.title, memtext::FillStoppedTitle);
        QString cells;
        if (!unconfirmed.isEmpty()) cells += QStringLiteral("Cell(s) %1 were sent, but not confirmed.\n").arg(unconfirmed);
        cells += QStringLiteral("Cell(s) %1 were not written.").arg(notWritten);
        EXPECT_EQ(box.text, QStringLiteral("The receiver does not answer\n") + sim.devicePath() + QStringLiteral("\n\n") + cells);
    };

    // Silent from the start: the hold's own status read already went
    // unanswered, and nothing is written.
    sim.setFault(sim::Fault::Silent);
    sim.clearCommands();
    qsizetype boxes = dialogs.shown().size();
    fill(m, 0, 20, QStringLiteral("The receiver does not answer"));
    oneBox(QString(), QStringLiteral("000 to 020"));
    EXPECT_EQ(dialogs.shown().size(), boxes + 2) << "the question and one message";
    EXPECT_EQ(channelWrites(), 0);
    for (int ch = 0; ch <= 20; ++ch) EXPECT_EQ(sim.channel(ch), before) << ch;
    EXPECT_TRUE(enabled(m, "cmdFill"));

    // Silent from the write of cell 9 on. A fill asks every few seconds
    // (passed here at cells 6 and 12): cell 6 was answered, cell 12 was not,
    // and the run stops there.
    sim.setFault(sim::Fault::None);
    QSet<QString> seen;
    QTimer clock;
    QObject::connect(&clock, &QTimer::timeout, [&] {
        const QString cell = control<QLabel>(m, QStringLiteral("lblCellnr"))->text();
        if (seen.contains(cell)) return;
        seen << cell;
        if (cell == QLatin1String("006") || cell == QLatin1String("012")) Clock::pass(6000);
        if (cell == QLatin1String("009")) sim.setFault(sim::Fault::Silent);
    });
    clock.start(0);
    sim.clearCommands();
    boxes = dialogs.shown().size();
    fill(m, 0, 20, QStringLiteral("The receiver does not answer"));
    clock.stop();
    oneBox(QStringLiteral("007 to 012"), QStringLiteral("013 to 020"));
    EXPECT_EQ(dialogs.shown().size(), boxes + 2);
    EXPECT_EQ(channelWrites(), 13) << "cells 0 to 12";
    EXPECT_EQ(sim.channel(8), (Setting{1, 1, 2, 7108000, 0}));
    for (int ch = 13; ch <= 20; ++ch) EXPECT_EQ(sim.channel(ch), before) << ch;
}

// The report tells what the fill did: the memory loaded only when a cell was
// written. The status channel is written on Yes, left on No while the rest
// of the range is written, and Cancel writes nothing.
TEST_F(Nrd535Memman, FillOfTheStatusChannelAsksFirst) {
    const Setting before{1, 0, 1, 5000000, 2};
    ASSERT_NE(go(), nullptr);
    frmMemman* m = openMemman();
    EXPECT_EQ(m->gridModel()->index(199, 0).data(Qt::ToolTipRole).toString(), memtext::StatusChannelTip);
    EXPECT_FALSE(m->gridModel()->index(198, 0).data(Qt::ToolTipRole).isValid());
    const QString left = QStringLiteral("Channel 199, the status channel, was left as it was.");
    const struct Case {
        const char* what;
        bool cleared;                 // Cls answered No before the fill
        int from;
        dialogs::Answer statusAnswer;
        QString report;               // the report's first line, empty for none
        QString title;
        int writes;
        bool statusWritten;
    } cases[] = {
        {"Yes writes both", false, 198, dialogs::Answer::Yes, memtext::Filled, memtext::FilledTitle, 2, true},
        {"No writes the rest", false, 198, dialogs::Answer::No, memtext::Filled, memtext::FilledTitle, 1, false},
        {"Cancel writes nothing", false, 198, dialogs::Answer::Cancel, QString(), QString(), 0, false},
        {"an emptied window writes nothing", true, 190, dialogs::Answer::Yes, memtext::NothingFilled,
         memtext::FillTitle, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (int ch = 190; ch <= 199; ++ch) sim.setChannel(ch, before);
        MemImage.setRecord(198, QStringLiteral("MEM198 07100000 2 01 1 0 @@@ @@@ @ "));
        MemImage.setRecord(199, QStringLiteral("MEM199 07200000 2 01 1 0 @@@ @@@ @ "));
        if (c.cleared) {
            dialogs.expect(memtext::ClsTitle, dialogs::Answer::No);
            m->cmdCls_Click();
        }
        sim.clearCommands();
        setText(m, "txtFrom", QString::number(c.from));
        setText(m, "txtTo", QStringLiteral("199"));
        dialogs.expect(QStringLiteral("overwrite the Receiver"), dialogs::Answer::Yes)
            .expect(QStringLiteral("Channel 199 is the program's status channel"), c.statusAnswer);
        if (!c.report.isEmpty()) dialogs.expect(c.report);
        const qsizetype boxes = dialogs.shown().size();
        m->cmdFill_Click();
        EXPECT_EQ(dialogs.pending(), 0);
        ASSERT_EQ(dialogs.shown().size(), boxes + 2 + (c.report.isEmpty() ? 0 : 1));
        if (!c.report.isEmpty()) {
            const dialogs::Box box = dialogs.shown().last();
            EXPECT_TRUE(box.text.startsWith(c.report)) << box.text.toStdString();
            EXPECT_EQ(box.title, c.title);
            EXPECT_EQ(box.text.contains(left), c.statusAnswer == dialogs::Answer::No) << box.text.toStdString();
        }
        EXPECT_EQ(channelWrites(), c.writes);
        // The status read after the fill overwrites the channel anyway: the
        // command tells.
        EXPECT_EQ(sim.commandTexts().contains(QByteArray("K199112072000000")), c.statusWritten);
    }

    // From may not be the highest cell; To may.
    dialogs.expect(QStringLiteral("Input Error"));
    setText(m, "txtFrom", QStringLiteral("199"));
    setText(m, "txtTo", QStringLiteral("199"));
    m->cmdFill_Click();
    EXPECT_EQ(control<QLineEdit>(m, QStringLiteral("txtTo"))->text(), QStringLiteral(" 199"));
    EXPECT_EQ(control<QLineEdit>(m, QStringLiteral("txtDelay"))->text(), QStringLiteral("2"));
}

TEST_F(Nrd535Memman, SetR2MSendsTheRecordAsTheReceiversSetting) {
    ASSERT_NE(go(), nullptr);
    frmMemman* m = openMemman();
    struct Case {
        QString record;
        std::optional<Setting> vfo;  // nothing: the receiver is left as it was
        bool told = false;           // a box says that the record does not suit
    } cases[] = {
        {QStringLiteral("MEM000 07100000 2 03 1 0 @@@ @@@ @ "), Setting{1, 3, 2, 7100000, 0}},
        {QStringLiteral("MEM000 29999999 4 01 0 1 @@@ @@@ @ "), Setting{0, 1, 4, 29999999, 1}},
        {vacantRecord(0), std::nullopt},
        {QStringLiteral("MEM000 07100000 5 03 @ @ 004 250 1 "), std::nullopt, true},  // an AR7030 record
        {QStringLiteral("MEM000 31000000 4 01 0 1 @@@ @@@ @ "), std::nullopt},  // above FreqMax
    };
    for (const Case& c : cases) {
        const Setting start{0, 0, 1, 5000000, 2};
        sim.setVfo(start);
        MemImage.setRecord(0, c.record);
        if (c.told) dialogs.expect(memtext::NotSetTitle);
        m->selectRow(0);
        m->grdMemman_Click();
        m->grdMemman_DblClick();
        sim.waitIdle();
        EXPECT_EQ(sim.vfo(), c.vfo.value_or(start)) << c.record.toStdString();
        EXPECT_EQ(dialogs.pending(), 0) << c.record.toStdString();
    }
}

// The cell editor's jobs with "To RxM": the receiver's channel follows.
template <class T> void chooseIn(QWidget* w, const char* combo, const QString& text) {
    auto* c = w->findChild<QComboBox*>(QLatin1String(combo));
    ASSERT_NE(c, nullptr);
    c->setCurrentIndex(c->findText(text));
    ASSERT_GE(c->currentIndex(), 0) << text.toStdString();
}

frmMemcell* editor(frmMemman* m, int cell, void (frmMemman::*button)()) {
    CurMemNr = cell;
    (m->*button)();
    return forms::loaded<frmMemcell>();
}

// Set Up closing, with an option ticked or cleared or nothing changed,
// leaves the mode and filter the user picked in the cell editor: the lists
// are rebuilt, the choice stays.
TEST_F(Nrd535Memman, TheEditorKeepsTheUsersPickWhenSetUpCloses) {
    ASSERT_NE(go({{EcssOption, 1}, {NarrowFilterOption, 1}}), nullptr);
    frmMemman* m = openMemman();
    MemImage.setRecord(0, QStringLiteral("MEM000 07100000 2 01 1 0 @@@ @@@ @ "));
    frmMemcell* e = editor(m, 0, &frmMemman::cmdChange_Click);
    ASSERT_NE(e, nullptr);
    // The user's pick: an entry that is neither the cell's code nor the
    // first, nor an ECSS mode (which goes with the option).
    QMap<QString, int> picked;
    for (const char* name : {"cmbMode", "cmbBandwidth"}) {
        auto* c = control<QComboBox>(e, QLatin1String(name));
        const int filled = c->currentData().toInt();
        const bool modes = QLatin1String(name) == QLatin1String("cmbMode");
        auto unsuited = [&](int i) {
            const int code = c->itemData(i).toInt();
            return code == filled || (modes && (code == 7 || code == 8));
        };
        int pick = c->count() - 1;
        while (pick > 0 && unsuited(pick)) --pick;
        ASSERT_GT(pick, 0) << name;
        c->setCurrentIndex(pick);
        picked[QLatin1String(name)] = c->currentData().toInt();
    }
    auto closeSetUp = [this](std::optional<bool> ecss) {
        panel->menuItem(QStringLiteral("mnuSetup"))->trigger();
        frmSetUp* s = forms::loaded<frmSetUp>();
        ASSERT_NE(s, nullptr);
        if (ecss)
            control<QCheckBox>(s, QStringLiteral("chkNRDoptions_%1").arg(EcssOption - NarrowFilterOption))->setChecked(*ecss);
        s->cmdClose_Click();
    };
    const struct {
        const char* what;
        std::optional<bool> ecss;
    } steps[] = {{"nothing changed", std::nullopt}, {"ECSS cleared", false}, {"ECSS ticked again", true}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        closeSetUp(step.ecss);
        for (auto it = picked.cbegin(); it != picked.cend(); ++it) {
            auto* c = control<QComboBox>(e, it.key());
            ASSERT_GE(c->currentIndex(), 0) << it.key().toStdString();
            EXPECT_EQ(c->currentData().toInt(), it.value()) << it.key().toStdString();
        }
    }
}

// The NRD-535's option codes, mode 7 and 8 (ECSS) and filter 2 (the 1 kHz
// filter), reach the receiver by Set R2M, the scan and Fill only while the
// set-up says it has the options; without them a box names the option.
TEST_F(Nrd535Memman, CodesOfAnOptionReachTheReceiverOnlyWithTheOption) {
    ASSERT_NE(go(), nullptr);
    frmMemman* m = openMemman();
    writeDataFile(QStringLiteral("MEM/MEM_2options.TXT"), "MEM000 07100000 7 01 0 1 @@@ @@@ @ AM-U\r\n"
                                                          "MEM001 09650000 2 02 1 0 @@@ @@@ @ Nar\r\n"
                                                          "MEM002 05000000 4 00 0 1 @@@ @@@ @ neither\r\n");
    load(m, QStringLiteral("MEM_2options.TXT"));
    const Setting start{0, 3, 1, 6000000, 2};
    const std::array<Setting, 3> cells{Setting{0, 1, 7, 7100000, 1}, Setting{1, 2, 2, 9650000, 0},
                                       Setting{0, 0, 4, 5000000, 1}};
    const std::array<QString, 2> needs{QStringLiteral("memory cell 000\nneeds the option \"ECSS\""),
                                       QStringLiteral("memory cell 001\nneeds the option \"1 kHz\"")};
    // A code of an option in a command that sets or stores a channel: the
    // status "S199" and channel "K..." commands carry filter and mode at 6 and 7.
    auto optionCodesSent = [this] {
        sim.waitIdle();
        int n = 0;
        for (const QByteArray& c : sim.commandTexts()) {
            const bool setting = c.startsWith("S199") || (c.startsWith('K') && c.size() > 7);
            if ((setting && (c[5] == '2' || c[6] == '7' || c[6] == '8')) || c == "B2" || c == "D7" || c == "D8") ++n;
        }
        return n;
    };
    for (const bool fitted : {false, true}) {
        // As the set-up's check boxes leave them for the running program.
        Settings[NarrowFilterOption] = fitted ? 1 : 0;
        Settings[EcssOption] = fitted ? 1 : 0;
        sim.clearCommands();
        const std::string run = fitted ? "with the options" : "without them";
        auto expected = [&](int cell) { return fitted || cell == 2 ? cells[size_t(cell)] : start; };

        for (int cell = 0; cell <= 2; ++cell) {
            sim.setVfo(start);
            if (!fitted && cell < 2) dialogs.expect(needs[size_t(cell)]);
            m->selectRow(cell);
            m->grdMemman_Click();
            m->grdMemman_DblClick();
            sim.waitIdle();
            EXPECT_EQ(sim.vfo(), expected(cell)) << run << ", Set R2M of cell " << cell;
            EXPECT_EQ(dialogs.pending(), 0) << run;
        }

        setText(m, "txtFrom", QStringLiteral("0"));
        setText(m, "txtTo", QStringLiteral("2"));
        m->cmdScanrun_Click();
        m->scanTimer()->stop();  // the ticks come from here
        if (!fitted) dialogs.expect(needs[0]);
        for (int cell = 0; cell <= 2; ++cell) {
            sim.setVfo(start);
            m->tmrScan_Timer();
            pump(20);
            EXPECT_EQ(sim.vfo(), expected(cell)) << run << ", scan of cell " << cell;
        }
        m->cmdScanstop_Click();
        EXPECT_EQ(dialogs.pending(), 0) << run;

        for (int ch = 0; ch <= 2; ++ch) sim.setChannel(ch, start);
        fill(m, 0, 2, fitted ? QStringLiteral("MemMan data is now") : QStringLiteral("needs the option \"ECSS\""));
        if (!fitted) {
            EXPECT_TRUE(dialogs.shown().last().text.contains(QStringLiteral("1 cell(s) not written:\ntheir record needs the option \"1 kHz\"")));
            EXPECT_FALSE(dialogs.shown().last().text.contains(QStringLiteral("does not suit"))) << "no other refusal";
        }
        for (int ch = 0; ch <= 2; ++ch) EXPECT_EQ(sim.channel(ch), expected(ch)) << run << ", Fill of cell " << ch;
        // The cell editor offers no code of an option the receiver lacks, and
        // says why it does not write such a record.
        frmMemcell* e = editor(m, 1, &frmMemman::cmdChange_Click);
        EXPECT_EQ(e->findChild<QComboBox*>(QStringLiteral("cmbBandwidth"))->findText(QStringLiteral("Nar")) >= 0, fitted);
        if (fitted) dialogs.expect(QStringLiteral("Adapt Receiver Memory"), dialogs::Answer::No);
        else dialogs.expect(needs[1]);
        e->cmdToMMWorRM_Click(1);
        EXPECT_EQ(dialogs.pending(), 0) << run;
        e->cmdCancel_Click();
        if (fitted) EXPECT_GT(optionCodesSent(), 0);
        else EXPECT_EQ(optionCodesSent(), 0);
    }
}

TEST_F(Nrd535Memman, AnNrd545RecordIsNeitherSetNorScannedNorWritten) {
    ASSERT_NE(go(), nullptr);
    frmMemman* m = openMemman();
    writeDataFile(QStringLiteral("MEM/MEM_2from545.TXT"), "MEM000 07100000 9 02 1 7 @@@ @@@ @ WFM, AGC 7\r\n"
                                                          "MEM001 09650000 4 01 0 1 @@@ @@@ @ its own\r\n");
    load(m, QStringLiteral("MEM_2from545.TXT"));
    ASSERT_EQ(MemImage.record(0), QStringLiteral("MEM000 07100000 9 02 1 7 @@@ @@@ @ "));
    const Setting start{0, 0, 1, 5000000, 2}, own{0, 1, 4, 9650000, 1};
    sim.setVfo(start);
    sim.clearCommands();
    auto statusSets = [this] {
        sim.waitIdle();
        QList<QByteArray> out;
        for (const QByteArray& c : sim.commandTexts())
            if (c.startsWith("S199")) out << c;
        return out;
    };

    dialogs.expect(QStringLiteral("memory cell 000\ndoes not suit this receiver"));
    m->selectRow(0);
    m->grdMemman_Click();
    m->grdMemman_DblClick();
    EXPECT_EQ(dialogs.pending(), 0);
    EXPECT_EQ(sim.vfo(), start);
    EXPECT_TRUE(statusSets().isEmpty());

    // The scan passes over cell 0 and tunes cell 1, run after run; one box
    // per run, shown after the tick that met the record.
    for (int run = 0; run < 2; ++run) {
        setText(m, "txtFrom", QStringLiteral("0"));
        setText(m, "txtTo", QStringLiteral("1"));
        m->cmdScanrun_Click();
        m->scanTimer()->stop();  // the ticks come from here
        sim.setVfo(start);
        const qsizetype boxes = dialogs.shown().size();
        m->tmrScan_Timer();
        EXPECT_EQ(dialogs.shown().size(), boxes) << "no box inside the tick";
        dialogs.expect(memtext::ScanTitle);
        pump(20);
        EXPECT_EQ(dialogs.pending(), 0);
        EXPECT_EQ(dialogs.shown().last().text,
                  QStringLiteral("The record of memory cell 000\ndoes not suit this receiver:\n") + memtext::ScanPassesOver);
        EXPECT_EQ(sim.vfo(), start);
        for (int tick = 0; tick < 5; ++tick) {
            m->tmrScan_Timer();
            pump(20);
            EXPECT_EQ(sim.vfo(), own) << "run " << run << ", tick " << tick;
        }
        m->cmdScanstop_Click();
        EXPECT_EQ(dialogs.shown().size(), boxes + 1);
    }
    for (const QByteArray& c : statusSets()) EXPECT_EQ(c, QByteArray("S199014096500001")) << c.toStdString();

    // The editor refuses before it asks; an edit out of its range gets the
    // range message, whatever record the fields came from. Fill passes over
    // the cell.
    sim.setChannel(0, start);
    frmMemcell* e = editor(m, 0, &frmMemman::cmdChange_Click);
    dialogs.expect(QStringLiteral("memory cell 000\ndoes not suit this receiver"));
    e->cmdToMMWorRM_Click(1);
    EXPECT_EQ(dialogs.pending(), 0);
    e->findChild<QLineEdit*>(QStringLiteral("txtFrequency"))->setText(QStringLiteral("31000"));
    dialogs.expect(memtext::InputError);
    e->cmdToMMWorRM_Click(1);
    EXPECT_EQ(dialogs.pending(), 0);
    EXPECT_EQ(dialogs.shown().last().title, memtext::RangeErrorTitle);
    fill(m, 0, 1, QStringLiteral("1 cell(s) not written"));
    EXPECT_EQ(sim.channel(0), start);
    EXPECT_EQ(sim.channel(1), own);
}

TEST_F(Nrd535Memman, EditorJobsReachTheReceiversChannel) {
    ASSERT_NE(go(), nullptr);
    frmMemman* m = openMemman();
    MemImage.setRecord(12, QStringLiteral("MEM012 07100000 2 03 1 0 @@@ @@@ @ "));

    frmMemcell* e = editor(m, 12, &frmMemman::cmdCopy_Click);
    chooseIn<QComboBox>(e, "cmbCellnr", QStringLiteral("040"));
    dialogs.expect(QStringLiteral("receiver\nmemory cell 040").replace(QStringLiteral("\\n"), QStringLiteral("\n")), dialogs::Answer::Yes)
        .expect(QStringLiteral("040 is now updated"));
    e->cmdToMMWorRM_Click(1);
    EXPECT_EQ(sim.channel(40), (Setting{1, 3, 2, 7100000, 0}));
    EXPECT_EQ(MemImage.record(40), QStringLiteral("MEM040 07100000 2 03 1 0 @@@ @@@ @ "));

    e = editor(m, 40, &frmMemman::cmdChange_Click);
    chooseIn<QComboBox>(e, "cmbMode", QStringLiteral("AM"));
    dialogs.expect(QStringLiteral("Adapt Receiver Memory"), dialogs::Answer::Yes).expect(QStringLiteral("updated"));
    e->cmdToMMWorRM_Click(1);
    EXPECT_EQ(sim.channel(40), (Setting{1, 3, 4, 7100000, 0}));

    sim.setVfo(Setting{0, 1, 5, 6000000, 1});
    e = editor(m, 5, &frmMemman::cmdDump_Click);
    EXPECT_EQ(e->windowTitle(), QStringLiteral(" Store Rx setting in Mem Cell"));
    dialogs.expect(QStringLiteral("Adapt Receiver Memory"), dialogs::Answer::Yes).expect(QStringLiteral("updated"));
    e->cmdToMMWorRM_Click(1);
    EXPECT_EQ(sim.channel(5), (Setting{0, 1, 5, 6000000, 1}));

    e = editor(m, 40, &frmMemman::cmdDelete_Click);
    dialogs.expect(QStringLiteral("empty the receiver"), dialogs::Answer::Yes).expect(QStringLiteral("updated"));
    e->cmdToMMWorRM_Click(1);
    EXPECT_EQ(sim.channel(40), std::nullopt);
    EXPECT_EQ(MemImage.record(40), vacantRecord(40));
}

// To RxM and Set R2M write without an answer too: a receiver that does not
// answer after the writes has not taken the cell. The editor says so in one
// message and keeps the image; the scan passes over two such cells and stops
// at the third, with one message after its tick.
TEST_F(Nrd535Memman, ASilentReceiverTakesNoCellFromTheEditorOrTheScan) {
    ASSERT_NE(go(), nullptr);
    frmMemman* m = openMemman();
    for (int n = 0; n <= 2; ++n)
        MemImage.setRecord(n, QStringLiteral("MEM%1 0%2 2 01 1 0 @@@ @@@ @ ").arg(cellText(n)).arg(7100000 + n * 1000));
    const QString kept = MemImage.record(1);
    sim.setFault(sim::Fault::Silent);

    frmMemcell* e = editor(m, 1, &frmMemman::cmdChange_Click);
    chooseIn<QComboBox>(e, "cmbMode", QStringLiteral("AM"));
    dialogs.expect(QStringLiteral("Adapt Receiver Memory"), dialogs::Answer::Yes)
        .expect(QStringLiteral("The receiver does not answer\n") + sim.devicePath());
    e->cmdToMMWorRM_Click(1);
    pump(50);
    EXPECT_EQ(dialogs.pending(), 0);
    EXPECT_EQ(dialogs.shown().last().title, memtext::MemoryNotChangedTitle);
    EXPECT_TRUE(dialogs.shown().last().text.endsWith(QStringLiteral("Cell(s) 001 were sent, but not confirmed.")));
    EXPECT_EQ(MemImage.record(1), kept);
    e->cmdCancel_Click();

    // Quiet while the receiver is known to be silent: the notice was given.
    const qsizetype boxes = dialogs.shown().size();
    m->selectRow(0);
    m->grdMemman_Click();
    m->grdMemman_DblClick();
    pump(50);
    EXPECT_EQ(dialogs.shown().size(), boxes);

    setText(m, "txtFrom", QStringLiteral("0"));
    setText(m, "txtTo", QStringLiteral("2"));
    m->cmdScanrun_Click();
    m->scanTimer()->stop();  // the ticks come from here
    for (int tick = 1; tick <= 2; ++tick) {
        m->tmrScan_Timer();
        pump(20);
        EXPECT_TRUE(control<QPushButton>(m, QStringLiteral("cmdScanstop"))->isVisibleTo(m)) << tick;
    }
    EXPECT_EQ(dialogs.shown().size(), boxes);
    m->tmrScan_Timer();
    EXPECT_EQ(dialogs.shown().size(), boxes) << "no box inside the tick";
    EXPECT_FALSE(control<QPushButton>(m, QStringLiteral("cmdScanstop"))->isVisibleTo(m));
    EXPECT_TRUE(enabled(m, "cmdExit"));
    dialogs.expect(memtext::ScanStopped);
    pump(50);
    EXPECT_EQ(dialogs.pending(), 0);
    EXPECT_EQ(dialogs.shown().size(), boxes + 1);
    EXPECT_EQ(dialogs.shown().last().title, memtext::ScanTitle);
    EXPECT_TRUE(dialogs.shown().last().text.startsWith(QStringLiteral("The receiver does not answer\n")));
}

TEST_F(Nrd545Memman, EditorCopiesIntoTheReceiverAndCannotDelete) {
    ASSERT_NE(go(), nullptr);
    frmMemman* m = openMemman();
    MemImage.setRecord(3, QStringLiteral("MEM003 09650000 6 02 1 7 @@@ @@@ @ "));
    frmMemcell* e = editor(m, 3, &frmMemman::cmdCopy_Click);
    chooseIn<QComboBox>(e, "cmbCellnr", QStringLiteral("500"));
    dialogs.expect(QStringLiteral("Adapt Receiver Memory"), dialogs::Answer::Yes).expect(QStringLiteral("updated"));
    e->cmdToMMWorRM_Click(1);
    EXPECT_EQ(sim.channel(500), (Setting{1, 2, 6, 9650000, 70}));

    e = editor(m, 500, &frmMemman::cmdDelete_Click);
    dialogs.expect(QStringLiteral("empty the receiver"), dialogs::Answer::Yes)
        .expect(QStringLiteral("the NRD-545 cannot clear a channel"));
    e->cmdToMMWorRM_Click(1);
    EXPECT_EQ(sim.channel(500), (Setting{1, 2, 6, 9650000, 70}));
    EXPECT_EQ(MemImage.record(500), QStringLiteral("MEM500 09650000 6 02 1 7 @@@ @@@ @ ")) << "the image as it was";
}

// ---- AR7030 -------------------------------------------------------------

class Ar7030Memman : public MemmanRig<sim::Ar7030Sim, frmAR7030, 1, 1200> {
protected:
    // The four bytes of channel n as the receiver stores them.
    QByteArray channelBytes(int n) {
        sim.waitIdle();
        return sim.regs(ar7030::Page2, ar7030::channelAddress(n), 4) +
               char(sim.reg(ar7030::Page2, ar7030::RegChannelPassband + n)) +
               char(sim.reg(ar7030::Page1, ar7030::RegChannelSquelch + n));
    }
    void setChannel(int n, double kHz, int mode, int filter, bool noScan, int pbs, int sql) {
        sim.setChannel(n, *ar7030::frequencyWord(kHz), uint8_t((filter + (noScan ? 8 : 0)) * 16 + mode), uint8_t(pbs),
                       uint8_t(sql));
    }
};

TEST_F(Ar7030Memman, FetchOfEveryChannelSaveReloadAndFillBack) {
    for (int n = 0; n <= 99; ++n) sim.setChannel(n, 0, 0, 0, 0);
    setChannel(2, 7100, 5, 3, true, 4, 250);
    setChannel(9, 15400, 1, 2, false, 0, 20);
    setChannel(99, 9999.99, 7, 1, false, 200, 0);
    ASSERT_NE(go(), nullptr);
    frmMemman* m = openMemman();
    const QByteArray two = channelBytes(2), nine = channelBytes(9);

    fetch(m, 99, QStringLiteral("Rx memory is now loaded"));
    EXPECT_EQ(MemImage.record(2), QStringLiteral("MEM002 07100000 5 03 @ @ 004 250 1 "));
    EXPECT_EQ(MemImage.record(9), QStringLiteral("MEM009 15400000 1 02 @ @ 000 020 0 "));
    EXPECT_EQ(MemImage.record(99), QStringLiteral("MEM099 09999990 7 01 @ @ 200 000 0 "));
    EXPECT_EQ(MemImage.record(50), vacantRecord(50));

    saveClearReload(m, QStringLiteral("MEM_1test.TXT"));
    setChannel(2, 5000, 1, 1, false, 0, 0);
    setChannel(5, 6000, 1, 1, false, 0, 0);
    setChannel(9, 6100, 1, 1, false, 0, 0);
    fill(m, 0, 9, QStringLiteral("MemMan data is now"));
    EXPECT_EQ(channelBytes(2), two);
    EXPECT_EQ(channelBytes(9), nine);

    // Channel 5 was vacant: it is vacant again, and reads back so.
    fetch(m, 9, QStringLiteral("Rx memory is now loaded"));
    EXPECT_EQ(MemImage.record(5), vacantRecord(5));
    EXPECT_EQ(MemImage.record(2), QStringLiteral("MEM002 07100000 5 03 @ @ 004 250 1 "));
}

// The top frequency the receiver tunes to, 32016.000 kHz, is a channel like
// any other: fetched, shown, set and filled back whole.
TEST_F(Ar7030Memman, AChannelAtTheTopFrequencyComesBackWhole) {
    replyTimeouts.ar7030ByteMs = 500;
    for (int n = 0; n <= 4; ++n) sim.setChannel(n, 0, 0, 0, 0);
    setChannel(4, 32016, 1, 2, false, 0, 20);
    ASSERT_NE(go(), nullptr);
    frmMemman* m = openMemman();
    const QByteArray stored = channelBytes(4);

    fetch(m, 4, QStringLiteral("Rx memory is now loaded"));
    EXPECT_EQ(MemImage.record(4), QStringLiteral("MEM004 32016000 1 02 @ @ 000 020 0 "));
    EXPECT_EQ(m->gridModel()->index(4, 1).data().toString(), QStringLiteral("32016.000"));

    m->selectRow(4);
    m->grdMemman_Click();
    m->grdMemman_DblClick();
    sim.waitIdle();
    EXPECT_EQ(sim.frequencyWord(), *ar7030::frequencyWord(32016));

    setChannel(4, 7000, 6, 1, true, 9, 9);
    fill(m, 4, 4, QStringLiteral("MemMan data is now"));
    EXPECT_EQ(channelBytes(4), stored);
}

// The channel writes get no answer: a receiver silent after them gets no
// report of success, but one message naming the cells.
TEST_F(Ar7030Memman, FillToASilentReceiverIsNoSuccess) {
    ASSERT_NE(go(), nullptr);
    frmMemman* m = openMemman();
    for (int n = 0; n <= 2; ++n) MemImage.setRecord(n, QStringLiteral("MEM%1 0%2 1 02 @ @ 000 020 0 ").arg(cellText(n)).arg(7100000 + n * 1000));
    sim.setFault(sim::Fault::Silent);
    const qsizetype boxes = dialogs.shown().size();
    fill(m, 0, 2, QStringLiteral("The receiver does not answer\n") + sim.devicePath());
    pump(50);
    EXPECT_EQ(dialogs.pending(), 0);
    EXPECT_EQ(dialogs.shown().size(), boxes + 2) << "the question and one message";
    EXPECT_EQ(dialogs.shown().last().title, memtext::FillStoppedTitle);
    EXPECT_TRUE(dialogs.shown().last().text.endsWith(QStringLiteral("Cell(s) 000 to 002 were sent, but not confirmed.")));
    EXPECT_TRUE(enabled(m, "cmdFill"));
}

// A device that has gone takes no write at all: the cells are not written,
// and none is said to be sent.
TEST_F(Ar7030Memman, FillToADeviceThatHasGoneSaysNoCellWasWritten) {
    ASSERT_NE(go(), nullptr);
    frmMemman* m = openMemman();
    for (int n = 0; n <= 2; ++n) MemImage.setRecord(n, QStringLiteral("MEM%1 0%2 1 02 @ @ 000 020 0 ").arg(cellText(n)).arg(7100000 + n * 1000));
    const QString device = sim.devicePath();
    sim.stop();
    const qsizetype boxes = dialogs.shown().size();
    fill(m, 0, 2, QStringLiteral("The receiver does not answer"));
    pump(50);
    EXPECT_EQ(dialogs.pending(), 0);
    ASSERT_EQ(dialogs.shown().size(), boxes + 2) << "the question and one message";
    EXPECT_EQ(dialogs.shown().last().title, memtext::FillStoppedTitle);
    EXPECT_EQ(dialogs.shown().last().text, QStringLiteral("The receiver does not answer\n") + device +
                                               QStringLiteral("\n\nCell(s) 000 to 002 were not written."));
    EXPECT_TRUE(enabled(m, "cmdFill"));
}

// A number box of any length is held to its range before it is used: a
// "To" of ten digits fetches every cell, and any other range of such
// numbers is refused as out of range.
TEST_F(Ar7030Memman, NumberBoxesOfTenDigitsAreHeldToTheirRange) {
    const struct {
        const char* text;
        int value;
    } numbers[] = {
        {"2147483648", 2147483647}, {"-2147483649", -2147483647 - 1}, {"99999999999999999999", 2147483647},
        {"12.5", 12}, {"13.5", 14}, {"-7.5", -8}, {" 99", 99}, {"abc", 0},
    };
    for (const auto& n : numbers) EXPECT_EQ(valRounded(QLatin1String(n.text)), n.value) << n.text;

    for (int n = 0; n <= 99; ++n) sim.setChannel(n, *ar7030::frequencyWord(6000 + n), 0x11, 0, 0);
    ASSERT_NE(go(), nullptr);
    // Ten cells, so that a fetch of every cell is short at the line's speed.
    MaxMemNr = 9;
    frmMemman* m = openMemman();
    const QString ten = QStringLiteral("2147483648");
    const QString below = QStringLiteral("-2147483649");
    // Fetch: ten digits are the top cell; below every cell, none.
    setText(m, "txtTo", ten);
    dialogs.expect(QStringLiteral("capture the receiver"), dialogs::Answer::Yes).expect(memtext::Fetched);
    m->cmdFetch_Click();
    EXPECT_EQ(MemImage.record(9), QStringLiteral("MEM009 06009000 1 01 @ @ 000 000 0 "));
    MemImage.setTag(5, QStringLiteral("kept"));
    setText(m, "txtTo", below);
    dialogs.expect(QStringLiteral("capture the receiver"), dialogs::Answer::Yes).expect(memtext::FetchNothing);
    m->cmdFetch_Click();
    EXPECT_EQ(MemImage.tag(5).trimmed(), QStringLiteral("kept"));
    // Fill, print and scan: a range of such numbers is out of range.
    for (const auto& [from, to] : {std::pair{ten, QStringLiteral("5")}, std::pair{QStringLiteral("0"), ten},
                                   std::pair{below, QStringLiteral("5")}}) {
        SCOPED_TRACE((from + QLatin1Char(' ') + to).toStdString());
        setText(m, "txtFrom", from);
        setText(m, "txtTo", to);
        dialogs.expect(memtext::InputError);
        m->cmdFill_Click();
        setText(m, "txtFrom", from);
        setText(m, "txtTo", to);
        dialogs.expect(memtext::InputError);
        m->cmdPrint_Click();
        setText(m, "txtFrom", from);
        setText(m, "txtTo", to);
        dialogs.expect(memtext::InputError);
        m->cmdScanrun_Click();
        EXPECT_FALSE(m->scanTimer()->isActive());
    }
    EXPECT_EQ(dialogs.pending(), 0);
    // The editor's frequency of thirty digits is out of range, not another frequency.
    CurMemNr = 5;
    m->cmdChange_Click();
    frmMemcell* e = forms::loaded<frmMemcell>();
    ASSERT_NE(e, nullptr);
    e->findChild<QLineEdit*>(QStringLiteral("txtFrequency"))->setText(QStringLiteral("999999999999999999999999999999"));
    dialogs.expect(memtext::InputError);
    e->cmdToMMWorRM_Click(0);
    EXPECT_EQ(dialogs.pending(), 0);
    EXPECT_EQ(MemImage.record(5), QStringLiteral("MEM005 06005000 1 01 @ @ 000 000 0 "));
}

TEST_F(Ar7030Memman, SetR2MOfACwChannelSetsTheBfoAndLeavesTheSquelch) {
    // The writes of Set R2M are still on the line at 1200 baud when the
    // panel's refresh asks its first question: the receiver's own time-out.
    replyTimeouts.ar7030ByteMs = 500;
    ASSERT_NE(go(), nullptr);
    frmMemman* m = openMemman();
    sim.setReg(ar7030::Page0, ar7030::RegSquelch, 33);
    MemImage.setRecord(4, QStringLiteral("MEM004 07100000 5 03 @ @ 004 250 1 "));
    CurMemNr = 4;
    m->cmdSetrx2mem_Click();
    sim.waitIdle();
    EXPECT_EQ(sim.frequencyWord(), *ar7030::frequencyWord(7100));
    EXPECT_EQ(sim.reg(ar7030::Page0, ar7030::RegBfo), 250);
    EXPECT_EQ(sim.reg(ar7030::Page0, ar7030::RegPassband), 4);
    EXPECT_EQ(sim.reg(ar7030::Page0, ar7030::RegSquelch), 33);
}

TEST_F(Ar7030Memman, NrdRecordsLoadedOnTheAr7030NeverReachIt) {
    replyTimeouts.ar7030ByteMs = 500;
    for (int n = 0; n <= 2; ++n) setChannel(n, 6000 + n, 1, 1, false, 0, 0);
    ASSERT_NE(go(), nullptr);
    frmMemman* m = openMemman();
    // A memory file an NRD-535 saved, renamed for the AR7030.
    writeDataFile(QStringLiteral("MEM/MEM_1nrd.TXT"), "MEM000 07100000 0 00 0 1 @@@ @@@ @ RTTY\r\n"
                                                      "MEM001 09650000 8 03 1 2 @@@ @@@ @ AM-L\r\n"
                                                      "MEM002 07100000 5 03 @ @ 004 250 1 its own\r\n");
    load(m, QStringLiteral("MEM_1nrd.TXT"));
    ASSERT_EQ(MemImage.record(1), QStringLiteral("MEM001 09650000 8 03 1 2 @@@ @@@ @ "));
    const QByteArray channels[] = {channelBytes(0), channelBytes(1), channelBytes(2)};

    // Frequency, mode, filter, PBS, squelch and BFO as the receiver holds them.
    auto state = [this] {
        sim.waitIdle();
        return std::array<uint32_t, 6>{sim.frequencyWord(), sim.reg(ar7030::Page0, ar7030::RegMode),
                                       sim.reg(ar7030::Page0, ar7030::RegFilter),
                                       sim.reg(ar7030::Page0, ar7030::RegPassband),
                                       sim.reg(ar7030::Page0, ar7030::RegSquelch), sim.reg(ar7030::Page0, ar7030::RegBfo)};
    };
    sim.setFrequencyWord(*ar7030::frequencyWord(5000));
    sim.setReg(ar7030::Page0, ar7030::RegMode, 1);
    sim.setReg(ar7030::Page0, ar7030::RegFilter, 2);
    sim.setReg(ar7030::Page0, ar7030::RegSquelch, 33);
    const auto start = state();
    const std::array<uint32_t, 6> own{*ar7030::frequencyWord(7100), 5, 3, 4, 33, 250};

    for (int cell : {0, 1}) {
        dialogs.expect(QStringLiteral("memory cell %1\ndoes not suit this receiver").arg(cellText(cell)));
        m->selectRow(cell);
        m->grdMemman_Click();
        m->grdMemman_DblClick();
        EXPECT_EQ(dialogs.pending(), 0);
        EXPECT_EQ(state(), start) << cell;
    }

    // The scan's own timer over the two NRD cells: tick after tick, one box
    // for the run.
    setText(m, "txtFrom", QStringLiteral("0"));
    setText(m, "txtTo", QStringLiteral("1"));
    setText(m, "txtDelay", QStringLiteral("1"));
    int ticks = 0;
    QObject::connect(m->scanTimer(), &QTimer::timeout, m, [&ticks] { ++ticks; });
    dialogs.expect(memtext::ScanTitle);
    const qsizetype boxes = dialogs.shown().size();
    m->cmdScanrun_Click();
    EXPECT_TRUE(pumpUntil([&] { return ticks >= 8; }));
    m->cmdScanstop_Click();
    pump(20);
    EXPECT_EQ(dialogs.shown().size(), boxes + 1);
    EXPECT_TRUE(dialogs.shown().last().text.endsWith(QStringLiteral(":\n") + memtext::ScanPassesOver));
    EXPECT_EQ(state(), start);

    // Its own record still tunes, in a scan and on a double-click.
    setText(m, "txtTo", QStringLiteral("2"));
    m->cmdScanrun_Click();
    m->scanTimer()->stop();  // the ticks come from here
    dialogs.expect(memtext::ScanTitle);
    // Cells 0, 1, 2, 0, 1.
    const std::array<uint32_t, 6> after[] = {start, start, own, own, own};
    for (size_t i = 0; i < std::size(after); ++i) {
        m->tmrScan_Timer();
        pump(20);
        EXPECT_EQ(state(), after[i]) << "tick " << i;
    }
    m->cmdScanstop_Click();
    EXPECT_EQ(dialogs.pending(), 0);
    EXPECT_EQ(state(), own);

    // Fill writes its own record only; the editor refuses before it asks.
    fill(m, 0, 2, QStringLiteral("2 cell(s) not written"));
    EXPECT_EQ(channelBytes(0), channels[0]);
    EXPECT_EQ(channelBytes(1), channels[1]);
    EXPECT_NE(channelBytes(2), channels[2]);
    frmMemcell* e = editor(m, 1, &frmMemman::cmdChange_Click);
    dialogs.expect(QStringLiteral("memory cell 001\ndoes not suit this receiver"));
    e->cmdToMMWorRM_Click(1);
    EXPECT_EQ(dialogs.pending(), 0);
    EXPECT_EQ(channelBytes(1), channels[1]);
}

TEST_F(Ar7030Memman, EditorTagOnlyChangeAndDeleteReachTheChannel) {
    replyTimeouts.ar7030ByteMs = 500;
    ASSERT_NE(go(), nullptr);
    frmMemman* m = openMemman();
    const QString rec = QStringLiteral("MEM006 07100000 1 02 @ @ 004 001 0 ");
    MemImage.setRecord(6, rec);
    frmMemcell* e = editor(m, 6, &frmMemman::cmdChange_Click);
    e->findChild<QLineEdit*>(QStringLiteral("txtMemtag"))->setText(QStringLiteral("tag only"));
    dialogs.expect(QStringLiteral("Adapt Receiver Memory"), dialogs::Answer::Yes).expect(QStringLiteral("updated"));
    e->cmdToMMWorRM_Click(1);
    EXPECT_EQ(MemImage.record(6), rec);
    const uint32_t w = *ar7030::frequencyWord(7100);
    const QByteArray bytes = channelBytes(6);
    EXPECT_EQ(bytes.left(3), QByteArray().append(char(w >> 16)).append(char(w >> 8)).append(char(w)));
    EXPECT_EQ(uint8_t(bytes[3]), 0x21) << "filter 2, scan, AM";
    EXPECT_EQ(bytes.mid(4), QByteArray("\x04\x01", 2)) << "PBS 4 and squelch 1 as they were";

    e = editor(m, 6, &frmMemman::cmdDelete_Click);
    dialogs.expect(QStringLiteral("empty the receiver"), dialogs::Answer::Yes).expect(QStringLiteral("updated"));
    e->cmdToMMWorRM_Click(1);
    fetch(m, 6, QStringLiteral("Rx memory is now loaded"));
    EXPECT_EQ(MemImage.record(6), vacantRecord(6));
}

} // namespace
} // namespace dovrane::test
