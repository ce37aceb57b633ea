// A tiny GIF writer for tests and benchmarks: builds GIF files block by block, with a real
// LZW encoder, so fixtures are made in the tests themselves (no binary fixtures) and can be
// decoded by the platform's picture loader.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace animview::testing {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
};

// LZW-compresses colour indices as GIF image data: the minimum code size byte is NOT
// included; the result is the raw code stream (to be cut into sub-blocks).
inline std::vector<std::uint8_t> lzw_encode(const std::vector<std::uint8_t>& pixels, int min_code_size) {
  std::vector<std::uint8_t> out;
  std::uint32_t bit_buffer = 0;
  int bit_count = 0;
  const int clear = 1 << min_code_size;
  const int end = clear + 1;
  int code_size = min_code_size + 1;
  int next_code = end + 1;
  std::unordered_map<std::uint32_t, int> table;  // (prefix << 8 | byte) -> code
  table.reserve(8192);
  auto emit = [&](int code) {
    bit_buffer |= static_cast<std::uint32_t>(code) << bit_count;
    bit_count += code_size;
    while (bit_count >= 8) {
      out.push_back(static_cast<std::uint8_t>(bit_buffer & 0xFF));
      bit_buffer >>= 8;
      bit_count -= 8;
    }
  };
  emit(clear);
  if (!pixels.empty()) {
    int prefix = pixels[0];
    for (std::size_t i = 1; i < pixels.size(); ++i) {
      const std::uint8_t c = pixels[i];
      const std::uint32_t key = (static_cast<std::uint32_t>(prefix) << 8) | c;
      auto it = table.find(key);
      if (it != table.end()) {
        prefix = it->second;
        continue;
      }
      emit(prefix);
      if (next_code < 4096) {
        table.emplace(key, next_code++);
        if (next_code > (1 << code_size) && code_size < 12) ++code_size;
      } else {
        emit(clear);
        table.clear();
        code_size = min_code_size + 1;
        next_code = end + 1;
      }
      prefix = c;
    }
    emit(prefix);
    // The decoder adds a table entry after this last code too; it may widen the codes.
    if (next_code == (1 << code_size) && code_size < 12) ++code_size;
  }
  emit(end);
  if (bit_count > 0) out.push_back(static_cast<std::uint8_t>(bit_buffer & 0xFF));
  return out;
}

class GifBuilder {
 public:
  std::vector<std::uint8_t> bytes;

  // Signature and version ("GIF89a" or "GIF87a"), Logical Screen Descriptor and the
  // Global Color Table (padded to a power of two of at least 2 entries; none when empty).
  GifBuilder& header(std::uint16_t width, std::uint16_t height, const std::vector<Rgb>& global_table,
                     std::string_view signature = "GIF89a", std::uint8_t background = 0) {
    raw(signature);
    u16(width);
    u16(height);
    std::uint8_t packed = 0;
    int bits = 0;
    if (!global_table.empty()) {
      bits = table_bits(global_table.size());
      packed = static_cast<std::uint8_t>(0x80 | ((bits - 1) << 4) | (bits - 1));
    }
    u8(packed);
    u8(background);
    u8(0);
    if (!global_table.empty()) table(global_table, bits);
    return *this;
  }

  GifBuilder& netscape_loop(std::uint16_t loops, std::string_view id = "NETSCAPE2.0") {
    u8(0x21);
    u8(0xFF);
    u8(11);
    raw(id);
    u8(3);
    u8(1);
    u16(loops);
    u8(0);
    return *this;
  }

  GifBuilder& comment(std::string_view text) {
    u8(0x21);
    u8(0xFE);
    sub_blocks(std::vector<std::uint8_t>(text.begin(), text.end()));
    return *this;
  }

  // Graphic Control Extension; transparent_index < 0 means no transparency.
  GifBuilder& gce(std::uint16_t delay_cs, int disposal = 0, int transparent_index = -1) {
    u8(0x21);
    u8(0xF9);
    u8(4);
    u8(static_cast<std::uint8_t>(((disposal & 7) << 2) | (transparent_index >= 0 ? 1 : 0)));
    u16(delay_cs);
    u8(static_cast<std::uint8_t>(transparent_index >= 0 ? transparent_index : 0));
    u8(0);
    return *this;
  }

  // Image Descriptor, optional Local Color Table, LZW-compressed data of `pixels`
  // (width x height colour indices, row by row).
  GifBuilder& image(std::uint16_t left, std::uint16_t top, std::uint16_t width, std::uint16_t height,
                    const std::vector<std::uint8_t>& pixels, const std::vector<Rgb>& local_table = {},
                    int min_code_size = 0) {
    u8(0x2C);
    u16(left);
    u16(top);
    u16(width);
    u16(height);
    int bits = 0;
    if (!local_table.empty()) {
      bits = table_bits(local_table.size());
      u8(static_cast<std::uint8_t>(0x80 | (bits - 1)));
      table(local_table, bits);
    } else {
      u8(0);
    }
    if (min_code_size == 0) {
      int max_index = 1;
      for (auto p : pixels) max_index = p > max_index ? p : max_index;
      min_code_size = 2;
      while ((1 << min_code_size) <= max_index) ++min_code_size;
    }
    u8(static_cast<std::uint8_t>(min_code_size));
    sub_blocks(lzw_encode(pixels, min_code_size));
    return *this;
  }

  // An image of one colour index.
  GifBuilder& solid_image(std::uint16_t left, std::uint16_t top, std::uint16_t width, std::uint16_t height,
                          std::uint8_t index, const std::vector<Rgb>& local_table = {}) {
    return image(left, top, width, height, std::vector<std::uint8_t>(std::size_t{width} * height, index),
                 local_table);
  }

  GifBuilder& trailer() { return u8(0x3B); }

  GifBuilder& u8(std::uint8_t v) {
    bytes.push_back(v);
    return *this;
  }
  GifBuilder& u16(std::uint16_t v) {
    bytes.push_back(static_cast<std::uint8_t>(v & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(v >> 8));
    return *this;
  }
  GifBuilder& raw(std::string_view s) {
    bytes.insert(bytes.end(), s.begin(), s.end());
    return *this;
  }
  GifBuilder& raw(std::initializer_list<std::uint8_t> v) {
    bytes.insert(bytes.end(), v.begin(), v.end());
    return *this;
  }
  GifBuilder& sub_blocks(const std::vector<std::uint8_t>& data) {
    for (std::size_t i = 0; i < data.size(); i += 255) {
      const std::size_t n = data.size() - i < 255 ? data.size() - i : 255;
      u8(static_cast<std::uint8_t>(n));
      bytes.insert(bytes.end(), data.begin() + static_cast<std::ptrdiff_t>(i),
                   data.begin() + static_cast<std::ptrdiff_t>(i + n));
    }
    return u8(0);
  }

  std::size_t size() const { return bytes.size(); }

 private:
  static int table_bits(std::size_t entries) {
    int bits = 1;
    while ((std::size_t{1} << bits) < entries) ++bits;
    return bits;
  }
  void table(const std::vector<Rgb>& colours, int bits) {
    const std::size_t n = std::size_t{1} << bits;
    for (std::size_t i = 0; i < n; ++i) {
      const Rgb c = i < colours.size() ? colours[i] : Rgb{};
      u8(c.r);
      u8(c.g);
      u8(c.b);
    }
  }
};

}  // namespace animview::testing
