// The sample host tools/viewer plays a GIF with the control registered, and with the
// library beside it when it is not; its property pages edit the control it hosts.
#include <gtest/gtest.h>

#include <optional>

#include "harness.h"
#include "page_ids.h"

namespace animview::control::testing {
namespace {

std::wstring viewer_command(const std::wstring& arguments) {
  const char* viewer = std::getenv("ANIMVIEW_VIEWER");
  if (!viewer) {
    ADD_FAILURE() << "ANIMVIEW_VIEWER names the viewer";
    return L"viewer-not-named.exe";
  }
  return L"\"" + windows_path(viewer) + L"\" " + arguments;
}

DWORD run_viewer(const std::wstring& gif) {
  return run_program(viewer_command(L"/quit-after 1500 \"" + gif + L"\""));
}

// A program running while the test drives its windows; killed if it outlives the test.
class RunningProgram {
 public:
  explicit RunningProgram(std::wstring command_line) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process_))
      ADD_FAILURE() << "cannot start the viewer";
  }
  ~RunningProgram() {
    if (!process_.hProcess) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 0xDEAD);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  DWORD id() const { return process_.dwProcessId; }
  // The exit code, or nothing when the program is still running after `ms`.
  std::optional<DWORD> wait(DWORD ms) const {
    DWORD code = 0;
    if (!process_.hProcess || WaitForSingleObject(process_.hProcess, ms) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(process_.hProcess, &code))
      return std::nullopt;
    return code;
  }

 private:
  PROCESS_INFORMATION process_{};
};

struct WindowSearch {
  DWORD process;
  std::wstring title;
  HWND found = nullptr;
};

BOOL CALLBACK take_titled_window(HWND hwnd, LPARAM out) {
  auto* search = reinterpret_cast<WindowSearch*>(out);
  DWORD process = 0;
  GetWindowThreadProcessId(hwnd, &process);
  wchar_t title[128] = {};
  GetWindowTextW(hwnd, title, 128);
  if (process == search->process && IsWindowVisible(hwnd) && search->title == title) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

// A visible top-level window of `process` by its title, waited for up to twenty seconds.
HWND wait_for_window(DWORD process, const std::wstring& title) {
  WindowSearch search{process, title};
  for (int i = 0; i < 2000 && !search.found; ++i) {
    EnumWindows(&take_titled_window, reinterpret_cast<LPARAM>(&search));
    if (!search.found) Sleep(10);
  }
  return search.found;
}

struct ChildSearch {
  int id;
  HWND found = nullptr;
};

BOOL CALLBACK take_child(HWND hwnd, LPARAM out) {
  auto* search = reinterpret_cast<ChildSearch*>(out);
  if (GetDlgCtrlID(hwnd) != search->id) return TRUE;
  search->found = hwnd;
  return FALSE;
}

HWND find_child(HWND parent, int id) {
  ChildSearch search{id};
  EnumChildWindows(parent, &take_child, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

TEST(Viewer, PlaysAGifWithTheControlRegistered) {
  const TempFile gif(L"animview_viewer_registered.gif", three_colour_gif());
  const Registered registered;
  ASSERT_TRUE(registered.ok());
  EXPECT_EQ(run_viewer(gif.path()), 0u);
}

TEST(Viewer, PlaysAGifWithTheLibraryBesideItWhenNotRegistered) {
  const TempFile gif(L"animview_viewer_beside.gif", three_colour_gif());
  ASSERT_EQ(regsvr32(L"/u \"" + ocx_path() + L"\""), 0u);
  CLSID clsid{};
  ASSERT_NE(CLSIDFromProgID(L"AnimviewDeLuxe.Animview", &clsid), S_OK) << "still registered";
  EXPECT_EQ(run_viewer(gif.path()), 0u);
}

// The viewer starts on a file that is not there; the user names the real one on the
// General page and presses OK: the control opens and plays what the page wrote.
TEST(Viewer, PropertyPagesEditTheHostedControl) {
  const TempFile gif(L"animview_viewer_pages.gif", three_colour_gif());
  struct Case {
    const char* name;
    bool registered;
  };
  for (const Case c : {Case{"library beside the viewer", false}, Case{"control registered", true}}) {
    SCOPED_TRACE(c.name);
    std::optional<Registered> registration;
    if (c.registered) {
      registration.emplace();
      ASSERT_TRUE(registration->ok());
    }
    const RunningProgram viewer(viewer_command(L"/properties /quit-after 1500 C:\\no-such-file.gif"));
    HWND frame = wait_for_window(viewer.id(), L"Animview Properties");
    ASSERT_TRUE(frame);
    // The frame opens on the Component page: the user goes one tab to the right.
    HWND tabs = FindWindowExW(frame, nullptr, L"SysTabControl32", nullptr);
    ASSERT_TRUE(tabs);
    PostMessageW(tabs, WM_KEYDOWN, VK_RIGHT, 0);
    HWND box = nullptr;
    for (int i = 0; i < 1000 && !box; ++i, Sleep(10)) box = find_child(frame, pages::ids::txtFilename);
    ASSERT_TRUE(box) << "the General page did not come";
    SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(gif.path().c_str()));
    PostMessageW(frame, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(frame, IDOK)));
    EXPECT_EQ(viewer.wait(30000), std::optional<DWORD>(0));
  }
}

}  // namespace
}  // namespace animview::control::testing
