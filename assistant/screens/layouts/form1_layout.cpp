#include "artwork/resource_ids.h"
#include "layouts/startup_layouts.h"

namespace pf::layout {

namespace {

ScreenSpec build() {
    using K = ControlKind;
    ScreenSpec screen{.name = "Form1", .caption = L"ASSISTANT QUORVELANTIX", .kind = WindowKind::fixed_tool_window,
                      .placement = Placement::centred, .client_width = 8475, .client_height = 6810,
                      .icon = {PictureKind::icon, PF_ICON_PROGRAM}};
    // Frame1 covers the whole client area, its top edge above it, so the
    // screen shows black with no frame border along the top.
    screen.controls = {
        {.name = "Frame1", .kind = K::frame, .place = {0, -120, 8535, 6975}, .back_color = colors::black,
         .tab_index = 0},
        {.name = "Picture1", .kind = K::picture_box, .place = {120, 120, 615, 615}, .container = "Frame1",
         .back_color = colors::black, .picture = {PictureKind::icon, PF_ICON_PROGRAM}, .border = false,
         .tab_index = 3},
        {.name = "Command2", .kind = K::button, .text = L"Quitter", .place = {360, 6120, 1695, 375},
         .container = "Frame1", .tab_index = 2},
        {.name = "Command1", .kind = K::button, .text = L"Continuer >>>", .place = {6120, 6120, 1455, 375},
         .container = "Frame1", .tab_index = 1},
        {.name = "Label2", .kind = K::label,
         .text = L"Bienvenue dans l'assistant de QUORVELANTIX VISION . L' installation est automatique . Pour "
                 L"Continuer l' installation le système  à besoin de télécharger quelque fichier . Dès que les "
                 L"fixcchiers seront seront télécharger l' installation continuera . Veuillez cliquer sur Continuer "
                 L"pour poursuivre l'installation .",
         .place = {1200, 2160, 5895, 1335}, .container = "Frame1", .fore_color = colors::blue,
         .font = Font{L"Arial", 9.0f, true, false}, .boxed = true, .tab_index = 4},
    };
    validate(screen);
    return screen;
}

}  // namespace

const ScreenSpec& form1_layout() {
    static const ScreenSpec screen = build();
    return screen;
}

}  // namespace pf::layout
