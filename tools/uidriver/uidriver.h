#pragma once
// Drives windows as a person would, from another process or another thread:
// finds windows, reads what they show, presses buttons, answers message boxes
// and takes screenshots. Used by the end-to-end tests, the unattended demo and
// the tests of Animview's viewer and property pages.

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace pf::ui {

using namespace std::chrono_literals;

std::wstring window_text(HWND window);
std::wstring class_name(HWND window);
bool is_visible(HWND window);

// Top-level windows of a process (all processes when pid is 0).
std::vector<HWND> top_level_windows(DWORD pid = 0);
std::vector<HWND> child_windows(HWND parent);
// A child at any depth by its control identifier; nullptr when there is none.
HWND child_with_id(HWND parent, int id);

// Polls until the predicate finds a window or the time runs out.
HWND wait_for(const std::function<HWND()>& find, std::chrono::milliseconds timeout);
HWND find_top_level(DWORD pid, std::wstring_view title, bool visible_only = true);

struct MessageBoxView {
    HWND window{};
    std::wstring title;
    std::wstring text;
};

// The first message box (a dialog of class #32770) shown by the process.
std::optional<MessageBoxView> find_message_box(DWORD pid);
std::optional<MessageBoxView> wait_for_message_box(DWORD pid, std::chrono::milliseconds timeout);
// Presses the box's button with the given id (IDOK, IDYES, IDNO ...).
void press(const MessageBoxView& box, int button_id);
// Clicks a button control as a click of the mouse would (BM_CLICK).
void click(HWND button);

// Saves the whole screen, or only `area` of it (screen pixels), as a 24-bit BMP file.
void save_screenshot(const std::wstring& path, const RECT* area = nullptr);

// A program started for the test; ended when the object goes if still running.
class LaunchedProcess {
public:
    LaunchedProcess(const std::wstring& path, const std::wstring& arguments = {},
                    const std::wstring& working_folder = {});
    ~LaunchedProcess();
    LaunchedProcess(const LaunchedProcess&) = delete;
    LaunchedProcess& operator=(const LaunchedProcess&) = delete;

    DWORD pid() const noexcept { return info_.dwProcessId; }
    // Exit code once ended, or nothing while still running after the timeout.
    std::optional<DWORD> wait(std::chrono::milliseconds timeout);

private:
    PROCESS_INFORMATION info_{};
};

}  // namespace pf::ui
