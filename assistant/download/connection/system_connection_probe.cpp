#include "system_connection_probe.h"

#include <iphlpapi.h>
#include <raserror.h>

#include <vector>

namespace pf::win {

std::optional<unsigned> SystemConnectionProbe::active_connections() {
    const std::optional<unsigned> dial_up = dial_up_connections();
    if (dial_up && *dial_up > 0) return dial_up;
    if (internet_route()) return 1u;
    return dial_up;  // no connection (0), or a failed poll that changes nothing
}

std::optional<unsigned> SystemConnectionProbe::dial_up_connections() {
    RasEnum* enumerate = ras_enum_.get();
    // Room for one record first; when several connections are up the service
    // says how much it needs, and we ask again with that much.
    std::vector<RASCONNA> records(1);
    for (int attempt = 0; attempt < 3; ++attempt) {
        records.front().dwSize = sizeof(RASCONNA);
        DWORD bytes = static_cast<DWORD>(records.size() * sizeof(RASCONNA));
        DWORD count = 0;
        const DWORD result = enumerate(records.data(), &bytes, &count);
        if (result == ERROR_SUCCESS) return count;
        if (result != ERROR_BUFFER_TOO_SMALL) return std::nullopt;
        records.resize(bytes / sizeof(RASCONNA) + 1);
    }
    return std::nullopt;
}

bool SystemConnectionProbe::internet_route() {
    const auto now = std::chrono::steady_clock::now();
    if (route_checked_ && now - *route_checked_ < route_refresh) return route_;

    ULONG size = 0;
    std::vector<unsigned char> buffer;
    DWORD result = GetIpForwardTable(nullptr, &size, FALSE);
    while (result == ERROR_INSUFFICIENT_BUFFER) {
        buffer.resize(size);
        result = GetIpForwardTable(reinterpret_cast<PMIB_IPFORWARDTABLE>(buffer.data()), &size, FALSE);
    }
    bool found = false;
    if (result == NO_ERROR) {
        const auto* table = reinterpret_cast<const MIB_IPFORWARDTABLE*>(buffer.data());
        for (DWORD i = 0; i < table->dwNumEntries && !found; ++i)
            found = table->table[i].dwForwardDest == 0 && table->table[i].dwForwardMask == 0;
    }
    route_ = found;
    route_checked_ = now;
    return route_;
}

}  // namespace pf::win
