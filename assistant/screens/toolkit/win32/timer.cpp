#include "toolkit/win32/timer.h"

#include "toolkit/win32/application.h"
#include "toolkit/win32/win32_error.h"

#include <algorithm>

namespace pf::win32 {

Timer::Timer(Application& application, HWND screen, UINT_PTR id, const layout::ControlSpec& design)
    : application_(application),
      screen_(screen),
      id_(id),
      name_(design.name),
      enabled_(design.enabled),
      interval_(std::max(0, design.interval)) {
    arm();
}

Timer::~Timer() {
    if (armed_) ::KillTimer(screen_, id_);
}

void Timer::set_enabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    arm();
}

void Timer::set_interval(int milliseconds) {
    interval_ = std::max(0, milliseconds);
    arm();
}

void Timer::stop() {
    stopped_ = true;
    arm();
}

void Timer::arm() {
    const bool wanted = enabled_ && interval_ > 0 && !stopped_;
    if (!wanted) {
        if (armed_) ::KillTimer(screen_, id_);
        armed_ = false;
        return;
    }
    // The system raises anything below its minimum (about 10 ms) to that minimum.
    const UINT period = static_cast<UINT>(std::max(interval_, static_cast<int>(USER_TIMER_MINIMUM)));
    if (::SetTimer(screen_, id_, period, nullptr) == 0) throw_last_error(L"SetTimer", widen(name_));
    armed_ = true;
}

void Timer::ticked() {
    // A WM_TIMER may already be waiting when the timer is disabled. A tick whose
    // handler waits in a message box is not run again inside that box.
    if (!armed_ || in_handler_ || !on_tick_) return;
    in_handler_ = true;
    const std::function<void()> handler = on_tick_;  // the handler may replace itself
    application_.guard(handler);
    in_handler_ = false;
}

}  // namespace pf::win32
