#include "fetch/file_probe.h"

#include <windows.h>

#include <string>

namespace pf::fetch {

bool file_is_present(std::wstring_view path) noexcept {
    // The API stops at the first NUL: "C:\a.txt\0junk" must not pass for "C:\a.txt".
    if (path.empty() || path.find(L'\0') != std::wstring_view::npos) return false;
    try {
        const DWORD attributes = ::GetFileAttributesW(std::wstring(path).c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    } catch (...) {
        return false;
    }
}

}  // namespace pf::fetch
