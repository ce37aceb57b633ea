#pragma once
// Shared by the runtime's tests: an application whose top-level handler only
// records, a message pump with a deadline, small screen tables, and rendering
// a container into memory to look at its pixels.

#include "layouts/layout.h"
#include "toolkit/win32/application.h"
#include "toolkit/win32/screen.h"

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace pf::testing {

using namespace std::chrono_literals;

// An Application whose error reports and ends are recorded instead of shown.
class RecordingApplication {
public:
    RecordingApplication();
    win32::Application& get() { return application_; }
    std::vector<std::wstring> reports;
    int ends = 0;

private:
    win32::Application application_;
};

// Delivers messages until the condition holds or the time runs out; returns the condition.
bool pump_until(const std::function<bool()>& condition, std::chrono::milliseconds timeout);
// Delivers messages for that long.
void pump_for(std::chrono::milliseconds duration);

// A borderless black screen of 600 x 400 pixels at (20, 20) holding the given controls.
layout::ScreenSpec test_screen(std::vector<layout::ControlSpec> controls, std::string name = "Test");

// The client area as painted by the window's own painting (WM_PRINTCLIENT).
class Rendering {
public:
    explicit Rendering(HWND window);
    [[nodiscard]] Color at(int x, int y) const;
    [[nodiscard]] int count(const RECT& area, Color color) const;
    [[nodiscard]] int count_other_than(const RECT& area, Color color) const;
    [[nodiscard]] int width() const noexcept { return width_; }
    [[nodiscard]] int height() const noexcept { return height_; }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
};

// The rectangle of a child in its parent's client coordinates.
RECT place_in_parent(HWND child);

}  // namespace pf::testing
