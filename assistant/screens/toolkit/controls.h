#pragma once
// What the screens' logic sees of the windowing toolkit: labels, timers, the
// progress bar that doubles as a script clock, message boxes and the process.
// Nothing here includes Windows headers, so the logic built on it is tested natively.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pf {

// 24-bit colour with red in the low byte (0x00BBGGRR), as Windows' COLORREF.
using Color = std::uint32_t;

namespace colors {
inline constexpr Color black = 0;
inline constexpr Color red = 255;
inline constexpr Color green = 65280;
inline constexpr Color yellow = 65535;
inline constexpr Color orange = 33023;
inline constexpr Color blue = 16711680;
inline constexpr Color grey = 8421504;
inline constexpr Color white = 16777215;
}  // namespace colors

class Label {
public:
    virtual ~Label() = default;
    virtual void set_caption(std::wstring_view text) = 0;
    [[nodiscard]] virtual std::wstring caption() const = 0;
    virtual void set_fore_color(Color color) = 0;
    [[nodiscard]] virtual Color fore_color() const = 0;
    virtual void set_visible(bool visible) = 0;
    [[nodiscard]] virtual bool visible() const = 0;
};

class Timer {
public:
    virtual ~Timer() = default;
    virtual void set_enabled(bool enabled) = 0;
    [[nodiscard]] virtual bool enabled() const = 0;
};

// Min, Max and a single-precision Value; writing a Value outside Min..Max throws
// RuntimeError, which ends the program through the top-level handler.
class ProgressBar {
public:
    virtual ~ProgressBar() = default;
    [[nodiscard]] virtual float value() const = 0;
    virtual void set_value(float value) = 0;
    [[nodiscard]] virtual float min() const = 0;
    [[nodiscard]] virtual float max() const = 0;
};

// Message box style flags and answers, as the platform defines them.
namespace box {
inline constexpr int ok = 0;
inline constexpr int yes_no = 4;
inline constexpr int stop_icon = 16;
inline constexpr int information_icon = 64;
inline constexpr int answer_yes = 6;
inline constexpr int answer_no = 7;
}  // namespace box

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Modal; without a title the box bears the application title.
    virtual int message_box(std::wstring_view prompt, int style,
                            std::optional<std::wstring_view> title = std::nullopt) = 0;
};

class Process {
public:
    virtual ~Process() = default;
    // Starts a program without waiting for it; throws RuntimeError when it cannot be started.
    virtual void start_program(std::wstring_view path, int show_command) = 0;
    // Ends the program at once: no further code of the current handler runs.
    [[noreturn]] virtual void end() = 0;
};

inline constexpr int show_normal = 1;

}  // namespace pf
