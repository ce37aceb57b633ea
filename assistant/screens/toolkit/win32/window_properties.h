#pragma once
// What a control shows, readable by another process through its window:
// the caption is the window text, the font answers WM_GETFONT, and the text
// colour is the window property "ForeColor".

#include "toolkit/controls.h"

#include <windows.h>

#include <cstdint>
#include <optional>

namespace pf::win32 {

inline constexpr const wchar_t* fore_color_property = L"ForeColor";

// Bit 24 marks the property as set, so that black reads back as black rather than as absent.
inline constexpr std::uintptr_t color_present = 0x01000000;

inline void store_fore_color(HWND window, Color color) {
    ::SetPropW(window, fore_color_property,
               reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(color & 0xFFFFFF) | color_present));
}

inline std::optional<Color> read_fore_color(HWND window) {
    const auto stored = reinterpret_cast<std::uintptr_t>(::GetPropW(window, fore_color_property));
    if ((stored & color_present) == 0) return std::nullopt;
    return static_cast<Color>(stored & 0xFFFFFF);
}

inline void forget_fore_color(HWND window) {
    ::RemovePropW(window, fore_color_property);
}

}  // namespace pf::win32
