#pragma once
// What the two NRD panels share: the panel lock (the Lock buttons, the lock
// primitive lockoffon and the hold continuous stepping takes), the unload that
// returns the receiver to local, and the release of the driver.
#include "drivers/nrd/nrddriver.h"
#include "panels/panel_lock.h"
#include "panels/rxpanel.h"
#include "platform/commport.h"

#include <QPointer>
#include <optional>

namespace dovrane {

class NrdPanel : public RxPanel, public NrdLockPanel {
    Q_OBJECT
public:
    explicit NrdPanel(int rxType, QWidget* parent = nullptr);
    ~NrdPanel() override;

    // The panel's lock primitive: the driver's Lockonoff(v), then 0 blanks and
    // disables the controls that act only while the receiver is held, 1
    // refreshes the panel (RxUpdatefull). Invokable, for windows that reach
    // the panel through its open flag.
    Q_INVOKABLE void lockoffon(int v) override;
    // The Lock buttons: 0 off, 1 on.
    void cmdLock_Click(int i);

protected:
    // The model's driver, once the model has made it.
    void setNrdDriver(NrdDriver* driver) { nrd_ = driver; }
    // The lock label shows v (the model's LockChanged handler).
    virtual void showLock(int v) = 0;
    // Blanks and disables the controls that act only while the receiver is held.
    virtual void blankSliders() = 0;

    void beforeToolsUnload() override;
    void afterToolsUnload() override;
    void modelUnload() override;
    void releaseDriver() override;
    void continuousStarted() override;
    void continuousStopped() override;

private:
    QPointer<NrdDriver> nrd_;
    // Continuous stepping took a run's hold and owes its release.
    bool steppingHolds_ = false;
    // From the start of the close to the port's own close: what the tools
    // and the panel send as they close goes only to the device the panel
    // spoke to, never to another that has since been given its name.
    std::optional<ReopenPin> closing_;
};

} // namespace dovrane
