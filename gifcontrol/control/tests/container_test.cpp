// A real container: Wine's ATL host window "AtlAxWin" creates the registered control from
// its program identifier, and the control plays a GIF in it: the window's pixels change
// with the frames.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "harness.h"

namespace animview::control::testing {
namespace {

using AtlAxWinInitFn = BOOL(WINAPI*)();
using AtlAxGetControlFn = HRESULT(WINAPI*)(HWND, IUnknown**);

// Wine's ATL: atl.dll registers "AtlAxWin", atl100.dll "AtlAxWin100".
struct Atl {
  HMODULE module = nullptr;
  const wchar_t* window_class = nullptr;
  AtlAxGetControlFn get_control = nullptr;

  Atl() {
    const struct {
      const wchar_t* dll;
      const wchar_t* window_class;
    } candidates[] = {{L"atl.dll", L"AtlAxWin"}, {L"atl100.dll", L"AtlAxWin100"}};
    for (const auto& c : candidates) {
      module = LoadLibraryW(c.dll);
      if (!module) continue;
      const auto init = reinterpret_cast<AtlAxWinInitFn>(reinterpret_cast<void*>(GetProcAddress(module, "AtlAxWinInit")));
      get_control = reinterpret_cast<AtlAxGetControlFn>(reinterpret_cast<void*>(GetProcAddress(module, "AtlAxGetControl")));
      if (init && get_control && init()) {
        window_class = c.window_class;
        return;
      }
      FreeLibrary(module);
      module = nullptr;
    }
  }
  ~Atl() {
    if (module) FreeLibrary(module);
  }
  Atl(const Atl&) = delete;
  Atl& operator=(const Atl&) = delete;
};

COLORREF pixel(HWND hwnd, int x, int y) {
  const HDC dc = GetDC(hwnd);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(hwnd, dc);
  return c;
}

// One control in an ATL host window named by `text` (program identifier or CLSID): it
// plays the GIF, and goes when the window goes.
void host_and_play(const Atl& atl, HWND parent, const wchar_t* text, const std::wstring& gif) {
  const HWND ax = CreateWindowExW(0, atl.window_class, text, WS_CHILD | WS_VISIBLE, 0, 0, 200, 120, parent, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
  ASSERT_TRUE(ax);
  ComPtr<IUnknown> unknown;
  ASSERT_EQ(atl.get_control(ax, unknown.put()), S_OK);
  ASSERT_TRUE(unknown);
  ComPtr<IDispatch> control;
  ASSERT_EQ(unknown->QueryInterface(IID_IDispatch, control.put_void()), S_OK);
  ComPtr<IOleInPlaceObject> in_place;
  ASSERT_EQ(unknown->QueryInterface(IID_IOleInPlaceObject, in_place.put_void()), S_OK);
  HWND surface = nullptr;
  ASSERT_EQ(in_place->GetWindow(&surface), S_OK) << "the container activated the control in place";
  EXPECT_EQ(GetParent(surface), ax);

  VARIANT name = v_bstr(gif.c_str());
  ASSERT_EQ(put_property(control.get(), L"Filename", name), S_OK);
  VariantClear(&name);
  VARIANT opened{};
  ASSERT_EQ(invoke(control.get(), L"OpenFile", DISPATCH_METHOD, {}, &opened), S_OK);
  EXPECT_EQ(V_VT(&opened), VT_BOOL);
  EXPECT_EQ(V_BOOL(&opened), VARIANT_TRUE);
  VARIANT played{};
  ASSERT_EQ(invoke(control.get(), L"Play", DISPATCH_METHOD, {}, &played), S_OK);

  // Three 100 ms frames, red, green and blue, over the same 16 x 16 pixels.
  std::set<COLORREF> seen;
  for (int i = 0; i < 40; ++i) {
    pump_messages(25);
    UpdateWindow(surface);
    seen.insert(pixel(surface, 8, 8));
  }
  EXPECT_TRUE(seen.count(RGB(255, 0, 0))) << "first frame";
  EXPECT_TRUE(seen.count(RGB(0, 255, 0))) << "second frame";
  EXPECT_TRUE(seen.count(RGB(0, 0, 255))) << "third frame";
  // Away from the frames, the surface keeps its back colour (white).
  EXPECT_EQ(pixel(surface, 100, 60), RGB(255, 255, 255));

  control = nullptr;
  in_place = nullptr;
  unknown = nullptr;
  DestroyWindow(ax);
  EXPECT_FALSE(IsWindow(surface)) << "the container took the control down with its window";
}

TEST(Container, AtlAxWinHostsTheControlWhichPlaysAGif) {
  OleScope ole;
  const Registered registered;
  ASSERT_TRUE(registered.ok()) << "regsvr32 failed";
  const Atl atl;
  ASSERT_TRUE(atl.window_class) << "no ATL host window class in this Wine";
  const HostWindow host(320, 240);
  const TempFile gif(L"animview_container.gif", three_colour_gif());
  for (const wchar_t* text : {L"AnimviewDeLuxe.Animview", L"{7F08565C-C510-41FC-B9A1-46C46CA94EC3}"}) {
    SCOPED_TRACE(std::string(text, text + wcslen(text)));
    host_and_play(atl, host.get(), text, gif.path());
  }
}

}  // namespace
}  // namespace animview::control::testing
