// Fetches URLs into a folder one after another and prints one result line:
//
//   fetch_bench [--buffer BYTES] MODE OUT_FOLDER WARM_UP_URL URL...
//
// MODE download      WinInetPackageFiles::DOWNLOAD, as packfetch does it
//                    (--buffer: its receive buffer instead of the default)
//      bare          the plainest WinINet loop: 64 KB reads written to a file
//      bare-discard  the same loop with nothing written: what WinINet itself allows
//
// Output: mode=... files=N bytes=B seconds=S mb_per_s=R idle_kb=I peak_kb=P
// idle_kb is the working set once the warm-up fetch has loaded everything,
// peak_kb the highest working set seen during the fetches (sampled every 2 ms
// from GetProcessMemoryInfo; the process's own lifetime peak would include
// start-up).
#include "fetch/handles.h"
#include "fetch/http_receive.h"
#include "fetch/wininet_package_files.h"
#include "toolkit/runtime_error.h"

#include <windows.h>
#include <psapi.h>
#include <wininet.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using pf::fetch::UniqueHandle;

struct InternetCloser {
    void operator()(HINTERNET handle) const { ::InternetCloseHandle(handle); }
};
using Internet = std::unique_ptr<void, InternetCloser>;

constexpr DWORD bare_buffer_size = 64 * 1024;

// Returns the bytes received, or -1 when the URL could not be opened.
std::int64_t bare_fetch(const std::string& url, const std::wstring& path, bool write) {
    const Internet session(
        ::InternetOpenA(pf::fetch::user_agent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    const Internet request(session ? ::InternetOpenUrlA(session.get(), url.c_str(), nullptr, 0,
                                                        pf::fetch::open_url_flags, 0)
                                   : nullptr);
    if (!request) return -1;
    UniqueHandle file;
    if (write) {
        file = UniqueHandle(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return -1;
    }
    std::vector<char> buffer(bare_buffer_size);
    std::int64_t total = 0;
    DWORD count = 0;
    while (::InternetReadFile(request.get(), buffer.data(), bare_buffer_size, &count) && count > 0) {
        if (write) {
            DWORD written = 0;
            ::WriteFile(file.get(), buffer.data(), count, &written, nullptr);
        }
        total += count;
    }
    return total;
}

std::wstring widen(const std::string& text) {
    return {text.begin(), text.end()};
}

std::wstring last_segment(const std::string& url) {
    return widen(url.substr(url.find_last_of('/') + 1));
}

std::int64_t file_size(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

PROCESS_MEMORY_COUNTERS memory() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
    return counters;
}

double now_seconds() {
    LARGE_INTEGER frequency, counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::size_t buffer_size = pf::fetch::WinInetPackageFiles::default_buffer_size;
    if (argc > 2 && std::wstring(argv[1]) == L"--buffer") {
        buffer_size = std::wcstoul(argv[2], nullptr, 10);
        argc -= 2;
        argv += 2;
    }
    if (argc < 5) {
        std::fprintf(stderr, "usage: fetch_bench [--buffer BYTES] download|bare|bare-discard OUT_FOLDER WARM_UP_URL URL...\n");
        return 2;
    }
    const std::wstring mode = argv[1];
    const std::wstring folder = argv[2];
    const auto narrow = [](const wchar_t* text) {
        std::string out;
        for (const wchar_t* c = text; *c; ++c) out += static_cast<char>(*c);
        return out;
    };
    const std::string warm_up_url = narrow(argv[3]);
    std::vector<std::string> urls;
    for (int i = 4; i < argc; ++i) {
        urls.push_back(narrow(argv[i]));
    }
    if (mode != L"download" && mode != L"bare" && mode != L"bare-discard") {
        std::fprintf(stderr, "fetch_bench: unknown mode\n");
        return 2;
    }
    ::CreateDirectoryW(folder.c_str(), nullptr);

    try {
        pf::fetch::WinInetPackageFiles files(pf::fetch::wait_pumping_paint, buffer_size);
        auto fetch = [&](const std::string& url, const std::wstring& path) -> std::int64_t {
            if (mode == L"download") {
                return files.DOWNLOAD(url, path) == pf::FetchOutcome::Complete ? file_size(path) : -1;
            }
            return bare_fetch(url, path, mode == L"bare");
        };

        // Load wininet.dll and the worker machinery before measuring anything.
        const std::wstring warm_up = folder + L"\\warm-up";
        fetch(warm_up_url, warm_up);
        ::DeleteFileW(warm_up.c_str());
        const auto idle = memory();

        std::atomic<bool> fetching{true};
        std::size_t peak = static_cast<std::size_t>(idle.WorkingSetSize);
        std::thread sampler([&] {
            while (fetching) {
                peak = std::max(peak, static_cast<std::size_t>(memory().WorkingSetSize));
                ::Sleep(2);
            }
        });

        std::int64_t bytes = 0;
        const double start = now_seconds();
        for (const auto& url : urls) {
            const std::int64_t got = fetch(url, folder + L"\\" + last_segment(url));
            if (got < 0) {
                std::fprintf(stderr, "fetch_bench: %s failed\n", url.c_str());
                std::exit(1);
            }
            bytes += got;
        }
        const double seconds = now_seconds() - start;
        fetching = false;
        sampler.join();
        const std::size_t buffer = mode == L"download" ? buffer_size : std::size_t{bare_buffer_size};
        std::printf("mode=%ls buffer=%zu files=%zu bytes=%lld seconds=%.3f mb_per_s=%.1f idle_kb=%zu peak_kb=%zu\n",
                    mode.c_str(), buffer, urls.size(), static_cast<long long>(bytes), seconds,
                    static_cast<double>(bytes) / 1e6 / seconds,
                    static_cast<std::size_t>(idle.WorkingSetSize) / 1024, peak / 1024);
        return 0;
    } catch (const pf::RuntimeError& error) {
        std::fprintf(stderr, "fetch_bench: error %ld: %ls (%ls)\n", error.code(), error.description().c_str(),
                     error.where().c_str());
        return 1;
    }
}
