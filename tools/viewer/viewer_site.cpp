#include "viewer_site.h"

#include <new>

namespace animview::viewer {

control::ComPtr<ViewerSite> ViewerSite::create(HWND window) {
  return control::ComPtr<ViewerSite>::adopt(new (std::nothrow) ViewerSite(window));
}

HRESULT ViewerSite::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IOleClientSite)
    *out = static_cast<IOleClientSite*>(this);
  else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite)
    *out = static_cast<IOleInPlaceSite*>(this);
  else
    *out = nullptr;
  if (!*out) return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

ULONG ViewerSite::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }

ULONG ViewerSite::Release() {
  const LONG n = InterlockedDecrement(&refs_);
  if (n == 0) delete this;
  return static_cast<ULONG>(n);
}

HRESULT ViewerSite::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
  if (moniker) *moniker = nullptr;
  return E_NOTIMPL;
}

HRESULT ViewerSite::GetContainer(IOleContainer** container) {
  if (container) *container = nullptr;
  return E_NOINTERFACE;
}

HRESULT ViewerSite::GetWindow(HWND* hwnd) {
  if (!hwnd) return E_POINTER;
  *hwnd = window_;
  return S_OK;
}

HRESULT ViewerSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                     LPRECT clip, LPOLEINPLACEFRAMEINFO info) {
  if (!frame || !document || !position || !clip) return E_POINTER;
  *frame = nullptr;  // no menus or toolbars to share
  *document = nullptr;
  GetClientRect(window_, position);
  *clip = *position;
  if (info) {
    info->fMDIApp = FALSE;
    info->hwndFrame = window_;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
  }
  return S_OK;
}

}  // namespace animview::viewer
