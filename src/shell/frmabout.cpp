#include "shell/frmabout.h"
#include "ui_frmabout.h"

#include "shell/globals.h"
#include "shell/unloadallforms.h"

namespace dovrane {

// The window has an open flag, so that a copy opened from a panel closes with
// the panel's other tool windows.
frmAbout::frmAbout() : Form(2, &AboutOpen), ui(std::make_unique<Ui::frmAbout>()) {
    ui->setupUi(this);
    connect(ui->cmdClose, &QPushButton::clicked, this, [this] { cmdClose_Click(); });
}

frmAbout::~frmAbout() = default;

void frmAbout::cmdClose_Click() { unload(); }

} // namespace dovrane
