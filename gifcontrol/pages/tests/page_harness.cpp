#include "page_harness.h"

#include <gtest/gtest.h>

namespace animview::pages::testing {

ComPtr<IPropertyPage2> create_page(const control::testing::Library& library, REFCLSID clsid) {
  ComPtr<IPropertyPage2> page;
  using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  const auto get = reinterpret_cast<GetClassObject>(
      reinterpret_cast<void*>(GetProcAddress(library.module(), "DllGetClassObject")));
  ComPtr<IClassFactory> factory;
  if (!get || FAILED(get(clsid, IID_IClassFactory, factory.put_void()))) {
    ADD_FAILURE() << "no class factory for the page";
    return page;
  }
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_IPropertyPage2, page.put_void()), S_OK);
  return page;
}

void TwoControlsTest::SetUp() {
  first_ = library_.create().query<IDispatch>(IID_IDispatch);
  second_ = library_.create().query<IDispatch>(IID_IDispatch);
  ASSERT_TRUE(first_ && second_);
}

void TwoControlsTest::put(IDispatch* object, const wchar_t* name, VARIANT value) {
  EXPECT_EQ(control::testing::put_property(object, name, value), S_OK) << name;
  VariantClear(&value);
}

ComPtr<RecordingPageSite> RecordingPageSite::create() {
  return ComPtr<RecordingPageSite>::adopt(new RecordingPageSite());
}
HRESULT RecordingPageSite::QueryInterface(REFIID iid, void** out) {
  if (iid == IID_IUnknown || iid == IID_IPropertyPageSite) {
    *out = static_cast<IPropertyPageSite*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}
ULONG RecordingPageSite::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
ULONG RecordingPageSite::Release() {
  const LONG n = InterlockedDecrement(&refs_);
  if (n == 0) delete this;
  return static_cast<ULONG>(n);
}
HRESULT RecordingPageSite::OnStatusChange(DWORD flags) {
  statuses.push_back(flags);
  return S_OK;
}
HRESULT RecordingPageSite::GetLocaleID(LCID* locale) {
  *locale = LOCALE_USER_DEFAULT;
  return S_OK;
}
HRESULT RecordingPageSite::GetPageContainer(IUnknown** container) {
  *container = nullptr;
  return E_NOTIMPL;
}
HRESULT RecordingPageSite::TranslateAccelerator(MSG*) { return S_FALSE; }

HWND page_window(HWND parent) { return GetWindow(parent, GW_CHILD); }

std::vector<HWND> children(HWND parent) {
  std::vector<HWND> result;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) result.push_back(child);
  return result;
}

RECT place_in_parent(HWND child) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

std::vector<std::wstring> items(HWND combo) {
  std::vector<std::wstring> result;
  const auto count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    std::wstring text(static_cast<std::size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
    result.push_back(text);
  }
  return result;
}

std::wstring text_property(IDispatch* object, const wchar_t* name) {
  control::Variant value;
  EXPECT_EQ(control::testing::invoke(object, name, DISPATCH_PROPERTYGET, {}, value.get()), S_OK) << name;
  EXPECT_EQ(VariantChangeType(value.get(), value.get(), 0, VT_BSTR), S_OK);
  return value.get()->vt == VT_BSTR ? control::to_wstring(value.get()->bstrVal) : L"?";
}

namespace {
int screen_dpi(int index) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, index);
  ReleaseDC(nullptr, screen);
  return dpi;
}
}  // namespace

int twips_to_px_x(int twips) { return MulDiv(twips, screen_dpi(LOGPIXELSX), 1440); }
int twips_to_px_y(int twips) { return MulDiv(twips, screen_dpi(LOGPIXELSY), 1440); }

}  // namespace animview::pages::testing
