#include "drawing_layer.h"

#include <algorithm>
#include <cstdlib>

namespace animview::control {

void DrawingLayer::add(PaintOperation operation) {
  operations_.push_back(std::move(operation));
  if (operations_.size() > kMaxOperations) merge();
}

void DrawingLayer::clear() {
  operations_.clear();
  merged_ = Bitmap();
  merged_area_ = Region();
  merged_rect_ = {};
}

RECT DrawingLayer::bounds(const PaintOperation& op) {
  return RECT{std::min(op.x, op.x + op.cx), std::min(op.y, op.y + op.cy), std::max(op.x, op.x + op.cx),
              std::max(op.y, op.y + op.cy)};
}

void DrawingLayer::draw(HDC dc, POINT origin, const PaintOperation& op) {
  if (!op.picture || op.cx == 0 || op.cy == 0) return;
  const LONG x = origin.x + op.x, y = origin.y + op.y;
  if (!op.rop) {
    op.picture->Render(dc, x, y, op.cx, op.cy, op.src_x, op.src_y, op.src_cx, op.src_cy, nullptr);
    return;
  }
  // The raster operation combines the picture, as drawn over what is there now, with the
  // surface.
  const RECT r = bounds(op);
  const LONG w = r.right - r.left, h = r.bottom - r.top;
  const MemoryDc scratch(dc);
  const Bitmap bitmap(CreateCompatibleBitmap(dc, w, h));
  if (!scratch || !bitmap) return;
  const Selection selected(scratch.get(), bitmap.get());
  BitBlt(scratch.get(), 0, 0, w, h, dc, origin.x + r.left, origin.y + r.top, SRCCOPY);
  op.picture->Render(scratch.get(), op.x - r.left, op.y - r.top, op.cx, op.cy, op.src_x, op.src_y, op.src_cx,
                     op.src_cy, nullptr);
  BitBlt(dc, origin.x + r.left, origin.y + r.top, w, h, scratch.get(), 0, 0, *op.rop);
}

void DrawingLayer::merge() {
  RECT area = merged_ ? merged_rect_ : RECT{};
  for (const PaintOperation& op : operations_) {
    const RECT r = bounds(op);
    if (IsRectEmpty(&area))
      area = r;
    else
      UnionRect(&area, &area, &r);
  }
  const RECT limit{-kMaxExtent, -kMaxExtent, kMaxExtent, kMaxExtent};
  IntersectRect(&area, &area, &limit);
  const LONG w = area.right - area.left, h = area.bottom - area.top;
  if (w <= 0 || h <= 0) {
    operations_.clear();
    return;
  }
  const MemoryDc dc(nullptr);
  Bitmap bitmap = make_dib(dc.get(), w, h);
  Region covered(CreateRectRgn(0, 0, 0, 0));
  if (!dc || !bitmap || !covered) return;  // keep the drawings as they are
  {
    const Selection selected(dc.get(), bitmap.get());
    if (merged_) {
      const MemoryDc old(nullptr);
      const Selection old_selected(old.get(), merged_.get());
      BitBlt(dc.get(), merged_rect_.left - area.left, merged_rect_.top - area.top,
             merged_rect_.right - merged_rect_.left, merged_rect_.bottom - merged_rect_.top, old.get(), 0, 0,
             SRCCOPY);
      OffsetRgn(merged_area_.get(), merged_rect_.left - area.left, merged_rect_.top - area.top);
      CombineRgn(covered.get(), covered.get(), merged_area_.get(), RGN_OR);
    }
    const POINT origin{-area.left, -area.top};
    for (const PaintOperation& op : operations_) {
      draw(dc.get(), origin, op);
      RECT r = bounds(op);
      OffsetRect(&r, origin.x, origin.y);
      const Region piece(CreateRectRgnIndirect(&r));
      if (piece) CombineRgn(covered.get(), covered.get(), piece.get(), RGN_OR);
    }
  }
  merged_ = std::move(bitmap);
  merged_area_ = std::move(covered);
  merged_rect_ = area;
  operations_.clear();
}

void DrawingLayer::paint(HDC dc, POINT origin) const {
  if (merged_) {
    const SavedDc saved(dc);
    // Clip regions are in device units.
    POINT corner{origin.x + merged_rect_.left, origin.y + merged_rect_.top};
    POINT device = corner;
    LPtoDP(dc, &device, 1);
    const Region clip(CreateRectRgn(0, 0, 0, 0));
    if (clip && CombineRgn(clip.get(), merged_area_.get(), nullptr, RGN_COPY) != ERROR) {
      OffsetRgn(clip.get(), device.x, device.y);
      ExtSelectClipRgn(dc, clip.get(), RGN_AND);
      const MemoryDc source(dc);
      const Selection selected(source.get(), merged_.get());
      BitBlt(dc, corner.x, corner.y, merged_rect_.right - merged_rect_.left, merged_rect_.bottom - merged_rect_.top,
             source.get(), 0, 0, SRCCOPY);
    }
  }
  for (const PaintOperation& op : operations_) draw(dc, origin, op);
}

}  // namespace animview::control
