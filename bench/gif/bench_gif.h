// Animview benchmarks: shared helpers (animation generator, timing, memory).
#pragma once

#include <windows.h>
#include <psapi.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "gif_builder.h"

namespace animview::bench {

using animview::testing::GifBuilder;
using animview::testing::Rgb;

// A frames x width x height animation: a 256-colour gradient background with a moving
// disc and stripes, every frame a full image (video-like). When `partial` is set, frames
// after the first are only the disc's bounding box with transparency (disposal 1). When
// `holes` is set too, the first frame has transparent 16-pixel squares in a checkerboard,
// where whatever lies below the control shows through.
inline std::vector<std::uint8_t> make_animation(int frames, int width, int height, int delay_cs, bool partial,
                                                bool holes = false) {
  std::vector<Rgb> palette(256);
  for (int i = 0; i < 256; ++i)
    palette[static_cast<std::size_t>(i)] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>((i * 3) & 0xFF),
                                            static_cast<std::uint8_t>(255 - i)};
  GifBuilder b;
  b.header(static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height), palette).netscape_loop(0);
  const int radius = height / 5;
  for (int f = 0; f < frames; ++f) {
    const double phase = 2.0 * 3.14159265358979 * f / frames;
    const int cx = width / 2 + static_cast<int>((width / 2 - radius - 1) * std::cos(phase));
    const int cy = height / 2 + static_cast<int>((height / 2 - radius - 1) * std::sin(phase));
    if (!partial || f == 0) {
      std::vector<std::uint8_t> px(static_cast<std::size_t>(width) * height);
      for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
          const int dx = x - cx, dy = y - cy;
          std::uint8_t c = static_cast<std::uint8_t>(((x + f * 2) / 8 + y / 6) & 0x7F);
          if (dx * dx + dy * dy < radius * radius) c = static_cast<std::uint8_t>(128 + ((dx + dy + f) & 0x7F));
          if (holes && (x / 16 + y / 16) % 2 == 0) c = 0;
          px[static_cast<std::size_t>(y) * width + x] = c;
        }
      b.gce(static_cast<std::uint16_t>(delay_cs), 1, holes ? 0 : -1)
          .image(0, 0, static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height), px);
    } else {
      const int side = 2 * radius;
      const int left = cx - radius, top = cy - radius;
      std::vector<std::uint8_t> px(static_cast<std::size_t>(side) * side, 0);
      for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
          const int dx = x - radius, dy = y - radius;
          if (dx * dx + dy * dy < radius * radius)
            px[static_cast<std::size_t>(y) * side + x] = static_cast<std::uint8_t>(128 + ((dx - dy + f) & 0x7F));
        }
      b.gce(static_cast<std::uint16_t>(delay_cs), 1, 0)
          .image(static_cast<std::uint16_t>(left), static_cast<std::uint16_t>(top), static_cast<std::uint16_t>(side),
                 static_cast<std::uint16_t>(side), px);
    }
  }
  b.trailer();
  return b.bytes;
}

inline bool write_file(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
  FILE* f = _wfopen(path.c_str(), L"wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  std::fclose(f);
  return ok;
}

inline std::vector<std::uint8_t> read_file(const std::wstring& path) {
  std::vector<std::uint8_t> bytes;
  FILE* f = _wfopen(path.c_str(), L"rb");
  if (!f) return bytes;
  std::fseek(f, 0, SEEK_END);
  bytes.resize(static_cast<std::size_t>(std::ftell(f)));
  std::fseek(f, 0, SEEK_SET);
  if (std::fread(bytes.data(), 1, bytes.size(), f) != bytes.size()) bytes.clear();
  std::fclose(f);
  return bytes;
}

inline double now_ms() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

struct Memory {
  double private_mb = 0;       // PagefileUsage (private bytes)
  double peak_private_mb = 0;  // PeakPagefileUsage
  double working_set_mb = 0;
  double peak_working_set_mb = 0;
};

inline Memory memory() {
  PROCESS_MEMORY_COUNTERS pmc{};
  pmc.cb = sizeof pmc;
  Memory m;
  if (GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc)) {
    m.private_mb = static_cast<double>(pmc.PagefileUsage) / 1048576.0;
    m.peak_private_mb = static_cast<double>(pmc.PeakPagefileUsage) / 1048576.0;
    m.working_set_mb = static_cast<double>(pmc.WorkingSetSize) / 1048576.0;
    m.peak_working_set_mb = static_cast<double>(pmc.PeakWorkingSetSize) / 1048576.0;
  }
  return m;
}

// CPU time (user + kernel) of this process, milliseconds.
inline double cpu_ms() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto ms = [](const FILETIME& t) {
    return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e4;
  };
  return ms(kernel) + ms(user);
}

}  // namespace animview::bench
