// The memory scan over each model's simulated receiver, with its panel open:
// a receiver that has gone silent is passed over twice and the third cell in
// a row stops the scan, with one message after the tick, whatever the model
// (the RX-320's Set R2M included, whose writes get no answer either).
#include "memman_rig.h"
#include "panels/frmar7030.h"
#include "panels/frmnrd545.h"
#include "panels/frmrx320.h"
#include "sim/ar7030_sim.h"
#include "sim/nrd545_sim.h"
#include "sim/rx320_sim.h"

#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QItemSelectionModel>

namespace dovrane::test {
namespace {

template <class S, class P, int T, int B> struct Model {
    using Sim = S;
    using Panel = P;
    static constexpr int Type = T;
    static constexpr int Baud = B;
};

struct Ar7030 : Model<sim::Ar7030Sim, frmAR7030, 1, 1200> {
    static QString record(int n) { return QStringLiteral("MEM%1 0%2 1 02 @ @ 000 020 0 ").arg(cellText(n)).arg(7100000 + n * 1000); }
};
struct Nrd545 : Model<sim::Nrd545Sim, frmNRD545, 4, 4800> {
    static QString record(int n) { return QStringLiteral("MEM%1 0%2 2 02 1 0 @@@ @@@ @ ").arg(cellText(n)).arg(7100000 + n * 1000); }
};
struct Rx320 : Model<sim::Rx320Sim, frmRX320, 3, 1200> {
    static QString record(int n) { return QStringLiteral("MEM%1 0%2 0 33 @ 3 @@@ @@@ @ ").arg(cellText(n)).arg(7100000 + n * 1000); }
};

template <class M> class SilentScan : public MemmanRig<typename M::Sim, typename M::Panel, M::Type, M::Baud> {};
using Models = ::testing::Types<Ar7030, Nrd545, Rx320>;
TYPED_TEST_SUITE(SilentScan, Models);

TYPED_TEST(SilentScan, StopsAtTheThirdUnansweredCellWithOneMessage) {
    ASSERT_NE(this->go(), nullptr);
    frmMemman* m = this->openMemman();
    ASSERT_NE(m, nullptr);
    for (int n = 0; n <= 3; ++n) MemImage.setRecord(n, TypeParam::record(n));
    auto* stop = this->template control<QPushButton>(m, QStringLiteral("cmdScanstop"));
    this->setText(m, "txtFrom", QStringLiteral("0"));
    this->setText(m, "txtTo", QStringLiteral("3"));
    m->cmdScanrun_Click();
    m->scanTimer()->stop();  // the ticks come from here

    // Answered: the scan goes on.
    m->tmrScan_Timer();
    this->pump(20);
    EXPECT_TRUE(stop->isVisibleTo(m));

    this->sim.setFault(sim::Fault::Silent);
    const qsizetype boxes = this->dialogs.shown().size();
    for (int tick = 1; tick <= 2; ++tick) {
        m->tmrScan_Timer();
        this->pump(20);
        EXPECT_TRUE(stop->isVisibleTo(m)) << tick;
    }
    EXPECT_EQ(this->dialogs.shown().size(), boxes) << "passed over without a box";
    m->tmrScan_Timer();
    EXPECT_EQ(this->dialogs.shown().size(), boxes) << "no box inside the tick";
    EXPECT_FALSE(stop->isVisibleTo(m)) << "a silent receiver stops the scan";
    EXPECT_FALSE(m->scanTimer()->isActive());
    EXPECT_TRUE(this->enabled(m, "cmdExit"));
    this->dialogs.expect(memtext::ScanStopped);
    this->pump(50);
    EXPECT_EQ(this->dialogs.pending(), 0);
    ASSERT_EQ(this->dialogs.shown().size(), boxes + 1);
    EXPECT_EQ(this->dialogs.shown().last().title, memtext::ScanTitle);
    EXPECT_TRUE(this->dialogs.shown().last().text.startsWith(QStringLiteral("The receiver does not answer\n") +
                                                             this->sim.devicePath()));
}

// Stopped by a silent receiver, the scan leaves the grid's row and "Cell nr"
// on the cell the receiver was last set to, not on the cells it left
// unanswered: cells 0 to 3 set, then 4, 5 and 0 unanswered.
TYPED_TEST(SilentScan, AStoppedScanShowsTheCellTheReceiverIsOn) {
    ASSERT_NE(this->go(), nullptr);
    frmMemman* m = this->openMemman();
    ASSERT_NE(m, nullptr);
    for (int n = 0; n <= 5; ++n) MemImage.setRecord(n, TypeParam::record(n));
    this->setText(m, "txtFrom", QStringLiteral("0"));
    this->setText(m, "txtTo", QStringLiteral("5"));
    m->cmdScanrun_Click();
    m->scanTimer()->stop();
    for (int tick = 0; tick <= 3; ++tick) {
        m->tmrScan_Timer();
        this->pump(20);
    }
    this->sim.setFault(sim::Fault::Silent);
    this->dialogs.allow(memtext::ScanStopped);
    for (int tick = 0; tick < 3; ++tick) {
        m->tmrScan_Timer();
        this->pump(20);
    }
    EXPECT_FALSE(m->scanTimer()->isActive()) << "a silent receiver stops the scan";
    EXPECT_EQ(this->template control<QLabel>(m, QStringLiteral("lblCellnr"))->text(), QStringLiteral("003"));
    EXPECT_EQ(m->grid()->currentIndex().row(), 3);
    EXPECT_TRUE(m->grid()->selectionModel()->isRowSelected(3, QModelIndex()));
    EXPECT_EQ(CurMemNr, 3);
}

} // namespace
} // namespace dovrane::test
