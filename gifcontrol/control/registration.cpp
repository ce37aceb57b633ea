#include "registration.h"

#include <oleauto.h>
#include <olectl.h>

#include <array>
#include <vector>

#include "com_ptr.h"
#include "ids.h"
#include "reg_key.h"

namespace animview::control {
namespace {

struct Value {
  std::wstring key;      // below HKEY_CLASSES_ROOT
  const wchar_t* name;   // nullptr: the key's default value
  std::wstring data;
};

struct PageClass {
  const CLSID* clsid;
  const wchar_t* name;
};

// The property page classes served by this library.
constexpr std::array kPageClasses = {
    PageClass{&CLSID_General, L"General"},
    PageClass{&CLSID_Component, L"Component"},
    PageClass{&kOwnColorPage, L"Color"},
};

std::wstring clsid_key(REFCLSID clsid) { return L"CLSID\\" + guid_string(clsid); }

void add_server(std::vector<Value>& values, const std::wstring& key, const std::wstring& module_path) {
  values.push_back({key + L"\\InprocServer32", nullptr, module_path});
  values.push_back({key + L"\\InprocServer32", L"ThreadingModel", L"Apartment"});
}

std::vector<Value> registry_values(const std::wstring& module_path) {
  const std::wstring misc_status = std::to_wstring(kMiscStatus);
  const std::wstring control = clsid_key(CLSID_Animview);
  std::vector<Value> values{
      {control, nullptr, kClassName},
      {control + L"\\ProgID", nullptr, kProgId},
      {control + L"\\VersionIndependentProgID", nullptr, kVersionIndependentProgId},
      {control + L"\\Control", nullptr, L""},
      {control + L"\\MiscStatus", nullptr, misc_status},
      {control + L"\\MiscStatus\\1", nullptr, misc_status},
      {control + L"\\ToolboxBitmap32", nullptr, module_path + L", " + std::to_wstring(kToolboxBitmapId)},
      {control + L"\\TypeLib", nullptr, guid_string(LIBID_AnimviewDeLuxe)},
      {control + L"\\Version", nullptr, kTypeLibVersion},
      {control + L"\\Implemented Categories\\" + guid_string(kCatidControl), nullptr, L""},
      {kProgId, nullptr, kClassName},
      {std::wstring(kProgId) + L"\\CLSID", nullptr, guid_string(CLSID_Animview)},
      {kVersionIndependentProgId, nullptr, kClassName},
      {std::wstring(kVersionIndependentProgId) + L"\\CLSID", nullptr, guid_string(CLSID_Animview)},
      {std::wstring(kVersionIndependentProgId) + L"\\CurVer", nullptr, kProgId},
  };
  add_server(values, control, module_path);
  for (const PageClass& page : kPageClasses) {
    const std::wstring key = clsid_key(*page.clsid);
    values.push_back({key, nullptr, page.name});
    add_server(values, key, module_path);
  }
  return values;
}

// Keys that belong to this library alone, removed with everything below them.
std::vector<std::wstring> owned_keys() {
  std::vector<std::wstring> keys{clsid_key(CLSID_Animview), kProgId, kVersionIndependentProgId};
  for (const PageClass& page : kPageClasses) keys.push_back(clsid_key(*page.clsid));
  return keys;
}

HRESULT write(const Value& value) {
  RegKey key;
  LSTATUS status = RegKey::create(HKEY_CLASSES_ROOT, value.key, key);
  if (status == ERROR_SUCCESS) status = key.set_string(value.name, value.data);
  return HRESULT_FROM_WIN32(status);
}

constexpr SYSKIND kSysKind = sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32;

}  // namespace

std::wstring guid_string(REFGUID guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return text;
}

HRESULT register_server(const std::wstring& module_path) {
  for (const Value& value : registry_values(module_path)) {
    if (FAILED(write(value))) {
      unregister_server();
      return SELFREG_E_CLASS;
    }
  }
  ComPtr<ITypeLib> library;
  HRESULT hr = LoadTypeLibEx(module_path.c_str(), REGKIND_NONE, library.put());
  if (SUCCEEDED(hr)) hr = RegisterTypeLib(library.get(), const_cast<LPOLESTR>(module_path.c_str()), nullptr);
  if (FAILED(hr)) {
    unregister_server();
    return SELFREG_E_TYPELIB;
  }
  return S_OK;
}

HRESULT unregister_server() {
  HRESULT result = S_OK;
  for (const std::wstring& key : owned_keys()) {
    const LSTATUS status = RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) result = SELFREG_E_CLASS;
    RegDeleteKeyW(HKEY_CLASSES_ROOT, key.c_str());
  }
  RegKey registered;
  const std::wstring version_key = L"TypeLib\\" + guid_string(LIBID_AnimviewDeLuxe) + L"\\" + kTypeLibVersion;
  if (RegKey::open(HKEY_CLASSES_ROOT, version_key, registered) == ERROR_SUCCESS &&
      FAILED(UnRegisterTypeLib(LIBID_AnimviewDeLuxe, kTypeLibMajor, kTypeLibMinor, 0, kSysKind)))
    result = SELFREG_E_TYPELIB;
  return result;
}

}  // namespace animview::control
