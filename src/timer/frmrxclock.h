#pragma once
// The receiver clock window: the PC's local time and UTC every second, and
// the receiver's own clock read and set to either of them through the
// window's own driver object (AR7030, NRD-535 and NRD-545; the other types
// have no clock, and the receiver buttons do nothing).
#include "shell/form.h"

#include <QPointer>
#include <memory>
#include <optional>

class QTimer;

namespace Ui {
class frmRxClock;
}

namespace dovrane {

class clsAR7030;
class clsNRD535;
class clsNRD545;

class frmRxClock : public Form {
    Q_OBJECT
public:
    frmRxClock();
    ~frmRxClock() override;

    // The buttons, callable as a click would.
    void cmdGetRXclock_Click();
    void cmdRX2LT_Click();
    void cmdRX2UT_Click();
    void cmdExit_Click() { unload(); }

    void tmrPCclock_Timer();
    QTimer* tmrPCclock() const { return tmrPCclock_; }

protected:
    void Form_Load() override;
    void Form_Unload() override;

private:
    std::optional<QString> readClock();
    void setClock(const QString& hhmmss);
    // Runs a button's work with the button disabled meanwhile.
    template <class F> void whileDisabled(QWidget* button, F work);

    std::unique_ptr<Ui::frmRxClock> ui;
    QTimer* tmrPCclock_ = nullptr;
    QPointer<clsAR7030> AR7030A;
    QPointer<clsNRD535> NRD535A;
    QPointer<clsNRD545> NRD545A;
};

} // namespace dovrane
