#pragma once
// Message boxes: modal to the whole program, while every screen's timers keep
// ticking behind them (the box's own message loop delivers their WM_TIMER).

#include "toolkit/controls.h"

namespace pf::win32 {

class Dialogs final : public pf::Dialogs {
public:
    // Returns the button pressed (1 OK, 6 Yes, 7 No); throws RuntimeError when no box can be shown.
    int message_box(std::wstring_view prompt, int style, std::optional<std::wstring_view> title) override;
};

}  // namespace pf::win32
