#pragma once
// The common-controls progress bar. Value is single precision and reads back
// exactly what was written; the bar shows it rounded to a whole step.

#include "layouts/layout.h"
#include "toolkit/controls.h"
#include "toolkit/progress_value.h"
#include "toolkit/win32/handles.h"
#include "toolkit/win32/metrics.h"

#include <string>

namespace pf::win32 {

class ProgressBar final : public pf::ProgressBar {
public:
    ProgressBar(HWND parent, const layout::ControlSpec& design, int id, const Metrics& metrics);

    [[nodiscard]] float value() const override { return value_.value(); }
    // Throws RuntimeError (invalid property value) outside Min..Max; the value stays.
    void set_value(float value) override;
    [[nodiscard]] float min() const override { return value_.min(); }
    [[nodiscard]] float max() const override { return value_.max(); }

    [[nodiscard]] bool visible() const;
    void set_visible(bool visible);
    [[nodiscard]] const std::string& name() const noexcept { return name_; }
    [[nodiscard]] HWND window() const noexcept { return window_.get(); }

private:
    std::string name_;
    std::wstring owner_;
    ProgressValue value_;
    UniqueWindow window_;
};

}  // namespace pf::win32
