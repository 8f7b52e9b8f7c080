#pragma once
// The NRD-545's user-definable settings, one setting per click. The receiver
// cannot report them: the dialog shows what it last sent.
#include "shell/form.h"

#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QButtonGroup;
class QObject;
class QLabel;
namespace Ui {
class frmUserdefs545;
}

namespace dovrane {

class clsNRD545;

namespace nrddialogs {
// A dialog's hold of the NRD-545, taken only while the user has not locked the
// panel. It goes through the panel lock, so the open panel shows it and a
// tool's run that ends meanwhile does not pull it away; with no panel open
// the dialog's own driver holds the receiver. It is given back the way it was
// taken, so a panel that has already closed is not reached again.
class DialogHold {
public:
    void take(clsNRD545* own);
    void release();
    bool taken() const { return via_ != Via::None; }

private:
    enum class Via { None, Panel, Own };
    Via via_ = Via::None;
    clsNRD545* own_ = nullptr;
};
} // namespace nrddialogs

class frmUserdefs545 : public Form {
    Q_OBJECT
public:
    frmUserdefs545();
    ~frmUserdefs545() override;

    // The window-level values of the four "Set" items.
    int CwPitch() const { return values_[0].value; }
    int ScanTime() const { return values_[1].value; }
    int SweepTime() const { return values_[2].value; }
    int AutostopTime() const { return values_[3].value; }
    bool resetRunning() const { return resetting_; }

    void cmdDefaults_Click();
    void cmdExit_Click();

protected:
    void Form_Load() override;
    void Form_Unload() override;
    // The close box acts as "Exit".
    void closeEvent(QCloseEvent* event) override;

private:
    struct Option {
        int item;
        int resetValue;
        QButtonGroup* group;
    };
    // A value with its spin button, label and "Set" button.
    struct Value {
        int item;
        int start;
        int low;
        int high;
        int step;
        double scale;          // shown as value * scale
        const char* pattern;   // in this format
        const char* resetText; // what a reset writes into the label
        QLabel* label;
        int value;
    };
    void optionSelected(int item, int index);
    void selectOption(int item, int index);
    void spin(Value& v, int direction);
    void showValue(const Value& v);
    void send(int item, int v);

    std::unique_ptr<Ui::frmUserdefs545> ui;
    std::vector<Option> options_;
    std::vector<Value> values_;
    std::unique_ptr<clsNRD545> NRD545A;
    nrddialogs::DialogHold hold_;
    bool resetting_ = false;
    bool closeAsked_ = false;
};

} // namespace dovrane
