#pragma once
// Panels for the tests of the pattern. RecordingPanel stands for a model panel
// whose driver always takes the frequency: what it was asked to send is kept,
// and its change event comes back at once, as a driver's does. The fake list
// window has the frequency box the panels fill.
#include "drivers/model_tables.h"
#include "panels/rxpanel.h"
#include "panels/tuning_block.h"
#include "shell/common_tables.h"
#include "shell/facade_rig.h"
#include "shell/form.h"
#include "shell/unloadallforms.h"
#include "support/test_env.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <vector>

namespace dovrane::test {

inline std::vector<QString> panelLog;   // unload and release steps, in order
inline int framesSent = 0;               // frequencies sent by every recording panel, even closed ones


template <int RxTypeOfPanel>
class RecordingPanel : public RxPanel {
public:
    RecordingPanel() : RxPanel(RxTypeOfPanel) {
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(new TuningBlock(this));
        auto* close = new QPushButton(QStringLiteral("Close"), this);
        close->setObjectName(QStringLiteral("cmdClose"));
        layout->addWidget(close);
        setupPanel();
    }

    std::vector<double> sent;
    bool refuse = false;
    using RxPanel::checkedStep;

protected:
    void createDriverAndTables() override { initModelTables(RxTypeOfPanel); }
    bool setDriverFrequencyA(double kHz) override {
        if (refuse) return false;
        sent.push_back(kHz);
        ++framesSent;
        frequencyAChanged(kHz);
        return true;
    }
    void modelUnload() override { panelLog.push_back(QStringLiteral("model unload")); }
    void releaseDriver() override { panelLog.push_back(QStringLiteral("driver released")); }
};

// A list window with a frequency box, as the lists build them.
template <int Index, bool* Flag>
class FakeListWindow : public Form {
public:
    FakeListWindow() : Form(Index, Flag) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("txtFrequencyA"));
        registerWindow(Flag, this);
    }
    QString box() const { return findChild<QLineEdit*>(QStringLiteral("txtFrequencyA"))->text(); }

protected:
    void Form_Unload() override { panelLog.push_back(QStringLiteral("tool unload %1").arg(Index)); }
};

inline void sendKey(QWidget* target, int qtKey, Qt::KeyboardModifiers mods, const QString& text = QString()) {
    QKeyEvent press(QEvent::KeyPress, qtKey, mods, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, qtKey, mods, text);
    QApplication::sendEvent(target, &release);
}

inline void moveMouse(QWidget* target, QPoint at) {
    QMouseEvent move(QEvent::MouseMove, QPointF(at), target->mapToGlobal(QPointF(at)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(target, &move);
}

inline bool turnWheel(QWidget* target, int angle) {
    const QPointF p(target->width() / 2.0, target->height() / 2.0);
    QWheelEvent wheel(p, target->mapToGlobal(p), QPoint(), QPoint(0, angle), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &wheel);
    return wheel.isAccepted();
}

inline void doubleClick(QWidget* target) {
    const QPointF p(target->width() / 2.0, target->height() / 2.0);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, p, target->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
    QApplication::sendEvent(target, &dbl);
}

// Fresh tables for every panel test: the step list and the model limits.
class PanelTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        initcommontables();
        panelLog.clear();
    }
    void TearDown() override {
        forms::destroyAll();
        resetFacade();
        AppTest::TearDown();
    }

    template <class P> P* loadPanel() {
        P* p = forms::load<P>();
        p->show();
        return p;
    }
    template <class T = QWidget> static T* control(QWidget* w, const QString& name) {
        T* c = w->findChild<T*>(name);
        EXPECT_NE(c, nullptr) << name.toStdString();
        return c;
    }
    static void click(QWidget* w, const QString& name) {
        if (auto* b = control<QAbstractButton>(w, name)) b->click();
    }
};

} // namespace dovrane::test
