#include "property_page.h"

#include <array>
#include <utility>

namespace animview::pages {
namespace {

// An empty child dialog in the shell's dialog font; the pages add their children in code,
// placed in pixels from their twips layout rather than in dialog units.
struct alignas(4) EmptyDialog {
  DLGTEMPLATE header{WS_CHILD | DS_CONTROL | DS_SETFONT | DS_3DLOOK, WS_EX_CONTROLPARENT, 0, 0, 0, 0, 0};
  WORD menu = 0;
  WORD window_class = 0;
  WORD title = 0;
  WORD point_size = 8;
  std::array<wchar_t, 14> face{L"MS Shell Dlg"};
};

}  // namespace

Dpi Dpi::of_screen() {
  Dpi dpi;
  if (HDC screen = GetDC(nullptr)) {
    dpi.x = GetDeviceCaps(screen, LOGPIXELSX);
    dpi.y = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
  }
  return dpi;
}

PropertyPage::PropertyPage(std::wstring title, int width_twips, int height_twips)
    : title_(std::move(title)), width_twips_(width_twips), height_twips_(height_twips), dpi_(Dpi::of_screen()) {}

PropertyPage::~PropertyPage() {
  if (window_) DestroyWindow(window_);
}

HRESULT PropertyPage::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IPropertyPage || iid == IID_IPropertyPage2) {
    *out = static_cast<IPropertyPage2*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG PropertyPage::AddRef() { return refs_.add(); }

ULONG PropertyPage::Release() {
  const ULONG n = refs_.release();
  if (n == 0) delete this;
  return n;
}

HRESULT PropertyPage::SetPageSite(IPropertyPageSite* site) {
  site_ = ComPtr<IPropertyPageSite>(site);
  return S_OK;
}

HRESULT PropertyPage::Activate(HWND parent, LPCRECT rect, BOOL) {
  if (!rect) return E_POINTER;
  if (window_) return E_UNEXPECTED;
  static const EmptyDialog kTemplate;
  window_ = CreateDialogIndirectParamW(control::module::instance(), &kTemplate.header, parent, &dialog_proc,
                                       reinterpret_cast<LPARAM>(this));
  if (!window_) return HRESULT_FROM_WIN32(GetLastError());
  create_children();
  if (first_) {
    if (const HRESULT hr = show_object(); FAILED(hr)) {
      Deactivate();
      return hr;
    }
  }
  SetWindowPos(window_, nullptr, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  return S_OK;
}

HRESULT PropertyPage::Deactivate() {
  if (!window_) return E_UNEXPECTED;
  DestroyWindow(std::exchange(window_, nullptr));
  return S_OK;
}

HRESULT PropertyPage::GetPageInfo(PROPPAGEINFO* info) {
  if (!info) return E_POINTER;
  const auto bytes = (title_.size() + 1) * sizeof(wchar_t);
  auto* title = static_cast<wchar_t*>(CoTaskMemAlloc(bytes));
  if (!title) return E_OUTOFMEMORY;
  CopyMemory(title, title_.c_str(), bytes);
  info->cb = sizeof(PROPPAGEINFO);
  info->pszTitle = title;
  info->size = dpi_.size(width_twips_, height_twips_);
  info->pszDocString = nullptr;
  info->pszHelpFile = nullptr;
  info->dwHelpContext = 0;
  return S_OK;
}

HRESULT PropertyPage::SetObjects(ULONG count, IUnknown** objects) {
  if (count == 0) {
    first_ = nullptr;
    return S_OK;
  }
  if (!objects || !objects[0]) return E_POINTER;
  ComPtr<IDispatch> first;
  if (const HRESULT hr = objects[0]->QueryInterface(IID_IDispatch, first.put_void()); FAILED(hr)) return hr;
  first_ = std::move(first);
  return window_ ? show_object() : S_OK;
}

HRESULT PropertyPage::Show(UINT command) {
  if (!window_) return E_UNEXPECTED;
  ShowWindow(window_, command);
  return S_OK;
}

HRESULT PropertyPage::Move(LPCRECT rect) {
  if (!rect) return E_POINTER;
  if (!window_) return E_UNEXPECTED;
  MoveWindow(window_, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, TRUE);
  return S_OK;
}

HRESULT PropertyPage::IsPageDirty() { return dirty_ ? S_OK : S_FALSE; }

HRESULT PropertyPage::Apply() {
  if (!first_) return S_OK;  // nothing to edit
  return apply_to_object();
}

HRESULT PropertyPage::Help(LPCOLESTR) { return E_NOTIMPL; }

HRESULT PropertyPage::TranslateAccelerator(MSG* msg) {
  if (!msg) return E_POINTER;
  return window_ && IsDialogMessageW(window_, msg) ? S_OK : S_FALSE;
}

HRESULT PropertyPage::EditProperty(DISPID id) {
  HWND editor = editor_of(id);
  if (!editor) return E_NOTIMPL;
  SetFocus(editor);
  return S_OK;
}

HWND PropertyPage::add_child(const wchar_t* window_class, const wchar_t* text, DWORD style, int id,
                             const TwipsRect& place) {
  HWND child = CreateWindowExW(0, window_class, text, WS_CHILD | WS_VISIBLE | style, dpi_.px_x(place.left),
                               dpi_.px_y(place.top), dpi_.px_x(place.width), dpi_.px_y(place.height), window_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), control::module::instance(), nullptr);
  if (child) SendMessageW(child, WM_SETFONT, SendMessageW(window_, WM_GETFONT, 0, 0), FALSE);
  return child;
}

HWND PropertyPage::add_label(const Label& label) {
  return add_child(L"Static", label.text, SS_LEFT, label.id, label.place);
}

void PropertyPage::mark_dirty() {
  dirty_ = true;
  if (site_) site_->OnStatusChange(PROPPAGESTATUS_DIRTY);
}

INT_PTR CALLBACK PropertyPage::dialog_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, lparam);
    return FALSE;
  }
  auto* page = reinterpret_cast<PropertyPage*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (page && message == WM_COMMAND) {
    page->on_command(LOWORD(wparam), HIWORD(wparam), reinterpret_cast<HWND>(lparam));
    return TRUE;
  }
  return FALSE;
}

}  // namespace animview::pages
