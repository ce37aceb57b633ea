#include "window.h"

#include "animview_control.h"
#include "module.h"

namespace animview::control {
namespace {
constexpr wchar_t kWindowClass[] = L"AnimviewDeLuxeSurface";

bool register_class(WNDPROC window_proc) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExW(module::instance(), kWindowClass, &wc)) return true;
  wc = WNDCLASSEXW{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = window_proc;
  wc.hInstance = module::instance();
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  wc.lpszClassName = kWindowClass;
  return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}
}  // namespace

bool SurfaceWindow::create(AnimviewControl& owner, HWND parent, const RECT& position) {
  destroy();
  if (!register_class(&SurfaceWindow::window_proc)) return false;
  hwnd_ = CreateWindowExW(0, kWindowClass, L"", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, position.left,
                          position.top, position.right - position.left, position.bottom - position.top, parent,
                          nullptr, module::instance(), nullptr);
  if (!hwnd_) return false;
  // Messages sent during creation reach the default procedure; the owner takes over here.
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&owner));
  return true;
}

void SurfaceWindow::destroy() {
  if (!hwnd_) return;
  const HWND hwnd = hwnd_;
  hwnd_ = nullptr;
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
  DestroyWindow(hwnd);
}

void SurfaceWindow::unregister_class() { UnregisterClassW(kWindowClass, module::instance()); }

LRESULT CALLBACK SurfaceWindow::window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* owner = reinterpret_cast<AnimviewControl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!owner) return DefWindowProcW(hwnd, message, wparam, lparam);
  return owner->on_message(hwnd, message, wparam, lparam);
}

}  // namespace animview::control
