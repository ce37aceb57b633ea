#pragma once
// One HTTP GET through WinINet, streamed into a part file.

#include "fetch/part_file.h"
#include "fetch/wininet_library.h"
#include "package_files.h"

#include <cstddef>
#include <span>
#include <string>

namespace pf::fetch {

inline constexpr const char* user_agent = "VB OpenUrl";
// Always from the server, never from a cache; and no copy of the body in the
// Internet cache either: it would only double the disk writes (a 500 KB volume
// lands in the package folder anyway) and fill the cache with the package.
inline constexpr DWORD open_url_flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;

// Complete only when the URL opened, the status was 2xx, the body ended
// normally and its length matched Content-Length when one was sent; the part
// file then holds exactly the body. Network trouble comes back as Failed;
// local write failures throw (from PartFile).
FetchOutcome receive(const WinInetLibrary& wininet, const std::string& url, PartFile& file,
                     std::span<std::byte> buffer);

}  // namespace pf::fetch
