#pragma once
// A fresh world for each test: an empty data folder that is also the working
// directory, shared state reset, a set clock, scripted dialogs and short
// receiver time-outs.
#include "support/scripted_dialogs.h"
#include <QDateTime>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace dovrane::test {

class AppTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Absolute path of a file in the data folder.
    QString dataPath(const QString& name) const;
    // Writes a text file (Latin-1) into the data folder.
    void writeDataFile(const QString& name, const QByteArray& content) const;
    QByteArray readDataFile(const QString& name) const;

    // Runs events for ms milliseconds (for queued signals and timers).
    static void pump(int ms = 0);

    ScriptedDialogs dialogs;
    QDateTime clockTime;   // what the clock was set to

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString oldCwd_;
};

} // namespace dovrane::test
