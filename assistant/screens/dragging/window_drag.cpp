#include "dragging/window_drag.h"

#include <cmath>

namespace pf {

namespace {
constexpr double snap_pixels = 20;

// One axis: snap to the near edge, else to the far edge, else follow the mouse.
// The comparisons are strict: at exactly the snap distance nothing snaps.
double place_on_axis(double wanted, double window_size, double screen_size, double snap) {
    if (std::fabs(wanted) < snap) return 0;
    if (std::fabs(wanted + window_size - screen_size) < snap) return screen_size - window_size;
    return wanted;
}
}  // namespace

std::optional<DragMove> WindowDrag::move(int buttons, int shift, double x, double y, const WindowPlace& window,
                                         const ScreenMeasures& screen) const {
    if (buttons != mouse::left) return std::nullopt;
    const double left = std::nearbyint(window.left - (grab_x_ - x));
    const double top = std::nearbyint(window.top - (grab_y_ - y));
    if (shift == mouse::ctrl) return DragMove{left, top};
    if (shift != 0) return std::nullopt;
    const double snap = snap_pixels * screen.twips_per_pixel_x;
    // Snapping never keeps the window on the screen: past the zones it goes where it is dragged.
    return DragMove{place_on_axis(left, window.width, screen.width, snap),
                    place_on_axis(top, window.height, screen.height, snap)};
}

}  // namespace pf
