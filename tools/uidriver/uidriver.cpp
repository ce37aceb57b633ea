#include "uidriver.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

namespace pf::ui {

namespace {

std::runtime_error failure(const char* what) {
    return std::runtime_error(std::string(what) + " failed, error " + std::to_string(GetLastError()));
}

BOOL CALLBACK collect(HWND window, LPARAM found) {
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

}  // namespace

std::wstring window_text(HWND window) {
    // A hung window must not hang the test: ask with a time limit.
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                        2000, &copied);
    text.resize(copied);
    return text;
}

std::wstring class_name(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

bool is_visible(HWND window) { return IsWindowVisible(window) != FALSE; }

std::vector<HWND> top_level_windows(DWORD pid) {
    std::vector<HWND> all;
    EnumWindows(collect, reinterpret_cast<LPARAM>(&all));
    if (pid == 0) return all;
    std::vector<HWND> mine;
    for (HWND window : all) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == pid) mine.push_back(window);
    }
    return mine;
}

std::vector<HWND> child_windows(HWND parent) {
    std::vector<HWND> children;
    EnumChildWindows(parent, collect, reinterpret_cast<LPARAM>(&children));
    return children;
}

HWND child_with_id(HWND parent, int id) {
    for (HWND child : child_windows(parent))
        if (GetDlgCtrlID(child) == id) return child;
    return nullptr;
}

HWND wait_for(const std::function<HWND()>& find, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (true) {
        if (HWND found = find()) return found;
        if (std::chrono::steady_clock::now() >= deadline) return nullptr;
        std::this_thread::sleep_for(20ms);
    }
}

HWND find_top_level(DWORD pid, std::wstring_view title, bool visible_only) {
    for (HWND window : top_level_windows(pid))
        if ((!visible_only || is_visible(window)) && window_text(window) == title) return window;
    return nullptr;
}

std::optional<MessageBoxView> find_message_box(DWORD pid) {
    for (HWND window : top_level_windows(pid)) {
        if (class_name(window) != L"#32770" || !is_visible(window)) continue;
        MessageBoxView box{window, window_text(window), {}};
        // The prompt is the static control with id 0xFFFF.
        if (HWND text = GetDlgItem(window, 0xFFFF)) box.text = window_text(text);
        return box;
    }
    return std::nullopt;
}

std::optional<MessageBoxView> wait_for_message_box(DWORD pid, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (true) {
        if (auto box = find_message_box(pid)) return box;
        if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
        std::this_thread::sleep_for(20ms);
    }
}

void press(const MessageBoxView& box, int button_id) {
    HWND button = GetDlgItem(box.window, button_id);
    if (!button) throw std::runtime_error("the message box has no button " + std::to_string(button_id));
    click(button);
}

void click(HWND button) {
    DWORD_PTR ignored = 0;
    // BM_CLICK runs the button's whole click; posting keeps the test from
    // waiting on a modal box that the click may open.
    PostMessageW(button, BM_CLICK, 0, 0);
    SendMessageTimeoutW(button, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 200, &ignored);
}

void save_screenshot(const std::wstring& path, const RECT* area) {
    const RECT whole{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const RECT& taken = area ? *area : whole;
    const int width = taken.right - taken.left;
    const int height = taken.bottom - taken.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up, as BMP files store rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, taken.left, taken.top, SRCCOPY);
    GdiFlush();
    const DWORD stride = static_cast<DWORD>(((width * 3) + 3) & ~3);
    const DWORD image_size = stride * static_cast<DWORD>(height);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + image_size;
    std::ofstream out(std::filesystem::path(path), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    out.write(static_cast<const char*>(bits), image_size);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (!out) throw std::runtime_error("cannot write the screenshot");
}

LaunchedProcess::LaunchedProcess(const std::wstring& path, const std::wstring& arguments,
                                 const std::wstring& working_folder) {
    std::wstring command = L"\"" + path + L"\"";
    if (!arguments.empty()) command += L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(path.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        working_folder.empty() ? nullptr : working_folder.c_str(), &startup, &info_))
        throw failure("CreateProcessW");
    WaitForInputIdle(info_.hProcess, 5000);
}

LaunchedProcess::~LaunchedProcess() {
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(info_.hProcess, 99);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

std::optional<DWORD> LaunchedProcess::wait(std::chrono::milliseconds timeout) {
    if (WaitForSingleObject(info_.hProcess, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

}  // namespace pf::ui
