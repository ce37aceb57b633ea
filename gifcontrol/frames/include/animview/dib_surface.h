// An off-screen drawing surface: a 32-bit top-down DIB section selected into a memory DC
// of its own. Owns both handles.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <type_traits>

namespace animview::win {

class DibSurface {
 public:
  DibSurface() = default;
  DibSurface(const DibSurface&) = delete;
  DibSurface& operator=(const DibSurface&) = delete;

  // Makes the surface at least `width` x `height` pixels, keeping a larger one as it is
  // (its pixels then undefined). False, with the surface released, when GDI refuses.
  bool reserve(LONG width, LONG height);
  void release();

  HDC dc() const { return dc_.get(); }
  LONG width() const { return width_; }
  LONG height() const { return height_; }
  explicit operator bool() const { return dc_ != nullptr; }
  // The pixels as 0x00RRGGBB, rows top first, width() to a row; call GdiFlush before
  // reading what GDI drew.
  std::uint32_t* pixels() const { return static_cast<std::uint32_t*>(bits_); }

  // Sets every byte of every pixel (alpha byte included) to `byte`, after letting GDI
  // finish what it was drawing here.
  void fill_bytes(std::uint8_t byte);

 private:
  struct DcDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
  };
  struct BitmapDeleter {
    void operator()(HBITMAP bitmap) const { DeleteObject(bitmap); }
  };
  // Declared before the DC so that the DC goes first: a bitmap may not be deleted while it
  // is selected, while a DC may be deleted with its bitmap selected.
  std::unique_ptr<std::remove_pointer_t<HBITMAP>, BitmapDeleter> bitmap_;
  std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter> dc_;
  void* bits_ = nullptr;
  LONG width_ = 0;
  LONG height_ = 0;
};

}  // namespace animview::win
