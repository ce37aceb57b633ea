// The sample host tools/viewer plays a GIF with the control registered, and with the
// library beside it when it is not.
#include <gtest/gtest.h>

#include "harness.h"

namespace animview::control::testing {
namespace {

DWORD run_viewer(const std::wstring& gif) {
  const char* viewer = std::getenv("ANIMVIEW_VIEWER");
  if (!viewer) {
    ADD_FAILURE() << "ANIMVIEW_VIEWER names the viewer";
    return 0xFFFFFFFF;
  }
  return run_program(L"\"" + windows_path(viewer) + L"\" /quit-after 1500 \"" + gif + L"\"");
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

}  // namespace
}  // namespace animview::control::testing
