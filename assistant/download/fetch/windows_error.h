#pragma once
// Turns a Windows error code into the RuntimeError that ends packfetch through
// its standard error message: the code, the system's own description of it,
// and the path or operation it concerns.

#include "toolkit/runtime_error.h"

#include <windows.h>

#include <string>

namespace pf::fetch {

std::wstring system_message(DWORD code);

RuntimeError windows_error(DWORD code, std::wstring where);

}  // namespace pf::fetch
