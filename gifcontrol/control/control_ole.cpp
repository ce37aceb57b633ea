// Embedding: IOleObject and IOleControl.
#include "animview_control.h"

#include <olectl.h>

#include <algorithm>

#include "ids.h"

namespace animview::control {

HRESULT AnimviewControl::SetClientSite(IOleClientSite* site) {
  client_site_ = ComPtr<IOleClientSite>(site);
  simple_frame_ = client_site_.query<ISimpleFrameSite>(IID_ISimpleFrameSite);
  return S_OK;
}

HRESULT AnimviewControl::GetClientSite(IOleClientSite** site) {
  if (!site) return E_POINTER;
  return client_site_.copy_to(site);
}

HRESULT AnimviewControl::SetHostNames(LPCOLESTR, LPCOLESTR) { return S_OK; }

HRESULT AnimviewControl::Close(DWORD save_option) {
  const ComPtr<IUnknown> keep_alive(identity());
  InPlaceDeactivate();
  if (dirty_ && client_site_ && (save_option == OLECLOSE_SAVEIFDIRTY || save_option == OLECLOSE_PROMPTSAVE))
    client_site_->SaveObject();
  if (ole_advise_) ole_advise_->SendOnClose();
  return S_OK;
}

HRESULT AnimviewControl::SetMoniker(DWORD, IMoniker*) { return E_NOTIMPL; }

HRESULT AnimviewControl::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
  if (moniker) *moniker = nullptr;
  return E_NOTIMPL;
}

HRESULT AnimviewControl::InitFromData(IDataObject*, BOOL, DWORD) { return E_NOTIMPL; }

HRESULT AnimviewControl::GetClipboardData(DWORD, IDataObject** data) {
  if (data) *data = nullptr;
  return E_NOTIMPL;
}

HRESULT AnimviewControl::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent, LPCRECT) {
  IOleClientSite* const active_site = site ? site : client_site_.get();
  switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_UIACTIVATE:
      return activate_in_place(active_site, true);
    case OLEIVERB_INPLACEACTIVATE:
      return activate_in_place(active_site, false);
    case OLEIVERB_HIDE:
      UIDeactivate();
      if (window_) ShowWindow(window_.get(), SW_HIDE);
      return S_OK;
    case OLEIVERB_PROPERTIES: {
      CAUUID pages{};
      if (const HRESULT hr = GetPages(&pages); FAILED(hr)) return hr;
      IUnknown* object = identity();
      const HRESULT hr = OleCreatePropertyFrame(parent, 0, 0, kClassName, 1, &object, pages.cElems, pages.pElems,
                                                LOCALE_USER_DEFAULT, 0, nullptr);
      CoTaskMemFree(pages.pElems);
      return hr;
    }
    default:
      return verb > 0 ? OLEOBJ_S_INVALIDVERB : E_NOTIMPL;
  }
}

HRESULT AnimviewControl::EnumVerbs(IEnumOLEVERB** verbs) {
  if (!verbs) return E_POINTER;
  return OleRegEnumVerbs(CLSID_Animview, verbs);
}

HRESULT AnimviewControl::Update() { return S_OK; }
HRESULT AnimviewControl::IsUpToDate() { return S_OK; }

HRESULT AnimviewControl::GetUserClassID(CLSID* clsid) {
  if (!clsid) return E_POINTER;
  *clsid = CLSID_Animview;
  return S_OK;
}

HRESULT AnimviewControl::GetUserType(DWORD, LPOLESTR* name) {
  if (!name) return E_POINTER;
  const std::size_t bytes = sizeof kClassName;
  *name = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
  if (!*name) return E_OUTOFMEMORY;
  std::copy_n(kClassName, bytes / sizeof(wchar_t), *name);
  return S_OK;
}

HRESULT AnimviewControl::SetExtent(DWORD aspect, SIZEL* size) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!size) return E_POINTER;
  if (size->cx < 0 || size->cy < 0) return E_INVALIDARG;
  extent_ = *size;
  resize_step();
  invalidate();
  return S_OK;
}

HRESULT AnimviewControl::GetExtent(DWORD aspect, SIZEL* size) {
  if (!size) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  *size = extent_;
  return S_OK;
}

HRESULT AnimviewControl::Advise(IAdviseSink* sink, DWORD* cookie) {
  if (!cookie) return E_POINTER;
  if (!ole_advise_)
    if (const HRESULT hr = CreateOleAdviseHolder(ole_advise_.put()); FAILED(hr)) return hr;
  return ole_advise_->Advise(sink, cookie);
}

HRESULT AnimviewControl::Unadvise(DWORD cookie) {
  if (!ole_advise_) return OLE_E_NOCONNECTION;
  return ole_advise_->Unadvise(cookie);
}

HRESULT AnimviewControl::EnumAdvise(IEnumSTATDATA** advise) {
  if (!advise) return E_POINTER;
  *advise = nullptr;
  if (!ole_advise_) return S_OK;
  return ole_advise_->EnumAdvise(advise);
}

HRESULT AnimviewControl::GetMiscStatus(DWORD, DWORD* status) {
  if (!status) return E_POINTER;
  *status = kMiscStatus;
  return S_OK;
}

HRESULT AnimviewControl::SetColorScheme(LOGPALETTE*) { return E_NOTIMPL; }

HRESULT AnimviewControl::GetControlInfo(CONTROLINFO* info) {
  if (!info) return E_POINTER;
  info->hAccel = nullptr;  // no mnemonics
  info->cAccel = 0;
  info->dwFlags = 0;
  return S_OK;
}

HRESULT AnimviewControl::OnMnemonic(MSG*) { return S_OK; }

HRESULT AnimviewControl::OnAmbientPropertyChange(DISPID) { return S_OK; }

HRESULT AnimviewControl::FreezeEvents(BOOL freeze) {
  if (freeze)
    ++events_frozen_;
  else if (events_frozen_ > 0)
    --events_frozen_;
  return S_OK;
}

}  // namespace animview::control
