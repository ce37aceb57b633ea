#include "toolkit/win32/font_cache.h"

#include "toolkit/win32/win32_error.h"

#include <cmath>
#include <cwchar>

namespace pf::win32 {

LOGFONTW FontCache::describe(const layout::Font& font, const Metrics& metrics) {
    LOGFONTW description{};
    description.lfHeight = metrics.font_height(font.points);
    description.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    description.lfItalic = font.italic ? TRUE : FALSE;
    description.lfCharSet = DEFAULT_CHARSET;
    description.lfOutPrecision = OUT_DEFAULT_PRECIS;
    description.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    description.lfQuality = DEFAULT_QUALITY;
    description.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    std::wcsncpy(description.lfFaceName, font.face.c_str(), LF_FACESIZE - 1);
    return description;
}

HFONT FontCache::get(const layout::Font& font) {
    Key key{font.face, static_cast<int>(std::lround(font.points * 100.0f)), font.bold, font.italic};
    if (const auto found = fonts_.find(key); found != fonts_.end()) return found->second.get();
    const LOGFONTW description = describe(font, metrics_);
    UniqueFont created(::CreateFontIndirectW(&description));
    if (!created) throw_last_error(L"CreateFontIndirectW", font.face);
    return fonts_.emplace(std::move(key), std::move(created)).first->second.get();
}

}  // namespace pf::win32
