#pragma once
// The load chooser: lists the files of the present file kind and hands the
// chosen one to that kind's loader.
#include "shell/form.h"
#include <memory>

namespace Ui { class frmLoadfile; }

namespace dovrane {

class frmLoadfile : public Form {
    Q_OBJECT
public:
    frmLoadfile();
    ~frmLoadfile() override;

    // The name of the chosen entry; empty when nothing is chosen.
    QString chosenName() const;

    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdEdit_Click();

protected:
    void Form_Load() override;
    // Enter acts as in a dialog: on a button it presses that button,
    // anywhere else it presses OK.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<Ui::frmLoadfile> ui;
    int kind_ = 0;
    int subKind_ = 0;
};

// Sets FileKind (and FileSubKind) and shows the load chooser modally.
void showLoadChooser(int kind, int subKind = 0);

} // namespace dovrane
