// What the page tests share: pages created from the library under test, a page site that
// records what a page tells its host, and the page's child windows.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <string>
#include <vector>

#include "com_ptr.h"
#include "harness.h"
#include "uidriver.h"

namespace animview::pages::testing {

using control::ComPtr;

// A page of class `clsid` from the library's class factory, or a failed assertion.
ComPtr<IPropertyPage2> create_page(const control::testing::Library& library, REFCLSID clsid);

// Two controls of the library under test; the pages show and edit the first one.
class TwoControlsTest : public ::testing::Test {
 protected:
  void SetUp() override;
  // Sets a property of a control by name, failing the test when the control refuses.
  void put(IDispatch* object, const wchar_t* name, VARIANT value);

  control::testing::OleScope ole_;
  control::testing::Library library_;
  ComPtr<IDispatch> first_, second_;
};

// Records the status flags a page reports.
class RecordingPageSite final : public IPropertyPageSite {
 public:
  static ComPtr<RecordingPageSite> create();
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE OnStatusChange(DWORD flags) override;
  HRESULT STDMETHODCALLTYPE GetLocaleID(LCID* locale) override;
  HRESULT STDMETHODCALLTYPE GetPageContainer(IUnknown** container) override;
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG* msg) override;
  std::vector<DWORD> statuses;

 private:
  LONG refs_ = 1;
};

// The page window that Activate created inside `parent` (its only child).
HWND page_window(HWND parent);
using pf::ui::class_name;
using pf::ui::window_text;
// A child of `parent` (at any depth) by control identifier; nullptr when there is none.
inline HWND find_child(HWND parent, int id) { return pf::ui::child_with_id(parent, id); }
// Direct children of `parent` in z-order, which is the dialog's tab order.
std::vector<HWND> children(HWND parent);
// A child's place in its parent's client area.
RECT place_in_parent(HWND child);
// The items of a combo box.
std::vector<std::wstring> items(HWND combo);

// A property of `object` read by name, as text.
std::wstring text_property(IDispatch* object, const wchar_t* name);

// The page's size in pixels of the screen for a size in twips.
int twips_to_px_x(int twips);
int twips_to_px_y(int twips);

}  // namespace animview::pages::testing
