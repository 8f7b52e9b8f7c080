#pragma once
// The About window: program name, version and where to send feedback.
#include "shell/form.h"

#include <memory>

namespace Ui {
class frmAbout;
}

namespace dovrane {

class frmAbout : public Form {
    Q_OBJECT
public:
    frmAbout();
    ~frmAbout() override;

    void cmdClose_Click();

private:
    std::unique_ptr<Ui::frmAbout> ui;
};

} // namespace dovrane
