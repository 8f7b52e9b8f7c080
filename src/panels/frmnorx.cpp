#include "panels/frmnorx.h"
#include "ui_frmnorx.h"

#include "drivers/model_tables.h"
#include "shell/globals.h"

#include <QMenu>

namespace dovrane {

frmNoRx::frmNoRx() : PanelForm(18, &NoRxOpen), ui(std::make_unique<Ui::frmNoRx>()) {
    ui->setupUi(this);
    setupPanel();

    // This window's own captions and names.
    if (QAction* a = menuItem(QStringLiteral("mnuConvertaero2"))) a->setText(QStringLiteral("Convert Aero . . ."));
    if (QAction* a = menuItem(QStringLiteral("mnuSignalAn"))) a->setText(QStringLiteral("SignalAn"));
    if (QAction* a = menuItem(QStringLiteral("mnuSmeter"))) a->setText(QStringLiteral("S meter . . ."));
    if (QAction* a = menuItem(QStringLiteral("mnuScanFreqList"))) a->setObjectName(QStringLiteral("mnuScanList"));
    if (QAction* a = menuItem(QStringLiteral("mnuTimean2prt"))) a->setText(QStringLiteral("Time Analysys to Print"));
    // Without a receiver there is no receiver clock to set.
    if (QAction* a = menuItem(QStringLiteral("mnuRxClock"))) a->setEnabled(false);
    if (QAction* a = menuItem(QStringLiteral("mnuHTMLhelp"))) a->setShortcut(QKeySequence(Qt::Key_F1));
}

frmNoRx::~frmNoRx() = default;

void frmNoRx::fillDirectMenu(QMenu* menu) {
    addStandardItem(menu, QStringLiteral("mnuSetup"));
    menu->addSeparator();
    addStandardItem(menu, QStringLiteral("mnuLast20"))->setText(QStringLiteral("Last 20 freqs . . ."));
    addStandardItem(menu, QStringLiteral("mnuScratchpad"))->setText(QStringLiteral("Freq Sratchpad . . ."));
    menu->addSeparator();
    addStandardItem(menu, QStringLiteral("mnuClose"));
    addStandardItem(menu, QStringLiteral("mnuExit"));
}

void frmNoRx::Form_Load() {
    initnorxtables();
    PanelForm::Form_Load();
}

} // namespace dovrane
