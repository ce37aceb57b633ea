#pragma once
// A picture compiled into the program, drawn at its own size from a top-left corner.

#include "layouts/layout.h"
#include "toolkit/win32/handles.h"

#include <windows.h>

namespace pf::win32 {

class Picture {
public:
    Picture() = default;
    // Loads the picture from the program's resources; `owner` names the control
    // in the error thrown when the resource is missing or cannot be decoded.
    static Picture load(const layout::Picture& picture, std::wstring_view owner);

    [[nodiscard]] bool empty() const noexcept { return !icon_ && !bitmap_; }
    [[nodiscard]] SIZE size() const noexcept { return size_; }
    // Draws the picture with its top-left corner at (x, y); the caller's clip region cuts it.
    void draw(HDC dc, int x, int y) const;

private:
    UniqueIcon icon_;
    UniqueBitmap bitmap_;
    SIZE size_{};
};

}  // namespace pf::win32
