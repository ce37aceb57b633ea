#include "script/screen_script.h"

#include <stdexcept>

namespace pf {

ScreenScript::ScreenScript(ProgressBar& clock, std::vector<ScriptStep> steps)
    : clock_(clock), steps_(std::move(steps)) {
    if (steps_.empty() || steps_.back().test != ScriptStep::Test::greater_than)
        throw std::invalid_argument("a screen script ends with its greater-than end step");
}

void ScreenScript::tick() {
    for (const ScriptStep& step : steps_) {
        const float now = clock_.value();  // a step may have moved the clock
        const bool holds = step.test == ScriptStep::Test::equals ? now == step.trigger : now > step.trigger;
        if (!holds) continue;
        step.actions();
        if (step.test == ScriptStep::Test::greater_than) return;
    }
    clock_.set_value(clock_.value() + advance);
}

}  // namespace pf
