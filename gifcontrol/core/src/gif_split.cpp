// GIF splitter: walks the GIF89a block structure. Every read goes through Reader, which
// checks the bounds first, so malformed input can stop the walk but never overrun.
#include "animview/gif_split.h"

#include <algorithm>
#include <cstring>

namespace animview {
namespace {

constexpr std::uint8_t kExtensionIntroducer = 0x21;
constexpr std::uint8_t kImageSeparator = 0x2C;
constexpr std::uint8_t kTrailer = 0x3B;
constexpr std::uint8_t kGraphicControlLabel = 0xF9;
constexpr std::uint8_t kApplicationLabel = 0xFF;

class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::size_t pos() const { return pos_; }
  std::size_t remaining() const { return bytes_.size() - pos_; }
  bool has(std::size_t n) const { return remaining() >= n; }
  std::uint8_t u8() { return bytes_[pos_++]; }  // callers check has() first
  std::uint16_t u16() {
    const std::uint16_t v = static_cast<std::uint16_t>(bytes_[pos_] | (bytes_[pos_ + 1] << 8));
    pos_ += 2;
    return v;
  }
  std::span<const std::uint8_t> take(std::size_t n) {
    auto s = bytes_.subspan(pos_, n);
    pos_ += n;
    return s;
  }
  std::span<const std::uint8_t> slice(std::size_t from, std::size_t to) const {
    return bytes_.subspan(from, to - from);
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t pos_ = 0;
};

// Result of skipping a data sub-block sequence.
enum class SubBlocks { Complete, Truncated };

// Skips sub-blocks up to and including the block terminator. Optionally hands each
// sub-block's payload to `visit(index, payload)`.
template <typename Visit>
SubBlocks skip_sub_blocks(Reader& r, Visit&& visit) {
  for (std::size_t index = 0;; ++index) {
    if (!r.has(1)) return SubBlocks::Truncated;
    const std::uint8_t size = r.u8();
    if (size == 0) return SubBlocks::Complete;
    if (!r.has(size)) {
      r.take(r.remaining());
      return SubBlocks::Truncated;
    }
    visit(index, r.take(size));
  }
}

SubBlocks skip_sub_blocks(Reader& r) {
  return skip_sub_blocks(r, [](std::size_t, std::span<const std::uint8_t>) {});
}

void put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v & 0xFF));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void append(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> bytes) {
  out.insert(out.end(), bytes.begin(), bytes.end());
}

// The values of a Graphic Control Extension waiting for its image.
struct PendingGce {
  bool present = false;
  std::uint8_t packed = 0;
  std::uint16_t delay_cs = 0;
  std::uint8_t transparent_index = 0;
};

struct Screen {
  std::uint16_t width = 0;
  std::uint16_t height = 0;
  std::uint8_t packed = 0;  // with the Global Color Table flag and size
  std::uint8_t background = 0;
  std::uint8_t aspect = 0;
  std::span<const std::uint8_t> global_table;
};

// Builds the single-frame GIF of an image. `image_data` are the raw sub-blocks of the
// image data after the LZW minimum code size, without the terminator; when the image was
// cut short `image_data` holds complete sub-blocks only and `partial` the bytes of the
// sub-block that the file's end cut (re-sized here).
void build_frame_gif(Frame& f, const Screen& screen, const PendingGce& gce, std::uint8_t image_packed,
                     std::span<const std::uint8_t> local_table, std::uint8_t lzw_min_code_size,
                     std::span<const std::uint8_t> image_data, std::span<const std::uint8_t> partial) {
  std::vector<std::uint8_t>& out = f.gif;
  out.clear();
  out.reserve(6 + 7 + screen.global_table.size() + 8 + 10 + local_table.size() + 1 + image_data.size() +
              partial.size() + 3);
  static constexpr std::uint8_t kSignature[] = {'G', 'I', 'F', '8', '9', 'a'};
  append(out, kSignature);
  // Logical Screen Descriptor sized to the image: the picture loader then yields exactly
  // the frame's own rectangle, which the element places at the frame's offset.
  put16(out, f.width);
  put16(out, f.height);
  out.push_back(screen.packed);
  out.push_back(screen.background);
  out.push_back(screen.aspect);
  append(out, screen.global_table);
  if (gce.present) {
    out.push_back(kExtensionIntroducer);
    out.push_back(kGraphicControlLabel);
    out.push_back(4);
    out.push_back(gce.packed);
    put16(out, gce.delay_cs);
    out.push_back(gce.transparent_index);
    out.push_back(0);
  }
  out.push_back(kImageSeparator);
  put16(out, 0);
  put16(out, 0);
  put16(out, f.width);
  put16(out, f.height);
  out.push_back(image_packed);
  append(out, local_table);
  out.push_back(lzw_min_code_size);
  append(out, image_data);
  if (!partial.empty()) {
    out.push_back(static_cast<std::uint8_t>(partial.size()));
    append(out, partial);
  }
  out.push_back(0);  // block terminator
  out.push_back(kTrailer);
}

}  // namespace

const char* to_string(SplitStatus status) {
  switch (status) {
    case SplitStatus::Ok: return "ok";
    case SplitStatus::Truncated: return "truncated";
    case SplitStatus::Malformed: return "malformed";
    case SplitStatus::NotAGif: return "not a GIF";
  }
  return "?";
}

SplitResult split_gif(std::span<const std::uint8_t> bytes, const SplitOptions& options) {
  SplitResult result;
  Reader r(bytes);
  if (!r.has(3) || std::memcmp(bytes.data(), "GIF", 3) != 0) {
    result.status = SplitStatus::NotAGif;
    return result;
  }
  r.take(3);
  {
    const std::size_t n = std::min<std::size_t>(3, r.remaining());
    auto v = r.take(n);
    result.version.assign(v.begin(), v.end());
  }
  auto truncated = [&]() {
    result.status = SplitStatus::Truncated;
    result.error_offset = r.pos();
    return result;
  };
  if (!r.has(7)) return truncated();
  Screen screen;
  screen.width = r.u16();
  screen.height = r.u16();
  screen.packed = r.u8();
  screen.background = r.u8();
  screen.aspect = r.u8();
  result.screen_width = screen.width;
  result.screen_height = screen.height;
  if (screen.packed & 0x80) {
    const std::size_t table = 3u << ((screen.packed & 0x07) + 1);
    if (!r.has(table)) return truncated();
    screen.global_table = r.take(table);
  }

  PendingGce gce;
  result.status = SplitStatus::Ok;
  while (true) {
    if (!r.has(1)) {
      // The file ends after a complete block but before its Trailer: the frames are whole.
      break;
    }
    const std::size_t block_start = r.pos();
    const std::uint8_t introducer = r.u8();
    if (introducer == kTrailer) break;

    if (introducer == kExtensionIntroducer) {
      if (!r.has(1)) return truncated();
      const std::uint8_t label = r.u8();
      if (label == kGraphicControlLabel) {
        PendingGce next;
        next.present = true;
        const SubBlocks end = skip_sub_blocks(r, [&](std::size_t index, std::span<const std::uint8_t> p) {
          if (index == 0 && p.size() >= 4) {
            next.packed = p[0];
            next.delay_cs = static_cast<std::uint16_t>(p[1] | (p[2] << 8));
            next.transparent_index = p[3];
          }
        });
        if (end == SubBlocks::Truncated) return truncated();
        gce = next;  // the last GCE before an image is the one that applies
      } else if (label == kApplicationLabel) {
        bool looping = false;
        const SubBlocks end = skip_sub_blocks(r, [&](std::size_t index, std::span<const std::uint8_t> p) {
          if (index == 0) {
            looping = p.size() == 11 && (std::memcmp(p.data(), "NETSCAPE2.0", 11) == 0 ||
                                         std::memcmp(p.data(), "ANIMEXTS1.0", 11) == 0);
          } else if (looping && p.size() >= 3 && p[0] == 1 && !result.has_loop_extension) {
            result.has_loop_extension = true;
            result.loop_count = static_cast<std::uint16_t>(p[1] | (p[2] << 8));
          }
        });
        if (end == SubBlocks::Truncated) return truncated();
      } else {
        if (skip_sub_blocks(r) == SubBlocks::Truncated) return truncated();
      }
      continue;
    }

    if (introducer != kImageSeparator) {
      result.status = SplitStatus::Malformed;
      result.error_offset = block_start;
      break;
    }

    // Image Descriptor, Local Color Table, LZW minimum code size, image data.
    if (!r.has(9)) return truncated();
    Frame f;
    f.file_offset = block_start;
    f.left = r.u16();
    f.top = r.u16();
    f.width = r.u16();
    f.height = r.u16();
    const std::uint8_t image_packed = r.u8();
    f.interlaced = (image_packed & 0x40) != 0;
    std::span<const std::uint8_t> local_table;
    if (image_packed & 0x80) {
      const std::size_t table = 3u << ((image_packed & 0x07) + 1);
      if (!r.has(table)) return truncated();
      local_table = r.take(table);
    }
    if (!r.has(1)) return truncated();
    const std::uint8_t lzw_min_code_size = r.u8();
    const std::size_t data_start = r.pos();
    std::size_t complete_end = data_start;  // end of the last complete sub-block
    const SubBlocks end = skip_sub_blocks(r, [&](std::size_t, std::span<const std::uint8_t>) {
      complete_end = r.pos();
    });
    std::span<const std::uint8_t> partial;
    if (end == SubBlocks::Truncated) {
      f.truncated = true;
      // Bytes of a sub-block whose size byte promised more than the file holds.
      if (r.pos() > complete_end + 1) partial = r.slice(complete_end + 1, r.pos());
    }
    if (gce.present) {
      f.has_gce = true;
      f.delay_cs = gce.delay_cs;
      f.disposal = static_cast<std::uint8_t>((gce.packed >> 2) & 0x07);
      f.transparent = (gce.packed & 0x01) != 0;
      f.transparent_index = gce.transparent_index;
    }
    if (options.build_frame_gifs) {
      build_frame_gif(f, screen, gce, image_packed, local_table, lzw_min_code_size,
                      r.slice(data_start, complete_end), partial);
    }
    result.total_pixels += f.pixels();
    result.frames.push_back(std::move(f));
    gce = PendingGce{};  // a GCE applies to the next image only
    if (end == SubBlocks::Truncated) return truncated();
  }
  return result;
}

}  // namespace animview
