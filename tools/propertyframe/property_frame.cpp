#include "property_frame.h"

#include <commctrl.h>
#include <oleauto.h>
#include <olectl.h>

#include <algorithm>
#include <array>
#include <cwchar>
#include <memory>
#include <type_traits>

#include "com_ptr.h"
#include "page_site.h"

namespace animview::frame {
namespace {

using control::ComPtr;

// The identifiers the platform's frame gives its tab control and Apply button.
constexpr int kTabsId = 0x3020;
constexpr int kApplyId = 0x3021;

// Spacing in pixels, as the platform's dialogs lay out at 96 dpi.
constexpr int kMargin = 7;
constexpr int kGap = 6;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;

// Dialog templates with no controls in the shell's dialog font; the frame adds its
// children in code because their sizes follow from the pages' sizes.
struct alignas(4) EmptyTemplate {
  DLGTEMPLATE header;
  WORD menu = 0;
  WORD window_class = 0;
  WORD title = 0;
  WORD point_size = 8;
  std::array<wchar_t, 14> face{L"MS Shell Dlg"};
};
const EmptyTemplate kFrameTemplate{
    {WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_3DLOOK,
     WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, 0, 0, 0, 0, 0}};
const EmptyTemplate kPageHostTemplate{
    {WS_CHILD | WS_VISIBLE | DS_CONTROL | DS_SETFONT | DS_3DLOOK, WS_EX_CONTROLPARENT, 0, 0, 0, 0, 0}};

struct WindowDestroyer {
  void operator()(HWND hwnd) const { DestroyWindow(hwnd); }
};
using OwnedWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

INT_PTR CALLBACK page_host_proc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// What a failed page operation says to the user: the object's own description where it
// left one, else the system's text for the code; the code itself always.
std::wstring error_text(HRESULT hr) {
  std::wstring description;
  ComPtr<IErrorInfo> info;
  if (GetErrorInfo(0, info.put()) == S_OK && info) {
    BSTR text = nullptr;
    if (SUCCEEDED(info->GetDescription(&text)) && text) description = text;
    SysFreeString(text);
  }
  if (description.empty()) {
    wchar_t* text = nullptr;
    if (FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr) &&
        text) {
      description = text;
      LocalFree(text);
    }
  }
  while (!description.empty() && std::iswspace(description.back())) description.pop_back();
  wchar_t code[32];
  std::swprintf(code, std::size(code), L"Error 0x%08lX", static_cast<unsigned long>(hr));
  return description.empty() ? std::wstring(code) : description + L"\n\n" + code;
}

struct Page {
  ComPtr<IPropertyPage> page;
  ComPtr<PageSite> site;
  std::wstring title;
  bool active = false;
};

class Frame {
 public:
  explicit Frame(const FrameRequest& request) : request_(request) {}
  ~Frame();
  Frame(const Frame&) = delete;
  Frame& operator=(const Frame&) = delete;

  HRESULT load_pages();
  HRESULT create_window();
  void run();

 private:
  static INT_PTR CALLBACK dialog_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  HWND add_child(const wchar_t* window_class, const wchar_t* text, DWORD style, int id, const RECT& place);
  void lay_out();
  void on_command(int id);
  void on_status(std::size_t index, DWORD flags);
  bool select(std::size_t index);
  bool apply();
  bool apply_page(std::size_t index);
  void close();

  const FrameRequest& request_;
  std::vector<Page> pages_;
  OwnedWindow window_;
  HWND tabs_ = nullptr;
  HWND host_ = nullptr;
  HWND apply_button_ = nullptr;
  SIZE page_size_{};
  std::size_t current_ = SIZE_MAX;
  bool closing_ = false;
  bool owner_disabled_ = false;
};

Frame::~Frame() {
  for (Page& page : pages_) {
    if (page.active) page.page->Deactivate();
    page.page->SetObjects(0, nullptr);
    page.page->SetPageSite(nullptr);
    page.site->detach();
  }
  // The owner gets the activation back only if it is enabled before the frame goes.
  if (owner_disabled_) EnableWindow(request_.owner, TRUE);
}

HRESULT Frame::load_pages() {
  if (request_.objects.empty() || request_.pages.empty()) return E_INVALIDARG;
  for (const CLSID& clsid : request_.pages) {
    Page page;
    HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IPropertyPage, page.page.put_void());
    if (FAILED(hr)) return hr;
    const std::size_t index = pages_.size();
    page.site = PageSite::create(request_.locale, [this, index](DWORD flags) { on_status(index, flags); });
    if (!page.site) return E_OUTOFMEMORY;
    if (FAILED(hr = page.page->SetPageSite(page.site.get()))) return hr;
    pages_.push_back(std::move(page));
    Page& added = pages_.back();
    if (FAILED(hr = added.page->SetObjects(static_cast<ULONG>(request_.objects.size()),
                                           const_cast<IUnknown**>(request_.objects.data()))))
      return hr;
    PROPPAGEINFO info{};
    info.cb = sizeof info;
    if (FAILED(hr = added.page->GetPageInfo(&info))) return hr;
    added.title = info.pszTitle ? info.pszTitle : L"";
    for (LPOLESTR text : {info.pszTitle, info.pszDocString, info.pszHelpFile}) CoTaskMemFree(text);
    page_size_.cx = std::max(page_size_.cx, info.size.cx);
    page_size_.cy = std::max(page_size_.cy, info.size.cy);
  }
  return S_OK;
}

HRESULT Frame::create_window() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  window_.reset(CreateDialogIndirectParamW(instance, &kFrameTemplate.header, request_.owner, &dialog_proc,
                                           reinterpret_cast<LPARAM>(this)));
  if (!window_) return HRESULT_FROM_WIN32(GetLastError());
  const std::wstring title = request_.caption + L" Properties";
  SetWindowTextW(window_.get(), title.c_str());

  // The page host comes first so that it lies above the tab control it sits on.
  tabs_ = add_child(WC_TABCONTROLW, L"", WS_TABSTOP | WS_CLIPSIBLINGS, kTabsId, {});
  for (std::size_t i = 0; i < pages_.size(); ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = pages_[i].title.data();
    SendMessageW(tabs_, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
  host_ = CreateDialogIndirectParamW(instance, &kPageHostTemplate.header, window_.get(), &page_host_proc, 0);
  if (!host_) return HRESULT_FROM_WIN32(GetLastError());
  SetWindowPos(host_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  add_child(WC_BUTTONW, L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK, {});
  add_child(WC_BUTTONW, L"Cancel", WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL, {});
  apply_button_ = add_child(WC_BUTTONW, L"&Apply", WS_TABSTOP | BS_PUSHBUTTON | WS_DISABLED, kApplyId, {});
  lay_out();

  const std::size_t first = request_.initial_page < pages_.size() ? request_.initial_page : 0;
  if (!select(first)) return E_FAIL;
  return S_OK;
}

HWND Frame::add_child(const wchar_t* window_class, const wchar_t* text, DWORD style, int id, const RECT& place) {
  HWND child = CreateWindowExW(0, window_class, text, WS_CHILD | WS_VISIBLE | style, place.left, place.top,
                               place.right - place.left, place.bottom - place.top, window_.get(),
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (child) SendMessageW(child, WM_SETFONT, SendMessageW(window_.get(), WM_GETFONT, 0, 0), FALSE);
  return child;
}

// The tab control wraps the largest page; the buttons sit below it at the right.
void Frame::lay_out() {
  RECT tabs{0, 0, page_size_.cx, page_size_.cy};
  SendMessageW(tabs_, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&tabs));
  OffsetRect(&tabs, kMargin - tabs.left, kMargin - tabs.top);
  MoveWindow(tabs_, tabs.left, tabs.top, tabs.right - tabs.left, tabs.bottom - tabs.top, FALSE);
  RECT display = tabs;
  SendMessageW(tabs_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  MoveWindow(host_, display.left, display.top, page_size_.cx, page_size_.cy, FALSE);

  const int top = tabs.bottom + kGap;
  int left = tabs.right - kButtonWidth;
  for (int id : {kApplyId, static_cast<int>(IDCANCEL), static_cast<int>(IDOK)}) {
    MoveWindow(GetDlgItem(window_.get(), id), left, top, kButtonWidth, kButtonHeight, FALSE);
    left -= kButtonWidth + kGap;
  }

  RECT frame{0, 0, tabs.right + kMargin, top + kButtonHeight + kMargin};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(window_.get(), GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongW(window_.get(), GWL_EXSTYLE)));
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  // Centred on the owner, or on the screen when there is none.
  RECT around{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (request_.owner) GetWindowRect(request_.owner, &around);
  const LONG x = std::max<LONG>(0, (around.left + around.right - width) / 2);
  const LONG y = std::max<LONG>(0, (around.top + around.bottom - height) / 2);
  SetWindowPos(window_.get(), nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Frame::run() {
  if (request_.owner && IsWindowEnabled(request_.owner)) {
    EnableWindow(request_.owner, FALSE);
    owner_disabled_ = true;
  }
  ShowWindow(window_.get(), SW_SHOW);
  if (HWND first = GetNextDlgTabItem(host_, nullptr, FALSE)) SetFocus(first);
  if (request_.initial_property != DISPID_UNKNOWN) {
    if (auto page2 = pages_[current_].page.query<IPropertyPage2>(IID_IPropertyPage2))
      page2->EditProperty(request_.initial_property);
  }

  MSG msg{};
  while (!closing_) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      // Someone quit the application: the frame ends, and the quit goes on to the host's loop.
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && GetKeyState(VK_CONTROL) < 0 &&
        (msg.hwnd == window_.get() || IsChild(window_.get(), msg.hwnd))) {
      const std::size_t step = GetKeyState(VK_SHIFT) < 0 ? pages_.size() - 1 : 1;
      select((current_ + step) % pages_.size());
      continue;
    }
    if (current_ < pages_.size() && pages_[current_].page->TranslateAccelerator(&msg) == S_OK) continue;
    if (IsDialogMessageW(window_.get(), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

INT_PTR CALLBACK Frame::dialog_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(hwnd, DWLP_USER, lparam);
    return FALSE;
  }
  auto* frame = reinterpret_cast<Frame*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  if (!frame) return FALSE;
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wparam) == BN_CLICKED) frame->on_command(LOWORD(wparam));
      return TRUE;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lparam);
      if (header->idFrom == kTabsId && header->code == TCN_SELCHANGE) {
        const LRESULT index = SendMessageW(frame->tabs_, TCM_GETCURSEL, 0, 0);
        if (index >= 0) frame->select(static_cast<std::size_t>(index));
      }
      return TRUE;
    }
    case WM_CLOSE:
      frame->close();
      return TRUE;
    default:
      return FALSE;
  }
}

void Frame::on_command(int id) {
  switch (id) {
    case IDOK:
      if (apply()) close();
      break;
    case IDCANCEL:
      close();
      break;
    case kApplyId:
      if (apply()) EnableWindow(apply_button_, FALSE);
      break;
    default:
      break;
  }
}

void Frame::on_status(std::size_t index, DWORD flags) {
  if (flags & PROPPAGESTATUS_DIRTY) EnableWindow(apply_button_, TRUE);
  // A page that asks to be validated wants its edits applied now.
  if ((flags & PROPPAGESTATUS_VALIDATE) && index < pages_.size()) apply_page(index);
}

// Shows page `index`, activating it the first time it is chosen.
bool Frame::select(std::size_t index) {
  if (index >= pages_.size()) return false;
  Page& page = pages_[index];
  if (!page.active) {
    const RECT place{0, 0, page_size_.cx, page_size_.cy};
    if (const HRESULT hr = page.page->Activate(host_, &place, TRUE); FAILED(hr)) {
      MessageBoxW(window_.get(), error_text(hr).c_str(), page.title.c_str(), MB_OK | MB_ICONEXCLAMATION);
      SendMessageW(tabs_, TCM_SETCURSEL, current_, 0);
      return false;
    }
    page.active = true;
  }
  if (current_ < pages_.size() && current_ != index) pages_[current_].page->Show(SW_HIDE);
  current_ = index;
  page.page->Show(SW_SHOW);
  SendMessageW(tabs_, TCM_SETCURSEL, index, 0);
  return true;
}

// Applies every page that holds edits; the first failure is shown on its page and keeps
// the frame open with its edits.
bool Frame::apply() {
  for (std::size_t i = 0; i < pages_.size(); ++i) {
    if (pages_[i].page->IsPageDirty() != S_OK) continue;
    if (!apply_page(i)) return false;
  }
  return true;
}

bool Frame::apply_page(std::size_t index) {
  // An error object left over from an earlier call must not describe this failure.
  SetErrorInfo(0, nullptr);
  const HRESULT hr = pages_[index].page->Apply();
  if (SUCCEEDED(hr)) return true;
  select(index);
  const std::wstring title = request_.caption + L" Properties";
  MessageBoxW(window_.get(), error_text(hr).c_str(), title.c_str(), MB_OK | MB_ICONEXCLAMATION);
  EnableWindow(apply_button_, TRUE);
  return false;
}

void Frame::close() {
  closing_ = true;
  // The loop waits in GetMessage: a command that arrives as a sent message would
  // otherwise leave it waiting for input that never comes.
  PostMessageW(window_.get(), WM_NULL, 0, 0);
}

}  // namespace

HRESULT show_property_frame(const FrameRequest& request) {
  Frame frame(request);
  if (const HRESULT hr = frame.load_pages(); FAILED(hr)) return hr;
  if (const HRESULT hr = frame.create_window(); FAILED(hr)) return hr;
  frame.run();
  return S_OK;
}

}  // namespace animview::frame
