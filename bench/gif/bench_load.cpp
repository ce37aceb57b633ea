// LoadGif against bare OleLoadPicture on the same frames.
//   animview_bench_load make FILE FRAMES WIDTH HEIGHT DELAY_CS [partial|holes]
//                                     writes an animation (holes: partial frames over a first
//                                     frame with transparent squares)
//   animview_bench_load load FILE     LoadGif (whole: read, split, decode, elements, yields)
//   animview_bench_load bare FILE     OleLoadPicture on each frame's single-frame GIF, already
//                                     cut beforehand (the limit of this design)
// Each mode prints one line: mode, frames, milliseconds, private MB before/after/peak.
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "animview/frames.h"
#include "bench_gif.h"

using namespace animview::bench;
using namespace animview::win;

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: animview_bench_load make|load|bare FILE ...\n");
    return 2;
  }
  const std::wstring mode = argv[1];
  const std::wstring file = argv[2];
  if (mode == L"make") {
    if (argc < 7) return 2;
    const std::wstring kind = argc > 7 ? argv[7] : L"";
    const auto bytes = make_animation(_wtoi(argv[3]), _wtoi(argv[4]), _wtoi(argv[5]), _wtoi(argv[6]),
                                      kind == L"partial" || kind == L"holes", kind == L"holes");
    if (!write_file(file, bytes)) return 1;
    std::printf("wrote %zu bytes\n", bytes.size());
    return 0;
  }
  OleInitialize(nullptr);
  // Warm the picture loader up (first call loads the codecs) outside the measurement.
  {
    GifBuilder b;
    b.header(2, 2, {{0, 0, 0}, {1, 1, 1}}).gce(1).solid_image(0, 0, 2, 2, 1).trailer();
    ComPtr<IPicture> p;
    decode_picture(b.bytes, p);
  }
  std::size_t frames = 0;
  double ms = 0;
  const Memory before = memory();
  if (mode == L"load") {
    ElementArray image1;
    PictureHolder image2;
    animview::FrameStoreMembers members;
    LoadServices services;
    services.message_box = [](const std::wstring& text, const std::wstring&, UINT) {
      std::fwprintf(stderr, L"message: %ls\n", text.c_str());
      return IDOK;
    };
    bool ok = false;
    const double t0 = now_ms();
    LoadGif(file, image1, image2, members, services, &ok);
    ms = now_ms() - t0;
    frames = static_cast<std::size_t>(image1.count());
    if (!ok) return 1;
    const Memory after = memory();
    std::printf("load frames=%zu ms=%.1f private_before_mb=%.1f private_after_mb=%.1f peak_private_mb=%.1f\n", frames,
                ms, before.private_mb, after.private_mb, after.peak_private_mb);
  } else if (mode == L"bare") {
    const auto bytes = read_file(file);
    const auto split = animview::split_gif(bytes);
    std::vector<ComPtr<IPicture>> pictures;
    pictures.reserve(split.frames.size());
    const Memory cut = memory();
    const double t0 = now_ms();
    for (const auto& f : split.frames) {
      ComPtr<IPicture> p;
      if (FAILED(decode_picture(f.gif, p))) return 1;
      pictures.push_back(p);
    }
    ms = now_ms() - t0;
    frames = pictures.size();
    const Memory after = memory();
    std::printf("bare frames=%zu ms=%.1f private_before_mb=%.1f private_after_mb=%.1f peak_private_mb=%.1f\n", frames,
                ms, cut.private_mb, after.private_mb, after.peak_private_mb);
  } else {
    return 2;
  }
  return 0;
}
