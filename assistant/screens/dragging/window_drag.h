#pragma once
// Dragging the borderless download screen by its own background, snapping to
// the screen's edges within 20 pixels. All measures in twips.

#include <optional>

namespace pf {

namespace mouse {
inline constexpr int left = 1, right = 2, middle = 4;
inline constexpr int shift = 1, ctrl = 2, alt = 4;
}  // namespace mouse

struct WindowPlace {
    double left, top, width, height;
};

struct ScreenMeasures {
    double width, height, twips_per_pixel_x;
};

struct DragMove {
    double left, top;
};

class WindowDrag {
public:
    // MouseDown, any button: remembers the grab point.
    void press(double x, double y) {
        grab_x_ = x;
        grab_y_ = y;
    }
    // MouseMove: where the window goes, or nothing when it must not move.
    [[nodiscard]] std::optional<DragMove> move(int buttons, int shift, double x, double y, const WindowPlace& window,
                                               const ScreenMeasures& screen) const;

private:
    double grab_x_ = 0;
    double grab_y_ = 0;
};

}  // namespace pf
