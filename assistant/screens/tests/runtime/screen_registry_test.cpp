// The screen registry on real windows: one screen per name, created hidden on
// first reference, shown in front with the focus and no owner, unloaded for
// good (a later reference builds a fresh one), also from its own timer tick.

#include "runtime_test_support.h"

#include "toolkit/win32/screen_registry.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace pf::testing {
namespace {

using layout::ControlKind;
using layout::ControlSpec;

layout::ScreenSpec small_screen(const std::string& name, int left) {
    layout::ScreenSpec design = test_screen(
        {
            {.name = "UpdateTimer", .kind = ControlKind::timer, .enabled = false, .interval = 1},
            {.name = "Label1", .kind = ControlKind::label, .text = L"design", .place = {120, 120, 1500, 300},
             .fore_color = colors::white},
            {.name = "Command1", .kind = ControlKind::button, .text = L"OK", .place = {120, 600, 1500, 375},
             .tab_index = 0},
        },
        name);
    design.left = left;
    return design;
}

class ScreenRegistryTest : public ::testing::Test {
protected:
    RecordingApplication app;

    // Through the application's own pump, which destroys the screens that handlers unloaded.
    bool deliver_until(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (!condition()) {
            if (std::chrono::steady_clock::now() >= deadline) return false;
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
            app.get().pump();
        }
        return true;
    }
    void deliver_for(std::chrono::milliseconds duration) {
        deliver_until([] { return false; }, duration);
    }

    std::map<ScreenId, int> builds;
    std::map<ScreenId, layout::ScreenSpec> tables{{ScreenId::Form14, small_screen("Form14", 300)},
                                                  {ScreenId::Form2, small_screen("Form2", 4500)}};
    win32::ScreenRegistry registry{app.get(), [this](ScreenId id, ScreenFlow&) -> std::unique_ptr<win32::LoadedScreen> {
                                       const auto table = tables.find(id);
                                       if (table == tables.end()) return nullptr;
                                       ++builds[id];
                                       return std::make_unique<win32::PlainScreen>(app.get(), table->second);
                                   }};
};

TEST_F(ScreenRegistryTest, FirstReferenceCreatesTheScreenHiddenAndLaterOnesFindTheSame) {
    EXPECT_FALSE(registry.loaded(ScreenId::Form14));
    win32::Screen& first = registry.screen(ScreenId::Form14);
    EXPECT_TRUE(registry.loaded(ScreenId::Form14));
    EXPECT_FALSE(first.visible());
    EXPECT_EQ(&registry.screen(ScreenId::Form14), &first);
    EXPECT_EQ(&registry.script_timer(ScreenId::Form14), &first.timer("UpdateTimer"));
    EXPECT_EQ(builds[ScreenId::Form14], 1);
    EXPECT_THROW(registry.show(ScreenId::BACK), std::logic_error) << "no table, no screen";
}

TEST_F(ScreenRegistryTest, ShowMakesTheNewestVisibleInFrontWithTheFocusAndNoOwner) {
    registry.show(ScreenId::Form14);
    registry.show(ScreenId::Form2);
    deliver_for(200ms);
    const HWND newest = registry.screen(ScreenId::Form2).window();
    EXPECT_TRUE(registry.screen(ScreenId::Form14).visible());
    EXPECT_TRUE(registry.screen(ScreenId::Form2).visible());
    EXPECT_EQ(::GetForegroundWindow(), newest);
    EXPECT_EQ(::GetFocus(), registry.screen(ScreenId::Form2).button("Command1").window());
    EXPECT_EQ(::GetWindow(newest, GW_OWNER), nullptr);
    EXPECT_EQ(::GetWindow(registry.screen(ScreenId::Form14).window(), GW_OWNER), nullptr);
    // The newer one lies above the older in the z-order.
    bool newest_first = false;
    for (HWND window = ::GetTopWindow(nullptr); window; window = ::GetWindow(window, GW_HWNDNEXT)) {
        if (window == newest) { newest_first = true; break; }
        if (window == registry.screen(ScreenId::Form14).window()) break;
    }
    EXPECT_TRUE(newest_first);
}

TEST_F(ScreenRegistryTest, LoadHiddenCreatesWithoutShowingAndKeepsTimersAsDesigned) {
    registry.load_hidden(ScreenId::Form2);
    deliver_for(100ms);
    EXPECT_TRUE(registry.loaded(ScreenId::Form2));
    EXPECT_FALSE(registry.screen(ScreenId::Form2).visible());
    EXPECT_FALSE(::IsWindowVisible(registry.screen(ScreenId::Form2).window()));
    EXPECT_FALSE(registry.script_timer(ScreenId::Form2).enabled());
}

TEST_F(ScreenRegistryTest, UnloadDestroysTheWindowsAndALaterReferenceBuildsAFreshScreen) {
    registry.show(ScreenId::Form14);
    win32::Screen& first = registry.screen(ScreenId::Form14);
    const HWND window = first.window();
    first.label("Label1").set_caption(L"changed");
    registry.unload(ScreenId::Form14);
    deliver_for(100ms);
    EXPECT_FALSE(registry.loaded(ScreenId::Form14));
    EXPECT_FALSE(::IsWindow(window));
    registry.unload(ScreenId::Form14);  // unloading what is not loaded does nothing

    win32::Screen& second = registry.screen(ScreenId::Form14);
    EXPECT_EQ(builds[ScreenId::Form14], 2);
    EXPECT_EQ(second.label("Label1").caption(), L"design") << "in its design state again";
    EXPECT_FALSE(second.visible());
}

TEST_F(ScreenRegistryTest, AScreenUnloadsItselfFromItsOwnTickAndTheTickEndsSafely) {
    win32::Screen& screen = registry.screen(ScreenId::Form14);
    const HWND window = screen.window();
    int ticks = 0;
    std::wstring read_after_unload;
    screen.timer("UpdateTimer").on_tick([&] {
        ++ticks;
        registry.show(ScreenId::Form2);
        registry.unload(ScreenId::Form14);
        // The rest of this handler still runs on the screen's own objects.
        read_after_unload = screen.label("Label1").caption();
    });
    registry.show(ScreenId::Form14);
    registry.script_timer(ScreenId::Form14).set_enabled(true);
    ASSERT_TRUE(deliver_until([&] { return ticks > 0; }, 2s));
    deliver_for(200ms);
    EXPECT_EQ(ticks, 1) << "an unloaded screen's timer never ticks again";
    EXPECT_EQ(read_after_unload, L"design");
    EXPECT_FALSE(::IsWindow(window)) << "destroyed once the tick was over";
    EXPECT_FALSE(registry.loaded(ScreenId::Form14));
    EXPECT_TRUE(registry.screen(ScreenId::Form2).visible());
    EXPECT_TRUE(app.reports.empty());
}

}  // namespace
}  // namespace pf::testing
