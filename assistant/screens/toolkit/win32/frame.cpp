#include "toolkit/win32/frame.h"

#include "toolkit/win32/win32_error.h"
#include "toolkit/win32/window_properties.h"

namespace pf::win32 {

Frame::Frame(Application& application, HWND parent, const layout::ControlSpec& design, int id, HFONT font,
             const Metrics& metrics)
    : WindowTarget(application),
      name_(design.name),
      caption_(design.text),
      color_(design.fore_color.value_or(static_cast<Color>(::GetSysColor(COLOR_BTNTEXT)))),
      font_(font) {
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    if (design.visible) style |= WS_VISIBLE;
    if (!design.enabled) style |= WS_DISABLED;
    // Tab moves into the controls the frame holds.
    window_ = create_target_window(*this, window_class::frame, caption_, style, WS_EX_CONTROLPARENT,
                                   metrics.pixels(design.place), parent, id, widen(name_));
    surface_ = std::make_unique<Surface>(
        window_.get(), design.back_color.value_or(static_cast<Color>(::GetSysColor(COLOR_BTNFACE))), Picture{});
    surface_->add(*this);
    store_fore_color(window_.get(), color_);
}

Frame::~Frame() {
    if (window_) forget_fore_color(window_.get());
}

bool Frame::visible() const {
    return (::GetWindowLongW(window_.get(), GWL_STYLE) & WS_VISIBLE) != 0;
}

void Frame::set_visible(bool visible) {
    ::ShowWindow(window_.get(), visible ? SW_SHOWNA : SW_HIDE);
}

void Frame::paint(HDC dc) const {
    RECT client{};
    ::GetClientRect(window_.get(), &client);
    const Selection selected(dc, font_);
    TEXTMETRICW text{};
    ::GetTextMetricsW(dc, &text);
    // The border runs through the middle of the caption's line.
    RECT border = client;
    border.top += caption_.empty() ? 0 : text.tmHeight / 2;
    ::DrawEdge(dc, &border, EDGE_ETCHED, BF_RECT);
    if (caption_.empty()) return;
    constexpr int indent = 8;
    constexpr int gap = 2;
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, caption_.c_str(), static_cast<int>(caption_.size()), &extent);
    RECT behind{indent - gap, 0, indent + extent.cx + gap, text.tmHeight};
    const UniqueBrush fill(::CreateSolidBrush(surface_->background()));
    ::FillRect(dc, &behind, fill.get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, color_);
    RECT caption_area{indent, 0, client.right, text.tmHeight};
    ::DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &caption_area,
                DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
}

LRESULT Frame::on_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (const auto answer = answer_paint_message(surface_.get(), window, message, wparam)) return *answer;
    switch (message) {
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_);
    case WM_COMMAND:
        // Buttons report to the frame that holds them; the screen routes their clicks.
        return ::SendMessageW(::GetParent(window), message, wparam, lparam);
    default:
        return ::DefWindowProcW(window, message, wparam, lparam);
    }
}

}  // namespace pf::win32
