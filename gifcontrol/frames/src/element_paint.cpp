// Drawing Image1: from the kept composition where it can stand in for the layers,
// otherwise by rendering each layer.
#include <vector>

#include "animview/frames.h"
#include "picture_render.h"
#include "rects.h"

namespace animview::win {

void ElementArray::paint(HDC dc, POINT origin, const RECT* clip) const {
  // The visible elements in drawing order, and the extent of every element with a picture
  // (where frames that playback shows later will lie).
  std::vector<Layer> layers;
  std::vector<const Element*> shown;
  layers.reserve(z_order_.size());
  shown.reserve(z_order_.size());
  RECT extent{};
  for (std::int32_t index = 0; index < count(); ++index) {
    if (!elements_[static_cast<std::size_t>(index)].picture) continue;
    const RECT r = rect_px(index);
    UnionRect(&extent, &extent, &r);
  }
  for (std::int32_t index : z_order_) {
    const Element& e = elements_[static_cast<std::size_t>(index)];
    if (!e.visible || !e.picture) continue;
    layers.push_back({e.picture.Get(), rect_px(index)});
    shown.push_back(&e);
  }
  if (composition_.paint(dc, origin, clip, layers, extent)) return;
  paint_layers(dc, origin, clip, layers, shown);
}

void ElementArray::paint_layers(HDC dc, POINT origin, const RECT* clip, std::span<const Layer> layers,
                                std::span<const Element* const> shown) const {
  // The layers meeting the clip.
  struct Item {
    const Element* e;
    RECT r;
  };
  std::vector<Item> items;
  items.reserve(layers.size());
  RECT area{};  // UnionRect takes an empty rectangle for nothing
  for (std::size_t i = 0; i < layers.size(); ++i) {
    const RECT& r = layers[i].rect;
    if (clip && !intersects(r, *clip)) continue;
    items.push_back({shown[i], r});
    UnionRect(&area, &area, &r);
  }
  if (items.empty()) return;
  if (clip && !IntersectRect(&area, &area, clip)) return;
  // Nothing below an opaque element that covers the whole area needs drawing.
  std::size_t first = 0;
  for (std::size_t i = items.size(); i-- > 0;) {
    if (items[i].e->opaque && contains(items[i].r, area)) {
      first = i;
      break;
    }
  }
  const LONG w = width(area), h = height(area);
  // Several layers, or masked ones: compose them off screen over a copy of what the target
  // holds (its background), then copy the result once. Raster operations on a window's DC
  // can cost a round trip each (Wine's X11 driver), a memory DIB costs none.
  const bool compose = items.size() - first > 1 || !items[first].e->opaque;
  if (compose && scratch_.reserve(w, h) &&
      BitBlt(scratch_.dc(), 0, 0, w, h, dc, origin.x + area.left, origin.y + area.top, SRCCOPY)) {
    const POINT scratch_origin{-area.left, -area.top};
    for (std::size_t i = first; i < items.size(); ++i)
      render_picture_part(scratch_.dc(), scratch_origin, items[i].e->picture.Get(), items[i].r, area);
    BitBlt(dc, origin.x + area.left, origin.y + area.top, w, h, scratch_.dc(), 0, 0, SRCCOPY);
    return;
  }
  for (std::size_t i = first; i < items.size(); ++i)
    render_picture_part(dc, origin, items[i].e->picture.Get(), items[i].r, area);
}

}  // namespace animview::win
