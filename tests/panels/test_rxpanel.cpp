// The receiver panel pattern on a panel whose driver records what it is asked
// to send: keypad and step entry, stepping and its limits, continuous
// stepping, the frequency box, the keyboard, the wheel, the fan-out of a new
// frequency and the load and unload skeleton.
#include "panel_rig.h"
#include "support/waits.h"

#include "lists/frmlast20.h"
#include "lists/last20_list.h"
#include "panels/tool_windows.h"
#include "platform/spin_button.h"
#include "platform/clickable_label.h"
#include "platform/commport.h"
#include "shell/globals.h"

#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTimer>
#include <QtTest/QTest>

namespace dovrane::test {
namespace {

using Ar7030Panel = RecordingPanel<1>;
using Nrd535Panel = RecordingPanel<2>;
using Rx320Panel = RecordingPanel<3>;
using FakeBdxc = FakeListWindow<4, &BdxcOpen>;
using FakeLog = FakeListWindow<12, &LogOpen>;
using FakeTracking = FakeListWindow<32, &TrackingOpen>;
using FakeAero = FakeListWindow<36, &Aero2rxOpen>;

class RxPanelTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        clearLast20();
    }
    static void setBox(RxPanel* p, const QString& text) { control<QLineEdit>(p, QStringLiteral("txtFrequencyA"))->setText(text); }
    static QString box(RxPanel* p) { return control<QLineEdit>(p, QStringLiteral("txtFrequencyA"))->text(); }
    static QString entry(RxPanel* p) { return control<QLabel>(p, QStringLiteral("lblMfreq"))->text(); }
    static QComboBox* steps(RxPanel* p) { return control<QComboBox>(p, QStringLiteral("cmbFreqstep")); }
    static void type(RxPanel* p, const QString& keys) {
        for (QChar c : keys) {
            if (c == QLatin1Char('.')) click(p, QStringLiteral("cmdDot"));
            else click(p, QStringLiteral("cmd0to9_%1").arg(c));
        }
    }
};

TEST_F(RxPanelTest, LoadFillsTheStepListAndUnloadClosesToolsBeforeItsOwnSteps) {
    auto* ar = loadPanel<Ar7030Panel>();
    EXPECT_TRUE(AR7030Open);
    EXPECT_EQ(ar->windowTitle(), QStringLiteral("AR7030"));
    EXPECT_EQ(steps(ar)->count(), 16);
    EXPECT_EQ(steps(ar)->itemText(0), QStringLiteral("0.01"));
    EXPECT_EQ(steps(ar)->itemText(15), QStringLiteral("100"));
    EXPECT_EQ(steps(ar)->currentText(), QStringLiteral("5"));
    EXPECT_EQ(BwTexts.size(), 7);
    EXPECT_EQ(ar->StepDir(), 1);
    EXPECT_FALSE(ar->WheelArmed());
    // The last-20 window records from the start, without being shown.
    ASSERT_TRUE(Last20Open);
    EXPECT_FALSE(forms::loaded<frmLast20>()->isVisible());
    EXPECT_EQ(dovrane::openPanel(), static_cast<PanelHandlers*>(ar));

    forms::load<FakeBdxc>();
    forms::load<FakeLog>();
    ar->unload();
    EXPECT_FALSE(AR7030Open);
    EXPECT_FALSE(BdxcOpen);
    EXPECT_FALSE(Last20Open);
    EXPECT_EQ(dovrane::openPanel(), nullptr);
    const std::vector<QString> order{QStringLiteral("tool unload 4"), QStringLiteral("tool unload 12"),
                                     QStringLiteral("model unload"), QStringLiteral("driver released")};
    EXPECT_EQ(panelLog, order);

    auto* nrd = loadPanel<Nrd535Panel>();
    EXPECT_EQ(steps(nrd)->count(), 19);
    EXPECT_EQ(steps(nrd)->itemText(0), QStringLiteral("0.001"));
    EXPECT_EQ(BwTexts.size(), 4);
}

TEST_F(RxPanelTest, APortThatCannotBeOpenedIsReportedAndTheLoadFinishes) {
    CommPort port;
    port.setDeviceName(QStringLiteral("/nonexistent/ttyX"));
    Comm1 = &port;
    dialogs.expect(QStringLiteral("/nonexistent/ttyX"));
    auto* p = loadPanel<Nrd535Panel>();
    EXPECT_TRUE(NRD535Open);
    EXPECT_EQ(port.settings(), QStringLiteral("4800,N,8,1"));
    EXPECT_EQ(dialogs.shown().back().title, QStringLiteral("Comm Port"));
    // Still usable.
    type(p, QStringLiteral("9500"));
    click(p, QStringLiteral("cmdEnterfreq"));
    EXPECT_EQ(p->sent, std::vector<double>{9500});
    p->unload();
    Comm1 = nullptr;
}

TEST_F(RxPanelTest, KeypadEntryTunesWithinTheLimitsOnly) {
    auto* p = loadPanel<Nrd535Panel>();
    type(p, QStringLiteral("7100"));
    click(p, QStringLiteral("cmd0to9_9"));
    click(p, QStringLiteral("cmdBack"));
    EXPECT_EQ(entry(p), QStringLiteral("7100"));
    click(p, QStringLiteral("cmdEnterfreq"));
    EXPECT_EQ(p->sent, std::vector<double>{7100});
    EXPECT_EQ(entry(p), QString());
    EXPECT_EQ(box(p), QStringLiteral("7100.000"));

    // A second point is typed as it comes; the entry reads up to it.
    type(p, QStringLiteral("12.5.3"));
    click(p, QStringLiteral("cmdEnterfreq"));
    EXPECT_EQ(p->sent.back(), 12.5);

    // Empty, or beyond the top: the message, and nothing is sent.
    dialogs.expect(QStringLiteral("Frequency outside range"));
    click(p, QStringLiteral("cmdEnterfreq"));
    type(p, QStringLiteral("30000"));
    dialogs.expect(QStringLiteral("Frequency outside range"));
    click(p, QStringLiteral("cmdEnterfreq"));
    EXPECT_EQ(p->sent.size(), 2u);
    EXPECT_EQ(entry(p), QString());
    EXPECT_EQ(dialogs.shown().back().title, QStringLiteral("Error"));
    EXPECT_TRUE(control<QAbstractButton>(p, QStringLiteral("cmdEnterfreq"))->isEnabled());

    // The AR7030 panel has its own wording.
    p->unload();
    auto* ar = loadPanel<Ar7030Panel>();
    dialogs.expect(QString::fromUtf8("Frequency\n\xc3\xb6utside range"));
    click(ar, QStringLiteral("cmdEnterfreq"));
}

TEST_F(RxPanelTest, StepEntryAndTypedStepsAreChecked) {
    auto* ar = loadPanel<Ar7030Panel>();
    type(ar, QStringLiteral("0.005"));
    dialogs.expect(QStringLiteral("Frequency Stepsize\noutside range"));
    click(ar, QStringLiteral("cmdEnterS"));
    EXPECT_EQ(steps(ar)->currentText(), QStringLiteral("5"));
    type(ar, QStringLiteral("0.01"));
    click(ar, QStringLiteral("cmdEnterS"));
    EXPECT_EQ(steps(ar)->currentText(), QStringLiteral("0.01"));
    ar->unload();

    auto* p = loadPanel<Nrd535Panel>();
    type(p, QStringLiteral("0.005"));
    click(p, QStringLiteral("cmdEnterS"));
    EXPECT_EQ(steps(p)->currentText(), QStringLiteral("0.005"));
    // Taken as typed.
    type(p, QStringLiteral("12.5.3"));
    click(p, QStringLiteral("cmdEnterS"));
    EXPECT_EQ(steps(p)->currentText(), QStringLiteral("12.5.3"));
    for (const char* bad : {"", "100.1"}) {
        type(p, QLatin1String(bad));
        dialogs.expect(QStringLiteral("Frequency Stepsize"));
        click(p, QStringLiteral("cmdEnterS"));
        EXPECT_EQ(steps(p)->currentText(), QStringLiteral("5"));
    }

    // A step typed straight into the box is checked the same way before use:
    // nothing that is no step at all, or one that would overflow, is sent.
    setBox(p, QStringLiteral("9000"));
    for (const char* bad : {"0", "-5", "abc", "99999999"}) {
        steps(p)->setEditText(QLatin1String(bad));
        dialogs.expect(QStringLiteral("Frequency Stepsize"));
        p->spnFreqstep_SpinUp();
        EXPECT_EQ(steps(p)->currentText(), QStringLiteral("5")) << bad;
    }
    EXPECT_TRUE(p->sent.empty());
}

TEST_F(RxPanelTest, StepsAddToTheFrequencyShownAndStayWithinBothLimits) {
    auto* p = loadPanel<Nrd535Panel>();
    setBox(p, QStringLiteral("14250.00"));
    p->spnFreqstep_SpinUp();
    EXPECT_EQ(p->sent.back(), 14255);
    EXPECT_EQ(box(p), QStringLiteral("14255.000"));

    setBox(p, QStringLiteral("14250.004"));
    steps(p)->setEditText(QStringLiteral("0.01"));
    p->spnFreqstep_SpinDown();
    EXPECT_DOUBLE_EQ(p->sent.back(), 14249.994);
    EXPECT_EQ(p->StepDir(), -1);

    // A box showing "?" reads as 0: both directions end at the lowest frequency.
    steps(p)->setEditText(QStringLiteral("5"));
    setBox(p, QStringLiteral("?"));
    p->spnFreqstep_SpinDown();
    EXPECT_EQ(p->sent.back(), FreqMin);
    setBox(p, QStringLiteral("?"));
    p->spnFreqstep_SpinUp();
    EXPECT_EQ(p->sent.back(), FreqMin);
    // A frequency typed beyond the top ends at the top, also stepping down.
    setBox(p, QStringLiteral("99999"));
    p->spnFreqstep_SpinDown();
    EXPECT_EQ(p->sent.back(), FreqMax);
    setBox(p, QStringLiteral("29998"));
    p->spnFreqstep_SpinUp();
    EXPECT_EQ(p->sent.back(), FreqMax);

    // The arrow buttons, the spin control and the arrow keys are the same step.
    setBox(p, QStringLiteral("9000"));
    click(p, QStringLiteral("cmdfreqstep_0"));
    EXPECT_EQ(p->sent.back(), 8995);
    click(p, QStringLiteral("cmdfreqstep_1"));
    EXPECT_EQ(p->sent.back(), 9000);
    emit control<SpinButton>(p, QStringLiteral("spnFreqstep"))->SpinDown();
    EXPECT_EQ(p->sent.back(), 8995);
    sendKey(steps(p), Qt::Key_Up, Qt::NoModifier);
    EXPECT_EQ(p->sent.back(), 9000);
    EXPECT_EQ(steps(p)->currentText(), QStringLiteral("5")) << "the key went to the panel, not the step list";
    sendKey(control(p, QStringLiteral("txtFrequencyA")), Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(p->sent.back(), 8995);
    // A decimal comma in the box reads as a point.
    setBox(p, QStringLiteral("9000,5"));
    p->spnFreqstep_SpinUp();
    EXPECT_DOUBLE_EQ(p->sent.back(), 9005.5);
}

TEST_F(RxPanelTest, ContinuousSteppingRunsOnItsTimerAndStopsWithThePanel) {
    auto* p = loadPanel<Nrd535Panel>();
    auto* go = control<QAbstractButton>(p, QStringLiteral("cmdMovefreq"));
    auto* timer = p->findChild<QTimer*>(QStringLiteral("tmrMovefreq"));
    ASSERT_NE(timer, nullptr);
    setBox(p, QStringLiteral("9000"));
    go->click();
    // The click returns at once; the steps come with the timer.
    EXPECT_EQ(p->MoveOn(), 1);
    EXPECT_EQ(go->text(), QStringLiteral("Stop"));
    EXPECT_TRUE(timer->isActive());
    EXPECT_GE(timer->interval(), RxPanel::MoveIntervalMs);
    EXPECT_TRUE(p->sent.empty());
    p->tmrMovefreq_Timer();
    p->tmrMovefreq_Timer();
    EXPECT_EQ(p->sent, (std::vector<double>{9005, 9010}));
    // A single step down turns the run around.
    p->spnFreqstep_SpinDown();
    p->tmrMovefreq_Timer();
    EXPECT_EQ(p->sent.back(), 9000);
    // Ctrl+G is the same button.
    sendKey(go, Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(p->MoveOn(), 0);
    EXPECT_EQ(go->text(), QStringLiteral("GO"));
    EXPECT_FALSE(timer->isActive());

    // It really runs by itself, and closing the panel ends it.
    const size_t before = p->sent.size();
    go->click();
    pump(8 * RxPanel::MoveIntervalMs);
    EXPECT_TRUE(pumpUntil([&] { return p->sent.size() >= before + 2; }));
    QPointer<RxPanel> closed(p);
    p->unload();
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(p->MoveOn(), 0);
    const int ran = framesSent;
    pump(3 * RxPanel::MoveIntervalMs);
    EXPECT_EQ(framesSent, ran);
    EXPECT_TRUE(closed.isNull()) << "the closed panel is destroyed once nothing runs inside it";

    // A step the driver cannot send ends the run.
    auto* q = loadPanel<Nrd535Panel>();
    q->refuse = true;
    control<QAbstractButton>(q, QStringLiteral("cmdMovefreq"))->click();
    q->tmrMovefreq_Timer();
    EXPECT_EQ(q->MoveOn(), 0);
}

// A tick of continuous stepping opens no box: with no step left in the step
// box the run stops at once, and the message comes after the tick.
TEST_F(RxPanelTest, AStepBoxEmptiedWhileGoStepsStopsItAndTellsAfterTheTick) {
    auto* p = loadPanel<Nrd535Panel>();
    auto* go = control<QAbstractButton>(p, QStringLiteral("cmdMovefreq"));
    auto* timer = p->findChild<QTimer*>(QStringLiteral("tmrMovefreq"));
    for (const char* bad : {"", "0", "abc", "250"}) {
        SCOPED_TRACE(bad);
        setBox(p, QStringLiteral("9000"));
        steps(p)->setEditText(QStringLiteral("5"));
        go->click();
        p->tmrMovefreq_Timer();
        ASSERT_EQ(p->sent.back(), 9005);
        const size_t sent = p->sent.size();
        const qsizetype told = dialogs.shown().size();

        steps(p)->setEditText(QLatin1String(bad));
        dialogs.expect(QStringLiteral("Frequency Stepsize\noutside range"));
        p->tmrMovefreq_Timer();
        EXPECT_EQ(dialogs.shown().size(), told) << "no box inside the tick";
        EXPECT_EQ(p->MoveOn(), 0);
        EXPECT_FALSE(timer->isActive());
        EXPECT_EQ(go->text(), QStringLiteral("GO"));
        EXPECT_EQ(steps(p)->currentText(), QStringLiteral("5"));
        EXPECT_EQ(p->sent.size(), sent);
        EXPECT_TRUE(pumpUntil([&] { return dialogs.shown().size() == told + 1; }));
        EXPECT_EQ(dialogs.shown().last().title, QStringLiteral("Error"));
    }
    EXPECT_EQ(dialogs.pending(), 0);
}

// What is typed into the step box is the step: Enter neither adds it to the
// list nor completes it to a step of the list.
TEST_F(RxPanelTest, EnterInTheStepBoxKeepsTheTypedStepAndTheList) {
    auto* p = loadPanel<Nrd535Panel>();
    QComboBox* box = steps(p);
    QStringList listed;
    for (int i = 0; i < box->count(); ++i) listed << box->itemText(i);
    const struct {
        const char* typed;
        double stepped;
    } cases[] = {{"7", 9007}, {"12", 9012}, {"0.5", 9000.5}, {"33.3", 9033.3}, {"1", 9001}};
    // Typed as a user types, into the focused box of the active window.
    p->show();
    p->activateWindow();
    box->lineEdit()->setFocus();
    ASSERT_TRUE(pumpUntil([&] { return box->lineEdit()->hasFocus(); }));
    for (const auto& c : cases) {
        box->lineEdit()->clear();
        QTest::keyClicks(box->lineEdit(), QLatin1String(c.typed));
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
        EXPECT_EQ(box->currentText(), QLatin1String(c.typed));
        QStringList now;
        for (int i = 0; i < box->count(); ++i) now << box->itemText(i);
        EXPECT_EQ(now, listed) << c.typed;
        setBox(p, QStringLiteral("9000"));
        p->spnFreqstep_SpinUp();
        EXPECT_DOUBLE_EQ(p->sent.back(), c.stepped) << c.typed;
    }
}

TEST_F(RxPanelTest, TheFrequencyBoxTunesOnEnterAndEmptiesOnADoubleClick) {
    auto* p = loadPanel<Nrd535Panel>();
    auto* edit = control<QLineEdit>(p, QStringLiteral("txtFrequencyA"));
    edit->setText(QStringLiteral("6070,5"));
    sendKey(edit, Qt::Key_Return, Qt::NoModifier);
    EXPECT_EQ(p->sent, std::vector<double>{6070.5});
    edit->setText(QStringLiteral("35000"));
    dialogs.expect(QStringLiteral("Frequency outside range"));
    sendKey(edit, Qt::Key_Return, Qt::NoModifier);
    EXPECT_EQ(dialogs.shown().back().title, QStringLiteral("Input Error"));
    EXPECT_EQ(edit->text(), QString());
    EXPECT_EQ(p->sent.size(), 1u);
    // Plain digits are typed into the box, not taken by the panel.
    sendKey(edit, Qt::Key_7, Qt::NoModifier, QStringLiteral("7"));
    EXPECT_EQ(edit->text(), QStringLiteral("7"));
    doubleClick(edit);
    EXPECT_EQ(edit->text(), QString());
}

TEST_F(RxPanelTest, RoundingLabelsGoThroughTheFacadeRangeCheck) {
    auto* p = loadPanel<Nrd535Panel>();
    RxType = 2;
    setBox(p, QStringLiteral("29999.9"));
    dialogs.expect(QStringLiteral("Frequency outside range"));
    emit control<ClickableLabel>(p, QStringLiteral("lbnInt1"))->clicked();
    EXPECT_EQ(dialogs.shown().back().title, QStringLiteral("Input Error"));
    EXPECT_TRUE(p->sent.empty());
}

TEST_F(RxPanelTest, CtrlDigitsFormTheirOwnEntry) {
    auto* p = loadPanel<Nrd535Panel>();
    auto* edit = control(p, QStringLiteral("txtFrequencyA"));
    type(p, QStringLiteral("77"));
    for (int k : {Qt::Key_1, Qt::Key_4, Qt::Key_2, Qt::Key_5, Qt::Key_9}) sendKey(edit, k, Qt::ControlModifier);
    sendKey(edit, Qt::Key_Backspace, Qt::ControlModifier);
    sendKey(edit, Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(entry(p), QStringLiteral("14250")) << "the clicked digits are gone from the entry";
    EXPECT_EQ(p->KeyDigits(), QStringLiteral("14250"));
    sendKey(edit, Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(p->sent, std::vector<double>{14250});
    EXPECT_EQ(p->KeyDigits(), QString());
    EXPECT_EQ(entry(p), QString());
    // Ctrl+"." and Ctrl+S set a step.
    for (int k : {Qt::Key_0, Qt::Key_Period, Qt::Key_5}) sendKey(edit, k, Qt::ControlModifier);
    sendKey(edit, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(steps(p)->currentText(), QStringLiteral("0.5"));
    EXPECT_EQ(p->KeyDigits(), QString());
    // Keys of other windows are not the panel's.
    QWidget other;
    auto* otherEdit = new QLineEdit(&other);
    other.show();
    sendKey(otherEdit, Qt::Key_Up, Qt::NoModifier);
    EXPECT_EQ(p->sent.size(), 1u);
}

TEST_F(RxPanelTest, TheWheelTunesOnceArmedInsideTheBox) {
    auto* p = loadPanel<Nrd535Panel>();
    auto* edit = control<QLineEdit>(p, QStringLiteral("txtFrequencyA"));
    edit->resize(150, 30);
    setBox(p, QStringLiteral("9000"));
    turnWheel(edit, 120);
    EXPECT_TRUE(p->sent.empty()) << "not armed yet";

    // The inner area lies 10 px from the sides and 5 px from top and bottom.
    moveMouse(edit, QPoint(10, 15));
    EXPECT_FALSE(p->WheelArmed());
    moveMouse(edit, QPoint(11, 6));
    EXPECT_TRUE(p->WheelArmed());
    moveMouse(edit, QPoint(75, 25));
    EXPECT_FALSE(p->WheelArmed());
    moveMouse(edit, QPoint(75, 15));
    ASSERT_TRUE(p->WheelArmed());

    turnWheel(edit, 120);
    EXPECT_EQ(p->sent, std::vector<double>{9005});
    turnWheel(edit, -120);
    EXPECT_EQ(p->sent.back(), 9000);
    // A fine wheel's small turns add up to one step per notch.
    for (int i = 0; i < 3; ++i) turnWheel(edit, 30);
    EXPECT_EQ(p->sent.size(), 2u);
    turnWheel(edit, 30);
    EXPECT_EQ(p->sent.back(), 9005);
    turnWheel(edit, 240);
    EXPECT_EQ(p->sent.back(), 9015);
    // It keeps tuning while the pointer is elsewhere on the panel.
    turnWheel(steps(p), -120);
    EXPECT_EQ(p->sent.back(), 9010);
    EXPECT_EQ(steps(p)->currentText(), QStringLiteral("5"));
    // Leaving through the margin band disarms it.
    moveMouse(edit, QPoint(3, 15));
    turnWheel(edit, 120);
    EXPECT_EQ(p->sent.back(), 9010);
}

TEST_F(RxPanelTest, ANewFrequencyReachesTheOpenListsLast20AndTracking) {
    auto* p = loadPanel<Ar7030Panel>();
    auto* bdxc = forms::load<FakeBdxc>();
    auto* aero = forms::load<FakeAero>();
    auto* log = forms::load<FakeLog>();
    log->unload();
    auto* tracking = forms::load<FakeTracking>();
    int lookups = 0;
    updatetrackingHandler = [&] { ++lookups; };

    p->frequencyAChanged(9650);
    EXPECT_EQ(box(p), QStringLiteral("9650.00"));
    EXPECT_EQ(bdxc->box(), QStringLiteral("9650.00"));
    EXPECT_EQ(tracking->box(), QStringLiteral("9650.00"));
    EXPECT_EQ(aero->box(), QString()) << "the aero list is not served";
    EXPECT_EQ(Last20[0], QStringLiteral("9650.00"));
    EXPECT_EQ(lookups, 0) << "no tracking list loaded";
    TrackingActive = true;
    p->frequencyAChanged(FreqMax);
    EXPECT_EQ(box(p), QStringLiteral("32016.00"));
    EXPECT_EQ(TrackFreq, FreqMax);
    EXPECT_EQ(lookups, 1);
    // Beyond the limits the text is "?", everywhere.
    p->frequencyAChanged(FreqMax + 0.01);
    EXPECT_EQ(box(p), QStringLiteral("?"));
    EXPECT_EQ(bdxc->box(), QStringLiteral("?"));
    EXPECT_EQ(Last20[0], QStringLiteral("?"));
    EXPECT_EQ(Last20[2], QStringLiteral("9650.00"));

    // Three places, and "." whatever the locale says.
    p->unload();
    QLocale::setDefault(QLocale(QLocale::German));
    auto* nrd = loadPanel<Nrd535Panel>();
    nrd->frequencyAChanged(14250.5);
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(box(nrd), QStringLiteral("14250.500"));
}

TEST_F(RxPanelTest, MenusHoldEveryToolAndOpenThoseThatStand) {
    auto* ar = loadPanel<Ar7030Panel>();
    ASSERT_NE(ar->menuItem(QStringLiteral("mnuUpdate")), nullptr);
    const QStringList tree{QStringLiteral("mnuSetup"),        QStringLiteral("mnuLast20"),
                           QStringLiteral("mnuScratchpad"),   QStringLiteral("mnuClose"),
                           QStringLiteral("mnuExit"),         QStringLiteral("mnuBDXC"),
                           QStringLiteral("mnuOwn"),          QStringLiteral("mnu320Files"),
                           QStringLiteral("mnuIlg2rx"),       QStringLiteral("mnuAero2rx"),
                           QStringLiteral("mnuConvertILG1"),  QStringLiteral("mnuConvertaero2"),
                           QStringLiteral("mnuLog"),          QStringLiteral("mnuTracking"),
                           QStringLiteral("mnuConvertILG2"),  QStringLiteral("mnuConvertaero"),
                           QStringLiteral("mnuSmeter"),       QStringLiteral("mnuScan"),
                           QStringLiteral("mnuScanSpectrum"), QStringLiteral("mnuScanFreqList"),
                           QStringLiteral("mnuScanFreqpairs"), QStringLiteral("mnuPropagation"),
                           QStringLiteral("mnuTimean"),       QStringLiteral("mnuTimean2prt"),
                           QStringLiteral("mnuMemman"),       QStringLiteral("mnuPCclock"),
                           QStringLiteral("mnuRxClock"),      QStringLiteral("mnuRxTimer"),
                           QStringLiteral("mnuHTMLhelp"),     QStringLiteral("mnuAbout")};
    for (const QString& name : tree) EXPECT_NE(ar->menuItem(name), nullptr) << name.toStdString();
    EXPECT_EQ(ar->menuItem(QStringLiteral("mnuConvertaero2"))->text(), QStringLiteral("ConvertAero . . ."));
    EXPECT_EQ(ar->menuItem(QStringLiteral("mnuSignalAn"))->text(), QStringLiteral("Signal An"));
    // Windows not built yet: present and disabled; those built: enabled.
    const char* const tools[][2] = {{"mnuBDXC", "frmBdxc"},     {"mnuLog", "frmLog"},         {"mnuSmeter", "frmSmeter"},
                                    {"mnuMemman", "frmMemman"}, {"mnuRxTimer", "frmRxTimer"}, {"mnuRxClock", "frmRxClock"}};
    for (const auto& t : tools)
        EXPECT_EQ(ar->menuItem(QLatin1String(t[0]))->isEnabled(), toolWindowRegistered(QLatin1String(t[1]))) << t[0];
    ar->menuItem(QStringLiteral("mnuLast20"))->trigger();
    EXPECT_TRUE(forms::loaded<frmLast20>()->isVisible());
    ar->unload();

    auto* rx = loadPanel<Rx320Panel>();
    EXPECT_EQ(rx->menuItem(QStringLiteral("mnuUpdate")), nullptr) << "the RX-320 panel has no Update";
    EXPECT_EQ(control(rx, QStringLiteral("cmdEnterMem"))->isVisible(), false);
    EXPECT_EQ(rx->menuItem(QStringLiteral("mnuHTMLhelp"))->isEnabled(), true);
}

} // namespace
} // namespace dovrane::test
