#include "fetch/wininet_library.h"

#include <array>
#include <charconv>

namespace pf::fetch {

WinInetLibrary WinInetLibrary::bind() {
    WinInetLibrary library;
    win::SystemLibrary& dll = library.library_;
    library.internet_open_ = dll.function<decltype(::InternetOpenA)>("InternetOpenA");
    library.internet_open_url_ = dll.function<decltype(::InternetOpenUrlA)>("InternetOpenUrlA");
    library.internet_read_file_ = dll.function<decltype(::InternetReadFile)>("InternetReadFile");
    library.internet_close_handle_ = dll.function<decltype(::InternetCloseHandle)>("InternetCloseHandle");
    library.http_query_info_ = dll.function<decltype(::HttpQueryInfoA)>("HttpQueryInfoA");
    return library;
}

InternetHandle WinInetLibrary::open(const char* agent) const noexcept {
    return {internet_open_(agent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0), internet_close_handle_};
}

InternetHandle WinInetLibrary::open_url(const InternetHandle& session, const std::string& url,
                                        DWORD flags) const noexcept {
    if (!session) return {};
    return {internet_open_url_(session.get(), url.c_str(), nullptr, 0, flags, 0), internet_close_handle_};
}

std::optional<DWORD> WinInetLibrary::read(const InternetHandle& request,
                                          std::span<std::byte> buffer) const noexcept {
    DWORD count = 0;
    if (!internet_read_file_(request.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &count)) {
        return std::nullopt;
    }
    return count;
}

std::optional<DWORD> WinInetLibrary::status_code(const InternetHandle& request) const noexcept {
    DWORD status = 0;
    DWORD size = sizeof(status);
    if (!http_query_info_(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                          nullptr)) {
        return std::nullopt;
    }
    return status;
}

WinInetLibrary::ContentLength WinInetLibrary::content_length(const InternetHandle& request) const noexcept {
    // Read as text: the numeric form is 32 bits wide and would wrap above 4 GB.
    std::array<char, 32> text{};
    DWORD size = static_cast<DWORD>(text.size());
    if (!http_query_info_(request.get(), HTTP_QUERY_CONTENT_LENGTH, text.data(), &size, nullptr)) {
        if (::GetLastError() == ERROR_HTTP_HEADER_NOT_FOUND) return {};
        return {true, std::nullopt};  // too long to be a length we could check
    }
    std::uint64_t value = 0;
    const char* end = text.data() + size;
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (size == 0 || error != std::errc{} || stop != end) return {true, std::nullopt};
    return {true, value};
}

}  // namespace pf::fetch
