#pragma once
// Turning a failed Windows call into the error that ends packfetch through its
// top-level handler: the system's code and text, what was attempted, and on what.

#include "toolkit/runtime_error.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace pf::win32 {

// The system's text for an error code, without its trailing line break.
std::wstring system_message(DWORD code);

// Throws RuntimeError for GetLastError(): "what: system text", where.
[[noreturn]] void throw_last_error(std::wstring_view what, std::wstring_view where);
[[noreturn]] void throw_error(DWORD code, std::wstring_view what, std::wstring_view where);

// Control and screen names are plain ASCII; this widens them for messages and window texts.
std::wstring widen(std::string_view ascii);

}  // namespace pf::win32
