#pragma once
// A push button; a disabled one is greyed and ignores the mouse.

#include "layouts/layout.h"
#include "toolkit/win32/handles.h"
#include "toolkit/win32/metrics.h"

#include <functional>
#include <string>

namespace pf::win32 {

class Application;

class Button {
public:
    Button(Application& application, HWND parent, const layout::ControlSpec& design, int id, HFONT font,
           const Metrics& metrics);

    [[nodiscard]] const std::string& name() const noexcept { return name_; }
    [[nodiscard]] HWND window() const noexcept { return window_.get(); }

    [[nodiscard]] std::wstring caption() const;
    void set_caption(std::wstring_view text);
    [[nodiscard]] bool enabled() const;
    void set_enabled(bool enabled);
    [[nodiscard]] bool visible() const;
    void set_visible(bool visible);

    // The click handler runs under the application's guard.
    void on_click(std::function<void()> handler) { on_click_ = std::move(handler); }
    // A press reported by the button's container.
    void clicked();

private:
    Application& application_;
    std::string name_;
    UniqueWindow window_;
    std::function<void()> on_click_;
};

}  // namespace pf::win32
