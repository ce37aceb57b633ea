#include "fetch/windows_error.h"

#include <array>

namespace pf::fetch {

std::wstring system_message(DWORD code) {
    std::array<wchar_t, 512> buffer{};
    const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                          nullptr, code, 0, buffer.data(),
                                          static_cast<DWORD>(buffer.size()), nullptr);
    std::wstring text(buffer.data(), length);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
        text.pop_back();
    }
    if (text.empty()) text = L"Erreur système " + std::to_wstring(code);
    return text;
}

RuntimeError windows_error(DWORD code, std::wstring where) {
    return RuntimeError(static_cast<long>(code), system_message(code), std::move(where));
}

}  // namespace pf::fetch
