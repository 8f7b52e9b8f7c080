// Dovrane: control of a communications receiver over a serial line.
#include "panels/panel_registry.h"
#include "platform/clock.h"
#include "register_windows.h"
#include "shell/form.h"
#include "shell/frmsetup.h"
#include "shell/frmwelcome.h"
#include "shell/globals.h"

#include <QApplication>
#include <QDir>
#include <QStyleFactory>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Dovrane"));
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) QApplication::setStyle(fusion);
    // The welcome window ends the program; hiding it while a panel is open must not.
    QApplication::setQuitOnLastWindowClosed(false);

    // The settings and window positions live in the folder the program starts in.
    dovrane::ConfigDir = QDir::currentPath();

    // Unloading the welcome window ends the program. Leaving the event loop
    // directly, rather than asking every window to close, cannot be refused
    // by a window that is still open.
    dovrane::welcome::endProgram = [] { QCoreApplication::exit(0); };
    dovrane::welcome::setUpOpener = dovrane::showSetUpDialog;
    // UTC is the local clock minus the user's local-minus-UTC hours.
    dovrane::Clock::setUtcOffsetSource([] { return double(dovrane::Settings[3]); });
    dovrane::registerPanelWindows();
    dovrane::registerToolWindows();
    dovrane::frmWelcome::start();
    const int rc = QApplication::exec();
    dovrane::forms::destroyAll();
    return rc;
}
