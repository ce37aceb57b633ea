#include "animview/dib_surface.h"

#include <algorithm>
#include <cstring>

namespace animview::win {

bool DibSurface::reserve(LONG width, LONG height) {
  if (dc_ && width <= width_ && height <= height_) return true;
  const LONG w = std::max(width, width_), h = std::max(height, height_);
  release();
  if (w <= 0 || h <= 0) return false;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  dc_.reset(CreateCompatibleDC(nullptr));
  if (!dc_) return false;
  void* bits = nullptr;
  bitmap_.reset(CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap_ || !bits || !SelectObject(dc_.get(), bitmap_.get())) {
    release();
    return false;
  }
  bits_ = bits;
  width_ = w;
  height_ = h;
  return true;
}

void DibSurface::release() {
  dc_.reset();
  bitmap_.reset();
  bits_ = nullptr;
  width_ = height_ = 0;
}

void DibSurface::fill_bytes(std::uint8_t byte) {
  if (!bits_) return;
  GdiFlush();
  std::memset(bits_, byte, static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 4);
}

}  // namespace animview::win
