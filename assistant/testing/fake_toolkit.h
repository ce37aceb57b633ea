#pragma once
// In-memory stand-ins for the toolkit, for running screen logic natively.

#include "toolkit/controls.h"
#include "toolkit/progress_value.h"

#include <optional>
#include <string>
#include <vector>

namespace pf::fakes {

class FakeLabel final : public Label {
public:
    explicit FakeLabel(std::wstring caption = {}, Color color = colors::blue, bool visible = true)
        : caption_(std::move(caption)), color_(color), visible_(visible) {}
    void set_caption(std::wstring_view text) override { caption_ = text; }
    std::wstring caption() const override { return caption_; }
    void set_fore_color(Color color) override { color_ = color; }
    Color fore_color() const override { return color_; }
    void set_visible(bool visible) override { visible_ = visible; }
    bool visible() const override { return visible_; }

private:
    std::wstring caption_;
    Color color_;
    bool visible_;
};

class FakeTimer final : public Timer {
public:
    void set_enabled(bool enabled) override { enabled_ = enabled; }
    bool enabled() const override { return enabled_; }

private:
    bool enabled_ = false;
};

class FakeProgressBar final : public ProgressBar {
public:
    FakeProgressBar(float min, float max) : value_(min, max) {}
    float value() const override { return value_.value(); }
    void set_value(float value) override { value_.set(value, L"UpdateStatus"); }
    float min() const override { return value_.min(); }
    float max() const override { return value_.max(); }

private:
    ProgressValue value_;
};

struct ShownBox {
    std::wstring prompt;
    int style;
    std::optional<std::wstring> title;
};

class FakeDialogs final : public Dialogs {
public:
    int message_box(std::wstring_view prompt, int style, std::optional<std::wstring_view> title) override {
        boxes.push_back({std::wstring(prompt), style,
                         title ? std::optional<std::wstring>(std::wstring(*title)) : std::nullopt});
        return answer;
    }
    std::vector<ShownBox> boxes;
    int answer = box::answer_yes;
};

// Thrown by FakeProcess::end so that a test sees the program end where it would stop.
struct ProgramEnded {};

class FakeProcess final : public Process {
public:
    void start_program(std::wstring_view path, int show_command) override {
        started.emplace_back(path);
        last_show_command = show_command;
    }
    [[noreturn]] void end() override {
        ended = true;
        throw ProgramEnded{};
    }
    std::vector<std::wstring> started;
    int last_show_command = -1;
    bool ended = false;
};

}  // namespace pf::fakes
