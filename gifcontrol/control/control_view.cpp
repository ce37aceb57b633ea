// Drawing the surface: background, PaintPicture's drawings, the frames, the border; into
// the surface window, or into any DC a host gives through IViewObject2.
#include "animview_control.h"

#include "gdi.h"

namespace animview::control {
namespace {

// Lets the host's window draw itself where a transparent surface shows it through.
void paint_parent_background(HWND hwnd, HDC dc) {
  const HWND parent = GetParent(hwnd);
  if (!parent) return;
  POINT offset{0, 0};
  MapWindowPoints(hwnd, parent, &offset, 1);
  POINT previous{};
  SetViewportOrgEx(dc, -offset.x, -offset.y, &previous);
  SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  SetViewportOrgEx(dc, previous.x, previous.y, nullptr);
}

}  // namespace

void AnimviewControl::render(HDC dc, const RECT& bounds, const RECT* clip) const {
  if (properties_.back_style == 1) {
    COLORREF colour = 0;
    if (SUCCEEDED(OleTranslateColor(properties_.back_color, nullptr, &colour))) {
      const Brush brush(CreateSolidBrush(colour));
      if (brush) FillRect(dc, &bounds, brush.get());
    }
  }
  const POINT origin{bounds.left, bounds.top};
  layer_.paint(dc, origin);
  animation_->paint(dc, origin, clip);
  if (properties_.border_style == 1) FrameRect(dc, &bounds, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

void AnimviewControl::paint_window(HWND hwnd) {
  PAINTSTRUCT ps{};
  const HDC dc = BeginPaint(hwnd, &ps);
  if (!dc) return;
  RECT client{};
  GetClientRect(hwnd, &client);
  const MemoryDc buffer(dc);
  const Bitmap bitmap(CreateCompatibleBitmap(dc, client.right, client.bottom));
  if (buffer && bitmap) {
    const Selection selected(buffer.get(), bitmap.get());
    if (properties_.back_style == 0) paint_parent_background(hwnd, buffer.get());
    render(buffer.get(), client, &ps.rcPaint);
    BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left, ps.rcPaint.bottom - ps.rcPaint.top,
           buffer.get(), ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
  } else {
    render(dc, client, &ps.rcPaint);
  }
  EndPaint(hwnd, &ps);
}

void AnimviewControl::invalidate(const RECT* rect) {
  if (window_)
    InvalidateRect(window_.get(), rect, FALSE);
  else
    view_changed();
}

void AnimviewControl::view_changed() {
  if (!view_sink_ || !(view_aspects_ & DVASPECT_CONTENT)) return;
  const ComPtr<IAdviseSink> sink = view_sink_;
  if (view_advise_flags_ & ADVF_ONLYONCE) view_sink_ = nullptr;
  sink->OnViewChange(DVASPECT_CONTENT, -1);
}

HRESULT AnimviewControl::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds, LPCRECTL,
                              BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!dc) return E_INVALIDARG;
  RECT area{};
  if (bounds)
    area = RECT{bounds->left, bounds->top, bounds->right, bounds->bottom};
  else if (window_)
    GetClientRect(window_.get(), &area);
  else
    return E_INVALIDARG;
  render(dc, area, nullptr);
  return S_OK;
}

HRESULT AnimviewControl::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** colors) {
  if (colors) *colors = nullptr;
  return S_FALSE;  // no particular palette
}

HRESULT AnimviewControl::Freeze(DWORD, LONG, void*, DWORD*) { return E_NOTIMPL; }
HRESULT AnimviewControl::Unfreeze(DWORD) { return E_NOTIMPL; }

HRESULT AnimviewControl::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) {
  view_sink_ = ComPtr<IAdviseSink>(sink);
  view_aspects_ = aspects;
  view_advise_flags_ = flags;
  if (sink && (flags & ADVF_PRIMEFIRST)) view_changed();
  return S_OK;
}

HRESULT AnimviewControl::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) {
  if (aspects) *aspects = view_aspects_;
  if (flags) *flags = view_advise_flags_;
  if (sink) return view_sink_.copy_to(sink);
  return S_OK;
}

HRESULT AnimviewControl::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) {
  if (!size) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  *size = extent_;
  return S_OK;
}

}  // namespace animview::control
