#pragma once
// The window procedure shared by every window class of the screens: it hands
// each message to the C++ object that owns the window, and keeps exceptions
// from unwinding through the system's frames.

#include "toolkit/win32/handles.h"

#include <windows.h>

#include <string_view>

namespace pf::win32 {

class Application;

class WindowTarget {
public:
    explicit WindowTarget(Application& application) : application_(application) {}
    WindowTarget(const WindowTarget&) = delete;
    WindowTarget& operator=(const WindowTarget&) = delete;
    virtual ~WindowTarget() = default;

    virtual LRESULT on_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) = 0;
    [[nodiscard]] Application& application() const noexcept { return application_; }

private:
    Application& application_;
};

namespace window_class {
inline constexpr const wchar_t* screen = L"PfScreen";
inline constexpr const wchar_t* frame = L"PfFrame";
inline constexpr const wchar_t* label = L"PfLabel";
inline constexpr const wchar_t* picture = L"PfPicture";
}  // namespace window_class

LRESULT CALLBACK target_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// Creates a window of one of our classes whose messages go to `target`.
// Throws RuntimeError naming `what` when the system refuses.
UniqueWindow create_target_window(WindowTarget& target, const wchar_t* class_name, std::wstring_view text,
                                  DWORD style, DWORD extended_style, RECT place, HWND parent, int id,
                                  std::wstring_view what);

// Creates a window of a system class (BUTTON, msctls_progress32).
UniqueWindow create_system_window(const wchar_t* class_name, std::wstring_view text, DWORD style,
                                  DWORD extended_style, RECT place, HWND parent, int id, std::wstring_view what);

}  // namespace pf::win32
