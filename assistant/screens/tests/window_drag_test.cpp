#include "dragging/window_drag.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace pf {
namespace {

// A 1280 × 1024 pixel screen at 15 twips per pixel; the window is the download
// screen (1032 × 620 pixels).
constexpr ScreenMeasures screen{1280 * 15.0, 1024 * 15.0, 15.0};
constexpr WindowPlace window{3000, 3000, 15480, 9300};

struct Case {
    std::string what;
    int buttons;
    int shift;
    double to_left;  // where the mouse would put the window, in pixels
    double to_top;
    std::optional<DragMove> expected;  // in twips
};

// The grab point is (0, 0), so a move to (x, y) asks for Left = 3000 + x.
std::optional<DragMove> drag(const Case& c) {
    WindowDrag drag;
    drag.press(0, 0);
    return drag.move(c.buttons, c.shift, c.to_left * 15 - window.left, c.to_top * 15 - window.top, window, screen);
}

TEST(WindowDrag, SnapsWithinTwentyPixelsOfEachEdgeOnEitherSide) {
    const double right_edge = 1280 - 1032;  // window's left when its right side meets the screen's
    const double bottom_edge = 1024 - 620;
    const Case cases[] = {
        {"19 px right of the left edge", 1, 0, 19, 300, DragMove{0, 300 * 15}},
        {"19 px left of the left edge", 1, 0, -19, 300, DragMove{0, 300 * 15}},
        {"20 px right of the left edge", 1, 0, 20, 300, DragMove{20 * 15, 300 * 15}},
        {"20 px left of the left edge", 1, 0, -20, 300, DragMove{-20 * 15, 300 * 15}},
        {"19 px short of the right edge", 1, 0, right_edge - 19, 300, DragMove{right_edge * 15, 300 * 15}},
        {"19 px past the right edge", 1, 0, right_edge + 19, 300, DragMove{right_edge * 15, 300 * 15}},
        {"20 px past the right edge", 1, 0, right_edge + 20, 300, DragMove{(right_edge + 20) * 15, 300 * 15}},
        {"19 px below the top edge", 1, 0, 100, 19, DragMove{100 * 15, 0}},
        {"19 px above the top edge", 1, 0, 100, -19, DragMove{100 * 15, 0}},
        {"20 px below the top edge", 1, 0, 100, 20, DragMove{100 * 15, 20 * 15}},
        {"19 px short of the bottom", 1, 0, 100, bottom_edge - 19, DragMove{100 * 15, bottom_edge * 15}},
        {"20 px past the bottom", 1, 0, 100, bottom_edge + 20, DragMove{100 * 15, (bottom_edge + 20) * 15}},
        {"both edges at once", 1, 0, 5, -5, DragMove{0, 0}},
        {"far off the screen", 1, 0, -900, 2000, DragMove{-900 * 15, 2000 * 15}},
        {"Ctrl follows the mouse next to an edge", 1, 2, 5, 7, DragMove{5 * 15, 7 * 15}},
        {"Shift does not move", 1, 1, 300, 300, std::nullopt},
        {"Alt does not move", 1, 4, 300, 300, std::nullopt},
        {"Ctrl+Shift does not move", 1, 3, 300, 300, std::nullopt},
        {"right button does not move", 2, 0, 300, 300, std::nullopt},
        {"left and right together do not move", 3, 0, 300, 300, std::nullopt},
        {"no button does not move", 0, 0, 300, 300, std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<DragMove> got = drag(c);
        ASSERT_EQ(got.has_value(), c.expected.has_value()) << c.what;
        if (!got) continue;
        EXPECT_EQ(got->left, c.expected->left) << c.what;
        EXPECT_EQ(got->top, c.expected->top) << c.what;
    }
}

TEST(WindowDrag, UsesTheLastGrabPointAndRoundsToWholeTwips) {
    WindowDrag drag;
    drag.press(1000.4, 500);
    const std::optional<DragMove> moved = drag.move(1, mouse::ctrl, 2000, 800, window, screen);
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->left, 4000);  // 3000 - (1000.4 - 2000) = 3999.6
    EXPECT_EQ(moved->top, 3300);

    // Before any press the grab point is the client area's corner.
    const std::optional<DragMove> fresh = WindowDrag{}.move(1, mouse::ctrl, 600, 600, window, screen);
    ASSERT_TRUE(fresh);
    EXPECT_EQ(fresh->left, 3600);
}

}  // namespace
}  // namespace pf
