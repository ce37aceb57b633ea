// The General page driven directly through IPropertyPage: layout, the selection step on
// the first control, the changed flag and the apply step.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harness.h"
#include "page_harness.h"
#include "page_ids.h"

namespace animview::pages::testing {
namespace {

using control::testing::ChangeSink;
using control::testing::connect;
using control::testing::HostWindow;
using control::testing::v_bstr;
using control::testing::v_i2;

constexpr DISPID kFilename = 0x68030001, kBorderStyle = 0x68030003, kBackStyle = 0x68030004;

class GeneralPageTest : public TwoControlsTest {
 protected:
  void SetUp() override {
    TwoControlsTest::SetUp();
    if (HasFatalFailure()) return;
    page_ = create_page(library_, CLSID_General);
    ASSERT_TRUE(page_);
    ASSERT_EQ(page_->SetPageSite(site_.get()), S_OK);
  }
  void TearDown() override {
    if (page_) {
      page_->Deactivate();
      page_->SetObjects(0, nullptr);
      page_->SetPageSite(nullptr);
    }
  }

  // Selects both controls (the first one first) and shows the page.
  void show_both() {
    IUnknown* objects[] = {first_.get(), second_.get()};
    ASSERT_EQ(page_->SetObjects(2, objects), S_OK);
    activate();
  }
  void activate() {
    RECT rect{0, 0, twips_to_px_x(7935), twips_to_px_y(3495)};
    ASSERT_EQ(page_->Activate(host_.get(), &rect, TRUE), S_OK);
    ASSERT_EQ(page_->Show(SW_SHOW), S_OK);
    window_ = page_window(host_.get());
    ASSERT_TRUE(window_);
  }
  HWND child(int id) {
    HWND found = GetDlgItem(window_, id);
    EXPECT_TRUE(found) << id;
    return found;
  }
  // Chooses an item of a list as a user does: the selection moves and the list tells its
  // page.
  void choose(int id, int item) {
    SendMessageW(child(id), CB_SETCURSEL, static_cast<WPARAM>(item), 0);
    SendMessageW(window_, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(child(id)));
  }

  HostWindow host_{640, 400};
  ComPtr<IPropertyPage2> page_;
  ComPtr<RecordingPageSite> site_ = RecordingPageSite::create();
  HWND window_ = nullptr;
};

TEST_F(GeneralPageTest, InfoGivesCaptionAndSizeInPixels) {
  PROPPAGEINFO info{};
  ASSERT_EQ(page_->GetPageInfo(&info), S_OK);
  EXPECT_EQ(std::wstring(info.pszTitle), L"General");
  EXPECT_EQ(info.size.cx, twips_to_px_x(7935));
  EXPECT_EQ(info.size.cy, twips_to_px_y(3495));
  CoTaskMemFree(info.pszTitle);
}

TEST_F(GeneralPageTest, EveryElementInItsPlaceWithItsTextInTabOrder) {
  struct Element {
    int id;
    const wchar_t* window_class;
    const wchar_t* text;
    int left, top, width, height;
  };
  // In tab-index order.
  const Element table[] = {
      {ids::lblBackStyle, L"Static", L"BackStyle:", 90, 120, 2700, 240},
      {ids::lblBorderStyle, L"Static", L"BorderStyle:", 90, 770, 2700, 240},
      {ids::lblFilename, L"Static", L"Filename:", 120, 1425, 2700, 240},
      {ids::txtFilename, L"Edit", L"", 120, 1680, 5130, 330},
      {ids::txtBackStyle, L"ComboBox", L"", 90, 345, 5190, 315},
      {ids::txtBorderStyle, L"ComboBox", L"", 90, 1020, 5160, 315},
      {ids::Label2, L"Static", L"0 - Transparent", 5505, 225, 2340, 240},
      {ids::Label3, L"Static", L"1 - Opaque", 5520, 450, 2325, 225},
      {ids::Label4, L"Static", L"0 - None", 5460, 975, 2340, 240},
      {ids::Label5, L"Static", L"1 - Fixed Single", 5475, 1200, 2325, 225},
      {ids::Label6, L"Static", L"The File to load", 5475, 1770, 2520, 225},
  };
  activate();
  const std::vector<HWND> order = children(window_);
  ASSERT_EQ(order.size(), std::size(table));
  for (std::size_t i = 0; i < order.size(); ++i) {
    const Element& e = table[i];
    SCOPED_TRACE(e.id);
    EXPECT_EQ(GetDlgCtrlID(order[i]), e.id);
    EXPECT_EQ(class_name(order[i]), e.window_class);
    if (e.window_class != std::wstring(L"ComboBox")) {
      EXPECT_EQ(window_text(order[i]), e.text);
    }
    const RECT place = place_in_parent(order[i]);
    EXPECT_EQ(place.left, twips_to_px_x(e.left));
    EXPECT_EQ(place.top, twips_to_px_y(e.top));
    EXPECT_EQ(place.right - place.left, twips_to_px_x(e.width));
    // A list's window is as tall as its field while it is closed.
    EXPECT_EQ(place.bottom - place.top, twips_to_px_y(e.height));
    const bool editable = e.window_class != std::wstring(L"Static");
    EXPECT_EQ((GetWindowLongW(order[i], GWL_STYLE) & WS_TABSTOP) != 0, editable);
  }
  for (int id : {ids::txtBackStyle, ids::txtBorderStyle}) {
    // Pick only: the list has no edit field to type into.
    EXPECT_EQ(GetWindowLongW(child(id), GWL_STYLE) & 3, CBS_DROPDOWNLIST);
  }
}

TEST_F(GeneralPageTest, CreationFillsBothListsAndLeavesThePageClean) {
  activate();
  for (int id : {ids::txtBackStyle, ids::txtBorderStyle})
    EXPECT_EQ(items(child(id)), (std::vector<std::wstring>{L"0", L"1"}));
  EXPECT_EQ(page_->IsPageDirty(), S_FALSE);
  EXPECT_TRUE(site_->statuses.empty());
}

TEST_F(GeneralPageTest, ShowsTheFirstControlsValues) {
  put(first_.get(), L"Filename", v_bstr(L"C:\\first.gif"));
  put(first_.get(), L"BorderStyle", v_i2(0));
  put(first_.get(), L"BackStyle", v_i2(1));
  put(second_.get(), L"Filename", v_bstr(L"C:\\second.gif"));
  put(second_.get(), L"BorderStyle", v_i2(1));
  put(second_.get(), L"BackStyle", v_i2(0));
  show_both();
  EXPECT_EQ(window_text(child(ids::txtFilename)), L"C:\\first.gif");
  EXPECT_EQ(window_text(child(ids::txtBorderStyle)), L"0");
  EXPECT_EQ(window_text(child(ids::txtBackStyle)), L"1");
  EXPECT_EQ(SendMessageW(child(ids::txtBackStyle), CB_GETCURSEL, 0, 0), 1);
  // Filling the file-name box is a change of its text.
  EXPECT_EQ(page_->IsPageDirty(), S_OK);
  ASSERT_FALSE(site_->statuses.empty());
  EXPECT_TRUE(site_->statuses.front() & PROPPAGESTATUS_DIRTY);
}

TEST_F(GeneralPageTest, ObjectsGivenAfterActivationAreShownToo) {
  put(first_.get(), L"BorderStyle", v_i2(0));
  activate();
  IUnknown* objects[] = {first_.get()};
  ASSERT_EQ(page_->SetObjects(1, objects), S_OK);
  EXPECT_EQ(window_text(child(ids::txtBorderStyle)), L"0");
}

TEST_F(GeneralPageTest, ControlWithoutFileLeavesThePageClean) {
  show_both();
  EXPECT_EQ(window_text(child(ids::txtFilename)), L"");
  EXPECT_EQ(page_->IsPageDirty(), S_FALSE);
  EXPECT_TRUE(site_->statuses.empty());
}

TEST_F(GeneralPageTest, EachEditingEventMarksThePageChangedAtOnce) {
  struct Event {
    const char* name;
    void (*act)(HWND page);
  };
  const Event events[] = {
      {"typing in the file-name box",
       [](HWND page) { SetWindowTextW(GetDlgItem(page, ids::txtFilename), L"x.gif"); }},
      {"dropping down the back-style list",
       [](HWND page) { SendMessageW(GetDlgItem(page, ids::txtBackStyle), CB_SHOWDROPDOWN, TRUE, 0); }},
      {"dropping down the border-style list",
       [](HWND page) { SendMessageW(GetDlgItem(page, ids::txtBorderStyle), CB_SHOWDROPDOWN, TRUE, 0); }},
      {"releasing a key in the back-style list",
       [](HWND page) { SendMessageW(GetDlgItem(page, ids::txtBackStyle), WM_KEYUP, VK_SHIFT, 0xC0000001); }},
      {"releasing a key in the border-style list",
       [](HWND page) { SendMessageW(GetDlgItem(page, ids::txtBorderStyle), WM_KEYUP, VK_SHIFT, 0xC0000001); }},
      {"choosing in the back-style list",
       [](HWND page) {
         SendMessageW(page, WM_COMMAND, MAKEWPARAM(ids::txtBackStyle, CBN_SELCHANGE),
                      reinterpret_cast<LPARAM>(GetDlgItem(page, ids::txtBackStyle)));
       }},
      {"choosing in the border-style list",
       [](HWND page) {
         SendMessageW(page, WM_COMMAND, MAKEWPARAM(ids::txtBorderStyle, CBN_SELCHANGE),
                      reinterpret_cast<LPARAM>(GetDlgItem(page, ids::txtBorderStyle)));
       }},
  };
  for (const Event& event : events) {
    SCOPED_TRACE(event.name);
    TearDown();
    SetUp();
    show_both();
    ASSERT_EQ(page_->IsPageDirty(), S_FALSE);
    event.act(window_);
    EXPECT_EQ(page_->IsPageDirty(), S_OK);
    // A list that drops down may also tell of its selection: each report says "dirty".
    ASSERT_FALSE(site_->statuses.empty());
    for (DWORD status : site_->statuses) EXPECT_EQ(status, static_cast<DWORD>(PROPPAGESTATUS_DIRTY));
    for (int id : {ids::txtBackStyle, ids::txtBorderStyle}) SendMessageW(child(id), CB_SHOWDROPDOWN, FALSE, 0);
  }
}

TEST_F(GeneralPageTest, OtherEventsLeaveThePageClean) {
  show_both();
  SetFocus(child(ids::txtBackStyle));
  SetFocus(child(ids::txtFilename));
  SendMessageW(child(ids::txtFilename), WM_KEYUP, VK_SHIFT, 0xC0000001);
  SendMessageW(child(ids::Label2), WM_LBUTTONDOWN, 0, 0);
  EXPECT_EQ(page_->IsPageDirty(), S_FALSE);
  EXPECT_TRUE(site_->statuses.empty());
}

TEST_F(GeneralPageTest, ApplyWritesAllThreeInOrderToTheFirstControlOnly) {
  put(second_.get(), L"Filename", v_bstr(L"C:\\second.gif"));
  show_both();
  const auto first_changes = ChangeSink::create();
  const auto second_changes = ChangeSink::create();
  connect(first_.get(), IID_IPropertyNotifySink, first_changes.get());
  connect(second_.get(), IID_IPropertyNotifySink, second_changes.get());
  SetWindowTextW(child(ids::txtFilename), L"C:\\new.gif");
  choose(ids::txtBorderStyle, 0);
  choose(ids::txtBackStyle, 0);
  ASSERT_EQ(page_->Apply(), S_OK);
  EXPECT_EQ(first_changes->changes, (std::vector<DISPID>{kFilename, kBorderStyle, kBackStyle}));
  EXPECT_EQ(text_property(first_.get(), L"Filename"), L"C:\\new.gif");
  EXPECT_EQ(text_property(first_.get(), L"BorderStyle"), L"0");
  EXPECT_EQ(text_property(first_.get(), L"BackStyle"), L"0");
  EXPECT_TRUE(second_changes->changes.empty());
  EXPECT_EQ(text_property(second_.get(), L"Filename"), L"C:\\second.gif");
  // The page leaves clearing its flag to the frame.
  EXPECT_EQ(page_->IsPageDirty(), S_OK);
}

TEST_F(GeneralPageTest, UntouchedValuesAreWrittenBackToo) {
  put(first_.get(), L"BorderStyle", v_i2(0));
  show_both();
  const auto changes = ChangeSink::create();
  connect(first_.get(), IID_IPropertyNotifySink, changes.get());
  ASSERT_EQ(page_->Apply(), S_OK);
  EXPECT_EQ(changes->changes, (std::vector<DISPID>{kFilename, kBorderStyle, kBackStyle}));
  EXPECT_EQ(text_property(first_.get(), L"BorderStyle"), L"0");
}

TEST_F(GeneralPageTest, EmptyFileNameBoxClearsFilename) {
  put(first_.get(), L"Filename", v_bstr(L"C:\\old.gif"));
  show_both();
  SetWindowTextW(child(ids::txtFilename), L"");
  ASSERT_EQ(page_->Apply(), S_OK);
  EXPECT_EQ(text_property(first_.get(), L"Filename"), L"");
}

TEST_F(GeneralPageTest, StyleThatDoesNotConvertStopsApplyKeepingEarlierWrites) {
  struct Case {
    int list;
    std::vector<DISPID> written;  // before the failure
  };
  const Case cases[] = {
      {ids::txtBorderStyle, {kFilename}},
      {ids::txtBackStyle, {kFilename, kBorderStyle}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.list);
    TearDown();
    SetUp();
    show_both();
    const auto changes = ChangeSink::create();
    connect(first_.get(), IID_IPropertyNotifySink, changes.get());
    SetWindowTextW(child(ids::txtFilename), L"C:\\kept.gif");
    choose(ids::txtBorderStyle, 0);
    // A list item no user could pick: the text is no 16-bit integer.
    const auto bad = SendMessageW(child(c.list), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Opaque"));
    choose(c.list, static_cast<int>(bad));
    EXPECT_TRUE(FAILED(page_->Apply()));
    EXPECT_EQ(changes->changes, c.written);
    EXPECT_EQ(text_property(first_.get(), L"Filename"), L"C:\\kept.gif");
  }
}

TEST_F(GeneralPageTest, EditPropertyFocusesItsElement) {
  show_both();
  SetForegroundWindow(host_.get());
  const std::pair<DISPID, int> cases[] = {
      {kFilename, ids::txtFilename}, {kBorderStyle, ids::txtBorderStyle}, {kBackStyle, ids::txtBackStyle}};
  for (const auto& [dispid, id] : cases) {
    ASSERT_EQ(page_->EditProperty(dispid), S_OK);
    EXPECT_EQ(GetFocus(), child(id)) << id;
  }
  EXPECT_EQ(page_->EditProperty(0x68030005), E_NOTIMPL);
}

}  // namespace
}  // namespace animview::pages::testing
