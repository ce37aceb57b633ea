#include "toolkit/win32/metrics.h"

#include "toolkit/win32/handles.h"

#include <cmath>

namespace pf::win32 {

Metrics Metrics::of_display() {
    const WindowDC screen(nullptr);
    if (!screen) return {96, 96};
    return {::GetDeviceCaps(screen.get(), LOGPIXELSX), ::GetDeviceCaps(screen.get(), LOGPIXELSY)};
}

RECT Metrics::pixels(const layout::Place& place) const noexcept {
    const int left = x_pixels(place.left);
    const int top = y_pixels(place.top);
    return {left, top, left + x_pixels(place.width), top + y_pixels(place.height)};
}

int Metrics::font_height(float points) const noexcept {
    // Sizes such as 8.25 and 14.25 points are kept to the hundredth before scaling.
    const int hundredths = static_cast<int>(std::lround(points * 100.0f));
    return -::MulDiv(hundredths, dpi_y_, 72 * 100);
}

}  // namespace pf::win32
