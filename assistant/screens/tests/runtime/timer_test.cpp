// Timers tick only through the message loop, as often as the system allows at
// 1 ms, never when disabled or at interval 0, and keep ticking behind a
// message box on every screen.

#include "runtime_test_support.h"

#include "toolkit/win32/dialogs.h"

#include <gtest/gtest.h>

namespace pf::testing {
namespace {

using layout::ControlKind;

layout::ControlSpec timer(std::string name, bool enabled, int interval) {
    return {.name = std::move(name), .kind = ControlKind::timer, .enabled = enabled, .interval = interval};
}

class TimerTest : public ::testing::Test {
protected:
    RecordingApplication app;
};

TEST_F(TimerTest, TicksArriveOnlyThroughTheMessageLoop) {
    win32::Screen screen(app.get(), test_screen({timer("Clock", false, 1)}));
    int ticks = 0;
    screen.timer("Clock").on_tick([&] { ++ticks; });
    screen.timer("Clock").set_enabled(true);
    ::Sleep(200);
    EXPECT_EQ(ticks, 0) << "no tick without the message loop";
    pump_for(500ms);
    // 1 ms means as often as the system allows: at least one tick per 25 ms here.
    EXPECT_GT(ticks, 20);
}

TEST_F(TimerTest, DisabledAndZeroIntervalTimersNeverFire) {
    win32::Screen screen(app.get(), test_screen({timer("Off", false, 1), timer("Silent", true, 0),
                                                 timer("Reference", true, 1)}));
    int off = 0;
    int silent = 0;
    int reference = 0;
    screen.timer("Off").on_tick([&] { ++off; });
    screen.timer("Silent").on_tick([&] { ++silent; });
    screen.timer("Reference").on_tick([&] { ++reference; });
    EXPECT_TRUE(pump_until([&] { return reference >= 10; }, 3s));
    EXPECT_EQ(off, 0);
    EXPECT_EQ(silent, 0);
    EXPECT_TRUE(screen.timer("Silent").enabled());
    EXPECT_EQ(screen.timer("Silent").interval(), 0);
}

TEST_F(TimerTest, DisablingInsideItsOwnTickStopsAtOnce) {
    win32::Screen screen(app.get(), test_screen({timer("Clock", true, 1)}));
    win32::Timer& clock = screen.timer("Clock");
    int ticks = 0;
    clock.on_tick([&] {
        if (++ticks == 3) clock.set_enabled(false);
    });
    pump_for(400ms);
    EXPECT_EQ(ticks, 3);
    EXPECT_FALSE(clock.enabled());
    clock.set_enabled(true);
    pump_for(200ms);
    EXPECT_GT(ticks, 4) << "enabled again, it ticks again";
}

TEST_F(TimerTest, IntervalSetsThePace) {
    win32::Screen screen(app.get(), test_screen({timer("Slow", true, 200), timer("Fast", true, 1)}));
    int slow = 0;
    int fast = 0;
    screen.timer("Slow").on_tick([&] { ++slow; });
    screen.timer("Fast").on_tick([&] { ++fast; });
    pump_for(700ms);
    EXPECT_GE(slow, 2);
    EXPECT_LE(slow, 4);
    EXPECT_GT(fast, 5 * slow);
}

struct BoxSearch {
    std::wstring_view title;
    HWND found;
};

BOOL CALLBACK match_box(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<BoxSearch*>(context);
    wchar_t class_name[16]{};
    wchar_t text[128]{};
    ::GetClassNameW(window, class_name, 16);
    ::GetWindowTextW(window, text, 128);
    if (std::wstring_view(class_name) == L"#32770" && search.title == text && ::IsWindowVisible(window)) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

// A message box of this thread with that title, or nullptr.
HWND find_box(std::wstring_view title) {
    BoxSearch search{title, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), match_box, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

TEST_F(TimerTest, MessageBoxWaitsWhileTheTimersOfEveryScreenKeepTicking) {
    win32::Screen first(app.get(), test_screen({timer("Clock", true, 1)}, "First"));
    win32::Screen second(app.get(), test_screen({timer("Clock", true, 1)}, "Second"));
    first.show();
    int first_ticks = 0;
    int second_ticks = 0;
    int at_answer = -1;
    first.timer("Clock").on_tick([&] { ++first_ticks; });
    // The second screen's handler answers the box once both screens ticked behind it.
    second.timer("Clock").on_tick([&] {
        ++second_ticks;
        if (second_ticks < 15 || first_ticks < 15 || at_answer >= 0) return;
        const HWND box = find_box(win32::application_title);
        if (box == nullptr) return;
        at_answer = second_ticks;
        EXPECT_FALSE(::IsWindowEnabled(first.window())) << "the box is modal to every screen";
        ::PostMessageW(box, WM_COMMAND, IDNO, 0);
    });
    win32::Dialogs win32_dialogs;
    pf::Dialogs& dialogs = win32_dialogs;
    const int answer = dialogs.message_box(L"Voulez vous Quitter l'assistant de QUORVELANTIX ?", box::yes_no);
    EXPECT_EQ(answer, box::answer_no);
    EXPECT_GE(at_answer, 15);
    EXPECT_GE(first_ticks, 15);
    EXPECT_TRUE(::IsWindowEnabled(first.window()));
    EXPECT_TRUE(app.reports.empty());
}

TEST_F(TimerTest, MessageBoxShowsItsPromptAndTitle) {
    win32::Screen screen(app.get(), test_screen({timer("Clock", true, 1)}));
    std::wstring seen_prompt;
    screen.timer("Clock").on_tick([&] {
        const HWND box = find_box(L" ASSISTANT QUORVELANTIX ");
        if (box == nullptr) return;
        // The prompt is the box's static text.
        for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
            wchar_t text[256]{};
            ::GetWindowTextW(child, text, 256);
            if (std::wstring_view(text).find(L"Bureau") != std::wstring_view::npos) seen_prompt = text;
        }
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    win32::Dialogs win32_dialogs;
    pf::Dialogs& dialogs = win32_dialogs;
    const std::wstring prompt =
        L" L'installation pourra reprendre manuellement en cliquant juste sur l'icone dans votre Bureau ";
    EXPECT_EQ(dialogs.message_box(prompt, box::information_icon, L" ASSISTANT QUORVELANTIX "), IDOK);
    EXPECT_EQ(seen_prompt, prompt);
}

}  // namespace
}  // namespace pf::testing
