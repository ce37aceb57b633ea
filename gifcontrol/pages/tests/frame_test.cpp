// The pages inside the platform's property frame (OleCreatePropertyFrame). Wine's frame
// shows pages but never applies them; editing through a frame is tested with our own
// frame in edit_frame_test.cpp.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame_driver.h"
#include "harness.h"
#include "ids.h"
#include "page_harness.h"
#include "page_ids.h"

#include <commctrl.h>
#include <prsht.h>

namespace animview::pages::testing {
namespace {

using control::testing::v_bstr;
using control::testing::v_i2;

// Shows the platform's frame on `objects` with `pages` and runs `drive` while it is up.
void run_platform_frame(std::vector<IUnknown*> objects, std::vector<CLSID> pages,
                        const std::function<void(HWND frame)>& drive) {
  HRESULT hr = E_FAIL;
  drive_frame(
      [&] {
        hr = OleCreatePropertyFrame(nullptr, 0, 0, L"Animview", static_cast<ULONG>(objects.size()), objects.data(),
                                    static_cast<ULONG>(pages.size()), pages.data(), LOCALE_USER_DEFAULT, 0, nullptr);
      },
      drive);
  EXPECT_EQ(hr, S_OK);
}

HWND tab_control(HWND frame) { return reinterpret_cast<HWND>(SendMessageW(frame, PSM_GETTABCONTROL, 0, 0)); }

class PlatformFrameTest : public TwoControlsTest {
 protected:

  ServedPages served_{library_};
};

TEST_F(PlatformFrameTest, ShowsBothPagesWithTheFirstControlsValues) {
  put(first_.get(), L"Filename", v_bstr(L"C:\\first.gif"));
  put(first_.get(), L"BorderStyle", v_i2(0));
  put(first_.get(), L"BackStyle", v_i2(1));
  put(second_.get(), L"Filename", v_bstr(L"C:\\second.gif"));
  put(second_.get(), L"BorderStyle", v_i2(1));
  put(second_.get(), L"BackStyle", v_i2(0));

  std::wstring shown_file, shown_border, shown_back;
  std::vector<std::wstring> tabs;
  bool component_shown = false;
  run_platform_frame({first_.get(), second_.get()}, {CLSID_General, CLSID_Component}, [&](HWND frame) {
    shown_file = window_text(find_child(frame, ids::txtFilename));
    shown_border = window_text(find_child(frame, ids::txtBorderStyle));
    shown_back = window_text(find_child(frame, ids::txtBackStyle));
    tabs = tab_captions(tab_control(frame));
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

// The pages as a designer asks the control for them, each one brought to the front.
TEST_F(PlatformFrameTest, ShowsEveryPageTheControlNames) {
  const auto specify = first_.query<ISpecifyPropertyPages>(IID_ISpecifyPropertyPages);
  ASSERT_TRUE(specify);
  CAUUID named{};
  ASSERT_EQ(specify->GetPages(&named), S_OK);
  const std::vector<CLSID> pages(named.pElems, named.pElems + named.cElems);
  CoTaskMemFree(named.pElems);

  std::vector<std::wstring> tabs;
  std::vector<bool> shown;
  run_platform_frame({first_.get()}, pages, [&](HWND frame) {
    tabs = tab_captions(tab_control(frame));
    const int telltale[] = {ids::lblWelcome, ids::txtFilename, ids::lstColors};
    for (std::size_t i = 0; i < std::size(telltale); ++i) {
      SendMessageW(frame, PSM_SETCURSEL, i, 0);
      HWND child = find_child(frame, telltale[i]);
      shown.push_back(child && IsWindowVisible(child));
    }
  });
  EXPECT_EQ(tabs, (std::vector<std::wstring>{L"What is that component ?", L"General", L"Color"}));
  EXPECT_EQ(shown, (std::vector<bool>{true, true, true}));
}

// A designer's "Properties..." command: the control opens the frame itself, on itself.
// (Wine's frame takes no owner window, so which window owns it is not checked here.)
TEST_F(PlatformFrameTest, PropertiesVerbOpensTheControlsPages) {
  const auto object = first_.query<IOleObject>(IID_IOleObject);
  ASSERT_TRUE(object);
  const control::testing::HostWindow owner(320, 200);
  HRESULT hr = E_FAIL;
  std::vector<std::wstring> tabs;
  drive_frame([&] { hr = object->DoVerb(OLEIVERB_PROPERTIES, nullptr, nullptr, 0, owner.get(), nullptr); },
              [&](HWND frame) { tabs = tab_captions(tab_control(frame)); });
  EXPECT_EQ(hr, S_OK);
  EXPECT_EQ(tabs, (std::vector<std::wstring>{L"What is that component ?", L"General", L"Color"}));
}

}  // namespace
}  // namespace animview::pages::testing
