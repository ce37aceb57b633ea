// Runs packfetch unattended on a virtual display, as a person would click
// through it, and keeps a screenshot of every stage, from the splash to the
// installer:
//   autopilot PACKFETCH.EXE SCREENSHOT_FOLDER
// Each stage waits for what the user would see, saves the screen, and answers
// it when an answer is needed ("Continuer >>>" on the welcome screen, OK on
// the boxes).
#include "uidriver.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

using namespace pf::ui;
using namespace std::chrono_literals;

namespace {

constexpr std::wstring_view splash_line = L"INITIALISATION EN COURS ...";
constexpr std::wstring_view introduction_title = L"MISE A JOUR QUORVELANTIX LUMIRAND";
constexpr std::wstring_view picture_line = L"Chargement en cours ...";
constexpr std::wstring_view welcome_title = L"ASSISTANT QUORVELANTIX";
constexpr std::wstring_view continue_caption = L"Continuer >>>";
constexpr std::wstring_view download_title = L"@ ASSISTANT DE CONFIGURATION @";
constexpr COLORREF orange = 33023;
constexpr std::wstring_view listing_done = L"Téléchargement en cours ... ( Cette opération peut prendre plusieur minutes ) ";
constexpr std::wstring_view standin_title = L"zrx25 - installateur de démonstration";

HWND child_with_text(HWND parent, std::wstring_view text) {
    for (HWND child : child_windows(parent))
        if (window_text(child) == text) return child;
    return nullptr;
}

HWND screen_holding(DWORD pid, std::wstring_view text) {
    for (HWND window : top_level_windows(pid))
        if (is_visible(window) && child_with_text(window, text)) return window;
    return nullptr;
}

bool lit(HWND label) {
    // The label's colour is its "ForeColor" property: bits 0-23, bit 24 set.
    const auto stored = reinterpret_cast<UINT_PTR>(GetPropW(label, L"ForeColor"));
    return (stored & 0x01000000) != 0 && (stored & 0xFFFFFF) == orange;
}

struct Stage {
    const char* name;
    std::chrono::milliseconds timeout;
    std::function<bool()> reached;
    std::function<void()> answer;
    // Time for the screen to finish painting; the splash lasts too short for any.
    std::chrono::milliseconds settle = 300ms;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: autopilot PACKFETCH.EXE SCREENSHOT_FOLDER\n");
        return 2;
    }
    const std::wstring folder = argv[2];
    LaunchedProcess packfetch(argv[1]);
    const DWORD pid = packfetch.pid();
    HWND download = nullptr;
    std::optional<MessageBoxView> end_box;
    DWORD standin_pid = 0;

    HWND welcome = nullptr;

    const std::vector<Stage> stages{
        // The splash, once half the company name is lit.
        {"splash", 60s,
         [&] {
             const HWND splash = screen_holding(pid, splash_line);
             const HWND letter = splash ? child_with_text(splash, L"L") : nullptr;
             return letter != nullptr && lit(letter);
         },
         nullptr, 0ms},
        {"introduction", 30s,
         [&] { return find_top_level(pid, introduction_title) && screen_holding(pid, picture_line); }, nullptr},
        {"welcome", 30s, [&] { return (welcome = find_top_level(pid, welcome_title)) != nullptr; },
         [&] {
             std::fprintf(stderr, "autopilot: Continuer >>>\n");
             click(child_with_text(welcome, continue_caption));
         }},
        {"download-screen", 60s,
         [&] { return (download = find_top_level(pid, download_title)) != nullptr; }, nullptr},
        {"download-listing", 120s, [&] { return child_with_text(download, listing_done) != nullptr; }, nullptr},
        {"download-end", 600s, [&] { return (end_box = find_message_box(pid)).has_value(); },
         [&] {
             std::fwprintf(stderr, L"autopilot: %ls: OK\n", end_box->text.c_str());
             press(*end_box, IDOK);
         }},
        {"installer", 60s,
         [&] {
             for (HWND window : top_level_windows())
                 if (window_text(window) == standin_title && is_visible(window)) {
                     GetWindowThreadProcessId(window, &standin_pid);
                     return true;
                 }
             return false;
         },
         [&] {
             if (auto box = find_message_box(standin_pid)) press(*box, IDOK);
         }},
    };

    int number = 1;
    for (const Stage& stage : stages) {
        const auto deadline = std::chrono::steady_clock::now() + stage.timeout;
        while (!stage.reached()) {
            if (std::chrono::steady_clock::now() > deadline) {
                std::fprintf(stderr, "autopilot: stage %s not reached\n", stage.name);
                save_screenshot(folder + L"\\failed-" + std::wstring(stage.name, stage.name + std::strlen(stage.name)) + L".bmp");
                return 1;
            }
            Sleep(5);
        }
        Sleep(static_cast<DWORD>(stage.settle.count()));
        wchar_t file[64];
        std::swprintf(file, 64, L"\\%02d-%hs.bmp", number++, stage.name);
        save_screenshot(folder + file);
        std::fprintf(stderr, "autopilot: %s\n", stage.name);
        if (stage.answer) stage.answer();
    }
    const std::optional<DWORD> code = packfetch.wait(30s);
    std::fprintf(stderr, "autopilot: packfetch ended%s\n", code ? "" : " (not in time)");
    return code ? 0 : 1;
}
