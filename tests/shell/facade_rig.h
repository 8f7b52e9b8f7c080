#pragma once
// A panel that only notes what the facade hands it.
#include "shell/facade.h"

#include <QString>
#include <QStringList>

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

} // namespace dovrane::test
