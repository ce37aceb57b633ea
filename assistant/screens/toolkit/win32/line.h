#pragma once
// A straight line drawn by its container, a whole number of pixels wide.

#include "layouts/layout.h"
#include "toolkit/win32/handles.h"
#include "toolkit/win32/metrics.h"
#include "toolkit/win32/surface.h"

namespace pf::win32 {

class Line final : public PaintedItem {
public:
    Line(const layout::ControlSpec& design, const Metrics& metrics, Surface& container);

    [[nodiscard]] const std::string& name() const noexcept { return name_; }
    [[nodiscard]] bool visible() const noexcept { return visible_; }
    void set_visible(bool visible);
    [[nodiscard]] Color color() const noexcept { return color_; }
    // End points in pixels of the container's client area.
    [[nodiscard]] POINT from() const noexcept { return from_; }
    [[nodiscard]] POINT to() const noexcept { return to_; }
    [[nodiscard]] int width() const noexcept { return width_; }

    void paint(HDC dc) const override;

private:
    [[nodiscard]] RECT bounds() const noexcept;

    std::string name_;
    Surface& container_;
    POINT from_;
    POINT to_;
    int width_;
    Color color_;
    UniquePen pen_;
    bool visible_;
};

}  // namespace pf::win32
