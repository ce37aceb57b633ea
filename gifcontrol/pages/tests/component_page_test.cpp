// The Component page: caption, size and its four lines, the first in its own face.
#include <gtest/gtest.h>

#include <string>

#include "harness.h"
#include "page_harness.h"
#include "page_ids.h"

namespace animview::pages::testing {
namespace {

using control::testing::HostWindow;
using control::testing::Library;
using control::testing::OleScope;

class ComponentPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    page_ = create_page(library_, CLSID_Component);
    ASSERT_TRUE(page_);
  }
  void TearDown() override {
    if (page_) page_->Deactivate();
  }
  OleScope ole_;
  Library library_;
  HostWindow host_{640, 400};
  ComPtr<IPropertyPage2> page_;
};

TEST_F(ComponentPageTest, InfoGivesCaptionAndSize) {
  PROPPAGEINFO info{};
  ASSERT_EQ(page_->GetPageInfo(&info), S_OK);
  EXPECT_EQ(std::wstring(info.pszTitle), L"What is that component ?");
  EXPECT_EQ(info.size.cx, twips_to_px_x(7740));
  EXPECT_EQ(info.size.cy, twips_to_px_y(3675));
  CoTaskMemFree(info.pszTitle);
}

TEST_F(ComponentPageTest, FourLinesInAColumnWelcomeFirstInBoldItalic) {
  RECT rect{0, 0, twips_to_px_x(7740), twips_to_px_y(3675)};
  ASSERT_EQ(page_->Activate(host_.get(), &rect, TRUE), S_OK);
  HWND page = page_window(host_.get());
  const int lines[] = {ids::lblWelcome, ids::lblThanks, ids::lblWhat, ids::lblLight};
  int bottom = 0;
  for (int id : lines) {
    HWND label = GetDlgItem(page, id);
    ASSERT_TRUE(label) << id;
    EXPECT_EQ(class_name(label), L"Static");
    EXPECT_FALSE(window_text(label).empty());
    const RECT place = place_in_parent(label);
    EXPECT_GE(place.top, bottom) << id;
    EXPECT_LE(place.right, rect.right);
    EXPECT_LE(place.bottom, rect.bottom);
    bottom = place.bottom;
  }
  EXPECT_EQ(window_text(GetDlgItem(page, ids::lblWelcome)), L"Welcome !");
  const std::wstring what = window_text(GetDlgItem(page, ids::lblWhat));
  EXPECT_NE(what.find(L"animated GIF"), std::wstring::npos);
  const std::wstring light = window_text(GetDlgItem(page, ids::lblLight));
  EXPECT_NE(light.find(L"memory"), std::wstring::npos);
  EXPECT_NE(light.find(L"browser"), std::wstring::npos);

  LOGFONTW face{};
  const auto font = reinterpret_cast<HFONT>(SendMessageW(GetDlgItem(page, ids::lblWelcome), WM_GETFONT, 0, 0));
  ASSERT_TRUE(font);
  ASSERT_NE(GetObjectW(font, sizeof face, &face), 0);
  EXPECT_EQ(std::wstring(face.lfFaceName), L"MS Sans Serif");
  EXPECT_EQ(face.lfWeight, FW_BOLD);
  EXPECT_TRUE(face.lfItalic);
  // 13.5 points: 270 twips.
  EXPECT_EQ(face.lfHeight, -twips_to_px_y(270));
}

}  // namespace
}  // namespace animview::pages::testing
