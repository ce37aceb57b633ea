// In-place activation: the surface window inside the host's window, its focus and keys.
#include "animview_control.h"

#include "ids.h"

namespace animview::control {
namespace {

// Shift argument of the key events: 1 Shift, 2 Ctrl, 4 Alt.
short shift_state() {
  short shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= 1;
  if (GetKeyState(VK_CONTROL) < 0) shift |= 2;
  if (GetKeyState(VK_MENU) < 0) shift |= 4;
  return shift;
}

void tell_focus(IOleClientSite* site, bool got_focus) {
  if (!site) return;
  ComPtr<IOleControlSite> control_site;
  if (SUCCEEDED(site->QueryInterface(IID_IOleControlSite, control_site.put_void())) && control_site)
    control_site->OnFocus(got_focus);
}

}  // namespace

HRESULT AnimviewControl::activate_in_place(IOleClientSite* site, bool ui) {
  if (!window_) {
    if (!site) return E_UNEXPECTED;
    ComPtr<IOleInPlaceSite> in_place;
    if (FAILED(site->QueryInterface(IID_IOleInPlaceSite, in_place.put_void())) || !in_place) return E_NOINTERFACE;
    if (in_place->CanInPlaceActivate() != S_OK) return E_FAIL;
    if (const HRESULT hr = in_place->OnInPlaceActivate(); FAILED(hr)) return hr;
    HWND parent = nullptr;
    RECT position{}, clip{};
    OLEINPLACEFRAMEINFO frame_info{};
    frame_info.cb = sizeof frame_info;
    ComPtr<IOleInPlaceFrame> frame;
    ComPtr<IOleInPlaceUIWindow> document;
    if (FAILED(in_place->GetWindow(&parent)) ||
        FAILED(in_place->GetWindowContext(frame.put(), document.put(), &position, &clip, &frame_info)) ||
        !window_.create(*this, parent, position)) {
      in_place->OnInPlaceDeactivate();
      return E_FAIL;
    }
    in_place_site_ = std::move(in_place);
    frame_ = std::move(frame);
    document_ = std::move(document);
    attach_animation(window_.get());
    SetObjectRects(&position, &clip);
    ShowWindow(window_.get(), SW_SHOWNA);
  } else if (!IsWindowVisible(window_.get())) {
    ShowWindow(window_.get(), SW_SHOWNA);
  }
  return ui ? ui_activate() : S_OK;
}

HRESULT AnimviewControl::ui_activate() {
  if (!window_) return E_UNEXPECTED;
  if (!ui_active_) {
    ui_active_ = true;
    if (in_place_site_) in_place_site_->OnUIActivate();
    IOleInPlaceActiveObject* active = this;
    if (frame_) {
      frame_->SetActiveObject(active, nullptr);
      frame_->SetBorderSpace(nullptr);
    }
    if (document_) {
      document_->SetActiveObject(active, nullptr);
      document_->SetBorderSpace(nullptr);
    }
  }
  if (GetFocus() != window_.get()) SetFocus(window_.get());
  return S_OK;
}

void AnimviewControl::destroy_window() {
  if (!window_) return;
  window_.destroy();
  attach_animation(nullptr);
}

HRESULT AnimviewControl::GetWindow(HWND* hwnd) {
  if (!hwnd) return E_POINTER;
  *hwnd = window_.get();
  return window_ ? S_OK : E_FAIL;
}

HRESULT AnimviewControl::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

HRESULT AnimviewControl::InPlaceDeactivate() {
  if (!window_) return S_OK;
  const ComPtr<IUnknown> keep_alive(identity());
  UIDeactivate();
  destroy_window();
  frame_ = nullptr;
  document_ = nullptr;
  const ComPtr<IOleInPlaceSite> site = std::move(in_place_site_);
  if (site) site->OnInPlaceDeactivate();
  return S_OK;
}

HRESULT AnimviewControl::UIDeactivate() {
  if (!ui_active_) return S_OK;
  ui_active_ = false;
  if (frame_) frame_->SetActiveObject(nullptr, nullptr);
  if (document_) document_->SetActiveObject(nullptr, nullptr);
  if (in_place_site_) in_place_site_->OnUIDeactivate(FALSE);
  return S_OK;
}

HRESULT AnimviewControl::SetObjectRects(LPCRECT position, LPCRECT clip) {
  if (!position) return E_POINTER;
  const LONG width = position->right - position->left, height = position->bottom - position->top;
  if (window_) {
    SetWindowPos(window_.get(), nullptr, position->left, position->top, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    // Only the part inside the host's clip rectangle shows.
    RECT visible{};
    if (clip && IntersectRect(&visible, position, clip) && !EqualRect(&visible, position)) {
      OffsetRect(&visible, -position->left, -position->top);
      SetWindowRgn(window_.get(), CreateRectRgnIndirect(&visible), TRUE);  // the window owns the region
    } else {
      SetWindowRgn(window_.get(), nullptr, TRUE);
    }
  }
  // The host sets the size in pixels; the extent follows it.
  const win::ScreenMetrics& m = animation_->Image1().metrics;
  const SIZEL extent{static_cast<LONG>(width * m.twips_per_pixel_x * 2540.0 / 1440.0 + 0.5),
                     static_cast<LONG>(height * m.twips_per_pixel_y * 2540.0 / 1440.0 + 0.5)};
  if (extent.cx != extent_.cx || extent.cy != extent_.cy) {
    extent_ = extent;
    resize_step();
  }
  invalidate();
  return S_OK;
}

HRESULT AnimviewControl::ReactivateAndUndo() { return E_NOTIMPL; }

HRESULT AnimviewControl::TranslateAccelerator(LPMSG) { return S_FALSE; }
HRESULT AnimviewControl::OnFrameWindowActivate(BOOL) { return S_OK; }
HRESULT AnimviewControl::OnDocWindowActivate(BOOL) { return S_OK; }
HRESULT AnimviewControl::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) { return S_OK; }
HRESULT AnimviewControl::EnableModeless(BOOL) { return S_OK; }

LRESULT AnimviewControl::on_message(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  // Other controls may sit inside this one: its container sees each message first and
  // last, and may keep one from the surface.
  const ComPtr<ISimpleFrameSite> frame = simple_frame_;
  if (!frame) return handle_message(hwnd, message, wparam, lparam);
  const ComPtr<IUnknown> keep_alive(identity());
  LRESULT result = 0;
  DWORD cookie = 0;
  if (frame->PreMessageFilter(hwnd, message, wparam, lparam, &result, &cookie) == S_FALSE) return result;
  result = handle_message(hwnd, message, wparam, lparam);
  frame->PostMessageFilter(hwnd, message, wparam, lparam, &result, cookie);
  return result;
}

LRESULT AnimviewControl::handle_message(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT:
      paint_window(hwnd);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT draws everything, without flicker
    case WM_PRINTCLIENT: {
      RECT client{};
      GetClientRect(hwnd, &client);
      render(reinterpret_cast<HDC>(wparam), client, nullptr);
      return 0;
    }
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_MOUSEACTIVATE:
      ui_activate();
      return MA_ACTIVATE;
    case WM_SETFOCUS:
      tell_focus(client_site_.get(), true);
      break;
    case WM_KILLFOCUS:
      tell_focus(client_site_.get(), false);
      break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
      short code = static_cast<short>(wparam);
      short shift = shift_state();
      const ComPtr<IUnknown> keep_alive(identity());
      key_event(down ? event::KeyDown : event::KeyUp, &code, &shift);
      // The surface goes on with what the host's handler left: 0 swallows the key.
      if (code == 0) return 0;
      return DefWindowProcW(hwnd, message, static_cast<WPARAM>(static_cast<unsigned short>(code)), lparam);
    }
    case WM_CHAR: {
      short key_ascii = static_cast<short>(wparam);
      const ComPtr<IUnknown> keep_alive(identity());
      key_press(&key_ascii);
      if (key_ascii == 0) return 0;
      return DefWindowProcW(hwnd, message, static_cast<WPARAM>(static_cast<unsigned short>(key_ascii)), lparam);
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

}  // namespace animview::control
