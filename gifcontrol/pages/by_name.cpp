#include "by_name.h"

#include <oleauto.h>

#include "bstr.h"

namespace animview::pages {
namespace {

HRESULT id_of(IDispatch* object, const wchar_t* name, DISPID& id) {
  auto* names = const_cast<LPOLESTR>(name);
  return object->GetIDsOfNames(IID_NULL, &names, 1, LOCALE_USER_DEFAULT, &id);
}

}  // namespace

HRESULT get_text(IDispatch* object, const wchar_t* name, std::wstring& text) {
  if (!object) return E_POINTER;
  DISPID id = DISPID_UNKNOWN;
  if (const HRESULT hr = id_of(object, name, id); FAILED(hr)) return hr;
  DISPPARAMS none{};
  control::Variant value;
  HRESULT hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, value.get(), nullptr,
                              nullptr);
  if (FAILED(hr)) return hr;
  // The user's locale: the same one the put below converts back with.
  hr = VariantChangeType(value.get(), value.get(), 0, VT_BSTR);
  if (FAILED(hr)) return hr;
  text = control::to_wstring(value.get()->bstrVal);
  return S_OK;
}

HRESULT put_text(IDispatch* object, const wchar_t* name, const std::wstring& text) {
  if (!object) return E_POINTER;
  DISPID id = DISPID_UNKNOWN;
  if (const HRESULT hr = id_of(object, name, id); FAILED(hr)) return hr;
  control::Variant value;
  value.get()->vt = VT_BSTR;
  value.get()->bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  if (!value.get()->bstrVal) return E_OUTOFMEMORY;
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{value.get(), &named, 1, 1};
  return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr);
}

}  // namespace animview::pages
