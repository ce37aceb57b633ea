#include "layouts/layout.h"

#include <algorithm>
#include <set>
#include <stdexcept>

namespace pf::layout {

const ControlSpec* find_control(const ScreenSpec& screen, std::string_view name) {
    const auto it = std::ranges::find(screen.controls, name, &ControlSpec::name);
    return it == screen.controls.end() ? nullptr : &*it;
}

void validate(const ScreenSpec& screen) {
    const auto fail = [&](const ControlSpec& control, const std::string& what) {
        throw std::invalid_argument("screen " + screen.name + ", control " + control.name + ": " + what);
    };
    std::set<std::string_view> names;
    std::set<int> tab_indexes;
    for (const ControlSpec& control : screen.controls) {
        if (control.name.empty()) fail(control, "has no name");
        if (!names.insert(control.name).second) fail(control, "name used twice");
        if (!control.container.empty()) {
            const ControlSpec* holder = find_control(screen, control.container);
            if (holder == nullptr || holder->kind != ControlKind::frame)
                fail(control, "container " + control.container + " is not a frame of this screen");
        }
        const bool focusless = control.kind == ControlKind::timer || control.kind == ControlKind::line;
        if (control.tab_index) {
            if (focusless) fail(control, "timers and lines have no tab index");
            if (!tab_indexes.insert(*control.tab_index).second)
                fail(control, "tab index " + std::to_string(*control.tab_index) + " used twice");
        }
        if (control.kind == ControlKind::progress_bar && control.min >= control.max)
            fail(control, "Min must lie below Max");
        if (control.kind == ControlKind::timer && control.interval < 0) fail(control, "negative interval");
    }
}

}  // namespace pf::layout
