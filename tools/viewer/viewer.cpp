// Animview viewer: a window that hosts the Animview control and plays the GIF file named on
// its command line.
//
//   AnimviewViewer.exe [/properties] [/quit-after MILLISECONDS] FILE.gif
//
// /properties shows the control's property pages before it opens anything, as a form
// designer does; the control then opens the file its Filename names after the user's
// edits. The control comes from the registry (after regsvr32 Animview.ocx) or, where it is
// not registered, from the Animview.ocx beside the viewer. Exit code: 0 the file was opened
// and played, 1 the control did not open it, 2 the control could not be created, 3 usage.
#include <windows.h>
#include <ole2.h>
#include <ocidl.h>
#include <shellapi.h>

#include <cwchar>
#include <string>
#include <vector>

#include "animview_h.h"
#include "bstr.h"
#include "com_ptr.h"
#include "property_frame.h"
#include "served_classes.h"
#include "viewer_site.h"

namespace animview::viewer {
namespace {

using control::Bstr;
using control::ComPtr;

constexpr wchar_t kWindowClass[] = L"AnimviewViewer";
constexpr UINT_PTR kQuitTimer = 1;

enum ExitCode : int { kPlayed = 0, kNotOpened = 1, kNoControl = 2, kUsage = 3 };

struct Options {
  std::wstring file;
  UINT quit_after_ms = 0;  // 0: until the user closes the window
  bool properties = false;
};

bool parse(Options& options) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv) return false;
  for (int i = 1; i < argc; ++i) {
    if (std::wcscmp(argv[i], L"/quit-after") == 0 && i + 1 < argc)
      options.quit_after_ms = static_cast<UINT>(std::wcstoul(argv[++i], nullptr, 10));
    else if (std::wcscmp(argv[i], L"/properties") == 0)
      options.properties = true;
    else
      options.file = argv[i];
  }
  LocalFree(argv);
  return !options.file.empty();
}

// The library file loaded when the control is not registered; freed last.
class Library {
 public:
  Library() = default;
  ~Library() {
    if (module_) FreeLibrary(module_);
  }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;
  bool load(const std::wstring& path) {
    module_ = LoadLibraryW(path.c_str());
    return module_ != nullptr;
  }
  HMODULE get() const { return module_; }

 private:
  HMODULE module_ = nullptr;
};

std::wstring beside_this_program(const wchar_t* name) {
  std::vector<wchar_t> path(MAX_PATH);
  const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  std::wstring dir(path.data(), n);
  dir.erase(dir.find_last_of(L"\\/") + 1);
  return dir + name;
}

class Viewer {
 public:
  int run(const Options& options, int show);

 private:
  static LRESULT CALLBACK window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  HRESULT create_control();
  HRESULT place_control();
  HRESULT show_property_pages();
  bool open();
  void take_down();

  Library library_;  // declared first: released last, after the control
  HWND window_ = nullptr;
  ComPtr<_Animview> control_;
  ComPtr<ViewerSite> site_;
};

HRESULT Viewer::create_control() {
  HRESULT hr = CoCreateInstance(CLSID_Animview, nullptr, CLSCTX_INPROC_SERVER, IID__Animview, control_.put_void());
  if (SUCCEEDED(hr)) return hr;
  // Not registered: the library beside the viewer serves the class directly.
  if (!library_.load(beside_this_program(L"Animview.ocx"))) return hr;
  using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  const auto get = reinterpret_cast<GetClassObject>(
      reinterpret_cast<void*>(GetProcAddress(library_.get(), "DllGetClassObject")));
  if (!get) return hr;
  ComPtr<IClassFactory> factory;
  if (FAILED(hr = get(CLSID_Animview, IID_IClassFactory, factory.put_void()))) return hr;
  return factory->CreateInstance(nullptr, IID__Animview, control_.put_void());
}

HRESULT Viewer::place_control() {
  ComPtr<IOleObject> object;
  HRESULT hr = control_->QueryInterface(IID_IOleObject, object.put_void());
  if (FAILED(hr)) return hr;
  site_ = ViewerSite::create(window_);
  if (!site_) return E_OUTOFMEMORY;
  // The control asks for its site first (OLEMISC_SETCLIENTSITEFIRST), then is new.
  object->SetClientSite(site_.get());
  ComPtr<IPersistStreamInit> persist;
  if (SUCCEEDED(control_->QueryInterface(IID_IPersistStreamInit, persist.put_void()))) persist->InitNew();
  RECT client{};
  GetClientRect(window_, &client);
  return object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_.get(), 0, window_, &client);
}

HRESULT Viewer::show_property_pages() {
  ComPtr<ISpecifyPropertyPages> specify;
  HRESULT hr = control_->QueryInterface(IID_ISpecifyPropertyPages, specify.put_void());
  if (FAILED(hr)) return hr;
  CAUUID named{};
  if (FAILED(hr = specify->GetPages(&named))) return hr;
  frame::FrameRequest request;
  request.owner = window_;
  request.caption = L"Animview";
  request.objects = {control_.get()};
  request.pages.assign(named.pElems, named.pElems + named.cElems);
  CoTaskMemFree(named.pElems);
  // Unregistered, the pages come from the library the control came from.
  const frame::ServedClasses served(library_.get(), request.pages);
  return frame::show_property_frame(request);
}

// Opens and plays the file the control's Filename names.
bool Viewer::open() {
  VARIANT_BOOL opened = VARIANT_FALSE;
  VARIANT_BOOL ignored = VARIANT_FALSE;
  return SUCCEEDED(control_->OpenFile(&opened)) && opened != VARIANT_FALSE && SUCCEEDED(control_->Play(&ignored));
}

void Viewer::take_down() {
  if (!control_) return;
  ComPtr<IOleObject> object;
  if (SUCCEEDED(control_->QueryInterface(IID_IOleObject, object.put_void()))) {
    object->Close(OLECLOSE_NOSAVE);
    object->SetClientSite(nullptr);
  }
  control_ = nullptr;
  site_ = nullptr;
}

LRESULT CALLBACK Viewer::window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* self = reinterpret_cast<Viewer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (message) {
    case WM_SIZE:
      if (self && self->control_) {
        ComPtr<IOleInPlaceObject> in_place;
        if (SUCCEEDED(self->control_->QueryInterface(IID_IOleInPlaceObject, in_place.put_void()))) {
          const RECT r{0, 0, LOWORD(lparam), HIWORD(lparam)};
          in_place->SetObjectRects(&r, &r);
        }
      }
      return 0;
    case WM_TIMER:
      if (wparam == kQuitTimer) DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      if (self) self->take_down();
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wparam, lparam);
  }
}

int Viewer::run(const Options& options, int show) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &Viewer::window_proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kWindowClass;
  RegisterClassExW(&wc);
  const std::wstring title = L"Animview - " + options.file;
  window_ = CreateWindowExW(0, kWindowClass, title.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                            CW_USEDEFAULT, 520, 300, nullptr, nullptr, instance, nullptr);
  if (!window_) return kNoControl;
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));

  if (FAILED(create_control()) || FAILED(place_control())) {
    MessageBoxW(window_, L"The Animview control could not be created. Register it with regsvr32 Animview.ocx, or put Animview.ocx beside the viewer.",
                L"Animview", MB_OK | MB_ICONSTOP);
    DestroyWindow(window_);
    return kNoControl;
  }
  ShowWindow(window_, show);
  UpdateWindow(window_);
  const Bstr name(options.file);
  control_->put_Filename(name.get());
  if (options.properties && FAILED(show_property_pages()))
    MessageBoxW(window_, L"The control's property pages could not be shown.", L"Animview", MB_OK | MB_ICONEXCLAMATION);
  // The control shows its own message box when it cannot load the file.
  const bool opened = open();
  if (options.quit_after_ms) SetTimer(window_, kQuitTimer, options.quit_after_ms, nullptr);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return opened ? kPlayed : kNotOpened;
}

// OLE for the whole run of the viewer.
class OleScope {
 public:
  OleScope() : ok_(SUCCEEDED(OleInitialize(nullptr))) {}
  ~OleScope() {
    if (ok_) OleUninitialize();
  }
  OleScope(const OleScope&) = delete;
  OleScope& operator=(const OleScope&) = delete;
  bool ok() const { return ok_; }

 private:
  bool ok_;
};

}  // namespace
}  // namespace animview::viewer

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int show) {
  using namespace animview::viewer;
  Options options;
  if (!parse(options)) {
    MessageBoxW(nullptr, L"Usage: AnimviewViewer [/properties] [/quit-after MILLISECONDS] FILE.gif", L"Animview", MB_OK);
    return kUsage;
  }
  const OleScope ole;
  if (!ole.ok()) return kNoControl;
  Viewer viewer;
  return viewer.run(options, show);
}
