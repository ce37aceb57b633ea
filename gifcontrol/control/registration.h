// Self-registration: the registry entries of the control class, its program identifiers
// and its property page classes, and the registration of the type library.
#pragma once

#include <windows.h>

#include <string>

namespace animview::control {

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"
std::wstring guid_string(REFGUID guid);

// Writes every entry and registers the type library carried by the library file at
// `module_path`. On failure whatever was written is taken away again.
HRESULT register_server(const std::wstring& module_path);
// Removes every entry and the type library's registration; missing entries are no error.
HRESULT unregister_server();

}  // namespace animview::control
