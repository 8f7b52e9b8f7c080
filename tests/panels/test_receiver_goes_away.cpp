// A receiver that goes away under an open panel (adapter pulled, receiver
// switched off) and comes back: the user's next click says so once, and once
// the receiver is back the next click tunes it without closing the panel.
#include "support/go_rig.h"
#include "support/scripted_dialogs.h"

#include "drivers/ar7030/ar7030_protocol.h"
#include "platform/commport.h"
#include "platform/number_text.h"
#include "shell/globals.h"
#include "sim/ar7030_sim.h"
#include "sim/nrd_sim_base.h"
#include "sim/rx320_sim.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QWheelEvent>
#include <functional>

namespace dovrane::test {
namespace {

class ReceiverGoesAwayTest : public GoRig {
protected:
    static void click(QWidget* p, const QString& name) {
        auto* b = p->findChild<QAbstractButton*>(name);
        ASSERT_NE(b, nullptr) << name.toStdString();
        b->click();
    }
    static void tuneByKeypad(QWidget* p, const QString& digits) {
        for (QChar c : digits) click(p, QStringLiteral("cmd0to9_%1").arg(c));
        click(p, QStringLiteral("cmdEnterfreq"));
    }
    // A simulator of rxType reached through a name in the data folder, the
    // panel opened on it, and its frequency box.
    std::pair<PanelForm*, QLineEdit*> goThroughLink(int rxType, sim::SimReceiver*& sim) {
        sim = startSimulator(rxType);
        if (!sim) return {};
        const QString link = dataPath(QStringLiteral("ttyRX"));
        sim->stop();
        sim->setLinkPath(link);
        if (!sim->start()) return {};
        writeDataFile(QStringLiteral("serialports.ini"), link.toUtf8() + "\r\n");
        PanelForm* p = go(rxType);
        return {p, p ? p->findChild<QLineEdit*>(QStringLiteral("txtFrequencyA")) : nullptr};
    }
    // The frequency the simulated receiver is tuned to, in kHz.
    double tunedKHz(int rxType) const {
        switch (rxType) {
        case 1: return ar7030::frequencyKHz(simulatorAs<sim::Ar7030Sim>().frequencyWord());
        case 3: return simulatorAs<sim::Rx320Sim>().tunedKHz().value_or(-1);
        default: return double(simulatorAs<sim::NrdSimBase>().vfo().hertz) / 1000.0;
        }
    }
};

TEST_F(ReceiverGoesAwayTest, OneNoticeWhileGoneAndTheNextClickWorksWhenBack) {
    for (int rxType = 1; rxType <= 4; ++rxType) {
        SCOPED_TRACE(modelName(rxType));
        // The port leads to a fixed name that follows the simulator, as a
        // device node does when an adapter is plugged in again.
        sim::SimReceiver* sim = nullptr;
        const auto [p, box] = goThroughLink(rxType, sim);
        ASSERT_NE(box, nullptr);
        pump(50);
        const int before = int(dialogs.shown().size());

        sim->stop();
        pump(50);
        dialogs.expect(QStringLiteral("The receiver does not answer"));
        tuneByKeypad(p, QStringLiteral("6000"));
        pump(50);
        tuneByKeypad(p, QStringLiteral("6100"));
        pump(50);
        EXPECT_EQ(int(dialogs.shown().size()), before + 1) << "one notice for the whole spell";

        ASSERT_TRUE(sim->start());
        sim->clearBytesReceived();
        tuneByKeypad(p, QStringLiteral("7100"));
        ASSERT_TRUE(settle());
        pump(50);
        EXPECT_FALSE(sim->bytesReceived().isEmpty()) << "the click reached the receiver again";
        EXPECT_TRUE(box->text().startsWith(QStringLiteral("7100."))) << box->text().toStdString();
        EXPECT_EQ(int(dialogs.shown().size()), before + 1);

        TearDown();
        SetUp();
    }
}

// The simulator's process ends: its device is gone for good. A tune by the
// keypad, the wheel and the step button, each of which tuned the receiver
// while it was there, now fails; the first says so once,
// naming the device, and the box keeps what the receiver last confirmed. The
// receiver had been silent for a moment before, and told so, and tunes had
// gone out since: the loss is a new silence, and is told.
TEST_F(ReceiverGoesAwayTest, ATuneToAReceiverThatHasGoneSaysSoOnce) {
    for (int rxType = 1; rxType <= 4; ++rxType) {
        SCOPED_TRACE(modelName(rxType));
        // The port leads to a name that goes with the simulator: once it has
        // ended, no other device answers to it.
        sim::SimReceiver* sim = nullptr;
        const auto [p, box] = goThroughLink(rxType, sim);
        ASSERT_NE(box, nullptr);
        // A moment of silence, told by the panel's refresh where it has one.
        if (QAction* update = p->menuItem(QStringLiteral("mnuUpdate"))) {
            simulator()->setFault(sim::Fault::Off);
            dialogs.expect(QStringLiteral("The receiver does not answer"));
            update->trigger();
            pump(50);
            simulator()->setFault(sim::Fault::None);
        }
        tuneByKeypad(p, QStringLiteral("7105"));
        ASSERT_TRUE(settle());
        pump(50);
        const QString confirmed = box->text();
        ASSERT_TRUE(confirmed.startsWith(QStringLiteral("7105."))) << confirmed.toStdString();
        const std::pair<const char*, std::function<void()>> tunes[] = {
            {"keypad", [&] { tuneByKeypad(p, QStringLiteral("9500")); }},
            {"wheel",
             [&] {
                 // The wheel tunes once the pointer has armed it over the box.
                 const QPointF at(box->width() / 2.0, box->height() / 2.0);
                 QMouseEvent move(QEvent::MouseMove, at, box->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                                  Qt::NoModifier);
                 QApplication::sendEvent(box, &move);
                 QWheelEvent wheel(at, box->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                                   Qt::NoScrollPhase, false);
                 QApplication::sendEvent(box, &wheel);
             }},
            {"step button", [&] { click(p, QStringLiteral("cmdfreqstep_1")); }},
        };
        // While the receiver is there, each gesture tunes it: what the box
        // shows is what the receiver took.
        QString shown = confirmed;
        for (const auto& [name, tune] : tunes) {
            tune();
            ASSERT_TRUE(settle());
            pump(50);
            EXPECT_NE(box->text(), shown) << name << " did not tune";
            shown = box->text();
            EXPECT_NEAR(tunedKHz(rxType), valComma(shown), 0.01) << name << " shows " << shown.toStdString();
        }
        const QString device = Comm1->deviceName();
        const int before = int(dialogs.shown().size());

        simulator()->stop();
        pump(50);
        dialogs.expect(QStringLiteral("The receiver does not answer\n") + device);
        for (const auto& [name, tune] : tunes) {
            tune();
            pump(50);
            EXPECT_EQ(box->text(), shown) << name;
        }
        EXPECT_EQ(int(dialogs.shown().size()), before + 1) << "one notice for the whole spell";
        EXPECT_EQ(dialogs.pending(), 0);

        TearDown();
        SetUp();
    }
}

} // namespace
} // namespace dovrane::test
