// Playback state machine against a fake element array, timer and clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "animview/playback.h"

using animview::Clock;
using animview::ElementView;
using animview::FrameStoreMembers;
using animview::Playback;
using animview::PlaybackState;
using animview::TimerPort;

namespace {

struct FakeElement {
  std::uint32_t tag_ms = 0;
  std::uint8_t disposal = 0;
  bool visible = false;
};

class FakeElements : public ElementView {
 public:
  std::vector<FakeElement> items;
  std::vector<std::int32_t> z;  // drawing order, last on top
  int bad_accesses = 0;

  void load(const std::vector<std::uint32_t>& tags, const std::vector<std::uint8_t>& disposals = {}) {
    items.clear();
    z.clear();
    for (std::size_t i = 0; i < tags.size(); ++i) {
      items.push_back({tags[i], i < disposals.size() ? disposals[i] : std::uint8_t{0}, i == 0});
      z.push_back(static_cast<std::int32_t>(i));
    }
  }
  std::int32_t element_count() const override { return static_cast<std::int32_t>(items.size()); }
  std::uint32_t element_tag_ms(std::int32_t i) const override { return ok(i) ? items[i].tag_ms : 0; }
  std::uint8_t element_disposal(std::int32_t i) const override { return ok(i) ? items[i].disposal : 0; }
  void show_element(std::int32_t i) override {
    if (ok(i)) items[i].visible = true;
  }
  void hide_element(std::int32_t i) override {
    if (ok(i)) items[i].visible = false;
  }
  void bring_to_front(std::int32_t i) override {
    if (!ok(i)) return;
    z.erase(std::find(z.begin(), z.end(), i));
    z.push_back(i);
  }
  std::vector<std::int32_t> visible() const {
    std::vector<std::int32_t> v;
    for (std::size_t i = 0; i < items.size(); ++i)
      if (items[i].visible) v.push_back(static_cast<std::int32_t>(i));
    return v;
  }
  std::int32_t top_visible() const {
    for (auto it = z.rbegin(); it != z.rend(); ++it)
      if (items[*it].visible) return *it;
    return -1;
  }

 private:
  bool ok(std::int32_t i) const {
    const bool good = i >= 0 && i < element_count();
    if (!good) ++const_cast<FakeElements*>(this)->bad_accesses;
    return good;
  }
};

class FakeClock : public Clock {
 public:
  std::int64_t now = 1'000'000;  // any origin
  std::int64_t now_us() const override { return now; }
};

// A one-shot timer like SetTimer re-armed on each tick: fires no sooner than asked (and no
// sooner than `minimum_ms`), at the next multiple of `granularity_us` of the clock.
class FakeTimer : public TimerPort {
 public:
  explicit FakeTimer(FakeClock& clock) : clock_(clock) {}
  bool armed = false;
  std::uint32_t last_ms = 0;
  std::int64_t armed_at = 0;
  std::int64_t granularity_us = 0;
  std::uint32_t minimum_ms = 0;
  int arms = 0;

  void arm(std::uint32_t ms) override {
    armed = true;
    last_ms = ms;
    armed_at = clock_.now;
    ++arms;
  }
  void disarm() override { armed = false; }
  std::int64_t fire_time() const {
    std::int64_t t = armed_at + std::int64_t{std::max(last_ms, minimum_ms)} * 1000;
    if (granularity_us > 0) t = (t + granularity_us - 1) / granularity_us * granularity_us;
    return t;
  }

 private:
  FakeClock& clock_;
};

class PlaybackTest : public ::testing::Test {
 protected:
  FrameStoreMembers store;
  FakeElements elements;
  FakeClock clock;
  FakeTimer timer{clock};
  Playback playback{store, elements, timer, clock};
  int ticks = 0;

  // OpenFile with a "loaded" file of these Tags.
  void open(const std::vector<std::uint32_t>& tags, const std::vector<std::uint8_t>& disposals = {}) {
    playback.begin_open();
    elements.load(tags, disposals);
    store.total_frames = static_cast<std::int32_t>(tags.size()) - 1;
    playback.finish_open(true);
  }
  // Lets the fake time run to `until_us`, delivering the ticks that fall before it.
  void run_until(std::int64_t until_us) {
    while (timer.armed && timer.fire_time() <= until_us) {
      clock.now = timer.fire_time();
      timer.armed = false;
      playback.tick();
      ++ticks;
    }
    clock.now = until_us;
  }
  void run_for_ms(std::int64_t ms) { run_until(clock.now + ms * 1000); }
  using V = std::vector<std::int32_t>;
};

}  // namespace

TEST_F(PlaybackTest, CreatedStateIsEmptyAndSilent) {
  EXPECT_EQ(PlaybackState::Empty, playback.state());
  EXPECT_TRUE(playback.enabled());
  EXPECT_EQ("0", playback.time_wait());
  playback.play();
  EXPECT_FALSE(timer.armed);
  EXPECT_EQ(PlaybackState::Empty, playback.state());
}

TEST_F(PlaybackTest, ThreeFrameExample) {
  open({100, 200, 300});
  EXPECT_EQ(2, playback.image_count());
  EXPECT_EQ(PlaybackState::Playing, playback.state());
  EXPECT_EQ("100", playback.time_wait());
  EXPECT_EQ(V({0}), elements.visible());
  ASSERT_TRUE(timer.armed);
  EXPECT_EQ(100u, timer.last_ms);

  const std::int64_t t0 = clock.now;
  run_until(t0 + 99'000);
  EXPECT_EQ(V({0}), elements.visible());
  run_until(t0 + 100'000);
  EXPECT_EQ(V({0, 1}), elements.visible());
  EXPECT_EQ(1, elements.top_visible());
  EXPECT_EQ("200", playback.time_wait());
  run_until(t0 + 299'000);
  EXPECT_EQ(V({0, 1}), elements.visible());
  run_until(t0 + 300'000);
  EXPECT_EQ(V({0, 1, 2}), elements.visible());
  EXPECT_EQ(2, elements.top_visible());
  EXPECT_EQ("300", playback.time_wait());
  run_until(t0 + 600'000);
  EXPECT_EQ(V({0}), elements.visible());
  EXPECT_EQ("100", playback.time_wait());
  EXPECT_EQ(0, store.current_frame);
  run_until(t0 + 700'000);
  EXPECT_EQ(V({0, 1}), elements.visible());
  // Endless: after 10 cycles still in step.
  run_until(t0 + 700'000 + 10 * 600'000);
  EXPECT_EQ(V({0, 1}), elements.visible());
  EXPECT_EQ(0, elements.bad_accesses);
}

TEST_F(PlaybackTest, PauseAndPlayContinueWithTheNextFrameAfterOneFullInterval) {
  open({100, 200, 300});
  const std::int64_t t0 = clock.now;
  run_until(t0 + 150'000);  // element 1 on top since 100 ms
  playback.pause();
  EXPECT_EQ(PlaybackState::Paused, playback.state());
  EXPECT_FALSE(timer.armed);
  EXPECT_EQ("200", playback.time_wait());
  run_until(t0 + 5'000'000);
  EXPECT_EQ(V({0, 1}), elements.visible());
  playback.play();
  EXPECT_EQ(PlaybackState::Playing, playback.state());
  run_until(t0 + 5'199'000);
  EXPECT_EQ(V({0, 1}), elements.visible());
  run_until(t0 + 5'200'000);
  EXPECT_EQ(V({0, 1, 2}), elements.visible());
}

TEST_F(PlaybackTest, CloseSilencesAndPlayAfterCloseDoesNothing) {
  open({100, 200});
  run_for_ms(150);
  playback.close();
  EXPECT_EQ(PlaybackState::Closed, playback.state());
  EXPECT_EQ("0", playback.time_wait());
  EXPECT_FALSE(timer.armed);
  EXPECT_TRUE(playback.enabled());  // Enabled left as it was
  playback.play();
  EXPECT_FALSE(timer.armed);
  EXPECT_EQ(PlaybackState::Closed, playback.state());
  const int before = ticks;
  run_for_ms(10'000);
  EXPECT_EQ(before, ticks);
  // CloseFile leaves CurrentFrame and visibility; the next OpenFile restarts at element 0.
  EXPECT_EQ(1, store.current_frame);
  open({50, 50});
  EXPECT_EQ(0, store.current_frame);
  EXPECT_EQ(PlaybackState::Playing, playback.state());
}

TEST_F(PlaybackTest, FailedOpenStopsAndPlayResumes) {
  open({100, 200});
  run_for_ms(150);
  playback.begin_open();
  playback.finish_open(false);
  EXPECT_EQ(PlaybackState::Stopped, playback.state());
  EXPECT_FALSE(timer.armed);
  EXPECT_EQ("200", playback.time_wait());
  playback.play();
  EXPECT_EQ(PlaybackState::Playing, playback.state());
  EXPECT_TRUE(timer.armed);
}

TEST_F(PlaybackTest, DisposalTwoAndThreeHideTheFrameWhenTheNextIsShown) {
  open({100, 100, 100, 100}, {2, 1, 3, 0});
  run_for_ms(100);
  EXPECT_EQ(V({1}), elements.visible());  // element 0 disposed (method 2)
  run_for_ms(100);
  EXPECT_EQ(V({1, 2}), elements.visible());  // element 1 stays (method 1)
  run_for_ms(100);
  EXPECT_EQ(V({1, 3}), elements.visible());  // element 2 disposed (method 3)
  run_for_ms(100);
  EXPECT_EQ(V({0}), elements.visible());  // each loop starts with element 0 alone
  run_for_ms(100);
  EXPECT_EQ(V({1}), elements.visible());
}

TEST_F(PlaybackTest, MethodsZeroAndOneKeepStacking) {
  open({100, 100, 100}, {0, 1, 0});
  run_for_ms(200);
  EXPECT_EQ(V({0, 1, 2}), elements.visible());
}

TEST_F(PlaybackTest, SingleFrameWithDisposalStaysShown) {
  open({100}, {2});
  run_for_ms(1000);
  EXPECT_EQ(V({0}), elements.visible());
  EXPECT_EQ("100", playback.time_wait());
  EXPECT_GE(ticks, 9);
}

TEST_F(PlaybackTest, DelayZeroOrOneHundredthPlaysAs100ms) {
  open({0, 10, 20});
  EXPECT_EQ(PlaybackState::Playing, playback.state());
  EXPECT_EQ("100", playback.time_wait());
  EXPECT_EQ(0u, elements.items[0].tag_ms);  // the Tag keeps the file's value
  run_for_ms(100);
  EXPECT_EQ(V({0, 1}), elements.visible());
  EXPECT_EQ("100", playback.time_wait());
  run_for_ms(100);
  EXPECT_EQ(V({0, 1, 2}), elements.visible());
  EXPECT_EQ("20", playback.time_wait());
  run_for_ms(20);
  EXPECT_EQ(V({0}), elements.visible());
}

TEST_F(PlaybackTest, LongDelaysAreHonouredInFull) {
  open({655'350, 100});
  EXPECT_EQ("655350", playback.time_wait());
  EXPECT_EQ(655'350u, timer.last_ms);
  run_for_ms(655'349);
  EXPECT_EQ(V({0}), elements.visible());
  run_for_ms(1);
  EXPECT_EQ(V({0, 1}), elements.visible());
}

TEST_F(PlaybackTest, TotalFramesBeyondTheElementsNeverAddressesAMissingOne) {
  open({100, 100, 100});
  store.total_frames = 1000;
  run_for_ms(100 * 20);
  EXPECT_EQ(0, elements.bad_accesses);
  // Fewer elements than CurrentFrame (a failed OpenFile removed them), then Play.
  store.current_frame = 2;
  elements.load({100});
  store.total_frames = 7;
  playback.play();
  run_for_ms(1000);
  EXPECT_EQ(0, elements.bad_accesses);
  EXPECT_EQ(V({0}), elements.visible());
  store.total_frames = -3;
  run_for_ms(1000);
  EXPECT_EQ(0, elements.bad_accesses);
}

TEST_F(PlaybackTest, StrayAndEarlyTicksDoNotAdvance) {
  open({100, 100});
  playback.tick();  // early: nothing due yet
  EXPECT_EQ(V({0}), elements.visible());
  EXPECT_TRUE(timer.armed);
  EXPECT_EQ(100u, timer.last_ms);
  playback.pause();
  playback.tick();  // stray, while paused
  EXPECT_EQ(V({0}), elements.visible());
  EXPECT_FALSE(timer.armed);
}

TEST_F(PlaybackTest, PacingKeepsFiftyFramesPerSecondWithCoarseTimer) {
  timer.granularity_us = 15'625;  // 64 Hz system tick (15.6 ms)
  timer.minimum_ms = 10;          // USER_TIMER_MINIMUM
  std::vector<std::uint32_t> tags(10, 20);
  open(tags);
  const std::int64_t t0 = clock.now;
  run_until(t0 + 10'000'000);
  // 10 s of 20 ms frames: 500 frames, whatever the granularity.
  EXPECT_NEAR(500, ticks, 2);
  // Each frame shown no later than one timer period after its due time.
  EXPECT_LE(clock.now - t0, 10'000'000);
}

TEST_F(PlaybackTest, PacingOf100msFrames) {
  timer.granularity_us = 15'625;
  timer.minimum_ms = 10;
  open(std::vector<std::uint32_t>(5, 100));
  const std::int64_t t0 = clock.now;
  run_until(t0 + 10'000'000);
  EXPECT_NEAR(100, ticks, 1);
}

TEST_F(PlaybackTest, LateTickResynchronisesInsteadOfBursting) {
  open(std::vector<std::uint32_t>(10, 20));
  const std::int64_t t0 = clock.now;
  run_until(t0 + 20'000);
  EXPECT_EQ(1, ticks);
  // The host blocks its thread for 2 s: one tick, then back to the normal pace.
  clock.now = t0 + 2'020'000;
  playback.tick();
  EXPECT_EQ(20u, timer.last_ms);
  EXPECT_EQ(clock.now + 20'000, playback.due_us());
}

TEST_F(PlaybackTest, PlayingStateTable) {
  open({100, 0});
  EXPECT_EQ(PlaybackState::Playing, playback.state());
  playback.pause();
  EXPECT_EQ(PlaybackState::Paused, playback.state());
  playback.play();
  EXPECT_EQ(PlaybackState::Playing, playback.state());
  playback.close();
  EXPECT_EQ(PlaybackState::Closed, playback.state());
  playback.pause();
  EXPECT_EQ(PlaybackState::Paused, playback.state());
  playback.begin_open();
  playback.finish_open(false);
  EXPECT_EQ(PlaybackState::Stopped, playback.state());
}
