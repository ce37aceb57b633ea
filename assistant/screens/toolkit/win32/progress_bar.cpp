#include "toolkit/win32/progress_bar.h"

#include "toolkit/win32/win32_error.h"
#include "toolkit/win32/window_target.h"

#include <commctrl.h>

#include <cmath>

namespace pf::win32 {

ProgressBar::ProgressBar(HWND parent, const layout::ControlSpec& design, int id, const Metrics& metrics)
    : name_(design.name),
      owner_(widen(design.name)),
      value_(static_cast<float>(design.min), static_cast<float>(design.max)) {
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    if (design.visible) style |= WS_VISIBLE;
    window_ = create_system_window(PROGRESS_CLASSW, L"", style, 0, metrics.pixels(design.place), parent, id, owner_);
    ::SendMessageW(window_.get(), PBM_SETRANGE32, static_cast<WPARAM>(design.min), static_cast<LPARAM>(design.max));
    ::SendMessageW(window_.get(), PBM_SETPOS, static_cast<WPARAM>(design.min), 0);
}

void ProgressBar::set_value(float value) {
    value_.set(value, owner_);
    ::SendMessageW(window_.get(), PBM_SETPOS, static_cast<WPARAM>(std::lround(value)), 0);
}

bool ProgressBar::visible() const {
    return (::GetWindowLongW(window_.get(), GWL_STYLE) & WS_VISIBLE) != 0;
}

void ProgressBar::set_visible(bool visible) {
    ::ShowWindow(window_.get(), visible ? SW_SHOWNA : SW_HIDE);
}

}  // namespace pf::win32
