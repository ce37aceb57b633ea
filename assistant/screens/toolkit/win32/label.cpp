#include "toolkit/win32/label.h"

#include "toolkit/win32/win32_error.h"
#include "toolkit/win32/window_properties.h"

namespace pf::win32 {

namespace {

RECT united(const RECT& a, const RECT& b) {
    RECT both{};
    ::UnionRect(&both, &a, &b);
    return both;
}

}  // namespace

Label::Label(Application& application, Surface& container, const layout::ControlSpec& design, int id, HFONT font,
             const Metrics& metrics)
    : WindowTarget(application),
      name_(design.name),
      container_(container),
      font_(font),
      caption_(design.text),
      color_(design.fore_color.value_or(static_cast<Color>(::GetSysColor(COLOR_BTNTEXT)))),
      place_(metrics.pixels(design.place)),
      visible_(design.visible),
      enabled_(design.enabled),
      boxed_(design.boxed),
      auto_size_(design.auto_size) {
    window_ = create_target_window(*this, window_class::label, caption_, WS_CHILD | (visible_ ? WS_VISIBLE : 0), 0,
                                   place_, container.window(), id, widen(name_));
    store_fore_color(window_.get(), color_);
}

Label::~Label() {
    if (window_) forget_fore_color(window_.get());
}

void Label::set_caption(std::wstring_view text) {
    caption_ = text;
    if (!::SetWindowTextW(window_.get(), caption_.c_str())) throw_last_error(L"SetWindowTextW", widen(name_));
    if (auto_size_) fit_caption();
    container_.invalidate(place_);
}

void Label::set_fore_color(Color color) {
    if (color == color_) return;
    color_ = color;
    store_fore_color(window_.get(), color_);
    container_.invalidate(place_);
}

void Label::set_visible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    ::ShowWindow(window_.get(), visible ? SW_SHOWNA : SW_HIDE);
    container_.invalidate(place_);
}

void Label::fit_caption() {
    const WindowDC dc(container_.window());
    const Selection selected(dc.get(), font_);
    SIZE extent{};
    ::GetTextExtentPoint32W(dc.get(), caption_.c_str(), static_cast<int>(caption_.size()), &extent);
    TEXTMETRICW text{};
    ::GetTextMetricsW(dc.get(), &text);
    const int border = boxed_ ? 2 : 0;
    move_to({place_.left, place_.top, place_.left + extent.cx + border, place_.top + text.tmHeight + border});
}

void Label::move_to(const RECT& place) {
    if (::EqualRect(&place, &place_)) return;
    // Both the place it leaves and the one it takes are painted again.
    container_.invalidate(united(place_, place));
    place_ = place;
    ::SetWindowPos(window_.get(), nullptr, place_.left, place_.top, place_.right - place_.left,
                   place_.bottom - place_.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
}

void Label::paint(HDC dc) const {
    if (!visible_) return;
    const SavedDC saved(dc);
    ::IntersectClipRect(dc, place_.left, place_.top, place_.right, place_.bottom);
    RECT text_area = place_;
    if (boxed_) {
        const UniqueBrush border(::CreateSolidBrush(color_));
        ::FrameRect(dc, &place_, border.get());
        ::InflateRect(&text_area, -1, -1);
    }
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, enabled_ ? color_ : ::GetSysColor(COLOR_GRAYTEXT));
    const Selection selected(dc, font_);
    // An auto-size label keeps its caption on one line; any other wraps at
    // word boundaries and loses the lines below its bottom edge.
    const UINT format = DT_LEFT | DT_TOP | DT_NOPREFIX | DT_EXPANDTABS | (auto_size_ ? DT_SINGLELINE : DT_WORDBREAK);
    ::DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &text_area, format);
}

LRESULT Label::on_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        const PaintScope nothing(window);  // the container paints the text
        return 0;
    }
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_);
    default:
        break;
    }
    return ::DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace pf::win32
