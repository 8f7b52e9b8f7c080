// Sequences of receiver operations let events run between the operations,
// and stay safe when they do. Each path runs once undisturbed on the
// simulated receiver at its real baud rate, then once with each disturbance
// in its middle: the same trigger again, a tool window's tick, the window
// closed. Whatever comes in the middle waits for the sequence: the wire
// carries the undisturbed run's bytes first and whole, panel and receiver end
// as after the undisturbed run, and what waited comes after. A timer that no
// window owns ticks between the operations all along.
#include "memories/memman_rig.h"
#include "panels/frmar7030.h"
#include "panels/frmnrd535.h"
#include "panels/frmnrd545.h"
#include "panels/frmrx320.h"
#include "panels/tool_windows.h"
#include "scanning/frmpropagation.h"
#include "platform/clock.h"
#include "platform/sequence.h"
#include "platform/timeouts.h"
#include "shell/facade.h"
#include "sim/ar7030_sim.h"
#include "sim/nrd535_sim.h"
#include "sim/nrd545_sim.h"
#include "sim/rx320_sim.h"
#include "support/timer_event.h"
#include "support/waits.h"
#include "timer/frmrxtimer.h"
#include "timer/owed_line_off.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QSlider>
#include <QTableView>
#include <QTimer>
#include <algorithm>
#include <functional>

namespace dovrane::test {
namespace {

template <class S, class P, int T, int B> struct Model {
    using Sim = S;
    using Panel = P;
    static constexpr int Type = T;
    static constexpr int Baud = B;
    // Whether a panel button and Update run a sequence, and whether the
    // receiver keeps memories of its own to fetch.
    static constexpr bool panelSequence = true;
    static constexpr bool receiverMemories = true;
    // Whether a run's Start talks to the receiver (the RX-320's first word
    // is the run's first tick).
    static constexpr bool runStartSequence = true;
};

QString nrdState(const sim::NrdSimBase& s) {
    const auto v = s.vfo();
    return QStringLiteral("%1 %2 %3 %4 %5 remote %6")
        .arg(v.attenuator).arg(v.bandwidth).arg(v.mode).arg(v.hertz).arg(v.agc).arg(s.inRemote());
}

struct Ar7030 : Model<sim::Ar7030Sim, frmAR7030, 1, 1200> {
    static constexpr const char* button = "cmdMode_3";   // a mode: its write, then the full refresh
    static QString record(int n) { return QStringLiteral("MEM%1 0%2 1 02 @ @ 000 020 0 ").arg(cellText(n)).arg(7100000 + n * 1000); }
    static QString state(const Sim& s) { return QString::fromLatin1(s.regs(0, 0, 0x40).toHex()); }
};
struct Nrd535 : Model<sim::Nrd535Sim, frmNRD535, 2, 4800> {
    static constexpr const char* button = "cmdLock_1";   // the hold and its refresh
    static QString record(int n) { return QStringLiteral("MEM%1 0%2 2 01 1 0 @@@ @@@ @ ").arg(cellText(n)).arg(7100000 + n * 10000); }
    static QString state(const Sim& s) { return nrdState(s); }
};
struct Nrd545 : Model<sim::Nrd545Sim, frmNRD545, 4, 4800> {
    static constexpr const char* button = "cmdLock_1";
    static QString record(int n) { return QStringLiteral("MEM%1 0%2 2 02 1 0 @@@ @@@ @ ").arg(cellText(n)).arg(7100000 + n * 10000); }
    static QString state(const Sim& s) { return nrdState(s); }
};
// Its panel's buttons send one command each, and it reads nothing back; a
// recall and a run's steps are sequences.
struct Rx320 : Model<sim::Rx320Sim, frmRX320, 3, 1200> {
    static constexpr bool panelSequence = false;
    static constexpr bool receiverMemories = false;
    static constexpr bool runStartSequence = false;
    static constexpr const char* button = "cmdMode_1";
    static QString record(int n) { return QStringLiteral("MEM%1 0%2 0 33 @ 3 @@@ @@@ @ ").arg(cellText(n)).arg(7100000 + n * 10000); }
    static QString state(const Sim& s) {
        const sim::Rx320SimState v = s.state();
        return QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8")
            .arg(v.coarse).arg(v.fine).arg(v.bfo).arg(v.mode).arg(v.filter).arg(v.agc).arg(v.speakerAtt).arg(v.lineAtt);
    }
};

// A tool window whose tick asks the receiver for its frequency.
bool toolOpen = false;
class ToolWindow : public Form {
public:
    ToolWindow() : Form(0, &toolOpen), timer(new QTimer(this)) {
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, this, [this] {
            ++ticks;
            if (*running) ++ticksInside;
            (void)Update2RxFreq();
        });
    }
    QTimer* timer;
    int ticks = 0;
    int ticksInside = 0;
    const bool* running = nullptr;
};

enum class Disturbance { None, Again, ToolTick, Close, OwedTry };
const char* name(Disturbance d) {
    switch (d) {
    case Disturbance::None: return "undisturbed";
    case Disturbance::Again: return "the same trigger again";
    case Disturbance::ToolTick: return "a tool's tick";
    case Disturbance::Close: return "the window closed";
    case Disturbance::OwedTry: return "an owed line-off's try";
    }
    return "";
}

// One path: the window whose sequence it is, the trigger as a click calls
// it, and the same trigger as it comes in again as events.
struct Path {
    QString name;
    Form* window = nullptr;
    std::function<void()> run;
    std::function<void()> postAgain;   // none where the user cannot trigger it twice in a row
    // The sequence has waits of its own in which events run as they always
    // did (a fetch between its cells): a tick may come there, and its window
    // refuses to close while it transfers.
    bool waitsInside = false;
    // Puts things back before each run, outside it (a run to stop).
    std::function<void()> reset = {};
    // The path switches the line output itself: what was owed is settled.
    bool settlesLineOut = false;
};

// Whether `part` is found in `whole` in order, other bytes between.
bool inOrder(const QByteArray& part, const QByteArray& whole) {
    qsizetype at = 0;
    for (char c : part) {
        at = whole.indexOf(c, at);
        if (at < 0) return false;
        ++at;
    }
    return true;
}

void postClick(QWidget* w, QPoint at, bool twice = false) {
    const QPointF p(at);
    const QPointF g(w->mapToGlobal(at));
    const auto post = [&](QEvent::Type t, Qt::MouseButtons buttons) {
        QCoreApplication::postEvent(w, new QMouseEvent(t, p, g, Qt::LeftButton, buttons, Qt::NoModifier));
    };
    post(QEvent::MouseButtonPress, Qt::LeftButton);
    post(QEvent::MouseButtonRelease, Qt::NoButton);
    if (!twice) return;
    post(QEvent::MouseButtonDblClick, Qt::LeftButton);
    post(QEvent::MouseButtonRelease, Qt::NoButton);
}

// What the panel shows.
QString shown(const QWidget* w) {
    QStringList parts;
    for (const QWidget* c : w->findChildren<QWidget*>()) {
        if (c->objectName().isEmpty()) continue;
        QString v;
        if (auto* l = qobject_cast<const QLabel*>(c)) v = l->text();
        else if (auto* e = qobject_cast<const QLineEdit*>(c)) v = e->text();
        else if (auto* b = qobject_cast<const QAbstractButton*>(c)) v = b->text() + (b->isChecked() ? "*" : "");
        else if (auto* s = qobject_cast<const QSlider*>(c)) v = QString::number(s->value());
        else continue;
        parts << c->objectName() + '=' + v + (c->isEnabled() ? "" : "-");
    }
    parts.sort();
    return parts.join('|');
}

template <class M>
class Yielding : public MemmanRig<typename M::Sim, typename M::Panel, M::Type, M::Baud> {
protected:
    void SetUp() override {
        MemmanRig<typename M::Sim, typename M::Panel, M::Type, M::Baud>::SetUp();
        ASSERT_NE(this->go(), nullptr);
        // An NRD receiver held by the user's lock: its refreshes read every
        // level, each a read of its own.
        if (M::Type == 2 || M::Type == 4) {
            auto* lock = this->panel->template findChild<QAbstractButton*>(QStringLiteral("cmdLock_1"));
            ASSERT_NE(lock, nullptr);
            lock->click();
        }
        this->pump(20);
    }

    frmMemman* memman() {
        frmMemman* m = forms::loaded<frmMemman>() ? forms::loaded<frmMemman>() : this->openMemman();
        for (int n = 0; n <= 3; ++n) MemImage.setRecord(n, M::record(n));
        return m;
    }

    struct Run {
        QByteArray wire;
        QString panel;
        QString receiver;
        bool stillLoaded = false;
        long yields = 0;
        long operations = 0;
        qsizetype boxes = 0;
    };

    // Runs the path once with d in its middle: at the first beat of a timer
    // that no window owns, which comes between two of its operations.
    Run runOnce(const Path& path, Disturbance d) {
        if (path.reset) path.reset();
        this->sim.waitIdle();
        this->sim.clearBytesReceived();
        const qsizetype boxesBefore = this->dialogs.shown().size();
        ToolWindow* tool = d == Disturbance::ToolTick ? forms::load<ToolWindow>() : nullptr;
        bool running = false;
        if (tool) tool->running = &running;
        bool disturbed = false;
        QTimer heartbeat;
        heartbeat.setTimerType(Qt::PreciseTimer);
        QObject::connect(&heartbeat, &QTimer::timeout, [&] {
            if (!running) return;
            if (disturbed) return;
            // The try is due between two of the path's operations, not before
            // its first one (a try under way is a sequence of its own).
            if (d == Disturbance::OwedTry && !sequence::yielding()) return;
            disturbed = true;
            switch (d) {
            case Disturbance::None: break;
            case Disturbance::Again: path.postAgain(); break;
            case Disturbance::ToolTick: tool->timer->start(0); break;
            case Disturbance::Close: path.window->close(); break;
            case Disturbance::OwedTry:
                retryTimes.owedLineOffMs = 0;
                owedlineoff::owe(M::Type);
                break;
            }
        });
        heartbeat.start(20);
        const long opsBefore = sequence::operationCount();
        const long yieldsBefore = sequence::yieldCount();
        running = true;
        path.run();
        running = false;
        const long opsAfter = sequence::operationCount();
        const long yieldsAfter = sequence::yieldCount();
        heartbeat.stop();

        Run r;
        r.stillLoaded = path.window->isLoaded();
        r.panel = shown(this->panel);
        this->sim.waitIdle();
        r.wire = this->sim.bytesReceived();
        r.receiver = M::state(this->sim);
        r.operations = opsAfter - opsBefore;
        r.yields = yieldsAfter - yieldsBefore;
        EXPECT_TRUE(d == Disturbance::None || disturbed) << "the sequence let no event run";

        // What waited comes once the sequence has returned.
        if (tool) {
            EXPECT_TRUE(pumpUntil([&] { return tool->ticks > 0; })) << "the tick was lost";
            if (!path.waitsInside) {
                EXPECT_EQ(tool->ticksInside, 0) << "the tick ran inside the sequence";
            }
            tool->unload();
        }
        if (d == Disturbance::Close && !path.waitsInside) {
            const QPointer<Form> w(path.window);
            EXPECT_TRUE(pumpUntil([&] { return !w || !w->isLoaded(); })) << "the close was lost";
        }
        this->pump(20);
        if (d == Disturbance::Close && path.waitsInside) {
            EXPECT_TRUE(path.window->isLoaded()) << "a transfer keeps its window";
        }
        r.boxes = this->dialogs.shown().size() - boxesBefore;
        return r;
    }

    // The table: the path undisturbed, then with each disturbance.
    void table(const Path& path) {
        SCOPED_TRACE(path.name.toStdString());
        const Run quiet = runOnce(path, Disturbance::None);
        ASSERT_GE(quiet.operations, 2) << "a sequence of operations";
        // Each operation after the first let events run before it began (a
        // transfer runs them in its own waits between cells).
        if (!path.waitsInside) {
            EXPECT_GE(quiet.yields, quiet.operations - 1) << "events ran between the operations";
        }
        ASSERT_FALSE(quiet.wire.isEmpty());
        for (Disturbance d : {Disturbance::Again, Disturbance::ToolTick, Disturbance::OwedTry, Disturbance::Close}) {
            if (d == Disturbance::Again && !path.postAgain) continue;
            // A transfer's own waits let anything run, a try included.
            if (d == Disturbance::OwedTry && path.waitsInside) continue;
            SCOPED_TRACE(name(d));
            const RetryTimes times = retryTimes;
            const Run r = runOnce(path, d);
            if (d == Disturbance::OwedTry) {
                if (!path.settlesLineOut) {
                    EXPECT_TRUE(pumpUntil([&] {
                        this->sim.waitIdle();
                        return this->sim.bytesReceived().size() > r.wire.size();
                    })) << "the owed try was lost";
                }
                owedlineoff::settle();
                // A try under way finishes its steps, its hold released.
                EXPECT_TRUE(pumpUntil([] { return CmdBusy == 0; }));
                retryTimes = times;
            }
            // The sequence ran whole, and nothing ran inside it.
            if (path.waitsInside) {
                EXPECT_TRUE(inOrder(quiet.wire, r.wire));
            } else {
                EXPECT_EQ(r.wire.left(quiet.wire.size()).toHex().toStdString(), quiet.wire.toHex().toStdString());
            }
            EXPECT_EQ(r.panel, quiet.panel);
            EXPECT_EQ(r.receiver, quiet.receiver);
            if (!path.waitsInside) {
                EXPECT_GE(r.yields, r.operations - 1);
            }
            EXPECT_TRUE(r.stillLoaded) << "the window went in the middle of its sequence";
            EXPECT_EQ(r.boxes, quiet.boxes);
            // The trigger that came again ran once more, after the first.
            if (d == Disturbance::Again) {
                this->sim.waitIdle();
                const QByteArray after = this->sim.bytesReceived();
                EXPECT_EQ(after.mid(quiet.wire.size(), quiet.wire.size()).toHex().toStdString(),
                          quiet.wire.toHex().toStdString())
                    << "the click that came in the middle was lost";
            }
        }
        if constexpr (std::is_same_v<typename M::Sim, sim::Ar7030Sim>) {
            EXPECT_EQ(this->sim.violations(), 0);
        }
    }
};

using Models = ::testing::Types<Ar7030, Nrd535, Nrd545, Rx320>;
TYPED_TEST_SUITE(Yielding, Models);

TYPED_TEST(Yielding, PanelUpdate) {
    if (!TypeParam::panelSequence) GTEST_SKIP() << "the panel has no Update";
    Form* p = this->panel;
    this->table({"Update", p, [p] { static_cast<PanelForm*>(p)->menuItem(QStringLiteral("mnuUpdate"))->trigger(); }, {}});
}

TYPED_TEST(Yielding, PanelButton) {
    if (!TypeParam::panelSequence) GTEST_SKIP() << "a button sends one command";
    auto* b = this->panel->template findChild<QAbstractButton*>(QLatin1String(TypeParam::button));
    ASSERT_NE(b, nullptr);
    this->table({TypeParam::button, this->panel, [b] { b->click(); },
                 [b] { postClick(b, b->rect().center()); }});
}

TYPED_TEST(Yielding, SetR2M) {
    frmMemman* m = this->memman();
    ASSERT_NE(m, nullptr);
    auto* grid = m->template findChild<QTableView*>(QStringLiteral("grdMemman"));
    ASSERT_NE(grid, nullptr);
    CurMemNr = 2;
    const QRect cell = grid->visualRect(grid->model()->index(2, 0));
    this->table({"Set R2M", m, [m] { m->grdMemman_DblClick(); },
                 [grid, cell] { postClick(grid->viewport(), cell.center(), true); }});
}

TYPED_TEST(Yielding, MemoryScanTick) {
    const QPointer<frmMemman> m = this->memman();
    ASSERT_NE(m, nullptr);
    this->setText(m, "txtFrom", QStringLiteral("1"));
    this->setText(m, "txtTo", QStringLiteral("1"));
    m->cmdScanrun_Click();
    m->scanTimer()->stop();  // the test runs the ticks
    this->table({"memory-scan tick", m, [m] { m->tmrScan_Timer(); }, [m] {
                     m->scanTimer()->setSingleShot(true);
                     m->scanTimer()->start(0);
                 }});
    if (m) m->scanTimer()->stop();
}

TYPED_TEST(Yielding, Fetch) {
    if (!TypeParam::receiverMemories) GTEST_SKIP() << "the receiver keeps no memories";
    frmMemman* m = this->memman();
    ASSERT_NE(m, nullptr);
    this->setText(m, "txtTo", QStringLiteral("2"));
    this->table({"Fetch", m, [this, m] {
                     this->dialogs.expect(QStringLiteral("capture the receiver"), dialogs::Answer::Yes)
                         .expect(memtext::Fetched);
                     m->cmdFetch_Click();
                 }, {}, true});
}

TYPED_TEST(Yielding, PropagationStart) {
    if (!TypeParam::runStartSequence) GTEST_SKIP() << "the start sends nothing";
    toolWindowOpener(QStringLiteral("frmPropagation"))();
    const QPointer<frmPropagation> w = forms::loaded<frmPropagation>();
    ASSERT_NE(w, nullptr);
    // A click on Start while the run goes finds the button disabled: nothing
    // to come again.
    this->table({"propagation start", w, [w] { w->cmdStart_Click(); }, {}, false, [w] {
                     if (w && w->recording()) w->cmdStop_Click();
                 }});
    if (w && w->recording()) w->cmdStop_Click();
}

// The timer's tick that begins an event: the event's setting goes to the
// receiver step by step. Another tick while the event runs begins nothing.
TYPED_TEST(Yielding, TimerEventBegins) {
    const auto setUtc = [](const QDateTime& utc) { Clock::set(QDateTime(utc.date(), utc.time())); };
    Clock::set(QDateTime(QDate(2027, 6, 1), QTime(9, 0)));
    toolWindowOpener(QStringLiteral("frmRxTimer"))();
    const QPointer<frmRxTimer> w = forms::loaded<frmRxTimer>();
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(beginTimerEvent(w, this->dialogs, setUtc));
    this->dialogs.allow(QStringLiteral("interrupt the running Timer"), dialogs::Answer::Yes);
    // Each run begins the same event afresh, the one before it ended.
    const auto reset = [this, w, setUtc] {
        if (!w) return;
        w->timeronoff(0);
        this->pump(20);
        Clock::set(QDateTime(QDate(2027, 6, 1), QTime(9, 0)));
        w->editor().setStart(QDateTime(QDate(2027, 6, 1), QTime(10, 0), Qt::UTC));
        w->editor().tpduration = 30;
        w->cmdFixClr_Click(1, 0);
        this->dialogs.allow(QStringLiteral("switched on"));
        w->timeronoff(1);
        w->tmrTestprog()->stop();
        setUtc(QDateTime(QDate(2027, 6, 1), QTime(10, 0, 1), Qt::UTC));
    };
    this->table({"timer event begins", w, [w] {
                     w->tmrTestprog_Timer();
                     if (w) w->tmrDuration()->stop();   // the event's own ticks are not the sequence's
                 }, {}, false, reset, true});
    if (w) w->timeronoff(0);
}

} // namespace
} // namespace dovrane::test
