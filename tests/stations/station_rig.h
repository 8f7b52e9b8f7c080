#pragma once
// A receiver on a simulator behind the real port, with a panel that only
// notes what the facade hands it and follows tracking as the real panels do.
#include "drivers/model_tables.h"
#include "platform/commport.h"
#include "shell/common_tables.h"
#include "shell/facade.h"
#include "shell/facade_rig.h"
#include "shell/form.h"
#include "shell/globals.h"
#include "shell/unloadallforms.h"
#include "panels/panel_lock.h"
#include "platform/number_text.h"
#include "support/test_env.h"

#include <QElapsedTimer>
#include <QTextStream>

namespace dovrane::test {

struct TrackingPanel : RecordingHandlers {
    void frequencyAChanged(double kHz) override {
        RecordingHandlers::frequencyAChanged(kHz);
        if (TrackingOpen && TrackingActive) {
            TrackFreq = kHz;
            updatetracking();
        }
    }
};

template <class Sim>
class StationRig : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        initcommontables();
        setFileKindPaths();
        ASSERT_TRUE(sim.start());
        port.setDeviceName(sim.devicePath());
        Comm1 = &port;
        setOpenPanel(&panel);
    }
    void TearDown() override {
        forms::destroyAll();
        resetFacade();
        port.close();
        sim.stop();
        AppTest::TearDown();
    }
    void open(int rxType, const char* settings) {
        RxType = rxType;
        ASSERT_TRUE(port.setSettings(QLatin1String(settings)));
        ASSERT_TRUE(port.open()) << port.errorString().toStdString();
        createWelcomeDriver(rxType);
        switch (rxType) {
        case 1: initar7030tables(); break;
        case 2: initnrd535tables(); break;
        case 3: initrx320tables(); break;
        case 4: initnrd545tables(); break;
        default: break;
        }
    }
    template <class Pred> static bool waitFor(Pred p, int ms = 1500) {
        QElapsedTimer t;
        t.start();
        while (!p() && t.elapsed() < ms) pump(10);
        return p();
    }
    // A station list in the list folder.
    void writeList(const QString& name, const QStringList& lines) {
        QByteArray data;
        for (const QString& l : lines) data += l.toLatin1() + "\r\n";
        writeDataFile(QStringLiteral("RX2DB/") + name, data);
    }

    Sim sim;
    CommPort port;
    TrackingPanel panel;
};

} // namespace dovrane::test
