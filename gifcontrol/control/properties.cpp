#include "properties.h"

#include "bstr.h"
#include "errors.h"

namespace animview::control {
namespace {

HRESULT write(IPropertyBag* bag, const wchar_t* key, VARIANT& value) {
  return bag->Write(key, &value);
}

// Reads `key` as `type`. Missing (the bag's E_INVALIDARG): `value` is left as it is, which
// the caller has set to the default. A value that does not convert fails.
HRESULT read(IPropertyBag* bag, IErrorLog* log, const wchar_t* key, VARTYPE type, Variant& value) {
  Variant stored;
  V_VT(stored.get()) = type;  // the bag may honour the type asked for, or give what it holds
  const HRESULT hr = bag->Read(key, stored.get(), log);
  if (hr == E_INVALIDARG) return S_FALSE;
  if (FAILED(hr)) return fail(hr, std::wstring(L"Cannot read the property ") + key);
  Variant converted;
  HRESULT change = VariantChangeType(converted.get(), stored.get(), 0, type);
  if (change == DISP_E_OVERFLOW && type == VT_I4) {
    // An OLE_COLOR stored unsigned (a system colour has its top bit set) is still a colour.
    change = VariantChangeType(converted.get(), stored.get(), 0, VT_UI4);
    if (SUCCEEDED(change)) V_VT(converted.get()) = VT_I4;
  }
  if (FAILED(change)) return fail(change, std::wstring(L"The stored property ") + key + L" does not convert");
  value.clear();
  converted.detach_to(value.get());
  return S_OK;
}

}  // namespace

HRESULT check_back_color(OLE_COLOR color) {
  COLORREF rgb = 0;
  if (FAILED(OleTranslateColor(color, nullptr, &rgb)))
    return fail(kErrInvalidPropertyValue, L"Invalid property value: BackColor");
  return S_OK;
}

HRESULT check_style(short style, const wchar_t* property) {
  if (style != 0 && style != 1)
    return fail(kErrInvalidPropertyValue, std::wstring(L"Invalid property value: ") + property + L" takes 0 or 1");
  return S_OK;
}

HRESULT save_properties(const Properties& p, IPropertyBag* bag) {
  if (!bag) return E_POINTER;
  const Properties defaults = saved_defaults();
  if (p.back_color != defaults.back_color) {
    VARIANT v{};
    V_VT(&v) = VT_I4;
    V_I4(&v) = static_cast<LONG>(p.back_color);
    if (const HRESULT hr = write(bag, kKeyBackColor, v); FAILED(hr)) return hr;
  }
  if (p.back_style != defaults.back_style) {
    VARIANT v{};
    V_VT(&v) = VT_I2;
    V_I2(&v) = p.back_style;
    if (const HRESULT hr = write(bag, kKeyBackStyle, v); FAILED(hr)) return hr;
  }
  if (p.border_style != defaults.border_style) {
    VARIANT v{};
    V_VT(&v) = VT_I2;
    V_I2(&v) = p.border_style;
    if (const HRESULT hr = write(bag, kKeyBorderStyle, v); FAILED(hr)) return hr;
  }
  if (p.filename != defaults.filename) {
    Bstr text(p.filename);
    VARIANT v{};
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = text.get();
    if (const HRESULT hr = write(bag, kKeyFilename, v); FAILED(hr)) return hr;
  }
  return S_OK;
}

HRESULT restore_properties(IPropertyBag* bag, IErrorLog* log, Properties& p) {
  if (!bag) return E_POINTER;
  const Properties defaults = saved_defaults();
  {
    Variant v;
    V_VT(v.get()) = VT_I4;
    V_I4(v.get()) = static_cast<LONG>(defaults.back_color);
    if (const HRESULT hr = read(bag, log, kKeyBackColor, VT_I4, v); FAILED(hr)) return hr;
    const auto color = static_cast<OLE_COLOR>(V_I4(v.get()));
    if (const HRESULT hr = check_back_color(color); FAILED(hr)) return hr;
    p.back_color = color;
  }
  {
    Variant v;
    V_VT(v.get()) = VT_I2;
    V_I2(v.get()) = defaults.back_style;
    if (const HRESULT hr = read(bag, log, kKeyBackStyle, VT_I2, v); FAILED(hr)) return hr;
    if (const HRESULT hr = check_style(V_I2(v.get()), kKeyBackStyle); FAILED(hr)) return hr;
    p.back_style = V_I2(v.get());
  }
  {
    Variant v;
    V_VT(v.get()) = VT_I2;
    V_I2(v.get()) = defaults.border_style;
    if (const HRESULT hr = read(bag, log, kKeyBorderStyle, VT_I2, v); FAILED(hr)) return hr;
    if (const HRESULT hr = check_style(V_I2(v.get()), kKeyBorderStyle); FAILED(hr)) return hr;
    p.border_style = V_I2(v.get());
  }
  {
    Variant v;
    if (const HRESULT hr = read(bag, log, kKeyFilename, VT_BSTR, v); FAILED(hr)) return hr;
    p.filename = V_VT(v.get()) == VT_BSTR ? to_wstring(V_BSTR(v.get())) : defaults.filename;
  }
  return S_OK;
}

}  // namespace animview::control
