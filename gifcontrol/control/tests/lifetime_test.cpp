// A host that creates, shows, plays and lets go of the control a thousand times: every
// window, timer, picture and object goes with it.
#include <windows.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "harness.h"
#include "site.h"

namespace animview::control::testing {
namespace {

struct Usage {
  DWORD gdi_objects;   // 0 under Wine, which does not count them
  DWORD user_objects;  // 0 under Wine
  std::uintptr_t next_handle;
  SIZE_T private_bytes;
  int timer_windows;
};

// Committed private memory of the process: heaps, and the bits of DIB sections.
SIZE_T committed_private_bytes() {
  SIZE_T total = 0;
  MEMORY_BASIC_INFORMATION info{};
  for (auto* p = static_cast<BYTE*>(nullptr); VirtualQuery(p, &info, sizeof info) == sizeof info;
       p = static_cast<BYTE*>(info.BaseAddress) + info.RegionSize) {
    if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) total += info.RegionSize;
    if (info.RegionSize == 0) break;
  }
  return total;
}

// The value the next kernel handle gets: handle values are taken lowest-free first, so a
// leak of handles pushes it up.
std::uintptr_t next_handle_value() {
  const HANDLE probe = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  const auto value = reinterpret_cast<std::uintptr_t>(probe);
  CloseHandle(probe);
  return value;
}

// Timer1 of each control lives on a message-only window of its own.
int timer_windows() {
  int count = 0;
  for (HWND w = nullptr; (w = FindWindowExW(HWND_MESSAGE, w, L"AnimviewTimer1", nullptr)) != nullptr;) ++count;
  return count;
}

Usage usage() {
  Usage u{};
  u.gdi_objects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  u.user_objects = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  u.next_handle = next_handle_value();
  u.private_bytes = committed_private_bytes();
  u.timer_windows = timer_windows();
  return u;
}

BOOL CALLBACK count_window(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

int child_windows(HWND parent) {
  int count = 0;
  EnumChildWindows(parent, &count_window, reinterpret_cast<LPARAM>(&count));
  return count;
}

// One cycle as a form does it: create, initialise, site and show, open and play, then
// close and let go.
void cycle(const Library& library, HWND host, const std::wstring& file) {
  auto control = library.create();
  ASSERT_TRUE(control);
  ComPtr<IPersistStreamInit> persist;
  control->QueryInterface(IID_IPersistStreamInit, persist.put_void());
  ASSERT_TRUE(persist);
  ASSERT_EQ(persist->InitNew(), S_OK);
  const auto site = TestSite::create(host, RECT{0, 0, 64, 48});
  ASSERT_TRUE(activate(control.get(), site.get()));
  const Bstr name(file);
  control->put_Filename(name.get());
  VARIANT_BOOL result = VARIANT_FALSE;
  ASSERT_EQ(control->OpenFile(&result), S_OK);
  ASSERT_EQ(result, VARIANT_TRUE);
  control->Play(&result);
  pump_messages(0);
  deactivate(control.get());
}

TEST(Lifetime, AThousandControlsLeaveNothingBehind) {
  OleScope ole;
  const Library library;
  const HostWindow host(200, 150);
  ASSERT_TRUE(host.get());
  const TempFile gif(L"animview_lifetime.gif", three_colour_gif());

  for (int i = 0; i < 50; ++i) cycle(library, host.get(), gif.path());  // caches warm up
  pump_messages(50);
  const Usage before = usage();
  for (int i = 0; i < 1000; ++i) {
    cycle(library, host.get(), gif.path());
    if (HasFatalFailure()) return;
  }
  pump_messages(50);
  const Usage after = usage();

  EXPECT_EQ(child_windows(host.get()), 0);
  EXPECT_EQ(after.timer_windows, 0);
  EXPECT_EQ(library.can_unload_now(), S_OK) << "an object or lock of the library is still alive";
  EXPECT_LE(after.gdi_objects, before.gdi_objects + 10);
  EXPECT_LE(after.user_objects, before.user_objects + 10);
  EXPECT_LE(after.next_handle, before.next_handle + 10 * sizeof(void*));
  // Three decoded frames (each with its own bits) and a window per cycle: a leak of either
  // would be megabytes.
  EXPECT_LE(after.private_bytes, before.private_bytes + 2 * 1024 * 1024)
      << "private bytes grew from " << before.private_bytes << " to " << after.private_bytes;
  std::printf("GDI %lu -> %lu, USER %lu -> %lu, next handle %zx -> %zx, private %zu -> %zu\n",
              before.gdi_objects, after.gdi_objects, before.user_objects, after.user_objects,
              static_cast<std::size_t>(before.next_handle), static_cast<std::size_t>(after.next_handle),
              static_cast<std::size_t>(before.private_bytes), static_cast<std::size_t>(after.private_bytes));
}

// A designer unloads the library when no control is left (CoFreeUnusedLibraries) and may
// load it again later: the window classes it registered must go with it, because the
// system keeps a DLL's classes, with their window procedures, after the DLL is gone.
TEST(Lifetime, UnloadingTheLibraryTakesItsWindowClassesAway) {
  OleScope ole;
  const HostWindow host(200, 150);
  const TempFile gif(L"animview_unload.gif", three_colour_gif());
  const wchar_t* const classes[] = {L"AnimviewTimer1", L"AnimviewDeLuxeSurface"};
  HMODULE module = nullptr;
  {
    const Library library;
    module = library.module();
    cycle(library, host.get(), gif.path());
    for (const wchar_t* name : classes) {
      WNDCLASSEXW info{};
      info.cbSize = sizeof info;
      EXPECT_TRUE(GetClassInfoExW(module, name, &info)) << "not registered while loaded: " << name;
    }
    ASSERT_EQ(library.can_unload_now(), S_OK);
  }
  ASSERT_FALSE(GetModuleHandleW(ocx_path().c_str())) << "the library is still loaded";
  for (const wchar_t* name : classes) {
    WNDCLASSEXW info{};
    info.cbSize = sizeof info;
    EXPECT_FALSE(GetClassInfoExW(module, name, &info)) << "left registered: " << name;
  }
}

}  // namespace
}  // namespace animview::control::testing
