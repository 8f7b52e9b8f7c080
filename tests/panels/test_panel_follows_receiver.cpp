// What a panel shows follows the receiver, whoever changed it: list tuning,
// Set R2M, the memory scan, a timer event or the panel's own buttons all
// leave the mode- and filter-dependent controls alike.
#include "memories/memman_rig.h"

#include "panels/frmnrd535.h"
#include "panels/frmnrd545.h"
#include "shell/frmsetup.h"
#include "sim/nrd535_sim.h"
#include "sim/nrd545_sim.h"
#include "support/go_rig.h"
#include "panels/frmar7030.h"
#include "panels/frmrx320.h"
#include "shell/frmloadfile.h"
#include "shell/globals.h"
#include "timer/timer_event.h"
#include "timer/timer_programme.h"
#include "support/when_shown.h"

#include <QListWidget>

#include <QCheckBox>
#include <QLabel>
#include <QSlider>

namespace dovrane::test {
namespace {

using Setting = sim::NrdSimBase::Setting;

QString text(QWidget* p, const char* label) {
    auto* l = p ? p->findChild<QLabel*>(QLatin1String(label)) : nullptr;
    return l ? l->text() : QStringLiteral("(missing)");
}

// Everything on the NRD-545 panel that depends on mode, filter and hold.
QStringList nrd545State(QWidget* p) {
    QStringList out;
    for (const char* l : {"lblMode", "lblBandwidth", "lblbandwidthcontrol", "lblPassbandshift"}) {
        auto* label = p->findChild<QLabel*>(QLatin1String(l));
        out << QStringLiteral("%1=%2%3").arg(QLatin1String(l), label->text(), label->isEnabled() ? "" : " (off)");
    }
    for (const char* w : {"vsbBandwidthcontrol", "vsbPassbandshift", "cmdBandwidth_0", "cmdBandwidth_1",
                          "cmdBandwidth_2", "cmdEcss_0", "cmdEcss_1", "cmdAgcspeed_0"})
        out << QStringLiteral("%1 %2").arg(QLatin1String(w), p->findChild<QWidget*>(QLatin1String(w))->isEnabled()
                                                                  ? QStringLiteral("on")
                                                                  : QStringLiteral("off"));
    return out;
}

class Nrd545Follows : public MemmanRig<sim::Nrd545Sim, frmNRD545, 4, 4800> {};

// An NRD-545 held in USB with its bandwidth control and passband shift live is
// brought to NFM or AMS by each path: the panel then shows what the panel's
// own mode button leaves, with both sliders off (a slider moved there would
// send a command to a receiver in a mode that has none).
TEST_F(Nrd545Follows, EveryPathToAFixedFilterModeLeavesThePanelAsItsOwnButtonDoes) {
    sim.setVfo(Setting{0, 1, 2, 7100000, 10});
    ASSERT_NE(go(), nullptr);
    frmMemman* m = openMemman();
    ASSERT_NE(m, nullptr);
    writeDataFile(QStringLiteral("MEM/MEM_4fixed.TXT"), "MEM000 07100000 5 01 0 3 @@@ @@@ @ NFM\r\n"
                                                        "MEM001 07100000 6 01 0 3 @@@ @@@ @ AMS\r\n");
    load(m, QStringLiteral("MEM_4fixed.TXT"));
    click(panel, QStringLiteral("cmdLock_1"));

    auto backToUsb = [&] {
        click(panel, QStringLiteral("cmdMode_2"));
        sim.waitIdle();
        ASSERT_TRUE(control<QSlider>(panel, QStringLiteral("vsbBandwidthcontrol"))->isEnabled());
        ASSERT_EQ(text(panel, "lblbandwidthcontrol"), QStringLiteral("2.40"));
    };
    // As the panel's own buttons leave it.
    std::map<int, QStringList> own;
    for (int mode : {5, 6}) {
        backToUsb();
        click(panel, QStringLiteral("cmdMode_%1").arg(mode));
        sim.waitIdle();
        own[mode] = nrd545State(panel);
    }

    struct Path {
        const char* name;
        int mode;
        std::function<void()> run;
    };
    auto timerEvent = [](int mode) {
        SlotFields slot{};
        slot[slotfield::Bw] = 1;
        slot[slotfield::Bwc] = 240;
        slot[slotfield::Mode] = mode;
        slot[slotfield::Agc] = 3;
        const char digits[] = "07100000";
        for (int i = 0; i < 8; ++i) slot[size_t(slotfield::Freq0 + i)] = digits[i] - '0';
        TimerReceiver rx(4);
        rx.apply(slot);
    };
    auto scanCell = [m](int cell) {
        control<QLineEdit>(m, QStringLiteral("txtFrom"))->setText(QString::number(cell));
        control<QLineEdit>(m, QStringLiteral("txtTo"))->setText(QString::number(cell));
        m->cmdScanrun_Click();
        m->scanTimer()->stop();
        m->tmrScan_Timer();
        m->cmdScanstop_Click();
    };
    auto setR2M = [m](int cell) {
        m->selectRow(cell);
        m->grdMemman_Click();
        m->grdMemman_DblClick();
    };
    const Path paths[] = {
        {"list tuning", 5, [] { QString letter = QStringLiteral("F"); SetRx2mfa(letter); }},
        {"Set R2M", 5, [&] { setR2M(0); }},
        {"Set R2M", 6, [&] { setR2M(1); }},
        {"memory scan", 5, [&] { scanCell(0); }},
        {"memory scan", 6, [&] { scanCell(1); }},
        {"timer event", 5, [&] { timerEvent(5); }},
        {"timer event", 6, [&] { timerEvent(6); }},
    };
    for (const Path& path : paths) {
        SCOPED_TRACE(std::string(path.name) + " to mode " + std::to_string(path.mode));
        backToUsb();
        path.run();
        sim.waitIdle();
        pump(20);
        EXPECT_EQ(sim.vfo().mode, path.mode);
        EXPECT_EQ(nrd545State(panel), own[path.mode]);
    }
    EXPECT_EQ(dialogs.pending(), 0);
}

class Nrd535Follows : public MemmanRig<sim::Nrd535Sim, frmNRD535, 2, 4800> {
protected:
    void setEcss(bool fitted) {
        QAction* item = panel ? panel->menuItem(QStringLiteral("mnuSetup")) : nullptr;
        ASSERT_TRUE(item);
        item->trigger();
        frmSetUp* s = forms::loaded<frmSetUp>();
        ASSERT_NE(s, nullptr);
        control<QCheckBox>(s, QStringLiteral("chkNRDoptions_%1").arg(EcssOption - NarrowFilterOption))
            ->setChecked(fitted);
        s->cmdClose_Click();
    }
};

// The receiver is in AM-U while the set-up says it has no ECSS: the mode
// label still names the mode, whether the panel learns it from Go's status
// read, a refresh, Set Up closing or a mode handler.
TEST_F(Nrd535Follows, TheModeLabelNamesAnOptionsModeTheSetUpDoesNotList) {
    for (const bool fittedAtGo : {false, true}) {
        SCOPED_TRACE(fittedAtGo ? "ECSS ticked at Go, then cleared" : "ECSS never ticked");
        sim.setVfo(Setting{0, 1, 7, 7100000, 1});
        ASSERT_NE(go({{EcssOption, fittedAtGo ? 1.0f : 0.0f}}), nullptr);
        const std::pair<const char*, std::function<void()>> steps[] = {
            {"Go", [] {}},
            {"Set Up closed without ECSS", [&] { setEcss(false); }},
            {"Update", [&] { panel->RxUpdatefull(); }},
            {"mode handler", [&] { panel->NRD535A_ModeChanged(8); }},
        };
        for (const auto& [name, step] : steps) {
            step();
            EXPECT_EQ(text(panel, "lblMode"), QLatin1String(std::string_view(name) == "mode handler" ? "AM-L" : "AM-U"))
                << name;
        }
        TearDown();
        SetUp();
    }
}

class Ar7030Follows : public GoRig {};

QStringList ar7030State(QWidget* p) {
    QStringList out{QStringLiteral("lblMode=") + text(p, "lblMode")};
    for (const char* w : {"vsbPassbandshift", "vsbBeatfreqosc"})
        out << QStringLiteral("%1 %2").arg(QLatin1String(w), p->findChild<QWidget*>(QLatin1String(w))->isEnabled()
                                                                  ? QStringLiteral("on")
                                                                  : QStringLiteral("off"));
    for (const char* l : {"lblPassbandshift", "lblBeatfreqosc"})
        out << QStringLiteral("%1 %2").arg(QLatin1String(l), background(p->findChild<QWidget*>(QLatin1String(l))).name());
    return out;
}

// The AR7030's passband-shift and BFO controls follow the mode whoever set
// it: list tuning and a timer event leave them as the panel's own button does.
TEST_F(Ar7030Follows, ListTuningAndATimerEventLeaveTheModeControlsAsTheButtonsDo) {
    PanelForm* p = go(1);
    ASSERT_NE(p, nullptr);
    auto button = [p](int mode) {
        auto* b = p->findChild<QAbstractButton*>(QStringLiteral("cmdMode_%1").arg(mode - 1));
        ASSERT_NE(b, nullptr);
        b->click();
    };
    std::map<int, QStringList> own;
    for (int mode : {3, 5, 7}) {
        button(mode);
        own[mode] = ar7030State(p);
    }
    ASSERT_NE(own[3], own[7]);
    ASSERT_NE(own[5], own[7]);
    auto timerEvent = [](int mode) {
        SlotFields slot{};
        slot[slotfield::Bw] = 1;
        slot[slotfield::Mode] = mode;
        const char digits[] = "07100000";
        for (int i = 0; i < 8; ++i) slot[size_t(slotfield::Freq0 + i)] = digits[i] - '0';
        TimerReceiver rx(1);
        rx.apply(slot);
    };
    const struct {
        const char* name;
        int mode;
        std::function<void()> run;
    } paths[] = {
        {"list tuning", 3, [] { QString l = QStringLiteral("F"); SetRx2mfa(l); }},
        {"list tuning", 5, [] { QString l = QStringLiteral("C"); SetRx2mfa(l); }},
        {"timer event", 3, [&] { timerEvent(3); }},
        {"timer event", 5, [&] { timerEvent(5); }},
    };
    for (const auto& path : paths) {
        SCOPED_TRACE(std::string(path.name) + " to mode " + std::to_string(path.mode));
        button(7);
        path.run();
        ASSERT_TRUE(settle());
        EXPECT_EQ(ar7030State(p), own[path.mode]);
    }
    EXPECT_EQ(dialogs.pending(), 0);
}

// ---- every path, into and out of every mode and filter, on every model ----

// What the panel of a model shows that depends on mode, filter and hold:
// each label's text, whether it is live and its colour; each button's caption
// and whether it is live; each slider's value and whether it is live.
QStringList panelState(QWidget* p, const QStringList& names) {
    QStringList out;
    for (const QString& name : names) {
        QWidget* w = p->findChild<QWidget*>(name);
        if (!w) {
            out << name + QStringLiteral(" (missing)");
            continue;
        }
        QString v;
        if (auto* l = qobject_cast<QLabel*>(w)) v = QStringLiteral("'%1' %2").arg(l->text(), background(l).name());
        else if (auto* b = qobject_cast<QAbstractButton*>(w)) v = QStringLiteral("'%1'").arg(b->text());
        else if (auto* sl = qobject_cast<QSlider*>(w)) v = QString::number(sl->value());
        out << QStringLiteral("%1 %2 %3").arg(name, v, w->isEnabled() ? QStringLiteral("on") : QStringLiteral("off"));
    }
    return out;
}

QStringList widgetNames(RxModel model) {
    QStringList n;
    switch (model) {
    case RxModel::Ar7030:
        n = {"lblMode", "lblBandwidth", "lblAgcspeed", "lblPassbandshift", "lblBeatfreqosc", "vsbPassbandshift",
             "vsbBeatfreqosc"};
        break;
    case RxModel::Nrd535:
        n = {"lblMode", "lblBandwidth", "lblAgcspeed", "lblbandwidthcontrol", "lblPassbandshift",
             "vsbBandwidthcontrol", "vsbPassbandshift", "cmdAgcspeed_0", "cmdBandwidth_0"};
        break;
    case RxModel::Rx320:
        n = {"lblMode", "lblBandwidth", "lblAgcspeed", "lblBeatfreqosc", "vsbBeatfreqosc"};
        for (int b = 0; b < 10; ++b) n << QStringLiteral("cmdBwgroup_%1").arg(b);
        break;
    case RxModel::Nrd545:
        n = {"lblMode", "lblBandwidth", "lblbandwidthcontrol", "lblPassbandshift", "vsbBandwidthcontrol",
             "vsbPassbandshift", "cmdBandwidth_0", "cmdEcss_0", "cmdEcss_1", "cmdAgcspeed_0"};
        break;
    case RxModel::None: break;
    }
    return n;
}

// A receiver setting as each path makes it: the panel's buttons, a list's
// mode letter, a memory cell (Set R2M and the memory scan) and a timer slot.
struct Change {
    const char* name;
    QStringList buttons;
    QString letter;   // empty: no list letter makes it
    QString cell;     // the cell's record; empty: none
    SlotFields slot;
    bool timer = false;
};

SlotFields slotOf(int att, int bw, int pbs, int bwc, int mode, int agc) {
    SlotFields s{};
    s[slotfield::Att] = att;
    s[slotfield::Bw] = bw;
    s[slotfield::Pbs] = pbs;
    s[slotfield::Bwc] = bwc;
    s[slotfield::Mode] = mode;
    s[slotfield::Agc] = agc;
    const char digits[] = "07100000";
    for (int i = 0; i < 8; ++i) s[size_t(slotfield::Freq0 + i)] = digits[7 - i] - '0';
    return s;
}

class PanelFollowsReceiver : public GoRig {
protected:
    static QAbstractButton* button(QWidget* p, const QString& name) {
        auto* b = p->findChild<QAbstractButton*>(name);
        EXPECT_NE(b, nullptr) << name.toStdString();
        return b;
    }
    // A click, also on a button the panel has disabled (the keys reach
    // those), as the user's own way to the setting.
    void press(QWidget* p, const QStringList& buttons) {
        for (const QString& name : buttons) {
            if (QAbstractButton* b = button(p, name)) b->click();
            settle();
            pump(5);
        }
    }
    frmMemman* openMemman(PanelForm* p, const QStringList& cells, int rxType) {
        QAction* item = p->menuItem(QStringLiteral("mnuMemman"));
        if (!item) return nullptr;
        item->trigger();
        frmMemman* m = forms::loaded<frmMemman>();
        if (!m) return nullptr;
        const QString name = QStringLiteral("MEM_%1cells.TXT").arg(rxType);
        QByteArray file;
        for (int i = 0; i < cells.size(); ++i)
            file += QStringLiteral("MEM%1 %2\r\n").arg(i, 3, 10, QLatin1Char('0')).arg(cells[i].mid(7)).toLatin1();
        writeDataFile(QStringLiteral("MEM/") + name, file);
        dialogs.expect(QStringLiteral("Are sure you want to load the file"), dialogs::Answer::Yes);
        const auto answer = whenShown<frmLoadfile>([name](frmLoadfile* l) {
            auto* list = l->findChild<QListWidget*>(QStringLiteral("list"));
            list->setCurrentItem(list->findItems(name, Qt::MatchExactly).value(0));
            l->cmdOK_Click();
        });
        m->cmdLoad_Click();
        EXPECT_TRUE(answer.done()) << "the load chooser did not come";
        return m;
    }
};

// After any path and any change, into and out of every mode and filter, a
// panel is what its own buttons leave: the same labels with the same values,
// the same live controls. Each row starts from a state the panel's buttons
// set (on the NRD receivers held, NFM and AMS with the hold taken in them, so
// that nothing of the filter values is known), makes its change once by the
// buttons and once by the path, and compares the two.
TEST_F(PanelFollowsReceiver, EveryPathInAndOutOfEveryModeLeavesThePanelAsItsOwnButtonsDo) {
    using Path = std::function<void(QWidget*, frmMemman*, int cell, const Change&)>;
    const Path list = [](QWidget*, frmMemman*, int, const Change& c) {
        QString l = c.letter;
        SetRx2mfa(l);
    };
    const Path setR2M = [](QWidget*, frmMemman* m, int cell, const Change&) {
        m->selectRow(cell);
        m->grdMemman_Click();
        m->grdMemman_DblClick();
    };
    const Path memoryScan = [](QWidget*, frmMemman* m, int cell, const Change&) {
        m->findChild<QLineEdit*>(QStringLiteral("txtFrom"))->setText(QString::number(cell));
        m->findChild<QLineEdit*>(QStringLiteral("txtTo"))->setText(QString::number(cell));
        m->cmdScanrun_Click();
        m->scanTimer()->stop();
        m->tmrScan_Timer();
        m->cmdScanstop_Click();
    };
    const Path timerEvent = [](QWidget*, frmMemman*, int, const Change& c) {
        TimerReceiver rx(RxType);
        rx.apply(c.slot);
    };
    const std::pair<const char*, Path> paths[] = {
        {"list tuning", list}, {"Set R2M", setR2M}, {"memory scan", memoryScan}, {"timer event", timerEvent}};

    struct Model {
        RxModel model;
        std::map<int, float> settings;
        // States to start from, by the buttons, and the changes made from each.
        std::vector<std::pair<QStringList, std::vector<Change>>> rows;
    };
    const QStringList held545Nfm{"cmdLock_0", "cmdMode_5", "cmdLock_1"};
    const QStringList held545Ams{"cmdLock_0", "cmdMode_6", "cmdLock_1"};
    const QStringList held545Usb{"cmdLock_1", "cmdMode_2"};
    const Change usb545{"USB", {"cmdMode_2"}, "U", "MEM000 07100000 2 01 0 1 @@@ @@@ @ ",
                        slotOf(0, 0, 0, 240, 2, 1), true};
    const Change am545{"AM", {"cmdMode_4"}, "A", "MEM000 07100000 4 01 0 1 @@@ @@@ @ ", slotOf(0, 0, 0, 240, 4, 1),
                       true};
    const Change amu545{"AM-U", {"cmdMode_4", "cmdEcss_0"}, {}, "MEM000 07100000 7 01 0 1 @@@ @@@ @ ",
                        slotOf(0, 0, 0, 240, 7, 1), true};
    const Change aml545{"AM-L", {"cmdMode_4", "cmdEcss_1"}, {}, "MEM000 07100000 8 01 0 1 @@@ @@@ @ ",
                        slotOf(0, 0, 0, 240, 8, 1), true};
    const Change nfm545{"NFM", {"cmdMode_5"}, "F", "MEM000 07100000 5 01 0 1 @@@ @@@ @ ",
                        slotOf(0, 0, 0, 240, 5, 1), true};

    const QStringList held535Nfm{"cmdLock_0", "cmdMode_5", "cmdLock_1"};
    const QStringList held535UsbInt{"cmdLock_1", "cmdMode_2", "cmdBandwidth_1", "cmdAgcspeed_0"};
    const QStringList held535AmWid{"cmdLock_1", "cmdMode_4", "cmdBandwidth_0", "cmdAgcspeed_1"};
    const QStringList held535CwNar{"cmdLock_1", "cmdMode_1", "cmdBandwidth_2", "cmdAgcspeed_1"};
    const Change usb535{"USB on Int", {"cmdMode_2", "cmdBandwidth_1", "cmdAgcspeed_0"}, "U",
                        "MEM000 07100000 2 01 0 0 @@@ @@@ @ ", slotOf(0, 1, 0, 2200, 2, 0), true};
    const Change am535{"AM on Wid", {"cmdMode_4", "cmdBandwidth_0", "cmdAgcspeed_1"}, "A",
                       "MEM000 07100000 4 00 0 1 @@@ @@@ @ ", slotOf(0, 0, 0, 5500, 4, 1), true};
    const Change cw535{"CW on Nar", {"cmdMode_1", "cmdBandwidth_2", "cmdAgcspeed_1"}, "C",
                       "MEM000 07100000 1 02 0 1 @@@ @@@ @ ", slotOf(0, 2, 0, 0, 1, 1), true};
    const Change nfm535{"NFM", {"cmdBandwidth_3", "cmdMode_5"}, "F", "MEM000 07100000 5 03 0 1 @@@ @@@ @ ",
                        slotOf(0, 3, 0, 0, 5, 2), true};
    const Change amu535{"AM-U", {"cmdMode_7", "cmdBandwidth_0", "cmdAgcspeed_1"}, {},
                        "MEM000 07100000 7 00 0 1 @@@ @@@ @ ", slotOf(0, 0, 0, 5500, 7, 1), true};

    // The AR7030's list letters take their filters from the settings.
    const int usbFilter = int(defaultSetting(15));
    const int fmFilter = int(defaultSetting(17));
    const Change usb7030{"USB", {"cmdMode_6", QStringLiteral("cmdBandwidth_%1").arg(usbFilter - 1), "cmdAgcspeed_2"},
                         "U", {}, slotOf(1, usbFilter, 0, 0, 7, 2), true};
    const Change nfm7030{"NFM", {"cmdMode_2", QStringLiteral("cmdBandwidth_%1").arg(fmFilter - 1)}, "F", {},
                         slotOf(1, fmFilter, 0, 0, 3, 2), false};
    const Change cw7030{"CW", {"cmdMode_4", QStringLiteral("cmdBandwidth_%1").arg(int(defaultSetting(16)) - 1),
                               "cmdAgcspeed_0"},
                        "C", {}, slotOf(1, int(defaultSetting(16)), 0, 0, 5, 0), true};

    // The RX-320's filters of another range: the range button, then the
    // filter's own button of that range.
    const Change cw320{"CW on 1050 Hz", {"cmdMode_3", "cmdBwrange_2", "cmdBwgroup_6", "cmdAgcspeed_2"}, "C",
                       "MEM000 07100000 3 23 @ 3 @@@ @@@ @ ", slotOf(0, 23, 0, 0, 3, 3), true};
    const Change usb320{"USB on 3000 Hz", {"cmdMode_1", "cmdBwrange_1", "cmdBwgroup_3", "cmdAgcspeed_0"}, "U",
                        "MEM000 07100000 1 10 @ 1 @@@ @@@ @ ", slotOf(0, 10, 0, 0, 1, 1), true};
    const Change am320{"AM on 5400 Hz", {"cmdMode_0", "cmdBwrange_0", "cmdBwgroup_3", "cmdAgcspeed_2"}, "A",
                       "MEM000 07100000 0 02 @ 3 @@@ @@@ @ ", slotOf(0, 2, 0, 0, 0, 3), true};

    const Model models[] = {
        {RxModel::Nrd545, {}, {{held545Nfm, {usb545, am545}}, {held545Ams, {usb545}}, {held545Usb, {amu545, aml545, nfm545}}}},
        {RxModel::Nrd535, {{NarrowFilterOption, 1}, {BwcOption, 1}, {EcssOption, 1}},
         {{held535Nfm, {usb535, am535}}, {held535UsbInt, {am535, cw535, nfm535, amu535}}, {held535AmWid, {usb535}},
          {held535CwNar, {usb535}}}},
        {RxModel::Ar7030, {}, {{{"cmdMode_2"}, {usb7030, cw7030}}, {{"cmdMode_6"}, {nfm7030}}}},
        {RxModel::Rx320, {}, {{{"cmdMode_0", "cmdBwrange_0"}, {cw320, usb320}}, {{"cmdMode_3", "cmdBwrange_2"}, {am320}}}},
    };

    for (const Model& model : models) {
        SCOPED_TRACE(modelName(int(model.model)));
        PanelForm* p = go(int(model.model), model.settings);
        ASSERT_NE(p, nullptr);
        QStringList cells;
        for (const auto& [from, changes] : model.rows)
            for (const Change& c : changes)
                if (!c.cell.isEmpty() && !cells.contains(c.cell)) cells << c.cell;
        frmMemman* m = cells.isEmpty() ? nullptr : openMemman(p, cells, int(model.model));
        const QStringList names = widgetNames(model.model);
        for (const auto& [from, changes] : model.rows) {
            for (const Change& c : changes) {
                press(p, from);
                press(p, c.buttons);
                const QStringList own = panelState(p, names);
                for (const auto& [pathName, run] : paths) {
                    const bool cellPath = pathName == std::string("Set R2M") || pathName == std::string("memory scan");
                    if (cellPath && (c.cell.isEmpty() || !m)) continue;
                    if (pathName == std::string("list tuning") && c.letter.isEmpty()) continue;
                    if (pathName == std::string("timer event") && !c.timer) continue;
                    SCOPED_TRACE(QStringLiteral("from %1, to %2 by %3")
                                     .arg(from.join(QLatin1Char(' ')), QLatin1String(c.name),
                                          QLatin1String(pathName))
                                     .toStdString());
                    press(p, from);
                    run(p, m, int(cells.indexOf(c.cell)), c);
                    settle();
                    pump(20);
                    EXPECT_EQ(panelState(p, names), own);
                }
            }
        }
        EXPECT_EQ(dialogs.pending(), 0);
        TearDown();
        SetUp();
    }
}

// A list letter sets the NRD-535's mode and then its filter. The bandwidth
// control the panel learns on the way is that of the filter the letter ends
// on: no "W" for the filter the receiver stood on in between, which the user
// never asked for.
TEST_F(Nrd535Follows, AListLetterSendsTheBandwidthControlOfItsOwnFilterOnly) {
    ASSERT_NE(go({{NarrowFilterOption, 1}, {BwcOption, 1}, {EcssOption, 1}}), nullptr);
    const QStringList nfmOverWid{"cmdLock_1", "cmdMode_4", "cmdBandwidth_0", "cmdLock_0", "cmdMode_5", "cmdLock_1"};
    const QStringList nfmOverInt{"cmdLock_1", "cmdMode_4", "cmdBandwidth_1", "cmdLock_0", "cmdMode_5", "cmdLock_1"};
    const struct {
        QStringList from;
        QString letter;
        QStringList w;   // the bandwidth control commands that go out
    } rows[] = {
        {nfmOverWid, "U", {"W2200"}},
        {nfmOverWid, "A", {"W5500"}},
        {nfmOverInt, "A", {"W5500"}},
        {nfmOverInt, "U", {"W2200"}},
        {{"cmdLock_1", "cmdMode_2", "cmdBandwidth_1"}, "A", {"W5500"}},
        {{"cmdLock_1", "cmdMode_1", "cmdBandwidth_2"}, "U", {"W2200"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE((row.from.join(QLatin1Char(' ')) + QStringLiteral(", then ") + row.letter).toStdString());
        for (const QString& b : row.from) {
            click(panel, b);
            sim.waitIdle();
        }
        pump(20);
        sim.waitIdle();
        sim.clearCommands();
        QString letter = row.letter;
        SetRx2mfa(letter);
        pump(20);
        sim.waitIdle();
        QStringList w;
        for (const QByteArray& c : sim.commandTexts())
            if (c.startsWith('W')) w << QString::fromLatin1(c);
        EXPECT_EQ(w, row.w);
        EXPECT_TRUE(control<QSlider>(panel, QStringLiteral("vsbBandwidthcontrol"))->isEnabled());
    }
    EXPECT_EQ(dialogs.pending(), 0);
}

} // namespace
} // namespace dovrane::test
