// What PaintPicture has drawn on the control surface: kept, and drawn again on every
// repaint between the background and the frames, until CloseFile clears the control's
// own picture. Transparent parts of a picture stay transparent.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <optional>
#include <vector>

#include "com_ptr.h"
#include "gdi.h"

namespace animview::control {

struct PaintOperation {
  ComPtr<IPicture> picture;
  // Destination in surface pixels; a negative size mirrors the picture, as in Render.
  LONG x = 0, y = 0, cx = 0, cy = 0;
  // Source part in HIMETRIC, in IPicture::Render's convention (y from the bottom edge,
  // negative height for an upright copy).
  OLE_XPOS_HIMETRIC src_x = 0;
  OLE_YPOS_HIMETRIC src_y = 0;
  OLE_XSIZE_HIMETRIC src_cx = 0;
  OLE_YSIZE_HIMETRIC src_cy = 0;
  // Raster operation combining picture and surface; none: the picture is drawn over the
  // surface with its transparency.
  std::optional<DWORD> rop;
};

class DrawingLayer {
 public:
  // Past this many drawings they are merged into one bitmap, so that a host painting in
  // a loop costs neither unbounded memory nor ever slower repaints.
  static constexpr std::size_t kMaxOperations = 128;
  // The merged bitmap covers at most this many pixels in each direction from the origin.
  static constexpr LONG kMaxExtent = 4096;

  void add(PaintOperation operation);
  void clear();
  bool empty() const { return operations_.empty() && !merged_; }
  std::size_t operation_count() const { return operations_.size(); }

  // Draws everything with the surface's top-left corner at `origin` (logical units of dc).
  void paint(HDC dc, POINT origin) const;

 private:
  static RECT bounds(const PaintOperation& operation);
  static void draw(HDC dc, POINT origin, const PaintOperation& operation);
  void merge();

  std::vector<PaintOperation> operations_;
  Bitmap merged_;        // earlier drawings, at merged_rect_
  Region merged_area_;   // where they drew, relative to merged_rect_'s top-left corner
  RECT merged_rect_ = {};
};

}  // namespace animview::control
