// Two small rules a change could break unnoticed: a window stored where no
// screen is comes back where the user can reach it, and the wheel starts
// afresh when it is turned the other way.
#include "fake_windows.h"

#include "platform/geometry.h"
#include "shell/globals.h"
#include "shell/wheel.h"
#include "support/test_env.h"

#include <QGuiApplication>
#include <QScreen>

namespace dovrane::test {
namespace {

using PlacedWindow = FakeWindow<15, &LogsortOpen>;
using PanelStandIn = FakeWindow<18, &NoRxOpen>;

class PlacementTest : public AppTest {};

TEST_F(PlacementTest, AWindowStoredOffEveryScreenComesBackOnThePrimaryOne) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const int32_t right = pxToTwips(screen.right() + 1), bottom = pxToTwips(screen.bottom() + 1);
    struct Case {
        int32_t left, top;
        bool kept;   // placed as stored; otherwise at the screen's top left
    } cases[] = {
        {1500, 900, true},
        {-pxToTwips(150), 0, true},            // 50 of its 200 pixels still on the screen
        {right - pxToTwips(10), 0, true},      // its left edge just on the screen
        {-pxToTwips(200), 0, false},           // ends where the screen starts
        {right, 0, false},
        {0, bottom, false},
        {0, -pxToTwips(120), false},
        {-45000, -45000, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.left << ", " << c.top);
        FormLeft[15] = c.left;
        FormTop[15] = c.top;
        auto* w = forms::load<PlacedWindow>();
        const QPoint expected = c.kept ? QPoint(twipsToPx(c.left), twipsToPx(c.top)) : screen.topLeft();
        EXPECT_EQ(w->pos(), expected);
        // The stored place changes only when the window closes again.
        EXPECT_EQ(FormLeft[15], c.left);
        EXPECT_EQ(FormTop[15], c.top);
        w->unload();
        forms::destroyAll();
    }
}

// Only a window stored at 0, 0 was never placed (the position file keeps that
// for windows never opened); one stored with either edge at 0 is where the
// user left it, even over the panel.
TEST_F(PlacementTest, AStoredPositionIsUsedAsItStandsAndOnlyZeroZeroIsNeverPlaced) {
    struct Case {
        int32_t left, top;
        bool kept;   // placed as stored; otherwise clear of the panel
    } cases[] = {
        {0, 4500, true}, {4500, 0, true}, {4500, 4500, true}, {1500, 1500, true}, {0, 0, false},
    };
    RxType = 0;
    FormLeft[18] = FormTop[18] = 1500;
    auto* panel = forms::load<PanelStandIn>();
    panel->show();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.left << ", " << c.top);
        FormLeft[15] = c.left;
        FormTop[15] = c.top;
        auto* w = forms::load<PlacedWindow>();
        w->show();
        const QRect frame = w->frameRect();
        if (c.kept) {
            EXPECT_EQ(frame.topLeft(), QPoint(twipsToPx(c.left), twipsToPx(c.top)));
        } else {
            EXPECT_FALSE(frame.intersects(panel->frameRect()))
                << "at " << frame.x() << "," << frame.y() << ", over the panel";
        }
        w->unload();
        forms::collect();
    }
}

TEST(WheelStepsTest, ATurnTheOtherWayStartsAfresh) {
    struct Case {
        std::vector<int> deltas;
        std::vector<int> steps;
    } cases[] = {
        {{120, -120}, {1, -1}},
        {{60, 60, 60}, {0, 1, 0}},
        {{240}, {2}},
        // What gathered one way is dropped when the wheel turns back, so the
        // turn back counts in full and a notch back is one step back.
        {{90, -120}, {0, -1}},
        {{90, -100, -20}, {0, 0, -1}},
        {{-100, 30, 90}, {0, 0, 1}},
        {{0, 0}, {0, 0}},
    };
    for (const Case& c : cases) {
        WheelSteps wheel;
        std::vector<int> got;
        for (int d : c.deltas) got.push_back(wheel.feed(d));
        EXPECT_EQ(got, c.steps) << testing::PrintToString(c.deltas);
    }
}

} // namespace
} // namespace dovrane::test
