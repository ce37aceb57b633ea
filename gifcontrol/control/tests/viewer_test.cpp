// The sample host tools/viewer plays a GIF with the control registered, and with the
// library beside it when it is not; its property pages edit the control it hosts.
#include <gtest/gtest.h>

#include <optional>

#include "harness.h"
#include "page_ids.h"
#include "uidriver.h"

namespace animview::control::testing {
namespace {

using namespace std::chrono_literals;

std::wstring viewer_path() {
  const char* viewer = std::getenv("ANIMVIEW_VIEWER");
  if (!viewer) {
    ADD_FAILURE() << "ANIMVIEW_VIEWER names the viewer";
    return L"viewer-not-named.exe";
  }
  return windows_path(viewer);
}

DWORD run_viewer(const std::wstring& gif) {
  return run_program(L"\"" + viewer_path() + L"\" /quit-after 1500 \"" + gif + L"\"");
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
    pf::ui::LaunchedProcess viewer(viewer_path(), L"/properties /quit-after 1500 C:\\no-such-file.gif");
    HWND frame =
        pf::ui::wait_for([&] { return pf::ui::find_top_level(viewer.pid(), L"Animview Properties"); }, 20s);
    ASSERT_TRUE(frame);
    // The frame opens on the Component page: the user goes one tab to the right.
    HWND tabs = FindWindowExW(frame, nullptr, L"SysTabControl32", nullptr);
    ASSERT_TRUE(tabs);
    PostMessageW(tabs, WM_KEYDOWN, VK_RIGHT, 0);
    HWND box = pf::ui::wait_for([&] { return pf::ui::child_with_id(frame, pages::ids::txtFilename); }, 10s);
    ASSERT_TRUE(box) << "the General page did not come";
    SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(gif.path().c_str()));
    PostMessageW(frame, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(frame, IDOK)));
    EXPECT_EQ(viewer.wait(30s), std::optional<DWORD>(0));
  }
}

}  // namespace
}  // namespace animview::control::testing
