#include "artwork/resource_ids.h"
#include "layouts/startup_layouts.h"

namespace pf::layout {

namespace {

ScreenSpec build() {
    using K = ControlKind;
    ScreenSpec screen{.name = "Form2", .kind = WindowKind::borderless, .placement = Placement::centred,
                      .client_width = 9345, .client_height = 6480, .back_color = colors::black};
    screen.controls = {
        {.name = "Frame1", .kind = K::frame, .place = {120, 120, 9135, 5775}, .back_color = colors::black,
         .tab_index = 0},
        {.name = "Picture1", .kind = K::picture_box, .place = {240, 240, 8655, 5295}, .container = "Frame1",
         .picture = {PictureKind::bitmap, PF_BITMAP_PICTURE}, .border = true, .tab_index = 1},
        {.name = "Label1", .kind = K::label, .text = L"Chargement en cours ...", .place = {3240, 6000, 3375, 375},
         .fore_color = colors::red, .font = Font{L"MS Serif", 12.0f, true, false}, .boxed = true, .tab_index = 2},
    };
    validate(screen);
    return screen;
}

}  // namespace

const ScreenSpec& form2_layout() {
    static const ScreenSpec screen = build();
    return screen;
}

}  // namespace pf::layout
