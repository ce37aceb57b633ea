#include "artwork/resource_ids.h"
#include "layouts/startup_layouts.h"
#include "startup/startup_scripts.h"

#include <algorithm>

namespace pf::layout {

namespace {

// Where each letter of the company name stands on the baseline row; the
// letters are stored from the last to the first.
struct LetterPlace {
    std::string_view label;
    int left;
    int width;
    int height;
    int tab_index;
};

constexpr LetterPlace letter_places[] = {
    {"Label12", 6960, 735, 735, 11}, {"Label11", 6480, 495, 735, 10}, {"Label10", 6120, 495, 855, 9},
    {"Label9", 5640, 615, 855, 8},   {"Label8", 5160, 615, 735, 7},   {"Label7", 4560, 615, 735, 6},
    {"Label6", 3960, 735, 855, 5},   {"Label5", 3480, 615, 735, 4},   {"Label4", 2880, 735, 855, 3},
    {"Label3", 2400, 615, 735, 2},   {"Label2", 1440, 615, 855, 1},   {"Label1", 960, 6735, 855, 0},
};
constexpr int letters_top = 3000;

ControlSpec letter(const LetterPlace& place) {
    // The script lights the letters by name, so the letter shown comes from its list.
    const auto named = std::ranges::find(splash_letters, place.label, &SplashLetter::label);
    return {.name = std::string(place.label), .kind = ControlKind::label, .text = std::wstring(named->letter),
            .place = {place.left, letters_top, place.width, place.height},
            .font = Font{L"Monotype Corsiva", 36.0f, true, true}, .tab_index = place.tab_index};
}

ScreenSpec build() {
    using K = ControlKind;
    ScreenSpec screen{.name = "Form14", .kind = WindowKind::borderless, .placement = Placement::centred,
                      .client_width = 8220, .client_height = 6105, .back_color = colors::orange,
                      .picture = {PictureKind::image, PF_IMAGE_SPLASH}};
    screen.controls = {
        {.name = "UpdateTimer", .kind = K::timer, .enabled = false, .interval = 1},
        {.name = "UpdateStatus", .kind = K::progress_bar, .place = {480, 5640, 6855, 375}, .visible = false,
         .tab_index = 12, .min = 0, .max = 163},
        {.name = "Label15", .kind = K::label, .text = L"ASSISTANT DE DE CONFIGURATION DE VOTRE INSTALLATION",
         .place = {480, 840, 7335, 855}, .fore_color = colors::blue,
         .font = Font{L"Monotype Corsiva", 15.75f, true, true}, .tab_index = 16},
        {.name = "Label13", .kind = K::label, .text = L"INITIALISATION EN COURS ...", .place = {120, 1920, 7575, 495},
         .fore_color = colors::red, .font = Font{L"MS Sans Serif", 24.0f, true, true}, .tab_index = 14},
        // An empty boxed label: the frame drawn around the letters.
        {.name = "BACK", .kind = K::label, .place = {480, 2640, 7215, 1695}, .boxed = true, .tab_index = 13},
    };
    for (const LetterPlace& place : letter_places) screen.controls.push_back(letter(place));
    screen.controls.push_back(
        {.name = "Label14", .kind = K::label, .place = {120, 1680, 7935, 2655}, .boxed = true, .tab_index = 15});
    validate(screen);
    return screen;
}

}  // namespace

const ScreenSpec& form14_layout() {
    static const ScreenSpec screen = build();
    return screen;
}

}  // namespace pf::layout
