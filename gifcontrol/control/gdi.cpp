#include "gdi.h"

namespace animview::control {

Bitmap make_dib(HDC reference, int width, int height, void** pixels) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  Bitmap bitmap(CreateDIBSection(reference, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (pixels) *pixels = bitmap ? bits : nullptr;
  return bitmap;
}

}  // namespace animview::control
