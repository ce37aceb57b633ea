#pragma once
// The download screen Form9 as real windows, with the controls its script and
// watchdog drive gathered for them.

#include "download_screen.h"
#include "toolkit/win32/screen.h"

#include <memory>

namespace pf::win32 {

class Form9Screen {
public:
    // Created hidden, in the state of its layout table.
    explicit Form9Screen(Application& application);
    Form9Screen(const Form9Screen&) = delete;
    Form9Screen& operator=(const Form9Screen&) = delete;

    [[nodiscard]] Screen& screen() noexcept { return *screen_; }
    [[nodiscard]] DownloadScreenControls& controls() noexcept { return controls_; }

private:
    std::unique_ptr<Screen> screen_;
    DownloadScreenControls controls_;
};

}  // namespace pf::win32
