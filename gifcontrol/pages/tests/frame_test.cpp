// The pages inside the platform's property frame (OleCreatePropertyFrame), driven from a
// second thread as a user would drive them while the frame runs its modal loop.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "harness.h"
#include "ids.h"
#include "page_harness.h"
#include "page_ids.h"

#include <commctrl.h>
#include <prsht.h>

namespace animview::pages::testing {
namespace {

using control::testing::Library;
using control::testing::OleScope;
using control::testing::put_property;
using control::testing::v_bstr;
using control::testing::v_i2;


// The page classes served to CoCreateInstance from the library under test, for as long as
// the object lives, without touching the registry.
class ServedPages {
 public:
  explicit ServedPages(const Library& library) {
    using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    const auto get = reinterpret_cast<GetClassObject>(
        reinterpret_cast<void*>(GetProcAddress(library.module(), "DllGetClassObject")));
    for (const CLSID* clsid : {&CLSID_General, &CLSID_Component, &control::kOwnColorPage}) {
      ComPtr<IClassFactory> factory;
      DWORD cookie = 0;
      if (get && SUCCEEDED(get(*clsid, IID_IClassFactory, factory.put_void())) &&
          SUCCEEDED(CoRegisterClassObject(*clsid, factory.get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie)))
        cookies_.push_back(cookie);
      else
        ADD_FAILURE() << "page class not served";
    }
  }
  ~ServedPages() {
    for (DWORD cookie : cookies_) CoRevokeClassObject(cookie);
  }
  ServedPages(const ServedPages&) = delete;
  ServedPages& operator=(const ServedPages&) = delete;

 private:
  std::vector<DWORD> cookies_;
};

BOOL CALLBACK take_visible_dialog(HWND hwnd, LPARAM out) {
  if (IsWindowVisible(hwnd) && class_name(hwnd) == L"#32770") {
    *reinterpret_cast<HWND*>(out) = hwnd;
    return FALSE;
  }
  return TRUE;
}

// The frame's top-level dialog on `thread`, waited for up to ten seconds.
HWND wait_for_frame(DWORD thread) {
  for (int i = 0; i < 1000; ++i) {
    HWND found = nullptr;
    EnumThreadWindows(thread, &take_visible_dialog, reinterpret_cast<LPARAM>(&found));
    if (found) return found;
    Sleep(10);
  }
  return nullptr;
}

// A button of the frame by its caption, with or without its mnemonic.
HWND frame_button(HWND frame, const std::wstring& caption) {
  for (HWND child : children(frame)) {
    std::wstring text = window_text(child);
    std::erase(text, L'&');
    if (class_name(child) == L"Button" && text == caption) return child;
  }
  return nullptr;
}

// The captions of the frame's tabs, one per page.
std::vector<std::wstring> tab_captions(HWND frame) {
  std::vector<std::wstring> captions;
  HWND tabs = reinterpret_cast<HWND>(SendMessageW(frame, PSM_GETTABCONTROL, 0, 0));
  const auto count = SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t text[128] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 128;
    SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    captions.emplace_back(text);
  }
  return captions;
}

// Where ANIMVIEW_PAGES_SHOTS names a folder, the frame as it looks is kept there as a
// bitmap file for a person to look at.
void save_screenshot(HWND frame, const wchar_t* name) {
  wchar_t folder[MAX_PATH] = {};
  if (!GetEnvironmentVariableW(L"ANIMVIEW_PAGES_SHOTS", folder, MAX_PATH)) return;
  RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Sleep(300);
  RECT rect{};
  GetWindowRect(frame, &rect);
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  SelectObject(memory, old);
  const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  const DWORD size = stride * static_cast<DWORD>(height);
  BITMAPFILEHEADER header{0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)) + size, 0, 0,
                          sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
  const std::wstring path = std::wstring(folder) + L"\\" + name;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    WriteFile(file, &header, sizeof header, &written, nullptr);
    WriteFile(file, &info.bmiHeader, sizeof info.bmiHeader, &written, nullptr);
    WriteFile(file, bits, size, &written, nullptr);
    CloseHandle(file);
  }
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

void click(HWND button) {
  SendMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
               reinterpret_cast<LPARAM>(button));
}

// Shows the frame on `objects` with `pages` (by default the General page first), and runs
// `drive` on a second thread with the frame's window while the frame is up.
void run_frame(std::vector<IUnknown*> objects, const std::function<void(HWND frame)>& drive,
               std::vector<CLSID> pages = {CLSID_General, CLSID_Component}) {
  const DWORD ui_thread = GetCurrentThreadId();
  std::thread driver([&] {
    HWND frame = wait_for_frame(ui_thread);
    if (!frame) return;  // the frame's call fails the test below
    drive(frame);
    if (IsWindow(frame)) click(frame_button(frame, L"Cancel"));
  });
  const HRESULT hr = OleCreatePropertyFrame(nullptr, 0, 0, L"Animview", static_cast<ULONG>(objects.size()),
                                            objects.data(), static_cast<ULONG>(pages.size()), pages.data(),
                                            LOCALE_USER_DEFAULT, 0, nullptr);
  driver.join();
  EXPECT_EQ(hr, S_OK);
}

class FrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    first_ = library_.create().query<IDispatch>(IID_IDispatch);
    second_ = library_.create().query<IDispatch>(IID_IDispatch);
    ASSERT_TRUE(first_ && second_);
  }
  void put(IDispatch* object, const wchar_t* name, VARIANT value) {
    ASSERT_EQ(put_property(object, name, value), S_OK) << name;
    VariantClear(&value);
  }

  OleScope ole_;
  Library library_;
  ServedPages served_{library_};
  ComPtr<IDispatch> first_, second_;
};

TEST_F(FrameTest, ShowsBothPagesWithTheFirstControlsValues) {
  put(first_.get(), L"Filename", v_bstr(L"C:\\first.gif"));
  put(first_.get(), L"BorderStyle", v_i2(0));
  put(first_.get(), L"BackStyle", v_i2(1));
  put(second_.get(), L"Filename", v_bstr(L"C:\\second.gif"));
  put(second_.get(), L"BorderStyle", v_i2(1));
  put(second_.get(), L"BackStyle", v_i2(0));

  std::wstring shown_file, shown_border, shown_back;
  std::vector<std::wstring> tabs;
  bool component_shown = false;
  run_frame({first_.get(), second_.get()}, [&](HWND frame) {
    shown_file = window_text(find_child(frame, ids::txtFilename));
    shown_border = window_text(find_child(frame, ids::txtBorderStyle));
    shown_back = window_text(find_child(frame, ids::txtBackStyle));
    tabs = tab_captions(frame);
    save_screenshot(frame, L"general.bmp");
    SendMessageW(frame, PSM_SETCURSEL, 1, 0);
    HWND welcome = find_child(frame, ids::lblWelcome);
    component_shown = welcome && IsWindowVisible(welcome);
    save_screenshot(frame, L"component.bmp");
  });
  EXPECT_EQ(shown_file, L"C:\\first.gif");
  EXPECT_EQ(shown_border, L"0");
  EXPECT_EQ(shown_back, L"1");
  EXPECT_EQ(tabs, (std::vector<std::wstring>{L"General", L"What is that component ?"}));
  EXPECT_TRUE(component_shown);
}

}  // namespace
}  // namespace animview::pages::testing
