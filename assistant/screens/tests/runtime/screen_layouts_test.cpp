// Every screen of the chain as created, read back through Windows alone
// (window kind, place, caption, background, and every control's place in
// pixels at 96 dots per inch, caption, colour, font, border, state and focus
// order) and compared with its table; each shown screen is saved as a picture.

#include "runtime_test_support.h"

#include "layouts/startup_layouts.h"
#include "toolkit/win32/handles.h"
#include "toolkit/win32/window_properties.h"
#include "uidriver.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

namespace pf::testing {
namespace {

using layout::ControlKind;
using layout::ControlSpec;
using layout::ScreenSpec;

constexpr int twips_per_pixel = 15;  // the test display runs at 96 dots per inch

int pixels(int twips) { return static_cast<int>(std::lround(twips / static_cast<double>(twips_per_pixel))); }

std::wstring text_of(HWND window) {
    wchar_t text[1024]{};
    ::GetWindowTextW(window, text, 1024);
    return text;
}

Color system_text() { return static_cast<Color>(::GetSysColor(COLOR_BTNTEXT)); }
Color system_face() { return static_cast<Color>(::GetSysColor(COLOR_BTNFACE)); }

struct Case {
    ScreenId id;
    const char* name;
};

std::string case_name(const ::testing::TestParamInfo<Case>& info) { return info.param.name; }

class ScreenLayout : public ::testing::TestWithParam<Case> {
protected:
    RecordingApplication app;
    const ScreenSpec& table = layout::layout_of(GetParam().id);
    std::unique_ptr<win32::Screen> screen = std::make_unique<win32::Screen>(app.get(), table);

    HWND container_of(const ControlSpec& control) const {
        return control.container.empty() ? screen->window() : screen->frame(control.container).window();
    }
    HWND window_of(const ControlSpec& control) const {
        const auto index = static_cast<int>(&control - table.controls.data());
        return ::GetDlgItem(container_of(control), index);
    }
};

TEST_P(ScreenLayout, WindowKindCaptionAndClientArea) {
    const HWND window = screen->window();
    EXPECT_FALSE(screen->visible()) << "created hidden";
    EXPECT_EQ(text_of(window), table.caption);
    EXPECT_EQ(::GetWindow(window, GW_OWNER), nullptr);
    const LONG style = ::GetWindowLongW(window, GWL_STYLE);
    const LONG extended = ::GetWindowLongW(window, GWL_EXSTYLE);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0) << "not resizable, no buttons";
    if (table.kind == layout::WindowKind::borderless) {
        EXPECT_NE(style & WS_POPUP, 0);
        EXPECT_EQ(style & (WS_CAPTION | WS_BORDER | WS_DLGFRAME), 0);
    } else {
        EXPECT_EQ(style & WS_CAPTION, WS_CAPTION) << "a caption bar";
        EXPECT_NE(extended & WS_EX_TOOLWINDOW, 0) << "a small caption";
    }
    RECT client{};
    ::GetClientRect(window, &client);
    EXPECT_EQ(client.right, pixels(table.client_width));
    EXPECT_EQ(client.bottom, pixels(table.client_height));
    const bool has_icon = ::SendMessageW(window, WM_GETICON, ICON_BIG, 0) != 0;
    EXPECT_EQ(has_icon, table.icon.kind == layout::PictureKind::icon);
}

TEST_P(ScreenLayout, PlacedWhereItsTableSays) {
    screen->show();
    pump_for(200ms);
    RECT outer{};
    ::GetWindowRect(screen->window(), &outer);
    const int display_width = ::GetSystemMetrics(SM_CXSCREEN);
    const int display_height = ::GetSystemMetrics(SM_CYSCREEN);
    switch (table.placement) {
    case layout::Placement::fixed:
        EXPECT_EQ(outer.left, pixels(table.left));
        EXPECT_EQ(outer.top, pixels(table.top));
        break;
    case layout::Placement::centred:
        EXPECT_LE(std::abs((outer.left + outer.right) - display_width), 1);
        EXPECT_LE(std::abs((outer.top + outer.bottom) - display_height), 1);
        break;
    case layout::Placement::maximized: {
        EXPECT_NE(::IsZoomed(screen->window()), FALSE);
        RECT client{};
        ::GetClientRect(screen->window(), &client);
        EXPECT_GE(client.right, display_width - 2) << "covers the screen's width";
        EXPECT_GE(client.bottom, display_height - 64) << "covers the screen's height, a task bar aside";
        break;
    }
    case layout::Placement::default_place:
        break;
    }
    EXPECT_EQ(::GetForegroundWindow(), screen->window()) << "in front";
}

TEST_P(ScreenLayout, BackgroundColourOrPicture) {
    const Rendering painted(screen->window());
    const int right = painted.width() - 1;
    const int bottom = painted.height() - 1;
    const POINT corners[] = {{0, 0}, {right, 0}, {0, bottom}, {right, bottom}};
    if (table.picture.kind == layout::PictureKind::none) {
        EXPECT_EQ(painted.at(right, bottom), table.back_color.value_or(system_face()));
        return;
    }
    // The picture is larger than the client area: it covers it up to every
    // edge and is cut there, so the background colour shows nowhere.
    for (const POINT& corner : corners)
        EXPECT_NE(painted.at(corner.x, corner.y), table.back_color.value_or(system_face()))
            << corner.x << "," << corner.y;
}

TEST_P(ScreenLayout, EveryControlMatchesItsRow) {
    for (const ControlSpec& control : table.controls) {
        if (control.kind == ControlKind::timer || control.kind == ControlKind::line) continue;
        SCOPED_TRACE(control.name);
        const HWND window = window_of(control);
        ASSERT_NE(window, nullptr);
        const RECT place = place_in_parent(window);
        EXPECT_EQ(place.left, pixels(control.place.left));
        EXPECT_EQ(place.top, pixels(control.place.top));
        EXPECT_EQ(place.right - place.left, pixels(control.place.width));
        EXPECT_EQ(place.bottom - place.top, pixels(control.place.height));
        EXPECT_EQ((::GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0, control.visible);
        EXPECT_EQ(::IsWindowEnabled(window) != FALSE, control.enabled);
        if (control.kind != ControlKind::picture_box && control.kind != ControlKind::progress_bar) {
            EXPECT_EQ(text_of(window), control.text);
        }
        if (control.kind == ControlKind::label || control.kind == ControlKind::frame) {
            EXPECT_EQ(win32::read_fore_color(window), control.fore_color.value_or(system_text()));
        }
        if (control.kind == ControlKind::label || control.kind == ControlKind::frame ||
            control.kind == ControlKind::button) {
            const layout::Font font = control.font.value_or(layout::default_font());
            LOGFONTW shown{};
            const auto handle = reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0));
            ASSERT_NE(handle, nullptr);
            ASSERT_NE(::GetObjectW(handle, sizeof shown, &shown), 0);
            EXPECT_EQ(std::wstring(shown.lfFaceName), font.face);
            EXPECT_EQ(shown.lfHeight, -std::lround(font.points * 96.0f / 72.0f));
            EXPECT_EQ(shown.lfWeight, font.bold ? FW_BOLD : FW_NORMAL);
            EXPECT_EQ(shown.lfItalic != 0, font.italic);
        }
        if (control.kind == ControlKind::picture_box) {
            EXPECT_EQ((::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0, control.border);
        }
        if (control.kind == ControlKind::progress_bar) {
            PBRANGE range{};
            ::SendMessageW(window, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
            EXPECT_EQ(range.iLow, control.min);
            EXPECT_EQ(range.iHigh, control.max);
            EXPECT_EQ(::SendMessageW(window, PBM_GETPOS, 0, 0), 0);
        }
    }
}

TEST_P(ScreenLayout, BoxedLabelsDrawTheirBorderAndOthersDoNot) {
    for (const ControlSpec& control : table.controls) {
        if (control.kind != ControlKind::label || !control.visible) continue;
        SCOPED_TRACE(control.name);
        const Rendering painted(container_of(control));
        const RECT area = place_in_parent(window_of(control));
        const Color color = control.fore_color.value_or(system_text());
        // Clipped to what the container shows: a label may stand wider than it.
        const RECT edge{area.left, std::max(0L, area.top), area.left + 1, std::min<long>(area.bottom, painted.height())};
        const int height = static_cast<int>(edge.bottom - edge.top);
        if (control.boxed) {
            EXPECT_EQ(painted.count(edge, color), height) << "a line down its left side";
        } else {
            EXPECT_LT(painted.count(edge, color), height);
        }
    }
}

TEST_P(ScreenLayout, TimersAndLinesAsDesigned) {
    for (const ControlSpec& control : table.controls) {
        SCOPED_TRACE(control.name);
        if (control.kind == ControlKind::timer) {
            const win32::Timer& timer = screen->timer(control.name);
            EXPECT_EQ(timer.enabled(), control.enabled);
            EXPECT_EQ(timer.interval(), control.interval);
        } else if (control.kind == ControlKind::line) {
            const win32::Line& line = screen->line(control.name);
            EXPECT_EQ(line.from().x, pixels(control.ends.x1));
            EXPECT_EQ(line.from().y, pixels(control.ends.y1));
            EXPECT_EQ(line.to().x, pixels(control.ends.x2));
            EXPECT_EQ(line.to().y, pixels(control.ends.y2));
            EXPECT_EQ(line.width(), control.line_width);
            EXPECT_EQ(line.color(), control.fore_color);
            // Painted on the screen, under any line stored after it across the same point.
            const POINT middle{(line.from().x + line.to().x) / 2, line.from().y};
            Color on_top = line.color();
            for (const ControlSpec& later : table.controls) {
                if (later.kind != ControlKind::line || &later <= &control) continue;
                const win32::Line& other = screen->line(later.name);
                if (other.from().y == middle.y && other.to().y == middle.y &&
                    std::min(other.from().x, other.to().x) <= middle.x && middle.x < std::max(other.from().x, other.to().x))
                    on_top = other.color();
            }
            EXPECT_EQ(Rendering(screen->window()).at(middle.x, middle.y), on_top);
        }
    }
}

TEST_P(ScreenLayout, FocusGoesByTabIndexToTheButtonsAlone) {
    std::vector<HWND> containers{screen->window()};
    for (const ControlSpec& control : table.controls)
        if (control.kind == ControlKind::frame) containers.push_back(screen->frame(control.name).window());
    for (const HWND container : containers) {
        std::vector<int> tabs;
        for (HWND child = ::GetWindow(container, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            const ControlSpec& control = table.controls.at(static_cast<std::size_t>(::GetDlgCtrlID(child)));
            if (control.kind != ControlKind::label) tabs.push_back(control.tab_index.value());
        }
        EXPECT_TRUE(std::ranges::is_sorted(tabs)) << text_of(container);
    }
    std::vector<const ControlSpec*> buttons;
    for (const ControlSpec& control : table.controls)
        if (control.kind == ControlKind::button && control.enabled && control.visible) buttons.push_back(&control);
    std::ranges::sort(buttons, {}, [](const ControlSpec* control) { return control->tab_index.value(); });
    std::vector<HWND> expected;
    for (const ControlSpec* button : buttons) expected.push_back(window_of(*button));
    EXPECT_EQ(win32::tab_stops(screen->window()), expected);
    screen->show();
    pump_for(100ms);
    EXPECT_EQ(::GetFocus(), expected.empty() ? screen->window() : expected.front()) << "the first stop has the focus";
}

TEST_P(ScreenLayout, Screenshot) {
    screen->show();
    pump_for(400ms);
    screen->refresh();
    pump_for(200ms);
    // The display shows what the screen painted: its middle is not blank.
    RECT outer{};
    ::GetWindowRect(screen->window(), &outer);
    const win32::WindowDC display(nullptr);
    const COLORREF middle = ::GetPixel(display.get(), (outer.left + outer.right) / 2, (outer.top + outer.bottom) / 2);
    EXPECT_NE(middle, CLR_INVALID);
    ui::save_screenshot(L"screen-" + std::wstring(table.name.begin(), table.name.end()) + L".bmp");
}

INSTANTIATE_TEST_SUITE_P(Chain, ScreenLayout,
                         ::testing::Values(Case{ScreenId::Form14, "Form14"}, Case{ScreenId::Form2, "Form2"},
                                           Case{ScreenId::frmini, "frmini"}, Case{ScreenId::BACK, "BACK"},
                                           Case{ScreenId::Form1, "Form1"}, Case{ScreenId::Form9, "Form9"}),
                         case_name);

TEST(ScreenPictures, SplashJpegAndPictureBitmapHaveTheirDesignedSizes) {
    RecordingApplication app;
    win32::Screen picture_screen(app.get(), layout::form2_layout());
    EXPECT_EQ(picture_screen.picture_box("Picture1").picture_size().cx, 579);
    EXPECT_EQ(picture_screen.picture_box("Picture1").picture_size().cy, 435);
    win32::Screen welcome(app.get(), layout::form1_layout());
    EXPECT_EQ(welcome.picture_box("Picture1").picture_size().cx, 32);
    // The JPEG is drawn from the client area's corner: the splash's first
    // pixels are the picture's light ground, not the window's orange.
    win32::Screen splash(app.get(), layout::form14_layout());
    const Rendering painted(splash.window());
    const Color corner = painted.at(0, 0);
    EXPECT_GT(corner & 0xFF, 200u);
    EXPECT_GT((corner >> 8) & 0xFF, 200u);
    EXPECT_GT((corner >> 16) & 0xFF, 180u) << "ivory, where orange would have no blue";
}

}  // namespace
}  // namespace pf::testing
