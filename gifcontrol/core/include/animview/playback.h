// Animview portable core: the playback engine as a state machine.
//
// The engine owns the state of the control's Timer1 (Enabled, Interval) and CurrentFrame;
// it drives the element array through ElementView and asks the platform for the next tick
// through TimerPort, reading the time from a monotonic Clock. No Windows headers here.
//
// What playback guarantees beyond showing each frame for its delay:
//  d. a Tag of 0 or 10 ms (Delay Time 0 or 1) plays as 100 ms; the Tag keeps the file value.
//  e. a frame with disposal method 2 or 3 is hidden when the next frame is shown (element 0
//     included); methods 0 and 1 keep stacking; each loop starts again with element 0 alone.
//  f. delays above 65 535 ms are honoured in full (Interval is 32-bit).
//  j. a TotalFrames beyond the existing elements never makes the tick address a missing one.
//  k. pacing: each frame is due at the previous frame's due time plus its delay; the timer is
//     armed for "due - now", so timer granularity does not slow the animation down.
//
// GetTimeWait reports Interval: the delay the frame on top is shown for (its Tag, or 100 for a
// Tag of 0 or 10), not the shortened wait that pacing asks of the platform; 0 before the first
// successful OpenFile and after CloseFile.
#pragma once

#include <cstdint>
#include <string>

namespace animview {

// Public data members of the control that loading writes and playback reads (plus the
// private CurrentFrame and the public CloseF). The control exposes them as properties.
struct FrameStoreMembers {
  std::int32_t repeat_times = 0;  // RepeatTimes
  std::int32_t total_frames = 0;  // TotalFrames: index of the last element
  std::int32_t x_off = 0;         // xOff
  std::int32_t y_off = 0;         // yOff
  std::int32_t current_frame = 0; // CurrentFrame (private)
  bool close_f = false;           // CloseF
};

// The element array as the engine sees it. Indices are 0..element_count()-1; element 0
// always exists in the control, but the engine does not rely on it.
class ElementView {
 public:
  virtual ~ElementView() = default;
  virtual std::int32_t element_count() const = 0;
  // The number in the element's Tag (milliseconds as the file gives them).
  virtual std::uint32_t element_tag_ms(std::int32_t index) const = 0;
  // GIF disposal method of the element's frame (0 when unknown).
  virtual std::uint8_t element_disposal(std::int32_t index) const = 0;
  virtual void show_element(std::int32_t index) = 0;
  virtual void hide_element(std::int32_t index) = 0;
  virtual void bring_to_front(std::int32_t index) = 0;
};

// A monotonic clock in microseconds (any origin).
class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::int64_t now_us() const = 0;
};

// The platform timer behind Timer1, used one-shot: arm() asks for one tick after at least
// `due_in_ms` milliseconds, replacing any tick armed before; disarm() cancels it.
class TimerPort {
 public:
  virtual ~TimerPort() = default;
  virtual void arm(std::uint32_t due_in_ms) = 0;
  virtual void disarm() = 0;
};

// The delay a frame is played for, from its Tag (as browsers do).
constexpr std::uint32_t playback_delay_ms(std::uint32_t tag_ms) { return tag_ms <= 10 ? 100u : tag_ms; }

// Playback states (derived from Enabled, Interval and the last event).
enum class PlaybackState { Empty, Playing, Paused, Stopped, Closed };
const char* to_string(PlaybackState state);

class Playback {
 public:
  // A tick that comes more than this late restarts the pacing from "now" instead of
  // catching up (a host that blocked its thread must not cause a burst of frames).
  static constexpr std::int64_t kResyncLateUs = 100'000;
  // A tick up to this much before its due time counts as due (platform rounding).
  static constexpr std::int64_t kEarlyToleranceUs = 1'000;

  Playback(FrameStoreMembers& store, ElementView& elements, TimerPort& timer, const Clock& clock);

  // OpenFile, around LoadGif: begin_open() is step 2 (disable Timer1); finish_open() is
  // step 4 with LoadGif's result. Raising OnOpen is the caller's (the control's) business.
  void begin_open();
  void finish_open(bool loaded);

  // Play and Pause (both return False to the host).
  void play();
  void pause();
  // CloseFile's timer part: Interval := 0 (Enabled left as it was).
  void close();

  // Timer1 fired.
  void tick();

  bool enabled() const { return enabled_; }
  std::uint32_t interval_ms() const { return interval_ms_; }
  std::string time_wait() const { return std::to_string(interval_ms_); }  // GetTimeWait
  std::int32_t image_count() const { return store_.total_frames; }        // GetImageCount
  std::int32_t current_frame() const { return store_.current_frame; }
  PlaybackState state() const;
  // When the frame on top is due to be replaced (meaningful while ticking).
  std::int64_t due_us() const { return due_us_; }
  bool ticking() const { return enabled_ && interval_ms_ > 0; }

 private:
  std::uint32_t tag_delay(std::int32_t index) const;
  void restart_countdown();  // Enabled or Interval changed: next tick one full Interval from now
  void arm_for_due(std::int64_t now);

  FrameStoreMembers& store_;
  ElementView& elements_;
  TimerPort& timer_;
  const Clock& clock_;
  bool enabled_ = true;  // Timer1 at creation: enabled, Interval 0 (silent)
  std::uint32_t interval_ms_ = 0;
  std::int64_t due_us_ = 0;
  enum class LastEvent { Created, Opened, OpenFailed, Paused, Played, Closed } last_ = LastEvent::Created;
};

}  // namespace animview
