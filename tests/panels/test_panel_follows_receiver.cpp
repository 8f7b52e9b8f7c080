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
#include "timer/timer_event.h"
#include "timer/timer_programme.h"

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

} // namespace
} // namespace dovrane::test
