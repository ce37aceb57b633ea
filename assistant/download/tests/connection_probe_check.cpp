// Answers whether this machine counts as connected for the watchdog:
//   connection_probe_check online|offline
// exits 0 when the probe agrees. Run inside network namespaces by
// offline_probe_test.sh, where only loopback exists until a default route is added.
#include "system_connection_probe.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc != 2 || (std::strcmp(argv[1], "online") != 0 && std::strcmp(argv[1], "offline") != 0)) {
        std::fprintf(stderr, "usage: connection_probe_check online|offline\n");
        return 2;
    }
    const bool want_online = std::strcmp(argv[1], "online") == 0;
    pf::win::SystemConnectionProbe probe;
    try {
        const std::optional<unsigned> dial_up = probe.dial_up_connections();
        const std::optional<unsigned> connections = probe.active_connections();
        std::printf("dial-up: %s, route: %s, connections: %s\n",
                    dial_up ? std::to_string(*dial_up).c_str() : "failed", probe.internet_route() ? "yes" : "no",
                    connections ? std::to_string(*connections).c_str() : "failed");
        if (!dial_up) {
            std::fprintf(stderr, "the Remote Access enumeration failed\n");
            return 1;
        }
        const bool online = connections && *connections > 0;
        if (online != want_online) {
            std::fprintf(stderr, "expected %s, the probe says %s\n", argv[1], online ? "online" : "offline");
            return 1;
        }
    } catch (const pf::RuntimeError& error) {
        std::fprintf(stderr, "error %ld\n", error.code());
        return 1;
    }
    return 0;
}
