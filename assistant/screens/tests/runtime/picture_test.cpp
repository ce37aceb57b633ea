// Pictures from the program's resources: a screen's background picture and a
// picture box's bitmap, drawn from the top-left corner and cut at the edges,
// from a bitmap and from JPEG data.

#include "runtime_test_support.h"

#include "test_pictures.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace pf::testing {
namespace {

using layout::ControlKind;
using layout::PictureKind;

// JPEG is lossy: a colour within a few steps per channel counts as the same.
bool close_to(Color seen, Color wanted) {
    for (int shift : {0, 8, 16}) {
        const int a = static_cast<int>((seen >> shift) & 0xFF);
        const int b = static_cast<int>((wanted >> shift) & 0xFF);
        if (std::abs(a - b) > 12) return false;
    }
    return true;
}

constexpr Color red = 0x1E1EDC;    // (220, 30, 30)
constexpr Color blue = 0xDC1E1E;   // (30, 30, 220)
constexpr Color green = 0x1EC81E;  // (30, 200, 30)

TEST(PictureTest, ScreenBackgroundPictureFromTheTopLeftCornerThenTheBackColour) {
    for (const PictureKind kind : {PictureKind::bitmap, PictureKind::image}) {
        SCOPED_TRACE(kind == PictureKind::bitmap ? "bitmap" : "JPEG");
        RecordingApplication app;
        layout::ScreenSpec design = test_screen({});
        design.back_color = colors::white;
        design.picture = {kind, kind == PictureKind::bitmap ? PF_TEST_BITMAP : PF_TEST_JPEG};
        win32::Screen screen(app.get(), design);
        const Rendering painted(screen.window());
        EXPECT_TRUE(close_to(painted.at(5, 5), red));
        EXPECT_TRUE(close_to(painted.at(34, 4), blue));
        EXPECT_TRUE(close_to(painted.at(34, 25), green));
        EXPECT_EQ(painted.at(45, 5), colors::white) << "right of the picture";
        EXPECT_EQ(painted.at(5, 35), colors::white) << "below the picture";
    }
}

TEST(PictureTest, PictureBoxCutsItsPictureAtItsEdges) {
    RecordingApplication app;
    win32::Screen screen(app.get(), test_screen({{.name = "Small", .kind = ControlKind::picture_box,
                                                  .place = {150, 150, 375, 300}, .back_color = colors::black,
                                                  .picture = {PictureKind::bitmap, PF_TEST_BITMAP},
                                                  .tab_index = 0}}));
    const win32::PictureBox& small = screen.picture_box("Small");
    EXPECT_EQ(small.picture_size().cx, 40);
    EXPECT_EQ(small.picture_size().cy, 30);
    const Rendering painted(small.window());
    ASSERT_EQ(painted.width(), 25);
    ASSERT_EQ(painted.height(), 20);
    EXPECT_TRUE(close_to(painted.at(0, 0), red));
    EXPECT_TRUE(close_to(painted.at(19, 19), red));
    EXPECT_TRUE(close_to(painted.at(24, 0), blue));
    EXPECT_TRUE(close_to(painted.at(24, 19), green));
}

TEST(PictureTest, MissingPictureIsAnErrorNamingTheControl) {
    RecordingApplication app;
    try {
        win32::Screen screen(app.get(), test_screen({{.name = "Picture9", .kind = ControlKind::picture_box,
                                                      .place = {150, 150, 615, 615},
                                                      .picture = {PictureKind::icon, 4242}, .tab_index = 0}}));
        ADD_FAILURE() << "no error";
    } catch (const RuntimeError& error) {
        EXPECT_NE(error.where().find(L"Picture9"), std::wstring::npos);
        EXPECT_NE(error.where().find(L"4242"), std::wstring::npos);
    }
}

}  // namespace
}  // namespace pf::testing
