// What the frame-store tests share: OLE for the whole test program, and a canvas whose
// pixels a test reads back directly.
#pragma once

#include <windows.h>

#include <cstdint>

#include "animview/dib_surface.h"

namespace animview::testing {

// A 32-bit top-down DIB with a memory DC, filled with `fill` (black by default).
class Canvas {
 public:
  Canvas(int width, int height, COLORREF fill = RGB(0, 0, 0));

  HDC dc() const { return surface_.dc(); }
  int width() const { return static_cast<int>(surface_.width()); }
  int height() const { return static_cast<int>(surface_.height()); }
  COLORREF at(int x, int y) const;

  // A background that differs from pixel to pixel and from seed to seed, black and white
  // included, so that a pixel taken from the wrong place or the wrong paint shows.
  void fill_background(int seed);
  void clip_to(const RECT& device_rect);
  void unclip();

 private:
  std::uint32_t& pixel(int x, int y) const { return surface_.pixels()[y * width() + x]; }

  animview::win::DibSurface surface_;
};

}  // namespace animview::testing
