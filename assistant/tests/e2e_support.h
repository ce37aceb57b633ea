#pragma once
// What the end-to-end tests share: the package folder of the Wine prefix, the
// sample package, the package server's control endpoints, and a packfetch run
// observed through its windows.

#include "uidriver.h"

#include <windows.h>

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace pf::e2e {

std::wstring env(const wchar_t* name);

// The package folder packfetch writes to, emptied or removed between runs.
inline const std::wstring pack_folder = L"C:\\Pack";
void remove_pack_folder();
void copy_from_sample(const std::wstring& file_name);
std::wstring sample_path(const std::wstring& file_name);
std::vector<char> read_file(const std::wstring& path);
bool file_exists(const std::wstring& path);
std::vector<std::wstring> files_in(const std::wstring& folder);

// Package server control (the server runs beside the test, on packfetch's port).
std::string http_request(const std::string& verb, const std::string& path, const std::string& body = {});
void set_faults(const std::string& json);
void clear_server_log();
struct Request {
    std::string path;
    std::string user_agent;
};
std::vector<Request> server_log();

// What the download screen showed when the end of the run was reached.
struct StatusLine {
    std::wstring caption;
    COLORREF color;
};

struct RunResult {
    std::map<std::wstring, StatusLine> lines;  // by file name, as written in the caption
    std::wstring end_box_title;
    std::wstring end_box_text;
    bool installer_started = false;
    std::optional<DWORD> exit_code;
};

// Runs packfetch to its end, walking the start-up chain, answering its
// closing box and the stand-in installer's; saves screenshots named after `scenario`.
RunResult run_packfetch(const std::wstring& scenario);

// The screens of the chain as another process finds them.
inline constexpr std::wstring_view introduction_title = L"MISE A JOUR QUORVELANTIX LUMIRAND";
inline constexpr std::wstring_view background_title = L"Form3";
inline constexpr std::wstring_view welcome_title = L"ASSISTANT QUORVELANTIX";
inline constexpr std::wstring_view download_title = L"@ ASSISTANT DE CONFIGURATION @";
inline constexpr std::wstring_view continue_caption = L"Continuer >>>";

HWND child_with_text(HWND parent, std::wstring_view text);
// A visible top-level window of the process that holds a control with that text.
HWND screen_holding(DWORD pid, std::wstring_view child_text);
// A label's text colour, from its "ForeColor" property; nothing when unset.
std::optional<COLORREF> fore_color(HWND label);
// The position of the first progress bar on the window.
int progress_position(HWND screen);

// Waits for the welcome screen, presses "Continuer >>>" on it and returns the
// download screen once it shows; throws when a stage does not come.
HWND continue_to_download(DWORD pid, std::chrono::milliseconds timeout = std::chrono::seconds(60));

// Takes a screenshot named after the scenario and stage, into PF_SCREENSHOTS.
void screenshot(const std::wstring& scenario, const wchar_t* stage);

}  // namespace pf::e2e
