#include "canvas.h"

#include <gtest/gtest.h>

#include <ole2.h>

namespace animview::testing {
namespace {

// Pictures are decoded and rendered through OLE: initialised once for the program.
class OleEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr))); }
  void TearDown() override { OleUninitialize(); }
};
const auto* const kOle = ::testing::AddGlobalTestEnvironment(new OleEnvironment);

}  // namespace

Canvas::Canvas(int width, int height, COLORREF fill) {
  if (!surface_.reserve(width, height)) {
    ADD_FAILURE() << "no " << width << "x" << height << " DIB section";
    return;
  }
  const std::uint32_t p = static_cast<std::uint32_t>(GetRValue(fill)) << 16 |
                          static_cast<std::uint32_t>(GetGValue(fill)) << 8 | GetBValue(fill);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) pixel(x, y) = p;
}

COLORREF Canvas::at(int x, int y) const {
  GdiFlush();
  const std::uint32_t p = pixel(x, y);
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

void Canvas::fill_background(int seed) {
  GdiFlush();
  for (int y = 0; y < height(); ++y)
    for (int x = 0; x < width(); ++x) {
      const int k = x * 3 + y * 5 + seed * 7;
      std::uint32_t p = static_cast<std::uint32_t>((k * 37) & 0xFF) << 16 |
                        static_cast<std::uint32_t>((k * 11 + seed) & 0xFF) << 8 |
                        static_cast<std::uint32_t>((x * 29 + y * 3) & 0xFF);
      if (k % 13 == 0) p = 0x000000;
      if (k % 17 == 0) p = 0xFFFFFF;
      pixel(x, y) = p;
    }
}

void Canvas::clip_to(const RECT& device_rect) {
  HRGN region = CreateRectRgnIndirect(&device_rect);
  SelectClipRgn(dc(), region);
  DeleteObject(region);
}

void Canvas::unclip() { SelectClipRgn(dc(), nullptr); }

}  // namespace animview::testing
