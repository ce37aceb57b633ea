#include "startup/startup_scripts.h"

namespace pf {

std::vector<ScriptStep> splash_steps(ScreenFlow& flow, const std::array<Label*, 12>& letters) {
    std::vector<ScriptStep> steps;
    for (std::size_t i = 0; i < splash_letters.size(); ++i) {
        Label* letter = letters[i];
        steps.push_back({static_cast<float>(splash_letters[i].lights_at), ScriptStep::Test::equals,
                         [letter] { letter->set_fore_color(colors::orange); }});
    }
    steps.push_back({splash_end_after, ScriptStep::Test::greater_than, [&flow] {
                         flow.script_timer(ScreenId::Form14).set_enabled(false);
                         flow.show(ScreenId::Form2);
                         flow.show(ScreenId::frmini);
                         flow.script_timer(ScreenId::frmini).set_enabled(true);
                         flow.unload(ScreenId::Form14);
                     }});
    return steps;
}

std::vector<ScriptStep> introduction_steps(ScreenFlow& flow) {
    return {{introduction_end_after, ScriptStep::Test::greater_than, [&flow] {
                 flow.load_hidden(ScreenId::Form9);
                 flow.script_timer(ScreenId::frmini).set_enabled(false);
                 flow.show(ScreenId::BACK);
                 flow.show(ScreenId::Form1);
                 flow.unload(ScreenId::frmini);
                 flow.unload(ScreenId::Form2);
             }}};
}

void start_chain(ScreenFlow& flow) {
    flow.show(ScreenId::Form14);
    flow.script_timer(ScreenId::Form14).set_enabled(true);
}

void continue_to_download(ScreenFlow& flow) {
    flow.show(ScreenId::Form9);
    flow.script_timer(ScreenId::Form9).set_enabled(true);
    flow.unload(ScreenId::Form1);
}

}  // namespace pf
