#pragma once
// The program's windowing state: the window classes, the display's measures,
// the top-level error handler every handler runs under, the screens waiting to
// be destroyed, and the message loop.

#include "toolkit/win32/metrics.h"

#include <windows.h>

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pf::win32 {

// The title of message boxes that name none, and of the standard error message.
inline constexpr std::wstring_view application_title = L"packfetch";

// The standard error message for an error that escaped a handler.
std::wstring standard_error_message(const std::exception_ptr& error);

// What happens to an error that escapes a handler: it is reported, then the
// program ends. Tests replace both to watch the handler at work.
struct TopLevelHandler {
    std::function<void(const std::wstring& message)> report;
    std::function<void()> end;
};
// A stop-icon message box titled with the application title, then ExitProcess(1).
TopLevelHandler standard_top_level_handler();

// One per process at a time: it registers the window classes, which outlive
// no screen, so every screen is destroyed before its Application.
class Application {
public:
    explicit Application(TopLevelHandler handler = standard_top_level_handler());
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;
    ~Application();

    [[nodiscard]] const Metrics& metrics() const noexcept { return metrics_; }
    // The display's size in twips.
    [[nodiscard]] int display_width() const;
    [[nodiscard]] int display_height() const;

    // Runs an event handler: an error escaping it goes to the top-level
    // handler. Once an error has been reported, no handler runs any more.
    void guard(const std::function<void()>& handler) noexcept;
    void fail(const std::exception_ptr& error) noexcept;
    [[nodiscard]] bool failed() const noexcept { return failed_; }

    // A screen unloaded by a handler may still be on the call stack (its own
    // tick unloads it): retire() it, then hand it (or the object owning it)
    // here; it is destroyed when the message loop has control back.
    template <typename T>
    void dispose_later(std::unique_ptr<T> object) {
        dispose(std::shared_ptr<void>(std::move(object)));
    }

    // Delivers messages until quit() is called; returns quit's code.
    int run();
    void quit(int code);
    // Delivers the messages waiting now, without blocking.
    void pump();

private:
    void dispose(std::shared_ptr<void> object);
    bool translate_keys(const MSG& message);
    void release_disposed();

    class ClassRegistration;
    TopLevelHandler handler_;
    Metrics metrics_;
    std::vector<std::unique_ptr<ClassRegistration>> classes_;
    std::vector<std::shared_ptr<void>> disposed_;
    int handler_depth_ = 0;
    bool failed_ = false;
};

// The windows of `root` that take the focus, in tab order (frames are walked into).
std::vector<HWND> tab_stops(HWND root);

}  // namespace pf::win32
