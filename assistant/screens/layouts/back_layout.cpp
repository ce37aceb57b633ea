#include "layouts/startup_layouts.h"

namespace pf::layout {

namespace {

ScreenSpec build() {
    using K = ControlKind;
    const Font title{L"Comic Sans MS", 27.75f, true, false};
    // Shown maximized: its labels are wider than the designed client area,
    // which only the covered screen makes room for.
    ScreenSpec screen{.name = "BACK", .caption = L"Form3", .kind = WindowKind::borderless,
                      .placement = Placement::maximized, .client_width = 10065, .client_height = 7935,
                      .back_color = colors::black};
    screen.controls = {
        {.name = "Label1", .kind = K::label, .text = L"Pour Varnox Lumirand V2.5", .place = {1320, 1560, 12015, 855},
         .fore_color = colors::blue, .font = title, .tab_index = 1},
        {.name = "Label3", .kind = K::label, .text = L"ASSISTANT QUORVELANTIX VISION", .place = {120, 600, 12015, 855},
         .fore_color = colors::orange, .font = title, .boxed = true, .tab_index = 0},
    };
    validate(screen);
    return screen;
}

}  // namespace

const ScreenSpec& back_layout() {
    static const ScreenSpec screen = build();
    return screen;
}

}  // namespace pf::layout
