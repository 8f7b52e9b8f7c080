#pragma once
// The NRD panels as the user meets them: the program starts with the model
// chosen in its settings, Go opens the panel on port 1, which leads to a
// simulated receiver on a pseudo-terminal, and everything goes through the
// real drivers and the real port.
#include "panel_rig.h"

#include "panels/panel_lock.h"
#include "panels/panel_registry.h"
#include "platform/commport.h"
#include "shell/frmwelcome.h"
#include "platform/number_text.h"
#include "shell/settings_file.h"

#include <QAction>
#include <QElapsedTimer>
#include <QLabel>
#include <QSlider>
#include <chrono>
#include <map>
#include <thread>

namespace dovrane::test {

template <class Sim, class Panel, int Type>
class NrdPanelTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        registerPanelWindows();
        ASSERT_TRUE(sim.start());
        writeDataFile(QStringLiteral("serialports.ini"), sim.devicePath().toUtf8() + "\r\n");
    }

    void TearDown() override {
        forms::destroyAll();
        resetFacade();
        sim.stop();
        for (auto& open : welcome::panelOpeners) open = nullptr;
        // The panel never sent a command the receiver would not take: nothing
        // plain while it was in local, nothing it does not know.
        const auto commands = sim.commands();
        for (qsizetype i = 0; i < commands.size(); ++i) {
            const auto& c = commands[i];
            EXPECT_TRUE(c.accepted) << "ignored by the receiver: " << c.text.toStdString() << " at " << c.ms << " ms"
                                    << (i > 0 ? ", after " + commands[i - 1].text.toStdString() + " at " +
                                                    std::to_string(commands[i - 1].ms) + " ms"
                                              : std::string());
        }
        PanelTest::TearDown();
    }

    // The program's start with this model chosen, then Go. Settings not named
    // keep their defaults.
    Panel* go(const std::map<int, float>& settings = {}) {
        QByteArray text = DataFolder.toUtf8() + "\r\n5130N\r\n00007W\r\n" + numText(double(Type)).toUtf8() + "\r\n";
        for (int i = 1; i <= 31; ++i) {
            const auto it = settings.find(i);
            text += numText(double(it != settings.end() ? it->second : defaultSetting(i))).toUtf8() + "\r\n";
        }
        writeDataFile(SettingsFileName, text);
        frmWelcome* w = frmWelcome::start();
        w->imgGo_Click();
        return forms::loaded<Panel>();
    }

    // The commands the receiver has taken so far, once the line is quiet.
    QList<QByteArray> wire() {
        // Everything the panel has written is taken in first, however late
        // the machine hands it over; then whatever the receiver's answers set off.
        EXPECT_TRUE(sim.waitIdle());
        qsizetype last = -1;
        int quiet = 0;
        for (int i = 0; i < 200 && quiet < 3; ++i) {
            const qsizetype n = sim.commands().size();
            quiet = n == last ? quiet + 1 : 0;
            last = n;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return sim.commandTexts();
    }
    void clearWire() {
        wire();
        sim.clearCommands();
    }
    // The receiver's remote state once the line is quiet.
    bool inRemote() {
        wire();
        return sim.inRemote();
    }

    static QString text(QWidget* p, const char* name) {
        auto* l = control<QLabel>(p, QLatin1String(name));
        return l ? l->text() : QStringLiteral("(missing)");
    }
    static QString box(QWidget* p) { return control<QLineEdit>(p, QStringLiteral("txtFrequencyA"))->text(); }
    static QColor bg(QWidget* p, const char* name) { return background(control<QWidget>(p, QLatin1String(name))); }
    static QSlider* slider(QWidget* p, const char* name) { return control<QSlider>(p, QLatin1String(name)); }
    static bool enabled(QWidget* p, const char* name) {
        auto* w = control<QWidget>(p, QLatin1String(name));
        return w && w->isEnabled();
    }
    static QWidget* keyTarget(QWidget* p) { return control<QWidget>(p, QStringLiteral("txtFrequencyA")); }
    static QString caption(Panel* p, const char* item) {
        QAction* a = p->menuItem(QLatin1String(item));
        return a ? a->text() : QStringLiteral("(missing)");
    }

    // The port leads to a name that goes with the receiver, so that once it
    // is gone no other device can stand in for it.
    void onALinkOfItsOwn() {
        const QString link = dataPath(QStringLiteral("ttyRX"));
        sim.stop();
        sim.setLinkPath(link);
        ASSERT_TRUE(sim.start());
        writeDataFile(QStringLiteral("serialports.ini"), link.toUtf8() + "\r\n");
    }

    // The lock label shows the hold as it stands: a release that could not
    // reach the receiver ends the hold all the same, and a hold that could
    // not be taken is none. The panel is held when it is called.
    void expectTheLockAsItStandsOnceTheReceiverHasGone(Panel* p) {
        EXPECT_EQ(text(p, "lblLock"), QStringLiteral("On"));
        sim.stop();
        pump(50);
        dialogs.expect(QStringLiteral("The receiver does not answer"));
        click(p, QStringLiteral("cmdLock_0"));
        EXPECT_EQ(RemoteHeld, 0);
        EXPECT_EQ(text(p, "lblLock"), QStringLiteral("Off"));
        EXPECT_EQ(bg(p, "lblLock"), nrdcolours::LightYellow);
        click(p, QStringLiteral("cmdLock_1"));
        EXPECT_EQ(RemoteHeld, 0);
        EXPECT_EQ(text(p, "lblLock"), QStringLiteral("Off"));
        pump(50);
        EXPECT_EQ(dialogs.pending(), 0);
    }

    Sim sim;
};

using Wire = QList<QByteArray>;

} // namespace dovrane::test
