#include "toolkit/win32/application.h"

#include "toolkit/runtime_error.h"
#include "toolkit/win32/win32_error.h"
#include "toolkit/win32/window_target.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <new>

namespace pf::win32 {

class Application::ClassRegistration {
public:
    explicit ClassRegistration(const wchar_t* name) : name_(name) {
        WNDCLASSEXW description{};
        description.cbSize = sizeof description;
        description.lpfnWndProc = target_window_proc;
        description.hInstance = ::GetModuleHandleW(nullptr);
        description.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        description.lpszClassName = name;
        if (::RegisterClassExW(&description) == 0) throw_last_error(L"RegisterClassExW", name);
    }
    ClassRegistration(const ClassRegistration&) = delete;
    ClassRegistration& operator=(const ClassRegistration&) = delete;
    ~ClassRegistration() { ::UnregisterClassW(name_, ::GetModuleHandleW(nullptr)); }

private:
    const wchar_t* name_;
};

namespace {

std::wstring widen_utf8(const char* text) {
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    if (length <= 1) return {};
    std::wstring wide(static_cast<std::size_t>(length - 1), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), length);
    return wide;
}

constexpr long out_of_memory = 7;

}  // namespace

std::wstring standard_error_message(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const RuntimeError& failure) {
        return failure.message();
    } catch (const std::bad_alloc&) {
        return RuntimeError(out_of_memory, L"Mémoire insuffisante").message();
    } catch (const std::exception& failure) {
        return L"Erreur d'exécution :\n" + widen_utf8(failure.what());
    } catch (...) {
        return L"Erreur d'exécution :\nerreur inconnue";
    }
}

TopLevelHandler standard_top_level_handler() {
    return {
        [](const std::wstring& message) {
            ::MessageBoxW(nullptr, message.c_str(), std::wstring(application_title).c_str(),
                          MB_OK | MB_ICONSTOP | MB_TASKMODAL | MB_SETFOREGROUND);
        },
        [] { ::ExitProcess(1); },
    };
}

Application::Application(TopLevelHandler handler)
    : handler_(std::move(handler)), metrics_(Metrics::of_display()) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    for (const wchar_t* name :
         {window_class::screen, window_class::frame, window_class::label, window_class::picture})
        classes_.push_back(std::make_unique<ClassRegistration>(name));
}

Application::~Application() {
    disposed_.clear();
}

int Application::display_width() const {
    return metrics_.x_twips(::GetSystemMetrics(SM_CXSCREEN));
}

int Application::display_height() const {
    return metrics_.y_twips(::GetSystemMetrics(SM_CYSCREEN));
}

void Application::guard(const std::function<void()>& handler) noexcept {
    if (failed_) return;
    ++handler_depth_;
    try {
        handler();
    } catch (...) {
        fail(std::current_exception());
    }
    --handler_depth_;
}

void Application::fail(const std::exception_ptr& error) noexcept {
    // The report is modal and timers keep ticking behind it: from now on no
    // handler runs, so that one error gives one message.
    if (failed_) return;
    failed_ = true;
    try {
        handler_.report(standard_error_message(error));
    } catch (...) {
    }
    if (handler_.end) handler_.end();
}

void Application::dispose(std::shared_ptr<void> object) {
    disposed_.push_back(std::move(object));
    if (handler_depth_ == 0) release_disposed();
}

void Application::release_disposed() {
    // Destroying a screen may dispose of others; take the list first.
    while (!disposed_.empty()) {
        auto batch = std::move(disposed_);
        disposed_.clear();
        batch.clear();
    }
}

int Application::run() {
    MSG message{};
    for (;;) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(message.wParam);
        if (got == -1) throw_last_error(L"GetMessageW", L"boucle de messages");
        if (!translate_keys(message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        if (handler_depth_ == 0) release_disposed();
    }
}

void Application::pump() {
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (!translate_keys(message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        if (handler_depth_ == 0) release_disposed();
    }
}

void Application::quit(int code) {
    ::PostQuitMessage(code);
}

namespace {

bool is_screen_window(HWND window) {
    std::array<wchar_t, 32> name{};
    ::GetClassNameW(window, name.data(), static_cast<int>(name.size()));
    return std::wstring_view(name.data()) == window_class::screen;
}

bool is_button(HWND window) {
    std::array<wchar_t, 32> name{};
    ::GetClassNameW(window, name.data(), static_cast<int>(name.size()));
    return ::CompareStringOrdinal(name.data(), -1, L"Button", -1, TRUE) == CSTR_EQUAL;
}

void collect_tab_stops(HWND parent, std::vector<HWND>& stops) {
    // The screen itself may still be hidden: each child's own visibility counts.
    for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if ((::GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE) == 0 || !::IsWindowEnabled(child)) continue;
        if ((::GetWindowLongW(child, GWL_STYLE) & WS_TABSTOP) != 0) stops.push_back(child);
        if ((::GetWindowLongW(child, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) != 0) collect_tab_stops(child, stops);
    }
}

}  // namespace

std::vector<HWND> tab_stops(HWND root) {
    std::vector<HWND> stops;
    collect_tab_stops(root, stops);
    return stops;
}

bool Application::translate_keys(const MSG& message) {
    if (message.message != WM_KEYDOWN || message.hwnd == nullptr) return false;
    const HWND root = ::GetAncestor(message.hwnd, GA_ROOT);
    if (root == nullptr || !is_screen_window(root)) return false;
    const HWND focus = ::GetFocus();
    if (message.wParam == VK_RETURN && focus != nullptr && is_button(focus)) {
        ::SendMessageW(focus, BM_CLICK, 0, 0);
        return true;
    }
    if (message.wParam != VK_TAB) return false;
    const std::vector<HWND> stops = tab_stops(root);
    if (stops.empty()) return true;
    const bool backwards = (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
    const auto at = std::ranges::find(stops, focus);
    std::size_t next = 0;
    if (at == stops.end()) {
        next = backwards ? stops.size() - 1 : 0;
    } else {
        const auto index = static_cast<std::size_t>(at - stops.begin());
        next = backwards ? (index + stops.size() - 1) % stops.size() : (index + 1) % stops.size();
    }
    ::SetFocus(stops[next]);
    return true;
}

}  // namespace pf::win32
