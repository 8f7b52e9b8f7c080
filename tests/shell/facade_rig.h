#pragma once
// A panel that only notes what the facade hands it, and a simulated receiver
// behind the program's port that reports to such a panel.
#include "drivers/model_tables.h"
#include "platform/commport.h"
#include "shell/facade.h"
#include "shell/globals.h"

#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

namespace dovrane::test {

struct RecordingHandlers : PanelHandlers {
    QStringList calls;
    QString text;
    void frequencyAChanged(double kHz) override {
        text = QString::number(kHz, 'f', 3);
        calls << QStringLiteral("FrequencyA ") + text;
    }
    void modeChanged(int v) override { calls << QStringLiteral("Mode %1").arg(v); }
    void bandwidthChanged(int v) override { calls << QStringLiteral("Bandwidth %1").arg(v); }
    void agcspeedChanged(int v) override { calls << QStringLiteral("Agcspeed %1").arg(v); }
    QString frequencyText() const override { return text; }
};

inline void initModelTables(int rxType) {
    switch (rxType) {
    case 1: initar7030tables(); break;
    case 2: initnrd535tables(); break;
    case 3: initrx320tables(); break;
    case 4: initnrd545tables(); break;
    default: break;
    }
}

// A fixture's simulator, the port the program reaches it through, and the
// panel stand-in the facade reports to.
template <class Sim, class Panel = RecordingHandlers>
struct ReceiverLink {
    // Starts the simulator; the port and the panel become the facade's.
    void attach() {
        ASSERT_TRUE(sim.start());
        port.setDeviceName(sim.devicePath());
        Comm1 = &port;
        setOpenPanel(&panel);
    }
    void detach() {
        resetFacade();
        port.close();
        sim.stop();
    }
    // Opens the port with the model's line settings and makes its driver.
    void openDriver(int rxType, const char* settings) {
        RxType = rxType;
        ASSERT_TRUE(port.setSettings(QLatin1String(settings)));
        ASSERT_TRUE(port.open()) << port.errorString().toStdString();
        createWelcomeDriver(rxType);
    }

    Sim sim;
    CommPort port;
    Panel panel;
};

} // namespace dovrane::test
