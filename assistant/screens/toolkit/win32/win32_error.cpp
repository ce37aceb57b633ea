#include "toolkit/win32/win32_error.h"

namespace pf::win32 {

std::wstring system_message(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
        0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length != 0 ? std::wstring(buffer, length) : L"erreur système " + std::to_wstring(code);
    if (buffer != nullptr) ::LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    return text;
}

void throw_error(DWORD code, std::wstring_view what, std::wstring_view where) {
    throw RuntimeError(static_cast<long>(code), std::wstring(what) + L" : " + system_message(code),
                       std::wstring(where));
}

void throw_last_error(std::wstring_view what, std::wstring_view where) {
    throw_error(::GetLastError(), what, where);
}

std::wstring widen(std::string_view ascii) {
    return {ascii.begin(), ascii.end()};
}

}  // namespace pf::win32
