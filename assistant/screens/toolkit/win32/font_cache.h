#pragma once
// The fonts of one screen, each face, size and style created once and shared by
// every control that shows it.

#include "layouts/layout.h"
#include "toolkit/win32/handles.h"
#include "toolkit/win32/metrics.h"

#include <map>
#include <string>
#include <tuple>

namespace pf::win32 {

class FontCache {
public:
    explicit FontCache(const Metrics& metrics) : metrics_(metrics) {}

    // Throws RuntimeError when the system cannot create the font.
    HFONT get(const layout::Font& font);

    [[nodiscard]] static LOGFONTW describe(const layout::Font& font, const Metrics& metrics);

private:
    using Key = std::tuple<std::wstring, int, bool, bool>;
    const Metrics& metrics_;
    std::map<Key, UniqueFont> fonts_;
};

}  // namespace pf::win32
