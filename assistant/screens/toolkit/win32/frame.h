#pragma once
// A frame: a child window with its own background, an etched border and its
// caption at the top-left, holding controls placed relative to its corner and
// cut at its edges.

#include "layouts/layout.h"
#include "toolkit/win32/handles.h"
#include "toolkit/win32/metrics.h"
#include "toolkit/win32/surface.h"
#include "toolkit/win32/window_target.h"

#include <memory>
#include <string>

namespace pf::win32 {

class Frame final : private WindowTarget, private PaintedItem {
public:
    Frame(Application& application, HWND parent, const layout::ControlSpec& design, int id, HFONT font,
          const Metrics& metrics);
    ~Frame() override;

    [[nodiscard]] const std::string& name() const noexcept { return name_; }
    [[nodiscard]] HWND window() const noexcept { return window_.get(); }
    [[nodiscard]] Surface& surface() noexcept { return *surface_; }
    [[nodiscard]] std::wstring caption() const { return caption_; }
    [[nodiscard]] Color fore_color() const noexcept { return color_; }
    [[nodiscard]] bool visible() const;
    void set_visible(bool visible);

private:
    LRESULT on_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override;
    void paint(HDC dc) const override;  // border and caption, over the background

    std::string name_;
    std::wstring caption_;
    Color color_;
    HFONT font_;
    UniqueWindow window_;
    std::unique_ptr<Surface> surface_;
};

}  // namespace pf::win32
