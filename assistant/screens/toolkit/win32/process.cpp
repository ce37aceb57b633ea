#include "toolkit/win32/process.h"

#include "toolkit/runtime_error.h"
#include "toolkit/win32/handles.h"
#include "toolkit/win32/win32_error.h"

#include <windows.h>

#include <string>

namespace pf::win32 {

namespace {
constexpr long file_not_found = 53;
}

void Process::start_program(std::wstring_view path, int show_command) {
    const std::wstring program(path);
    // The command line is the quoted path alone; CreateProcessW may write into it.
    std::wstring command_line = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(show_command);
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &started)) {
        const DWORD code = ::GetLastError();
        if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND)
            throw RuntimeError(file_not_found, L"Fichier introuvable", program);
        throw_error(code, L"CreateProcessW", program);
    }
    const UniqueKernelHandle process(started.hProcess);
    const UniqueKernelHandle thread(started.hThread);
}

void Process::end() {
    ::ExitProcess(0);
}

}  // namespace pf::win32
