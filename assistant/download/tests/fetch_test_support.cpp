#include "fetch_test_support.h"

#include "fetch/handles.h"

#include <winsock2.h>
#include <wininet.h>

#include <atomic>
#include <memory>
#include <stdexcept>

namespace pf::fetch::testing {

namespace {

std::string narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

[[noreturn]] void fail(const std::string& what, const std::wstring& path) {
    throw std::runtime_error(what + " failed (" + std::to_string(::GetLastError()) + "): " + narrow(path));
}

}  // namespace

ScratchFolder::ScratchFolder() {
    static std::atomic<int> counter{0};
    wchar_t temp[MAX_PATH + 1];
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0) fail("GetTempPathW", L"");
    std::wstring base(temp, length);
    if (base.back() == L'\\') base.pop_back();
    path_ = base + L"\\pf-fetch-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
            std::to_wstring(counter++) + L"-" + std::to_wstring(::GetTickCount64());
    if (!::CreateDirectoryW(path_.c_str(), nullptr)) fail("CreateDirectoryW", path_);
}

ScratchFolder::~ScratchFolder() {
    try {
        remove_tree(path_);
    } catch (...) {
    }
}

void remove_tree(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    ::SetFileAttributesW(path.c_str(), attributes & FILE_ATTRIBUTE_DIRECTORY);
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        for (const auto& name : folder_entries(path)) remove_tree(path + L"\\" + name);
        ::RemoveDirectoryW(path.c_str());
    } else {
        ::DeleteFileW(path.c_str());
    }
}

void write_file(const std::wstring& path, std::string_view bytes, DWORD attributes) {
    const UniqueHandle file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) fail("CreateFileW", path);
    DWORD written = 0;
    if (!::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size()) {
        fail("WriteFile", path);
    }
    if (attributes != FILE_ATTRIBUTE_NORMAL && !::SetFileAttributesW(path.c_str(), attributes)) {
        fail("SetFileAttributesW", path);
    }
}

std::vector<std::byte> read_file(const std::wstring& path) {
    const UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) fail("CreateFileW", path);
    std::vector<std::byte> bytes;
    std::byte buffer[65536];
    DWORD count = 0;
    while (::ReadFile(file.get(), buffer, sizeof buffer, &count, nullptr) && count > 0) {
        bytes.insert(bytes.end(), buffer, buffer + count);
    }
    return bytes;
}

bool exists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::wstring> folder_entries(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    const HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring name = data.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
    return names;
}

std::vector<std::byte> pattern_bytes(std::size_t size) {
    std::vector<std::byte> bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::byte>((i * 7 + i / 251) & 0xFF);
    return bytes;
}

std::string server_url() {
    char value[256];
    const DWORD length = ::GetEnvironmentVariableA("PF_PACKSERVER_URL", value, sizeof value);
    if (length == 0 || length >= sizeof value) {
        throw std::runtime_error("PF_PACKSERVER_URL is not set: run this test through tools/packserver/with-packserver");
    }
    return std::string(value, length);
}

std::string http_get(const std::string& url) {
    struct InternetCloser {
        void operator()(HINTERNET h) const { ::InternetCloseHandle(h); }
    };
    using Handle = std::unique_ptr<void, InternetCloser>;
    const Handle session(::InternetOpenA("fetch-test", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    const Handle request(session ? ::InternetOpenUrlA(session.get(), url.c_str(), nullptr, 0,
                                                      INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0)
                                 : nullptr);
    if (!request) throw std::runtime_error("cannot open " + url);
    std::string text;
    char buffer[4096];
    DWORD count = 0;
    while (::InternetReadFile(request.get(), buffer, sizeof buffer, &count) && count > 0) text.append(buffer, count);
    return text;
}

RefusingPort::RefusingPort() {
    WSADATA data;
    if (::WSAStartup(MAKEWORD(2, 2), &data) != 0) throw std::runtime_error("WSAStartup failed");
    const SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) throw std::runtime_error("socket failed");
    socket_ = s;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = sizeof address;
    if (::bind(s, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        ::closesocket(s);
        throw std::runtime_error("bind failed");
    }
    port_ = ntohs(address.sin_port);
}

RefusingPort::~RefusingPort() {
    ::closesocket(static_cast<SOCKET>(socket_));
    ::WSACleanup();
}

RecordingWindow::RecordingWindow() {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = &RecordingWindow::procedure;
    window_class.hInstance = instance;
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    window_class.lpszClassName = L"PfFetchRecordingWindow";
    ::RegisterClassW(&window_class);  // already registered by an earlier window: fine
    window_ = ::CreateWindowExW(0, window_class.lpszClassName, L"Téléchargement", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                40, 40, 320, 200, nullptr, nullptr, instance, this);
    if (!window_) fail("CreateWindowExW", L"PfFetchRecordingWindow");
    pump_for(100);
}

RecordingWindow::~RecordingWindow() {
    ::DestroyWindow(window_);
}

void RecordingWindow::pump_for(DWORD ms) {
    const ULONGLONG end = ::GetTickCount64() + ms;
    MSG message;
    while (::GetTickCount64() < end) {
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

LRESULT CALLBACK RecordingWindow::procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<RecordingWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return ::DefWindowProcW(window, message, wparam, lparam);
    Counts& counts = self->busy_ ? self->busy_counts_ : self->idle_counts_;
    switch (message) {
    case WM_PAINT: {
        ++counts.paints;
        PAINTSTRUCT paint;
        ::BeginPaint(window, &paint);
        ::EndPaint(window, &paint);
        return 0;
    }
    case WM_TIMER:
        ++counts.timer_ticks;
        return 0;
    case WM_KEYDOWN:
        ++counts.key_downs;
        return 0;
    case WM_APP:
        ++counts.sent_probes;
        return 1;
    default:
        return ::DefWindowProcW(window, message, wparam, lparam);
    }
}

ScreenActivity::ScreenActivity(HWND window) : window_(window) {
    thread_ = std::thread([this] {
        ::InvalidateRect(window_, nullptr, TRUE);
        ::PostMessageW(window_, WM_KEYDOWN, VK_SPACE, 0);
        bool sent = false;
        while (!stop_) {
            ::Sleep(50);
            ::InvalidateRect(window_, nullptr, TRUE);
            if (!sent) {
                DWORD_PTR result = 0;
                answered_ = ::SendMessageTimeoutW(window_, WM_APP, 0, 0, SMTO_BLOCK, 2000, &result) != 0 &&
                            result == 1;
                sent = true;
            }
        }
    });
}

ScreenActivity::~ScreenActivity() {
    stop();
}

void ScreenActivity::stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

}  // namespace pf::fetch::testing
