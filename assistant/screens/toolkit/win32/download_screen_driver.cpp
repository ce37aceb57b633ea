#include "toolkit/win32/download_screen_driver.h"

#include "startup/quit_confirmation.h"
#include "toolkit/win32/application.h"

namespace pf::win32 {

DownloadScreenDriver::DownloadScreenDriver(Application& application, const DownloadServices& services)
    : application_(application),
      form9_(application),
      script_(form9_.controls(), services.files, services.dialogs, services.process, services.server) {
    Screen& screen = form9_.screen();
    screen.timer("UpdateTimer").on_tick([this] { script_.tick(); });
    screen.timer("CheckConnect").on_tick([this, &probe = services.probe] { watchdog_tick(controls(), probe); });
    screen.button("Command3").on_click(
        [&dialogs = services.dialogs, &process = services.process] { confirm_quit(dialogs, process); });
    screen.on_mouse_down([this](const MouseEvent& event) { drag_.press(event.x, event.y); });
    screen.on_mouse_move([this](const MouseEvent& event) { drag_to(event); });
}

void DownloadScreenDriver::drag_to(const MouseEvent& event) {
    Screen& screen = form9_.screen();
    const WindowPlace place{static_cast<double>(screen.left()), static_cast<double>(screen.top()),
                            static_cast<double>(screen.width()), static_cast<double>(screen.height())};
    const ScreenMeasures display{static_cast<double>(application_.display_width()),
                                 static_cast<double>(application_.display_height()),
                                 static_cast<double>(application_.metrics().twips_per_pixel_x())};
    if (const auto to = drag_.move(event.button, event.shift, event.x, event.y, place, display)) {
        screen.set_top(static_cast<int>(to->top));
        screen.set_left(static_cast<int>(to->left));
    }
}

}  // namespace pf::win32
