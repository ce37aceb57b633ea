// Animview portable core: cutting a GIF file into frames by its block structure.
//
// Frames are found by walking the GIF89a block structure, never by a byte search (the
// marker bytes 00 21 F9 also turn up inside colour tables and image data), each frame is an image together with
// the Graphic Control Extension before it, and each frame is rebuilt as a well-formed
// single-frame GIF in memory (nothing is ever written to disk).
//
// No Windows headers here: this file is built on every preset.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace animview {

// How the splitter ended.
enum class SplitStatus {
  Ok,         // the whole file was walked up to its trailer (or its end right after a block)
  Truncated,  // the file ends inside a block; the frames it holds are returned
  Malformed,  // an unknown block introducer was met; the frames before it are returned
  NotAGif,    // empty file, or the file does not begin with "GIF"
};

// GIF89a disposal methods (Graphic Control Extension, packed field bits 2-4).
enum class Disposal : std::uint8_t {
  Unspecified = 0,
  DoNotDispose = 1,
  RestoreBackground = 2,
  RestorePrevious = 3,
};

struct Frame {
  std::uint16_t delay_cs = 0;  // Delay Time as in the file, hundredths of a second (0 when no GCE)
  std::uint16_t left = 0;      // Image Left Position, pixels
  std::uint16_t top = 0;       // Image Top Position, pixels
  std::uint16_t width = 0;     // Image Width, pixels
  std::uint16_t height = 0;    // Image Height, pixels
  std::uint8_t disposal = 0;   // disposal method 0..7 as in the file (0 when no GCE)
  bool has_gce = false;        // a Graphic Control Extension preceded the image
  bool transparent = false;    // transparency flag of the GCE
  std::uint8_t transparent_index = 0;
  bool interlaced = false;
  bool truncated = false;      // the image data was cut short by the end of the file
  std::size_t file_offset = 0; // offset of the Image Separator 0x2C in the file
  // A complete single-frame GIF: "GIF89a", a Logical Screen Descriptor sized to the
  // image, the file's Global Color Table, a GCE (when the frame has one), the image with
  // its Local Color Table at position 0,0, a block terminator and the Trailer 0x3B.
  std::vector<std::uint8_t> gif;

  // Delay in milliseconds as the file gives it (Delay Time x 10). The Tag text.
  std::uint32_t delay_ms() const { return std::uint32_t{delay_cs} * 10u; }
  std::uint64_t pixels() const { return std::uint64_t{width} * height; }
};

struct SplitResult {
  SplitStatus status = SplitStatus::NotAGif;
  std::string version;            // "87a", "89a", ... (the 3 bytes after "GIF", as far as present)
  std::uint16_t screen_width = 0;
  std::uint16_t screen_height = 0;
  bool has_loop_extension = false;
  std::uint16_t loop_count = 0;   // NETSCAPE2.0 / ANIMEXTS1.0 loop count; 0 when there is none
  std::vector<Frame> frames;
  std::uint64_t total_pixels = 0; // sum of width x height over all frames
  std::size_t error_offset = 0;   // where walking stopped for Truncated / Malformed

  bool is_gif() const { return status != SplitStatus::NotAGif; }
  // Decoded size counted at 4 bytes per pixel (the loader refuses more than kMaxDecodedBytes).
  std::uint64_t decoded_bytes() const { return total_pixels * 4u; }
};

// 256 MB of decoded pixels (4 bytes each) over all frames of one file.
inline constexpr std::uint64_t kMaxDecodedBytes = 256ull * 1024u * 1024u;

// Options of the splitter.
struct SplitOptions {
  // When false, frames carry no single-frame GIF (only their values): used to measure
  // a file before anything is built.
  bool build_frame_gifs = true;
};

// Walks the GIF block structure of `bytes`. Never reads outside `bytes`, whatever it holds.
SplitResult split_gif(std::span<const std::uint8_t> bytes, const SplitOptions& options = {});

// Human-readable name of a status, for messages and tests.
const char* to_string(SplitStatus status);

}  // namespace animview
