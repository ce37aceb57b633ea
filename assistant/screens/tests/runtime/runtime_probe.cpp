// A program run by process_test to watch what only a whole process shows:
//   runtime_probe unhandled MARKER  a tick throws; another timer appends to MARKER on each tick
//   runtime_probe end MARKER        a tick ends the program, then would write MARKER
//   runtime_probe                   (as started by start_program) waits a little, then writes
//                                   "<own path>.started"

#include "layouts/layout.h"
#include "toolkit/runtime_error.h"
#include "toolkit/win32/application.h"
#include "toolkit/win32/process.h"
#include "toolkit/win32/screen.h"

#include <windows.h>
#include <shellapi.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

using namespace pf;

std::vector<std::wstring> arguments() {
    int count = 0;
    LPWSTR* raw = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::wstring> list(raw, raw + count);
    ::LocalFree(raw);
    return list;
}

layout::ScreenSpec probe_screen() {
    return {.name = "Probe", .caption = L"Sonde", .placement = layout::Placement::fixed, .left = 1500, .top = 1500,
            .client_width = 3000, .client_height = 1500, .back_color = colors::black,
            .controls = {{.name = "Failing", .kind = layout::ControlKind::timer, .enabled = true, .interval = 50},
                         {.name = "Witness", .kind = layout::ControlKind::timer, .enabled = true, .interval = 1}}};
}

void append(const std::wstring& path, const char* text) {
    std::ofstream(path.c_str(), std::ios::app) << text;
}

}  // namespace

int main() {
    const std::vector<std::wstring> args = arguments();
    if (args.size() < 3) {
        ::Sleep(1000);
        append(args.at(0) + L".started", "started");
        return 0;
    }
    const std::wstring& mode = args[1];
    const std::wstring& marker = args[2];
    win32::Application application;
    win32::Process process;
    win32::Screen screen(application, probe_screen());
    screen.show();
    screen.timer("Witness").on_tick([&] { append(marker, "."); });
    screen.timer("Failing").on_tick([&] {
        if (mode == L"unhandled") throw RuntimeError(53, L"Fichier introuvable", L"c:\\Pack\\zrx25.exe");
        process.end();
        append(marker, "after end");  // never reached
    });
    return application.run();
}
