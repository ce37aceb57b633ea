#pragma once
// How the user-interface thread waits for work running elsewhere.

#include <windows.h>

#include <functional>

namespace pf::fetch {

// Returns once `done` is signalled.
using WaitPolicy = std::function<void(HANDLE done)>;

// Waits for `done` while the thread's windows keep painting and keep answering
// messages sent to them (so the system never marks them "not responding").
// Timer ticks, input and every other posted message stay queued until the wait
// is over: no script or watchdog tick runs in the middle of a transfer.
void wait_pumping_paint(HANDLE done);

}  // namespace pf::fetch
