#include "support/test_env.h"
#include "platform/clock.h"
#include "platform/launcher.h"
#include "platform/timeouts.h"
#include "lists/last20_list.h"
#include "panels/tool_windows.h"
#include "register_windows.h"
#include "shell/file_kinds.h"
#include "shell/form.h"
#include "shell/globals.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

namespace dovrane::test {

void AppTest::SetUp() {
    dir_ = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(dir_->isValid());
    oldCwd_ = QDir::currentPath();
    QDir::setCurrent(dir_->path());
    resetGlobals();
    clearLast20();
    DataFolder = QDir(dir_->path()).absolutePath() + QLatin1Char('/');
    ConfiguredDataFolder = DataFolder;
    ConfigDir = DataFolder;
    clockTime = QDateTime(QDate(2004, 3, 7), QTime(1, 30));
    Clock::set(clockTime);
    replyTimeouts.ar7030ByteMs = 150;
    replyTimeouts.nrdReplyMs = 250;
    replyTimeouts.rx320SmeterMs = 150;
    // Long enough for a try to meet a silent receiver and end before the
    // next, short enough that a test waits out a few.
    retryTimes.owedLineOffMs = 600;
    launcher::setHook([](const QString&, const QStringList&) { return false; });
    Clock::setUtcOffsetSource([] { return double(Settings[3]); });
    // The tool windows, as the program registers them at start-up.
    clearToolWindows();
    registerToolWindows();
}

void AppTest::TearDown() {
    forms::destroyAll();
    pump();
    launcher::clearHook();
    Clock::reset();
    replyTimeouts = ReplyTimeouts{};
    retryTimes = RetryTimes{};
    clearToolWindows();
    clearFileKindHandlers();
    EXPECT_EQ(dialogs.pending(), 0) << "a message the test expected was never shown";
    resetGlobals();
    clearLast20();
    QDir::setCurrent(oldCwd_);
    dir_.reset();
}

QString AppTest::dataPath(const QString& name) const { return DataFolder + name; }

void AppTest::writeDataFile(const QString& name, const QByteArray& content) const {
    const QString path = dataPath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}

QByteArray AppTest::readDataFile(const QString& name) const {
    QFile f(dataPath(name));
    if (!f.open(QIODevice::ReadOnly)) return QByteArray();
    return f.readAll();
}

void AppTest::pump(int ms) {
    QElapsedTimer t;
    t.start();
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    } while (t.elapsed() < ms);
}

} // namespace dovrane::test
