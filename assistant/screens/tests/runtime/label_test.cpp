// Labels: transparent text over whatever lies behind, auto-size, wrapping and
// cutting, and what a caption, colour or visibility change repaints.

#include "runtime_test_support.h"

#include "toolkit/win32/handles.h"
#include "toolkit/win32/window_properties.h"

#include <gtest/gtest.h>

namespace pf::testing {
namespace {

using layout::ControlKind;
using layout::ControlSpec;

const layout::Font arial_bold{L"Arial", 9.0f, true, false};

ControlSpec label(std::string name, std::wstring text, layout::Place place, bool auto_size, bool boxed = false) {
    return {.name = std::move(name), .kind = ControlKind::label, .text = std::move(text), .place = place,
            .fore_color = colors::red, .font = arial_bold, .boxed = boxed, .auto_size = auto_size};
}

SIZE text_size(HWND window, std::wstring_view text) {
    const auto font = reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0));
    const win32::WindowDC dc(window);
    const win32::Selection selected(dc.get(), font);
    SIZE extent{};
    ::GetTextExtentPoint32W(dc.get(), text.data(), static_cast<int>(text.size()), &extent);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc.get(), &metrics);
    return {extent.cx, metrics.tmHeight};
}

class LabelTest : public ::testing::Test {
protected:
    RecordingApplication app;
};

TEST_F(LabelTest, AutoSizeLabelFitsEveryNewCaptionOnOneLine) {
    for (const bool boxed : {false, true}) {
        SCOPED_TRACE(boxed ? "boxed" : "plain");
        const int border = boxed ? 2 : 0;
        win32::Screen screen(app.get(), test_screen({label("Fit", L"", {600, 600, 45, 225}, true, boxed)}));
        win32::Label& fit = screen.label("Fit");
        // At creation the label keeps its designed size.
        EXPECT_EQ(place_in_parent(fit.window()).right, 40 + 3);
        for (const std::wstring caption : {L"zrx25.W02 ---> Ok", L"zrx25.W02 ---> NON Télécharger et plus", L"Ok"}) {
            fit.set_caption(caption);
            const SIZE expected = text_size(fit.window(), caption);
            const RECT place = place_in_parent(fit.window());
            EXPECT_EQ(place.right - place.left, expected.cx + border) << caption.size();
            EXPECT_EQ(place.bottom - place.top, expected.cy + border);
            EXPECT_EQ(place.left, 40);  // the top-left corner stays
            EXPECT_EQ(place.top, 40);
            const RECT kept = fit.place();
            EXPECT_TRUE(::EqualRect(&place, &kept));
        }
    }
}

TEST_F(LabelTest, FixedSizeLabelWrapsAtWordsAndCutsBelowItsBottom) {
    const std::wstring long_text = L"un deux trois quatre cinq six sept huit neuf dix onze douze treize quatorze";
    // 120 x 30 pixels: two lines of 9-point text fit, the rest is cut.
    win32::Screen screen(app.get(), test_screen({label("Wrap", long_text, {300, 300, 1800, 450}, false)}));
    win32::Label& wrap = screen.label("Wrap");
    wrap.set_caption(long_text + L" quinze");
    const RECT place = place_in_parent(wrap.window());
    EXPECT_EQ(place.right - place.left, 120);
    EXPECT_EQ(place.bottom - place.top, 30);

    const Rendering painted(screen.window());
    const int line = text_size(wrap.window(), L"x").cy;
    EXPECT_GT(painted.count({20, 20, 140, 20 + line}, colors::red), 20) << "first line";
    EXPECT_GT(painted.count({20, 20 + line, 140, 50}, colors::red), 20) << "second line";
    EXPECT_EQ(painted.count_other_than({140, 20, 600, 400}, colors::black), 0) << "nothing right of the label";
    EXPECT_EQ(painted.count_other_than({0, 50, 600, 400}, colors::black), 0) << "nothing below the label";
}

TEST_F(LabelTest, OnlyTheTextIsPaintedOverWhatLiesBehind) {
    // A white line runs through the label; a second label overlaps the first.
    win32::Screen screen(app.get(),
                         test_screen({
                             {.name = "Through", .kind = ControlKind::line, .ends = {0, 390, 9000, 390},
                              .fore_color = colors::white, .line_width = 1},
                             label("Under", L"MMMMMMMMMMMM", {300, 300, 3000, 300}, false),
                         }));
    const Rendering painted(screen.window());
    const RECT label_area = place_in_parent(screen.label("Under").window());
    // The line shows between the letters inside the label's rectangle...
    EXPECT_GT(painted.count({label_area.left, 26, label_area.right, 27}, colors::white), 10);
    // ...and the label's rectangle is otherwise the screen's black, not a box of its own colour.
    EXPECT_GT(painted.count(label_area, colors::black), (label_area.right - label_area.left) * 5);
    EXPECT_GT(painted.count(label_area, colors::red), 30);
}

TEST_F(LabelTest, CaptionColourAndVisibilityShowInTheWindowAndThePainting) {
    win32::Screen screen(app.get(), test_screen({label("Status", L"", {600, 600, 45, 225}, true)}));
    win32::Label& status = screen.label("Status");
    status.set_caption(L"zrx25.W03");
    const auto painted_in = [&](Color color) {
        return Rendering(screen.window()).count({0, 0, 600, 400}, color);
    };
    EXPECT_GT(painted_in(colors::red), 20);
    EXPECT_EQ(win32::read_fore_color(status.window()), colors::red);

    status.set_caption(L"zrx25.W03 ---> Ok");
    status.set_fore_color(colors::green);
    wchar_t text[64]{};
    ::GetWindowTextW(status.window(), text, 64);
    EXPECT_STREQ(text, L"zrx25.W03 ---> Ok");
    EXPECT_EQ(status.caption(), L"zrx25.W03 ---> Ok");
    EXPECT_EQ(win32::read_fore_color(status.window()), colors::green);
    EXPECT_EQ(painted_in(colors::red), 0);
    EXPECT_GT(painted_in(colors::green), 40);

    status.set_fore_color(colors::black);
    EXPECT_EQ(win32::read_fore_color(status.window()), colors::black);  // black is a colour, not "none"
    status.set_fore_color(colors::green);

    status.set_visible(false);
    EXPECT_FALSE(status.visible());
    EXPECT_FALSE(::IsWindowVisible(status.window()));
    EXPECT_EQ(painted_in(colors::green), 0);
    status.set_visible(true);
    EXPECT_GT(painted_in(colors::green), 40);
}

TEST_F(LabelTest, ChangesRepaintTheContainerUnderTheOldAndTheNewPlace) {
    win32::Screen screen(app.get(), test_screen({label("Status", L"un texte assez long", {600, 600, 45, 225}, true),
                                                 label("Other", L"ailleurs", {600, 3000, 2000, 225}, false)}));
    win32::Label& status = screen.label("Status");
    status.set_caption(L"un texte assez long pour bien voir");
    screen.show();
    ASSERT_TRUE(pump_until([&] { return !::GetUpdateRect(screen.window(), nullptr, FALSE); }, 2s));

    const RECT before = status.place();
    status.set_caption(L"court");
    const RECT after = status.place();
    ASSERT_LT(after.right, before.right);
    RECT pending{};
    ASSERT_TRUE(::GetUpdateRect(screen.window(), &pending, FALSE));
    RECT covered{};
    ::UnionRect(&covered, &pending, &before);
    EXPECT_TRUE(::EqualRect(&covered, &pending)) << "the old place is repainted";
    // Only the label's surroundings, not the whole screen.
    EXPECT_LT(pending.bottom, place_in_parent(screen.label("Other").window()).top);

    ASSERT_TRUE(pump_until([&] { return !::GetUpdateRect(screen.window(), nullptr, FALSE); }, 2s));
    status.set_fore_color(colors::yellow);
    ASSERT_TRUE(::GetUpdateRect(screen.window(), &pending, FALSE));
    ::UnionRect(&covered, &pending, &after);
    EXPECT_TRUE(::EqualRect(&covered, &pending));

    ASSERT_TRUE(pump_until([&] { return !::GetUpdateRect(screen.window(), nullptr, FALSE); }, 2s));
    status.set_visible(false);
    EXPECT_TRUE(::GetUpdateRect(screen.window(), &pending, FALSE));
}

TEST_F(LabelTest, LabelInAFrameIsCutAtTheFramesEdge) {
    win32::Screen screen(app.get(),
                         test_screen({{.name = "Box", .kind = ControlKind::frame, .place = {1500, 0, 1500, 1500},
                                       .back_color = colors::black, .tab_index = 0},
                                      {.name = "Wide", .kind = ControlKind::label,
                                       .text = L"WWWWWWWWWWWWWWWWWWWWWWWWWWWWWW", .place = {120, 600, 6000, 300},
                                       .container = "Box", .fore_color = colors::yellow, .font = arial_bold}}));
    const HWND frame = screen.frame("Box").window();
    const HWND wide = screen.label("Wide").window();
    EXPECT_EQ(::GetParent(wide), frame);
    const RECT place = place_in_parent(wide);
    EXPECT_EQ(place.left, 8);
    EXPECT_EQ(place.right - place.left, 400) << "the label keeps its width beyond the frame";
    const Rendering frame_painting(frame);
    EXPECT_EQ(frame_painting.width(), 100);
    EXPECT_GT(frame_painting.count({90, 40, 100, 60}, colors::yellow), 5) << "text reaches the frame's edge";
    // Nothing of the label reaches the screen beside the frame.
    const Rendering screen_painting(screen.window());
    EXPECT_EQ(screen_painting.count({200, 0, 600, 100}, colors::yellow), 0);
}

}  // namespace
}  // namespace pf::testing
