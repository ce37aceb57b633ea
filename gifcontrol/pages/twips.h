// Page layouts are designed in twips; windows are placed in pixels of the display.
#pragma once

#include <windows.h>

namespace animview::pages {

struct TwipsRect {
  int left, top, width, height;
};

// Pixels per logical inch of the screen, horizontally and vertically.
struct Dpi {
  int x = 96;
  int y = 96;
  static Dpi of_screen();
  int px_x(int twips) const { return MulDiv(twips, x, 1440); }
  int px_y(int twips) const { return MulDiv(twips, y, 1440); }
  SIZE size(int width_twips, int height_twips) const { return {px_x(width_twips), px_y(height_twips)}; }
};

}  // namespace animview::pages
