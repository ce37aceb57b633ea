#include "harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <new>

#include "gif_builder.h"

namespace animview::control::testing {
namespace {

template <class T, class... A>
ComPtr<T> adopt_new(A&&... args) {
  return ComPtr<T>::adopt(new (std::nothrow) T(std::forward<A>(args)...));
}

template <class T>
ULONG release(T* self, LONG& refs) {
  const LONG n = InterlockedDecrement(&refs);
  if (n == 0) delete self;
  return static_cast<ULONG>(n);
}

}  // namespace

std::wstring windows_path(const std::string& path) {
  std::wstring w(path.begin(), path.end());
  if (!w.empty() && w.front() == L'/') w = L"Z:" + w;
  std::replace(w.begin(), w.end(), L'/', L'\\');
  return w;
}

std::wstring ocx_path() {
  const char* path = std::getenv("ANIMVIEW_OCX");
  return path ? windows_path(path) : std::wstring();
}

OleScope::OleScope() { OleInitialize(nullptr); }
OleScope::~OleScope() { OleUninitialize(); }

Library::Library() : module_(LoadLibraryW(ocx_path().c_str())) {}
Library::~Library() {
  if (module_) FreeLibrary(module_);
}

ComPtr<_Animview> Library::create() const {
  ComPtr<_Animview> control;
  if (!module_) {
    ADD_FAILURE() << "Animview.ocx not loaded from ANIMVIEW_OCX";
    return control;
  }
  using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  const auto get = reinterpret_cast<GetClassObject>(
      reinterpret_cast<void*>(GetProcAddress(module_, "DllGetClassObject")));
  ComPtr<IClassFactory> factory;
  if (!get || FAILED(get(CLSID_Animview, IID_IClassFactory, factory.put_void()))) {
    ADD_FAILURE() << "no class factory for Animview";
    return control;
  }
  const HRESULT hr = factory->CreateInstance(nullptr, IID__Animview, control.put_void());
  EXPECT_EQ(hr, S_OK);
  return control;
}

HRESULT Library::can_unload_now() const {
  using CanUnload = HRESULT(STDAPICALLTYPE*)();
  const auto can = reinterpret_cast<CanUnload>(reinterpret_cast<void*>(GetProcAddress(module_, "DllCanUnloadNow")));
  return can ? can() : E_FAIL;
}

// ---------------------------------------------------------------------------- TestBag

ComPtr<TestBag> TestBag::create() { return adopt_new<TestBag>(); }

HRESULT TestBag::QueryInterface(REFIID iid, void** out) {
  if (iid == IID_IUnknown || iid == IID_IPropertyBag) {
    *out = static_cast<IPropertyBag*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}
ULONG TestBag::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
ULONG TestBag::Release() { return release(this, refs_); }

HRESULT TestBag::Read(LPCOLESTR key, VARIANT* value, IErrorLog*) {
  reads.emplace_back(key);
  const VARIANT* stored = find(key);
  if (!stored) return E_INVALIDARG;
  VariantClear(value);
  return VariantCopy(value, const_cast<VARIANT*>(stored));
}

HRESULT TestBag::Write(LPCOLESTR key, VARIANT* value) {
  put(key, *value);
  return S_OK;
}

void TestBag::put(const std::wstring& key, const VARIANT& value) {
  auto it = std::find_if(entries_.begin(), entries_.end(), [&](const auto& e) { return e->key == key; });
  if (it == entries_.end()) {
    entries_.push_back(std::make_unique<Entry>());
    entries_.back()->key = key;
    it = entries_.end() - 1;
  }
  (*it)->value.clear();
  VariantCopy((*it)->value.get(), const_cast<VARIANT*>(&value));
}

std::vector<std::wstring> TestBag::keys() const {
  std::vector<std::wstring> k;
  for (const auto& e : entries_) k.push_back(e->key);
  return k;
}

const VARIANT* TestBag::find(const std::wstring& key) const {
  for (const auto& e : entries_)
    if (e->key == key) return e->value.get();
  return nullptr;
}

// ---------------------------------------------------------------------------- sinks

ComPtr<ChangeSink> ChangeSink::create() { return adopt_new<ChangeSink>(); }

HRESULT ChangeSink::QueryInterface(REFIID iid, void** out) {
  if (iid == IID_IUnknown || iid == IID_IPropertyNotifySink) {
    *out = static_cast<IPropertyNotifySink*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}
ULONG ChangeSink::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
ULONG ChangeSink::Release() { return release(this, refs_); }
HRESULT ChangeSink::OnChanged(DISPID id) {
  changes.push_back(id);
  return S_OK;
}
HRESULT ChangeSink::OnRequestEdit(DISPID) { return S_OK; }

ComPtr<EventSink> EventSink::create(Handler handler) { return adopt_new<EventSink>(std::move(handler)); }

HRESULT EventSink::QueryInterface(REFIID iid, void** out) {
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == DIID___Animview) {
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}
ULONG EventSink::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
ULONG EventSink::Release() { return release(this, refs_); }
HRESULT EventSink::GetTypeInfoCount(UINT* count) {
  *count = 0;
  return S_OK;
}
HRESULT EventSink::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }
HRESULT EventSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

HRESULT EventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) {
  Call call{id, {}};
  for (UINT i = params->cArgs; i-- > 0;) {
    const VARIANT& a = params->rgvarg[i];
    switch (V_VT(&a)) {
      case VT_I2 | VT_BYREF: call.args.push_back(*V_I2REF(&a)); break;
      case VT_R4 | VT_BYREF: call.args.push_back(static_cast<long>(*V_R4REF(&a))); break;
      default: call.args.push_back(-999999);  // not by reference: the test sees it
    }
  }
  calls.push_back(call);
  if (handler_) handler_(id, *params);
  return S_OK;
}

std::vector<DISPID> EventSink::ids() const {
  std::vector<DISPID> out;
  for (const Call& c : calls) out.push_back(c.id);
  return out;
}

DWORD connect(IUnknown* control, REFIID iid, IUnknown* sink) {
  ComPtr<IConnectionPointContainer> container;
  EXPECT_EQ(control->QueryInterface(IID_IConnectionPointContainer, container.put_void()), S_OK);
  if (!container) return 0;
  ComPtr<IConnectionPoint> point;
  EXPECT_EQ(container->FindConnectionPoint(iid, point.put()), S_OK);
  if (!point) return 0;
  DWORD cookie = 0;
  EXPECT_EQ(point->Advise(sink, &cookie), S_OK);
  return cookie;
}

// ---------------------------------------------------------------------------- automation

HRESULT invoke(IDispatch* object, const wchar_t* name, WORD flags, std::vector<VARIANT> args, VARIANT* result,
               EXCEPINFO* excep) {
  DISPID id = 0;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  if (const HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id); FAILED(hr)) return hr;
  std::reverse(args.begin(), args.end());
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{args.data(), nullptr, static_cast<UINT>(args.size()), 0};
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    params.rgdispidNamedArgs = &named;
    params.cNamedArgs = 1;
  }
  EXCEPINFO local{};
  UINT arg_err = 0;
  const HRESULT hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result,
                                    excep ? excep : &local, &arg_err);
  if (!excep) {
    SysFreeString(local.bstrSource);
    SysFreeString(local.bstrDescription);
    SysFreeString(local.bstrHelpFile);
  }
  return hr;
}

HRESULT put_property(IDispatch* object, const wchar_t* name, const VARIANT& value, EXCEPINFO* excep) {
  return invoke(object, name, DISPATCH_PROPERTYPUT, {value}, nullptr, excep);
}

VARIANT v_i2(short v) {
  VARIANT r{};
  V_VT(&r) = VT_I2;
  V_I2(&r) = v;
  return r;
}
VARIANT v_i4(long v) {
  VARIANT r{};
  V_VT(&r) = VT_I4;
  V_I4(&r) = v;
  return r;
}
VARIANT v_bstr(const wchar_t* text) {
  VARIANT r{};
  V_VT(&r) = VT_BSTR;
  V_BSTR(&r) = SysAllocString(text);
  return r;
}
VARIANT v_missing() {
  VARIANT r{};
  V_VT(&r) = VT_ERROR;
  V_ERROR(&r) = DISP_E_PARAMNOTFOUND;
  return r;
}

// ---------------------------------------------------------------------------- files, windows

TempFile::TempFile(const std::wstring& name, const std::vector<std::uint8_t>& bytes) {
  wchar_t dir[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, dir);
  path_ = std::wstring(dir) + name;
  const HANDLE file = CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    ADD_FAILURE() << "cannot write the fixture file";
    return;
  }
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}
TempFile::~TempFile() { DeleteFileW(path_.c_str()); }

std::vector<std::uint8_t> three_colour_gif() {
  using animview::testing::GifBuilder;
  using animview::testing::Rgb;
  GifBuilder gif;
  gif.header(16, 16, {Rgb{255, 0, 0}, Rgb{0, 255, 0}, Rgb{0, 0, 255}, Rgb{0, 0, 0}});
  gif.netscape_loop(0);
  for (std::uint8_t colour = 0; colour < 3; ++colour) gif.gce(10).solid_image(0, 0, 16, 16, colour);
  gif.trailer();
  return gif.bytes;
}

HostWindow::HostWindow(int width, int height) {
  constexpr wchar_t kClass[] = L"AnimviewTestHost";
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (!GetClassInfoExW(GetModuleHandleW(nullptr), kClass, &wc)) {
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(kHostColour + 1));
    wc.lpszClassName = kClass;
    RegisterClassExW(&wc);
  }
  hwnd_ = CreateWindowExW(0, kClass, L"Animview test host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0,
                          width, height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}
HostWindow::~HostWindow() {
  if (hwnd_) DestroyWindow(hwnd_);
}

DWORD run_program(std::wstring command_line, std::string* output, DWORD timeout_ms) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE read_end = nullptr, write_end = nullptr;
  if (output && !CreatePipe(&read_end, &write_end, &inherit, 0)) return 0xFFFFFFFF;
  if (read_end) SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (output) {
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = write_end;
    startup.hStdError = write_end;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  }
  PROCESS_INFORMATION process{};
  const BOOL started = CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, output != nullptr, 0, nullptr,
                                      nullptr, &startup, &process);
  if (write_end) CloseHandle(write_end);
  if (!started) {
    if (read_end) CloseHandle(read_end);
    ADD_FAILURE() << "cannot start " << std::string(command_line.begin(), command_line.end());
    return 0xFFFFFFFF;
  }
  if (output) {
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(read_end, buffer, sizeof buffer, &got, nullptr) && got > 0) output->append(buffer, got);
    CloseHandle(read_end);
  }
  DWORD code = 0xFFFFFFFF;
  if (WaitForSingleObject(process.hProcess, timeout_ms) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

std::wstring system_program(const wchar_t* name) {
  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  return std::wstring(system) + L"\\" + name;
}

DWORD regsvr32(const std::wstring& arguments) {
  return run_program(L"\"" + system_program(L"regsvr32.exe") + L"\" /s " + arguments);
}

Registered::Registered() { ok_ = regsvr32(L"\"" + ocx_path() + L"\"") == 0; }
Registered::~Registered() { regsvr32(L"/u \"" + ocx_path() + L"\""); }

void pump_messages(DWORD ms) {
  const DWORD end = GetTickCount() + ms;
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (static_cast<LONG>(end - GetTickCount()) <= 0) break;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  } while (true);
}

}  // namespace animview::control::testing
