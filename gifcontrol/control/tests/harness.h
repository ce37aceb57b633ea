// What the control's tests share: the library under test, loaded directly or through the
// registry, a property bag and sinks that record what the control tells its host, and a
// few helpers for automation calls.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <memory>
#include <functional>
#include <string>
#include <vector>

#include "animview_h.h"
#include "bstr.h"
#include "com_ptr.h"

namespace animview::control::testing {

// The library file named by ANIMVIEW_OCX (a Unix path is taken as a path on drive Z:).
std::wstring ocx_path();
// A Windows path for a Unix or Windows path.
std::wstring windows_path(const std::string& path);

// OLE initialised for the calling thread for the lifetime of the object.
class OleScope {
 public:
  OleScope();
  ~OleScope();
  OleScope(const OleScope&) = delete;
  OleScope& operator=(const OleScope&) = delete;
};

// The control library loaded by path (no registration needed).
class Library {
 public:
  Library();
  ~Library();
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  HMODULE module() const { return module_; }
  // A new control, or a failed test assertion.
  ComPtr<_Animview> create() const;
  HRESULT can_unload_now() const;

 private:
  HMODULE module_ = nullptr;
};

// A property bag that keeps its entries in write order; Read of a missing key answers
// E_INVALIDARG like the hosts' bags.
class TestBag final : public IPropertyBag {
 public:
  struct Entry {
    std::wstring key;
    Variant value;
  };
  static ComPtr<TestBag> create();

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE Read(LPCOLESTR key, VARIANT* value, IErrorLog* log) override;
  HRESULT STDMETHODCALLTYPE Write(LPCOLESTR key, VARIANT* value) override;

  void put(const std::wstring& key, const VARIANT& value);
  std::vector<std::wstring> keys() const;
  const VARIANT* find(const std::wstring& key) const;
  std::vector<std::wstring> reads;  // keys in the order the control read them

 private:
  LONG refs_ = 1;
  std::vector<std::unique_ptr<Entry>> entries_;
};

// Records the DISPIDs of IPropertyNotifySink::OnChanged.
class ChangeSink final : public IPropertyNotifySink {
 public:
  static ComPtr<ChangeSink> create();
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE OnChanged(DISPID id) override;
  HRESULT STDMETHODCALLTYPE OnRequestEdit(DISPID id) override;
  std::vector<DISPID> changes;

 private:
  LONG refs_ = 1;
};

// An event sink of __Animview: records each event with its arguments as they arrived, and
// lets a test handler change by-reference arguments.
class EventSink final : public IDispatch {
 public:
  struct Call {
    DISPID id;
    std::vector<long> args;  // in declaration order, by-ref values read as numbers
  };
  using Handler = std::function<void(DISPID id, DISPPARAMS& params)>;
  static ComPtr<EventSink> create(Handler handler = {});

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* excep, UINT* arg_err) override;
  explicit EventSink(Handler handler) : handler_(std::move(handler)) {}
  std::vector<Call> calls;
  std::vector<DISPID> ids() const;

 private:
  LONG refs_ = 1;
  Handler handler_;
};

// Connects `sink` to the connection point `iid` of `control`; returns the cookie.
DWORD connect(IUnknown* control, REFIID iid, IUnknown* sink);

// IDispatch calls by name, as a late-bound client makes them.
HRESULT invoke(IDispatch* object, const wchar_t* name, WORD flags, std::vector<VARIANT> args_in_order,
               VARIANT* result = nullptr, EXCEPINFO* excep = nullptr);
HRESULT put_property(IDispatch* object, const wchar_t* name, const VARIANT& value, EXCEPINFO* excep = nullptr);

VARIANT v_i2(short v);
VARIANT v_i4(long v);
VARIANT v_bstr(const wchar_t* text);  // the caller clears it
VARIANT v_missing();

// A small GIF file written into the test's temporary folder; removed with the object.
class TempFile {
 public:
  TempFile(const std::wstring& name, const std::vector<std::uint8_t>& bytes);
  ~TempFile();
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  const std::wstring& path() const { return path_; }

 private:
  std::wstring path_;
};

// Three 16 x 16 frames of different solid colours (red, green, blue), 100 ms each.
std::vector<std::uint8_t> three_colour_gif();

// A top-level window for hosting, destroyed with the object. Its background is the system
// colour kHostColour.
class HostWindow {
 public:
  HostWindow(int width, int height);
  ~HostWindow();
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;
  HWND get() const { return hwnd_; }

 private:
  HWND hwnd_ = nullptr;
};

// Runs a program and waits for it (at most `timeout_ms`); returns its exit code, and what
// it wrote to its standard output when `output` is given.
DWORD run_program(std::wstring command_line, std::string* output = nullptr, DWORD timeout_ms = 120000);
// A program of the system folder of this process's bitness (regsvr32, cscript).
std::wstring system_program(const wchar_t* name);
// regsvr32 /s with `arguments` (the library's path, or "/u" and the path).
DWORD regsvr32(const std::wstring& arguments);

// Registers the library for the scope's lifetime (under the lock "animview_registry").
class Registered {
 public:
  Registered();
  ~Registered();
  Registered(const Registered&) = delete;
  Registered& operator=(const Registered&) = delete;
  bool ok() const { return ok_; }

 private:
  bool ok_ = false;
};

inline constexpr int kHostColour = COLOR_HIGHLIGHT;

// Lets the thread's message loop run for `ms` milliseconds.
void pump_messages(DWORD ms);

}  // namespace animview::control::testing
