#pragma once
// What the end-to-end tests share: the package folder of the Wine prefix, the
// sample package, the package server's control endpoints, and a packfetch run
// observed through its windows.

#include "uidriver.h"

#include <windows.h>

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

// Runs packfetch to its end, answering its closing box and the stand-in
// installer's; saves screenshots named after `scenario`.
RunResult run_packfetch(const std::wstring& scenario);

}  // namespace pf::e2e
