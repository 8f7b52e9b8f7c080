#include "timer/frmrxclock.h"
#include "ui_frmrxclock.h"

#include "drivers/ar7030/clsar7030.h"
#include "drivers/nrd535/clsnrd535.h"
#include "drivers/nrd545/clsnrd545.h"
#include "platform/clock.h"
#include "platform/commport.h"
#include "shell/globals.h"

#include <QTimer>

namespace dovrane {

namespace {
QString hms(const QDateTime& t) { return t.toString(QStringLiteral("hh:mm:ss")); }
} // namespace

frmRxClock::frmRxClock() : Form(24, &RxClockOpen), ui(std::make_unique<Ui::frmRxClock>()) {
    ui->setupUi(this);
    tmrPCclock_ = new QTimer(this);
    tmrPCclock_->setInterval(1000);
    tmrPCclock_->setTimerType(Qt::PreciseTimer);
    connect(tmrPCclock_, &QTimer::timeout, this, [this] { tmrPCclock_Timer(); });
    connect(ui->cmdGetRXclock, &QPushButton::clicked, this, [this] { cmdGetRXclock_Click(); });
    connect(ui->cmdRX2LT, &QPushButton::clicked, this, [this] { cmdRX2LT_Click(); });
    connect(ui->cmdRX2UT, &QPushButton::clicked, this, [this] { cmdRX2UT_Click(); });
    connect(ui->cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });
}

frmRxClock::~frmRxClock() = default;

void frmRxClock::Form_Load() {
    if (Comm1) {
        switch (RxType) {
        case 1: AR7030A = new clsAR7030(*Comm1, Comm1); break;
        case 2: NRD535A = new clsNRD535(*Comm1, Comm1); break;
        case 4: NRD545A = new clsNRD545(*Comm1, Comm1); break;
        default: break;
        }
    }
    tmrPCclock_Timer();
    tmrPCclock_->start();
}

void frmRxClock::Form_Unload() {
    tmrPCclock_->stop();
    delete AR7030A.data();
    delete NRD535A.data();
    delete NRD545A.data();
}

void frmRxClock::tmrPCclock_Timer() {
    ui->lblLT->setText(hms(Clock::now()));
    ui->lblUT->setText(hms(Clock::utcNow()));
}

template <class F> void frmRxClock::whileDisabled(QWidget* button, F work) {
    button->setEnabled(false);
    QPointer<frmRxClock> self(this);
    work();
    if (self) button->setEnabled(true);
}

std::optional<QString> frmRxClock::readClock() {
    switch (RxType) {
    case 1: return AR7030A ? AR7030A->RxClock() : std::nullopt;
    case 2: return NRD535A ? NRD535A->RxClock() : std::nullopt;
    case 4: return NRD545A ? NRD545A->RxClock() : std::nullopt;
    default: return std::nullopt;
    }
}

void frmRxClock::setClock(const QString& hhmmss) {
    switch (RxType) {
    case 1: if (AR7030A) AR7030A->RxClock(hhmmss); break;
    case 2: if (NRD535A) NRD535A->RxClock(hhmmss); break;
    case 4: if (NRD545A) NRD545A->RxClock(hhmmss); break;
    default: break;
    }
}

void frmRxClock::cmdGetRXclock_Click() {
    whileDisabled(ui->cmdGetRXclock, [this] {
        // A clock that gave no answer leaves the last reading shown.
        if (const auto t = readClock()) ui->lblRT->setText(*t);
    });
}

// The time set is the time of the click, not the display's last second.
void frmRxClock::cmdRX2LT_Click() {
    whileDisabled(ui->cmdRX2LT, [this] { setClock(hms(Clock::now())); });
}

void frmRxClock::cmdRX2UT_Click() {
    whileDisabled(ui->cmdRX2UT, [this] { setClock(hms(Clock::utcNow())); });
}

} // namespace dovrane
