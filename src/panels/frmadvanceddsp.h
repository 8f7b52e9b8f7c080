#pragma once
// The NRD-545's DSP functions: noise reduction and beat cancelling with their
// levels, the noise blanker, the notch, the IF filter slope and the filter
// hold of the noise reduction. Modeless; while it is open the receiver stays
// held in remote (unless the user has locked the panel).
#include "panels/frmuserdefs545.h"
#include "shell/form.h"

#include <QStringList>
#include <array>
#include <memory>

class QAbstractButton;
class QButtonGroup;
namespace Ui {
class frmAdvancedDSP;
}

namespace dovrane {

class clsNRD545;

class frmAdvancedDSP : public Form {
    Q_OBJECT
public:
    frmAdvancedDSP();
    ~frmAdvancedDSP() override;

    void cmdNrbc_Click(int index);
    void cmdNB_Click(int index);
    void cmdNT_Click(int index);
    void cmdDefaultNRBC_Click();
    void cmdExit_Click();

protected:
    void Form_Load() override;
    void Form_Unload() override;
    // The close box acts as "Exit", question included.
    void closeEvent(QCloseEvent* event) override;

private:
    // Settings(26) and (27) as whole levels.
    static int defaultNr();
    static int defaultBc();

    std::unique_ptr<Ui::frmAdvancedDSP> ui;
    std::unique_ptr<clsNRD545> NRD545A;
    QStringList nrbcTexts_;
    QStringList nbTexts_;
    QStringList ntTexts_;
    nrddialogs::DialogHold hold_;
};

} // namespace dovrane
