#pragma once
// The sort window "Select Sort order": the key the log is sorted on.
#include "shell/form.h"

#include <array>
#include <memory>

class QRadioButton;
namespace Ui {
class frmLogsort;
}

namespace dovrane {

class frmLogsort : public Form {
    Q_OBJECT
public:
    frmLogsort();
    ~frmLogsort() override;

    void cmdOK_Click();
    void cmdCancel_Click();
    QRadioButton* option(int index) const { return optSort[size_t(index)]; }

protected:
    void Form_Load() override;

private:
    std::unique_ptr<Ui::frmLogsort> ui;
    std::array<QRadioButton*, 5> optSort{};
};

} // namespace dovrane
