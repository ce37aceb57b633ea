#include "picture_render.h"

namespace animview::win {

void render_picture_part(HDC dc, POINT origin, IPicture* picture, const RECT& rect, const RECT& area) {
  const LONG width = rect.right - rect.left, height = rect.bottom - rect.top;
  RECT part;
  if (!picture || width <= 0 || height <= 0 || !IntersectRect(&part, &rect, &area)) return;
  OLE_XSIZE_HIMETRIC w = 0;
  OLE_YSIZE_HIMETRIC h = 0;
  picture->get_Width(&w);
  picture->get_Height(&h);
  // HIMETRIC source rectangle, bottom-up.
  const LONG x_src = MulDiv(part.left - rect.left, w, width);
  const LONG x_end = MulDiv(part.right - rect.left, w, width);
  const LONG y_top = h - MulDiv(part.top - rect.top, h, height);
  const LONG y_end = h - MulDiv(part.bottom - rect.top, h, height);
  // IPicture::Render leaves the GIF's transparent pixels unpainted (mask).
  picture->Render(dc, origin.x + part.left, origin.y + part.top, part.right - part.left, part.bottom - part.top, x_src,
                  y_top, x_end - x_src, y_end - y_top, nullptr);
}

}  // namespace animview::win
