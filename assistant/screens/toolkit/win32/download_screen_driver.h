#pragma once
// The download screen Form9 with everything that drives it: its script, the
// connection watchdog, "Annuler / Quitter" and dragging by its background.

#include "download_script.h"
#include "dragging/window_drag.h"
#include "package_files.h"
#include "toolkit/win32/form9_screen.h"
#include "toolkit/win32/screen_registry.h"
#include "watchdog.h"

#include <string>

namespace pf::win32 {

// What the download screen reaches outside the screens.
struct DownloadServices {
    pf::Dialogs& dialogs;
    pf::Process& process;
    PackageFiles& files;
    ConnectionProbe& probe;
    std::string server;  // host[:port] of the package server
};

class DownloadScreenDriver final : public LoadedScreen {
public:
    // Created hidden with its timers stopped, as its table has it.
    DownloadScreenDriver(Application& application, const DownloadServices& services);

    [[nodiscard]] Screen& screen() override { return form9_.screen(); }
    [[nodiscard]] DownloadScreenControls& controls() noexcept { return form9_.controls(); }

private:
    void drag_to(const MouseEvent& event);

    Application& application_;
    Form9Screen form9_;
    DownloadScript script_;
    WindowDrag drag_;
};

}  // namespace pf::win32
