#pragma once
// A screen built from its layout table: a top-level window of the table's kind
// and placement, with every control of the table, created hidden. Handlers for
// ticks, clicks and mouse events are attached by name and run under the
// application's guard.

#include "layouts/layout.h"
#include "toolkit/mouse_event.h"
#include "toolkit/win32/button.h"
#include "toolkit/win32/font_cache.h"
#include "toolkit/win32/frame.h"
#include "toolkit/win32/handles.h"
#include "toolkit/win32/label.h"
#include "toolkit/win32/line.h"
#include "toolkit/win32/picture_box.h"
#include "toolkit/win32/progress_bar.h"
#include "toolkit/win32/surface.h"
#include "toolkit/win32/timer.h"
#include "toolkit/win32/window_target.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pf::win32 {

using MouseHandler = std::function<void(const MouseEvent&)>;

class Screen final : private WindowTarget {
public:
    // Throws RuntimeError when a window, font or picture cannot be made, and
    // std::invalid_argument when the table contradicts itself.
    Screen(Application& application, const layout::ScreenSpec& design);
    ~Screen() override;

    [[nodiscard]] const std::string& name() const noexcept { return name_; }
    [[nodiscard]] HWND window() const noexcept { return window_.get(); }

    // Controls by name; a name the table lacks throws RuntimeError.
    [[nodiscard]] Label& label(std::string_view name) const;
    [[nodiscard]] Button& button(std::string_view name) const;
    [[nodiscard]] Frame& frame(std::string_view name) const;
    [[nodiscard]] PictureBox& picture_box(std::string_view name) const;
    [[nodiscard]] ProgressBar& progress_bar(std::string_view name) const;
    [[nodiscard]] Timer& timer(std::string_view name) const;
    [[nodiscard]] Line& line(std::string_view name) const;

    // Visible, in front, with the focus on its first control in tab order.
    void show();
    void hide();
    [[nodiscard]] bool visible() const;
    // For unloading: hidden, timers stopped for good, handlers silent. The
    // object itself goes through Application::dispose_later.
    void retire();
    // Paints every pending change now, as during a long blocking handler.
    void refresh();

    // Outer window position and size in twips; writes move the window at once.
    [[nodiscard]] int left() const;
    void set_left(int twips);
    [[nodiscard]] int top() const;
    void set_top(int twips);
    [[nodiscard]] int width() const;
    [[nodiscard]] int height() const;

    // Presses and moves over the screen's own background only; a press captures
    // the mouse until its buttons are released, so a fast drag keeps its moves.
    void on_mouse_down(MouseHandler handler) { on_mouse_down_ = std::move(handler); }
    void on_mouse_move(MouseHandler handler) { on_mouse_move_ = std::move(handler); }
    void on_mouse_up(MouseHandler handler) { on_mouse_up_ = std::move(handler); }

private:
    LRESULT on_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override;
    void build_controls(const layout::ScreenSpec& design);
    void build_windowed(const layout::ScreenSpec& design, const std::string& container, HWND parent,
                        Surface& surface);
    [[nodiscard]] Surface& surface_of(const std::string& container) const;
    [[nodiscard]] HFONT font_for(const layout::ControlSpec& design);
    void mouse(const MouseHandler& handler, int button, LPARAM position);
    [[nodiscard]] bool over_child(LPARAM position) const;

    std::string name_;
    layout::Placement placement_;
    FontCache fonts_;
    UniqueIcon large_icon_;
    UniqueIcon small_icon_;
    UniqueWindow window_;
    std::unique_ptr<Surface> surface_;
    std::vector<std::unique_ptr<Frame>> frames_;
    std::vector<std::unique_ptr<Label>> labels_;
    std::vector<std::unique_ptr<Button>> buttons_;
    std::vector<std::unique_ptr<PictureBox>> picture_boxes_;
    std::vector<std::unique_ptr<ProgressBar>> progress_bars_;
    std::vector<std::unique_ptr<Line>> lines_;
    std::vector<std::unique_ptr<Timer>> timers_;
    MouseHandler on_mouse_down_;
    MouseHandler on_mouse_move_;
    MouseHandler on_mouse_up_;
    bool retired_ = false;
};

}  // namespace pf::win32
