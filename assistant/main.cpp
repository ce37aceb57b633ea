// packfetch: walks the user from the splash screen to the download screen,
// brings the installation package onto the machine and starts its installer.
#include "fetch/wininet_package_files.h"
#include "startup/startup_scripts.h"
#include "system_connection_probe.h"
#include "toolkit/win32/application.h"
#include "toolkit/win32/chain_screens.h"
#include "toolkit/win32/dialogs.h"
#include "toolkit/win32/process.h"
#include "toolkit/win32/screen_registry.h"

#include <windows.h>

#include <exception>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    pf::win32::Application application;
    try {
        pf::win32::Dialogs dialogs;
        pf::win32::Process process;
        pf::fetch::WinInetPackageFiles files;
        pf::win::SystemConnectionProbe probe;
        const pf::win32::DownloadServices services{dialogs, process, files, probe, PACKFETCH_SERVER};

        pf::win32::ScreenRegistry screens(application, [&](pf::ScreenId screen, pf::ScreenFlow& flow) {
            return pf::win32::build_chain_screen(screen, flow, application, services);
        });
        // Main: everything else happens in the screens' ticks and clicks.
        application.guard([&] { pf::start_chain(screens); });
        return application.run();
    } catch (...) {
        application.fail(std::current_exception());
        return 1;
    }
}
