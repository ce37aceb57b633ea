#include "toolkit/win32/window_target.h"

#include "toolkit/win32/application.h"
#include "toolkit/win32/win32_error.h"

#include <exception>
#include <string>

namespace pf::win32 {

LRESULT CALLBACK target_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lparam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* target = reinterpret_cast<WindowTarget*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY) ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    if (target == nullptr || message == WM_NCCREATE || message == WM_NCDESTROY)
        return ::DefWindowProcW(window, message, wparam, lparam);
    // Handlers run under the application's guard; this catches what escapes the
    // window's own machinery (painting, layout) before it reaches the system.
    try {
        return target->on_message(window, message, wparam, lparam);
    } catch (...) {
        target->application().fail(std::current_exception());
        return ::DefWindowProcW(window, message, wparam, lparam);
    }
}

UniqueWindow create_target_window(WindowTarget& target, const wchar_t* class_name, std::wstring_view text,
                                  DWORD style, DWORD extended_style, RECT place, HWND parent, int id,
                                  std::wstring_view what) {
    const std::wstring caption(text);
    HWND created = ::CreateWindowExW(extended_style, class_name, caption.c_str(), style, place.left, place.top,
                                     place.right - place.left, place.bottom - place.top, parent,
                                     parent != nullptr ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)) : nullptr,
                                     ::GetModuleHandleW(nullptr), &target);
    if (created == nullptr) throw_last_error(L"CreateWindowExW", what);
    return UniqueWindow(created);
}

UniqueWindow create_system_window(const wchar_t* class_name, std::wstring_view text, DWORD style,
                                  DWORD extended_style, RECT place, HWND parent, int id, std::wstring_view what) {
    const std::wstring caption(text);
    HWND created = ::CreateWindowExW(extended_style, class_name, caption.c_str(), style, place.left, place.top,
                                     place.right - place.left, place.bottom - place.top, parent,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr),
                                     nullptr);
    if (created == nullptr) throw_last_error(L"CreateWindowExW", what);
    return UniqueWindow(created);
}

}  // namespace pf::win32
