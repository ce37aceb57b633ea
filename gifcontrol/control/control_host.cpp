// What a host asks of a control besides embedding it: class information, connection
// points, property pages, the page of a property, scripting safety, error information.
#include "animview_control.h"

#include <objbase.h>

#include <array>

#include "enumerator.h"
#include "ids.h"
#include "reg_key.h"
#include "registration.h"

namespace animview::control {
namespace {

struct ConnectionPointTraits {
  static void add_ref(IConnectionPoint*& p) {
    if (p) p->AddRef();
  }
  static void release(IConnectionPoint*& p) {
    if (p) p->Release();
  }
};
using ConnectionPointEnumerator = Enumerator<IEnumConnectionPoints, IConnectionPoint*, ConnectionPointTraits>;

bool class_registered(REFCLSID clsid) {
  RegKey key;
  return RegKey::open(HKEY_CLASSES_ROOT, L"CLSID\\" + guid_string(clsid) + L"\\InprocServer32", key) == ERROR_SUCCESS;
}

constexpr DWORD kSafeForScripting = INTERFACESAFE_FOR_UNTRUSTED_CALLER;
constexpr DWORD kSafeForInitializing = INTERFACESAFE_FOR_UNTRUSTED_DATA;

// What the control can promise for an interface; 0 when it promises nothing.
DWORD safety_supported(REFIID iid) {
  if (iid == IID_IDispatch || iid == IID__Animview) return kSafeForScripting;
  if (iid == IID_IPersistPropertyBag || iid == IID_IPersistStreamInit || iid == IID_IPersistStorage)
    return kSafeForInitializing;
  return 0;
}

}  // namespace

HRESULT AnimviewControl::GetClassInfo(ITypeInfo** info) {
  if (!info) return E_POINTER;
  return class_info_.copy_to(info);
}

HRESULT AnimviewControl::GetGUID(DWORD kind, GUID* guid) {
  if (!guid) return E_POINTER;
  if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) {
    *guid = GUID_NULL;
    return E_INVALIDARG;
  }
  *guid = DIID___Animview;
  return S_OK;
}

HRESULT AnimviewControl::EnumConnectionPoints(IEnumConnectionPoints** points) {
  return ConnectionPointEnumerator::create({&events_, &property_notify_}, points);
}

HRESULT AnimviewControl::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
  if (!point) return E_POINTER;
  *point = nullptr;
  IConnectionPoint* found = nullptr;
  if (iid == DIID___Animview)
    found = &events_;
  else if (iid == IID_IPropertyNotifySink)
    found = &property_notify_;
  if (!found) return CONNECT_E_NOCONNECTION;
  found->AddRef();
  *point = found;
  return S_OK;
}

HRESULT AnimviewControl::GetPages(CAUUID* pages) {
  if (!pages) return E_POINTER;
  // A host is never told of a page it cannot create: the platform's colour page where it
  // is registered, the library's own otherwise.
  const CLSID colour = class_registered(kStockColorPage) ? kStockColorPage : kOwnColorPage;
  const std::array<CLSID, 3> list{CLSID_Component, CLSID_General, colour};
  auto* elements = static_cast<GUID*>(CoTaskMemAlloc(sizeof(GUID) * list.size()));
  if (!elements) {
    pages->cElems = 0;
    pages->pElems = nullptr;
    return E_OUTOFMEMORY;
  }
  for (std::size_t i = 0; i < list.size(); ++i) elements[i] = list[i];
  pages->cElems = static_cast<ULONG>(list.size());
  pages->pElems = elements;
  return S_OK;
}

HRESULT AnimviewControl::GetDisplayString(DISPID, BSTR* text) {
  if (text) *text = nullptr;
  return E_NOTIMPL;
}

HRESULT AnimviewControl::MapPropertyToPage(DISPID id, CLSID* page) {
  if (!page) return E_POINTER;
  if (id == dispid::BackStyle || id == dispid::BorderStyle || id == dispid::Filename) {
    *page = CLSID_General;
    return S_OK;
  }
  *page = CLSID_NULL;
  return PERPROP_E_NOPAGEAVAILABLE;
}

HRESULT AnimviewControl::GetPredefinedStrings(DISPID, CALPOLESTR* strings, CADWORD* cookies) {
  if (strings) *strings = CALPOLESTR{0, nullptr};
  if (cookies) *cookies = CADWORD{0, nullptr};
  return E_NOTIMPL;
}

HRESULT AnimviewControl::GetPredefinedValue(DISPID, DWORD, VARIANT*) { return E_NOTIMPL; }

HRESULT AnimviewControl::GetInterfaceSafetyOptions(REFIID iid, DWORD* supported, DWORD* enabled) {
  if (!supported || !enabled) return E_POINTER;
  *supported = safety_supported(iid);
  *enabled = safety_ & *supported;
  return *supported ? S_OK : E_NOINTERFACE;
}

HRESULT AnimviewControl::SetInterfaceSafetyOptions(REFIID iid, DWORD mask, DWORD enabled) {
  const DWORD supported = safety_supported(iid);
  if (!supported) return E_NOINTERFACE;
  if (mask & ~supported) return E_FAIL;
  safety_ = (safety_ & ~mask) | (enabled & mask);
  return S_OK;
}

HRESULT AnimviewControl::InterfaceSupportsErrorInfo(REFIID iid) {
  return iid == IID__Animview || iid == IID_IDispatch ? S_OK : S_FALSE;
}

}  // namespace animview::control
