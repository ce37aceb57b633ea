#include "toolkit/win32/picture_box.h"

#include "toolkit/win32/win32_error.h"

namespace pf::win32 {

PictureBox::PictureBox(Application& application, HWND parent, const layout::ControlSpec& design, int id,
                       const Metrics& metrics)
    : WindowTarget(application),
      name_(design.name),
      background_(design.back_color.value_or(static_cast<Color>(::GetSysColor(COLOR_BTNFACE)))),
      picture_(Picture::load(design.picture, widen(design.name))) {
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    if (design.visible) style |= WS_VISIBLE;
    if (!design.enabled) style |= WS_DISABLED;
    const DWORD extended = design.border ? WS_EX_CLIENTEDGE : 0;
    window_ = create_target_window(*this, window_class::picture, L"", style, extended, metrics.pixels(design.place),
                                   parent, id, widen(name_));
}

bool PictureBox::visible() const {
    return (::GetWindowLongW(window_.get(), GWL_STYLE) & WS_VISIBLE) != 0;
}

void PictureBox::set_visible(bool visible) {
    ::ShowWindow(window_.get(), visible ? SW_SHOWNA : SW_HIDE);
}

void PictureBox::paint(HDC dc) const {
    RECT client{};
    ::GetClientRect(window_.get(), &client);
    const UniqueBrush fill(::CreateSolidBrush(background_));
    ::FillRect(dc, &client, fill.get());
    picture_.draw(dc, 0, 0);
}

LRESULT PictureBox::on_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        const PaintScope scope(window);
        paint(scope.dc());
        return 0;
    }
    case WM_PRINTCLIENT:
        paint(reinterpret_cast<HDC>(wparam));
        return 0;
    default:
        return ::DefWindowProcW(window, message, wparam, lparam);
    }
}

}  // namespace pf::win32
