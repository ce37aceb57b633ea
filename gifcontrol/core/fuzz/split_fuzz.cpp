// libFuzzer target of the GIF splitter: any bytes in, no read out of bounds, and every
// frame it returns is a well-formed single-frame GIF that splits again into one frame.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "animview/gif_split.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto result = animview::split_gif({data, size});
  std::uint64_t pixels = 0;
  for (const auto& frame : result.frames) {
    pixels += frame.pixels();
    if (frame.gif.size() < 6 + 7 + 10 + 2 || std::memcmp(frame.gif.data(), "GIF89a", 6) != 0 ||
        frame.gif.back() != 0x3B)
      std::abort();
    const auto again = animview::split_gif(frame.gif);
    if (again.status != animview::SplitStatus::Ok || again.frames.size() != 1 ||
        again.frames[0].width != frame.width || again.frames[0].height != frame.height ||
        again.frames[0].delay_cs != frame.delay_cs)
      std::abort();
  }
  if (pixels != result.total_pixels) std::abort();
  return 0;
}
