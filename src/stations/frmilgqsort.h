#pragma once
// The sort order of the broadcast viewer's result.
#include "shell/form.h"
#include <array>
#include <memory>

class QRadioButton;
namespace Ui { class frmIlgqsort; }

namespace dovrane {

class frmIlgqsort : public Form {
    Q_OBJECT
public:
    frmIlgqsort();
    ~frmIlgqsort() override;

    void optSort_Click(int index);
    void cmdOK_Click();
    void cancel_Click();

protected:
    void Form_Load() override;

private:
    std::unique_ptr<Ui::frmIlgqsort> ui;
    std::array<QRadioButton*, 4> optSort{};
};

} // namespace dovrane
