// Paints from the kept composition against full repaints, under Wine: after every change
// (frames put on top by playback, loop restarts, disposal, elements moved, given other
// pictures or reordered by the host, backgrounds, clips and origins that change) the pixels
// must be those that rendering every visible element in drawing order over the same
// background gives. And a tick that only puts a frame on top renders that frame alone.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "animview/frames.h"
#include "canvas.h"
#include "gif_builder.h"

using namespace animview::win;
using animview::testing::Canvas;
using animview::testing::GifBuilder;
using animview::testing::Rgb;

namespace {

// Slot 0 is the transparent one. Opaque black and white are there on purpose: a composition
// must not take them for "nothing painted".
const std::vector<Rgb> kPalette = {{255, 0, 255}, {0, 0, 0},     {255, 255, 255}, {255, 0, 0},
                                   {0, 160, 0},   {0, 0, 255},   {250, 220, 0},   {128, 128, 128}};

// Number of differing pixels; the first one is described in `where`.
int differences(const Canvas& a, const Canvas& b, std::string& where) {
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.at(x, y) != b.at(x, y) && n++ == 0) {
        char text[96];
        std::snprintf(text, sizeof text, "first at (%d,%d): %06lx instead of %06lx", x, y, a.at(x, y), b.at(x, y));
        where = text;
      }
  return n;
}

// The full repaint the kept composition must equal: every visible element, in drawing
// order, rendered at its place with IPicture::Render.
void render_every_layer(const ElementArray& image1, HDC dc, POINT origin) {
  for (std::int32_t index : image1.z_order()) {
    const Element& e = image1.at(index);
    if (!e.visible || !e.picture) continue;
    const RECT r = image1.rect_px(index);
    OLE_XSIZE_HIMETRIC w = 0;
    OLE_YSIZE_HIMETRIC h = 0;
    e.picture->get_Width(&w);
    e.picture->get_Height(&h);
    e.picture->Render(dc, origin.x + r.left, origin.y + r.top, r.right - r.left, r.bottom - r.top, 0, h, w, -h, nullptr);
  }
}

// Paints `image1` through its paint() into a canvas of `background`, and expects it to equal
// the full repaint over the same background (inside `clip` only, when one is given).
void expect_paint_matches(const ElementArray& image1, int background, POINT origin, const RECT* clip,
                          const std::string& step) {
  Canvas painted(64, 48), expected(64, 48);
  painted.fill_background(background);
  expected.fill_background(background);
  if (clip) {
    const RECT device{clip->left + origin.x, clip->top + origin.y, clip->right + origin.x, clip->bottom + origin.y};
    painted.clip_to(device);
    expected.clip_to(device);
  }
  image1.paint(painted.dc(), origin, clip);
  render_every_layer(image1, expected.dc(), origin);
  std::string where;
  EXPECT_EQ(0, differences(painted, expected, where)) << step << ": " << where;
}

// Frame k's pixels: colours 1..7, with transparent holes when `holes` is set.
std::vector<std::uint8_t> frame_pixels(int w, int h, int k, bool holes) {
  std::vector<std::uint8_t> px(static_cast<std::size_t>(w * h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      px[static_cast<std::size_t>(y * w + x)] =
          holes && (x * 7 + y * 3 + k) % 4 == 0 ? 0 : static_cast<std::uint8_t>(1 + (x + 2 * y + k) % 7);
  return px;
}

struct Placed {
  std::uint16_t left, top, width, height;
  int disposal;
};

// A 40 x 30 animation: a full first frame (opaque, or with holes where the container shows
// through), then eight small frames with holes and every disposal method.
std::vector<std::uint8_t> animation_gif(bool transparent_base, int base_disposal) {
  const std::vector<Placed> frames = {{3, 2, 10, 8, 1},  {12, 5, 9, 9, 1},   {20, 10, 12, 7, 2},
                                      {5, 15, 10, 10, 1}, {25, 3, 11, 12, 3}, {0, 20, 14, 10, 0},
                                      {28, 18, 12, 12, 1}, {15, 8, 8, 8, 2}};
  GifBuilder b;
  b.header(40, 30, kPalette).netscape_loop(0);
  b.gce(10, base_disposal, transparent_base ? 0 : -1).image(0, 0, 40, 30, frame_pixels(40, 30, 0, transparent_base));
  int k = 1;
  for (const Placed& f : frames)
    b.gce(10, f.disposal, 0).image(f.left, f.top, f.width, f.height, frame_pixels(f.width, f.height, k++, true));
  b.trailer();
  return b.bytes;
}

// A GIF written to a file of its own for LoadGif, removed afterwards.
class TempGif {
 public:
  explicit TempGif(const std::vector<std::uint8_t>& bytes) {
    wchar_t dir[MAX_PATH];
    wchar_t name[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    GetTempFileNameW(dir, L"avc", 0, name);
    path_ = name;
    FILE* f = _wfopen(path_.c_str(), L"wb");
    if (f) {
      std::fwrite(bytes.data(), 1, bytes.size(), f);
      std::fclose(f);
    }
  }
  ~TempGif() { DeleteFileW(path_.c_str()); }
  TempGif(const TempGif&) = delete;
  TempGif& operator=(const TempGif&) = delete;
  const std::wstring& path() const { return path_; }

 private:
  std::wstring path_;
};

class FakeTimer : public animview::TimerPort {
 public:
  void arm(std::uint32_t) override {}
  void disarm() override {}
};

class FakeClock : public animview::Clock {
 public:
  std::int64_t now_us() const override { return now; }
  std::int64_t now = 0;
};

// Image1 loaded from an animation and driven by the playback engine on a fake clock.
class Player {
 public:
  explicit Player(const std::vector<std::uint8_t>& gif) : playback_(members_, image1_, timer_, clock_) {
    TempGif file(gif);
    animview::win::PictureHolder image2;
    LoadServices services;
    services.message_box = [](const std::wstring& text, const std::wstring&, UINT) {
      ADD_FAILURE() << std::string(text.begin(), text.end());
      return IDOK;
    };
    services.yield = [] {};
    bool ok = false;
    EXPECT_EQ(S_OK, LoadGif(file.path(), image1_, image2, members_, services, &ok));
    EXPECT_TRUE(ok);
    playback_.finish_open(ok);
    image1_.on_invalidate = [this](const RECT& r) { UnionRect(&dirty_, &dirty_, &r); };
  }
  ElementArray& image1() { return image1_; }
  std::int32_t frame() const { return members_.current_frame; }
  // The next frame change, as Timer1 would make it.
  void tick() {
    clock_.now = playback_.due_us();
    playback_.tick();
  }
  // What changed since the last call (container pixels), as the control's window learns it.
  RECT take_dirty() { return std::exchange(dirty_, RECT{}); }

 private:
  ElementArray image1_;
  animview::FrameStoreMembers members_;
  FakeTimer timer_;
  FakeClock clock_;
  animview::Playback playback_;
  RECT dirty_{};
};

struct Variant {
  const char* name;
  bool transparent_base;
  int base_disposal;
};
constexpr Variant kVariants[] = {{"opaque first frame", false, 1}, {"first frame with holes, disposed of", true, 2}};

}  // namespace

// Through three loops of playback, two ways of painting each frame change:
//  - a window's surface that keeps its pixels, where only the invalidated rectangle is
//    erased and painted (clipped), as a window's WM_PAINT does, with the whole surface then
//    compared with a full repaint;
//  - a fresh buffer whose background changes at every paint (a container showing through a
//    transparent control), painted whole, clipped to a fixed rectangle, or at another origin.
TEST(CachedPaint, PlaybackThroughLoopRestartsAndDisposalMatchesFullRepaints) {
  for (const Variant& variant : kVariants) {
    SCOPED_TRACE(variant.name);
    Player player(animation_gif(variant.transparent_base, variant.base_disposal));
    ElementArray& image1 = player.image1();
    ASSERT_EQ(9, image1.count());
    const POINT origin{5, 7};
    Canvas window(64, 48), window_background(64, 48);
    window.fill_background(1);
    window_background.fill_background(1);
    image1.paint(window.dc(), origin, nullptr);
    player.take_dirty();
    int restarts = 0;
    for (int tick = 1; tick <= 27; ++tick) {
      player.tick();
      if (player.frame() == 0) ++restarts;
      const std::string step = "tick " + std::to_string(tick) + ", frame " + std::to_string(player.frame());

      const RECT dirty = player.take_dirty();
      const RECT device{dirty.left + origin.x, dirty.top + origin.y, dirty.right + origin.x, dirty.bottom + origin.y};
      BitBlt(window.dc(), device.left, device.top, device.right - device.left, device.bottom - device.top,
             window_background.dc(), device.left, device.top, SRCCOPY);  // WM_PAINT's erase
      window.clip_to(device);
      image1.paint(window.dc(), origin, &dirty);
      window.unclip();
      Canvas expected(64, 48);
      expected.fill_background(1);
      render_every_layer(image1, expected.dc(), origin);
      std::string where;
      EXPECT_EQ(0, differences(window, expected, where)) << step << ", window: " << where;

      expect_paint_matches(image1, 100 + tick, origin, nullptr, step + ", new background");
      const RECT part{7, 5, 29, 21};
      expect_paint_matches(image1, 200 + tick, origin, &part, step + ", clipped");
      expect_paint_matches(image1, 300 + tick, POINT{tick % 4, 11 - tick % 5}, nullptr, step + ", moved origin");
    }
    EXPECT_EQ(3, restarts);
  }
}

// What a host may do to the elements between two paints, each compared with a full repaint.
TEST(CachedPaint, ElementsChangedBetweenPaintsMatchFullRepaints) {
  for (const Variant& variant : kVariants) {
    SCOPED_TRACE(variant.name);
    Player player(animation_gif(variant.transparent_base, variant.base_disposal));
    ElementArray& image1 = player.image1();
    const POINT origin{14, 6};
    for (int tick = 0; tick < 7; ++tick) {
      player.tick();
      expect_paint_matches(image1, tick, origin, nullptr, "tick " + std::to_string(tick));
    }
    ASSERT_TRUE(image1.at(1).visible);
    ASSERT_TRUE(image1.at(2).visible);
    ASSERT_TRUE(image1.at(6).visible);

    image1.at(2).left += 4 * 15;  // moved by the host: no invalidation reaches the frame store
    image1.at(2).top -= 2 * 15;
    expect_paint_matches(image1, 10, origin, nullptr, "element 2 moved");

    GifBuilder other;
    other.header(9, 7, kPalette).gce(10, 1, 0).image(0, 0, 9, 7, frame_pixels(9, 7, 11, true)).trailer();
    const auto split = animview::split_gif(other.bytes);
    ASSERT_EQ(1u, split.frames.size());
    ComPtr<IPicture> picture;
    ASSERT_EQ(S_OK, decode_picture(split.frames[0].gif, picture));
    image1.at(6).picture = picture;  // another picture, written straight into the element
    expect_paint_matches(image1, 11, origin, nullptr, "element 6 given another picture");
    image1.set_picture(1, picture);
    expect_paint_matches(image1, 12, origin, nullptr, "element 1 given another picture");

    image1.bring_to_front(1);  // a lower element put on top
    expect_paint_matches(image1, 13, origin, nullptr, "element 1 brought to the front");
    image1.set_visible(2, false);  // a middle one hidden
    expect_paint_matches(image1, 14, origin, nullptr, "element 2 hidden");
    image1.at(0).left = -10 * 15;  // the extent of the elements grows to the left
    expect_paint_matches(image1, 15, origin, nullptr, "element 0 moved out to the left");
    image1.metrics.twips_per_pixel_x = 12.0;  // another screen resolution: every rectangle moves
    expect_paint_matches(image1, 16, origin, nullptr, "another resolution");
    image1.metrics.twips_per_pixel_x = 15.0;
    expect_paint_matches(image1, 17, origin, nullptr, "the resolution back");

    ASSERT_EQ(7, player.frame());
    ASSERT_FALSE(image1.at(8).visible);
    image1.at(8).left = 44 * 15;  // a hidden one moved out beyond the others, shown next
    image1.at(8).top = 31 * 15;
    expect_paint_matches(image1, 18, origin, nullptr, "hidden element 8 moved");

    for (int tick = 0; tick < 12; ++tick) {  // playback goes on over the host's changes
      player.tick();
      expect_paint_matches(image1, 20 + tick, origin, nullptr, "after the changes, tick " + std::to_string(tick));
    }
  }
}

namespace {

// A picture that counts its renders and passes everything to the decoded one. Owned by the
// test, which keeps it alive longer than the element array that refers to it.
class CountingPicture : public IPicture {
 public:
  explicit CountingPicture(ComPtr<IPicture> inner) : inner_(std::move(inner)) {}
  int renders = 0;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IPicture) return E_NOINTERFACE;
    *out = static_cast<IPicture*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override { return --references_; }
  HRESULT STDMETHODCALLTYPE get_Handle(OLE_HANDLE* h) override { return inner_->get_Handle(h); }
  HRESULT STDMETHODCALLTYPE get_hPal(OLE_HANDLE* h) override { return inner_->get_hPal(h); }
  HRESULT STDMETHODCALLTYPE get_Type(SHORT* t) override { return inner_->get_Type(t); }
  HRESULT STDMETHODCALLTYPE get_Width(OLE_XSIZE_HIMETRIC* w) override { return inner_->get_Width(w); }
  HRESULT STDMETHODCALLTYPE get_Height(OLE_YSIZE_HIMETRIC* h) override { return inner_->get_Height(h); }
  HRESULT STDMETHODCALLTYPE Render(HDC dc, LONG x, LONG y, LONG cx, LONG cy, OLE_XPOS_HIMETRIC sx, OLE_YPOS_HIMETRIC sy,
                                   OLE_XSIZE_HIMETRIC scx, OLE_YSIZE_HIMETRIC scy, LPCRECT bounds) override {
    ++renders;
    return inner_->Render(dc, x, y, cx, cy, sx, sy, scx, scy, bounds);
  }
  HRESULT STDMETHODCALLTYPE set_hPal(OLE_HANDLE h) override { return inner_->set_hPal(h); }
  HRESULT STDMETHODCALLTYPE get_CurDC(HDC* dc) override { return inner_->get_CurDC(dc); }
  HRESULT STDMETHODCALLTYPE SelectPicture(HDC in, HDC* out, OLE_HANDLE* bitmap) override {
    return inner_->SelectPicture(in, out, bitmap);
  }
  HRESULT STDMETHODCALLTYPE get_KeepOriginalFormat(BOOL* keep) override { return inner_->get_KeepOriginalFormat(keep); }
  HRESULT STDMETHODCALLTYPE put_KeepOriginalFormat(BOOL keep) override { return inner_->put_KeepOriginalFormat(keep); }
  HRESULT STDMETHODCALLTYPE PictureChanged() override { return inner_->PictureChanged(); }
  HRESULT STDMETHODCALLTYPE SaveAsFile(LPSTREAM stream, BOOL save_memory, LONG* size) override {
    return inner_->SaveAsFile(stream, save_memory, size);
  }
  HRESULT STDMETHODCALLTYPE get_Attributes(DWORD* attributes) override { return inner_->get_Attributes(attributes); }

 private:
  ComPtr<IPicture> inner_;
  ULONG references_ = 0;
};

}  // namespace

// The point of keeping the composition: a frame change that puts one frame on top renders
// that frame and no other, whatever the clip; a repaint with nothing changed renders none.
TEST(CachedPaint, ATickThatPutsAFrameOnTopRendersThatFrameAlone) {
  for (const Variant& variant : kVariants) {
    SCOPED_TRACE(variant.name);
    std::vector<std::unique_ptr<CountingPicture>> counting;  // outlives the player's element array
    GifBuilder b;
    b.header(40, 30, kPalette).netscape_loop(0);
    b.gce(10, 1, variant.transparent_base ? 0 : -1).image(0, 0, 40, 30, frame_pixels(40, 30, 0, variant.transparent_base));
    for (int k = 1; k < 12; ++k)
      b.gce(10, 1, 0).image(static_cast<std::uint16_t>(k * 2), static_cast<std::uint16_t>(k), 12, 10,
                            frame_pixels(12, 10, k, true));
    b.trailer();
    Player player(b.bytes);
    ElementArray& image1 = player.image1();
    ASSERT_EQ(12, image1.count());
    for (std::int32_t i = 0; i < image1.count(); ++i) {
      counting.push_back(std::make_unique<CountingPicture>(image1.at(i).picture));
      image1.set_picture(i, counting.back().get());
    }
    const POINT origin{3, 2};
    Canvas window(64, 48);
    window.fill_background(0);
    image1.paint(window.dc(), origin, nullptr);
    player.take_dirty();
    for (int tick = 1; tick < 12; ++tick) {
      player.tick();
      ASSERT_EQ(tick, player.frame());
      std::vector<int> before;
      for (const auto& p : counting) before.push_back(p->renders);
      const RECT dirty = player.take_dirty();
      if (tick % 2) {
        image1.paint(window.dc(), origin, &dirty);
      } else {
        image1.paint(window.dc(), origin, nullptr);
      }
      for (int i = 0; i < tick; ++i)
        EXPECT_EQ(before[static_cast<std::size_t>(i)], counting[static_cast<std::size_t>(i)]->renders)
            << "frame " << i << " rendered again at tick " << tick;
      EXPECT_GT(counting[static_cast<std::size_t>(tick)]->renders, before[static_cast<std::size_t>(tick)]) << tick;

      for (std::size_t i = 0; i < counting.size(); ++i) before[i] = counting[i]->renders;
      image1.paint(window.dc(), origin, nullptr);  // the window uncovered: nothing changed
      for (std::size_t i = 0; i < counting.size(); ++i)
        EXPECT_EQ(before[i], counting[i]->renders) << "frame " << i << " rendered by a repaint at tick " << tick;
    }
    expect_paint_matches(image1, 5, origin, nullptr, "at the end");
  }
}
