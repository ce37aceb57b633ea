// packfetch: brings the installation package onto the machine and starts its
// installer. Until the start-up chain opens it, the program shows the download
// screen directly and starts its script.
#include "download_script.h"
#include "dragging/window_drag.h"
#include "fetch/wininet_package_files.h"
#include "startup/quit_confirmation.h"
#include "system_connection_probe.h"
#include "toolkit/win32/application.h"
#include "toolkit/win32/dialogs.h"
#include "toolkit/win32/form9_screen.h"
#include "toolkit/win32/process.h"
#include "watchdog.h"

#include <windows.h>

#include <exception>

namespace {

// Drags the borderless download screen by its own background.
void make_draggable(pf::win32::Screen& screen, pf::win32::Application& application, pf::WindowDrag& drag) {
    screen.on_mouse_down([&drag](const pf::MouseEvent& event) { drag.press(event.x, event.y); });
    screen.on_mouse_move([&screen, &application, &drag](const pf::MouseEvent& event) {
        const pf::WindowPlace place{static_cast<double>(screen.left()), static_cast<double>(screen.top()),
                                    static_cast<double>(screen.width()), static_cast<double>(screen.height())};
        const pf::ScreenMeasures display{static_cast<double>(application.display_width()),
                                         static_cast<double>(application.display_height()),
                                         static_cast<double>(application.metrics().twips_per_pixel_x())};
        if (const auto to = drag.move(event.button, event.shift, event.x, event.y, place, display)) {
            screen.set_top(static_cast<int>(to->top));
            screen.set_left(static_cast<int>(to->left));
        }
    });
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    pf::win32::Application application;
    try {
        pf::win32::Dialogs dialogs;
        pf::win32::Process process;
        pf::fetch::WinInetPackageFiles files;
        pf::win::SystemConnectionProbe probe;

        pf::win32::Form9Screen form9(application);
        pf::win32::Screen& screen = form9.screen();
        pf::DownloadScreenControls& controls = form9.controls();
        pf::DownloadScript script(controls, files, dialogs, process, PACKFETCH_SERVER);
        pf::WindowDrag drag;

        screen.timer("UpdateTimer").on_tick([&] { script.tick(); });
        screen.timer("CheckConnect").on_tick([&] { pf::watchdog_tick(controls, probe); });
        screen.button("Command3").on_click([&] { pf::confirm_quit(dialogs, process); });
        make_draggable(screen, application, drag);

        screen.show();
        controls.UpdateTimer.set_enabled(true);
        return application.run();
    } catch (...) {
        application.fail(std::current_exception());
        return 1;
    }
}
