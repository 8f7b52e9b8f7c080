// The welcome window: start-up from the settings and position files, the title
// clock, Go, Set Up, About and Exit, and the closing of tool windows.
#include "fake_windows.h"

#include "platform/clickable_label.h"
#include "platform/clock.h"
#include "platform/commport.h"
#include "platform/geometry.h"
#include "shell/frmabout.h"
#include "shell/frmwelcome.h"
#include "shell/globals.h"
#include "shell/settings_file.h"
#include "shell/unloadallforms.h"
#include "support/test_env.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTimer>

namespace dovrane::test {
namespace {

using FakeAR7030 = FakeWindow<3, &AR7030Open>;
using FakeNRD545 = FakeWindow<38, &NRD545Open>;
using FakeBdxc = FakeWindow<4, &BdxcOpen>;
using FakeLog = FakeWindow<12, &LogOpen>;
using FakeOwn = FakeWindow<20, &OwnOpen>;
using FakeSetUp = FakeWindow<28, &SetUpOpen>;

void click(QWidget* w, QPoint at = QPoint(-1, -1)) {
    const QPointF p = at.x() < 0 ? QPointF(w->width() / 2.0, w->height() / 2.0) : QPointF(at);
    QMouseEvent press(QEvent::MouseButtonPress, p, w->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, p, w->mapToGlobal(p), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

class WelcomeTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        unloadLog.clear();
    }
    void TearDown() override {
        for (auto& open : welcome::panelOpeners) open = nullptr;
        welcome::setUpOpener = nullptr;
        welcome::endProgram = nullptr;
        AppTest::TearDown();
    }

    // A settings file as the program writes it, with a receiver type and a
    // time difference, in the folder the program reads it from.
    void writeSettings(int rxType, const QByteArray& lt2utc = " 0", const QString& folder = QString()) {
        QByteArray all = (folder.isEmpty() ? ConfigDir : folder).toUtf8() + "\r\n4530N\r\n01245E\r\n";
        all += " " + QByteArray::number(rxType) + "\r\n";
        for (int i = 1; i <= 31; ++i) {
            const float v = defaultSetting(i);
            all += (i == 3 ? lt2utc : " " + QByteArray::number(v)) + "\r\n";
        }
        writeConfigFile(SettingsFileName, all);
    }

    static void writeConfigFile(const QString& name, const QByteArray& content) {
        QFile f(ConfigDir + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }

    static QByteArray readConfigFile(const QString& name) {
        QFile f(ConfigDir + name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    static QLabel* label(frmWelcome* w, const char* name) { return w->findChild<QLabel*>(QLatin1String(name)); }
    static QColor textColour(QLabel* l) { return l->palette().color(QPalette::WindowText); }
};

TEST_F(WelcomeTest, StartsOnTheConfiguredReceiverAtItsStoredPlace) {
    writeSettings(3);
    QByteArray positions;
    for (int k = 1; k <= 42; ++k) positions += k == 34 ? " 1500, 900\r\n" : " 0, 0\r\n";
    writeConfigFile(PositionsFileName, positions);

    frmWelcome* w = frmWelcome::start();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(WelcomeOpen);
    EXPECT_EQ(forms::loaded<frmWelcome>(), w);
    EXPECT_EQ(w->pos(), QPoint(100, 60));
    EXPECT_EQ(label(w, "lblGo")->text(), QStringLiteral("RX320"));
    EXPECT_EQ(textColour(label(w, "lblGo")), QColor(128, 192, 128));
    EXPECT_EQ(RxType, 3);
    EXPECT_EQ(ConfiguredRxType, 3);
    EXPECT_EQ(FileKindPath[6], ConfigDir + QStringLiteral("SAN/"));
    EXPECT_EQ(StepTable[18], QStringLiteral("100"));
    EXPECT_EQ(Comm1, w->comm());
    ASSERT_NE(w->showtime(), nullptr);
    EXPECT_TRUE(w->showtime()->isActive());
    EXPECT_EQ(w->showtime()->interval(), 5000);
    EXPECT_EQ(LocalTimeText, QStringLiteral("7 Mar 2004  01:30"));
    for (const char* name : {"pic_rezeri", "imgSetup", "imgGo", "imgAbout", "imgExit"}) {
        QLabel* pic = label(w, name);
        ASSERT_NE(pic, nullptr) << name;
        EXPECT_FALSE(pic->pixmap().isNull()) << name;
    }
}

TEST_F(WelcomeTest, LabelShowsEachReceiverTypeInItsColour) {
    frmWelcome* w = frmWelcome::start();
    QLabel* go = label(w, "lblGo");
    const std::tuple<int, const char*, QColor> rows[] = {
        {1, "AR7030", QColor(144, 144, 255)}, {2, "NRD535", QColor(255, 128, 128)},
        {4, "NRD545", QColor(255, 0, 0)},     {0, "No RX", QColor(170, 170, 170)},
        {3, "RX320", QColor(128, 192, 128)},
    };
    for (const auto& [type, caption, colour] : rows) {
        w->setlblGo(type);
        EXPECT_EQ(go->text(), QLatin1String(caption));
        EXPECT_EQ(textColour(go), colour) << caption;
    }
    w->setlblGo(7);   // no such type: the label stays as it was
    EXPECT_EQ(go->text(), QStringLiteral("RX320"));
    EXPECT_EQ(textColour(go), QColor(128, 192, 128));
}

TEST_F(WelcomeTest, MissingOrGarbageFilesStartOnTheDefaults) {
    frmWelcome* w = frmWelcome::start();
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(label(w, "lblGo")->text(), QStringLiteral("No RX"));
    EXPECT_EQ(DataFolder, QDir::homePath() + QStringLiteral("/ReZeri/"));
    forms::destroyAll();

    QRandomGenerator rng(20040307);
    QByteArray junk(4096, '\0');
    for (char& c : junk) c = char(rng.bounded(256));
    writeConfigFile(SettingsFileName, junk);
    writeConfigFile(PositionsFileName, junk);
    // The user hears once, at start, that the file was not understood.
    dialogs.expect(QStringLiteral("were not understood"));
    w = frmWelcome::start();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(WelcomeOpen);
    EXPECT_GE(RxType, 0);
    EXPECT_LE(RxType, 4);
    EXPECT_FALSE(label(w, "lblGo")->text().isEmpty());
    EXPECT_TRUE(DataFolder.startsWith(QLatin1Char('/')));
    EXPECT_TRUE(DataFolder.endsWith(QLatin1Char('/')));
    for (int i = 1; i <= 31; ++i) EXPECT_TRUE(settingInRange(i, Settings[size_t(i)])) << "Settings(" << i << ")";
    for (int k = 1; k <= 42; ++k) {
        EXPECT_LE(std::abs(FormLeft[size_t(k)]), 40000);
        EXPECT_LE(std::abs(FormTop[size_t(k)]), 40000);
    }
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown()[0].title, QStringLiteral("Settings"));
    EXPECT_TRUE(dialogs.shown()[0].text.contains(QStringLiteral("line 1, data folder")));
}

TEST_F(WelcomeTest, TitleClockWritesUtcAndRetitlesOpenWindows) {
    writeSettings(1, " 2");
    frmWelcome* w = frmWelcome::start();
    EXPECT_EQ(UtcTimeText, QStringLiteral("6 Mar 2004  23:30"));
    EXPECT_EQ(UtcStamp, QStringLiteral("20040306 2330"));

    FakeAR7030* panel = forms::load<FakeAR7030>();
    FakeNRD545* otherPanel = forms::load<FakeNRD545>();
    FakeLog* log = forms::load<FakeLog>();
    FakeBdxc* bdxc = forms::load<FakeBdxc>();
    for (Form* f : std::initializer_list<Form*>{panel, otherPanel, log, bdxc}) f->setWindowTitle(QStringLiteral("layout"));
    BdxcOpen = false;   // a window whose flag is clear is left alone

    Clock::set(QDateTime(QDate(2004, 3, 7), QTime(1, 30)));
    w->Showtime_Timer();
    EXPECT_EQ(panel->windowTitle(), QStringLiteral("LT : 7 Mar 2004  01:30     AR7030     UTC : 6 Mar 2004  23:30"));
    EXPECT_EQ(otherPanel->windowTitle(), QStringLiteral("layout"));
    EXPECT_EQ(log->windowTitle(), QStringLiteral("Logging     LT : 7 Mar 2004  01:30     UTC : 6 Mar 2004  23:30"));
    EXPECT_EQ(bdxc->windowTitle(), QStringLiteral("layout"));

    Settings[3] = -5.5f;
    w->Showtime_Timer();
    EXPECT_EQ(UtcTimeText, QStringLiteral("7 Mar 2004  07:00"));
    EXPECT_EQ(UtcStamp, QStringLiteral("20040307 0700"));
    EXPECT_TRUE(log->windowTitle().endsWith(QStringLiteral("UTC : 7 Mar 2004  07:00")));

    // The title follows RxType, the type of the panel that Go opened.
    RxType = 4;
    w->Showtime_Timer();
    EXPECT_TRUE(otherPanel->windowTitle().contains(QStringLiteral("     NRD545     ")));

    // The clock runs by itself once the window is up.
    QObject::disconnect(w->showtime(), nullptr, nullptr, nullptr);
    int ticks = 0;
    QObject::connect(w->showtime(), &QTimer::timeout, [&] { ++ticks; });
    w->showtime()->setInterval(10);
    pump(60);
    EXPECT_GT(ticks, 0);
}

TEST_F(WelcomeTest, GoWithoutItsPanelSaysSoAndKeepsTheWindow) {
    writeSettings(2);
    frmWelcome* w = frmWelcome::start();
    dialogs.expect(QStringLiteral("not available yet"));
    click(w->findChild<ClickableLabel*>(QStringLiteral("imgGo")));
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_TRUE(dialogs.shown()[0].text.contains(QStringLiteral("NRD-535")));
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(WelcomeOpen);

    ConfiguredRxType = 7;
    dialogs.expect(QStringLiteral("Unknown receiver type"));
    w->imgGo_Click();
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(RxType, 2);
}

TEST_F(WelcomeTest, GoOpensThePanelOfTheConfiguredType) {
    writeSettings(2);
    frmWelcome* w = frmWelcome::start();
    bool opens = false;
    int calls = 0;
    welcome::panelOpeners[1] = [&] {
        ++calls;
        EXPECT_FALSE(w->isVisible());   // the welcome window goes first
        if (!opens) return false;
        forms::load<FakeAR7030>()->show();
        return true;
    };

    // The set-up dialog changed the type; Go takes it over.
    ConfiguredRxType = 1;
    w->imgGo_Click();
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(w->isVisible());   // the panel did not open: the welcome window comes back

    opens = true;
    w->imgGo_Click();
    EXPECT_EQ(calls, 2);
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(WelcomeOpen);
    EXPECT_TRUE(AR7030Open);
    EXPECT_EQ(RxType, 1);
}

TEST_F(WelcomeTest, SetUpGoesThroughItsHook) {
    frmWelcome* w = frmWelcome::start();
    dialogs.expect(QStringLiteral("set-up dialog is not available yet"));
    w->imgSetup_Click();

    int shown = 0;
    welcome::setUpOpener = [&] { ++shown; };
    click(w->findChild<ClickableLabel*>(QStringLiteral("imgSetup")));
    EXPECT_EQ(shown, 1);
}

TEST_F(WelcomeTest, AboutIsModalAndClosesWithItsButton) {
    frmWelcome* w = frmWelcome::start();
    bool sawIt = false;
    QTimer::singleShot(30, [&] {
        frmAbout* about = forms::loaded<frmAbout>();
        if (!about) return;
        sawIt = about->isVisible() && AboutOpen && about->isModal();
        about->move(90, 45);
        about->findChild<QPushButton*>(QStringLiteral("cmdClose"))->click();
    });
    // Should the button not close it, the test still ends.
    QTimer::singleShot(3000, [] { forms::unload<frmAbout>(); });
    w->imgAbout_Click();
    EXPECT_TRUE(sawIt);
    EXPECT_FALSE(AboutOpen);
    EXPECT_EQ(forms::loaded<frmAbout>(), nullptr);
    EXPECT_EQ(FormLeft[2], 1350);
    EXPECT_EQ(FormTop[2], 675);
}

TEST_F(WelcomeTest, ExitWritesThePositionsWhereTheyWereRead) {
    const QString elsewhere = ConfigDir + QStringLiteral("data/");
    writeSettings(0, " 0", elsewhere);
    QByteArray positions;
    for (int k = 1; k <= 42; ++k)
        positions += " " + QByteArray::number(k * 15) + ", " + QByteArray::number(k * 30) + "\r\n";
    writeConfigFile(PositionsFileName, positions);

    QPointer<frmWelcome> w = frmWelcome::start();
    EXPECT_EQ(DataFolder, elsewhere);
    w->move(200, 100);
    // Exit ends the program's event loop, as the program sets it up.
    welcome::endProgram = [] { QCoreApplication::exit(0); };
    QTimer::singleShot(0, w, [w] { click(w->findChild<ClickableLabel*>(QStringLiteral("imgExit"))); });
    QTimer fallback;
    fallback.setSingleShot(true);
    QObject::connect(&fallback, &QTimer::timeout, [] { QCoreApplication::exit(7); });
    fallback.start(3000);
    EXPECT_EQ(QApplication::exec(), 0);
    fallback.stop();

    EXPECT_FALSE(WelcomeOpen);
    EXPECT_TRUE(!w || !w->isVisible());
    EXPECT_FALSE(QFile::exists(elsewhere + PositionsFileName));
    const QList<QByteArray> lines = readConfigFile(PositionsFileName).split('\n');
    ASSERT_EQ(lines.size(), 43);
    const QList<QByteArray> before = positions.split('\n');
    for (int k = 1; k <= 42; ++k) {
        if (k == 34) EXPECT_EQ(lines[k - 1], " 3000, 1500\r");
        else EXPECT_EQ(lines[k - 1], before[k - 1]) << "line " << k;   // windows not opened keep theirs
    }
    // The settings are not written on the way out.
    EXPECT_FALSE(readConfigFile(SettingsFileName).isEmpty());
    EXPECT_FALSE(QFile::exists(elsewhere + SettingsFileName));
}

TEST_F(WelcomeTest, ClosingTheWindowEndsLikeExitAndReportsAFailedWrite) {
    frmWelcome* w = frmWelcome::start();
    w->move(30, 15);
    writeDataFile(QStringLiteral("blocker"), "x");
    ConfigDir = dataPath(QStringLiteral("blocker/"));
    int ended = 0;
    welcome::endProgram = [&] { ++ended; };
    dialogs.expect(QStringLiteral("could not be saved"));
    w->close();
    EXPECT_EQ(ended, 1);   // a failed write still lets the program end
    EXPECT_FALSE(WelcomeOpen);
    EXPECT_EQ(FormLeft[34], 450);
    EXPECT_EQ(FormTop[34], 225);
}

TEST_F(WelcomeTest, PictureButtonsClickLikeButtons) {
    ClickableLabel pic;
    pic.resize(100, 40);
    int clicks = 0;
    QObject::connect(&pic, &ClickableLabel::clicked, [&] { ++clicks; });
    click(&pic);
    EXPECT_EQ(clicks, 1);

    // Released outside the picture: no click.
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(10, 10), QPointF(10, 10), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&pic, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(150, 10), QPointF(150, 10), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&pic, &release);
    EXPECT_EQ(clicks, 1);

    // The right button does nothing; Space does what a click does.
    QMouseEvent right(QEvent::MouseButtonPress, QPointF(10, 10), QPointF(10, 10), Qt::RightButton,
                      Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(&pic, &right);
    QMouseEvent rightUp(QEvent::MouseButtonRelease, QPointF(10, 10), QPointF(10, 10), Qt::RightButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&pic, &rightUp);
    EXPECT_EQ(clicks, 1);
    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
    QApplication::sendEvent(&pic, &space);
    EXPECT_EQ(clicks, 2);
}

using UnloadAllFormsTest = WelcomeTest;

TEST_F(UnloadAllFormsTest, ClosesOpenToolWindowsInOrderAndLeavesThePanel) {
    FakeAR7030* panel = forms::load<FakeAR7030>();
    FakeSetUp* setUp = forms::load<FakeSetUp>();
    FakeLog* log = forms::load<FakeLog>();
    FakeBdxc* bdxc = forms::load<FakeBdxc>();
    forms::load<FakeOwn>()->unload();   // closed before: not closed twice
    frmAbout* about = forms::load<frmAbout>();
    ASSERT_TRUE(AboutOpen);
    log->move(40, 20);
    setUp->move(-500, -30);
    (void)bdxc;
    (void)about;
    unloadLog.clear();

    unloadallforms();
    EXPECT_EQ(unloadLog, (std::vector<int>{4, 12, 28}));
    EXPECT_FALSE(AboutOpen);
    EXPECT_FALSE(BdxcOpen);
    EXPECT_FALSE(LogOpen);
    EXPECT_FALSE(SetUpOpen);
    EXPECT_EQ(forms::loaded<frmAbout>(), nullptr);
    EXPECT_EQ(FormLeft[12], 600);
    EXPECT_EQ(FormTop[12], 300);
    EXPECT_EQ(FormLeft[28], -1500);   // 1500 twips of its 3000 stay on the screen
    EXPECT_EQ(FormTop[28], 0);
    EXPECT_TRUE(AR7030Open);
    EXPECT_TRUE(panel->isLoaded());
    EXPECT_EQ(windowFor(&AR7030Open), panel);
    EXPECT_EQ(windowFor(&LogOpen), nullptr);

    unloadLog.clear();
    unloadallforms();   // nothing left to close
    EXPECT_TRUE(unloadLog.empty());
}

} // namespace
} // namespace dovrane::test
