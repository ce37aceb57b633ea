#pragma once
// The Windows Internet functions, bound by name from wininet.dll when the
// first download needs them rather than linked at load time.

#include "system_library.h"

#include <windows.h>
#include <wininet.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>

namespace pf::fetch {

class WinInetLibrary;

// An open Internet or URL handle; closed through the bound InternetCloseHandle.
class InternetHandle {
public:
    InternetHandle() noexcept = default;
    InternetHandle(HINTERNET handle, decltype(&::InternetCloseHandle) close) noexcept
        : handle_(handle), close_(close) {}
    ~InternetHandle() { reset(); }
    InternetHandle(InternetHandle&& other) noexcept
        : handle_(std::exchange(other.handle_, nullptr)), close_(other.close_) {}
    InternetHandle& operator=(InternetHandle&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, nullptr);
            close_ = other.close_;
        }
        return *this;
    }
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;

    [[nodiscard]] HINTERNET get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != nullptr; }
    void reset() noexcept {
        if (handle_) close_(std::exchange(handle_, nullptr));
    }

private:
    HINTERNET handle_ = nullptr;
    decltype(&::InternetCloseHandle) close_ = nullptr;
};

class WinInetLibrary {
public:
    // Loads wininet.dll and resolves the five functions; throws RuntimeError
    // naming the library or the missing function.
    static WinInetLibrary bind();

    // InternetOpenA with the given agent and the system's proxy settings;
    // an empty handle on failure.
    [[nodiscard]] InternetHandle open(const char* agent) const noexcept;
    // InternetOpenUrlA with no extra headers; an empty handle on failure.
    [[nodiscard]] InternetHandle open_url(const InternetHandle& session, const std::string& url,
                                          DWORD flags) const noexcept;
    // InternetReadFile: the byte count, or nothing when the read failed.
    [[nodiscard]] std::optional<DWORD> read(const InternetHandle& request,
                                            std::span<std::byte> buffer) const noexcept;
    [[nodiscard]] std::optional<DWORD> status_code(const InternetHandle& request) const noexcept;
    // The Content-Length the server sent: `sent` false when it sent none,
    // `value` empty when the header is not a plain number.
    struct ContentLength {
        bool sent = false;
        std::optional<std::uint64_t> value;
    };
    [[nodiscard]] ContentLength content_length(const InternetHandle& request) const noexcept;

private:
    WinInetLibrary() = default;

    win::SystemLibrary library_{L"wininet.dll"};
    decltype(&::InternetOpenA) internet_open_ = nullptr;
    decltype(&::InternetOpenUrlA) internet_open_url_ = nullptr;
    decltype(&::InternetReadFile) internet_read_file_ = nullptr;
    decltype(&::InternetCloseHandle) internet_close_handle_ = nullptr;
    decltype(&::HttpQueryInfoA) http_query_info_ = nullptr;
};

}  // namespace pf::fetch
