// Screens as windows: kinds and placement, showing and focus, tab order,
// geometry in twips, mouse events on the background only, picture boxes.

#include "runtime_test_support.h"

#include "artwork/resource_ids.h"

#include <gtest/gtest.h>

#include <array>

namespace pf::testing {
namespace {

using layout::ControlKind;
using layout::ControlSpec;
using layout::Placement;
using layout::WindowKind;

class ScreenTest : public ::testing::Test {
protected:
    RecordingApplication app;
};

SIZE client_size(HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    return {client.right, client.bottom};
}

RECT window_rect(HWND window) {
    RECT place{};
    ::GetWindowRect(window, &place);
    return place;
}

TEST_F(ScreenTest, WindowKindsGiveTheirFramesAndTheClientAreaOfTheTable) {
    struct Case {
        WindowKind kind;
        bool caption;
        DWORD extended_wanted;
    };
    for (const Case c : {Case{WindowKind::borderless, false, WS_EX_APPWINDOW},
                         Case{WindowKind::fixed_tool_window, true, WS_EX_TOOLWINDOW}}) {
        SCOPED_TRACE(c.caption ? "tool window" : "borderless");
        layout::ScreenSpec design = test_screen({});
        design.kind = c.kind;
        design.client_width = 8475;
        design.client_height = 6810;
        win32::Screen screen(app.get(), design);
        const HWND window = screen.window();
        const LONG style = ::GetWindowLongW(window, GWL_STYLE);
        const LONG extended = ::GetWindowLongW(window, GWL_EXSTYLE);
        EXPECT_EQ((style & WS_CAPTION) == WS_CAPTION, c.caption);
        EXPECT_EQ(style & WS_THICKFRAME, 0) << "not resizable";
        EXPECT_EQ(style & WS_SYSMENU, 0) << "no close, minimize or maximize button";
        EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
        EXPECT_EQ(style & WS_CLIPCHILDREN, 0) << "labels are painted by the screen";
        EXPECT_EQ(static_cast<DWORD>(extended) & c.extended_wanted, c.extended_wanted);
        const SIZE client = client_size(window);
        EXPECT_EQ(client.cx, 565);
        EXPECT_EQ(client.cy, 454);
        wchar_t caption[64]{};
        ::GetWindowTextW(window, caption, 64);
        EXPECT_STREQ(caption, L"Écran d'essai");
        EXPECT_FALSE(screen.visible()) << "created hidden";
    }
    layout::ScreenSpec with_icon = test_screen({});
    with_icon.icon = {layout::PictureKind::icon, PF_ICON_PROGRAM};
    win32::Screen iconic(app.get(), with_icon);
    EXPECT_NE(::SendMessageW(iconic.window(), WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_NE(::SendMessageW(iconic.window(), WM_GETICON, ICON_SMALL, 0), 0);
}

TEST_F(ScreenTest, PlacementFixedCentredAndMaximized) {
    layout::ScreenSpec fixed = test_screen({});
    fixed.left = 690;
    fixed.top = 2625;
    win32::Screen at_place(app.get(), fixed);
    EXPECT_EQ(window_rect(at_place.window()).left, 46);
    EXPECT_EQ(window_rect(at_place.window()).top, 175);

    layout::ScreenSpec centred = test_screen({});
    centred.placement = Placement::centred;
    win32::Screen in_middle(app.get(), centred);
    const RECT middle = window_rect(in_middle.window());
    EXPECT_NEAR((middle.left + middle.right) / 2, ::GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((middle.top + middle.bottom) / 2, ::GetSystemMetrics(SM_CYSCREEN) / 2, 1);

    layout::ScreenSpec maximized = test_screen({});
    maximized.placement = Placement::maximized;
    win32::Screen covering(app.get(), maximized);
    covering.show();
    pump_for(100ms);
    EXPECT_TRUE(::IsZoomed(covering.window()));
    const RECT all = window_rect(covering.window());
    EXPECT_GE(all.right - all.left, ::GetSystemMetrics(SM_CXSCREEN) - 2);
}

std::vector<ControlSpec> focus_controls() {
    return {
        {.name = "Late", .kind = ControlKind::button, .text = L"Late", .place = {150, 150, 1200, 375},
         .tab_index = 6},
        {.name = "Off", .kind = ControlKind::button, .text = L"Off", .place = {1500, 150, 1200, 375},
         .enabled = false, .tab_index = 3},
        {.name = "Bar", .kind = ControlKind::progress_bar, .place = {150, 900, 3000, 255}, .tab_index = 0},
        {.name = "Early", .kind = ControlKind::button, .text = L"Early", .place = {3000, 150, 1200, 375},
         .tab_index = 5},
        {.name = "Text", .kind = ControlKind::label, .text = L"Texte", .place = {150, 1500, 1200, 375},
         .tab_index = 1},
    };
}

TEST_F(ScreenTest, WindowedControlsFollowTabIndexAndLabelsComeBelowThem) {
    win32::Screen screen(app.get(), test_screen(focus_controls()));
    std::vector<int> ids;
    for (HWND child = ::GetWindow(screen.window(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        ids.push_back(::GetDlgCtrlID(child));
    // Control ids are the controls' places in the table.
    EXPECT_EQ(ids, (std::vector<int>{2, 1, 3, 0, 4}));
}

TEST_F(ScreenTest, ShowBringsToFrontWithFocusOnTheFirstControlThatTakesIt) {
    win32::Screen behind(app.get(), test_screen({}, "Behind"));
    win32::Screen screen(app.get(), test_screen(focus_controls()));
    behind.show();
    screen.show();
    pump_for(100ms);
    EXPECT_TRUE(screen.visible());
    EXPECT_EQ(::GetForegroundWindow(), screen.window());
    // The bar and the disabled button cannot take the focus.
    EXPECT_EQ(::GetFocus(), screen.button("Early").window());

    // Tab moves on in tab order, skipping what cannot take the focus.
    const auto press_tab = [&] {
        ::PostMessageW(::GetFocus(), WM_KEYDOWN, VK_TAB, 0);
        app.get().pump();
    };
    press_tab();
    EXPECT_EQ(::GetFocus(), screen.button("Late").window());
    press_tab();
    EXPECT_EQ(::GetFocus(), screen.button("Early").window());

    behind.show();
    pump_for(50ms);
    EXPECT_EQ(::GetForegroundWindow(), behind.window());
    screen.hide();
    EXPECT_FALSE(screen.visible());
}

TEST_F(ScreenTest, ScreenUnloadingItselfFromItsOwnTickGoesOnceTheLoopHasControl) {
    auto owned = std::make_unique<win32::Screen>(
        app.get(), test_screen({{.name = "Clock", .kind = ControlKind::timer, .enabled = true, .interval = 1}}));
    win32::Screen* screen = owned.get();
    const HWND window = screen->window();
    int ticks = 0;
    bool kept_until_the_tick_ended = false;
    screen->timer("Clock").on_tick([&] {
        ++ticks;
        screen->retire();
        screen->show();  // a retired screen stays hidden
        app.get().dispose_later(std::move(owned));
        kept_until_the_tick_ended = ::IsWindow(window) && !::IsWindowVisible(window);
    });
    screen->show();
    const auto deadline = std::chrono::steady_clock::now() + 3s;
    while (::IsWindow(window) && std::chrono::steady_clock::now() < deadline) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        app.get().pump();
    }
    EXPECT_FALSE(::IsWindow(window)) << "destroyed with its controls";
    EXPECT_TRUE(kept_until_the_tick_ended);
    EXPECT_EQ(ticks, 1) << "its timers stopped with it";
}

TEST_F(ScreenTest, GeometryInTwipsMovesTheWindowAtOnce) {
    win32::Screen screen(app.get(), test_screen({}));
    EXPECT_EQ(app.get().metrics().twips_per_pixel_x(), 15);
    EXPECT_EQ(screen.left(), 300);
    EXPECT_EQ(screen.top(), 300);
    EXPECT_EQ(screen.width(), 9000);
    EXPECT_EQ(screen.height(), 6000);
    struct Move {
        int left;
        int top;
        int left_pixels;
        int top_pixels;
    };
    for (const Move m : {Move{0, 0, 0, 0}, Move{1500, 750, 100, 50}, Move{-3000, 15000, -200, 1000}}) {
        screen.set_top(m.top);
        screen.set_left(m.left);
        const RECT place = window_rect(screen.window());
        EXPECT_EQ(place.left, m.left_pixels);
        EXPECT_EQ(place.top, m.top_pixels);
        EXPECT_EQ(screen.left(), m.left);
        EXPECT_EQ(screen.top(), m.top);
    }
    EXPECT_EQ(app.get().display_width(), ::GetSystemMetrics(SM_CXSCREEN) * 15);
    EXPECT_EQ(app.get().display_height(), ::GetSystemMetrics(SM_CYSCREEN) * 15);
}

class KeyboardState {
public:
    explicit KeyboardState(std::initializer_list<int> held) {
        ::GetKeyboardState(saved_.data());
        std::array<BYTE, 256> state = saved_;
        for (const int key : {VK_SHIFT, VK_CONTROL, VK_MENU}) state[static_cast<std::size_t>(key)] = 0;
        for (const int key : held) state[static_cast<std::size_t>(key)] = 0x80;
        ::SetKeyboardState(state.data());
    }
    ~KeyboardState() { ::SetKeyboardState(saved_.data()); }

private:
    std::array<BYTE, 256> saved_{};
};

TEST_F(ScreenTest, MouseEventsCarryButtonsKeysAndTwips) {
    win32::Screen screen(app.get(), test_screen({}));
    std::vector<MouseEvent> downs;
    std::vector<MouseEvent> moves;
    screen.on_mouse_down([&](const MouseEvent& e) { downs.push_back(e); });
    screen.on_mouse_move([&](const MouseEvent& e) { moves.push_back(e); });

    struct Case {
        std::initializer_list<int> keys;
        int shift;
    };
    for (const Case c : {Case{{}, 0}, Case{{VK_SHIFT}, 1}, Case{{VK_CONTROL}, 2}, Case{{VK_MENU}, 4},
                         Case{{VK_SHIFT, VK_CONTROL, VK_MENU}, 7}}) {
        const KeyboardState held(c.keys);
        downs.clear();
        ::SendMessageW(screen.window(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 20));
        ::SendMessageW(screen.window(), WM_RBUTTONUP, 0, MAKELPARAM(10, 20));
        ASSERT_EQ(downs.size(), 1u);
        EXPECT_EQ(downs[0].button, 2);
        EXPECT_EQ(downs[0].shift, c.shift);
        EXPECT_EQ(downs[0].x, 150.0);
        EXPECT_EQ(downs[0].y, 300.0);
    }

    const KeyboardState none({});
    struct Held {
        WPARAM flags;
        int buttons;
    };
    for (const Held h : {Held{0, 0}, Held{MK_LBUTTON, 1}, Held{MK_RBUTTON, 2}, Held{MK_MBUTTON, 4},
                         Held{MK_LBUTTON | MK_MBUTTON, 5}, Held{MK_LBUTTON | MK_RBUTTON | MK_MBUTTON, 7}}) {
        moves.clear();
        ::SendMessageW(screen.window(), WM_MOUSEMOVE, h.flags, MAKELPARAM(33, 7));
        ASSERT_EQ(moves.size(), 1u);
        EXPECT_EQ(moves[0].button, h.buttons);
        EXPECT_EQ(moves[0].x, 495.0);
        EXPECT_EQ(moves[0].y, 105.0);
    }
    downs.clear();
    ::SendMessageW(screen.window(), WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(1, 1));
    ::SendMessageW(screen.window(), WM_MBUTTONUP, 0, MAKELPARAM(1, 1));
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].button, 4);
}

TEST_F(ScreenTest, APressOnTheBackgroundKeepsTheMovesUntilReleased) {
    win32::Screen screen(app.get(), test_screen({{.name = "Off", .kind = ControlKind::button, .text = L"Off",
                                                  .place = {1500, 1500, 1500, 375}, .enabled = false,
                                                  .tab_index = 0}}));
    screen.show();
    std::vector<MouseEvent> moves;
    screen.on_mouse_move([&](const MouseEvent& e) { moves.push_back(e); });
    const HWND window = screen.window();
    ::SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(110, 105));
    EXPECT_TRUE(moves.empty()) << "over the disabled button, not the background";

    ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    EXPECT_EQ(::GetCapture(), window);
    ::SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(110, 105));
    ::SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-20, 700));
    ASSERT_EQ(moves.size(), 2u) << "a drag keeps its moves over controls and off the screen";
    EXPECT_EQ(moves[0].x, 1650.0);
    EXPECT_EQ(moves[1].x, -300.0);
    EXPECT_EQ(moves[1].y, 10500.0);
    EXPECT_EQ(moves[1].button, 1);

    ::SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(-20, 700));
    EXPECT_NE(::GetCapture(), window);
    ::SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(110, 105));
    EXPECT_EQ(moves.size(), 2u);
}

TEST_F(ScreenTest, PressesOverControlsDoNotReachTheScreen) {
    win32::Screen screen(app.get(), test_screen({
                                        {.name = "Off", .kind = ControlKind::button, .text = L"Off",
                                         .place = {1500, 1500, 1500, 375}, .enabled = false, .tab_index = 0},
                                        {.name = "Text", .kind = ControlKind::label, .text = L"Étiquette",
                                         .place = {1500, 3000, 3000, 375}, .fore_color = colors::white},
                                    }));
    screen.show();
    pump_for(100ms);
    int downs = 0;
    screen.on_mouse_down([&](const MouseEvent&) { ++downs; });
    const auto press_at = [&](int x, int y) {
        POINT point{x, y};
        ::ClientToScreen(screen.window(), &point);
        ::SetCursorPos(point.x, point.y);
        INPUT input[2]{};
        input[0].type = input[1].type = INPUT_MOUSE;
        input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        ::SendInput(2, input, sizeof(INPUT));
        pump_for(150ms);
    };
    press_at(300, 300);  // background
    ASSERT_EQ(downs, 1) << "real mouse input reaches the background";
    press_at(110, 105);  // the disabled button
    press_at(110, 205);  // the label
    EXPECT_EQ(downs, 1);
    press_at(500, 50);  // background again
    EXPECT_EQ(downs, 2);
}

TEST_F(ScreenTest, PictureBoxDrawsItsIconFromTheTopLeftCorner) {
    win32::Screen screen(app.get(),
                         test_screen({{.name = "Plain", .kind = ControlKind::picture_box, .place = {240, 120, 615, 615},
                                       .back_color = colors::black,
                                       .picture = {layout::PictureKind::icon, PF_ICON_PROGRAM}, .tab_index = 0},
                                      {.name = "Bordered", .kind = ControlKind::picture_box,
                                       .place = {1200, 120, 615, 615}, .back_color = colors::black,
                                       .picture = {layout::PictureKind::icon, PF_ICON_DOWNLOAD}, .border = true,
                                       .tab_index = 1}}));
    for (const char* name : {"Plain", "Bordered"}) {
        SCOPED_TRACE(name);
        const win32::PictureBox& box = screen.picture_box(name);
        EXPECT_EQ(place_in_parent(box.window()).right - place_in_parent(box.window()).left, 41);
        EXPECT_EQ(box.picture_size().cx, 32);
        const Rendering painted(box.window());
        EXPECT_GT(painted.count_other_than({0, 0, 32, 32}, colors::black), 200) << "the icon";
        EXPECT_EQ(painted.count_other_than({32, 0, painted.width(), painted.height()}, colors::black), 0);
        EXPECT_EQ(painted.count_other_than({0, 32, painted.width(), painted.height()}, colors::black), 0);
    }
    EXPECT_EQ(client_size(screen.picture_box("Plain").window()).cx, 41);
    EXPECT_EQ(client_size(screen.picture_box("Bordered").window()).cx, 37) << "standard border inside the box";
}

TEST_F(ScreenTest, UnknownControlNameIsAnErrorNamingIt) {
    win32::Screen screen(app.get(), test_screen({}));
    try {
        (void)screen.label("zrxW31");
        ADD_FAILURE() << "no error";
    } catch (const RuntimeError& error) {
        EXPECT_NE(error.description().find(L"zrxW31"), std::wstring::npos);
        EXPECT_EQ(error.where(), L"Test");
    }
}

}  // namespace
}  // namespace pf::testing
