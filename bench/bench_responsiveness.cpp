// How long each path of the program holds the event loop, on every receiver,
// with the simulated receivers paced at the line's real baud rate: the real
// welcome window, Go, the real panel and tool windows, the real drivers and
// port. A 20 ms heartbeat that belongs to no window beats while events run;
// the longest gap between two beats during a path is how long the path held
// every window. Its limit is the longest single receiver operation on the
// path plus 50 ms, an operation's time being its wire-and-pause time as
// bench_ar7030 and bench_nrd measure it (an operation is atomic: it may hold
// the loop, a sequence of them may not).
//
// Notices are printed, never waited on; a question is answered Yes.
// Prints one row per model and path; the exit status is 1 when a row is over
// its limit or a path could not be driven.
// Usage: bench_responsiveness [model ...]   (ar7030 nrd535 nrd545 rx320)
#include "bench_support.h"
#include "drivers/nrd/nrd_codec.h"
#include "memories/frmmemman.h"
#include "memories/memory_image.h"
#include "memories/memman_files.h"
#include "panels/panelform.h"
#include "panels/panel_registry.h"
#include "panels/rxpanel.h"
#include "panels/tool_windows.h"
#include "platform/clock.h"
#include "platform/commport.h"
#include "platform/number_text.h"
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
#include "shell/frmwelcome.h"
#include "shell/globals.h"
#include "shell/settings_file.h"
#include "shell/show_panel.h"
#include "stations/frmtracking.h"
#include "support/go_rig.h"
#include "support/heartbeat.h"
#include "support/when_shown.h"
#include "timer/frmrtty.h"
#include "timer/frmrxclock.h"
#include "timer/frmrxtimer.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSlider>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <sys/prctl.h>
#include <vector>

using namespace dovrane;

namespace {

// ---- What one operation costs on the wire (as bench_ar7030 and bench_nrd) ----

// One step of an NRD operation as the line sees it.
struct Step {
    enum Kind { Write, Pause, Reply } kind;
    int n;  // bytes written or awaited, or milliseconds of pause
};
using Plan = std::vector<Step>;
Step W(int bytes) { return {Step::Write, bytes}; }
Step R(int bytes) { return {Step::Reply, bytes}; }

// A write is handed to the port at once and the pause after it runs while
// the line still carries it; a reply starts once the receiver has the whole query.
double planMs(const Plan& plan, int baud) {
    const double byteMs = 10.0 * 1000.0 / baud;
    double driver = 0, lineOut = 0;
    for (const Step& s : plan) {
        switch (s.kind) {
        case Step::Write: lineOut = std::max(driver, lineOut) + s.n * byteMs; break;
        case Step::Pause: driver += s.n; break;
        case Step::Reply: driver = std::max(driver, lineOut + s.n * byteMs); break;
        }
    }
    return std::max(driver, lineOut);
}

// The operations a path is made of, each by its longest member: what the
// path's limit is built from. Figures in ms.
struct Ops {
    double refresh;     // the longest read of a panel refresh (the receiver not held)
    double refreshHeld; // the same while the receiver is held
    double freqRead;    // the frequency read back (not held)
    double tune;        // a frequency write (not held)
    double tuneHeld;
    double setting;     // a mode or filter write
    double level;       // a slider's write
    double hold;        // remote on (NRD)
    double release;     // remote off (NRD)
    double smeter;      // one S-meter read (held on the NRD)
    double memRead;     // one memory cell read
    double memWrite;    // one memory cell write
    double clockWrite;  // the receiver clock set
    double longest;     // the longest operation the model has
};

Ops ar7030Ops() {
    const int b = 1200;
    auto wire = [&](int n) { return bench::wireMs(n, b); };
    Ops o{};
    o.refresh = o.refreshHeld = wire(6 + 3);   // FrequencyA get, the longest read of RxUpdatefull
    o.freqRead = o.refresh;
    o.tune = o.tuneHeld = wire(11);            // FrequencyA let
    o.setting = wire(6);                        // Mode / Bandwidth let
    o.level = wire(4 + 5 + 1);                  // Volume let
    o.smeter = wire(8 + 2);
    o.memRead = wire(4 + 4 + 4 + 1 + 3 + 1 + 3 + 1 + 1 + 1);
    o.memWrite = wire(23);
    o.clockWrite = wire(10);
    o.longest = o.memRead;
    return o;
}

Ops rx320Ops() {
    const int b = 1200;
    auto wire = [&](int n) { return bench::wireMs(n, b); };
    Ops o{};
    o.tune = o.tuneHeld = wire(8);
    o.setting = wire(3 + 8);                    // Mode / Bandwidth, with the tuning words they need
    o.refresh = o.refreshHeld = o.setting;      // no read-back: a refresh sends the settings
    o.freqRead = 0;                             // the frequency last sent
    o.level = wire(4);
    o.smeter = wire(2 + 4);
    o.longest = o.setting;
    return o;
}

// On the NRD's each command ("H1", "H0" and what goes between) and each
// question with its reply is an operation of its own, and the receiver's
// pauses between commands let events run: the hold, an exchange and the
// release of a bracketed command are three.
Ops nrd535Ops() {
    const int b = 4800;
    auto ms = [&](const Plan& p) { return planMs(p, b); };
    const Plan status = {W(8), R(17)};          // the channel that "J1199" filled
    Ops o{};
    o.refresh = o.refreshHeld = ms(status);
    o.freqRead = o.refresh;                     // the frequency comes with the status
    o.tune = o.tuneHeld = ms({W(10)});
    o.setting = ms({W(3)});
    o.level = ms({W(7)});                       // passband shift (held)
    o.hold = o.release = ms({W(3)});
    o.smeter = ms({W(2), R(4)});
    o.memRead = ms({W(8), R(16)});
    o.memWrite = ms({W(17)});
    o.clockWrite = ms({W(9)});
    o.longest = std::max(o.refresh, o.memRead);
    return o;
}

Ops nrd545Ops() {
    const int b = 4800;
    auto ms = [&](const Plan& p) { return planMs(p, b); };
    const Plan status = {W(8), R(21)};          // the channel that "J1999" filled
    Ops o{};
    o.refresh = o.refreshHeld = ms(status);
    o.freqRead = ms({W(2), R(12)});
    o.tune = o.tuneHeld = ms({W(12)});
    o.setting = ms({W(3)});
    o.level = ms({W(6)});                       // IF gain, volume, tone (held)
    o.hold = o.release = ms({W(3)});
    o.smeter = ms({W(2), R(5)});
    o.memRead = ms({W(8), R(21)});
    o.memWrite = ms({W(21)});
    o.clockWrite = ms({W(9)});
    o.longest = std::max(o.refresh, o.memRead);
    return o;
}

struct Model {
    const char* name;
    int rxType;
    int baud;
    Ops ops;
    bool nrd() const { return rxType == 2 || rxType == 4; }
};

// ---- The program, started as a user starts it ----

// The test rig's world (a fresh data folder, the settings written, the
// simulated receiver on port 1), used outside a test.
class Program : public test::GoRig {
public:
    void TestBody() override {}
    void up() {
        SetUp();
        // The real deadlines and the real clock, as a user has them.
        replyTimeouts = ReplyTimeouts{};
        retryTimes = RetryTimes{};
        Clock::reset();
        dialogs.allow(QStringLiteral("capture the receiver"), dialogs::Answer::Yes);
        dialogs.allow(QStringLiteral("overwrite the Receiver"), dialogs::Answer::Yes);
        dialogs.allow(QStringLiteral("already exist"), dialogs::Answer::Yes);
        dialogs.allow(QString(), dialogs::Answer::Ok);
    }
    void down() { TearDown(); }

    // The simulator paced from the start, the settings naming the model, the
    // welcome window up: Go is the next click.
    frmWelcome* ready(const Model& m, const std::map<int, float>& settings = {}) {
        sim::SimReceiver* rx = startSimulator(m.rxType);
        if (!rx) return nullptr;
        rx->setBaud(m.baud);
        rx->setSmeterCurve(sim::SimReceiver::bandCarriers());
        QByteArray text = DataFolder.toUtf8() + "\r\n5130N\r\n00007W\r\n" + numText(double(m.rxType)).toUtf8() + "\r\n";
        for (int i = 1; i <= 31; ++i) {
            const auto it = settings.find(i);
            const float v = it != settings.end() ? it->second : (i == 1 ? 1.0f : defaultSetting(i));
            text += numText(double(v)).toUtf8() + "\r\n";
        }
        writeDataFile(SettingsFileName, text);
        return frmWelcome::start();
    }
    PanelForm* started(const Model& m, const std::map<int, float>& settings = {}) {
        frmWelcome* w = ready(m, settings);
        if (!w) return nullptr;
        w->imgGo_Click();
        settle();
        return panel();
    }
    static PanelForm* panel() { return qobject_cast<PanelForm*>(currentPanel()); }
    bool quiet() const { return settle(); }
    sim::SimReceiver* rx() const { return simulator(); }
    void write(const QString& name, const QByteArray& data) const { writeDataFile(name, data); }
    QString path(const QString& name) const { return dataPath(name); }

    // Boxes shown since the last call, printed.
    void printNotices() {
        const auto& shown = dialogs.shown();
        for (qsizetype i = noticesPrinted_; i < shown.size(); ++i) {
            QString text = shown[i].text;
            text.replace(QLatin1Char('\n'), QLatin1String(" / "));
            std::fprintf(stderr, "    notice: %s\n", qPrintable(text));
        }
        noticesPrinted_ = shown.size();
    }

private:
    qsizetype noticesPrinted_ = 0;
};

// ---- The table ----

struct Row {
    std::string model, path;
    double gapMs;
    double limitMs;
    bool driven;
};
std::vector<Row> rows;

// Measures one path: its own span, and runMs more of events for what it
// starts by itself.
void measure(Program& prog, const Model& m, const char* path, double longestOpMs, const std::function<bool()>& run,
             int runMs = 0) {
    prog.quiet();
    test::EventLoopHeartbeat beat;
    bool driven = false;
    // Until the receiver's line has gone quiet: steps that follow the path
    // through the event loop are the path's too.
    sim::SimReceiver* rx = prog.rx();
    beat.measure([&] { driven = run(); }, runMs,
                 rx ? test::EventLoopHeartbeat::unchangedFor([rx] { return qint64(rx->bytesReceived().size()); }, 300)
                    : std::function<bool()>());
    const double limit = longestOpMs + 50;
    rows.push_back({m.name, path, beat.longestGapMs(), limit, driven});
    std::fprintf(stderr, "  %-8s %-28s %8.0f %8.0f %s\n", m.name, path, beat.longestGapMs(), limit,
                 !driven ? "NOT DRIVEN" : beat.longestGapMs() <= limit ? "ok" : "OVER");
    prog.printNotices();
}

template <class T = QAbstractButton> T* control(QWidget* w, const char* name) {
    return w ? w->findChild<T*>(QLatin1String(name)) : nullptr;
}
bool click(QWidget* w, const char* name) {
    QAbstractButton* b = control(w, name);
    if (!b || !b->isEnabled()) return false;
    b->click();
    return true;
}
bool trigger(PanelForm* p, const char* item) {
    QAction* a = p ? p->menuItem(QLatin1String(item)) : nullptr;
    if (!a || !a->isEnabled()) return false;
    a->trigger();
    return true;
}
bool nudge(QWidget* w, const char* slider) {
    auto* s = control<QSlider>(w, slider);
    if (!s || !s->isEnabled()) return false;
    s->triggerAction(s->value() < s->maximum() ? QAbstractSlider::SliderSingleStepAdd
                                               : QAbstractSlider::SliderSingleStepSub);
    return true;
}
template <class T> T* opened(const char* windowName) {
    if (auto open = toolWindowOpener(QLatin1String(windowName))) open();
    return forms::loaded<T>();
}
// Picks the name the save chooser offers, once it is up.
test::WhenReady okInSaveChooser() {
    return test::whenShown<frmSavefile>([](frmSavefile* chooser) { control<QPushButton>(chooser, "cmdOK")->click(); });
}

// ---- The paths ----

void panelPaths(const Model& m) {
    Program prog;
    prog.up();
    const Ops& o = m.ops;
    frmWelcome* welcome = prog.ready(m);
    measure(prog, m, "panel load (Go)", std::max({o.refresh, o.setting, o.level, o.tune}), [&] {
        if (!welcome) return false;
        welcome->imgGo_Click();
        return Program::panel() != nullptr;
    });
    PanelForm* p = Program::panel();
    measure(prog, m, "mode button", std::max(o.setting, o.refresh), [&] { return click(p, "cmdMode_1"); });
    measure(prog, m, "filter button", std::max(o.setting, o.refresh),
            [&] { return click(p, m.rxType == 3 ? "cmdBwgroup_3" : "cmdBandwidth_1"); });
    if (m.rxType != 3) measure(prog, m, "Direct > Update", o.refresh, [&] { return trigger(p, "mnuUpdate"); });
    measure(prog, m, "keypad frequency entry", o.tune, [&] {
        for (const char* k : {"cmd0to9_9", "cmd0to9_5", "cmd0to9_0", "cmd0to9_5"})
            if (!click(p, k)) return false;
        return click(p, "cmdEnterfreq");
    });
    if (m.nrd()) {
        measure(prog, m, "Lock On", std::max(o.hold, o.refreshHeld), [&] { return click(p, "cmdLock_1"); });
        measure(prog, m, "slider (held)", o.level,
                [&] { return nudge(p, m.rxType == 2 ? "vsbPassbandshift" : "vsbVolume"); });
        measure(prog, m, "Lock Off", o.release, [&] { return click(p, "cmdLock_0"); });
    } else {
        measure(prog, m, "slider", o.level, [&] { return nudge(p, "vsbVolume"); });
    }
    prog.down();
}

QString memoryRecord(int rxType, int n) {
    const QString cell = cellText(n);
    const int hz = 7100000 + n * 5000;
    switch (rxType) {
    case 1: return QStringLiteral("MEM%1 0%2 1 02 @ @ 000 020 0 ").arg(cell).arg(hz);
    case 2: return QStringLiteral("MEM%1 0%2 2 01 0 1 @@@ @@@ @ ").arg(cell).arg(hz);
    case 3: return QStringLiteral("MEM%1 0%2 0 33 @ 3 @@@ @@@ @ ").arg(cell).arg(hz);
    default: return QStringLiteral("MEM%1 0%2 2 02 1 0 @@@ @@@ @ ").arg(cell).arg(hz);
    }
}

void memoryPaths(const Model& m) {
    Program prog;
    prog.up();
    const Ops& o = m.ops;
    PanelForm* p = prog.started(m);
    frmMemman* mm = trigger(p, "mnuMemman") ? forms::loaded<frmMemman>() : nullptr;
    auto text = [&](const char* box, const QString& t) {
        if (auto* e = control<QLineEdit>(mm, box)) e->setText(t);
    };
    // Fetch and Fill of a short range go first, while the image is the receiver's.
    // The RX-320 keeps no memories of its own.
    const bool transfers = mm && m.rxType != 3;
    if (transfers) {
        // The NRD's are held for a transfer, with the RTTY switched off first.
        const double around = m.nrd() ? std::max({o.setting, o.hold, o.refreshHeld, o.release}) : 0;
        measure(prog, m, "Fetch (4 cells)", std::max(o.memRead, around), [&] {
            text("txtFrom", QStringLiteral("0"));
            text("txtTo", QStringLiteral("3"));
            return click(mm, "cmdFetch");
        });
        measure(prog, m, "Fill (4 cells)", std::max(o.memWrite, around), [&] {
            text("txtFrom", QStringLiteral("0"));
            text("txtTo", QStringLiteral("3"));
            return click(mm, "cmdFill");
        });
    }
    if (mm) {
        // The cells of the model, from a file loaded as the user loads one.
        for (int n = 0; n <= 5; ++n) MemImage.setRecord(n, memoryRecord(m.rxType, n));
        FileKindName[8] = QStringLiteral("MEM_BENCH.TXT");
        savememfile();
        loadmemfile();
        mm->selectRow(0);
    }
    const double recall = std::max({o.tune, o.setting, o.refresh});
    measure(prog, m, "Set R2M (double-click)", recall, [&] {
        if (!mm) return false;
        QTableView* grid = mm->grid();
        const QModelIndex cell = grid->model()->index(2, 1);
        grid->scrollTo(cell);
        // A double-click as the window system delivers one: press and
        // release, then the second press as a double-click, and its release.
        const QPoint at = grid->visualRect(cell).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        return true;
    });
    measure(prog, m, "memory scan, 1 s dwell", recall, [&] {
        if (!mm) return false;
        text("txtFrom", QStringLiteral("0"));
        text("txtTo", QStringLiteral("5"));
        text("txtDelay", QStringLiteral("1"));
        return click(mm, "cmdScanrun");
    }, 5000);
    measure(prog, m, "memory scan Stop", recall, [&] { return click(mm, "cmdScanstop"); });
    prog.down();
}

// One measuring tool: open, start, its ticks, Stop, Save As.
struct Tool {
    const char* name;
    const char* window;
    std::function<bool(Program&)> start;   // the window is open
    bool saves;
    std::function<Form*()> loaded;
};

template <class T> T* tool() { return forms::loaded<T>(); }

void toolPaths(const Model& m, const Tool& t) {
    Program prog;
    prog.up();
    const Ops& o = m.ops;
    PanelForm* p = prog.started(m);
    if (!p || !toolWindowOpener(QLatin1String(t.window))) {
        std::fprintf(stderr, "  %s: %s cannot be opened\n", m.name, t.window);
        rows.push_back({m.name, std::string(t.name) + " (not opened)", 0, 0, false});
        prog.down();
        return;
    }
    toolWindowOpener(QLatin1String(t.window))();
    prog.quiet();
    // A start reads the frequency and the attenuator (on the NRD's a status
    // read, before the hold), then (the NRD's) holds the receiver and
    // refreshes the panel, tunes and reads the S-meter.
    const double start = m.nrd() ? std::max({o.freqRead, o.refresh, o.hold, o.refreshHeld, o.tuneHeld, o.smeter})
                                 : std::max({o.freqRead, o.tune, o.smeter, o.refresh});
    const double tick = std::max(o.tuneHeld, o.smeter);
    const std::string name = t.name;
    measure(prog, m, (name + " start").c_str(), start, [&] { return t.start(prog); });
    measure(prog, m, (name + " ticks (3 s)").c_str(), tick, [] { return true; }, 3000);
    measure(prog, m, (name + " Stop").c_str(), m.nrd() ? o.release : o.tune, [&] {
        return click(t.loaded(), "cmdStop");
    });
    if (t.saves)
        measure(prog, m, (name + " Save As").c_str(), std::max(o.refresh, o.tune), [&] {
            const auto answer = okInSaveChooser();
            return click(t.loaded(), "cmdsaveas");
        });
    prog.down();
}

std::vector<Tool> tools() {
    return {
        {"spectrum", "frmSpectrum",
         [](Program&) {
             frmSpectrum* w = tool<frmSpectrum>();
             if (!w) return false;
             // Start asks for the limits in a modal window; the user fills it in.
             const auto answer = test::whenShown<frmSpectrumlimits>([](frmSpectrumlimits* dlg) {
                 const char* texts[] = {"9500", "9700", "5", "0"};
                 for (int i = 0; i < 4; ++i) dlg->txtInput[size_t(i)]->setText(QLatin1String(texts[i]));
                 control<QCheckBox>(dlg, "chkKeepgoing")->setChecked(true);
                 dlg->cmdOK_Click();
             });
             return click(w, "cmdStart") && w->runActive();
         },
         true, [] { return static_cast<Form*>(tool<frmSpectrum>()); }},
        {"list scan", "frmScanlist",
         [](Program&) {
             frmScanlist* w = tool<frmScanlist>();
             if (!w) return false;
             for (int r = 0; r < 3; ++r) w->txtFreqlist[size_t(r)]->setText(QString::number(9500 + 100 * r));
             return click(w, "cmdStart") && w->runActive();
         },
         true, [] { return static_cast<Form*>(tool<frmScanlist>()); }},
        {"pair scan", "frmScanpairs",
         [](Program& prog) {
             frmScanpairs* w = tool<frmScanpairs>();
             if (!w) return false;
             prog.write(QStringLiteral("SFP/SFP_BENCH.TXT"), "9500,9510, 1,a\r\n9600,9610, 1,b\r\n9700,9710, 1,c\r\n");
             FileKindPath[12] = prog.path(QStringLiteral("SFP/"));
             FileKindName[12] = QStringLiteral("SFP_BENCH.TXT");
             w->loadscanpairsfile();
             return click(w, "cmdStart") && w->runActive();
         },
         true, [] { return static_cast<Form*>(tool<frmScanpairs>()); }},
        {"S-meter", "frmSmeter",
         [](Program&) {
             frmSmeter* w = tool<frmSmeter>();
             return w && click(w, "cmdStart") && w->recording();
         },
         false, [] { return static_cast<Form*>(tool<frmSmeter>()); }},
        {"propagation", "frmPropagation",
         [](Program&) {
             frmPropagation* w = tool<frmPropagation>();
             return w && click(w, "cmdStart") && w->recording();
         },
         true, [] { return static_cast<Form*>(tool<frmPropagation>()); }},
    };
}

void timerPaths(const Model& m) {
    Program prog;
    prog.up();
    const Ops& o = m.ops;
    PanelForm* p = prog.started(m);
    frmRxTimer* w = p ? opened<frmRxTimer>("frmRxTimer") : nullptr;
    // One event of 2 minutes from the next whole minute, on the real clock.
    const QDateTime start = Clock::utcNow().addSecs(60 - Clock::utcNow().time().second());
    measure(prog, m, "timer event begins", std::max({o.tune, o.setting, o.refresh, o.hold, o.release}), [&] {
        if (!w) return false;
        w->editor().setStart(start);
        w->editor().tpduration = 2;
        w->cmdFixClr_Click(1, 0);
        w->timeronoff(1);
        w->tmrTestprog()->stop();
        Clock::set(start.addSecs(1));
        w->tmrTestprog_Timer();
        return w->programme().state() == TimerProgramme::State::Running;
    }, 1500);
    prog.down();
}

void clockPaths(const Model& m) {
    Program prog;
    prog.up();
    PanelForm* p = prog.started(m);
    frmRxClock* w = trigger(p, "mnuRxClock") ? forms::loaded<frmRxClock>() : nullptr;
    if (!w) {
        prog.down();
        return;
    }
    measure(prog, m, "clock window: set to UTC", m.ops.clockWrite, [&] { return click(w, "cmdRX2UT"); });
    prog.down();
}

void trackingPaths(const Model& m) {
    if (m.rxType == 3) return;
    Program prog;
    prog.up();
    PanelForm* p = prog.started(m);
    QByteArray list;
    for (int f = 5900; f <= 9700; f += 5)
        list += QStringLiteral("%1 0000-2359 Station                EU       English           250     5130N 00012W "
                               "000100000 Country      Location    \r\n")
                    .arg(double(f), 8, 'f', 2, QLatin1Char('0'))
                    .toLatin1();
    prog.write(QStringLiteral("RX2DB/BENCH.FTL"), list);
    frmTracking* t = p ? forms::load<frmTracking>() : nullptr;
    if (t) {
        t->show();
        FileKindName[5] = QStringLiteral("BENCH.FTL");
        t->loadtrackingfile();
    }
    prog.quiet();
    // Dial mode reads the frequency, then the AR7030 is polled and the NRD's
    // are told to report their dial.
    measure(prog, m, "tracking: Dial mode", std::max(m.ops.freqRead, m.ops.setting), [&] {
        auto* dial = control(t, "optMousedial_1");
        if (!dial || !dial->isEnabled()) return false;
        dial->click();
        return dial->isChecked();
    }, 2000);
    measure(prog, m, "tracking: Mouse mode", std::max(m.ops.freqRead, m.ops.setting), [&] {
        auto* mouse = control(t, "optMousedial_0");
        if (!mouse) return false;
        mouse->click();
        return mouse->isChecked();
    });
    prog.down();
}

void rttyPaths(const Model& m) {
    if (!m.nrd()) return;
    Program prog;
    prog.up();
    // The RTTY option fitted.
    PanelForm* p = prog.started(m, {{13, 1}});
    frmRtty* w = trigger(p, "mnuRtty") ? forms::loaded<frmRtty>() : nullptr;
    // The RTTY settings go out as plain commands, each with its own hold.
    measure(prog, m, "RTTY window: Start", m.ops.setting, [&] { return click(w, "cmdStart"); }, 1000);
    measure(prog, m, "RTTY window: Stop", m.ops.setting, [&] { return click(w, "cmdStop"); });
    prog.down();
}

} // namespace

int main(int argc, char** argv) {
    bench::prepareEnvironment();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Dovrane"));
    QLocale::setDefault(QLocale::c());
    // The simulators pace each byte with a sleep; the default timer slack
    // would add to every one of them. Their threads inherit this setting.
    prctl(PR_SET_TIMERSLACK, 1UL);

    const Model models[] = {
        {"ar7030", 1, 1200, ar7030Ops()},
        {"nrd535", 2, 4800, nrd535Ops()},
        {"nrd545", 4, 4800, nrd545Ops()},
        {"rx320", 3, 1200, rx320Ops()},
    };
    auto wanted = [&](const Model& m) {
        if (argc < 2) return true;
        for (int i = 1; i < argc; ++i)
            if (!std::strcmp(argv[i], m.name)) return true;
        return false;
    };

    std::fprintf(stderr, "measuring (model, path, longest gap ms, limit ms):\n");
    for (const Model& m : models) {
        if (!wanted(m)) continue;
        panelPaths(m);
        memoryPaths(m);
        for (const Tool& t : tools()) toolPaths(m, t);
        timerPaths(m);
        clockPaths(m);
        trackingPaths(m);
        rttyPaths(m);
    }

    std::printf("Longest event-loop gap per path, heartbeat %d ms, receivers at their line's baud rate\n",
                test::EventLoopHeartbeat::DefaultIntervalMs);
    std::printf("%-8s %-30s %10s %10s  %s\n", "model", "path", "gap ms", "limit ms", "");
    int over = 0, undriven = 0;
    for (const Row& r : rows) {
        const char* verdict = !r.driven ? "NOT DRIVEN" : r.gapMs <= r.limitMs ? "ok" : "OVER";
        if (!r.driven) ++undriven;
        else if (r.gapMs > r.limitMs) ++over;
        std::printf("%-8s %-30s %10.0f %10.0f  %s\n", r.model.c_str(), r.path.c_str(), r.gapMs, r.limitMs, verdict);
    }
    std::printf("%d of %zu path(s) over their limit, %d not driven\n", over, rows.size(), undriven);
    return bench::exitStatus(over == 0, undriven == 0);
}
