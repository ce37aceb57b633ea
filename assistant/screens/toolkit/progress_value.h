#pragma once
// The range rule of a progress bar, shared by the real control and the test fakes.

#include "toolkit/runtime_error.h"

#include <string>

namespace pf {

class ProgressValue {
public:
    ProgressValue(float min, float max) : min_(min), max_(max), value_(min) {}

    [[nodiscard]] float min() const noexcept { return min_; }
    [[nodiscard]] float max() const noexcept { return max_; }
    [[nodiscard]] float value() const noexcept { return value_; }

    void set(float value, const std::wstring& owner) {
        if (!(value >= min_ && value <= max_))
            throw RuntimeError(error_code::invalid_property_value,
                               L"Valeur de propriété non valide : Value = " + std::to_wstring(value) +
                                   L" hors de " + std::to_wstring(min_) + L".." + std::to_wstring(max_),
                               owner);
        value_ = value;
    }

private:
    float min_;
    float max_;
    float value_;
};

}  // namespace pf
