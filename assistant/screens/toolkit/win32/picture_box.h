#pragma once
// A picture box: its background colour with its picture drawn from the
// top-left corner of its client area, cut at the edges.

#include "layouts/layout.h"
#include "toolkit/win32/handles.h"
#include "toolkit/win32/metrics.h"
#include "toolkit/win32/picture.h"
#include "toolkit/win32/window_target.h"

#include <string>

namespace pf::win32 {

class PictureBox final : private WindowTarget {
public:
    PictureBox(Application& application, HWND parent, const layout::ControlSpec& design, int id,
               const Metrics& metrics);

    [[nodiscard]] const std::string& name() const noexcept { return name_; }
    [[nodiscard]] HWND window() const noexcept { return window_.get(); }
    [[nodiscard]] SIZE picture_size() const noexcept { return picture_.size(); }
    [[nodiscard]] bool visible() const;
    void set_visible(bool visible);

private:
    LRESULT on_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override;
    void paint(HDC dc) const;

    std::string name_;
    Color background_;
    Picture picture_;
    UniqueWindow window_;
};

}  // namespace pf::win32
