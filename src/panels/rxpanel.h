#pragma once
// The pattern of the four receiver panels: keypad and direct frequency entry,
// step entry, single and continuous stepping, the rounding labels, the
// frequency box with its wheel tuning, the frequency handler that fans every
// new frequency out to the other windows, the shared keyboard, the menu tree
// and the load and unload skeleton.
//
// A model panel lays out its controls in its own .ui file under the shared
// names (txtFrequencyA, lblMfreq, cmd0to9_0..9, cmdDot, cmdBack, cmdEnterfreq,
// cmdEnterS, cmdEnterMem, cmbFreqstep, spnFreqstep, cmdfreqstep_0/1,
// cmdMovefreq, lblInt5, lbnInt1, cmdClose; the TuningBlock widget holds all of
// the tuning ones), calls setupPanel() after setupUi, and supplies its driver
// through the hooks below. Controls a model lacks are simply left out.
#include "panels/key_map.h"
#include "panels/panelform.h"
#include "shell/facade.h"
#include "shell/wheel.h"

#include <QString>
#include <array>
#include <optional>

class QAbstractButton;
class QComboBox;
class QLabel;
class QLineEdit;
class QTimer;

namespace dovrane {

class ClickableLabel;
class SpinButton;

// What the pattern needs to know of a model, one row per receiver type.
struct PanelModel {
    int rxType;                 // 1 AR7030, 2 NRD-535, 3 RX-320, 4 NRD-545
    int positionIndex;
    bool* openFlag;
    const char* caption;        // the window's own caption
    const char* lineSettings;   // of Comm1
    int freqDecimals;           // of the frequency text
    int firstStep;              // first StepTable entry of the step list
    double minStep;             // lowest step "S" accepts, kHz
    int bwTextsUpper;           // BwTexts holds 0..bwTextsUpper
    const char* freqOutOfRange; // the "F" message
    bool hasMemoryEntry;        // "M" and Ctrl+M
    bool hasUpdate;             // the "Update" menu item
};
const PanelModel& panelModel(int rxType);

class RxPanel : public PanelForm, public PanelHandlers {
    Q_OBJECT
public:
    explicit RxPanel(int rxType, QWidget* parent = nullptr);
    ~RxPanel() override;

    const PanelModel& model() const { return model_; }

    // The frequency handler (the model's AR7030A_FrequencyAChanged and its
    // siblings call it): the panel's box, the open list windows, the last-20
    // list, tracking. It never talks to the receiver.
    void frequencyAChanged(double kHz) override;
    QString frequencyText() const override;
    // The frequency as this panel writes it: "####0.00" or "####0.000" with
    // "." whatever the locale, "?" outside FreqMin..FreqMax.
    QString formatFrequency(double kHz) const;

    // The handlers behind the controls, callable as a click would.
    void cmd0to9_Click(int index);
    void cmdDot_Click();
    void cmdBack_Click();
    void cmdEnterfreq_Click();
    void cmdEnterS_Click();
    void cmdfreqstep_Click(int index);
    void spnFreqstep_SpinDown() { step(-1); }
    void spnFreqstep_SpinUp() { step(1); }
    void cmdMovefreq_Click();
    void lblInt5_Click();
    void lbnInt1_Click();
    void txtFrequencyA_Enter();
    // One tick of continuous stepping.
    void tmrMovefreq_Timer();
    // A key as the panel sees it before its controls; true when it used it.
    bool panelKeyDown(int keyCode, int shift);
    // A wheel turn over the panel; true when it tuned.
    bool wheelTurned(int angleDelta);

    int StepDir() const { return stepDir_; }
    bool WheelArmed() const { return wheelArmed_; }
    int MoveOn() const { return moveOn_; }
    const QString& KeyDigits() const { return keyDigits_; }

    // Interval of continuous stepping. Each step's command goes out whole
    // before the next tick, so the receiver sets the pace.
    static constexpr int MoveIntervalMs = 50;

protected:
    // Model hooks.
    // Fills the model tables and creates the panel's driver, in the model's order.
    virtual void createDriverAndTables() = 0;
    // The driver's FrequencyA setter; its change event then shows the value.
    // False when the command did not go out.
    virtual bool setDriverFrequencyA(double kHz) = 0;
    // Reads the receiver and fills the display (portOpen false: the port
    // could not be opened, so there is nothing to read).
    virtual void modelLoad(bool portOpen) { (void)portOpen; }
    // The model's unload steps, once the tool windows have closed.
    virtual void modelUnload() {}
    // Drops the driver, after modelUnload().
    virtual void releaseDriver() = 0;
    // "M": recall the memory cell typed on the keypad.
    virtual void cmdEnterMem_Click() {}
    // Continuous stepping starts or stops (the NRD panels hold the receiver).
    virtual void continuousStarted() {}
    virtual void continuousStopped() {}
    // A key of the model's own part of the table.
    virtual void modelKey(const KeyAction& action) { (void)action; }
    // "Update": reads the receiver into the panel; true when the receiver
    // answered every read (false where the panel reads nothing).
    virtual bool RxUpdatefull() { return false; }

    void fillDirectMenu(QMenu* menu) override;
    void rxClockMenu() override;
    void Form_Load() override;
    void beforeToolsUnload() override;
    void afterToolsUnload() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // The shared controls, found by name in setupPanel() (null when absent).
    QLineEdit* txtFrequencyA = nullptr;
    QLabel* lblMfreq = nullptr;
    std::array<QAbstractButton*, 10> cmd0to9{};
    QAbstractButton* cmdDot = nullptr;
    QAbstractButton* cmdBack = nullptr;
    QAbstractButton* cmdEnterfreq = nullptr;
    QAbstractButton* cmdEnterS = nullptr;
    QAbstractButton* cmdEnterMem = nullptr;
    QComboBox* cmbFreqstep = nullptr;
    SpinButton* spnFreqstep = nullptr;
    std::array<QAbstractButton*, 2> cmdfreqstep{};
    QAbstractButton* cmdMovefreq = nullptr;
    ClickableLabel* lblInt5 = nullptr;
    ClickableLabel* lbnInt1 = nullptr;

    // The step in kHz when the step box holds one the model accepts.
    std::optional<double> boxStep() const;
    // The same, or else the step message, the box back to "5", and nothing.
    std::optional<double> checkedStep();
    void setupPanel();

private:
    void bindControls();
    void fillStepList();
    void openPort();
    // The frequency to the receiver through the model's driver; false when the
    // command did not go out.
    bool tune(double kHz);
    void step(int direction);
    void stopMoving();
    // Stops continuous stepping without giving back its hold; true when it ran.
    bool haltMoving();
    void showKeyDigits();
    // The keypad entry and the message box of "F"/"S": out-of-range texts.
    void stepOutOfRange();

    const PanelModel& model_;
    WheelHook* wheelHook_ = nullptr;
    WheelSteps wheelSteps_;
    QTimer* tmrMovefreq_ = nullptr;
    int stepDir_ = 1;
    bool wheelArmed_ = false;
    int moveOn_ = 0;
    QString keyDigits_;
    bool keysHooked_ = false;
    bool stoppedMoving_ = false;
    // The last tune could not go out (told once for the spell).
    bool tuneFailing_ = false;
};

} // namespace dovrane
