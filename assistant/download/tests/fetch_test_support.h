#pragma once
// Helpers shared by the Windows tests of the fetch: scratch folders under the
// Wine prefix's temp folder, file contents, and the test package server.

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace pf::fetch::testing {

// A fresh folder under GetTempPathW, removed with everything in it (read-only
// files included) when the object goes.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    [[nodiscard]] const std::wstring& path() const noexcept { return path_; }
    [[nodiscard]] std::wstring operator/(std::wstring_view name) const { return path_ + L"\\" + std::wstring(name); }

private:
    std::wstring path_;
};

void remove_tree(const std::wstring& path);
void write_file(const std::wstring& path, std::string_view bytes, DWORD attributes = FILE_ATTRIBUTE_NORMAL);
// Contents of a file; throws when it cannot be opened.
std::vector<std::byte> read_file(const std::wstring& path);
bool exists(const std::wstring& path);
// Names of the entries of a folder ("." and ".." left out).
std::vector<std::wstring> folder_entries(const std::wstring& folder);

// The test server's body for /test/<mode>/<size>: byte i is (7 i + i / 251) mod 256.
std::vector<std::byte> pattern_bytes(std::size_t size);

// http://127.0.0.1:PORT of the server started by with-packserver; the test fails
// (an exception) when the launcher did not set it.
std::string server_url();
// A plain GET of a control endpoint, returned as text.
std::string http_get(const std::string& url);

// A local TCP port on which a socket is bound but not listening, so a
// connection to it is refused, for as long as the object lives.
class RefusingPort {
public:
    RefusingPort();
    ~RefusingPort();
    RefusingPort(const RefusingPort&) = delete;
    RefusingPort& operator=(const RefusingPort&) = delete;
    [[nodiscard]] std::uint16_t port() const noexcept { return port_; }

private:
    std::uintptr_t socket_;
    std::uint16_t port_ = 0;
};

// A visible top-level window that counts what reaches its window procedure,
// split by whether `busy` was set at the time: the test sets it around the call
// under test.
class RecordingWindow {
public:
    struct Counts {
        int paints = 0;
        int timer_ticks = 0;
        int key_downs = 0;
        int sent_probes = 0;  // WM_APP, sent from another thread
    };

    RecordingWindow();
    ~RecordingWindow();
    RecordingWindow(const RecordingWindow&) = delete;
    RecordingWindow& operator=(const RecordingWindow&) = delete;

    [[nodiscard]] HWND handle() const noexcept { return window_; }
    void set_busy(bool busy) noexcept { busy_ = busy; }
    [[nodiscard]] const Counts& while_busy() const noexcept { return busy_counts_; }
    [[nodiscard]] const Counts& while_idle() const noexcept { return idle_counts_; }

    // Runs an ordinary message loop for about `ms` milliseconds.
    void pump_for(DWORD ms);

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

    HWND window_ = nullptr;
    bool busy_ = false;
    Counts busy_counts_;
    Counts idle_counts_;
};

// What a busy screen meets while the test's call runs: from a second thread it
// invalidates the window every 50 ms, posts one key press, and sends it a
// message (WM_APP) that must be answered within two seconds.
class ScreenActivity {
public:
    explicit ScreenActivity(HWND window);
    ~ScreenActivity();  // stops and joins
    ScreenActivity(const ScreenActivity&) = delete;
    ScreenActivity& operator=(const ScreenActivity&) = delete;

    void stop();
    [[nodiscard]] bool sent_message_answered() const noexcept { return answered_; }

private:
    HWND window_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> answered_{false};
    std::thread thread_;
};

}  // namespace pf::fetch::testing
