#pragma once
// The NRD-535's user-definable functions. Every choice goes to the receiver at
// once; the receiver cannot report these settings, so the dialog shows what
// was last chosen in it, not what the receiver holds.
#include "shell/form.h"

#include <QString>
#include <memory>
#include <vector>

class QButtonGroup;
namespace Ui {
class frmUserdefs;
}

namespace dovrane {

class clsNRD535;

// Helpers the NRD dialogs share.
namespace nrddialogs {
// A CW pitch as the dialogs show it: sign, then four digits ("+0800", "-0025").
QString pitchText(int hz);
} // namespace nrddialogs

class frmUserdefs : public Form {
    Q_OBJECT
public:
    frmUserdefs();
    ~frmUserdefs() override;

    int PitchHz() const { return pitchHz_; }
    bool resetRunning() const { return resetting_; }

    void spnCWpitch_SpinDown();
    void spnCWpitch_SpinUp();
    void cmdCWpitch_Click();
    void cmdDefaults_Click();
    void cmdOK_Click();

protected:
    void Form_Load() override;
    void Form_Unload() override;
    // The close box acts as "OK".
    void closeEvent(QCloseEvent* event) override;

private:
    struct Option {
        int item;
        QButtonGroup* group;
    };
    void optionSelected(int item, int index);
    // Selects option index of item's group; runs its action only when the
    // selection changes.
    void selectOption(int item, int index);
    void send(int item, int v);
    void showPitch();

    std::unique_ptr<Ui::frmUserdefs> ui;
    std::vector<Option> options_;
    std::unique_ptr<clsNRD535> NRD535A;
    int pitchHz_ = 800;
    bool resetting_ = false;
    bool closeAsked_ = false;
};

} // namespace dovrane
