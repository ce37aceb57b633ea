#pragma once
// Twips to pixels and back, and font heights, at the display's real resolution.

#include "layouts/layout.h"

#include <windows.h>

namespace pf::win32 {

class Metrics {
public:
    Metrics(int dpi_x, int dpi_y) : dpi_x_(dpi_x), dpi_y_(dpi_y) {}
    // The primary display's logical resolution.
    static Metrics of_display();

    [[nodiscard]] int dpi_x() const noexcept { return dpi_x_; }
    [[nodiscard]] int dpi_y() const noexcept { return dpi_y_; }
    [[nodiscard]] int twips_per_pixel_x() const noexcept { return layout::twips_per_inch / dpi_x_; }
    [[nodiscard]] int twips_per_pixel_y() const noexcept { return layout::twips_per_inch / dpi_y_; }

    [[nodiscard]] int x_pixels(int twips) const noexcept { return ::MulDiv(twips, dpi_x_, layout::twips_per_inch); }
    [[nodiscard]] int y_pixels(int twips) const noexcept { return ::MulDiv(twips, dpi_y_, layout::twips_per_inch); }
    [[nodiscard]] int x_twips(int pixels) const noexcept { return ::MulDiv(pixels, layout::twips_per_inch, dpi_x_); }
    [[nodiscard]] int y_twips(int pixels) const noexcept { return ::MulDiv(pixels, layout::twips_per_inch, dpi_y_); }

    // Left, top, right, bottom in pixels.
    [[nodiscard]] RECT pixels(const layout::Place& place) const noexcept;
    // The character height (negative: without internal leading) of a font of that many points.
    [[nodiscard]] int font_height(float points) const noexcept;

private:
    int dpi_x_;
    int dpi_y_;
};

}  // namespace pf::win32
