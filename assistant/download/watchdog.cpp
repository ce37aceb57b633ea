#include "watchdog.h"

namespace pf {

void watchdog_tick(DownloadScreenControls& controls, ConnectionProbe& probe) {
    const std::optional<unsigned> connections = probe.active_connections();
    if (!connections) return;
    if (*connections != 0) {
        controls.CheckConnect.set_enabled(true);
        controls.UpdateTimer.set_enabled(true);
        controls.P.set_visible(true);
        controls.P2.set_visible(false);
    } else {
        controls.UpdateTimer.set_enabled(false);
        controls.UpdateStatus.set_value(0.0f);
        controls.P.set_visible(false);
        controls.P2.set_visible(true);
        controls.P2.set_caption(watchdog_texts::waiting);
        controls.l1.set_caption(watchdog_texts::not_connected);
    }
}

}  // namespace pf
