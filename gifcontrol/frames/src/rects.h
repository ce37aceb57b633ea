// Rectangle tests shared by the ways of drawing Image1.
#pragma once

#include <windows.h>

namespace animview::win {

inline bool contains(const RECT& outer, const RECT& inner) {
  return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
         outer.bottom >= inner.bottom;
}

inline bool intersects(const RECT& a, const RECT& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

inline LONG width(const RECT& r) { return r.right - r.left; }
inline LONG height(const RECT& r) { return r.bottom - r.top; }

}  // namespace animview::win
