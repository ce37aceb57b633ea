#include "fetch/http_receive.h"

#include <cstdint>

namespace pf::fetch {

FetchOutcome receive(const WinInetLibrary& wininet, const std::string& url, PartFile& file,
                     std::span<std::byte> buffer) {
    const InternetHandle session = wininet.open(user_agent);
    const InternetHandle request = wininet.open_url(session, url, open_url_flags);
    if (!request) return FetchOutcome::Failed;

    const auto status = wininet.status_code(request);
    if (!status || *status < 200 || *status > 299) return FetchOutcome::Failed;
    const auto expected = wininet.content_length(request);
    if (expected.sent && !expected.value) return FetchOutcome::Failed;

    std::uint64_t received = 0;
    for (;;) {
        const auto count = wininet.read(request, buffer);
        if (!count) return FetchOutcome::Failed;  // reset, timeout, read error
        if (*count == 0) break;
        file.write(buffer.first(*count));
        received += *count;
    }
    if (expected.sent && received != *expected.value) return FetchOutcome::Failed;
    return FetchOutcome::Complete;
}

}  // namespace pf::fetch
