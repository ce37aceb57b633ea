#pragma once
// The connection watchdog: on every tick of CheckConnect it asks whether the
// machine is connected. While it is not, the download script is stopped and
// rewound, and the user is asked to connect; when it is again, the script runs
// from the start and skips what is already there.

#include "download_screen.h"

#include <optional>
#include <string_view>

namespace pf {

class ConnectionProbe {
public:
    virtual ~ConnectionProbe() = default;
    // Number of connections up, or nothing when the question could not be answered
    // on this poll (the watchdog then leaves everything as it is).
    virtual std::optional<unsigned> active_connections() = 0;
};

namespace watchdog_texts {
inline constexpr std::wstring_view waiting = L" Annulation du téléchargement . Attente d'une Connection internet ...";
inline constexpr std::wstring_view not_connected = L"Vous n'êtes pas connecter sur le web , veuillez vous connecter";
}  // namespace watchdog_texts

void watchdog_tick(DownloadScreenControls& controls, ConnectionProbe& probe);

}  // namespace pf
