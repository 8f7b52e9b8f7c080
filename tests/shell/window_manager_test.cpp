// Every kind of window under a real X server with a window manager that frames
// them: each comes back exactly where it was left, however often it is opened
// and closed. The same walk through the windows takes the screenshots that
// tests/screenshots/take_screenshots.sh asks for. Both run only when started
// through tests/x11/with_window_manager.sh; elsewhere they are skipped.
#include "lists/frmlast20.h"
#include "lists/frmscratchpad.h"
#include "panels/frmadvanceddsp.h"
#include "panels/frmar7030.h"
#include "panels/frmnorx.h"
#include "panels/frmnrd535.h"
#include "panels/frmnrd545.h"
#include "panels/frmrx320.h"
#include "panels/frmuserdefs.h"
#include "panels/frmuserdefs545.h"
#include "panels/panel_registry.h"
#include "platform/geometry.h"
#include "platform/number_text.h"
#include "shell/facade.h"
#include "shell/frmabout.h"
#include "shell/frmloadfile.h"
#include "shell/frmsavefile.h"
#include "shell/frmsetup.h"
#include "shell/frmwelcome.h"
#include "shell/globals.h"
#include "shell/settings_file.h"
#include "sim/sim_receiver.h"
#include "support/test_env.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QWindow>
#include <functional>

namespace dovrane::test {
namespace {

constexpr int32_t kLeft = 3000, kTop = 3000;   // twips: 200, 200 pixels

struct WindowKind {
    const char* name;
    int index;             // position index
    int rxType;            // receiver panels: the type Go starts; -1 for the rest
    const char* model;     // the simulated receiver behind a panel, or ""
    std::function<Form*()> open;
};
// Test listings name the window, not the bytes of the struct.
void PrintTo(const WindowKind& k, std::ostream* os) { *os << k.name; }

template <class T> Form* openTool() {
    T* w = forms::load<T>();
    if (w && w->isLoaded()) w->show();
    return w;
}

template <class T> Form* openPanel() {
    frmWelcome* welcome = forms::loaded<frmWelcome>();
    if (!welcome) welcome = frmWelcome::start();
    welcome->imgGo_Click();
    return forms::loaded<T>();
}

Form* openWelcome() { return frmWelcome::start(); }

const std::vector<WindowKind>& windowKinds() {
    static const std::vector<WindowKind> kinds{
        {"frmWelcome", 34, -1, "", openWelcome},
        {"frmAbout", 2, -1, "", openTool<frmAbout>},
        {"frmSetUp", 28, -1, "", openTool<frmSetUp>},
        {"frmLoadfile", 11, -1, "", openTool<frmLoadfile>},
        {"frmSavefile", 26, -1, "", openTool<frmSavefile>},
        {"frmLast20", 10, -1, "", openTool<frmLast20>},
        {"frmScratchpad", 27, -1, "", openTool<frmScratchpad>},
        {"frmNoRx", 18, 0, "", openPanel<frmNoRx>},
        {"frmAR7030", 3, 1, "ar7030", openPanel<frmAR7030>},
        {"frmNRD535", 19, 2, "nrd535", openPanel<frmNRD535>},
        {"frmRX320", 23, 3, "rx320", openPanel<frmRX320>},
        {"frmNRD545", 38, 4, "nrd545", openPanel<frmNRD545>},
        {"frmUserdefs", 33, 2, "nrd535", openTool<frmUserdefs>},
        {"frmUserdefs545", 41, 4, "nrd545", openTool<frmUserdefs545>},
        {"frmAdvancedDSP", 35, 4, "nrd545", openTool<frmAdvancedDSP>},
    };
    return kinds;
}

bool underWindowManager() {
    return !qEnvironmentVariableIsEmpty("DOVRANE_WINDOW_MANAGER") &&
           QGuiApplication::platformName() == QLatin1String("xcb");
}

class UnderWindowManager : public AppTest, public ::testing::WithParamInterface<WindowKind> {
protected:
    void SetUp() override {
        AppTest::SetUp();
        if (!underWindowManager()) GTEST_SKIP() << "needs tests/x11/with_window_manager.sh";
        registerPanelWindows();
        // Whatever a receiver or a window has to say is not what is looked at here.
        dialogs.allow(QString());
        const WindowKind& kind = GetParam();
        if (*kind.model) {
            sim_ = sim::makeSim(QLatin1String(kind.model));
            ASSERT_TRUE(sim_ && sim_->start());
            writeDataFile(QStringLiteral("serialports.ini"), sim_->devicePath().toUtf8() + "\r\n");
        }
        QByteArray settings = DataFolder.toUtf8() + "\r\n5130N\r\n00007W\r\n" +
                              numText(double(std::max(kind.rxType, 0))).toUtf8() + "\r\n";
        for (int i = 1; i <= 31; ++i) settings += numText(double(defaultSetting(i))).toUtf8() + "\r\n";
        writeDataFile(SettingsFileName, settings);
        QByteArray positions;
        for (int k = 1; k <= 42; ++k) positions += numText(double(kLeft)).toUtf8() + "," + numText(double(kTop)).toUtf8() + "\r\n";
        writeDataFile(PositionsFileName, positions);
        // The panels' tools talk to the receiver through the welcome window's port.
        if (kind.rxType >= 0 || kind.index == 34) frmWelcome::start();
        if (kind.rxType >= 0 && kind.index != 34) RxType = kind.rxType;
        if (kind.rxType < 0) readPositionsFile();
    }
    void TearDown() override {
        forms::destroyAll();
        resetFacade();
        if (sim_) sim_->stop();
        for (auto& open : welcome::panelOpeners) open = nullptr;
        AppTest::TearDown();
    }

    // Waits until the window manager has put its frame round the window and
    // the window has stopped moving.
    static bool waitFramed(Form* w) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 5000) {
            pump(20);
            if (w->isVisible() && w->windowHandle() && !w->windowHandle()->frameMargins().isNull()) {
                QPoint last = w->frameRect().topLeft();
                for (int settled = 0; settled < 5 && t.elapsed() < 5000;) {
                    pump(20);
                    const QPoint now = w->frameRect().topLeft();
                    settled = now == last ? settled + 1 : 0;
                    last = now;
                }
                return true;
            }
        }
        return false;
    }

    std::unique_ptr<sim::SimReceiver> sim_;
};

TEST_P(UnderWindowManager, ComesBackWhereItWasLeft) {
    const WindowKind& kind = GetParam();
    const size_t k = size_t(kind.index);
    for (int cycle = 1; cycle <= 5; ++cycle) {
        SCOPED_TRACE(QStringLiteral("%1, opening %2").arg(QLatin1String(kind.name)).arg(cycle).toStdString());
        Form* w = kind.open();
        ASSERT_NE(w, nullptr);
        ASSERT_TRUE(waitFramed(w)) << "the window manager never framed the window";
        EXPECT_EQ(w->frameRect().topLeft(), QPoint(twipsToPx(kLeft), twipsToPx(kTop)))
            << "the frame is not where the window was left";
        w->unload();
        pump(20);
        EXPECT_EQ(FormLeft[k], kLeft);
        EXPECT_EQ(FormTop[k], kTop);
        if (kind.index == 34) {
            forms::destroyAll();
            pump(20);
        }
    }
}

// Not a check: pictures of every window for people to look at.
TEST_P(UnderWindowManager, Screenshot) {
    const QString folder = qEnvironmentVariable("DOVRANE_SCREENSHOT_DIR");
    if (folder.isEmpty()) GTEST_SKIP() << "DOVRANE_SCREENSHOT_DIR names no folder";
    const WindowKind& kind = GetParam();
    Form* w = kind.open();
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(waitFramed(w));
    w->raise();
    pump(300);
    const QRect r = w->frameRect();
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, r.x(), r.y(), r.width(), r.height());
    QDir().mkpath(folder);
    ASSERT_TRUE(shot.save(QDir(folder).filePath(QLatin1String(kind.name) + QStringLiteral(".png"))));
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, UnderWindowManager, ::testing::ValuesIn(windowKinds()),
                         [](const ::testing::TestParamInfo<WindowKind>& info) { return std::string(info.param.name); });

} // namespace
} // namespace dovrane::test
