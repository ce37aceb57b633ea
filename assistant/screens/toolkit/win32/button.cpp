#include "toolkit/win32/button.h"

#include "toolkit/win32/application.h"
#include "toolkit/win32/win32_error.h"
#include "toolkit/win32/window_target.h"

namespace pf::win32 {

Button::Button(Application& application, HWND parent, const layout::ControlSpec& design, int id, HFONT font,
               const Metrics& metrics)
    : application_(application), name_(design.name) {
    DWORD style = WS_CHILD | WS_TABSTOP | WS_CLIPSIBLINGS | BS_PUSHBUTTON;
    if (design.visible) style |= WS_VISIBLE;
    if (!design.enabled) style |= WS_DISABLED;
    window_ = create_system_window(L"BUTTON", design.text, style, 0, metrics.pixels(design.place), parent, id,
                                   widen(name_));
    ::SendMessageW(window_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

std::wstring Button::caption() const {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window_.get())) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(window_.get(), text.data(), static_cast<int>(text.size()))));
    return text;
}

void Button::set_caption(std::wstring_view text) {
    if (!::SetWindowTextW(window_.get(), std::wstring(text).c_str())) throw_last_error(L"SetWindowTextW", widen(name_));
}

bool Button::enabled() const {
    return ::IsWindowEnabled(window_.get()) != FALSE;
}

void Button::set_enabled(bool enabled) {
    ::EnableWindow(window_.get(), enabled ? TRUE : FALSE);
}

bool Button::visible() const {
    return (::GetWindowLongW(window_.get(), GWL_STYLE) & WS_VISIBLE) != 0;
}

void Button::set_visible(bool visible) {
    ::ShowWindow(window_.get(), visible ? SW_SHOWNA : SW_HIDE);
}

void Button::clicked() {
    if (!on_click_) return;
    const std::function<void()> handler = on_click_;  // the handler may replace itself
    application_.guard(handler);
}

}  // namespace pf::win32
