#include "animview/playback.h"

#include <algorithm>

namespace animview {

const char* to_string(PlaybackState state) {
  switch (state) {
    case PlaybackState::Empty: return "Empty";
    case PlaybackState::Playing: return "Playing";
    case PlaybackState::Paused: return "Paused";
    case PlaybackState::Stopped: return "Stopped";
    case PlaybackState::Closed: return "Closed";
  }
  return "?";
}

Playback::Playback(FrameStoreMembers& store, ElementView& elements, TimerPort& timer, const Clock& clock)
    : store_(store), elements_(elements), timer_(timer), clock_(clock) {}

PlaybackState Playback::state() const {
  if (!enabled_) return last_ == LastEvent::OpenFailed ? PlaybackState::Stopped : PlaybackState::Paused;
  if (interval_ms_ == 0) return last_ == LastEvent::Closed ? PlaybackState::Closed : PlaybackState::Empty;
  return PlaybackState::Playing;
}

std::uint32_t Playback::tag_delay(std::int32_t index) const {
  return playback_delay_ms(elements_.element_tag_ms(index));
}

void Playback::arm_for_due(std::int64_t now) {
  const std::int64_t wait_us = std::max<std::int64_t>(0, due_us_ - now);
  timer_.arm(static_cast<std::uint32_t>((wait_us + 999) / 1000));
}

void Playback::restart_countdown() {
  if (!ticking()) {
    timer_.disarm();
    return;
  }
  const std::int64_t now = clock_.now_us();
  due_us_ = now + std::int64_t{interval_ms_} * 1000;
  arm_for_due(now);
}

void Playback::begin_open() {
  enabled_ = false;
  timer_.disarm();
}

void Playback::finish_open(bool loaded) {
  if (!loaded) {
    last_ = LastEvent::OpenFailed;  // Timer1 stays disabled, Interval as it was
    return;
  }
  last_ = LastEvent::Opened;
  store_.current_frame = 0;
  interval_ms_ = elements_.element_count() > 0 ? tag_delay(0) : 0;
  enabled_ = true;
  restart_countdown();
}

void Playback::play() {
  if (last_ != LastEvent::Closed || interval_ms_ != 0) last_ = LastEvent::Played;
  enabled_ = true;
  restart_countdown();
}

void Playback::pause() {
  last_ = LastEvent::Paused;
  enabled_ = false;
  timer_.disarm();
}

void Playback::close() {
  last_ = LastEvent::Closed;
  interval_ms_ = 0;
  timer_.disarm();
}

void Playback::tick() {
  if (!ticking()) {  // a stray tick after Pause or CloseFile
    timer_.disarm();
    return;
  }
  const std::int64_t now = clock_.now_us();
  if (now + kEarlyToleranceUs < due_us_) {  // early: wait for the rest
    arm_for_due(now);
    return;
  }
  const std::int32_t count = elements_.element_count();
  if (count <= 0) {  // nothing to address: stay silent
    interval_ms_ = 0;
    timer_.disarm();
    return;
  }
  // Never beyond the existing elements, whatever the host wrote into TotalFrames.
  const std::int32_t last = std::min(store_.total_frames, count - 1);
  std::int32_t frame = store_.current_frame;
  if (frame < last) {
    if (frame >= 0) {
      const std::uint8_t disposal = elements_.element_disposal(frame);
      if (disposal == 2 || disposal == 3) elements_.hide_element(frame);  // restore to background / previous
    }
    frame = std::max(frame + 1, 0);
    store_.current_frame = frame;
    elements_.show_element(frame);
    elements_.bring_to_front(frame);
  } else {
    frame = 0;
    store_.current_frame = 0;
    for (std::int32_t i = 1; i < count; ++i) elements_.hide_element(i);
    elements_.show_element(0);  // element 0 may have been disposed of (restore to background / previous)
  }
  interval_ms_ = tag_delay(frame);

  // Due at the previous due time plus this frame's delay, so the timer's granularity never slows the file's pace.
  const std::int64_t base = (now - due_us_ > kResyncLateUs) ? now : due_us_;
  due_us_ = base + std::int64_t{interval_ms_} * 1000;
  arm_for_due(now);
}

}  // namespace animview
