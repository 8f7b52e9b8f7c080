#include "platform/delay.h"
#include "shell/form.h"
#include "shell/globals.h"
#include "support/test_env.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

using namespace dovrane;
using dovrane::test::AppTest;

namespace {

class frmProbe : public Form {
public:
    frmProbe() : Form(12, &LogOpen) {}
    int loads = 0, unloads = 0;

protected:
    void Form_Load() override { ++loads; }
    void Form_Unload() override { ++unloads; }
};

} // namespace

TEST(Delay, NestedWaitNeverEndsTheOuterOneEarly) {
    QElapsedTimer outer;
    outer.start();
    qint64 innerDone = -1;
    // The outer wait is long beside the inner one, so that a busy machine
    // waking the timers late still ends the inner wait well inside it.
    QTimer::singleShot(10, [&] {
        delayms(20);
        innerDone = outer.elapsed();
    });
    delayms(1000);
    const qint64 outerDone = outer.elapsed();
    ASSERT_GE(innerDone, 0);
    EXPECT_LT(innerDone, 900);
    EXPECT_GE(outerDone, 995);
}

TEST(Delay, ZeroOrLessRunsPendingEventsAndReturns) {
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    QElapsedTimer t;
    t.start();
    delayms(0);
    delayms(-5);
    EXPECT_TRUE(ran);
    EXPECT_LT(t.elapsed(), 1000) << "no wait at all, even on a busy machine";
}

TEST_F(AppTest, FormsLoadUnloadAndStorePositionByTheirIndex) {
    FormLeft[12] = 1500;
    FormTop[12] = 750;
    frmProbe* f = forms::load<frmProbe>();
    EXPECT_EQ(forms::load<frmProbe>(), f);
    EXPECT_EQ(f->loads, 1);
    EXPECT_TRUE(LogOpen);
    EXPECT_EQ(f->pos(), QPoint(100, 50));

    f->move(200, 20);
    QPointer<frmProbe> alive(f);
    forms::unload<frmProbe>();
    EXPECT_FALSE(LogOpen);
    EXPECT_EQ(forms::loaded<frmProbe>(), nullptr);
    EXPECT_EQ(FormLeft[12], 3000);
    EXPECT_EQ(FormTop[12], 300);
    pump(20);
    EXPECT_TRUE(alive.isNull());
}

TEST_F(AppTest, AWindowUnloadedDuringAWaitLivesUntilTheWaitEnds) {
    QPointer<frmProbe> f(forms::load<frmProbe>());
    bool stillThereAfterUnload = false;
    QTimer::singleShot(5, [&] {
        f->unload();
        stillThereAfterUnload = !f.isNull();
    });
    delayms(40);
    EXPECT_TRUE(stillThereAfterUnload);
    EXPECT_FALSE(f.isNull());   // code resuming here may still touch it
    EXPECT_FALSE(f->isLoaded());
    pump(20);
    EXPECT_TRUE(f.isNull());
}

TEST_F(AppTest, TheCloseBoxRunsTheUnloadStep) {
    frmProbe* f = forms::load<frmProbe>();
    f->show();
    f->close();
    EXPECT_EQ(f->unloads, 1);
    EXPECT_FALSE(LogOpen);
}
