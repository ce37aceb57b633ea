#include "toolkit/win32/line.h"

#include "toolkit/win32/win32_error.h"

#include <algorithm>

namespace pf::win32 {

Line::Line(const layout::ControlSpec& design, const Metrics& metrics, Surface& container)
    : name_(design.name),
      container_(container),
      from_{metrics.x_pixels(design.ends.x1), metrics.y_pixels(design.ends.y1)},
      to_{metrics.x_pixels(design.ends.x2), metrics.y_pixels(design.ends.y2)},
      width_(std::max(1, design.line_width)),
      color_(design.fore_color.value_or(colors::black)),
      pen_(::CreatePen(PS_SOLID, width_, color_)),
      visible_(design.visible) {
    if (!pen_) throw_last_error(L"CreatePen", widen(design.name));
}

void Line::set_visible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    container_.invalidate(bounds());
}

RECT Line::bounds() const noexcept {
    return {std::min(from_.x, to_.x) - width_, std::min(from_.y, to_.y) - width_,
            std::max(from_.x, to_.x) + width_ + 1, std::max(from_.y, to_.y) + width_ + 1};
}

void Line::paint(HDC dc) const {
    if (!visible_) return;
    const Selection selected(dc, pen_.get());
    ::MoveToEx(dc, from_.x, from_.y, nullptr);
    ::LineTo(dc, to_.x, to_.y);
}

}  // namespace pf::win32
