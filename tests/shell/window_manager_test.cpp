// Every kind of window under a real X server with a window manager that frames
// them: each comes back exactly where it was left, however often it is opened
// and closed. The same walk through the windows takes the screenshots that
// tests/screenshots/take_screenshots.sh asks for. Both run only when started
// through tests/x11/with_window_manager.sh; elsewhere they are skipped.
#include "lists/frm320files.h"
#include "lists/frmbdxc.h"
#include "lists/frmlast20.h"
#include "lists/frmown.h"
#include "lists/frmscratchpad.h"
#include "logbook/frmlog.h"
#include "panels/frmadvanceddsp.h"
#include "panels/frmar7030.h"
#include "panels/frmnorx.h"
#include "panels/frmnrd535.h"
#include "panels/frmnrd545.h"
#include "panels/frmrx320.h"
#include "panels/frmuserdefs.h"
#include "panels/frmuserdefs545.h"
#include "panels/panel_registry.h"
#include "panels/tool_windows.h"
#include "register_windows.h"
#include "platform/geometry.h"
#include "platform/number_text.h"
#include "shell/common_tables.h"
#include "shell/facade.h"
#include "shell/file_kinds.h"
#include "shell/frmabout.h"
#include "shell/frmloadfile.h"
#include "shell/frmsavefile.h"
#include "shell/frmsetup.h"
#include "shell/frmwelcome.h"
#include "shell/globals.h"
#include "shell/settings_file.h"
#include "shell/show_panel.h"
#include "sim/sim_receiver.h"
#include "stations/frmaero2rx.h"
#include "stations/frmaeroquery.h"
#include "stations/frmilg2rx.h"
#include "stations/frmilgquery.h"
#include "support/test_env.h"

#include <QDir>
#include <QFile>
#include <QApplication>
#include <QElapsedTimer>
#include <QMenuBar>
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
    // For the picture: a list loaded into the window (empty for the rest).
    std::function<void(ScriptedDialogs&)> fill = {};
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

// Sample lists for the pictures of the list windows, loaded as the file
// chooser loads them.
void loadList(ScriptedDialogs& dialogs, int kind, int subKind, const QString& name, const QByteArray& text) {
    initcommontables();
    setFileKindPaths();
    for (int i = 4; i <= 7; ++i) Settings[size_t(i)] = 1;
    FileKind = kind;
    FileSubKind = subKind;
    FileKindName[size_t(kind)] = name;
    QDir().mkpath(FileKindPath[size_t(kind)]);
    QFile f(QDir(FileKindPath[size_t(kind)]).filePath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
    f.close();
    if (kind == 1) dialogs.expectInput(QStringLiteral("Enter 'all'"), QStringLiteral("all"));
    EXPECT_TRUE(runLoader(kind, subKind));
}

// A log line: the record number, then each field padded to its width and one blank.
QByteArray logLine(const char* nr, std::initializer_list<std::pair<const char*, int>> fields) {
    QByteArray line = QByteArray(nr) + ' ';
    for (const auto& [text, width] : fields) line += QByteArray(text).leftJustified(width + 1, ' ', true);
    return line + "\r\n";
}
void fillLog(ScriptedDialogs& d) {
    loadList(d, 4, 0, QStringLiteral("LOG_2004.TXT"),
             logLine("000", {{"20040301", 8}, {"1200", 4}, {"1300", 4}, {"15400", 9}, {"35443", 5}, {"ENG", 3},
                             {"Radio Canada Int.", 20}, {"Sackville", 20}, {"06195", 5}, {"09610", 5}, {"11855", 5},
                             {"13650", 5}, {"Fine signal, QSL sent", 40}, {"a", 4}, {"", 4}}) +
                 logLine("001", {{"20040302", 8}, {"1830", 4}, {"1900", 4}, {"09410.500", 9}, {"45444", 5}, {"GER", 3},
                                 {"Deutsche Welle", 20}, {"Wertachtal", 20}, {"", 5}, {"06075", 5}, {"", 5}, {"", 5},
                                 {"Music", 40}, {"u", 4}, {"abcd", 4}}));
}
// Frequencies to the hertz and names of their full length in capitals, as
// schedules are often kept, beside mixed case.
void fillBdxc(ScriptedDialogs& d) {
    loadList(d, 1, 0, QStringLiteral("BDX_A07TOE.TXT"),
                     "PAPUA NEW GUINEA RADIO NETHERLANDS 0000-2400    29999.999,32016.666,15400.25,7125.75,15400.125\r\n"
                     "BOSNIA-HERCEGOVI BBC WORLD SERVICE 1000-1100    ,,29999.999,32016.666,15400.125,15400.25,7125.75\r\n"
                     "Sweden           Radio Sweden      0000-2400    6065,9490,11550,15240,17505,21500,1179\r\n"
                     ".                .                 1000-1100    15275\r\n"
                     "Germany          Deutsche Welle    2300-0100    6075,9545\r\n"
                     "United Kingdom   BBC World Service 0600-0800    15400,11795,21735\r\n");
}
void fillOwn(ScriptedDialogs& d) {
    loadList(d, 2, 0, QStringLiteral("OWN_TEST.TXT"),
                     "RADIO ROMANIA INTL. ROU ENG 0000-2400      u      29999.999,32016.666,15400.25,7125.75,15400.125\r\n"
                     "BOSNIA-HERCEGOVINA  BIH SCR 1000-1100      a      ,,,29999.999,32016.666,15400.125,15400.25\r\n"
                     "Radio Sweden        SWE ENG 0100-0130      u      6065,9490,11550,15240.25,17505,21500,1179,9700\r\n"
                     "Radio Canada Int.   CAN FRE 2300-2400      a      5995,9755\r\n");
}
void fill320(ScriptedDialogs& d) {
    loadList(d, 10, 0, QStringLiteral("test.320"),
                     "\"Radio Sweden\",9.49,AM,,,,,Horby,English,0100,0130,Notes on the station,\r\n"
                     "\"Beacon\",3.5,LSB,,,,,Here,CW,0000,2400,,\r\n"
                     "\"BBC\",9.41,USB,,,,,Ascension,English,0600,0800,,\r\n");
}
void fillIlg(ScriptedDialogs& d) {
    loadList(d, 3, 1, QStringLiteral("ILGSDATA.FTL"),
                     "05995.00 2300-0100 Radio Alpha            EU       English           250     5130N 00012W "
                     "000100000 Country      Location    \r\n"
                     "09500.00 0000-0200 Delta                  EU       German            250     5130N 00012W "
                     "100000000 Country      Location    \r\n");
}
void fillAero(ScriptedDialogs& d) {
    loadList(d, 3, 2, QStringLiteral("AERO.FTL"),
                     "02851.0  C      NAT-A family           Gander Oceanic\r\n"
                     "05598.0  C      NAT-B                  Shanwick\r\n");
}

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
        {"frmLog", 12, -1, "", openTool<frmLog>, fillLog},
        {"frmBdxc", 4, -1, "", openTool<frmBdxc>, fillBdxc},
        {"frmOwn", 20, -1, "", openTool<frmOwn>, fillOwn},
        {"frm320Files", 1, -1, "", openTool<frm320Files>, fill320},
        {"frmIlg2rx", 6, -1, "", openTool<frmIlg2rx>, fillIlg},
        {"frmAero2rx", 36, -1, "", openTool<frmAero2rx>, fillAero},
        {"frmIlgquery", 9, -1, "", openTool<frmIlgquery>},
        {"frmAeroquery", 37, -1, "", openTool<frmAeroquery>},
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
    if (kind.fill) kind.fill(dialogs);
    ASSERT_TRUE(waitFramed(w));
    w->raise();
    pump(300);
    const QRect r = w->frameRect();
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, r.x(), r.y(), r.width(), r.height());
    QDir().mkpath(folder);
    ASSERT_TRUE(shot.save(QDir(folder).filePath(QLatin1String(kind.name) + QStringLiteral(".png"))));
}

// A fresh install: no position file, so no window has a place of its own.
// Every tool window a panel opens stands clear of the panel's menu bar (and
// within the screen), so each leaves the menus that open the others free, and
// none stands on another's corner, where it would hide that one whole.
class FreshInstallUnderWindowManager : public UnderWindowManager {
protected:
    void SetUp() override {
        AppTest::SetUp();
        if (!underWindowManager()) GTEST_SKIP() << "needs tests/x11/with_window_manager.sh";
        registerPanelWindows();
        registerToolWindows();
        dialogs.allow(QString());
    }
    void TearDown() override {
        clearToolWindows();
        UnderWindowManager::TearDown();
    }
    // The program started on rxType with the default settings, and Go pressed.
    Form* goFresh(int rxType) {
        sim_.reset();
        static const char* const models[] = {"", "ar7030", "nrd535", "rx320", "nrd545"};
        if (const char* model = models[rxType]; *model) {
            sim_ = sim::makeSim(QLatin1String(model));
            if (!sim_ || !sim_->start()) return nullptr;
            writeDataFile(QStringLiteral("serialports.ini"), sim_->devicePath().toUtf8() + "\r\n");
        }
        QByteArray settings = DataFolder.toUtf8() + "\r\n5130N\r\n00007W\r\n" + numText(double(rxType)).toUtf8() + "\r\n";
        for (int i = 1; i <= 31; ++i) settings += numText(double(defaultSetting(i))).toUtf8() + "\r\n";
        writeDataFile(SettingsFileName, settings);
        QFile::remove(dataPath(PositionsFileName));
        frmWelcome::start()->imgGo_Click();
        return currentPanel();
    }
};

TEST_F(FreshInstallUnderWindowManager, ToolWindowsLeaveThePanelsMenusAndEachOthersCornersFree) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    for (int rxType = 0; rxType <= 4; ++rxType) {
        SCOPED_TRACE(testing::Message() << "receiver type " << rxType);
        Form* panel = goFresh(rxType);
        ASSERT_NE(panel, nullptr);
        ASSERT_TRUE(waitFramed(panel));
        auto* menus = panel->findChild<QMenuBar*>();
        ASSERT_NE(menus, nullptr);
        const QRect bar(menus->mapToGlobal(QPoint(0, 0)), menus->size());
        // Opened one after the other and left open, as a user does.
        std::vector<std::pair<QString, QRect>> open;
        for (const char* name : {"frmBdxc", "frmOwn", "frm320Files", "frmIlg2rx", "frmAero2rx", "frmLog", "frmTracking",
                                 "frmMemman", "frmSmeter", "frmLast20", "frmScratchpad", "frmConvertILG",
                                 "frmConvertAero", "frmRxClock", "frmRxTimer", "frmRtty"}) {
            SCOPED_TRACE(name);
            const std::function<void()> opener = toolWindowOpener(QLatin1String(name));
            if (!opener) continue;
            opener();
            Form* w = nullptr;
            for (QWidget* top : QApplication::topLevelWidgets())
                if (auto* f = qobject_cast<Form*>(top); f && f->isVisible() && f->objectName() == QLatin1String(name))
                    w = f;
            if (!w) continue;   // a window this receiver does not have
            ASSERT_TRUE(waitFramed(w));
            const QRect frame = w->frameRect();
            EXPECT_FALSE(frame.intersects(bar)) << "frame " << frame.x() << "," << frame.y() << " " << frame.width()
                                                << "x" << frame.height() << " over the menu bar at " << bar.y();
            if (frame.height() <= screen.height() - bar.bottom() - 1) {
                EXPECT_TRUE(screen.contains(frame)) << "off the screen at " << frame.x() << "," << frame.y();
            }
            for (const auto& [other, at] : open)
                EXPECT_NE(frame.topLeft(), at.topLeft()) << "on the corner of " << other.toStdString() << " at "
                                                         << frame.x() << "," << frame.y();
            open.emplace_back(QLatin1String(name), frame);
        }
        EXPECT_GE(open.size(), 12u);
        // Where they stand once all are open: none moved onto another's corner.
        for (size_t i = 0; i < open.size(); ++i) {
            Form* w = nullptr;
            for (QWidget* top : QApplication::topLevelWidgets())
                if (auto* f = qobject_cast<Form*>(top); f && f->isVisible() && f->objectName() == open[i].first) w = f;
            ASSERT_NE(w, nullptr) << open[i].first.toStdString() << " closed";
            EXPECT_EQ(w->frameRect().topLeft(), open[i].second.topLeft()) << open[i].first.toStdString() << " moved";
        }
        forms::destroyAll();
        pump(20);
        resetFacade();
        if (sim_) sim_->stop();
    }
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, UnderWindowManager, ::testing::ValuesIn(windowKinds()),
                         [](const ::testing::TestParamInfo<WindowKind>& info) { return std::string(info.param.name); });

} // namespace
} // namespace dovrane::test
