#include "toolkit/win32/screen_registry.h"

#include "toolkit/win32/application.h"

#include <stdexcept>
#include <string>

namespace pf::win32 {

ScreenRegistry::ScreenRegistry(Application& application, Factory factory)
    : application_(application), factory_(std::move(factory)) {}

ScreenRegistry::~ScreenRegistry() = default;

LoadedScreen& ScreenRegistry::reference(ScreenId screen) {
    if (const auto found = screens_.find(screen); found != screens_.end()) return *found->second;
    std::unique_ptr<LoadedScreen> created = factory_(screen, *this);
    if (!created)
        throw std::logic_error("no screen was built for screen number " + std::to_string(static_cast<int>(screen)));
    return *screens_.emplace(screen, std::move(created)).first->second;
}

Screen& ScreenRegistry::screen(ScreenId screen) {
    return reference(screen).screen();
}

void ScreenRegistry::show(ScreenId screen) {
    reference(screen).screen().show();
}

void ScreenRegistry::load_hidden(ScreenId screen) {
    reference(screen).screen().hide();
}

void ScreenRegistry::unload(ScreenId screen) {
    const auto found = screens_.find(screen);
    if (found == screens_.end()) return;
    std::unique_ptr<LoadedScreen> going = std::move(found->second);
    screens_.erase(found);
    // The handler asking for this may belong to the screen itself: it goes
    // silent and out of sight now, and is destroyed once that handler is over.
    going->screen().retire();
    application_.dispose_later(std::move(going));
}

Timer& ScreenRegistry::script_timer(ScreenId screen) {
    return reference(screen).screen().timer("UpdateTimer");
}

}  // namespace pf::win32
