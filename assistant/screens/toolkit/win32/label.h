#pragma once
// A transparent label. Its container paints its text (and its border when
// boxed) over whatever lies behind; the label itself is a window that paints
// nothing, so that it has a place, a caption and a colour another program can
// read, and so that presses over it go to it rather than to the screen.

#include "layouts/layout.h"
#include "toolkit/controls.h"
#include "toolkit/win32/handles.h"
#include "toolkit/win32/metrics.h"
#include "toolkit/win32/surface.h"
#include "toolkit/win32/window_target.h"

#include <string>

namespace pf::win32 {

class Label final : public pf::Label, public PaintedItem, private WindowTarget {
public:
    Label(Application& application, Surface& container, const layout::ControlSpec& design, int id, HFONT font,
          const Metrics& metrics);
    ~Label() override;

    void set_caption(std::wstring_view text) override;
    [[nodiscard]] std::wstring caption() const override { return caption_; }
    void set_fore_color(Color color) override;
    [[nodiscard]] Color fore_color() const override { return color_; }
    void set_visible(bool visible) override;
    [[nodiscard]] bool visible() const override { return visible_; }

    [[nodiscard]] const std::string& name() const noexcept { return name_; }
    [[nodiscard]] HWND window() const noexcept { return window_.get(); }
    // Place in pixels of the container's client area.
    [[nodiscard]] RECT place() const noexcept { return place_; }

    void paint(HDC dc) const override;

private:
    LRESULT on_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override;
    void fit_caption();
    void move_to(const RECT& place);

    std::string name_;
    Surface& container_;
    HFONT font_;
    std::wstring caption_;
    Color color_;
    RECT place_;
    bool visible_;
    bool enabled_;
    bool boxed_;
    bool auto_size_;
    UniqueWindow window_;
};

}  // namespace pf::win32
