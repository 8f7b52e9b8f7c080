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
class StationRig : public AppTest, protected ReceiverLink<Sim, TrackingPanel> {
protected:
    using Link = ReceiverLink<Sim, TrackingPanel>;
    using Link::panel;
    using Link::port;
    using Link::sim;
    void SetUp() override {
        AppTest::SetUp();
        initcommontables();
        setFileKindPaths();
        this->attach();
    }
    void TearDown() override {
        forms::destroyAll();
        this->detach();
        AppTest::TearDown();
    }
    void open(int rxType, const char* settings) {
        this->openDriver(rxType, settings);
        initModelTables(rxType);
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

};

} // namespace dovrane::test
