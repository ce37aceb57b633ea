#pragma once
// The screens of the start-up chain as the scripts see them: each exists at
// most once, is created on first use and destroyed when unloaded.

#include "toolkit/controls.h"

namespace pf {

enum class ScreenId { Form14, Form2, frmini, BACK, Form1, Form9 };

class ScreenFlow {
public:
    virtual ~ScreenFlow() = default;
    // Creates the screen if needed and makes it visible, in front, with the focus.
    virtual void show(ScreenId screen) = 0;
    // Creates the screen if needed and keeps it hidden.
    virtual void load_hidden(ScreenId screen) = 0;
    // Hides and destroys the screen with its controls and timers.
    virtual void unload(ScreenId screen) = 0;
    // The script timer (UpdateTimer) of a screen, creating the screen if needed.
    virtual Timer& script_timer(ScreenId screen) = 0;
};

}  // namespace pf
