// Writes the splitter fuzzer's seed corpus (gifcontrol/core/fuzz/corpus/) from fixtures
// built with gif_builder.h:  animview_make_seeds OUTPUT_DIR
#include <cstdio>
#include <string>
#include <vector>

#include "gif_builder.h"

using animview::testing::GifBuilder;
using animview::testing::Rgb;

namespace {
void write(const std::string& dir, const std::string& name, const std::vector<std::uint8_t>& bytes) {
  const std::string path = dir + "/" + name;
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    std::perror(path.c_str());
    return;
  }
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
    return 2;
  }
  const std::string dir = argv[1];
  const std::vector<Rgb> four = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
  std::vector<std::uint8_t> noise(12 * 8);
  for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<std::uint8_t>((i * 5 + i / 3) % 4);

  GifBuilder anim;
  anim.header(12, 8, four).netscape_loop(0);
  anim.gce(10, 1).image(0, 0, 12, 8, noise);
  anim.gce(20, 2, 0).solid_image(2, 1, 4, 3, 2);
  anim.gce(0, 3, 3).solid_image(5, 5, 2, 2, 1, {{9, 9, 9}, {1, 1, 1}});
  anim.trailer();
  write(dir, "anim3.gif", anim.bytes);

  GifBuilder g87;
  g87.header(4, 4, four, "GIF87a").solid_image(0, 0, 4, 4, 1).solid_image(1, 1, 2, 2, 3).trailer();
  write(dir, "gif87a.gif", g87.bytes);

  GifBuilder markers;
  markers.header(4, 4, {{0x00, 0x21, 0xF9}, {0x04, 0x00, 0x21}, {0xF9, 0x04, 0x00}, {1, 2, 3}});
  markers.comment(std::string("\x00\x21\xF9\x04", 4)).gce(7).solid_image(0, 0, 4, 4, 1);
  markers.image(0, 0, 4, 4, noise).netscape_loop(5, "ANIMEXTS1.0").trailer();
  write(dir, "markers.gif", markers.bytes);

  GifBuilder interlaced;
  interlaced.header(3, 3, four).gce(5, 0, 2);
  interlaced.u8(0x2C).u16(0).u16(0).u16(3).u16(3).u8(0x40).u8(2);
  interlaced.sub_blocks(animview::testing::lzw_encode(std::vector<std::uint8_t>(9, 1), 2)).trailer();
  write(dir, "interlaced.gif", interlaced.bytes);

  std::vector<std::uint8_t> cut(anim.bytes.begin(), anim.bytes.end() - 20);
  write(dir, "truncated.gif", cut);

  GifBuilder big;
  big.header(65535, 65535, four).u8(0x2C).u16(0).u16(0).u16(65535).u16(65535).u8(0).u8(2).sub_blocks({0x04});
  big.trailer();
  write(dir, "oversized.gif", big.bytes);
  return 0;
}
