#pragma once
// The error that ends packfetch through its top-level handler: a numeric code,
// a description and the place (a path, a control) it concerns.

#include <stdexcept>
#include <string>

namespace pf {

class RuntimeError : public std::runtime_error {
public:
    RuntimeError(long code, std::wstring description, std::wstring where = {})
        : std::runtime_error("packfetch runtime error " + std::to_string(code)),
          code_(code), description_(std::move(description)), where_(std::move(where)) {}

    [[nodiscard]] long code() const noexcept { return code_; }
    [[nodiscard]] const std::wstring& description() const noexcept { return description_; }
    [[nodiscard]] const std::wstring& where() const noexcept { return where_; }

    // The text of the standard error message: what failed, then where.
    [[nodiscard]] std::wstring message() const {
        std::wstring text = L"Erreur d'exécution " + std::to_wstring(code_) + L" :\n" + description_;
        if (!where_.empty()) text += L"\n\n" + where_;
        return text;
    }

private:
    long code_;
    std::wstring description_;
    std::wstring where_;
};

// Codes for the errors the toolkit raises itself (the platform's own errors keep their codes).
namespace error_code {
inline constexpr long invalid_property_value = 380;
}

}  // namespace pf
