#include "site.h"

#include <gtest/gtest.h>

#include <new>

namespace animview::control::testing {

ComPtr<TestSite> TestSite::create(HWND window, RECT position) {
  return ComPtr<TestSite>::adopt(new (std::nothrow) TestSite(window, position));
}

HRESULT TestSite::QueryInterface(REFIID iid, void** out) {
  if (iid == IID_IUnknown || iid == IID_IOleClientSite)
    *out = static_cast<IOleClientSite*>(this);
  else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite)
    *out = static_cast<IOleInPlaceSite*>(this);
  else if (iid == IID_ISimpleFrameSite)
    *out = static_cast<ISimpleFrameSite*>(this);
  else
    *out = nullptr;
  if (!*out) return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

ULONG TestSite::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }

ULONG TestSite::Release() {
  const LONG n = InterlockedDecrement(&refs_);
  if (n == 0) delete this;
  return static_cast<ULONG>(n);
}

HWND activate(IUnknown* control, TestSite* site) {
  ComPtr<IOleObject> object;
  EXPECT_EQ(control->QueryInterface(IID_IOleObject, object.put_void()), S_OK);
  if (!object) return nullptr;
  EXPECT_EQ(object->SetClientSite(site), S_OK);
  HWND parent = nullptr;
  site->GetWindow(&parent);
  RECT position{};
  ComPtr<IOleInPlaceFrame> frame;
  ComPtr<IOleInPlaceUIWindow> doc;
  RECT clip{};
  OLEINPLACEFRAMEINFO info{};
  info.cb = sizeof info;
  site->GetWindowContext(frame.put(), doc.put(), &position, &clip, &info);
  EXPECT_EQ(object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site, 0, parent, &position), S_OK);
  ComPtr<IOleInPlaceObject> in_place;
  EXPECT_EQ(control->QueryInterface(IID_IOleInPlaceObject, in_place.put_void()), S_OK);
  HWND hwnd = nullptr;
  if (in_place) in_place->GetWindow(&hwnd);
  return hwnd;
}

void deactivate(IUnknown* control) {
  ComPtr<IOleObject> object;
  if (FAILED(control->QueryInterface(IID_IOleObject, object.put_void()))) return;
  object->Close(OLECLOSE_NOSAVE);
  object->SetClientSite(nullptr);
}

}  // namespace animview::control::testing
