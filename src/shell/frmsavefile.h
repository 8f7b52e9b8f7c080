#pragma once
// The save chooser: proposes a name for the present file kind, checks it, asks
// before a file is replaced and hands over to that kind's writer.
#include "shell/form.h"
#include <memory>

namespace Ui { class frmSavefile; }

namespace dovrane {

class frmSavefile : public Form {
    Q_OBJECT
public:
    frmSavefile();
    ~frmSavefile() override;

    void cmdOK_Click();
    void cmdCancel_Click();

protected:
    void Form_Load() override;
    // Enter acts as in a dialog: on a button it presses that button,
    // in the name box it presses OK.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<Ui::frmSavefile> ui;
    int kind_ = 0;
};

// Sets FileKind and shows the save chooser modally.
void showSaveChooser(int kind);

} // namespace dovrane
