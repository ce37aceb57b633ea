// Win32 frame store tests, run under Wine: real pictures decoded by OleLoadPicture,
// drawn into a DIB over a known background, LoadGif's messages, Timer1 playback.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "animview/frames.h"
#include "canvas.h"
#include "gif_builder.h"

namespace fs = std::filesystem;
using namespace animview::win;
using animview::split_gif;
using animview::testing::Canvas;
using animview::testing::GifBuilder;
using animview::testing::Rgb;

namespace {

// Colours: 0 transparent slot (magenta), 1 red, 2 green, 3 blue.
const std::vector<Rgb> kPalette = {{255, 0, 255}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
constexpr COLORREF kBackground = RGB(0x12, 0x34, 0x56);

// A directory of its own for each test, removed afterwards.
class TempDir {
 public:
  TempDir() {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    static int counter = 0;
    path_ = fs::path(base) / (L"animview-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(++counter));
    fs::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  const fs::path& path() const { return path_; }
  std::wstring write(const std::wstring& name, const std::vector<std::uint8_t>& bytes) const {
    const fs::path p = path_ / name;
    FILE* f = _wfopen(p.c_str(), L"wb");
    if (f) {
      if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
      std::fclose(f);
    }
    return p.wstring();
  }
  std::vector<std::wstring> files() const {
    std::vector<std::wstring> names;
    for (const auto& e : fs::directory_iterator(path_)) names.push_back(e.path().filename().wstring());
    return names;
  }

 private:
  fs::path path_;
};

struct Captured {
  std::vector<std::wstring> texts;
  std::vector<UINT> flags;
};

LoadServices capturing(Captured& c) {
  LoadServices s;
  s.message_box = [&c](const std::wstring& text, const std::wstring&, UINT flags) {
    c.texts.push_back(text);
    c.flags.push_back(flags);
    return IDOK;
  };
  return s;
}

// 8x8 blue frame, then a 4x4 frame at (2,2): transparent ring, red 2x2 centre, then a
// 2x2 green frame at (6,0) with no GCE.
std::vector<std::uint8_t> layered_gif() {
  GifBuilder b;
  b.header(8, 8, kPalette).netscape_loop(7);
  b.gce(10, 1).solid_image(0, 0, 8, 8, 3);
  std::vector<std::uint8_t> ring(16, 0);
  ring[5] = ring[6] = ring[9] = ring[10] = 1;
  b.gce(20, 1, 0).image(2, 2, 4, 4, ring);
  b.solid_image(6, 0, 2, 2, 2);
  b.trailer();
  return b.bytes;
}

void pump_for(std::chrono::milliseconds d) {
  const auto end = std::chrono::steady_clock::now() + d;
  while (std::chrono::steady_clock::now() < end) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 2, QS_ALLINPUT);
  }
}

}  // namespace

TEST(Decode, FrameKeepsItsTransparency) {
  std::vector<std::uint8_t> px(8 * 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) px[static_cast<std::size_t>(y * 8 + x)] = x < 4 ? 0 : 2;
  GifBuilder b;
  b.header(8, 8, kPalette).gce(10, 0, 0).image(0, 0, 8, 8, px).trailer();
  const auto split = split_gif(b.bytes);
  ASSERT_EQ(1u, split.frames.size());
  ComPtr<IPicture> picture;
  ASSERT_EQ(S_OK, decode_picture(split.frames[0].gif, picture));
  const SIZE s = picture_size_px(picture.Get());
  EXPECT_EQ(8, s.cx);
  EXPECT_EQ(8, s.cy);
  Canvas canvas(16, 16, kBackground);
  OLE_XSIZE_HIMETRIC w;
  OLE_YSIZE_HIMETRIC h;
  picture->get_Width(&w);
  picture->get_Height(&h);
  ASSERT_EQ(S_OK, picture->Render(canvas.dc(), 4, 4, 8, 8, 0, h, w, -h, nullptr));
  EXPECT_EQ(kBackground, canvas.at(5, 5));    // transparent half: background shows
  EXPECT_EQ(kBackground, canvas.at(7, 11));
  EXPECT_EQ(RGB(0, 255, 0), canvas.at(8, 4)); // opaque half
  EXPECT_EQ(RGB(0, 255, 0), canvas.at(11, 11));
  EXPECT_EQ(kBackground, canvas.at(12, 12));  // outside the picture
}

TEST(Decode, OffsetFrameIsDecodedAtItsOwnSize) {
  GifBuilder b;
  b.header(100, 50, kPalette).gce(5).solid_image(30, 20, 6, 3, 1).trailer();
  const auto split = split_gif(b.bytes);
  ComPtr<IPicture> picture;
  ASSERT_EQ(S_OK, decode_picture(split.frames[0].gif, picture));
  const SIZE s = picture_size_px(picture.Get());
  EXPECT_EQ(6, s.cx);
  EXPECT_EQ(3, s.cy);
}

TEST(Decode, RejectsGarbage) {
  ComPtr<IPicture> picture;
  const std::vector<std::uint8_t> junk = {'G', 'I', 'F', '8', '9', 'a', 1, 2, 3};
  EXPECT_TRUE(FAILED(decode_picture(junk, picture)));
  EXPECT_FALSE(picture);
}

TEST(LoadGif, BuildsTheFrameStore) {
  TempDir dir;
  const std::wstring file = dir.write(L"layered.gif", layered_gif());
  Captured c;
  const LoadServices services = capturing(c);
  ElementArray image1;
  EXPECT_DOUBLE_EQ(15.0, image1.metrics.twips_per_pixel_x);  // 96 dpi
  EXPECT_DOUBLE_EQ(15.0, image1.metrics.twips_per_pixel_y);
  image1.at(0).left = 300;
  image1.at(0).top = 150;
  image1.at(0).width = 7500;
  PictureHolder image2;
  animview::FrameStoreMembers members;
  bool ok = false;
  ASSERT_EQ(S_OK, LoadGif(file, image1, image2, members, services, &ok));
  EXPECT_TRUE(ok);
  EXPECT_TRUE(c.texts.empty());
  ASSERT_EQ(3, image1.count());
  EXPECT_EQ(2, members.total_frames);
  EXPECT_EQ(7, members.repeat_times);
  EXPECT_EQ(6, members.x_off);  // the frame placed last
  EXPECT_EQ(0, members.y_off);
  EXPECT_EQ(L"100", image1.at(0).tag);
  EXPECT_EQ(L"200", image1.at(1).tag);
  EXPECT_EQ(L"0", image1.at(2).tag);
  // Element 0 stays where it is; later frames are placed from it by their offsets in twips.
  EXPECT_DOUBLE_EQ(300, image1.at(0).left);
  EXPECT_DOUBLE_EQ(150, image1.at(0).top);
  EXPECT_DOUBLE_EQ(300 + 2 * 15, image1.at(1).left);
  EXPECT_DOUBLE_EQ(150 + 2 * 15, image1.at(1).top);
  EXPECT_DOUBLE_EQ(300 + 6 * 15, image1.at(2).left);
  EXPECT_DOUBLE_EQ(150 + 0 * 15, image1.at(2).top);
  EXPECT_DOUBLE_EQ(7500, image1.at(2).width);  // display settings from element 0
  EXPECT_TRUE(image1.at(0).visible);
  EXPECT_FALSE(image1.at(1).visible);
  EXPECT_FALSE(image1.at(2).visible);
  EXPECT_EQ(image1.at(2).picture.Get(), image2.picture.Get());
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(image1.at(i).picture) << i;
  const RECT r = image1.rect_px(1);
  EXPECT_EQ(22, r.left);
  EXPECT_EQ(12, r.top);
  EXPECT_EQ(26, r.right);
  EXPECT_EQ(16, r.bottom);
}

TEST(LoadGif, ElementsDrawInOrderWithTransparency) {
  TempDir dir;
  const std::wstring file = dir.write(L"layered.gif", layered_gif());
  Captured c;
  ElementArray image1;
  PictureHolder image2;
  animview::FrameStoreMembers members;
  bool ok = false;
  ASSERT_EQ(S_OK, LoadGif(file, image1, image2, members, capturing(c), &ok));
  ASSERT_TRUE(ok);
  {
    Canvas canvas(12, 12, kBackground);
    image1.paint(canvas.dc(), {0, 0}, nullptr);
    EXPECT_EQ(RGB(0, 0, 255), canvas.at(0, 0));
    EXPECT_EQ(RGB(0, 0, 255), canvas.at(4, 4));
    EXPECT_EQ(kBackground, canvas.at(9, 9));
  }
  image1.set_visible(1, true);
  image1.bring_to_front(1);
  image1.set_visible(2, true);
  image1.bring_to_front(2);
  {
    Canvas canvas(12, 12, kBackground);
    image1.paint(canvas.dc(), {1, 1}, nullptr);  // control's corner at (1,1)
    EXPECT_EQ(RGB(0, 0, 255), canvas.at(3, 3));   // frame 1's transparent ring: blue below
    EXPECT_EQ(RGB(255, 0, 0), canvas.at(4, 4));   // frame 1's red centre
    EXPECT_EQ(RGB(255, 0, 0), canvas.at(5, 5));
    EXPECT_EQ(RGB(0, 0, 255), canvas.at(6, 6));
    EXPECT_EQ(RGB(0, 255, 0), canvas.at(7, 1));   // frame 2 on top at (6,0)
    EXPECT_EQ(RGB(0, 0, 255), canvas.at(1, 1));
    EXPECT_EQ(kBackground, canvas.at(0, 0));
  }
  // Drawing order: element 0 brought on top hides the others (it is opaque).
  image1.bring_to_front(0);
  {
    Canvas canvas(12, 12, kBackground);
    image1.paint(canvas.dc(), {0, 0}, nullptr);
    EXPECT_EQ(RGB(0, 0, 255), canvas.at(3, 3));
    EXPECT_EQ(RGB(0, 0, 255), canvas.at(6, 0));
  }
}

TEST(LoadGif, ClippedPaintMatchesFullPaint) {
  // A 37 x 23 frame of stripes with transparent pixels, at an odd offset, over an opaque one.
  std::vector<std::uint8_t> stripes(37 * 23);
  for (int y = 0; y < 23; ++y)
    for (int x = 0; x < 37; ++x) stripes[static_cast<std::size_t>(y * 37 + x)] = static_cast<std::uint8_t>((x / 3 + y / 2) % 4);
  std::vector<std::uint8_t> base(50 * 40);
  for (std::size_t i = 0; i < base.size(); ++i) base[i] = static_cast<std::uint8_t>(1 + (i / 7) % 3);
  GifBuilder b;
  b.header(50, 40, kPalette).gce(10, 1).image(0, 0, 50, 40, base).gce(10, 1, 0).image(7, 5, 37, 23, stripes).trailer();
  TempDir dir;
  Captured c;
  ElementArray image1;
  PictureHolder image2;
  animview::FrameStoreMembers members;
  bool ok = false;
  ASSERT_EQ(S_OK, LoadGif(dir.write(L"stripes.gif", b.bytes), image1, image2, members, capturing(c), &ok));
  ASSERT_TRUE(ok);
  image1.set_visible(1, true);
  Canvas full(60, 50, kBackground);
  image1.paint(full.dc(), {2, 3}, nullptr);
  for (const RECT clip : {RECT{10, 9, 29, 21}, RECT{0, 0, 13, 7}, RECT{40, 20, 50, 40}, RECT{8, 6, 9, 7}}) {
    Canvas part(60, 50, kBackground);
    HRGN region = CreateRectRgn(clip.left + 2, clip.top + 3, clip.right + 2, clip.bottom + 3);
    SelectClipRgn(part.dc(), region);  // as BeginPaint clips to the update region
    DeleteObject(region);
    image1.paint(part.dc(), {2, 3}, &clip);
    int differences = 0;
    for (int y = clip.top; y < clip.bottom; ++y)
      for (int x = clip.left; x < clip.right; ++x)
        if (full.at(x + 2, y + 3) != part.at(x + 2, y + 3)) ++differences;
    EXPECT_EQ(0, differences) << clip.left << "," << clip.top;
  }
}

TEST(LoadGif, AThousandFrames) {
  GifBuilder b;
  b.header(16, 16, kPalette).netscape_loop(0);
  for (int i = 0; i < 1000; ++i) b.gce(static_cast<std::uint16_t>(i % 7 + 2), 1, 0).solid_image(static_cast<std::uint16_t>(i % 9), 0, 4, 4, static_cast<std::uint8_t>(1 + i % 3));
  b.trailer();
  TempDir dir;
  const std::wstring file = dir.write(L"many.gif", b.bytes);
  Captured c;
  Animation animation(capturing(c));
  bool ok = false;
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(S_OK, animation.OpenFile(file, &ok));
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  EXPECT_TRUE(ok);
  EXPECT_TRUE(c.texts.empty());
  EXPECT_EQ(1000, animation.Image1().count());
  EXPECT_EQ(999, animation.GetImageCount());
  EXPECT_EQ(L"70", animation.Image1().at(999).tag);  // (999 % 7 + 2) hundredths
  std::printf("1000 frames loaded in %lld ms\n", static_cast<long long>(ms.count()));
  // Loading a second file removes every element but element 0 first.
  GifBuilder one;
  one.header(4, 4, kPalette).gce(3).solid_image(0, 0, 4, 4, 1).trailer();
  const std::wstring single = dir.write(L"one.gif", one.bytes);
  ASSERT_EQ(S_OK, animation.OpenFile(single, &ok));
  EXPECT_TRUE(ok);
  EXPECT_EQ(1, animation.Image1().count());
  EXPECT_EQ(0, animation.GetImageCount());
  EXPECT_EQ(L"30", animation.Image1().at(0).tag);
}

TEST(LoadGif, ErrorMessages) {
  TempDir dir;
  Captured c;
  const LoadServices services = capturing(c);
  ElementArray image1;
  PictureHolder image2;
  animview::FrameStoreMembers members;
  bool ok = true;

  const std::wstring missing = (dir.path() / L"missing.gif").wstring();
  ASSERT_EQ(S_OK, LoadGif(missing, image1, image2, members, services, &ok));
  EXPECT_FALSE(ok);
  ASSERT_EQ(1u, c.texts.size());
  EXPECT_EQ(L"File " + missing + L" not found", c.texts.back());
  EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONSTOP), c.flags.back());
  EXPECT_EQ(16u, c.flags.back());

  ASSERT_EQ(S_OK, LoadGif(L"", image1, image2, members, services, &ok));
  EXPECT_EQ(L"File  not found", c.texts.back());
  ASSERT_EQ(S_OK, LoadGif(dir.path().wstring(), image1, image2, members, services, &ok));  // a directory
  EXPECT_EQ(L"File " + dir.path().wstring() + L" not found", c.texts.back());

  // A good file first, so that the state after each failure can be checked.
  const std::wstring good = dir.write(L"good.gif", layered_gif());
  ASSERT_EQ(S_OK, LoadGif(good, image1, image2, members, services, &ok));
  ASSERT_TRUE(ok);
  IPicture* first = image1.at(0).picture.Get();

  const std::wstring text = dir.write(L"text.gif", {'h', 'e', 'l', 'l', 'o'});
  ASSERT_EQ(S_OK, LoadGif(text, image1, image2, members, services, &ok));
  EXPECT_FALSE(ok);
  EXPECT_EQ(L"This file is not a *.gif file", c.texts.back());
  EXPECT_EQ(1, image1.count());                 // elements 1..n-1 removed
  EXPECT_EQ(first, image1.at(0).picture.Get());  // element 0 keeps the previous first frame
  EXPECT_EQ(2, members.total_frames);            // unchanged
  EXPECT_EQ(7, members.repeat_times);

  const std::wstring empty = dir.write(L"empty.gif", {});
  ASSERT_EQ(S_OK, LoadGif(empty, image1, image2, members, services, &ok));
  EXPECT_FALSE(ok);
  EXPECT_EQ(L"This file is not a *.gif file", c.texts.back());

  GifBuilder big;
  big.header(8192, 8192, kPalette);
  for (int i = 0; i < 2; ++i) big.gce(5).u8(0x2C).u16(0).u16(0).u16(8192).u16(8192).u8(0).u8(2).sub_blocks({0x04, 0x01});
  big.trailer();
  const std::wstring huge = dir.write(L"huge.gif", big.bytes);
  ASSERT_EQ(S_OK, LoadGif(huge, image1, image2, members, services, &ok));
  EXPECT_FALSE(ok);
  EXPECT_EQ(L"7 Out of memory", c.texts.back());
  EXPECT_EQ(2, members.total_frames);

  GifBuilder noimage;
  noimage.header(4, 4, kPalette).netscape_loop(1).trailer();
  const std::wstring none = dir.write(L"none.gif", noimage.bytes);
  ASSERT_EQ(S_OK, LoadGif(none, image1, image2, members, services, &ok));
  EXPECT_FALSE(ok);
  EXPECT_EQ(L"481 Invalid picture", c.texts.back());

  // A frame that the picture loader rejects: its LZW codes name entries that do not exist.
  GifBuilder bad;
  bad.header(4, 4, kPalette).gce(5).solid_image(0, 0, 4, 4, 1);
  bad.gce(5).u8(0x2C).u16(0).u16(0).u16(4).u16(4).u8(0).u8(2).sub_blocks({0xFF, 0xFF, 0xFF, 0xFF}).trailer();
  const std::wstring rejected = dir.write(L"bad.gif", bad.bytes);
  c.texts.clear();
  ASSERT_EQ(S_OK, LoadGif(rejected, image1, image2, members, services, &ok));
  EXPECT_FALSE(ok);
  ASSERT_EQ(1u, c.texts.size());
  EXPECT_EQ(L"481 Invalid picture", c.texts.back());
  EXPECT_EQ(2, members.total_frames);  // unchanged on the error path
  EXPECT_EQ(1, image1.count());        // the frames loaded so far stay
  EXPECT_TRUE(image1.at(0).picture);
}

TEST(LoadGif, NoFileIsWrittenAnywhere) {
  TempDir fixtures;
  TempDir cwd;
  const std::wstring file = fixtures.write(L"layered.gif", layered_gif());
  wchar_t old_dir[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, old_dir);
  ASSERT_TRUE(SetCurrentDirectoryW(cwd.path().c_str()));
  Captured c;
  Animation animation(capturing(c));
  bool ok = false;
  EXPECT_EQ(S_OK, animation.OpenFile(file, &ok));
  EXPECT_TRUE(ok);
  EXPECT_EQ(S_OK, animation.CloseFile());
  SetCurrentDirectoryW(old_dir);
  EXPECT_TRUE(cwd.files().empty());
  EXPECT_EQ(std::vector<std::wstring>{L"layered.gif"}, fixtures.files());
  EXPECT_FALSE(fs::exists(cwd.path() / L"temp.gif"));
}

TEST(LoadGif, TruncatedAndGif87aFilesLoad) {
  TempDir dir;
  Captured c;
  ElementArray image1;
  PictureHolder image2;
  animview::FrameStoreMembers members;
  bool ok = false;

  GifBuilder g87;
  g87.header(8, 8, kPalette, "GIF87a").solid_image(0, 0, 8, 8, 1).solid_image(2, 2, 4, 4, 2).trailer();
  ASSERT_EQ(S_OK, LoadGif(dir.write(L"g87.gif", g87.bytes), image1, image2, members, capturing(c), &ok));
  EXPECT_TRUE(ok);
  EXPECT_EQ(2, image1.count());
  EXPECT_EQ(L"0", image1.at(1).tag);

  GifBuilder b;
  b.header(32, 32, kPalette).gce(10).solid_image(0, 0, 32, 32, 1);
  std::vector<std::uint8_t> noise(32 * 32);
  for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<std::uint8_t>((i * 13 + i / 7) % 4);
  const std::size_t before = b.size();
  b.gce(20).image(0, 0, 32, 32, noise).trailer();
  std::vector<std::uint8_t> cut(b.bytes.begin(), b.bytes.begin() + static_cast<std::ptrdiff_t>(before + (b.size() - before) / 2));
  ASSERT_EQ(S_OK, LoadGif(dir.write(L"cut.gif", cut), image1, image2, members, capturing(c), &ok));
  EXPECT_TRUE(ok);
  EXPECT_TRUE(c.texts.empty());
  EXPECT_GE(image1.count(), 1);  // the cut frame is shown as far as it goes, or left out
  EXPECT_LE(image1.count(), 2);
  EXPECT_EQ(image1.count() - 1, members.total_frames);
  std::printf("cut-short last frame %s\n", image1.count() == 2 ? "shown" : "left out");
}

TEST(Engine, ReentrantCallsDuringALoadAreRefused) {
  TempDir dir;
  const std::wstring file = dir.write(L"layered.gif", layered_gif());
  Captured c;
  LoadServices services = capturing(c);
  Animation* self = nullptr;
  std::vector<HRESULT> refusals;
  services.yield = [&] {
    bool r = true;
    refusals.push_back(self->OpenFile(file, &r));
    EXPECT_FALSE(r);
    refusals.push_back(self->CloseFile());
    refusals.push_back(self->LoadGif(file, self->Image1(), self->image2(), &r));
    ElementArray other;
    PictureHolder holder;
    refusals.push_back(self->LoadGif(file, other, holder, &r));
  };
  Animation animation(services);
  self = &animation;
  int opened = 0;
  animation.callbacks.on_open = [&] { ++opened; };
  bool ok = false;
  ASSERT_EQ(S_OK, animation.OpenFile(file, &ok));
  EXPECT_TRUE(ok);
  EXPECT_EQ(1, opened);
  ASSERT_EQ(12u, refusals.size());  // 3 yields x 4 calls
  for (HRESULT hr : refusals) EXPECT_EQ(kErrLocked, hr);
  EXPECT_EQ(3, animation.Image1().count());
  EXPECT_EQ(2, animation.GetImageCount());
  EXPECT_TRUE(c.texts.empty());
  EXPECT_EQ(L"This array is fixed or temporarily locked", describe_hresult(kErrLocked));
}

TEST(Engine, PlaysWithTimer1AndCloses) {
  GifBuilder b;
  b.header(8, 8, kPalette);
  b.gce(5, 1).solid_image(0, 0, 8, 8, 1).gce(5, 2).solid_image(0, 0, 4, 4, 2).gce(5).solid_image(4, 4, 4, 4, 3);
  b.trailer();
  TempDir dir;
  const std::wstring file = dir.write(L"three.gif", b.bytes);
  Captured c;
  Animation animation(capturing(c));
  int opened = 0, closed = 0;
  std::vector<std::int32_t> frames_seen;
  animation.callbacks.on_open = [&] { ++opened; };
  animation.callbacks.on_close = [&] {
    ++closed;
    EXPECT_TRUE(animation.Image1().at(0).picture);  // raised before anything is changed
  };
  int invalidations = 0;
  animation.Image1().on_invalidate = [&](const RECT&) { ++invalidations; };
  EXPECT_EQ(L"0", animation.GetTimeWait());
  bool ok = false;
  ASSERT_EQ(S_OK, animation.OpenFile(file, &ok));
  ASSERT_TRUE(ok);
  EXPECT_EQ(1, opened);
  EXPECT_EQ(2, animation.GetImageCount());
  EXPECT_EQ(L"50", animation.GetTimeWait());
  EXPECT_TRUE(animation.timer().armed());
  pump_for(std::chrono::milliseconds(420));
  EXPECT_GT(invalidations, 5);
  EXPECT_EQ(L"50", animation.GetTimeWait());
  // TotalFrames beyond the elements: playback keeps to the existing ones.
  animation.members().total_frames = 50;
  pump_for(std::chrono::milliseconds(300));
  EXPECT_LE(animation.members().current_frame, 2);
  animation.members().total_frames = 2;

  EXPECT_FALSE(animation.Pause());
  EXPECT_FALSE(animation.timer().armed());
  const std::int32_t paused_at = animation.members().current_frame;
  pump_for(std::chrono::milliseconds(150));
  EXPECT_EQ(paused_at, animation.members().current_frame);
  EXPECT_FALSE(animation.Play());
  EXPECT_TRUE(animation.timer().armed());

  EXPECT_EQ(S_OK, animation.CloseFile());
  EXPECT_EQ(1, closed);
  EXPECT_EQ(L"0", animation.GetTimeWait());
  EXPECT_FALSE(animation.timer().armed());
  for (int i = 0; i < animation.Image1().count(); ++i) EXPECT_FALSE(animation.Image1().at(i).picture);
  EXPECT_EQ(3, animation.Image1().count());  // CloseFile removes no element
  EXPECT_FALSE(animation.members().close_f);
  animation.Play();
  EXPECT_FALSE(animation.timer().armed());
}

TEST(Engine, FailedOpenStillRaisesOnOpenAndStops) {
  Captured c;
  Animation animation(capturing(c));
  int opened = 0;
  animation.callbacks.on_open = [&] { ++opened; };
  bool ok = true;
  ASSERT_EQ(S_OK, animation.OpenFile(L"", &ok));
  EXPECT_FALSE(ok);
  EXPECT_EQ(1, opened);
  ASSERT_EQ(1u, c.texts.size());
  EXPECT_EQ(L"File  not found", c.texts[0]);
  EXPECT_FALSE(animation.playback().enabled());
}

TEST(Engine, TagNumber) {
  EXPECT_EQ(0u, tag_number(L""));
  EXPECT_EQ(100u, tag_number(L"100"));
  EXPECT_EQ(655350u, tag_number(L"655350"));
  EXPECT_EQ(12u, tag_number(L" 12abc"));
  EXPECT_EQ(0u, tag_number(L"x5"));
}
