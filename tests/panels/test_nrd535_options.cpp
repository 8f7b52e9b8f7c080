// The NRD-535's options as the user changes them while the program runs:
// Set Up, opened from the panel, ticks or clears an option, and once it
// closes everything that shows the option follows it, while no path sends
// the receiver a code of an option it lacks.
#include "memories/memman_rig.h"

#include "memories/frmmemcell.h"
#include "panels/frmnrd535.h"
#include "panels/panel_lock.h"
#include "shell/frmsetup.h"
#include "sim/nrd535_sim.h"
#include "stations/frmtracking.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSlider>

namespace dovrane::test {
namespace {

using Setting = sim::NrdSimBase::Setting;
using Wire = QList<QByteArray>;

class Nrd535Options : public MemmanRig<sim::Nrd535Sim, frmNRD535, 2, 4800> {
protected:
    // Ticks or clears the option's box in Set Up, opened from the panel's
    // menu, and closes Set Up.
    void setOption(int setting, bool fitted) {
        QAction* item = panel ? panel->menuItem(QStringLiteral("mnuSetup")) : nullptr;
        ASSERT_TRUE(item);
        item->trigger();
        frmSetUp* s = forms::loaded<frmSetUp>();
        ASSERT_NE(s, nullptr);
        control<QCheckBox>(s, QStringLiteral("chkNRDoptions_%1").arg(setting - NarrowFilterOption))->setChecked(fitted);
        s->cmdClose_Click();
        ASSERT_FALSE(forms::loaded<frmSetUp>());
    }

    // The commands the receiver has had since the last clearSent().
    Wire sent() {
        EXPECT_TRUE(sim.waitIdle());
        return sim.commandTexts();
    }
    void clearSent() {
        sent();
        sim.clearCommands();
    }
    bool enabled(const char* name) { return control<QWidget>(panel, QLatin1String(name))->isEnabled(); }
    QString text(const char* name) { return control<QLabel>(panel, QLatin1String(name))->text(); }
};

// An option the receiver lacks at Go: its buttons are disabled and its keys
// send nothing. Ticked in Set Up, the buttons come on and the mode shows its
// text; cleared again, the buttons go off, and neither they nor the keys that
// run their actions send the option's code.
TEST_F(Nrd535Options, ThePanelsButtonsAndTextsFollowAnOptionFromSetUp) {
    sim.setVfo(Setting{0, 1, 4, 7100000, 1});
    ASSERT_NE(go(), nullptr);
    QWidget* keys = control<QWidget>(panel, QStringLiteral("txtFrequencyA"));
    struct Case {
        int setting;
        std::vector<const char*> buttons;
        QByteArray command;   // the first button's
        const char* label;
        QString shown;        // by the label once the button has been clicked
        QString cleared;      // by the label once the option is cleared again
        Qt::Key key;
        const char* keyText;
    };
    const Case cases[] = {
        {EcssOption, {"cmdMode_7", "cmdMode_8"}, "D7", "lblMode", QStringLiteral("AM-U"), QStringLiteral("AM-U"),
         Qt::Key_M, "M"},
        {NarrowFilterOption, {"cmdBandwidth_2"}, "B2", "lblBandwidth", QStringLiteral("Nar"), QStringLiteral("Nar"),
         Qt::Key_F1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(optionName(c.setting).toStdString());
        for (const char* b : c.buttons) EXPECT_FALSE(enabled(b)) << b;

        setOption(c.setting, true);
        for (const char* b : c.buttons) EXPECT_TRUE(enabled(b)) << b;
        clearSent();
        click(panel, QLatin1String(c.buttons.front()));
        EXPECT_TRUE(sent().contains(c.command));
        EXPECT_EQ(text(c.label), c.shown);

        setOption(c.setting, false);
        for (const char* b : c.buttons) EXPECT_FALSE(enabled(b)) << b;
        EXPECT_EQ(text(c.label), c.cleared);
        clearSent();
        sendKey(keys, c.key, Qt::ShiftModifier, QLatin1String(c.keyText));
        EXPECT_EQ(sent(), Wire{}) << "the key of a cleared option";
    }
}

// The bandwidth-control slider shows the BWC option: ticked while the panel
// holds the receiver on "Wid", it comes on at its top, which is sent; cleared,
// it goes off and blank, and a value it is given goes nowhere. A tool's hold
// (tracking's Dial) sets it up only with the option.
TEST_F(Nrd535Options, TheBandwidthControlFollowsTheBwcOption) {
    sim.setVfo(Setting{0, 0, 2, 14200000, 1});
    ASSERT_NE(go(), nullptr);
    QSlider* bwc = control<QSlider>(panel, QStringLiteral("vsbBandwidthcontrol"));
    click(panel, QStringLiteral("cmdLock_1"));
    EXPECT_FALSE(bwc->isEnabled());

    clearSent();
    setOption(BwcOption, true);
    EXPECT_TRUE(bwc->isEnabled());
    EXPECT_EQ(bwc->minimum(), 2000);
    EXPECT_EQ(bwc->maximum(), 5500);
    EXPECT_EQ(bwc->value(), 5500);
    EXPECT_EQ(sent(), Wire{"W5500"});
    EXPECT_EQ(text("lblbandwidthcontrol"), QStringLiteral(" 5500"));

    setOption(BwcOption, false);
    EXPECT_FALSE(bwc->isEnabled());
    EXPECT_EQ(text("lblbandwidthcontrol"), QString());
    clearSent();
    bwc->setValue(3000);
    EXPECT_EQ(sent(), Wire{});
    EXPECT_EQ(sim.bandwidthControl(), 5500);

    // Tracking holds the receiver for its Dial mode through the panel.
    click(panel, QStringLiteral("cmdLock_0"));
    QAction* tracking = panel->menuItem(QStringLiteral("mnuTracking"));
    ASSERT_TRUE(tracking);
    tracking->trigger();
    frmTracking* t = forms::loaded<frmTracking>();
    ASSERT_NE(t, nullptr);
    for (const bool fitted : {false, true}) {
        SCOPED_TRACE(fitted ? "with BWC" : "without BWC");
        setOption(BwcOption, fitted);
        clearSent();
        t->optMousedial_Click(1);
        const Wire w = sent();
        EXPECT_TRUE(w.contains("I1"));
        EXPECT_EQ(w.contains("W5500"), fitted);
        EXPECT_EQ(bwc->isEnabled(), fitted);
        t->optMousedial_Click(0);
    }
}

// Set Up closing leaves a bandwidth control the user has set where it is:
// whatever else changed, the slider keeps its value and nothing is sent.
TEST_F(Nrd535Options, SetUpClosingKeepsTheUsersBandwidthControl) {
    sim.setVfo(Setting{0, 0, 2, 14200000, 1});
    ASSERT_NE(go({{BwcOption, 1.0f}}), nullptr);
    QSlider* bwc = control<QSlider>(panel, QStringLiteral("vsbBandwidthcontrol"));
    click(panel, QStringLiteral("cmdLock_1"));
    ASSERT_TRUE(bwc->isEnabled());
    bwc->setValue(3000);
    EXPECT_EQ(sent().last(), QByteArray("W3000"));
    const struct {
        const char* change;
        int setting;
        bool fitted;
    } closes[] = {{"nothing changed", BwcOption, true},
                  {"the 1 kHz filter ticked", NarrowFilterOption, true},
                  {"ECSS ticked", EcssOption, true}};
    for (const auto& c : closes) {
        SCOPED_TRACE(c.change);
        clearSent();
        setOption(c.setting, c.fitted);
        EXPECT_EQ(sent(), Wire{});
        EXPECT_TRUE(bwc->isEnabled());
        EXPECT_EQ(bwc->value(), 3000);
        EXPECT_EQ(text("lblbandwidthcontrol"), QStringLiteral(" 3000"));
        EXPECT_EQ(sim.bandwidthControl(), 3000);
    }
}

// The mode letters of the lists: "C" tunes CW on the narrow filter once the
// option is ticked, and the panel then offers that filter too.
TEST_F(Nrd535Options, ListTuningFollowsTheNarrowFilterOption) {
    ASSERT_NE(go(), nullptr);
    for (const bool fitted : {false, true}) {
        SCOPED_TRACE(fitted ? "with the 1 kHz filter" : "without it");
        setOption(NarrowFilterOption, fitted);
        clearSent();
        QString letter = QStringLiteral("c");
        SetRx2mfa(letter);
        const Wire w = sent();
        EXPECT_EQ(w.contains("B2"), fitted);
        EXPECT_EQ(w.contains("B1"), !fitted);
        EXPECT_EQ(text("lblBandwidth"), fitted ? QStringLiteral("Nar") : QStringLiteral("Int"));
        EXPECT_EQ(enabled("cmdBandwidth_2"), fitted);
    }
}

// The memory manager and its cell editor with ECSS ticked and cleared while
// both are open: a channel in AM-U goes to the receiver by Set R2M, the scan,
// Fill and the editor only while the option is ticked, the panel shows it
// as AM-U, and the editor's mode list follows the option.
TEST_F(Nrd535Options, TheMemoryToolsFollowEcssFromSetUp) {
    sim.setVfo(Setting{0, 1, 4, 6000000, 1});
    ASSERT_NE(go(), nullptr);
    frmMemman* m = openMemman();
    ASSERT_NE(m, nullptr);
    writeDataFile(QStringLiteral("MEM/MEM_2ecss.TXT"), "MEM000 07100000 7 01 0 1 @@@ @@@ @ AM-U\r\n"
                                                      "MEM001 05000000 4 00 0 1 @@@ @@@ @ AM\r\n");
    load(m, QStringLiteral("MEM_2ecss.TXT"));
    CurMemNr = 0;
    m->cmdChange_Click();
    frmMemcell* e = forms::loaded<frmMemcell>();
    ASSERT_NE(e, nullptr);
    auto* modes = control<QComboBox>(e, QStringLiteral("cmbMode"));
    auto setR2M = [&] {
        m->selectRow(0);
        m->grdMemman_Click();
        m->grdMemman_DblClick();
    };
    auto modeSettings = [this](char mode) {
        // Status writes and channel writes carry the mode at their seventh place.
        int n = 0;
        for (const QByteArray& c : sent())
            if ((c.startsWith("S199") || c.startsWith('K')) && c.size() > 7 && c[6] == mode) ++n;
        return n;
    };

    // Without ECSS: the editor cannot show the cell's mode, nothing goes out.
    EXPECT_EQ(modes->findText(QStringLiteral("AM-U")), -1);
    EXPECT_EQ(modes->currentIndex(), -1);
    clearSent();
    dialogs.expect(QStringLiteral("needs the option \"ECSS\""));
    setR2M();
    fill(m, 0, 1, QStringLiteral("needs the option \"ECSS\""));
    EXPECT_EQ(modeSettings('7'), 0);
    EXPECT_EQ(sim.vfo().mode, 4);

    // Ticked while the editor is open: it offers AM-U and shows the cell's.
    setOption(EcssOption, true);
    EXPECT_EQ(modes->currentText(), QStringLiteral("AM-U"));
    clearSent();
    setR2M();
    EXPECT_EQ(modeSettings('7'), 1);
    EXPECT_EQ(sim.vfo().mode, 7);
    EXPECT_EQ(text("lblMode"), QStringLiteral("AM-U"));
    EXPECT_TRUE(enabled("cmdMode_7"));

    sim.setVfo(Setting{0, 1, 4, 6000000, 1});
    setText(m, "txtFrom", QStringLiteral("0"));
    setText(m, "txtTo", QStringLiteral("1"));
    m->cmdScanrun_Click();
    m->scanTimer()->stop();  // the tick comes from here
    m->tmrScan_Timer();
    m->cmdScanstop_Click();
    EXPECT_EQ(sim.vfo().mode, 7) << "scanned";

    clearSent();
    fill(m, 0, 1, QStringLiteral("MemMan data is now"));
    dialogs.expect(QStringLiteral("Adapt Receiver Memory"), dialogs::Answer::Yes)
        .expect(QStringLiteral("Receiver memory cell"));
    e->cmdToMMWorRM_Click(1);
    EXPECT_EQ(modeSettings('7'), 2) << "Fill and the editor";
    EXPECT_EQ(sim.channel(0).value_or(Setting{}).mode, 7);

    // Cleared again: the editor's list drops AM-U, Set R2M sends nothing; the
    // receiver is still in AM-U, and the panel says so.
    setOption(EcssOption, false);
    EXPECT_EQ(modes->findText(QStringLiteral("AM-U")), -1);
    EXPECT_EQ(text("lblMode"), QStringLiteral("AM-U"));
    EXPECT_FALSE(enabled("cmdMode_7"));
    sim.setVfo(Setting{0, 1, 4, 6000000, 1});
    clearSent();
    dialogs.expect(QStringLiteral("needs the option \"ECSS\""));
    setR2M();
    EXPECT_EQ(modeSettings('7'), 0);
    EXPECT_EQ(dialogs.pending(), 0);
}

} // namespace
} // namespace dovrane::test
