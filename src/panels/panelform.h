#pragma once
// What every main window of a run shares, the four receiver panels and the
// no-receiver panel alike: the menu tree that reaches every tool, Close and
// Exit, the last-20 window loaded in the background, the double click that
// empties the frequency box, and the way back to the welcome window.
#include "shell/form.h"

#include <QKeySequence>
#include <QString>
#include <functional>

class QAction;
class QMenu;
class QMenuBar;

namespace dovrane {

class PanelForm : public Form {
    Q_OBJECT
public:
    PanelForm(int positionIndex, bool* openFlag, QWidget* parent = nullptr);
    ~PanelForm() override;

    // Menu items by control name ("mnuLast20"), and menus by theirs ("mnuScan").
    QAction* menuItem(const QString& name) const;
    QMenuBar* panelMenuBar() const { return menuBar_; }
    // A tool window was registered: its menu items become usable.
    void enableToolItems(const QString& windowName);

    // Unloads the panel (its whole close path) and then the welcome window,
    // which writes the position file and ends the program.
    void mnuExit_Click();
    void cmdClose_Click();
    // The tool windows the panel takes along ask about their unsaved work first.
    bool keepForUnsavedWork() override;

    // The help file of this window, in the data folder.
    virtual QString helpFileName() const { return QStringLiteral("dovrane2.chm"); }

protected:
    // Builds the menu bar and binds cmdClose and the frequency box; a panel
    // calls it once its controls are set up.
    void setupPanel();

    // The "Direct" menu; receiver panels and the no-receiver panel differ.
    // The other menus are the same on every panel, with the AR7030's captions;
    // a panel whose captions differ changes them after setupPanel().
    virtual void fillDirectMenu(QMenu* menu) = 0;
    // What "Set RX Clock . . ." does on this panel.
    virtual void rxClockMenu();

    // Adds an item; an empty action leaves it disabled (the window it opens
    // is not part of this build).
    QAction* addMenuItem(QMenu* menu, const QString& name, const QString& caption, std::function<void()> action,
                         const QKeySequence& shortcut = QKeySequence());
    // Adds an item that opens a tool window (or runs action, when given),
    // enabled exactly when that window is registered.
    QAction* addToolItem(QMenu* menu, const QString& name, const QString& caption, const QString& windowName,
                         std::function<void()> action = {});
    // Adds one of the standard items by name ("mnuSetup", "mnuLast20", ...).
    QAction* addStandardItem(QMenu* menu, const QString& name);

    // Load: the last-20 window, loaded without showing it.
    void Form_Load() override;
    // Unload: every tool window, the panel's own steps, then the welcome
    // window again.
    void Form_Unload() override;
    // Steps of the panel before the tool windows close (nothing that reaches
    // the receiver: what a tool window's unload sends must not come after
    // the panel's close), and after them (all that the close sends).
    virtual void beforeToolsUnload() {}
    virtual void afterToolsUnload() {}

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenuBar();
    void htmlHelp();
    void pcClock();

    QMenuBar* menuBar_ = nullptr;
    bool exiting_ = false;
};

} // namespace dovrane
