#pragma once
// A screen script: a timed list of steps whose clock is the Value of the
// screen's progress bar. Each tick tests every step in list order against a
// fresh read of the clock, then advances the clock by 2 unless the end step ran.
// The script keeps no state of its own: rewinding the bar restarts it.

#include "toolkit/controls.h"

#include <functional>
#include <vector>

namespace pf {

struct ScriptStep {
    enum class Test { equals, greater_than };
    float trigger;
    Test test;
    std::function<void()> actions;
};

class ScreenScript {
public:
    static constexpr float advance = 2.0f;

    // The last step is the end step: a greater-than test after which the tick
    // does not advance.
    ScreenScript(ProgressBar& clock, std::vector<ScriptStep> steps);

    void tick();

private:
    ProgressBar& clock_;
    std::vector<ScriptStep> steps_;
};

}  // namespace pf
