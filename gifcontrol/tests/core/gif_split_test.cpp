// Splitter tests on fixtures built here block by block (gif_builder.h).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "animview/gif_split.h"
#include "gif_builder.h"

using animview::Frame;
using animview::kMaxDecodedBytes;
using animview::split_gif;
using animview::SplitResult;
using animview::SplitStatus;
using animview::testing::GifBuilder;
using animview::testing::Rgb;

namespace {

const std::vector<Rgb> kFour = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};

SplitResult split(const std::vector<std::uint8_t>& bytes) { return split_gif(bytes); }

// A frame's single-frame GIF must itself split into exactly one complete frame with the
// same values (at offset 0) and end with the Trailer.
void expect_well_formed(const Frame& f) {
  ASSERT_GE(f.gif.size(), 6u + 7u + 10u + 2u);
  EXPECT_EQ(0, std::memcmp(f.gif.data(), "GIF89a", 6));
  EXPECT_EQ(0x3B, f.gif.back());
  EXPECT_EQ(0x00, f.gif[f.gif.size() - 2]);
  const SplitResult again = split_gif(f.gif);
  EXPECT_EQ(SplitStatus::Ok, again.status);
  ASSERT_EQ(1u, again.frames.size());
  const Frame& g = again.frames[0];
  EXPECT_EQ(f.delay_cs, g.delay_cs);
  EXPECT_EQ(f.width, g.width);
  EXPECT_EQ(f.height, g.height);
  EXPECT_EQ(0, g.left);
  EXPECT_EQ(0, g.top);
  EXPECT_EQ(f.has_gce, g.has_gce);
  EXPECT_EQ(f.disposal, g.disposal);
  EXPECT_EQ(f.transparent, g.transparent);
  if (f.transparent) {
    EXPECT_EQ(f.transparent_index, g.transparent_index);
  }
  EXPECT_EQ(f.width, again.screen_width);
  EXPECT_EQ(f.height, again.screen_height);
  EXPECT_FALSE(g.truncated);
}

GifBuilder three_frames() {
  GifBuilder b;
  b.header(20, 10, kFour).netscape_loop(0);
  b.gce(10, 1).solid_image(0, 0, 20, 10, 1);
  b.gce(20, 2, 0).solid_image(3, 4, 5, 6, 2);
  b.gce(30, 3, 3).solid_image(7, 1, 2, 2, 3);
  b.trailer();
  return b;
}

}  // namespace

TEST(GifSplit, ThreeFramesWithTheirValues) {
  const auto r = split(three_frames().bytes);
  EXPECT_EQ(SplitStatus::Ok, r.status);
  EXPECT_EQ("89a", r.version);
  EXPECT_EQ(20, r.screen_width);
  EXPECT_EQ(10, r.screen_height);
  EXPECT_TRUE(r.has_loop_extension);
  EXPECT_EQ(0, r.loop_count);
  ASSERT_EQ(3u, r.frames.size());
  EXPECT_EQ(10, r.frames[0].delay_cs);
  EXPECT_EQ(100u, r.frames[0].delay_ms());
  EXPECT_EQ(1, r.frames[0].disposal);
  EXPECT_FALSE(r.frames[0].transparent);
  EXPECT_EQ(20, r.frames[1].delay_cs);
  EXPECT_EQ(3, r.frames[1].left);
  EXPECT_EQ(4, r.frames[1].top);
  EXPECT_EQ(5, r.frames[1].width);
  EXPECT_EQ(6, r.frames[1].height);
  EXPECT_EQ(2, r.frames[1].disposal);
  EXPECT_TRUE(r.frames[1].transparent);
  EXPECT_EQ(0, r.frames[1].transparent_index);
  EXPECT_EQ(30, r.frames[2].delay_cs);
  EXPECT_EQ(3, r.frames[2].disposal);
  EXPECT_EQ(3, r.frames[2].transparent_index);
  EXPECT_EQ(20u * 10 + 5 * 6 + 2 * 2, r.total_pixels);
  for (const auto& f : r.frames) expect_well_formed(f);
}

TEST(GifSplit, FrameGifCarriesGlobalTableExtensionAndImage) {
  const auto r = split(three_frames().bytes);
  ASSERT_EQ(3u, r.frames.size());
  const auto& g = r.frames[1].gif;
  // header 6, screen 7, table 12, GCE 8, descriptor 10 ...
  ASSERT_GT(g.size(), 6u + 7 + 12 + 8 + 10);
  EXPECT_EQ(5, g[6]);  // screen width = image width
  EXPECT_EQ(6, g[8]);
  EXPECT_EQ(0x81, g[10] & 0x87);  // global table flag, 4 entries
  EXPECT_EQ(255, g[13 + 3]);  // colour 1 red
  EXPECT_EQ(0x21, g[25]);
  EXPECT_EQ(0xF9, g[26]);
  EXPECT_EQ(20, g[29]);       // delay low byte
  EXPECT_EQ(0x2C, g[33]);
}

TEST(GifSplit, MarkerBytesInsideGlobalColourTableAreNotAFrame) {
  // Colours 00 21 F9 / 04 ... : the byte sequence 00 21 F9 sits inside the table.
  const std::vector<Rgb> table = {{0x00, 0x21, 0xF9}, {0x04, 0x00, 0x21}, {0xF9, 0x04, 0x00}, {1, 2, 3}};
  GifBuilder b;
  b.header(4, 4, table);
  b.gce(7).solid_image(0, 0, 4, 4, 1);
  b.gce(9).solid_image(1, 1, 2, 2, 2);
  b.trailer();
  const auto r = split(b.bytes);
  EXPECT_EQ(SplitStatus::Ok, r.status);
  ASSERT_EQ(2u, r.frames.size());
  EXPECT_EQ(7, r.frames[0].delay_cs);
  EXPECT_EQ(9, r.frames[1].delay_cs);
}

TEST(GifSplit, MarkerBytesInsideLocalColourTableAndImageDataAreNotAFrame) {
  GifBuilder b;
  b.header(4, 4, kFour);
  b.gce(5);
  // Image with a local table holding 00 21 F9 04 and raw data sub-blocks holding the marker.
  b.u8(0x2C).u16(0).u16(0).u16(4).u16(4).u8(0x81);
  b.raw({0x00, 0x21, 0xF9, 0x04, 0x00, 0x21, 0xF9, 0x04, 0x00, 0x00, 0x21, 0xF9});
  b.u8(2);
  b.sub_blocks({0x00, 0x21, 0xF9, 0x04, 0x10, 0x27, 0x05, 0x00, 0x00, 0x21, 0xF9, 0x04});
  b.gce(6).solid_image(0, 0, 2, 2, 1);
  b.trailer();
  const auto r = split(b.bytes);
  EXPECT_EQ(SplitStatus::Ok, r.status);
  ASSERT_EQ(2u, r.frames.size());
  EXPECT_EQ(5, r.frames[0].delay_cs);
  EXPECT_EQ(6, r.frames[1].delay_cs);
  expect_well_formed(r.frames[0]);
}

TEST(GifSplit, FirstExtensionAfterANonZeroByteIsFound) {
  // The last byte of the global table is 0xFF, so no zero byte precedes the first GCE.
  const std::vector<Rgb> table = {{0, 0, 0}, {255, 255, 255}};
  GifBuilder b;
  b.header(3, 3, table);
  ASSERT_EQ(0xFF, b.bytes.back());
  b.gce(12).solid_image(0, 0, 3, 3, 1);
  b.gce(34).solid_image(0, 0, 3, 3, 0);
  b.trailer();
  const auto r = split(b.bytes);
  ASSERT_EQ(2u, r.frames.size());
  EXPECT_EQ(12, r.frames[0].delay_cs);
  EXPECT_EQ(34, r.frames[1].delay_cs);
}

TEST(GifSplit, ImageWithoutExtensionIsAFrameWithDelayZero) {
  GifBuilder b;
  b.header(4, 4, kFour);
  b.gce(10, 2, 1).solid_image(0, 0, 4, 4, 1);
  b.solid_image(1, 2, 2, 2, 2);  // no GCE of its own
  b.gce(30).solid_image(0, 0, 4, 4, 3);
  b.trailer();
  const auto r = split(b.bytes);
  ASSERT_EQ(3u, r.frames.size());
  EXPECT_FALSE(r.frames[1].has_gce);
  EXPECT_EQ(0, r.frames[1].delay_cs);
  EXPECT_EQ(0, r.frames[1].disposal);
  EXPECT_FALSE(r.frames[1].transparent);
  EXPECT_EQ(1, r.frames[1].left);
  EXPECT_EQ(2, r.frames[1].top);
  EXPECT_EQ(30, r.frames[2].delay_cs);
  for (const auto& f : r.frames) expect_well_formed(f);
  // The frame without a GCE has none in its single-frame GIF either.
  const auto& g = r.frames[1].gif;
  const std::uint8_t gce_start[] = {0x21, 0xF9};
  EXPECT_EQ(g.end(), std::search(g.begin(), g.end(), std::begin(gce_start), std::end(gce_start)));
}

TEST(GifSplit, ExtensionsBetweenGceAndImageKeepTheGce) {
  GifBuilder b;
  b.header(4, 4, kFour);
  b.gce(1).gce(44, 2).comment("hello").solid_image(0, 0, 4, 4, 1);  // last GCE wins
  b.gce(55);                                                         // before the trailer: no frame
  b.trailer();
  const auto r = split(b.bytes);
  ASSERT_EQ(1u, r.frames.size());
  EXPECT_EQ(44, r.frames[0].delay_cs);
  EXPECT_EQ(2, r.frames[0].disposal);
}

TEST(GifSplit, LoopCountFromNetscapeWithAnyTableSize) {
  for (int entries : {0, 2, 4, 16, 128, 256}) {
    std::vector<Rgb> table(static_cast<std::size_t>(entries), Rgb{7, 8, 9});
    GifBuilder b;
    b.header(2, 2, table).netscape_loop(static_cast<std::uint16_t>(1000 + entries));
    b.gce(5).solid_image(0, 0, 2, 2, 1, entries == 0 ? kFour : std::vector<Rgb>{});
    b.trailer();
    const auto r = split(b.bytes);
    EXPECT_TRUE(r.has_loop_extension) << entries;
    EXPECT_EQ(1000 + entries, r.loop_count) << entries;
    EXPECT_EQ(1u, r.frames.size());
  }
}

TEST(GifSplit, LoopCountFromAnimexts) {
  GifBuilder b;
  b.header(2, 2, kFour).netscape_loop(3, "ANIMEXTS1.0").gce(5).solid_image(0, 0, 2, 2, 1).trailer();
  EXPECT_EQ(3, split(b.bytes).loop_count);
}

TEST(GifSplit, LoopCountIsZeroWithoutExtensionAndOtherApplicationsAreIgnored) {
  GifBuilder b;
  b.header(2, 2, kFour).netscape_loop(9, "XMP DataXMP").gce(5).solid_image(0, 0, 2, 2, 1).trailer();
  const auto r = split(b.bytes);
  EXPECT_FALSE(r.has_loop_extension);
  EXPECT_EQ(0, r.loop_count);
  EXPECT_EQ(1u, r.frames.size());
  // More than 126 bytes before the first frame: the old fixed offsets would read garbage.
  GifBuilder c;
  c.header(2, 2, std::vector<Rgb>(64, Rgb{0xAB, 0xCD, 0xEF})).gce(5).solid_image(0, 0, 2, 2, 1).trailer();
  EXPECT_EQ(0, split(c.bytes).loop_count);
}

TEST(GifSplit, Gif87aWithoutAnyExtensionLoadsOneFramePerImage) {
  GifBuilder b;
  b.header(4, 4, kFour, "GIF87a");
  b.solid_image(0, 0, 4, 4, 1).solid_image(1, 1, 2, 2, 2).trailer();
  const auto r = split(b.bytes);
  EXPECT_EQ(SplitStatus::Ok, r.status);
  EXPECT_EQ("87a", r.version);
  ASSERT_EQ(2u, r.frames.size());
  for (const auto& f : r.frames) {
    EXPECT_EQ(0, f.delay_cs);
    EXPECT_FALSE(f.has_gce);
    expect_well_formed(f);
  }
}

TEST(GifSplit, Gif89aWithoutGceLoads) {
  GifBuilder b;
  b.header(4, 4, kFour).solid_image(0, 0, 4, 4, 1).trailer();
  const auto r = split(b.bytes);
  ASSERT_EQ(1u, r.frames.size());
  EXPECT_EQ(0, r.frames[0].delay_cs);
}

TEST(GifSplit, NotAGifAndEmptyFile) {
  EXPECT_EQ(SplitStatus::NotAGif, split({}).status);
  EXPECT_EQ(SplitStatus::NotAGif, split({'G', 'I'}).status);
  EXPECT_EQ(SplitStatus::NotAGif, split({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}).status);
  EXPECT_EQ(SplitStatus::NotAGif, split({'g', 'i', 'f', '8', '9', 'a'}).status);
  EXPECT_FALSE(split({}).is_gif());
  // "GIF" and nothing else is a GIF cut short, with no frame: not the same failure.
  const auto r = split({'G', 'I', 'F'});
  EXPECT_TRUE(r.is_gif());
  EXPECT_EQ(SplitStatus::Truncated, r.status);
  EXPECT_TRUE(r.frames.empty());
}

TEST(GifSplit, GifWithoutImages) {
  GifBuilder b;
  b.header(4, 4, kFour).netscape_loop(2).trailer();
  const auto r = split(b.bytes);
  EXPECT_EQ(SplitStatus::Ok, r.status);
  EXPECT_TRUE(r.frames.empty());
  EXPECT_EQ(2, r.loop_count);
}

TEST(GifSplit, UnknownBlockStopsWithTheFramesBefore) {
  GifBuilder b;
  b.header(4, 4, kFour).gce(5).solid_image(0, 0, 4, 4, 1).u8(0x99).gce(6).solid_image(0, 0, 4, 4, 1).trailer();
  const auto r = split(b.bytes);
  EXPECT_EQ(SplitStatus::Malformed, r.status);
  EXPECT_EQ(1u, r.frames.size());
}

TEST(GifSplit, TruncatedLastImageIsKeptAsFarAsItGoesAndWellFormed) {
  GifBuilder b;
  b.header(16, 16, kFour).gce(10).solid_image(0, 0, 16, 16, 1);
  const std::size_t second = b.size();
  std::vector<std::uint8_t> noisy(16 * 16);
  for (std::size_t i = 0; i < noisy.size(); ++i) noisy[i] = static_cast<std::uint8_t>((i * 7 + i / 5) % 4);
  b.gce(20).image(0, 0, 16, 16, noisy);
  const std::size_t full = b.size();
  b.trailer();
  // Cut in the middle of the second image's data.
  std::vector<std::uint8_t> cut(b.bytes.begin(), b.bytes.begin() + static_cast<std::ptrdiff_t>((second + full) / 2 + 10));
  const auto r = split(cut);
  EXPECT_EQ(SplitStatus::Truncated, r.status);
  ASSERT_EQ(2u, r.frames.size());
  EXPECT_FALSE(r.frames[0].truncated);
  EXPECT_TRUE(r.frames[1].truncated);
  EXPECT_EQ(20, r.frames[1].delay_cs);
  expect_well_formed(r.frames[1]);
  // Without the trailer only: complete frames, status Ok.
  std::vector<std::uint8_t> no_trailer(b.bytes.begin(), b.bytes.begin() + static_cast<std::ptrdiff_t>(full));
  const auto n = split(no_trailer);
  EXPECT_EQ(SplitStatus::Ok, n.status);
  EXPECT_EQ(2u, n.frames.size());
  EXPECT_FALSE(n.frames[1].truncated);
}

TEST(GifSplit, EveryTruncationKeepsWhatItHolds) {
  const auto full = three_frames().bytes;
  std::size_t previous = 0;
  for (std::size_t len = 0; len <= full.size(); ++len) {
    std::vector<std::uint8_t> cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(len));
    const auto r = split(cut);
    EXPECT_GE(r.frames.size(), previous) << len;
    EXPECT_LE(r.frames.size(), 3u);
    previous = r.frames.size();
    if (len < 3) {
      EXPECT_EQ(SplitStatus::NotAGif, r.status);
    }
    for (const auto& f : r.frames) expect_well_formed(f);
  }
  EXPECT_EQ(3u, previous);
}

TEST(GifSplit, CutInsideAnExtensionKeepsTheFramesBefore) {
  GifBuilder b;
  b.header(4, 4, kFour).gce(10).solid_image(0, 0, 4, 4, 1);
  b.u8(0x21).u8(0xFE).u8(50).raw("only a few bytes");
  const auto r = split(b.bytes);
  EXPECT_EQ(SplitStatus::Truncated, r.status);
  EXPECT_EQ(1u, r.frames.size());
}

TEST(GifSplit, OversizedImagesAreCountedNotDecoded) {
  // 65535 x 1 is well below the cap.
  GifBuilder small;
  small.header(65535, 1, kFour).gce(5).solid_image(0, 0, 65535, 1, 1).trailer();
  const auto s = split(small.bytes);
  ASSERT_EQ(1u, s.frames.size());
  EXPECT_EQ(65535u, s.total_pixels);
  EXPECT_LE(s.decoded_bytes(), kMaxDecodedBytes);
  // Descriptors claiming 65535 x 65535 with almost no data: counted, over the cap.
  GifBuilder big;
  big.header(65535, 65535, kFour);
  for (int i = 0; i < 3; ++i) big.gce(5).u8(0x2C).u16(0).u16(0).u16(65535).u16(65535).u8(0).u8(2).sub_blocks({0x04, 0x01});
  big.trailer();
  const auto r = split(big.bytes);
  ASSERT_EQ(3u, r.frames.size());
  EXPECT_EQ(3ull * 65535 * 65535, r.total_pixels);
  EXPECT_GT(r.decoded_bytes(), kMaxDecodedBytes);
  // Exactly at the cap (8192 x 8192 x 4 bytes = 256 MB) is allowed; one pixel more is not.
  GifBuilder edge;
  edge.header(8192, 8192, kFour).u8(0x2C).u16(0).u16(0).u16(8192).u16(8192).u8(0).u8(2).sub_blocks({0x04});
  const auto e = split(edge.bytes);
  EXPECT_EQ(kMaxDecodedBytes, e.decoded_bytes());
  edge.u8(0x2C).u16(0).u16(0).u16(1).u16(1).u8(0).u8(2).sub_blocks({0x04});
  EXPECT_GT(split(edge.bytes).decoded_bytes(), kMaxDecodedBytes);
}

TEST(GifSplit, MeasureOnlyBuildsNoFrameGifs) {
  animview::SplitOptions options;
  options.build_frame_gifs = false;
  const auto bytes = three_frames().bytes;
  const auto r = split_gif(bytes, options);
  ASSERT_EQ(3u, r.frames.size());
  for (const auto& f : r.frames) EXPECT_TRUE(f.gif.empty());
}

TEST(GifSplit, MaximumDelay) {
  GifBuilder b;
  b.header(2, 2, kFour).gce(65535).solid_image(0, 0, 2, 2, 1).trailer();
  const auto r = split(b.bytes);
  ASSERT_EQ(1u, r.frames.size());
  EXPECT_EQ(655350u, r.frames[0].delay_ms());
}

TEST(GifSplit, ShortGceSubBlockGivesNoValuesButStaysWellFormed) {
  GifBuilder b;
  b.header(2, 2, kFour).u8(0x21).u8(0xF9).u8(2).u8(0xFF).u8(0xFF).u8(0).solid_image(0, 0, 2, 2, 1).trailer();
  const auto r = split(b.bytes);
  ASSERT_EQ(1u, r.frames.size());
  EXPECT_TRUE(r.frames[0].has_gce);
  EXPECT_EQ(0, r.frames[0].delay_cs);
  expect_well_formed(r.frames[0]);
}
