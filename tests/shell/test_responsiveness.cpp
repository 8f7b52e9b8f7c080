// No path holds the program on the wire: with the receiver paced at its line's
// real baud rate, a heartbeat that belongs to no window keeps beating through
// each path a listener meets, the receiver's panel open. A path may hold the
// event loop for one receiver operation at a time, never for a sequence of
// them (a panel refresh, a hold with its refresh, a recall); no gap between
// two beats of the path's own span may pass 150 ms, the longest single
// operation on these paths with room to spare.
#include "memories/frmmemman.h"
#include "memories/memory_image.h"
#include "memories/memman_files.h"
#include "panels/panelform.h"
#include "panels/tool_windows.h"
#include "platform/timeouts.h"
#include "scanning/frmpropagation.h"
#include "scanning/frmscanlist.h"
#include "scanning/frmscanpairs.h"
#include "scanning/frmsmeter.h"
#include "scanning/frmspectrum.h"
#include "scanning/frmspectrumlimits.h"
#include "shell/file_kinds.h"
#include "shell/form.h"
#include "shell/frmsavefile.h"
#include "shell/globals.h"
#include "support/spectrum_limits.h"
#include "support/go_rig.h"
#include "support/heartbeat.h"
#include "support/when_shown.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <functional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace dovrane::test {
namespace {

constexpr double StallLimitMs = 150;

class Responsiveness;

struct PathRow {
    std::string name;
    int rxType;
    int baud;
    // Everything the path needs before its span starts; false when it could not be set up.
    std::function<bool(Responsiveness&)> prepare;
    // The path itself; false when it could not be driven.
    std::function<bool(Responsiveness&)> run;
    int spanMs;   // events run this long after the path returned (its ticks)
};

// A row shows as its name in a failure.
void PrintTo(const PathRow& row, std::ostream* os) { *os << row.name; }

class Responsiveness : public GoRig, public ::testing::WithParamInterface<PathRow> {
protected:
    void SetUp() override {
        GoRig::SetUp();
        // The program's own reply deadlines, as a user has them.
        replyTimeouts = ReplyTimeouts{};
        dialogs.allow(QString());
    }

public:
    PanelForm* panel() const { return panel_; }
    static QAbstractButton* button(QWidget* w, const char* name) {
        return w ? w->findChild<QAbstractButton*>(QLatin1String(name)) : nullptr;
    }
    static bool click(QWidget* w, const char* name) {
        QAbstractButton* b = button(w, name);
        if (!b || !b->isEnabled()) return false;
        b->click();
        return true;
    }
    static void setText(QWidget* w, const char* box, const QString& text) {
        if (auto* e = w ? w->findChild<QLineEdit*>(QLatin1String(box)) : nullptr) e->setText(text);
    }
    template <class T> static T* openTool(const char* windowName) {
        if (auto open = toolWindowOpener(QLatin1String(windowName))) open();
        return forms::loaded<T>();
    }
    // The memory manager from the panel's menu, six cells of the model in its image.
    frmMemman* memmanWithCells() {
        QAction* item = panel_ ? panel_->menuItem(QStringLiteral("mnuMemman")) : nullptr;
        if (!item || !item->isEnabled()) return nullptr;
        item->trigger();
        frmMemman* m = forms::loaded<frmMemman>();
        if (!m) return nullptr;
        for (int n = 0; n <= 5; ++n) {
            const QString cell = cellText(n);
            const int hz = 7100000 + n * 5000;
            MemImage.setRecord(n, GetParam().rxType == 1
                                      ? QStringLiteral("MEM%1 0%2 1 02 @ @ 000 020 0 ").arg(cell).arg(hz)
                                  : GetParam().rxType == 2
                                      ? QStringLiteral("MEM%1 0%2 2 01 0 1 @@@ @@@ @ ").arg(cell).arg(hz)
                                      : QStringLiteral("MEM%1 0%2 2 02 1 0 @@@ @@@ @ ").arg(cell).arg(hz));
        }
        // As the user has them: from a file loaded.
        FileKindName[8] = QStringLiteral("MEM_RESP.TXT");
        if (!savememfile()) return nullptr;
        loadmemfile();
        m->selectRow(0);
        return m;
    }
    void writePairs() {
        writeDataFile(QStringLiteral("SFP/SFP_RESP.TXT"), "9500,9510, 1,a\r\n9600,9610, 1,b\r\n9700,9710, 1,c\r\n");
        FileKindPath[12] = dataPath(QStringLiteral("SFP/"));
        FileKindName[12] = QStringLiteral("SFP_RESP.TXT");
    }
    bool startProgram(int rxType, int baud) {
        sim::SimReceiver* rx = startSimulator(rxType);
        if (!rx) return false;
        rx->setBaud(baud);
        rx->setSmeterCurve([](double) { return 9.0; });
        panel_ = go(rxType);
        return panel_ != nullptr;
    }

private:
    PanelForm* panel_ = nullptr;
};

bool nothingToPrepare(Responsiveness&) { return true; }

// A double-click as the window system delivers one, on the grid's third row.
bool doubleClickThirdRow(Responsiveness&) {
    frmMemman* m = forms::loaded<frmMemman>();
    if (!m) return false;
    QTableView* grid = m->grid();
    const QModelIndex cell = grid->model()->index(2, 1);
    grid->scrollTo(cell);
    const QPoint at = grid->visualRect(cell).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    return CurMemNr == 2;
}

bool startMemoryScan(Responsiveness&) {
    frmMemman* m = forms::loaded<frmMemman>();
    Responsiveness::setText(m, "txtFrom", QStringLiteral("0"));
    Responsiveness::setText(m, "txtTo", QStringLiteral("5"));
    Responsiveness::setText(m, "txtDelay", QStringLiteral("1"));
    return Responsiveness::click(m, "cmdScanrun") && m->scanTimer()->isActive();
}

bool startSpectrum(Responsiveness&) {
    frmSpectrum* w = forms::loaded<frmSpectrum>();
    if (!w) return false;
    // Start asks for the limits in a modal window; the user fills it in.
    const auto answer = whenSpectrumLimitsShown();
    return Responsiveness::click(w, "cmdStart") && w->runActive();
}

// Start of a tool window that records or scans.
template <class W> bool startTool(Responsiveness&) {
    W* w = forms::loaded<W>();
    return Responsiveness::click(w, "cmdStart") && w->runActive();
}
template <> bool startTool<frmPropagation>(Responsiveness&) {
    frmPropagation* w = forms::loaded<frmPropagation>();
    return Responsiveness::click(w, "cmdStart") && w->recording();
}
template <> bool startTool<frmSmeter>(Responsiveness&) {
    frmSmeter* w = forms::loaded<frmSmeter>();
    return Responsiveness::click(w, "cmdStart") && w->recording();
}

bool modeButton(Responsiveness& t) { return Responsiveness::click(t.panel(), "cmdMode_1"); }

bool directUpdate(Responsiveness& t) {
    QAction* update = t.panel()->menuItem(QStringLiteral("mnuUpdate"));
    if (!update || !update->isEnabled()) return false;
    update->trigger();
    return true;
}

std::vector<PathRow> rows() {
    const auto memman = [](Responsiveness& t) { return t.memmanWithCells() != nullptr; };
    const auto propagation = [](Responsiveness&) { return Responsiveness::openTool<frmPropagation>("frmPropagation") != nullptr; };
    const auto spectrum = [](Responsiveness&) { return Responsiveness::openTool<frmSpectrum>("frmSpectrum") != nullptr; };
    const auto smeter = [](Responsiveness&) { return Responsiveness::openTool<frmSmeter>("frmSmeter") != nullptr; };
    const auto listScan = [](Responsiveness&) {
        frmScanlist* w = Responsiveness::openTool<frmScanlist>("frmScanlist");
        if (!w) return false;
        for (int r = 0; r < 3; ++r) w->txtFreqlist[size_t(r)]->setText(QString::number(9500 + 100 * r));
        return true;
    };
    const auto pairScan = [](Responsiveness& t) {
        frmScanpairs* w = Responsiveness::openTool<frmScanpairs>("frmScanpairs");
        if (!w) return false;
        t.writePairs();
        w->loadscanpairsfile();
        return true;
    };

    std::vector<PathRow> v = {
        {"Ar7030SetR2MPanelOpen", 1, 1200, memman, doubleClickThirdRow, 0},
        {"Ar7030MemoryScanOneSecondDwell", 1, 1200, memman, startMemoryScan, 5000},
        {"Ar7030PropagationSaveAs", 1, 1200, propagation,
         [](Responsiveness&) {
             const auto answer = whenShown<frmSavefile>(
                 [](frmSavefile* chooser) { chooser->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click(); });
             return Responsiveness::click(forms::loaded<frmPropagation>(), "cmdsaveas");
         },
         0},
        {"Ar7030ModeButton", 1, 1200, nothingToPrepare, modeButton, 0},
        {"Ar7030DirectUpdate", 1, 1200, nothingToPrepare, directUpdate, 0},
    };
    // The NRD's, not held: each command holds the receiver for itself.
    for (int rxType : {2, 4}) {
        const std::string model = rxType == 2 ? "Nrd535" : "Nrd545";
        auto name = [model](const char* what) { return model + what; };
        v.push_back({name("SpectrumStart"), rxType, 4800, spectrum, startSpectrum, 0});
        v.push_back({name("PropagationStart"), rxType, 4800, propagation, startTool<frmPropagation>, 0});
        v.push_back({name("MemoryScanTick"), rxType, 4800, memman, startMemoryScan, 2500});
        v.push_back({name("ListScanStart"), rxType, 4800, listScan, startTool<frmScanlist>, 0});
        v.push_back({name("SmeterStart"), rxType, 4800, smeter, startTool<frmSmeter>, 0});
        v.push_back({name("PairScanStart"), rxType, 4800, pairScan, startTool<frmScanpairs>, 0});
        v.push_back({name("ModeButton"), rxType, 4800, nothingToPrepare, modeButton, 0});
        v.push_back({name("DirectUpdate"), rxType, 4800, nothingToPrepare, directUpdate, 0});
        v.push_back({name("SetR2MPanelOpen"), rxType, 4800, memman, doubleClickThirdRow, 0});
    }
    return v;
}

TEST_P(Responsiveness, NoGapBetweenHeartbeatsPassesOneOperation) {
    const PathRow& row = GetParam();
    ASSERT_TRUE(startProgram(row.rxType, row.baud)) << "the panel did not open";
    ASSERT_TRUE(row.prepare(*this)) << "the path could not be set up";
    settle();
    EventLoopHeartbeat beat;
    bool driven = false;
    // Until the receiver's line has gone quiet: steps that follow the path
    // through the event loop are the path's too.
    sim::SimReceiver* rx = simulator();
    beat.measure([&] { driven = row.run(*this); }, row.spanMs,
                 EventLoopHeartbeat::unchangedFor([rx] { return qint64(rx->bytesReceived().size()); }, 300));
    ASSERT_TRUE(driven) << "the path could not be driven";
    std::ostringstream gaps;
    for (double g : beat.gapsMs())
        if (g > StallLimitMs) gaps << ' ' << int(g);
    EXPECT_EQ(beat.gapsOver(StallLimitMs), 0)
        << "of " << beat.gapCount() << " gaps between heartbeats, these held every window (ms):" << gaps.str();
}

INSTANTIATE_TEST_SUITE_P(Paths, Responsiveness, ::testing::ValuesIn(rows()),
                         [](const ::testing::TestParamInfo<PathRow>& info) { return info.param.name; });

} // namespace
} // namespace dovrane::test
