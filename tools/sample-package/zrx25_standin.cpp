// Stand-in for the product's installer in the sample package. It proves that
// packfetch started it: it records its start in a file beside itself
// (zrx25.started.txt, with the time and its command line) and says so on screen.
// With --quiet it only records, for unattended runs.
#include <windows.h>

#include <cwchar>
#include <string>

namespace {

std::wstring own_folder() {
    std::wstring path(MAX_PATH, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(length);
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

bool record_start(const std::wstring& marker) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t stamp[64];
    std::swprintf(stamp, 64, L"%04u-%02u-%02u %02u:%02u:%02u", now.wYear, now.wMonth, now.wDay, now.wHour,
                  now.wMinute, now.wSecond);
    const std::wstring text = std::wstring(L"zrx25.exe started ") + stamp + L"\r\n" + GetCommandLineW() + L"\r\n";

    const HANDLE file = CreateFileW(marker.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(bytes > 0 ? bytes - 1 : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8.data(), bytes, nullptr, nullptr);
    DWORD written = 0;
    const BOOL ok = WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == utf8.size();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR command_line, int) {
    const std::wstring marker = own_folder() + L"zrx25.started.txt";
    const bool recorded = record_start(marker);
    if (std::wcsstr(command_line, L"--quiet") == nullptr) {
        const std::wstring text = L"Installation de Varnox Lumirand V2.5\n\n"
                                  L"Ceci est l'installateur de démonstration du paquet d'exemple : "
                                  L"packfetch l'a bien lancé.\n\n" +
                                  (recorded ? L"Trace : " + marker : L"Impossible d'écrire " + marker);
        MessageBoxW(nullptr, text.c_str(), L"zrx25 - installateur de démonstration", MB_OK | MB_ICONINFORMATION);
    }
    return recorded ? 0 : 1;
}
