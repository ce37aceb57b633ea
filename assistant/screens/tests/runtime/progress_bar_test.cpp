// The progress bar: Min, Max and a single-precision Value that reads back what
// was written; a Value outside Min..Max is an error and changes nothing.

#include "runtime_test_support.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace pf::testing {
namespace {

TEST(ProgressBarTest, ValueReadsBackWhatWasWrittenAndTheBarFollows) {
    RecordingApplication app;
    win32::Screen screen(app.get(), test_screen({{.name = "UpdateStatus", .kind = layout::ControlKind::progress_bar,
                                                  .place = {240, 4200, 6000, 255}, .tab_index = 0, .min = 0,
                                                  .max = 6000}}));
    win32::ProgressBar& bar = screen.progress_bar("UpdateStatus");
    EXPECT_EQ(bar.min(), 0.0f);
    EXPECT_EQ(bar.max(), 6000.0f);
    EXPECT_EQ(bar.value(), 0.0f);
    PBRANGE range{};
    ::SendMessageW(bar.window(), PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(range.iLow, 0);
    EXPECT_EQ(range.iHigh, 6000);

    for (const float value : {2.0f, 1550.5f, 5998.0f, 6000.0f, 0.0f}) {
        bar.set_value(value);
        EXPECT_EQ(bar.value(), value);
        EXPECT_EQ(::SendMessageW(bar.window(), PBM_GETPOS, 0, 0), std::lround(value));
    }
}

TEST(ProgressBarTest, ValueOutsideMinMaxIsAnErrorAndKeepsTheValue) {
    RecordingApplication app;
    win32::Screen screen(app.get(), test_screen({{.name = "Clock", .kind = layout::ControlKind::progress_bar,
                                                  .place = {240, 240, 3000, 255}, .visible = false,
                                                  .tab_index = 0, .min = 0, .max = 163}}));
    win32::ProgressBar& bar = screen.progress_bar("Clock");
    bar.set_value(162.0f);
    for (const float wrong : {164.0f, 163.5f, -2.0f, std::numeric_limits<float>::quiet_NaN()}) {
        SCOPED_TRACE(wrong);
        try {
            bar.set_value(wrong);
            ADD_FAILURE() << "no error";
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.code(), error_code::invalid_property_value);
            EXPECT_EQ(error.where(), L"Clock");
        }
        EXPECT_EQ(bar.value(), 162.0f);
        EXPECT_EQ(::SendMessageW(bar.window(), PBM_GETPOS, 0, 0), 162);
    }
    EXPECT_NO_THROW(bar.set_value(163.0f));
    EXPECT_FALSE(bar.visible());
}

}  // namespace
}  // namespace pf::testing
