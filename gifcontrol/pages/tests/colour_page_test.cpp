// The library's own colour page: served where the control names it, showing the first
// control's BackColor among its choices and writing the chosen one back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harness.h"
#include "ids.h"
#include "page_harness.h"
#include "page_ids.h"

namespace animview::pages::testing {
namespace {

using control::testing::ChangeSink;
using control::testing::connect;
using control::testing::HostWindow;
using control::testing::Library;
using control::testing::OleScope;
using control::testing::put_property;
using control::testing::v_i4;

constexpr DISPID kBackColor = 0x68030005;

class ColourPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    control_ = library_.create().query<IDispatch>(IID_IDispatch);
    ASSERT_TRUE(control_);
    page_ = create_page(library_, control::kOwnColorPage);
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
  void show(long back_colour) {
    ASSERT_EQ(put_property(control_.get(), L"BackColor", v_i4(back_colour)), S_OK);
    IUnknown* objects[] = {control_.get()};
    ASSERT_EQ(page_->SetObjects(1, objects), S_OK);
    RECT rect{0, 0, 500, 230};
    ASSERT_EQ(page_->Activate(host_.get(), &rect, TRUE), S_OK);
    list_ = GetDlgItem(page_window(host_.get()), ids::lstColors);
    ASSERT_TRUE(list_);
  }
  std::wstring selected() {
    const auto item = SendMessageW(list_, LB_GETCURSEL, 0, 0);
    if (item < 0) return L"";
    std::wstring text(static_cast<std::size_t>(SendMessageW(list_, LB_GETTEXTLEN, item, 0)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(SendMessageW(list_, LB_GETTEXT, item, reinterpret_cast<LPARAM>(text.data()))));
    return text;
  }
  void choose(const wchar_t* name) {
    const auto item = SendMessageW(list_, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name));
    ASSERT_GE(item, 0) << "no item";
    SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(item), 0);
    SendMessageW(GetParent(list_), WM_COMMAND, MAKEWPARAM(ids::lstColors, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list_));
  }

  OleScope ole_;
  Library library_;
  HostWindow host_{640, 400};
  ComPtr<IDispatch> control_;
  ComPtr<IPropertyPage2> page_;
  ComPtr<RecordingPageSite> site_ = RecordingPageSite::create();
  HWND list_ = nullptr;
};

TEST_F(ColourPageTest, ShowsTheControlsColourAmongColoursAndSystemColours) {
  struct Case {
    long value;
    const wchar_t* name;
  };
  const Case cases[] = {
      {0x0000FF, L"Red"},
      {static_cast<long>(0x80000000UL | COLOR_BTNFACE), L"Button Face"},
      {static_cast<long>(0x80000000UL | COLOR_WINDOW), L"Window Background"},
      {0x123456, L""},  // no item for it: nothing chosen
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    TearDown();
    SetUp();
    show(c.value);
    EXPECT_EQ(selected(), c.name);
    EXPECT_EQ(page_->IsPageDirty(), S_FALSE);
  }
}

TEST_F(ColourPageTest, ChoosingMarksChangedAndApplyWritesBackColor) {
  show(0x000000);
  const auto changes = ChangeSink::create();
  connect(control_.get(), IID_IPropertyNotifySink, changes.get());
  choose(L"Highlight");
  EXPECT_EQ(page_->IsPageDirty(), S_OK);
  EXPECT_EQ(site_->statuses, (std::vector<DWORD>{PROPPAGESTATUS_DIRTY}));
  ASSERT_EQ(page_->Apply(), S_OK);
  EXPECT_EQ(changes->changes, (std::vector<DISPID>{kBackColor}));
  EXPECT_EQ(text_property(control_.get(), L"BackColor"), std::to_wstring(0x80000000UL | COLOR_HIGHLIGHT));
}

TEST_F(ColourPageTest, NamedByTheControlInThirdPlace) {
  const auto pages = library_.create().query<ISpecifyPropertyPages>(IID_ISpecifyPropertyPages);
  ASSERT_TRUE(pages);
  CAUUID named{};
  ASSERT_EQ(pages->GetPages(&named), S_OK);
  ASSERT_EQ(named.cElems, 3u);
  EXPECT_EQ(named.pElems[0], CLSID_Component);
  EXPECT_EQ(named.pElems[1], CLSID_General);
  // Wine registers no standard colour page: the library's own, which it serves.
  const CLSID colour = named.pElems[2];
  CoTaskMemFree(named.pElems);
  EXPECT_EQ(colour, control::kOwnColorPage);
  EXPECT_TRUE(create_page(library_, colour));
}

}  // namespace
}  // namespace animview::pages::testing
