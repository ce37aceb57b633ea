// The control surface's window while the control is in-place active: a child window of
// the host's, destroyed with this object.
#pragma once

#include <windows.h>

namespace animview::control {

class AnimviewControl;

class SurfaceWindow {
 public:
  SurfaceWindow() = default;
  ~SurfaceWindow() { destroy(); }
  SurfaceWindow(const SurfaceWindow&) = delete;
  SurfaceWindow& operator=(const SurfaceWindow&) = delete;

  // Creates the window as a child of `parent` at `position`; messages go to `owner`.
  bool create(AnimviewControl& owner, HWND parent, const RECT& position);
  void destroy();

  HWND get() const { return hwnd_; }
  explicit operator bool() const { return hwnd_ != nullptr; }

  // Unregisters the window class when the library is unloaded.
  static void unregister_class();

 private:
  static LRESULT CALLBACK window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  HWND hwnd_ = nullptr;
};

}  // namespace animview::control
