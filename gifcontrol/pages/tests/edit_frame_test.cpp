// Editing controls through their pages inside a property frame, as a designer's user does:
// typing and choosing on the page, watching Apply light up, pressing Apply, OK or Cancel.
// The frame is the library-independent one in tools/propertyframe, because Wine's own
// frame never applies a page.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame_driver.h"
#include "harness.h"
#include "ids.h"
#include "page_harness.h"
#include "page_ids.h"
#include "property_frame.h"

#include <commctrl.h>

namespace animview::pages::testing {
namespace {

using control::testing::ChangeSink;
using control::testing::connect;
using control::testing::v_bstr;

constexpr DISPID kFilename = 0x68030001, kBorderStyle = 0x68030003, kBackStyle = 0x68030004,
                 kBackColor = 0x68030005;
const std::vector<DISPID> kAllThree{kFilename, kBorderStyle, kBackStyle};

// What a user does on a page, sent to the page's windows from the driving thread.
void type_into(HWND edit, const wchar_t* text) { SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)); }

void choose(HWND list, int item) {
  SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
  SendMessageW(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(list));
}

void choose_in_list_box(HWND list, const wchar_t* text) {
  const LRESULT item = SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
  ASSERT_NE(item, LB_ERR);
  SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(item), 0);
  SendMessageW(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(list));
}

HWND tab_control(HWND frame) { return FindWindowExW(frame, nullptr, WC_TABCONTROLW, nullptr); }

// Brings a page to the front as a click on its tab does.
void select_tab(HWND frame, int index) {
  HWND tabs = tab_control(frame);
  SendMessageW(tabs, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
  NMHDR change{tabs, static_cast<UINT_PTR>(GetDlgCtrlID(tabs)), static_cast<UINT>(TCN_SELCHANGE)};
  SendMessageW(frame, WM_NOTIFY, change.idFrom, reinterpret_cast<LPARAM>(&change));
}

bool lit(HWND button) { return IsWindowEnabled(button) != FALSE; }

class EditFrameTest : public TwoControlsTest {
 protected:
  // From here on, what the controls report to their host is recorded.
  void watch() {
    first_changes_ = ChangeSink::create();
    second_changes_ = ChangeSink::create();
    connect(first_.get(), IID_IPropertyNotifySink, first_changes_.get());
    connect(second_.get(), IID_IPropertyNotifySink, second_changes_.get());
  }
  // Shows the frame on both controls (the first one first) and runs `drive` while it is up.
  void run(const std::function<void(HWND frame)>& drive, frame::FrameRequest request = {}) {
    request.caption = L"Animview";
    request.objects = {first_.get(), second_.get()};
    if (request.pages.empty()) request.pages = {CLSID_General};
    HRESULT hr = E_FAIL;
    drive_frame([&] { hr = frame::show_property_frame(request); }, drive);
    EXPECT_EQ(hr, S_OK);
  }

  ServedPages served_{library_};
  ComPtr<ChangeSink> first_changes_, second_changes_;
};

TEST_F(EditFrameTest, ApplyLightsUpOnAnEditAndWritesAllThreeToTheFirstControlOnly) {
  put(second_.get(), L"Filename", v_bstr(L"C:\\second.gif"));
  watch();
  bool lit_at_first = true, lit_after_typing = false, greyed_after_apply = false, open_after_apply = false;
  run([&](HWND frame) {
    HWND apply = dialog_button(frame, L"Apply");
    lit_at_first = lit(apply);
    type_into(find_child(frame, ids::txtFilename), L"C:\\new.gif");
    lit_after_typing = lit(apply);
    choose(find_child(frame, ids::txtBorderStyle), 0);
    choose(find_child(frame, ids::txtBackStyle), 0);
    click(apply);
    greyed_after_apply = wait_until([&] { return !lit(apply); });
    open_after_apply = IsWindowVisible(frame) != FALSE;
  });
  EXPECT_FALSE(lit_at_first);
  EXPECT_TRUE(lit_after_typing);
  EXPECT_TRUE(greyed_after_apply);
  EXPECT_TRUE(open_after_apply);
  EXPECT_EQ(first_changes_->changes, kAllThree);
  EXPECT_EQ(text_property(first_.get(), L"Filename"), L"C:\\new.gif");
  EXPECT_EQ(text_property(first_.get(), L"BorderStyle"), L"0");
  EXPECT_EQ(text_property(first_.get(), L"BackStyle"), L"0");
  EXPECT_TRUE(second_changes_->changes.empty());
  EXPECT_EQ(text_property(second_.get(), L"Filename"), L"C:\\second.gif");
}

TEST_F(EditFrameTest, OpeningAListWithoutChoosingLightsApplyAndOkWritesBack) {
  for (int list : {ids::txtBackStyle, ids::txtBorderStyle}) {
    SCOPED_TRACE(list);
    watch();
    const std::wstring border = text_property(first_.get(), L"BorderStyle");
    const std::wstring back = text_property(first_.get(), L"BackStyle");
    bool lit_after_opening = false;
    run([&](HWND frame) {
      HWND combo = find_child(frame, list);
      SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
      SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
      lit_after_opening = lit(dialog_button(frame, L"Apply"));
      click(dialog_button(frame, L"OK"));
      wait_until([&] { return !IsWindow(frame); });
    });
    EXPECT_TRUE(lit_after_opening);
    EXPECT_EQ(first_changes_->changes, kAllThree);
    EXPECT_EQ(text_property(first_.get(), L"BorderStyle"), border);
    EXPECT_EQ(text_property(first_.get(), L"BackStyle"), back);
  }
}

TEST_F(EditFrameTest, ControlWithAFileLightsApplyAtOnce) {
  put(first_.get(), L"Filename", v_bstr(L"C:\\first.gif"));
  watch();
  bool lit_at_first = false;
  run([&](HWND frame) {
    lit_at_first = lit(dialog_button(frame, L"Apply"));
    click(dialog_button(frame, L"OK"));
  });
  EXPECT_TRUE(lit_at_first);
  EXPECT_EQ(first_changes_->changes, kAllThree);
  EXPECT_EQ(text_property(first_.get(), L"Filename"), L"C:\\first.gif");
}

TEST_F(EditFrameTest, EmptyFileNameBoxClearsFilename) {
  put(first_.get(), L"Filename", v_bstr(L"C:\\old.gif"));
  watch();
  run([&](HWND frame) {
    type_into(find_child(frame, ids::txtFilename), L"");
    click(dialog_button(frame, L"OK"));
  });
  EXPECT_EQ(first_changes_->changes, kAllThree);
  EXPECT_EQ(text_property(first_.get(), L"Filename"), L"");
}

TEST_F(EditFrameTest, StyleThatDoesNotConvertFailsApplyKeepingEarlierWritesAndTheEdits) {
  watch();
  const std::wstring border = text_property(first_.get(), L"BorderStyle");
  std::wstring message;
  bool open_after_failure = false, lit_after_failure = false, edits_kept = false;
  run([&](HWND frame) {
    type_into(find_child(frame, ids::txtFilename), L"C:\\kept.gif");
    // An item no user could pick: the text is no 16-bit integer.
    HWND list = find_child(frame, ids::txtBorderStyle);
    const auto bad = SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Opaque"));
    choose(list, static_cast<int>(bad));
    click(dialog_button(frame, L"OK"));
    HWND box = wait_for_message_box(frame);
    if (!box) return;
    message = message_text(box);
    click(dialog_button(box, L"OK"));
    wait_until([&] { return !IsWindow(box); });
    open_after_failure = IsWindowVisible(frame) != FALSE;
    lit_after_failure = lit(dialog_button(frame, L"Apply"));
    edits_kept = window_text(list) == L"Opaque";
  });
  EXPECT_NE(message.find(L"0x8"), std::wstring::npos) << "message: " << std::string(message.begin(), message.end());
  EXPECT_TRUE(open_after_failure);
  EXPECT_TRUE(lit_after_failure);
  EXPECT_TRUE(edits_kept);
  EXPECT_EQ(first_changes_->changes, std::vector<DISPID>{kFilename});
  EXPECT_EQ(text_property(first_.get(), L"Filename"), L"C:\\kept.gif");
  EXPECT_EQ(text_property(first_.get(), L"BorderStyle"), border);
}

TEST_F(EditFrameTest, CancelLeavesTheControlsAlone) {
  put(first_.get(), L"Filename", v_bstr(L"C:\\old.gif"));
  watch();
  run([&](HWND frame) {
    type_into(find_child(frame, ids::txtFilename), L"C:\\typed.gif");
    choose(find_child(frame, ids::txtBackStyle), 0);
    click(dialog_button(frame, L"Cancel"));
  });
  EXPECT_TRUE(first_changes_->changes.empty());
  EXPECT_TRUE(second_changes_->changes.empty());
  EXPECT_EQ(text_property(first_.get(), L"Filename"), L"C:\\old.gif");
}

// The designer's whole path: the pages the control names, opened on the property the user
// asked for, and the colour page editing BackColor.
TEST_F(EditFrameTest, EditsThroughEveryPageTheControlNames) {
  const auto specify = first_.query<ISpecifyPropertyPages>(IID_ISpecifyPropertyPages);
  const auto browsing = first_.query<IPerPropertyBrowsing>(IID_IPerPropertyBrowsing);
  ASSERT_TRUE(specify && browsing);
  CAUUID named{};
  ASSERT_EQ(specify->GetPages(&named), S_OK);
  frame::FrameRequest request;
  request.pages.assign(named.pElems, named.pElems + named.cElems);
  CoTaskMemFree(named.pElems);
  CLSID border_page{};
  ASSERT_EQ(browsing->MapPropertyToPage(kBorderStyle, &border_page), S_OK);
  for (ULONG i = 0; i < request.pages.size(); ++i)
    if (request.pages[i] == border_page) request.initial_page = i;
  request.initial_property = kBorderStyle;
  watch();

  const DWORD ui_thread = GetCurrentThreadId();
  std::vector<std::wstring> tabs;
  bool border_focused = false, colour_shown = false;
  run(
      [&](HWND frame) {
        tabs = tab_captions(tab_control(frame));
        GUITHREADINFO focus{};
        focus.cbSize = sizeof focus;
        border_focused = GetGUIThreadInfo(ui_thread, &focus) && focus.hwndFocus == find_child(frame, ids::txtBorderStyle);
        save_screenshot(frame, L"frame-general.bmp");
        select_tab(frame, 0);
        save_screenshot(frame, L"frame-component.bmp");
        select_tab(frame, 2);
        HWND colours = find_child(frame, ids::lstColors);
        colour_shown = colours && IsWindowVisible(colours);
        choose_in_list_box(colours, L"Red");
        save_screenshot(frame, L"frame-color.bmp");
        click(dialog_button(frame, L"OK"));
      },
      request);
  EXPECT_EQ(tabs, (std::vector<std::wstring>{L"What is that component ?", L"General", L"Color"}));
  EXPECT_TRUE(border_focused);
  EXPECT_TRUE(colour_shown);
  // The General page held no edits, so only the colour was applied.
  EXPECT_EQ(first_changes_->changes, std::vector<DISPID>{kBackColor});
  EXPECT_EQ(text_property(first_.get(), L"BackColor"), L"255");
}

}  // namespace
}  // namespace animview::pages::testing
