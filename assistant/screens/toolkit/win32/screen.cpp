#include "toolkit/win32/screen.h"

#include "toolkit/win32/application.h"
#include "toolkit/win32/win32_error.h"

#include <windowsx.h>

#include <algorithm>
#include <map>

namespace pf::win32 {

namespace {

using layout::ControlKind;
using layout::ControlSpec;

constexpr long object_required = 424;

template <typename Control>
Control& find_named(const std::vector<std::unique_ptr<Control>>& controls, std::string_view name,
                    const std::string& screen, std::wstring_view kind) {
    for (const auto& control : controls)
        if (control->name() == name) return *control;
    throw RuntimeError(object_required, L"Objet requis : " + std::wstring(kind) + L" " + widen(name) + L" absent",
                       widen(screen));
}

struct WindowStyle {
    DWORD style;
    DWORD extended;
};

WindowStyle style_of(layout::WindowKind kind) {
    switch (kind) {
    case layout::WindowKind::fixed_tool_window:
        // A caption bar without a system menu: no close, minimize or maximize button.
        return {WS_OVERLAPPED | WS_CAPTION | WS_CLIPSIBLINGS, WS_EX_TOOLWINDOW | WS_EX_WINDOWEDGE};
    case layout::WindowKind::borderless:
    default:
        // No title bar: the caption shows on the taskbar button only.
        return {WS_POPUP | WS_CLIPSIBLINGS, WS_EX_APPWINDOW};
    }
}

bool is_windowed(ControlKind kind) {
    return kind == ControlKind::button || kind == ControlKind::frame || kind == ControlKind::picture_box ||
           kind == ControlKind::progress_bar;
}

UniqueIcon load_icon(const layout::Picture& icon, int metric_x, int metric_y, const std::string& screen) {
    if (icon.kind != layout::PictureKind::icon) return {};
    UniqueIcon loaded(static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(icon.resource),
                                                      IMAGE_ICON, ::GetSystemMetrics(metric_x),
                                                      ::GetSystemMetrics(metric_y), LR_DEFAULTCOLOR)));
    if (!loaded) throw_last_error(L"LoadImageW (icône de l'écran)", widen(screen));
    return loaded;
}

}  // namespace

Screen::Screen(Application& application, const layout::ScreenSpec& design)
    : WindowTarget(application), name_(design.name), placement_(design.placement), fonts_(application.metrics()) {
    layout::validate(design);
    const Metrics& metrics = application.metrics();
    const WindowStyle style = style_of(design.kind);
    RECT outer{0, 0, metrics.x_pixels(design.client_width), metrics.y_pixels(design.client_height)};
    ::AdjustWindowRectEx(&outer, style.style, FALSE, style.extended);
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    int x = CW_USEDEFAULT;
    int y = CW_USEDEFAULT;
    switch (design.placement) {
    case layout::Placement::fixed:
        x = metrics.x_pixels(design.left);
        y = metrics.y_pixels(design.top);
        break;
    case layout::Placement::centred:
        x = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
        y = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
        break;
    case layout::Placement::default_place:
    case layout::Placement::maximized:
        break;
    }
    large_icon_ = load_icon(design.icon, SM_CXICON, SM_CYICON, name_);
    small_icon_ = load_icon(design.icon, SM_CXSMICON, SM_CYSMICON, name_);
    window_ = create_target_window(*this, window_class::screen, design.caption, style.style, style.extended,
                                   {x, y, x + width, y + height}, nullptr, 0, widen(name_));
    if (large_icon_) ::SendMessageW(window_.get(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large_icon_.get()));
    if (small_icon_)
        ::SendMessageW(window_.get(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon_.get()));
    surface_ = std::make_unique<Surface>(
        window_.get(), design.back_color.value_or(static_cast<Color>(::GetSysColor(COLOR_BTNFACE))),
        Picture::load(design.picture, widen(name_)));
    build_controls(design);
}

Screen::~Screen() = default;

HFONT Screen::font_for(const ControlSpec& design) {
    return fonts_.get(design.font.value_or(layout::default_font()));
}

Surface& Screen::surface_of(const std::string& container) const {
    if (container.empty()) return *surface_;
    return frame(container).surface();
}

void Screen::build_windowed(const layout::ScreenSpec& design, const std::string& container, HWND parent,
                            Surface& surface) {
    // Windowed controls are created in tab order, which makes it their z-order
    // and so the focus order.
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < design.controls.size(); ++i)
        if (design.controls[i].container == container && is_windowed(design.controls[i].kind)) order.push_back(i);
    std::ranges::stable_sort(order, [&](std::size_t a, std::size_t b) {
        const auto& first = design.controls[a].tab_index;
        const auto& second = design.controls[b].tab_index;
        return first.value_or(INT_MAX) < second.value_or(INT_MAX);
    });
    const Metrics& metrics = application().metrics();
    for (const std::size_t index : order) {
        const ControlSpec& control = design.controls[index];
        const int id = static_cast<int>(index);
        HWND created = nullptr;
        switch (control.kind) {
        case ControlKind::button:
            buttons_.push_back(
                std::make_unique<Button>(application(), parent, control, id, font_for(control), metrics));
            created = buttons_.back()->window();
            break;
        case ControlKind::picture_box:
            picture_boxes_.push_back(std::make_unique<PictureBox>(application(), parent, control, id, metrics));
            created = picture_boxes_.back()->window();
            break;
        case ControlKind::progress_bar:
            progress_bars_.push_back(std::make_unique<ProgressBar>(parent, control, id, metrics));
            created = progress_bars_.back()->window();
            break;
        case ControlKind::frame: {
            frames_.push_back(std::make_unique<Frame>(application(), parent, control, id, font_for(control), metrics));
            Frame& frame = *frames_.back();
            created = frame.window();
            surface.add_windowed(created);
            build_windowed(design, control.name, frame.window(), frame.surface());
            continue;
        }
        default:
            continue;
        }
        surface.add_windowed(created);
    }
}

void Screen::build_controls(const layout::ScreenSpec& design) {
    build_windowed(design, {}, window_.get(), *surface_);
    const Metrics& metrics = application().metrics();
    // Label windows come below the windowed controls, the last stored on top,
    // so that a press goes to what is painted over the others.
    std::map<std::size_t, Label*> labels_by_index;
    for (std::size_t i = design.controls.size(); i-- > 0;) {
        const ControlSpec& control = design.controls[i];
        if (control.kind != ControlKind::label) continue;
        labels_.push_back(std::make_unique<Label>(application(), surface_of(control.container), control,
                                                  static_cast<int>(i), font_for(control), metrics));
        labels_by_index[i] = labels_.back().get();
    }
    std::ranges::reverse(labels_);  // keep the stored order for lookups
    for (std::size_t i = 0; i < design.controls.size(); ++i) {
        const ControlSpec& control = design.controls[i];
        switch (control.kind) {
        case ControlKind::label:
            surface_of(control.container).add(*labels_by_index.at(i));
            break;
        case ControlKind::line:
            lines_.push_back(std::make_unique<Line>(control, metrics, surface_of(control.container)));
            surface_of(control.container).add(*lines_.back());
            break;
        case ControlKind::timer:
            timers_.push_back(std::make_unique<Timer>(application(), window_.get(), i + 1, control));
            break;
        default:
            break;
        }
    }
}

Label& Screen::label(std::string_view name) const { return find_named(labels_, name, name_, L"étiquette"); }
Button& Screen::button(std::string_view name) const { return find_named(buttons_, name, name_, L"bouton"); }
Frame& Screen::frame(std::string_view name) const { return find_named(frames_, name, name_, L"cadre"); }
PictureBox& Screen::picture_box(std::string_view name) const {
    return find_named(picture_boxes_, name, name_, L"image");
}
ProgressBar& Screen::progress_bar(std::string_view name) const {
    return find_named(progress_bars_, name, name_, L"barre de progression");
}
Timer& Screen::timer(std::string_view name) const { return find_named(timers_, name, name_, L"minuterie"); }
Line& Screen::line(std::string_view name) const { return find_named(lines_, name, name_, L"ligne"); }

void Screen::show() {
    if (retired_) return;
    ::ShowWindow(window_.get(), placement_ == layout::Placement::maximized ? SW_SHOWMAXIMIZED : SW_SHOW);
    ::SetWindowPos(window_.get(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SetForegroundWindow(window_.get());
    const std::vector<HWND> stops = tab_stops(window_.get());
    ::SetFocus(stops.empty() ? window_.get() : stops.front());
}

void Screen::hide() {
    ::ShowWindow(window_.get(), SW_HIDE);
}

bool Screen::visible() const {
    return ::IsWindowVisible(window_.get()) != FALSE;
}

void Screen::retire() {
    retired_ = true;
    hide();
    for (const auto& timer : timers_) timer->stop();
    if (::GetCapture() == window_.get()) ::ReleaseCapture();
}

void Screen::refresh() {
    ::RedrawWindow(window_.get(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

int Screen::left() const {
    RECT place{};
    ::GetWindowRect(window_.get(), &place);
    return application().metrics().x_twips(place.left);
}

int Screen::top() const {
    RECT place{};
    ::GetWindowRect(window_.get(), &place);
    return application().metrics().y_twips(place.top);
}

int Screen::width() const {
    RECT place{};
    ::GetWindowRect(window_.get(), &place);
    return application().metrics().x_twips(place.right - place.left);
}

int Screen::height() const {
    RECT place{};
    ::GetWindowRect(window_.get(), &place);
    return application().metrics().y_twips(place.bottom - place.top);
}

void Screen::set_left(int twips) {
    RECT place{};
    ::GetWindowRect(window_.get(), &place);
    ::SetWindowPos(window_.get(), nullptr, application().metrics().x_pixels(twips), place.top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Screen::set_top(int twips) {
    RECT place{};
    ::GetWindowRect(window_.get(), &place);
    ::SetWindowPos(window_.get(), nullptr, place.left, application().metrics().y_pixels(twips), 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {

// Button and key masks as the handlers receive them.
namespace mouse_button {
constexpr int left = 1;
constexpr int right = 2;
constexpr int middle = 4;
}  // namespace mouse_button
namespace shift_key {
constexpr int shift = 1;
constexpr int ctrl = 2;
constexpr int alt = 4;
}  // namespace shift_key

int held_buttons(WPARAM wparam) {
    int buttons = 0;
    if ((wparam & MK_LBUTTON) != 0) buttons |= mouse_button::left;
    if ((wparam & MK_RBUTTON) != 0) buttons |= mouse_button::right;
    if ((wparam & MK_MBUTTON) != 0) buttons |= mouse_button::middle;
    return buttons;
}

int held_keys() {
    int keys = 0;
    if ((::GetKeyState(VK_SHIFT) & 0x8000) != 0) keys |= shift_key::shift;
    if ((::GetKeyState(VK_CONTROL) & 0x8000) != 0) keys |= shift_key::ctrl;
    if ((::GetKeyState(VK_MENU) & 0x8000) != 0) keys |= shift_key::alt;
    return keys;
}

}  // namespace

bool Screen::over_child(LPARAM position) const {
    // Disabled controls pass presses on to their container; they still are not background.
    const POINT point{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    const HWND hit = ::ChildWindowFromPointEx(window_.get(), point, CWP_SKIPINVISIBLE);
    return hit != nullptr && hit != window_.get();
}

void Screen::mouse(const MouseHandler& handler, int button, LPARAM position) {
    if (!handler || retired_) return;
    const Metrics& metrics = application().metrics();
    const MouseEvent event{button, held_keys(),
                           static_cast<double>(GET_X_LPARAM(position) * metrics.twips_per_pixel_x()),
                           static_cast<double>(GET_Y_LPARAM(position) * metrics.twips_per_pixel_y())};
    const MouseHandler copy = handler;  // the handler may replace itself
    application().guard([&] { copy(event); });
}

LRESULT Screen::on_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (const auto answer = answer_paint_message(surface_.get(), window, message, wparam)) return *answer;
    const bool captured = ::GetCapture() == window;
    switch (message) {
    case WM_TIMER:
        for (const auto& timer : timers_)
            if (timer->id() == wparam) timer->ticked();
        return 0;
    case WM_COMMAND:
        if (HIWORD(wparam) == BN_CLICKED && !retired_) {
            for (const auto& button : buttons_)
                if (button->window() == reinterpret_cast<HWND>(lparam)) button->clicked();
        }
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
        if (!captured && over_child(lparam)) return 0;
        ::SetCapture(window);
        const int button = message == WM_LBUTTONDOWN   ? mouse_button::left
                           : message == WM_RBUTTONDOWN ? mouse_button::right
                                                       : mouse_button::middle;
        mouse(on_mouse_down_, button, lparam);
        return 0;
    }
    case WM_MOUSEMOVE:
        if (!captured && over_child(lparam)) return 0;
        mouse(on_mouse_move_, held_buttons(wparam), lparam);
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        if (!captured && over_child(lparam)) return 0;
        const int button = message == WM_LBUTTONUP   ? mouse_button::left
                           : message == WM_RBUTTONUP ? mouse_button::right
                                                     : mouse_button::middle;
        if (captured && held_buttons(wparam) == 0) ::ReleaseCapture();
        mouse(on_mouse_up_, button, lparam);
        return 0;
    }
    case WM_CLOSE:
        // Screens go only when the program unloads them or ends.
        return 0;
    default:
        return ::DefWindowProcW(window, message, wparam, lparam);
    }
}

}  // namespace pf::win32
