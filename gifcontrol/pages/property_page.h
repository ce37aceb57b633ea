// What every page of the library shares: the property-page protocol with its host (site,
// objects, activation, dirty state) around a child dialog window that a page fills.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <string>
#include <vector>

#include "com_object.h"
#include "com_ptr.h"
#include "twips.h"

namespace animview::pages {

using control::ComPtr;

// A static text of a page's layout.
struct Label {
  int id;
  const wchar_t* text;
  TwipsRect place;
};

class PropertyPage : public IPropertyPage2 {
 public:
  PropertyPage(std::wstring title, int width_twips, int height_twips);
  virtual ~PropertyPage();
  PropertyPage(const PropertyPage&) = delete;
  PropertyPage& operator=(const PropertyPage&) = delete;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IPropertyPage
  HRESULT STDMETHODCALLTYPE SetPageSite(IPropertyPageSite* site) override;
  HRESULT STDMETHODCALLTYPE Activate(HWND parent, LPCRECT rect, BOOL modal) override;
  HRESULT STDMETHODCALLTYPE Deactivate() override;
  HRESULT STDMETHODCALLTYPE GetPageInfo(PROPPAGEINFO* info) override;
  HRESULT STDMETHODCALLTYPE SetObjects(ULONG count, IUnknown** objects) override;
  HRESULT STDMETHODCALLTYPE Show(UINT command) override;
  HRESULT STDMETHODCALLTYPE Move(LPCRECT rect) override;
  HRESULT STDMETHODCALLTYPE IsPageDirty() override;
  HRESULT STDMETHODCALLTYPE Apply() override;
  HRESULT STDMETHODCALLTYPE Help(LPCOLESTR help_dir) override;
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG* msg) override;

  // IPropertyPage2
  HRESULT STDMETHODCALLTYPE EditProperty(DISPID id) override;

 protected:
  HWND window() const { return window_; }
  const Dpi& dpi() const { return dpi_; }
  // The first of the objects the host gave, the one a page shows and edits.
  IDispatch* first_object() const { return first_.get(); }

  // A child window placed by its layout in twips, in creation (= tab) order.
  HWND add_child(const wchar_t* window_class, const wchar_t* text, DWORD style, int id, const TwipsRect& place);
  HWND add_label(const Label& label);

  // Raises the dirty state and tells the host at once, so that it can offer Apply.
  void mark_dirty();
  bool dirty() const { return dirty_; }
  void clear_dirty() { dirty_ = false; }

  // Hooks of a page: its children, its reaction to the objects, its commands, its apply.
  virtual void create_children() = 0;
  virtual HRESULT show_object() { return S_OK; }
  virtual void on_command(int, int, HWND) {}
  virtual HRESULT apply_to_object() { return S_OK; }
  virtual HWND editor_of(DISPID) const { return nullptr; }

 private:
  static INT_PTR CALLBACK dialog_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

  control::RefCount refs_;
  std::wstring title_;
  int width_twips_;
  int height_twips_;
  Dpi dpi_;
  HWND window_ = nullptr;
  ComPtr<IPropertyPageSite> site_;
  ComPtr<IDispatch> first_;
  bool dirty_ = false;
};

}  // namespace animview::pages
