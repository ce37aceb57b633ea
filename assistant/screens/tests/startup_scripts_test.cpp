#include "startup/quit_confirmation.h"
#include "startup/startup_scripts.h"
#include "testing/fake_toolkit.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace pf {
namespace {

using namespace pf::fakes;
using ::testing::ElementsAre;

const char* name_of(ScreenId id) {
    switch (id) {
        case ScreenId::Form14: return "Form14";
        case ScreenId::Form2: return "Form2";
        case ScreenId::frmini: return "frmini";
        case ScreenId::BACK: return "BACK";
        case ScreenId::Form1: return "Form1";
        case ScreenId::Form9: return "Form9";
    }
    return "?";
}

// Records every screen operation, including the script timers' switches, in order.
class FakeFlow final : public ScreenFlow {
public:
    class RecordingTimer final : public Timer {
    public:
        RecordingTimer(FakeFlow& flow, ScreenId id) : flow_(flow), id_(id) {}
        void set_enabled(bool enabled) override {
            enabled_ = enabled;
            flow_.log.push_back(std::string(enabled ? "enable " : "disable ") + name_of(id_));
        }
        bool enabled() const override { return enabled_; }

    private:
        FakeFlow& flow_;
        ScreenId id_;
        bool enabled_ = false;
    };

    void show(ScreenId id) override { log.push_back(std::string("show ") + name_of(id)); }
    void load_hidden(ScreenId id) override { log.push_back(std::string("load ") + name_of(id)); }
    void unload(ScreenId id) override {
        log.push_back(std::string("unload ") + name_of(id));
        timers.erase(id);
    }
    Timer& script_timer(ScreenId id) override {
        auto& timer = timers[id];
        if (!timer) timer = std::make_unique<RecordingTimer>(*this, id);
        return *timer;
    }

    std::vector<std::string> log;
    std::map<ScreenId, std::unique_ptr<RecordingTimer>> timers;
};

struct SplashRig {
    FakeFlow flow;
    FakeProgressBar clock{0, 163};
    std::array<FakeLabel, 12> letters;
    ScreenScript script{clock, splash_steps(flow, pointers())};

    std::array<Label*, 12> pointers() {
        std::array<Label*, 12> out{};
        for (std::size_t i = 0; i < out.size(); ++i) out[i] = &letters[i];
        return out;
    }
    int lit() const {
        int count = 0;
        for (const FakeLabel& l : letters) count += l.fore_color() == colors::orange;
        return count;
    }
};

TEST(SplashScript, LettersLightLeftToRightAtTheirTicks) {
    SplashRig rig;
    for (auto& l : rig.letters) l.set_fore_color(colors::black);
    std::vector<int> lit_on_tick;
    int previously_lit = 0;
    for (int tick = 1; tick <= 82; ++tick) {
        rig.script.tick();
        if (rig.lit() != previously_lit) {
            EXPECT_EQ(rig.lit(), previously_lit + 1) << "one letter per tick at most";
            EXPECT_EQ(rig.letters[previously_lit].fore_color(), colors::orange) << "left to right";
            lit_on_tick.push_back(tick);
            previously_lit = rig.lit();
        }
    }
    EXPECT_THAT(lit_on_tick, ElementsAre(6, 16, 26, 36, 41, 46, 51, 56, 61, 66, 71, 72));
}

TEST(SplashScript, ValuesTwentyFortyAndSixtyLightNothing) {
    for (float value : {20.0f, 40.0f, 60.0f}) {
        SplashRig rig;
        rig.clock.set_value(value);
        rig.script.tick();
        EXPECT_EQ(rig.lit(), 0) << "at " << value;
    }
}

TEST(SplashScript, EndStepAt162HandsOverToTheIntroductionWithinTheBarsMax) {
    SplashRig rig;
    start_chain(rig.flow);
    int ticks = 0;
    while (rig.flow.timers.count(ScreenId::Form14) && ticks < 200) {
        rig.script.tick();
        ++ticks;
    }
    EXPECT_EQ(ticks, 82);
    EXPECT_EQ(rig.clock.value(), 162);
    EXPECT_THAT(rig.flow.log, ElementsAre("show Form14", "enable Form14", "disable Form14", "show Form2",
                                          "show frmini", "enable frmini", "unload Form14"));
}

TEST(IntroductionScript, EndStepAt198LoadsTheDownloadScreenHiddenAndShowsTheWelcome) {
    FakeFlow flow;
    FakeProgressBar clock(0, 200);
    ScreenScript script(clock, introduction_steps(flow));
    int ticks = 0;
    while (flow.log.empty() && ticks < 200) {
        script.tick();
        ++ticks;
    }
    EXPECT_EQ(ticks, 100);
    EXPECT_EQ(clock.value(), 198);
    EXPECT_THAT(flow.log, ElementsAre("load Form9", "disable frmini", "show BACK", "show Form1", "unload frmini",
                                      "unload Form2"));
}

TEST(IntroductionScript, ABarWithTooSmallAMaxFails) {
    FakeFlow flow;
    FakeProgressBar clock(0, 190);
    ScreenScript script(clock, introduction_steps(flow));
    EXPECT_THROW(
        for (int i = 0; i < 100; ++i) script.tick(), RuntimeError);
    EXPECT_TRUE(flow.log.empty());
}

TEST(WelcomeScreen, ContinueShowsTheDownloadScreenThenStartsItsScript) {
    FakeFlow flow;
    continue_to_download(flow);
    EXPECT_THAT(flow.log, ElementsAre("show Form9", "enable Form9", "unload Form1"));
}

TEST(QuitConfirmation, YesTellsHowToResumeThenEnds) {
    FakeDialogs dialogs;
    FakeProcess process;
    dialogs.answer = box::answer_yes;
    EXPECT_THROW(confirm_quit(dialogs, process), ProgramEnded);
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[0].prompt, L"Voulez vous Quitter l'assistant de QUORVELANTIX ?");
    EXPECT_EQ(dialogs.boxes[0].style, 4);
    EXPECT_EQ(dialogs.boxes[0].title, L"QUORVELANTIX LUMIRAND");
    EXPECT_EQ(dialogs.boxes[1].prompt,
              L" L'installation pourra reprendre manuellement en cliquant juste sur l'icone dans votre Bureau ");
    EXPECT_EQ(dialogs.boxes[1].style, 64);
    EXPECT_EQ(dialogs.boxes[1].title, L" ASSISTANT QUORVELANTIX ");
}

TEST(QuitConfirmation, NoChangesNothing) {
    FakeDialogs dialogs;
    FakeProcess process;
    dialogs.answer = box::answer_no;
    confirm_quit(dialogs, process);
    EXPECT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_FALSE(process.ended);
}

}  // namespace
}  // namespace pf
