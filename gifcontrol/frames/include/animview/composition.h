// The visible elements composed once and kept between repaints: a repaint copies the
// composed image instead of rendering every layer again, and a playback tick that only puts
// the next frame on top draws just that frame onto it.
//
// The image does not depend on what lies below the elements. It is kept twice, composed over
// black and over white: where the two copies agree, some layer painted the pixel and both
// hold its colour; where they differ (black against white), no layer did. Drawing is then
//     target = (target AND over_white) OR over_black
// which keeps the target where no layer paints and puts the top layer's colour everywhere
// else: what rendering the layers one by one onto the target gives, since a GIF pixel is
// either transparent or opaque. So the control's background, a container showing through a
// transparent control, the host's own drawings, the paint's clip and the control's origin
// may all change between repaints without composing anew. When one opaque layer covers the
// whole image, the copy over white is not needed and drawing is a plain copy.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <wrl/client.h>

#include <cstdint>
#include <span>
#include <vector>

#include "animview/dib_surface.h"

namespace animview::win {

// One visible element as drawn: its picture at its own size at `rect` (container pixels).
struct Layer {
  IPicture* picture = nullptr;
  RECT rect{};
};

class Composition {
 public:
  // Largest image kept, in pixels (16 MB for each copy). Beyond it the caller renders the
  // layers itself.
  static constexpr std::int64_t kMaxPixels = std::int64_t{1} << 22;

  // Draws `layers` (drawing order, bottom first) into `dc` with the container's top-left
  // corner at `origin`, only inside `clip` (container pixels; nullptr: everywhere).
  // `extent` holds every layer that playback may show (every element with a picture): the
  // image covers it, so that frames shown later fit in without composing anew.
  // Returns false, having drawn nothing, where the image cannot stand in for the layers:
  // a DC other than a plain raster one of 16 bits per pixel or more, unscaled and not
  // mirrored (metafiles, printers, mapping modes, palettes); a picture that is not a bitmap
  // (icons and metafiles may blend with what lies below); an image too large or refused by GDI.
  bool paint(HDC dc, POINT origin, const RECT* clip, std::span<const Layer> layers, const RECT& extent);

  // Forgets the image and lets go of the pictures it holds.
  void clear();

 private:
  struct Entry {
    // Held, so that no new picture can come at the address of one that is composed.
    Microsoft::WRL::ComPtr<IPicture> picture;
    RECT rect;
  };
  bool bring_up_to_date(std::span<const Layer> layers, const RECT& extent);
  bool compose(std::span<const Layer> layers, const RECT& extent);
  bool add(const Layer& layer);

  std::vector<Entry> stack_;  // what the image holds, bottom first
  bool valid_ = false;
  RECT extent_{};             // the container pixels the image stands for
  RECT painted_{};            // union of the stack's rectangles: nothing is drawn outside it
  bool solid_ = false;        // every pixel of extent_ painted: over_black_ alone is the image
  DibSurface over_black_;
  DibSurface over_white_;
};

}  // namespace animview::win
