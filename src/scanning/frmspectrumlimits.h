#pragma once
// The modal limits dialog of the spectrum scan. It is only hidden between
// runs, so it keeps its entries until the spectrum window closes.
#include "shell/form.h"

#include <array>
#include <memory>

class QLineEdit;
namespace Ui {
class frmSpectrumlimits;
}

namespace dovrane {

class frmSpectrumlimits : public Form {
    Q_OBJECT
public:
    frmSpectrumlimits();
    ~frmSpectrumlimits() override;

    void cmdOK_Click();
    void cmdNew_Click();
    void cmdCancel_Click();
    void chkKeepgoing_Click();

    std::array<QLineEdit*, 4> txtInput{};

protected:
    void Form_Load() override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<Ui::frmSpectrumlimits> ui;
};

} // namespace dovrane
