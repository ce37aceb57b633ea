#include "layouts/startup_layouts.h"

namespace pf::layout {

namespace {

ScreenSpec build() {
    using K = ControlKind;
    ScreenSpec screen{.name = "frmini", .caption = L"MISE A JOUR QUORVELANTIX LUMIRAND",
                      .kind = WindowKind::borderless, .placement = Placement::fixed, .left = 9330, .top = 9990,
                      .client_width = 7155, .client_height = 2355, .back_color = colors::black};
    // Line1 is an array of three lines; each element goes by its indexed name.
    screen.controls = {
        {.name = "UpdateStatus", .kind = K::progress_bar, .place = {240, 1560, 6855, 375}, .tab_index = 3, .min = 0,
         .max = 200},
        {.name = "Timer1", .kind = K::timer, .enabled = false, .interval = 1},
        {.name = "CheckConnect", .kind = K::timer, .enabled = false, .interval = 1},
        {.name = "UpdateTimer", .kind = K::timer, .enabled = false, .interval = 1},
        {.name = "Line1(2)", .kind = K::line, .ends = {0, 1440, 7200, 1440}, .fore_color = colors::white,
         .line_width = 2},
        {.name = "Label3", .kind = K::label, .text = L"QUORVELANTIX VISION", .place = {480, 120, 3255, 375},
         .fore_color = colors::orange, .font = Font{L"Comic Sans MS", 12.0f, true, false}, .boxed = true,
         .tab_index = 2},
        {.name = "Welcometext", .kind = K::label, .text = L"Veuillez patientez...", .place = {480, 600, 2055, 255},
         .fore_color = colors::red, .font = Font{L"Arial", 9.75f, true, true}, .tab_index = 1},
        {.name = "Label2", .kind = K::label,
         .text = L"Initialisation du système d'installation des produit de QUORVELANTIX  Veuillez Patienter ....",
         .place = {360, 960, 5895, 615}, .fore_color = colors::blue, .font = Font{L"Arial", 9.0f, true, false},
         .tab_index = 0},
        {.name = "Line1(1)", .kind = K::line, .ends = {120, 2040, 7320, 2040}, .fore_color = colors::grey,
         .line_width = 1},
        {.name = "Line1(0)", .kind = K::line, .ends = {0, 2040, 7320, 2040}, .fore_color = colors::white,
         .line_width = 2},
    };
    validate(screen);
    return screen;
}

}  // namespace

const ScreenSpec& frmini_layout() {
    static const ScreenSpec screen = build();
    return screen;
}

}  // namespace pf::layout
