#pragma once
// The controls of the download screen that its script and the watchdog drive.

#include "catalogue.h"
#include "toolkit/controls.h"

#include <array>

namespace pf {

struct DownloadScreenControls {
    ProgressBar& UpdateStatus;  // the script clock, Min 0, Max 6000
    Timer& UpdateTimer;
    Timer& CheckConnect;
    Label& P;   // percentage
    Label& P2;  // waiting message while offline
    Label& l1;  // message line
    std::array<Label*, package_size> status_lines;  // entry 1 first
};

}  // namespace pf
