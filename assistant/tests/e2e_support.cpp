#include "e2e_support.h"

#include <commctrl.h>
#include <tlhelp32.h>
#include <wininet.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <stdexcept>

namespace pf::e2e {

using namespace std::chrono_literals;
using namespace pf::ui;

namespace {

constexpr std::wstring_view listing_done =
    L"Téléchargement en cours ... ( Cette opération peut prendre plusieur minutes ) ";
constexpr std::wstring_view standin_title = L"zrx25 - installateur de démonstration";

std::string narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out.push_back(static_cast<char>(c));
    return out;
}

struct InternetHandle {
    HINTERNET handle;
    ~InternetHandle() {
        if (handle) InternetCloseHandle(handle);
    }
};

std::map<std::wstring, StatusLine> read_status_lines(HWND screen) {
    static const std::wregex line(LR"(^ ([Zz]rx25\.(exe|W\d\d)) ---> .*$)");
    std::map<std::wstring, StatusLine> lines;
    for (HWND child : child_windows(screen)) {
        const std::wstring caption = window_text(child);
        std::wsmatch match;
        if (!std::regex_match(caption, match, line)) continue;
        // The label keeps its colour in bits 0-23, with bit 24 telling that it is set.
        const auto stored = reinterpret_cast<UINT_PTR>(GetPropW(child, L"ForeColor"));
        lines[match[1].str()] = {caption, static_cast<COLORREF>(stored & 0xFFFFFF)};
    }
    return lines;
}

}  // namespace

void screenshot(const std::wstring& scenario, const wchar_t* stage) {
    const std::wstring folder = env(L"PF_SCREENSHOTS");
    if (folder.empty()) return;
    CreateDirectoryW(folder.c_str(), nullptr);
    save_screenshot(folder + L"\\" + scenario + L"-" + stage + L".bmp");
}

HWND child_with_text(HWND parent, std::wstring_view text) {
    if (!parent) return nullptr;
    for (HWND child : child_windows(parent))
        if (window_text(child) == text) return child;
    return nullptr;
}

HWND screen_holding(DWORD pid, std::wstring_view child_text) {
    for (HWND window : top_level_windows(pid))
        if (is_visible(window) && child_with_text(window, child_text)) return window;
    return nullptr;
}

std::optional<COLORREF> fore_color(HWND label) {
    // Bits 0-23 hold the colour, bit 24 tells that it is set.
    const auto stored = reinterpret_cast<UINT_PTR>(GetPropW(label, L"ForeColor"));
    if ((stored & 0x01000000) == 0) return std::nullopt;
    return static_cast<COLORREF>(stored & 0xFFFFFF);
}

int progress_position(HWND screen) {
    for (HWND child : child_windows(screen))
        if (class_name(child) == L"msctls_progress32") return static_cast<int>(SendMessageW(child, PBM_GETPOS, 0, 0));
    throw std::runtime_error("the screen has no progress bar");
}

HWND continue_to_download(DWORD pid, std::chrono::milliseconds timeout) {
    const HWND welcome = wait_for([&] { return find_top_level(pid, welcome_title); }, timeout);
    if (!welcome) throw std::runtime_error("the welcome screen did not appear");
    const HWND button = child_with_text(welcome, continue_caption);
    if (!button) throw std::runtime_error("the welcome screen has no \"Continuer >>>\" button");
    click(button);
    const HWND download = wait_for([&] { return find_top_level(pid, download_title); }, 30s);
    if (!download) throw std::runtime_error("the download screen did not show after \"Continuer >>>\"");
    return download;
}

std::wstring env(const wchar_t* name) {
    wchar_t value[2048];
    const DWORD length = GetEnvironmentVariableW(name, value, 2048);
    return length > 0 && length < 2048 ? std::wstring(value, length) : std::wstring();
}

void end_leftover_installers() {
    // A stand-in installer left running (a failed test) would hold its file open.
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        if (_wcsicmp(entry.szExeFile, L"zrx25.exe") != 0) continue;
        if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID)) {
            TerminateProcess(process, 1);
            WaitForSingleObject(process, 5000);
            CloseHandle(process);
        }
    }
    CloseHandle(snapshot);
}

void remove_pack_folder() {
    end_leftover_installers();
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(pack_folder), ignored);
    if (std::filesystem::exists(std::filesystem::path(pack_folder)))
        throw std::runtime_error("cannot empty the package folder");
}

std::wstring sample_path(const std::wstring& file_name) { return env(L"PF_SAMPLE_PACKAGE") + L"\\" + file_name; }

void copy_from_sample(const std::wstring& file_name) {
    CreateDirectoryW(pack_folder.c_str(), nullptr);
    if (!CopyFileW(sample_path(file_name).c_str(), (pack_folder + L"\\" + file_name).c_str(), FALSE))
        throw std::runtime_error("cannot copy " + narrow(file_name));
}

std::vector<char> read_file(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + narrow(path));
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool file_exists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::wstring> files_in(const std::wstring& folder) {
    std::vector<std::wstring> names;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(folder), ignored))
        names.push_back(entry.path().filename().wstring());
    return names;
}

std::string http_request(const std::string& verb, const std::string& path, const std::string& body) {
    const std::string base = narrow(env(L"PF_PACKSERVER_URL"));
    URL_COMPONENTSA parts{};
    parts.dwStructSize = sizeof parts;
    char host[256] = {};
    parts.lpszHostName = host;
    parts.dwHostNameLength = sizeof host;
    if (!InternetCrackUrlA(base.c_str(), 0, 0, &parts)) throw std::runtime_error("bad server URL " + base);
    InternetHandle session{InternetOpenA("packfetch-e2e", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0)};
    InternetHandle connection{
        InternetConnectA(session.handle, host, parts.nPort, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0)};
    InternetHandle request{HttpOpenRequestA(connection.handle, verb.c_str(), path.c_str(), nullptr, nullptr,
                                            nullptr, INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0)};
    const char* headers = "Content-Type: application/json\r\n";
    if (!request.handle ||
        !HttpSendRequestA(request.handle, headers, static_cast<DWORD>(-1), const_cast<char*>(body.data()),
                          static_cast<DWORD>(body.size())))
        throw std::runtime_error("package server control request failed: " + verb + " " + path);
    std::string answer;
    char buffer[4096];
    DWORD read = 0;
    while (InternetReadFile(request.handle, buffer, sizeof buffer, &read) && read > 0) answer.append(buffer, read);
    return answer;
}

void set_faults(const std::string& json) {
    http_request("DELETE", "/__control/faults");
    if (!json.empty()) http_request("POST", "/__control/faults", json);
}

void clear_server_log() { http_request("DELETE", "/__control/log"); }

std::vector<Request> server_log() {
    // The log is a JSON list of flat objects; the two fields the tests need are
    // picked out without a JSON library.
    const std::string json = http_request("GET", "/__control/log");
    static const std::regex entry(R"re(\{[^{}]*?"path":\s*"([^"]*)"[^{}]*?"user_agent":\s*"([^"]*)")re");
    std::vector<Request> requests;
    for (auto it = std::sregex_iterator(json.begin(), json.end(), entry); it != std::sregex_iterator(); ++it)
        requests.push_back({(*it)[1].str(), (*it)[2].str()});
    return requests;
}

RunResult run_packfetch(const std::wstring& scenario) {
    RunResult result;
    LaunchedProcess packfetch(env(L"PF_PACKFETCH_EXE"));
    const DWORD pid = packfetch.pid();

    const HWND screen = continue_to_download(pid, 120s);
    if (wait_for([&] { return child_with_text(screen, listing_done); }, 120s)) {
        Sleep(300);
        screenshot(scenario, L"listing");
    }

    const std::optional<MessageBoxView> end_box = wait_for_message_box(pid, 600s);
    if (!end_box) throw std::runtime_error("packfetch showed no box at the end of the download");
    result.lines = read_status_lines(screen);
    result.end_box_title = end_box->title;
    result.end_box_text = end_box->text;
    screenshot(scenario, L"end");
    press(*end_box, IDOK);

    // The stand-in installer, when started, says so in a box of its own.
    HWND standin = wait_for(
        [] {
            for (HWND window : top_level_windows())
                if (is_visible(window) && window_text(window) == standin_title) return window;
            return HWND{};
        },
        result.end_box_title == L" ASSISTANT QUORVELANTIX VISION" ? 30s : 2s);
    if (standin) {
        result.installer_started = true;
        DWORD standin_pid = 0;
        GetWindowThreadProcessId(standin, &standin_pid);
        if (auto box = find_message_box(standin_pid)) press(*box, IDOK);
    } else if (auto second = wait_for_message_box(pid, 5s); second && second->window != end_box->window) {
        // Installer missing: a second, plain box closes the run.
        press(*second, IDOK);
    }
    result.exit_code = packfetch.wait(30s);
    return result;
}

}  // namespace pf::e2e
