#pragma once
// The screens of the chain by name: each exists at most once, is created
// hidden in its design state on first reference, and is destroyed when
// unloaded, even from one of its own handlers.

#include "startup/screen_flow.h"
#include "toolkit/win32/screen.h"

#include <functional>
#include <map>
#include <memory>

namespace pf::win32 {

// A screen with whatever drives it (its scripts and handlers), which lives and
// goes with it.
class LoadedScreen {
public:
    virtual ~LoadedScreen() = default;
    [[nodiscard]] virtual Screen& screen() = 0;
};

// A screen with nothing to drive.
class PlainScreen final : public LoadedScreen {
public:
    PlainScreen(Application& application, const layout::ScreenSpec& design)
        : screen_(std::make_unique<Screen>(application, design)) {}
    [[nodiscard]] Screen& screen() override { return *screen_; }

private:
    std::unique_ptr<Screen> screen_;
};

class ScreenRegistry final : public ScreenFlow {
public:
    // Builds a screen, hidden, with its handlers wired; `flow` is this registry.
    using Factory = std::function<std::unique_ptr<LoadedScreen>(ScreenId screen, ScreenFlow& flow)>;

    ScreenRegistry(Application& application, Factory factory);
    ScreenRegistry(const ScreenRegistry&) = delete;
    ScreenRegistry& operator=(const ScreenRegistry&) = delete;
    ~ScreenRegistry() override;

    void show(ScreenId screen) override;
    void load_hidden(ScreenId screen) override;
    void unload(ScreenId screen) override;
    Timer& script_timer(ScreenId screen) override;

    // The screen, created on this first reference if need be.
    [[nodiscard]] Screen& screen(ScreenId screen);
    [[nodiscard]] bool loaded(ScreenId screen) const { return screens_.contains(screen); }

private:
    LoadedScreen& reference(ScreenId screen);

    Application& application_;
    Factory factory_;
    std::map<ScreenId, std::unique_ptr<LoadedScreen>> screens_;
};

}  // namespace pf::win32
