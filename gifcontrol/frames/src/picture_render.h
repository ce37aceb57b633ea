// Drawing one element's picture at its own size.
#pragma once

#include <windows.h>
#include <ocidl.h>

namespace animview::win {

// Draws the part of `picture`, placed at `rect` (container pixels, its own size), that lies
// inside `area` (container pixels) into `dc`, where the container's top-left corner is at
// `origin`. Transparent pixels are left as they are.
void render_picture_part(HDC dc, POINT origin, IPicture* picture, const RECT& rect, const RECT& area);

}  // namespace animview::win
