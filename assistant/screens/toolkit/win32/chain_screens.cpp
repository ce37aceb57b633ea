#include "toolkit/win32/chain_screens.h"

#include "layouts/startup_layouts.h"
#include "startup/quit_confirmation.h"
#include "startup/startup_scripts.h"

#include <array>
#include <functional>
#include <vector>

namespace pf::win32 {

namespace {

// A screen whose UpdateTimer runs a screen script on its UpdateStatus clock.
class ScriptedScreen final : public LoadedScreen {
public:
    using Steps = std::function<std::vector<ScriptStep>(Screen&)>;

    ScriptedScreen(Application& application, const layout::ScreenSpec& design, const Steps& steps)
        : screen_(std::make_unique<Screen>(application, design)),
          script_(screen_->progress_bar("UpdateStatus"), steps(*screen_)) {
        screen_->timer("UpdateTimer").on_tick([this] { script_.tick(); });
    }
    [[nodiscard]] Screen& screen() override { return *screen_; }

private:
    std::unique_ptr<Screen> screen_;
    ScreenScript script_;
};

std::array<pf::Label*, splash_letters.size()> letter_labels(const Screen& screen) {
    std::array<pf::Label*, splash_letters.size()> letters{};
    for (std::size_t i = 0; i < splash_letters.size(); ++i) letters[i] = &screen.label(splash_letters[i].label);
    return letters;
}

std::unique_ptr<LoadedScreen> welcome_screen(Application& application, ScreenFlow& flow,
                                             const DownloadServices& services) {
    auto welcome = std::make_unique<PlainScreen>(application, layout::form1_layout());
    welcome->screen().button("Command1").on_click([&flow] { continue_to_download(flow); });
    welcome->screen().button("Command2").on_click(
        [&dialogs = services.dialogs, &process = services.process] { confirm_quit(dialogs, process); });
    return welcome;
}

}  // namespace

std::unique_ptr<LoadedScreen> build_chain_screen(ScreenId screen, ScreenFlow& flow, Application& application,
                                                 const DownloadServices& services) {
    switch (screen) {
    case ScreenId::Form14:
        return std::make_unique<ScriptedScreen>(application, layout::form14_layout(), [&flow](Screen& splash) {
            return splash_steps(flow, letter_labels(splash));
        });
    case ScreenId::frmini:
        return std::make_unique<ScriptedScreen>(application, layout::frmini_layout(),
                                                [&flow](Screen&) { return introduction_steps(flow); });
    case ScreenId::Form2:
    case ScreenId::BACK:
        return std::make_unique<PlainScreen>(application, layout::layout_of(screen));
    case ScreenId::Form1:
        return welcome_screen(application, flow, services);
    case ScreenId::Form9:
        return std::make_unique<DownloadScreenDriver>(application, services);
    }
    return nullptr;
}

}  // namespace pf::win32
