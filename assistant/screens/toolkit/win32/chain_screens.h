#pragma once
// Builds each screen of the start-up chain with its handlers wired: the
// splash's and the introduction's scripts, the welcome screen's two buttons,
// and the download screen with its script, watchdog, quitting and dragging.

#include "toolkit/win32/download_screen_driver.h"
#include "toolkit/win32/screen_registry.h"

#include <memory>

namespace pf::win32 {

// For ScreenRegistry's factory: the screen hidden, in its design state.
std::unique_ptr<LoadedScreen> build_chain_screen(ScreenId screen, ScreenFlow& flow, Application& application,
                                                 const DownloadServices& services);

}  // namespace pf::win32
