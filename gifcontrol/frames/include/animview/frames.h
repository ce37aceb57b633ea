// Animview, Win32 side: the frame store (element array Image1, picture holder
// image2, LoadGif) and the playback engine wired to a real timer (Timer1).
//
// The ActiveX control owns one Animation, gives it its window (for repaints and
// message boxes), calls Animation::paint() from its WM_PAINT, maps the automation members
// to the methods below, and raises its events from the callbacks.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>
#include <wrl/client.h>

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "animview/composition.h"
#include "animview/dib_surface.h"
#include "animview/gif_split.h"
#include "animview/playback.h"

namespace animview::win {

using Microsoft::WRL::ComPtr;

// ---------------------------------------------------------------------------------------
// Errors. The error path's message is "<code> <description>"; the codes are those
// of the Visual Basic run time that the control's hosts know. As HRESULTs (for automation
// errors) they are MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, code).
enum class LoadError : std::int32_t {
  Overflow = 6,             // more than 32 767 frames (the 16-bit frame counter)
  OutOfMemory = 7,          // frames that need more than 256 MB of decoded pixels; allocation failure
  Locked = 10,              // "This array is fixed or temporarily locked": re-entrant call refused
  FileAccess = 75,          // the file cannot be opened or read
  InvalidPicture = 481,     // a frame that the picture loader rejects; a GIF without any image
};
const wchar_t* describe(LoadError error);
constexpr HRESULT to_hresult(LoadError error) {
  return static_cast<HRESULT>(0x800A0000u | static_cast<std::uint32_t>(error));
}
// The refusal of LoadGif, OpenFile or CloseFile made while a load or close is under way.
inline constexpr HRESULT kErrLocked = to_hresult(LoadError::Locked);

// Description of an HRESULT returned by this library (for the control's EXCEPINFO).
std::wstring describe_hresult(HRESULT hr);

// ---------------------------------------------------------------------------------------
// Screen twips-per-pixel factors (15 at 96 dpi).
struct ScreenMetrics {
  double twips_per_pixel_x = 15.0;
  double twips_per_pixel_y = 15.0;
  static ScreenMetrics from_screen();
};

// Decodes one image held in memory (a single-frame GIF) with OleLoadPicture through an
// HGLOBAL stream. Nothing is written to disk.
HRESULT decode_picture(std::span<const std::uint8_t> bytes, ComPtr<IPicture>& picture);

// Picture size in pixels (from its HIMETRIC size, at the screen's resolution).
SIZE picture_size_px(IPicture* picture);

// ---------------------------------------------------------------------------------------
// One picture element of Image1.
struct Element {
  ComPtr<IPicture> picture;
  double left = 0.0;    // twips, in the container
  double top = 0.0;     // twips
  double width = 0.0;   // twips: display setting taken from element 0 (the picture is drawn at its own size)
  double height = 0.0;  // twips
  std::wstring tag;     // the frame's delay in milliseconds as decimal text
  bool visible = false;
  // What the frame store knows of the frame (beyond what a host sees of an element):
  std::uint8_t disposal = 0;  // GIF disposal method, used by playback (restore to background or previous)
  bool opaque = false;        // no transparent pixel: what lies below it can be left undrawn
};

// The element array Image1: a windowless collection that draws its visible elements in
// drawing order. Element 0 always exists and is never removed.
class ElementArray : public animview::ElementView {
 public:
  ElementArray();

  std::int32_t count() const { return static_cast<std::int32_t>(elements_.size()); }
  Element& at(std::int32_t index) { return elements_.at(static_cast<std::size_t>(index)); }
  const Element& at(std::int32_t index) const { return elements_.at(static_cast<std::size_t>(index)); }
  // Creates a new element at the end: hidden, display settings (size) from element 0, on
  // top of the drawing order. Returns its index.
  std::int32_t add();
  // Removes elements 1 to n-1 in ascending order.
  void remove_all_but_first();
  void set_visible(std::int32_t index, bool visible);
  void set_picture(std::int32_t index, ComPtr<IPicture> picture);
  // Drawing order, bottom first.
  const std::vector<std::int32_t>& z_order() const { return z_order_; }

  // Rectangle of an element in pixels of the container (its picture's own size).
  RECT rect_px(std::int32_t index) const;
  // Draws the visible elements in drawing order into `dc`, with the container's top-left
  // corner at `origin` (logical units), leaving transparent pixels unpainted: what lies
  // below shows through. Only the part inside `clip` (container pixels; nullptr for all) is
  // drawn. The composed elements are kept between paints (see Composition), so a paint
  // after a tick that put one more frame on top renders only that frame.
  void paint(HDC dc, POINT origin, const RECT* clip) const;

  ScreenMetrics metrics;
  // Told the container rectangle (pixels) whose look changed; the control invalidates it.
  std::function<void(const RECT&)> on_invalidate;

  // Re-entrancy guard of loads and closes working on this array.
  bool busy() const { return busy_ > 0; }
  class BusyScope {
   public:
    explicit BusyScope(ElementArray& a) : a_(a) { ++a_.busy_; }
    ~BusyScope() { --a_.busy_; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

   private:
    ElementArray& a_;
  };

  // animview::ElementView (used by playback)
  std::int32_t element_count() const override { return count(); }
  std::uint32_t element_tag_ms(std::int32_t index) const override;
  std::uint8_t element_disposal(std::int32_t index) const override;
  void show_element(std::int32_t index) override { set_visible(index, true); }
  void hide_element(std::int32_t index) override { set_visible(index, false); }
  void bring_to_front(std::int32_t index) override;

 private:
  void invalidate(std::int32_t index) const;
  // Renders each layer (where the kept composition cannot be used).
  void paint_layers(HDC dc, POINT origin, const RECT* clip, std::span<const Layer> layers,
                    std::span<const Element* const> shown) const;
  // The visible elements composed, kept between paints.
  mutable Composition composition_;
  // Off-screen surface that paint_layers() composes layers on (kept between paints).
  mutable DibSurface scratch_;
  std::vector<Element> elements_;
  std::vector<std::int32_t> z_order_;
  int busy_ = 0;
};

// The picture holder (image2, or TempPict): any object with a Picture.
struct PictureHolder {
  ComPtr<IPicture> picture;
};

// ---------------------------------------------------------------------------------------
// What LoadGif needs from its surroundings; every member has a working default.
struct LoadServices {
  // Shows a modal message box; returns its answer. Default: MessageBoxW(owner, ...).
  std::function<int(const std::wstring& text, const std::wstring& caption, UINT flags)> message_box;
  // Lets the thread's pending window messages be processed. Default: a PeekMessage loop.
  std::function<void()> yield;
  HWND owner = nullptr;
  std::wstring caption = L"AnimviewDeLuxe";

  int show(const std::wstring& text, UINT flags) const;
  void yield_now() const;
};

// Parses a Tag: the leading decimal digits (like Val), 0 when there are none.
std::uint32_t tag_number(const std::wstring& tag);

// LoadGif. Returns S_OK with *result set (True when the
// file was loaded, False after a message box), or kErrLocked when a load or close is
// already working on `elements` (nothing is touched then).
HRESULT LoadGif(const std::wstring& file, ElementArray& elements, PictureHolder& temp_pict,
                FrameStoreMembers& members, const LoadServices& services, bool* result);

// ---------------------------------------------------------------------------------------
// A monotonic clock from QueryPerformanceCounter.
class QpcClock : public animview::Clock {
 public:
  QpcClock();
  std::int64_t now_us() const override;

 private:
  std::int64_t frequency_ = 1;
};

// Timer1: one-shot ticks from SetTimer on a message-only window of its own, delivered by
// the thread's message loop.
class WindowTimer : public animview::TimerPort {
 public:
  explicit WindowTimer(std::function<void()> on_tick);
  ~WindowTimer() override;
  WindowTimer(const WindowTimer&) = delete;
  WindowTimer& operator=(const WindowTimer&) = delete;
  void arm(std::uint32_t due_in_ms) override;
  void disarm() override;
  bool armed() const { return armed_; }
  HWND window() const { return hwnd_; }

  // The timer windows' class, taken away when the library that registered it is unloaded:
  // the system keeps a DLL's classes after the DLL is gone.
  static void unregister_class();

 private:
  static LRESULT CALLBACK window_proc(HWND, UINT, WPARAM, LPARAM);
  std::function<void()> on_tick_;
  HWND hwnd_ = nullptr;
  bool armed_ = false;
};

// ---------------------------------------------------------------------------------------
// The control's frame store and playback: what the control wires to its members and events.
class Animation {
 public:
  struct Callbacks {
    std::function<void()> on_open;            // raise OnOpen
    std::function<void()> on_close;           // raise OnClose
    std::function<void()> clear_background;   // CloseFile step 2: the control's own picture
  };

  explicit Animation(LoadServices services = {});
  Animation(const Animation&) = delete;
  Animation& operator=(const Animation&) = delete;

  // The window that shows the elements: message boxes are owned by it, and changed
  // rectangles are invalidated in it (unless Image1().on_invalidate is set otherwise).
  void set_window(HWND hwnd);
  Callbacks callbacks;

  ElementArray& Image1() { return image1_; }
  PictureHolder& image2() { return image2_; }
  FrameStoreMembers& members() { return members_; }
  LoadServices& services() { return services_; }
  animview::Playback& playback() { return playback_; }
  WindowTimer& timer() { return timer_; }

  // Automation members. Each returns S_OK, or kErrLocked when refused (re-entrant call from
  // a host event during a load's or close's yield).
  HRESULT LoadGif(const std::wstring& file, ElementArray& elements, PictureHolder& temp_pict, bool* result);
  HRESULT OpenFile(const std::wstring& filename, bool* result);
  bool Play();   // always false
  bool Pause();  // always false
  HRESULT CloseFile();
  std::int32_t GetImageCount() const { return members_.total_frames; }
  std::wstring GetTimeWait() const;

  // Draws Image1 into `dc` with the control's top-left corner at `origin`; `clip` in control
  // pixels (nullptr: everything). Call it from the control's WM_PAINT.
  void paint(HDC dc, POINT origin = {0, 0}, const RECT* clip = nullptr) const { image1_.paint(dc, origin, clip); }

 private:
  void on_timer();
  bool locked() const { return busy_ > 0 || image1_.busy(); }

  LoadServices services_;
  ElementArray image1_;
  PictureHolder image2_;
  FrameStoreMembers members_;
  QpcClock clock_;
  WindowTimer timer_;
  animview::Playback playback_;
  HWND hwnd_ = nullptr;
  int busy_ = 0;
};

}  // namespace animview::win
