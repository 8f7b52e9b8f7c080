// The measurement tools' hold on the rest of the program, with a stand-in
// tool window on each panel the user reaches with Go: the menu interlock,
// lockforms, the NRD hold per run and the attenuator frame, all given back
// when the window closes in the middle of a run.
#include "panels/panel_lock.h"
#include "panels/tool_windows.h"
#include "scanning/measure_interlock.h"
#include "shell/globals.h"
#include "sim/nrd_sim_base.h"
#include "support/go_rig.h"

#include <QAbstractButton>
#include <QAction>
#include <optional>

namespace dovrane::test {
namespace {

inline bool standInOpen = false;

// A measurement window as the tools build theirs: the interlock for as long
// as it is open, a run that its unload ends.
class StandInTool : public Form {
public:
    StandInTool() : Form(0, &standInOpen) {}
    void setTool(MeasurementTool t, MeasurementRun::Options o) {
        tool = t;
        run.emplace(o);
        interlock.emplace(t);
    }
    MeasurementTool tool = MeasurementTool::Spectrum;
    std::optional<MeasurementRun> run;
    std::optional<MeasurementInterlock> interlock;

protected:
    void Form_Unload() override {
        if (run) run->end();
        interlock.reset();
    }
};

const char* const kMeasurementItems[] = {"mnuSmeter", "mnuScan", "mnuScanSpectrum", "mnuScanFreqList",
                                         "mnuScanFreqpairs", "mnuPropagation"};

class MeasurementInterlockTest : public GoRig {
protected:
    void SetUp() override {
        GoRig::SetUp();
        // The measurement windows of a full build, so their items start enabled.
        for (const char* w : {"frmSmeter", "frmSpectrum", "frmScanlist", "frmScanpairs", "frmPropagation"})
            registerToolWindow(QLatin1String(w), [] {});
        dialogs.allow(QStringLiteral("does not answer"));
    }
    static QStringList disabledItems(PanelForm* p) {
        QStringList out;
        for (const char* item : kMeasurementItems) {
            // (The no-receiver panel names its list-scan item differently.)
            QAction* a = p->menuItem(QLatin1String(item));
            if (a && !a->isEnabled()) out << QLatin1String(item);
        }
        return out;
    }
    StandInTool* openTool(MeasurementTool t, MeasurementRun::Options o = {}) {
        StandInTool* w = forms::load<StandInTool>();
        w->setTool(t, o);
        return w;
    }
    bool nrdInRemote() {
        settle();
        auto* nrd = dynamic_cast<sim::NrdSimBase*>(simulator());
        return nrd && nrd->inRemote();
    }
};

TEST_F(MeasurementInterlockTest, EachToolDisablesItsTableRowOnEveryReceiverPanel) {
    const struct {
        MeasurementTool tool;
        QStringList disabled;
    } rows[] = {
        {MeasurementTool::Spectrum, {"mnuSmeter", "mnuScanFreqList", "mnuScanFreqpairs", "mnuPropagation"}},
        {MeasurementTool::Scanlist, {"mnuSmeter", "mnuScanSpectrum", "mnuScanFreqpairs", "mnuPropagation"}},
        {MeasurementTool::Scanpairs, {"mnuSmeter", "mnuScanSpectrum", "mnuScanFreqList", "mnuPropagation"}},
        {MeasurementTool::Smeter, {"mnuScan", "mnuPropagation"}},
        {MeasurementTool::Propagation, {"mnuSmeter", "mnuScan"}},
    };
    for (int type = 1; type <= 4; ++type) {
        PanelForm* p = go(type);
        ASSERT_NE(p, nullptr) << type;
        for (const auto& row : rows) {
            EXPECT_TRUE(disabledItems(p).isEmpty()) << type;
            StandInTool* w = openTool(row.tool);
            EXPECT_EQ(disabledItems(p), row.disabled) << "type " << type << " tool " << int(row.tool);
            w->unload();
            EXPECT_TRUE(disabledItems(p).isEmpty()) << "enabled again on close";
        }
        p->cmdClose_Click();
        forms::destroyAll();
        startSimulator(0);
    }
}

TEST_F(MeasurementInterlockTest, WithNoReceiverNothingChanges) {
    PanelForm* p = go(0);
    ASSERT_NE(p, nullptr);
    StandInTool* w = openTool(MeasurementTool::Spectrum, {true, true});
    EXPECT_TRUE(disabledItems(p).isEmpty()) << disabledItems(p).join(QLatin1Char(' ')).toStdString();
    w->run->begin();
    EXPECT_FALSE(w->run->holdsReceiver());
    EXPECT_FALSE(p->isEnabled()) << "lockforms does lock the no-receiver panel";
    w->unload();
    EXPECT_TRUE(p->isEnabled());
}

TEST_F(MeasurementInterlockTest, ClosingTheWindowMidRunGivesEverythingBack) {
    for (int type : {1, 2, 3, 4}) {
        PanelForm* p = go(type);
        ASSERT_NE(p, nullptr) << type;
        QWidget* frame = p->findChild<QWidget*>(QStringLiteral("fraAttenuator"));
        StandInTool* w = openTool(MeasurementTool::Spectrum, {true, true});
        w->run->begin();
        EXPECT_FALSE(p->isEnabled()) << "type " << type << ": the panel takes no input during the run";
        if (frame) {
            EXPECT_FALSE(frame->isEnabled());
        }
        const bool nrd = type == 2 || type == 4;
        EXPECT_EQ(w->run->holdsReceiver(), nrd);
        EXPECT_EQ(nrdInRemote(), nrd);

        w->unload();   // closed with its run active
        EXPECT_TRUE(p->isEnabled()) << type;
        if (frame) {
            EXPECT_TRUE(frame->isEnabled());
        }
        EXPECT_FALSE(nrdInRemote()) << "the NRD goes back to local";
        EXPECT_EQ(runHolds(), 0);
        p->cmdClose_Click();
        forms::destroyAll();
        startSimulator(0);
    }
}

// Under the user's lock a run counts its hold without a word to the
// receiver, so that a Lock Off during the run would leave it held.
TEST_F(MeasurementInterlockTest, WithTheUsersLockSetARunCountsItsHoldAndSendsNothing) {
    for (int type : {2, 4}) {
        PanelForm* p = go(type);
        ASSERT_NE(p, nullptr);
        auto* lockOn = p->findChild<QAbstractButton*>(QStringLiteral("cmdLock_1"));
        ASSERT_NE(lockOn, nullptr);
        lockOn->click();
        ASSERT_EQ(PanelLock, 1);
        ASSERT_TRUE(nrdInRemote());
        auto& nrd = dynamic_cast<sim::NrdSimBase&>(*simulator());
        nrd.clearCommands();

        StandInTool* w = openTool(MeasurementTool::Smeter, {false, true});
        w->run->begin();
        EXPECT_TRUE(w->run->holdsReceiver());
        EXPECT_EQ(runHolds(), 1);
        w->run->end();
        EXPECT_EQ(runHolds(), 0);
        w->unload();
        settle();
        EXPECT_TRUE(nrd.commandTexts().isEmpty()) << "nothing sent";
        EXPECT_TRUE(nrdInRemote()) << "the user's hold stands";
        p->cmdClose_Click();
        forms::destroyAll();
        startSimulator(0);
    }
}

} // namespace
} // namespace dovrane::test
