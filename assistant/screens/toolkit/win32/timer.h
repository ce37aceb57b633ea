#pragma once
// A timer of a screen: its ticks arrive through the screen's message loop as
// WM_TIMER, so a tick never interrupts another handler except where that
// handler waits in a modal box. An interval of 0 never fires; 1 ms fires as
// often as the system allows.

#include "layouts/layout.h"
#include "toolkit/controls.h"

#include <windows.h>

#include <functional>
#include <string>

namespace pf::win32 {

class Application;

class Timer final : public pf::Timer {
public:
    Timer(Application& application, HWND screen, UINT_PTR id, const layout::ControlSpec& design);
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;
    ~Timer() override;

    void set_enabled(bool enabled) override;
    [[nodiscard]] bool enabled() const override { return enabled_; }
    void set_interval(int milliseconds);
    [[nodiscard]] int interval() const noexcept { return interval_; }

    [[nodiscard]] const std::string& name() const noexcept { return name_; }
    [[nodiscard]] UINT_PTR id() const noexcept { return id_; }

    // The tick handler runs under the application's guard.
    void on_tick(std::function<void()> handler) { on_tick_ = std::move(handler); }
    // A WM_TIMER for this timer reached the screen.
    void ticked();
    // Stops the system timer for good, whatever Enabled says (the screen is going).
    void stop();

private:
    void arm();

    Application& application_;
    HWND screen_;
    UINT_PTR id_;
    std::string name_;
    bool enabled_;
    int interval_;
    bool armed_ = false;
    bool stopped_ = false;
    bool in_handler_ = false;
    std::function<void()> on_tick_;
};

}  // namespace pf::win32
