// Form9 as created, read back through Windows alone and compared with its
// designed figures: what the six screens' table-driven layout test does not
// show (the window's own numbers, font heights in pixels, the stand-in faces,
// focus order, painting and the download's status lines). Every control's row
// is checked there for Form9 as for the other screens.

#include "runtime_test_support.h"

#include "catalogue.h"
#include "layouts/form9_layout.h"
#include "toolkit/win32/form9_screen.h"
#include "toolkit/win32/handles.h"
#include "toolkit/win32/window_properties.h"
#include "uidriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace pf::testing {
namespace {

using layout::ControlKind;
using layout::ControlSpec;

constexpr int twips_per_pixel = 15;  // the test display runs at 96 dots per inch

std::wstring text_of(HWND window) {
    wchar_t text[512]{};
    ::GetWindowTextW(window, text, 512);
    return text;
}

class Form9LayoutTest : public ::testing::Test {
protected:
    RecordingApplication app;
    win32::Form9Screen form9{app.get()};
    const layout::ScreenSpec& table = layout::form9_layout();

    std::size_t index_of(const ControlSpec& control) const {
        return static_cast<std::size_t>(&control - table.controls.data());
    }
    HWND container_of(const ControlSpec& control) {
        return control.container.empty() ? form9.screen().window() : form9.screen().frame(control.container).window();
    }
    HWND window_of(const ControlSpec& control) {
        return ::GetDlgItem(container_of(control), static_cast<int>(index_of(control)));
    }
};

TEST_F(Form9LayoutTest, WindowIsBorderlessBlackAtItsDesignedPlace) {
    const HWND window = form9.screen().window();
    EXPECT_FALSE(form9.screen().visible());
    const LONG style = ::GetWindowLongW(window, GWL_STYLE);
    EXPECT_NE(style & WS_POPUP, 0);
    EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER), 0);
    EXPECT_EQ(text_of(window), L"@ ASSISTANT DE CONFIGURATION @");
    RECT client{};
    ::GetClientRect(window, &client);
    EXPECT_EQ(client.right, 15480 / twips_per_pixel);
    EXPECT_EQ(client.bottom, 9300 / twips_per_pixel);
    RECT outer{};
    ::GetWindowRect(window, &outer);
    EXPECT_EQ(outer.left, 690 / twips_per_pixel);
    EXPECT_EQ(outer.top, 2625 / twips_per_pixel);
    EXPECT_EQ(::SendMessageW(window, WM_GETICON, ICON_BIG, 0), 0) << "no icon of its own";
    EXPECT_EQ(Rendering(window).at(1000, 600), colors::black);
}

TEST_F(Form9LayoutTest, FontSizesAreTheDesignedPixelHeights) {
    // 8.25, 9, 9.75 and 14.25 points at 96 dots per inch.
    const std::map<std::string, int> heights = {{"Frame1", -11}, {"Label1", -12}, {"l1", -13}, {"P", -19}};
    for (const auto& [name, height] : heights) {
        const ControlSpec& control = *layout::find_control(table, name);
        LOGFONTW shown{};
        ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(window_of(control), WM_GETFONT, 0, 0)), sizeof shown,
                     &shown);
        EXPECT_EQ(shown.lfHeight, height) << name;
    }
}

SIZE extent_in(const wchar_t* face, int height, std::wstring_view text) {
    const win32::WindowDC dc(nullptr);
    const win32::UniqueFont font(::CreateFontW(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                                               0, 0, face));
    const win32::Selection selected(dc.get(), font.get());
    SIZE extent{};
    ::GetTextExtentPoint32W(dc.get(), text.data(), static_cast<int>(text.size()), &extent);
    return extent;
}

TEST(FontsUnderWine, NamedFacesResolveToMetricCompatibleStandIns) {
    // Arial and Times New Roman are drawn by the Liberation faces, which share
    // their widths; a fallback to any other face would move every auto-size edge.
    const std::wstring_view text = L"Le Système d'installation télécharge les fichiers manquant";
    const struct {
        const wchar_t* named;
        const wchar_t* stand_in;
    } pairs[] = {{L"Arial", L"Liberation Sans"}, {L"Times New Roman", L"Liberation Serif"}};
    for (const auto& pair : pairs) {
        EXPECT_EQ(extent_in(pair.named, -12, text).cx, extent_in(pair.stand_in, -12, text).cx) << pair.named;
        EXPECT_NE(extent_in(pair.named, -12, text).cx, extent_in(L"DejaVu Sans", -12, text).cx) << pair.named;
    }
    EXPECT_NE(extent_in(L"Arial", -12, text).cx, extent_in(L"Times New Roman", -12, text).cx);
    // MS Sans Serif is a face of its own, not a fallback.
    const win32::WindowDC dc(nullptr);
    const win32::UniqueFont font(
        ::CreateFontW(-11, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, L"MS Sans Serif"));
    const win32::Selection selected(dc.get(), font.get());
    wchar_t face[LF_FACESIZE]{};
    ::GetTextFaceW(dc.get(), LF_FACESIZE, face);
    EXPECT_STREQ(face, L"MS Sans Serif");
}

TEST_F(Form9LayoutTest, TimersAsDesigned) {
    for (const ControlSpec& control : table.controls) {
        if (control.kind != ControlKind::timer) continue;
        const win32::Timer& timer = form9.screen().timer(control.name);
        EXPECT_EQ(timer.enabled(), control.enabled) << control.name;
        EXPECT_EQ(timer.interval(), control.interval) << control.name;
    }
}

TEST_F(Form9LayoutTest, FocusOrderFollowsTheTabIndexes) {
    for (const HWND container : {form9.screen().window(), form9.screen().frame("Frame1").window()}) {
        std::vector<int> tabs;
        for (HWND child = ::GetWindow(container, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            const auto& control = table.controls.at(static_cast<std::size_t>(::GetDlgCtrlID(child)));
            if (control.kind != ControlKind::label) tabs.push_back(control.tab_index.value());
        }
        EXPECT_TRUE(std::ranges::is_sorted(tabs));
    }
    std::vector<HWND> expected = {form9.screen().button("Command3").window()};
    EXPECT_EQ(win32::tab_stops(form9.screen().window()), expected) << "only Command3 can take the focus";
}

TEST_F(Form9LayoutTest, LinesAndLabelsArePaintedByTheScreen) {
    const Rendering painted(form9.screen().window());
    // The two orange lines, 3 pixels wide, from the left edge to 784 pixels.
    for (const int y : {3960 / twips_per_pixel, 4560 / twips_per_pixel}) {
        EXPECT_EQ(painted.count({0, y - 1, 784, y + 2}, colors::orange), 784 * 3) << y;
        EXPECT_EQ(painted.count({0, y - 3, 784, y - 1}, colors::orange), 0) << y;
        EXPECT_EQ(painted.at(790, y), colors::black);
    }
    const auto area = [&](const char* name) {
        return place_in_parent(form9.screen().label(name).window());
    };
    EXPECT_GT(painted.count(area("Label1"), colors::blue), 500);
    EXPECT_GT(painted.count(area("l1"), colors::red), 100);
    EXPECT_GT(painted.count(area("P"), colors::red), 30);
    EXPECT_EQ(painted.count_other_than(area("P2"), colors::black), 0) << "P2 is hidden";
    // l1 is boxed: a red line along its left edge from top to bottom. P is not.
    const RECT boxed = area("l1");
    EXPECT_EQ(painted.count({boxed.left, boxed.top, boxed.left + 1, boxed.bottom}, colors::red),
              boxed.bottom - boxed.top);
    const RECT plain = area("P");
    EXPECT_LT(painted.count({plain.left, plain.top, plain.left + 1, plain.bottom}, colors::red),
              plain.bottom - plain.top);
    const Rendering frame(form9.screen().frame("Frame1").window());
    EXPECT_GT(frame.count({0, 0, 233, 14}, colors::red), 50) << "the frame's caption";
    EXPECT_GT(frame.count({8, 16, 233, 41}, colors::yellow), 50) << "Label4, cut at the frame's edge";
}

TEST_F(Form9LayoutTest, DownloadControlsAreTheScreensOwn) {
    DownloadScreenControls& controls = form9.controls();
    EXPECT_EQ(&controls.UpdateStatus, &form9.screen().progress_bar("UpdateStatus"));
    EXPECT_EQ(&controls.UpdateTimer, &form9.screen().timer("UpdateTimer"));
    EXPECT_EQ(&controls.CheckConnect, &form9.screen().timer("CheckConnect"));
    EXPECT_EQ(&controls.P, &form9.screen().label("P"));
    EXPECT_EQ(&controls.P2, &form9.screen().label("P2"));
    EXPECT_EQ(&controls.l1, &form9.screen().label("l1"));
    for (std::size_t i = 0; i < package_size; ++i) {
        win32::Label& line = form9.screen().label(package_catalogue[i].status_line);
        EXPECT_EQ(controls.status_lines[i], &line) << i;
        EXPECT_EQ(place_in_parent(line.window()).top, layout::status_line_top(static_cast<int>(i) + 1) / 15);
    }
    EXPECT_EQ(controls.UpdateStatus.max(), 6000.0f);
}

TEST_F(Form9LayoutTest, ScreenshotAfterAFewStatusLines) {
    DownloadScreenControls& controls = form9.controls();
    const EntryState states[] = {EntryState::Present, EntryState::Present, EntryState::Missing,
                                 EntryState::Fetching};
    for (std::size_t i = 0; i < std::size(states); ++i) {
        controls.status_lines[i]->set_caption(status_caption(package_catalogue[i], states[i], true));
        controls.status_lines[i]->set_fore_color(status_color(states[i]));
    }
    controls.status_lines[29]->set_caption(status_caption(package_catalogue[29], EntryState::Missing));
    controls.status_lines[29]->set_fore_color(colors::red);
    controls.UpdateStatus.set_value(1550.0f);
    controls.P.set_caption(L"25%");
    controls.l1.set_caption(L"Téléchargement des fichiers en cours ...");
    controls.P2.set_caption(L"En attente de connexion ...");
    controls.P2.set_visible(true);
    form9.screen().show();
    pump_for(500ms);
    form9.screen().refresh();
    pump_for(200ms);

    // What is on the display is what the screen painted: check a few points.
    const win32::WindowDC display(nullptr);
    RECT line{};
    ::GetWindowRect(controls.status_lines[2] == nullptr ? nullptr : form9.screen().label("zrxW03").window(), &line);
    int red = 0;
    for (int x = line.left; x < line.right; ++x)
        for (int y = line.top; y < line.bottom; ++y)
            if (::GetPixel(display.get(), x, y) == colors::red) ++red;
    EXPECT_GT(red, 30) << "the missing entry's red line is on the display";
    ui::save_screenshot(L"form9_screenshot.bmp");
}

}  // namespace
}  // namespace pf::testing
