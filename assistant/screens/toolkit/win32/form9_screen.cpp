#include "toolkit/win32/form9_screen.h"

#include "layouts/form9_layout.h"

namespace pf::win32 {

namespace {

std::array<pf::Label*, package_size> status_lines(const Screen& screen) {
    std::array<pf::Label*, package_size> lines{};
    for (std::size_t i = 0; i < package_size; ++i) lines[i] = &screen.label(package_catalogue[i].status_line);
    return lines;
}

}  // namespace

Form9Screen::Form9Screen(Application& application)
    : screen_(std::make_unique<Screen>(application, layout::form9_layout())),
      controls_{screen_->progress_bar("UpdateStatus"), screen_->timer("UpdateTimer"), screen_->timer("CheckConnect"),
                screen_->label("P"),                     screen_->label("P2"),          screen_->label("l1"),
                status_lines(*screen_)} {}

}  // namespace pf::win32
