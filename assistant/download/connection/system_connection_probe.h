#pragma once
// Tells the watchdog whether this machine is connected: a Remote Access
// (dial-up) connection, or a route to the Internet through any other adapter.

#include "system_library.h"
#include "watchdog.h"

#include <ras.h>

#include <chrono>
#include <optional>

namespace pf::win {

class SystemConnectionProbe final : public ConnectionProbe {
public:
    std::optional<unsigned> active_connections() override;

    // Remote Access connections up, or nothing when the service failed to answer.
    std::optional<unsigned> dial_up_connections();
    // A default route on any adapter (LAN, Wi-Fi, ...).
    bool internet_route();

private:
    using RasEnum = DWORD WINAPI(LPRASCONNA, LPDWORD, LPDWORD);
    LibraryFunction<RasEnum> ras_enum_{L"RasApi32.DLL", "RasEnumConnectionsA"};

    // The watchdog polls on every tick of a 1 ms timer; reading the routing
    // table costs close to a millisecond under some systems, so its answer is
    // reused for a short while.
    static constexpr std::chrono::milliseconds route_refresh{500};
    std::optional<std::chrono::steady_clock::time_point> route_checked_;
    bool route_ = false;
};

}  // namespace pf::win
