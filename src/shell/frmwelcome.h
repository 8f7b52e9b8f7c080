#pragma once
// The welcome window: the program's start and end. It reads the settings and
// window positions, shows the configured receiver, opens the receiver's panel
// (Go), owns the serial port and keeps the title clock.
#include "shell/form.h"

#include <array>
#include <functional>
#include <memory>

class QTimer;
namespace Ui {
class frmWelcome;
}

namespace dovrane {

class CommPort;

// How Go and Set Up reach windows built elsewhere. panelOpeners[k] opens the
// panel of receiver type k (0 No RX, 1 AR7030, 2 NRD-535, 3 RX-320, 4 NRD-545)
// and returns whether it opened; setUpOpener shows the set-up dialog modal.
// An empty entry means that window is not available in this build.
// endProgram ends the program's event loop once the welcome window has
// unloaded; main sets it (tests, which run no such loop, leave it empty).
namespace welcome {
inline std::array<std::function<bool()>, 5> panelOpeners;
inline std::function<void()> setUpOpener;
inline std::function<void()> endProgram;
} // namespace welcome

class frmWelcome : public Form {
    Q_OBJECT
public:
    frmWelcome();
    ~frmWelcome() override;

    // Loads and shows the welcome window: the program's start.
    static frmWelcome* start();

    void imgGo_Click();
    void imgSetup_Click();
    void imgAbout_Click();
    void imgExit_Click();
    // The title clock's tick: clock texts, then the titles of the open panel
    // and list windows.
    void Showtime_Timer();
    // Caption and colour of lblGo for a receiver type; other values leave it.
    void setlblGo(int rxType);

    CommPort* comm() const { return comm_; }
    QTimer* showtime() const { return showtime_; }

protected:
    void Form_Load() override;
    void Form_Unload() override;

private:
    std::unique_ptr<Ui::frmWelcome> ui;
    CommPort* comm_;
    QTimer* showtime_;
};

} // namespace dovrane
