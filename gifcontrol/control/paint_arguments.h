// PaintPicture's arguments, from automation values to a drawing of the surface: positions
// and sizes in twips (the surface's scale), optional arguments left out as VT_ERROR with
// DISP_E_PARAMNOTFOUND.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include "drawing_layer.h"

namespace animview::control {

struct PaintArguments {
  IPictureDisp* picture;
  float x1, y1;
  const VARIANT& width1;
  const VARIANT& height1;
  const VARIANT& x2;
  const VARIANT& y2;
  const VARIANT& width2;
  const VARIANT& height2;
  const VARIANT& opcode;
};

// Pixels per inch of the surface in each direction.
struct Resolution {
  int x = 96;
  int y = 96;
};

// True for an optional argument the caller left out.
bool is_missing(const VARIANT& v);

// Builds the drawing; fails (with the thread's error object set) on a missing picture or
// an argument that does not convert to a number.
HRESULT make_paint_operation(const PaintArguments& args, Resolution resolution, PaintOperation& out);

}  // namespace animview::control
