#include "panels/panelform.h"
#include "panels/tool_windows.h"
#include "platform/dialogs.h"
#include "platform/launcher.h"
#include "shell/frmwelcome.h"
#include "shell/globals.h"
#include "shell/unloadallforms.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QEvent>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

namespace dovrane {

namespace {

const QString kHelpTitle = QStringLiteral("HTML Help");
const QString kNoHelp = QStringLiteral("The help file %1\ncould not be opened: no program on this system shows it.");
const QString kClockTitle = QStringLiteral("Set PC Clock");
const QString kNoClockTool =
    QStringLiteral("No date and time settings program was found.\nPlease set the clock with the system's own settings.");

struct StandardItem {
    const char* name;
    const char* caption;
    const char* window;   // the tool window it opens, if any
};

// The standard items, with the captions of the AR7030 panel.
const StandardItem kStandard[] = {
    {"mnuSetup", "Set-up . . .", "frmSetUp"},
    {"mnuLast20", "Last 20 Freqs . . .", "frmLast20"},
    {"mnuScratchpad", "Freq Scratchpad . . .", "frmScratchpad"},
    {"mnuClose", "Close", nullptr},
    {"mnuExit", "Exit", nullptr},
    {"mnuBDXC", "BDXC . . .", "frmBdxc"},
    {"mnuOwn", "Own . . .", "frmOwn"},
    {"mnu320Files", ".320 . . .", "frm320Files"},
    {"mnuIlg2rx", "ILG . . .", "frmIlg2rx"},
    {"mnuAero2rx", "Aero . . .", "frmAero2rx"},
    {"mnuConvertILG1", "Convert ILG . . .", "frmConvertILG"},
    {"mnuConvertaero2", "ConvertAero . . .", "frmConvertAero"},
    {"mnuLog", "Logging . . .", "frmLog"},
    {"mnuTracking", "Tracking . . .", "frmTracking"},
    {"mnuConvertILG2", "Convert ILG . . .", "frmConvertILG"},
    {"mnuConvertaero", "Convert Aero . . .", "frmConvertAero"},
    {"mnuSmeter", "S-meter . . .", "frmSmeter"},
    {"mnuScanSpectrum", "Spectrum . . .", "frmSpectrum"},
    {"mnuScanFreqList", "Freq List . . .", "frmScanlist"},
    {"mnuScanFreqpairs", "Freq Pairs . . .", "frmScanpairs"},
    {"mnuTimean", "Time Analysis", "frmPropagation"},
    {"mnuTimean2prt", "Time Analysis to Print", "frmProp2prt2"},
    {"mnuMemman", "Memory Management . . .", "frmMemman"},
    {"mnuPCclock", "Set PC Clock . . .", nullptr},
    {"mnuRxClock", "Set RX Clock . . .", nullptr},
    {"mnuRxTimer", "Programming . . .", "frmRxTimer"},
    {"mnuHTMLhelp", "HTML Help", nullptr},
    {"mnuAbout", "About . . .", "frmAbout"},
};

const StandardItem* standardItem(const QString& name) {
    for (const StandardItem& s : kStandard)
        if (name == QLatin1String(s.name)) return &s;
    return nullptr;
}

} // namespace

PanelForm::PanelForm(int positionIndex, bool* openFlag, QWidget* parent) : Form(positionIndex, openFlag, parent) {
    registerWindow(openFlag, this);
}

PanelForm::~PanelForm() = default;

QAction* PanelForm::menuItem(const QString& name) const { return findChild<QAction*>(name); }

void PanelForm::setupPanel() {
    buildMenuBar();
    if (auto* close = findChild<QAbstractButton*>(QStringLiteral("cmdClose")))
        connect(close, &QAbstractButton::clicked, this, [this] { cmdClose_Click(); });
    if (auto* box = findChild<QLineEdit*>(QStringLiteral("txtFrequencyA"))) box->installEventFilter(this);
}

QAction* PanelForm::addMenuItem(QMenu* menu, const QString& name, const QString& caption,
                                std::function<void()> action, const QKeySequence& shortcut) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    if (!shortcut.isEmpty()) a->setShortcut(shortcut);
    if (action)
        connect(a, &QAction::triggered, this, [action = std::move(action)] { action(); });
    else
        a->setEnabled(false);
    return a;
}

QAction* PanelForm::addToolItem(QMenu* menu, const QString& name, const QString& caption,
                                const QString& windowName, std::function<void()> action) {
    if (!action)
        action = [windowName] {
            if (auto open = toolWindowOpener(windowName)) open();
        };
    QAction* a = addMenuItem(menu, name, caption, std::move(action));
    a->setProperty("toolWindow", windowName);
    a->setEnabled(toolWindowRegistered(windowName));
    return a;
}

void PanelForm::enableToolItems(const QString& windowName) {
    for (QAction* a : findChildren<QAction*>())
        if (a->property("toolWindow").toString() == windowName) a->setEnabled(true);
}

QAction* PanelForm::addStandardItem(QMenu* menu, const QString& name) {
    const StandardItem* item = standardItem(name);
    if (!item) return nullptr;
    std::function<void()> action;
    if (name == QLatin1String("mnuClose")) action = [this] { cmdClose_Click(); };
    else if (name == QLatin1String("mnuExit")) action = [this] { mnuExit_Click(); };
    else if (name == QLatin1String("mnuPCclock")) action = [this] { pcClock(); };
    else if (name == QLatin1String("mnuRxClock"))
        return addToolItem(menu, name, QLatin1String(item->caption), QStringLiteral("frmRxClock"),
                           [this] { rxClockMenu(); });
    else if (name == QLatin1String("mnuHTMLhelp")) action = [this] { htmlHelp(); };
    else if (item->window) return addToolItem(menu, name, QLatin1String(item->caption), QLatin1String(item->window));
    return addMenuItem(menu, name, QLatin1String(item->caption), std::move(action));
}

void PanelForm::buildMenuBar() {
    if (menuBar_) return;
    menuBar_ = new QMenuBar(this);
    menuBar_->setObjectName(QStringLiteral("menuBar"));
    if (layout()) layout()->setMenuBar(menuBar_);

    auto menu = [this](QMenu* parentMenu, const char* name, const char* title) {
        QMenu* m = parentMenu ? parentMenu->addMenu(QLatin1String(title)) : menuBar_->addMenu(QLatin1String(title));
        m->setObjectName(QLatin1String(name));
        m->menuAction()->setObjectName(QLatin1String(name));
        return m;
    };
    auto items = [this](QMenu* m, std::initializer_list<const char*> names) {
        for (const char* n : names) {
            if (*n == '-') m->addSeparator();
            else addStandardItem(m, QLatin1String(n));
        }
    };

    fillDirectMenu(menu(nullptr, "mnuDirect", "Direct"));
    items(menu(nullptr, "mnuDb2Rx", "Db2Rx"),
          {"mnuBDXC", "mnuOwn", "mnu320Files", "mnuIlg2rx", "mnuAero2rx", "-", "mnuConvertILG1", "mnuConvertaero2"});
    items(menu(nullptr, "mnuRx2Db", "Rx2Db"), {"mnuLog", "mnuTracking", "-", "mnuConvertILG2", "mnuConvertaero"});
    QMenu* signal = menu(nullptr, "mnuSignalAn", "Signal An");
    items(signal, {"mnuSmeter"});
    items(menu(signal, "mnuScan", "Scan"), {"mnuScanSpectrum", "mnuScanFreqList", "mnuScanFreqpairs"});
    items(menu(signal, "mnuPropagation", "Propagation"), {"mnuTimean", "mnuTimean2prt"});
    items(menu(nullptr, "mnuMemMan", "MemMan"), {"mnuMemman"});
    items(menu(nullptr, "mnuTimers", "Timers"), {"mnuPCclock", "mnuRxClock", "mnuRxTimer"});
    items(menu(nullptr, "mnuHelp", "Help"), {"mnuHTMLhelp", "mnuAbout"});
}

void PanelForm::rxClockMenu() {
    // The no-receiver panel has no receiver clock to set.
}

void PanelForm::htmlHelp() {
    const QString path = DataFolder + helpFileName();
    if (!launcher::openFile(path))
        dialogs::message(kNoHelp.arg(path), dialogs::Buttons::Ok, dialogs::Icon::Exclamation, kHelpTitle);
}

void PanelForm::pcClock() {
    const bool started = launcher::startFirst({
        {QStringLiteral("gnome-control-center"), {QStringLiteral("datetime")}},
        {QStringLiteral("systemsettings"), {QStringLiteral("kcm_clock")}},
        {QStringLiteral("systemsettings5"), {QStringLiteral("clock")}},
        {QStringLiteral("xfce4-datetime-settings"), {}},
        {QStringLiteral("time-admin"), {}},
    });
    if (!started) dialogs::message(kNoClockTool, dialogs::Buttons::Ok, dialogs::Icon::Information, kClockTitle);
}

bool PanelForm::keepForUnsavedWork() { return !toolWindowsMayClose(); }

void PanelForm::cmdClose_Click() {
    if (!keepForUnsavedWork()) unload();
}

void PanelForm::mnuExit_Click() {
    if (keepForUnsavedWork()) return;
    exiting_ = true;
    QPointer<PanelForm> self(this);
    unload();
    if (self) self->exiting_ = false;
    // The welcome window's unload writes the positions and ends the program.
    if (frmWelcome* welcome = forms::loaded<frmWelcome>()) welcome->unload();
    else QCoreApplication::quit();
}

void PanelForm::Form_Load() {
    // The tools' steps: the last-20 history records every frequency from now on.
    runPanelLoadSteps();
}

void PanelForm::Form_Unload() {
    beforeToolsUnload();
    unloadallforms();
    afterToolsUnload();
    if (exiting_) return;
    if (frmWelcome* welcome = forms::loaded<frmWelcome>()) {
        welcome->show();
        welcome->raise();
    }
}

bool PanelForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick && watched->objectName() == QLatin1String("txtFrequencyA")) {
        if (auto* box = qobject_cast<QLineEdit*>(watched)) box->clear();
        return true;
    }
    return Form::eventFilter(watched, event);
}

} // namespace dovrane
