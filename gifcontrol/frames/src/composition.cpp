#include "animview/composition.h"

#include <olectl.h>

#include <cmath>

#include "picture_render.h"
#include "rects.h"

namespace animview::win {
namespace {

bool close_to(float value, float wanted) { return std::fabs(value - wanted) < 1e-6f; }

// Whether copying pixels into `dc` gives what rendering into it gives: a screen or memory
// DC (no metafile or printer), one device pixel per logical unit, left to right, and whole
// colours rather than palette indices (the AND/OR of the draw needs white to be all ones).
bool plain_raster(HDC dc) {
  const DWORD type = GetObjectType(dc);
  if (type != OBJ_DC && type != OBJ_MEMDC) return false;
  if (GetDeviceCaps(dc, TECHNOLOGY) != DT_RASDISPLAY) return false;
  if (GetMapMode(dc) != MM_TEXT || (GetLayout(dc) & LAYOUT_RTL)) return false;
  if (GetGraphicsMode(dc) == GM_ADVANCED) {
    XFORM t{};
    if (!GetWorldTransform(dc, &t) || !close_to(t.eM11, 1) || !close_to(t.eM22, 1) || !close_to(t.eM12, 0) || !close_to(t.eM21, 0) ||
        !close_to(t.eDx, std::round(t.eDx)) || !close_to(t.eDy, std::round(t.eDy)))
      return false;
  }
  int bits = GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES);
  if (type == OBJ_MEMDC) {
    BITMAP bitmap{};
    const HGDIOBJ selected = GetCurrentObject(dc, OBJ_BITMAP);
    if (!selected || !GetObjectW(selected, sizeof bitmap, &bitmap)) return false;
    bits = bitmap.bmBitsPixel * bitmap.bmPlanes;
  }
  return bits >= 16;
}

// Only bitmaps: Render copies them through a 1-bit mask, so each pixel is all or nothing.
bool is_bitmap(IPicture* picture) {
  short type = PICTYPE_UNINITIALIZED;
  return picture && SUCCEEDED(picture->get_Type(&type)) && type == PICTYPE_BITMAP;
}

// A bitmap without a mask: Render paints every pixel of its rectangle.
bool paints_whole_rect(IPicture* picture) {
  DWORD attributes = 0;
  return SUCCEEDED(picture->get_Attributes(&attributes)) && !(attributes & PICTURE_TRANSPARENT);
}

}  // namespace

void Composition::clear() {
  stack_.clear();
  valid_ = false;
  solid_ = false;
  extent_ = painted_ = RECT{};
  over_black_.release();
  over_white_.release();
}

bool Composition::paint(HDC dc, POINT origin, const RECT* clip, std::span<const Layer> layers, const RECT& extent) {
  if (!plain_raster(dc)) return false;
  if (layers.empty()) return true;
  if (width(extent) <= 0 || height(extent) <= 0 ||
      std::int64_t{width(extent)} * std::int64_t{height(extent)} > kMaxPixels || !bring_up_to_date(layers, extent)) {
    clear();
    return false;
  }
  RECT part{};
  if (!IntersectRect(&part, &painted_, &extent_) || (clip && !IntersectRect(&part, &part, clip))) return true;
  const int x = origin.x + part.left, y = origin.y + part.top, w = width(part), h = height(part);
  const int from_x = part.left - extent_.left, from_y = part.top - extent_.top;
  if (solid_) return BitBlt(dc, x, y, w, h, over_black_.dc(), from_x, from_y, SRCCOPY) != FALSE;
  if (!BitBlt(dc, x, y, w, h, over_white_.dc(), from_x, from_y, SRCAND)) return false;
  BitBlt(dc, x, y, w, h, over_black_.dc(), from_x, from_y, SRCPAINT);
  return true;
}

bool Composition::bring_up_to_date(std::span<const Layer> layers, const RECT& extent) {
  // Anything but new layers on top of the composed ones (a layer hidden, moved, given
  // another picture or put elsewhere in the drawing order; the extent changed) means
  // composing anew.
  if (!valid_ || !EqualRect(&extent, &extent_) || layers.size() < stack_.size()) return compose(layers, extent);
  for (std::size_t i = 0; i < stack_.size(); ++i)
    if (stack_[i].picture.Get() != layers[i].picture || !EqualRect(&stack_[i].rect, &layers[i].rect))
      return compose(layers, extent);
  for (std::size_t i = stack_.size(); i < layers.size(); ++i)
    if (!add(layers[i])) return false;
  return true;
}

bool Composition::compose(std::span<const Layer> layers, const RECT& extent) {
  stack_.clear();
  valid_ = false;
  if (!over_black_.reserve(width(extent), height(extent))) return false;
  extent_ = extent;
  RECT shown{};
  for (const Layer& layer : layers) {
    if (!is_bitmap(layer.picture)) return false;
    UnionRect(&shown, &shown, &layer.rect);
  }
  // Layers under an opaque one that covers every shown layer cannot show: start from it.
  std::size_t first = 0;
  bool covered = false;
  for (std::size_t i = layers.size(); i-- > 0;) {
    if (contains(layers[i].rect, shown) && paints_whole_rect(layers[i].picture)) {
      first = i;
      covered = contains(layers[i].rect, extent);
      break;
    }
  }
  solid_ = false;
  over_black_.fill_bytes(0x00);
  if (!covered) {
    if (!over_white_.reserve(width(extent), height(extent))) return false;
    over_white_.fill_bytes(0xFF);
  }
  for (std::size_t i = 0; i < first; ++i) stack_.push_back({layers[i].picture, layers[i].rect});
  painted_ = shown;
  valid_ = true;
  for (std::size_t i = first; i < layers.size(); ++i)
    if (!add(layers[i])) return false;
  return true;
}

bool Composition::add(const Layer& layer) {
  if (!is_bitmap(layer.picture)) return false;
  if (contains(layer.rect, extent_) && paints_whole_rect(layer.picture)) solid_ = true;
  const POINT origin{-extent_.left, -extent_.top};
  render_picture_part(over_black_.dc(), origin, layer.picture, layer.rect, extent_);
  if (!solid_) render_picture_part(over_white_.dc(), origin, layer.picture, layer.rect, extent_);
  stack_.push_back({layer.picture, layer.rect});
  UnionRect(&painted_, &painted_, &layer.rect);
  return true;
}

}  // namespace animview::win
