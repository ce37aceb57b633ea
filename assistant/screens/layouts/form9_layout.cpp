#include "layouts/form9_layout.h"

#include "artwork/resource_ids.h"
#include "catalogue.h"

namespace pf::layout {

namespace {

Font arial_9_bold() { return {L"Arial", 9.0f, true, false}; }
Font times_bold(float points) { return {L"Times New Roman", points, true, false}; }

std::vector<ControlSpec> fixed_controls() {
    using K = ControlKind;
    return {
        {.name = "Picture2", .kind = K::picture_box, .place = {240, 120, 615, 615},
         .back_color = colors::black, .picture = {PictureKind::icon, PF_ICON_PROGRAM}, .border = false,
         .tab_index = 43},
        {.name = "Picture1", .kind = K::picture_box, .place = {120, 3240, 615, 615},
         .back_color = colors::black, .picture = {PictureKind::icon, PF_ICON_DOWNLOAD}, .border = true,
         .tab_index = 10},
        {.name = "Frame1", .kind = K::frame, .text = L"Fichier Télécharger :", .place = {11640, 0, 3495, 8175},
         .fore_color = colors::red, .back_color = colors::black,
         .font = Font{L"MS Sans Serif", 8.25f, true, false}, .tab_index = 9},
        {.name = "Command3", .kind = K::button, .text = L"Annuler / Quitter", .place = {4320, 6960, 2175, 375},
         .tab_index = 6},
        {.name = "Command2", .kind = K::button, .text = L"<<< Retour", .place = {1080, 6960, 1815, 375},
         .enabled = false, .tab_index = 4},
        {.name = "Command1", .kind = K::button, .text = L"Continuer >>>", .place = {8160, 6960, 1815, 375},
         .enabled = false, .tab_index = 3},
        {.name = "CheckConnect", .kind = K::timer, .enabled = false, .interval = 1},
        // Inet1, an Internet transfer control that nothing uses, has no counterpart.
        {.name = "UpdateTimer", .kind = K::timer, .enabled = false, .interval = 1},
        {.name = "Timer3", .kind = K::timer, .enabled = true, .interval = 0},
        {.name = "Timer2", .kind = K::timer, .enabled = true, .interval = 0},
        {.name = "UpdateStatus", .kind = K::progress_bar, .place = {240, 4200, 11295, 255}, .tab_index = 0,
         .min = 0, .max = 6000},
        {.name = "P2", .kind = K::label, .place = {120, 4680, 135, 390}, .fore_color = colors::red,
         .font = times_bold(14.25f), .boxed = true, .auto_size = true, .visible = false, .tab_index = 11},
        {.name = "Label3", .kind = K::label,
         .text = L"L'opération peut prendre plusieur Minutes , veuillez patienter ....",
         .place = {240, 2520, 5415, 375}, .fore_color = colors::blue, .font = arial_9_bold(), .tab_index = 8},
        {.name = "Label1", .kind = K::label,
         .text = L"Vous pouvez Arrêter le système de téléchargement à tous moment puis le reprendre par la "
                 L"suite si vous le désirer . Le système est automatique , l'installation continuera après "
                 L"avoir télécharger tous les fichiers . Dès l'installation terminer , le système détruira "
                 L"les fichiers télécharger .",
         .place = {360, 5160, 8775, 1095}, .fore_color = colors::blue, .font = arial_9_bold(), .tab_index = 7},
        {.name = "Label2", .kind = K::label,
         .text = L"Le Système d'installation télécharge les fichiers d'installation manquant sur le serveur "
                 L"de QUORVELANTIX .",
         .place = {240, 1080, 8775, 615}, .fore_color = colors::blue, .font = arial_9_bold(), .tab_index = 5},
        {.name = "P", .kind = K::label, .text = L"0%", .place = {5040, 4680, 420, 330}, .fore_color = colors::red,
         .font = times_bold(14.25f), .auto_size = true, .tab_index = 2},
        {.name = "l1", .kind = K::label, .text = L"Préparation du téléchargement ...",
         .place = {720, 3600, 2775, 285}, .fore_color = colors::red, .font = times_bold(9.75f), .boxed = true,
         .auto_size = true, .tab_index = 1},
        {.name = "Line2", .kind = K::line, .ends = {0, 4560, 11760, 4560}, .fore_color = colors::orange,
         .line_width = 3},
        {.name = "Line1", .kind = K::line, .ends = {0, 3960, 11760, 3960}, .fore_color = colors::orange,
         .line_width = 3},
        {.name = "Label4", .kind = K::label, .text = L"Chaque Fichier fait environ 500 KO",
         .place = {120, 240, 5415, 375}, .container = "Frame1", .fore_color = colors::yellow,
         .font = arial_9_bold(), .tab_index = 42},
    };
}

ControlSpec status_line(const PackageEntry& entry) {
    return {.name = std::string(entry.status_line), .kind = ControlKind::label,
            .place = {240, status_line_top(entry.index), 45, 225}, .container = "Frame1",
            .fore_color = colors::blue, .font = arial_9_bold(), .auto_size = true, .tab_index = 11 + entry.index};
}

ScreenSpec build() {
    ScreenSpec screen{.name = "Form9", .caption = L"@ ASSISTANT DE CONFIGURATION @",
                      .kind = WindowKind::borderless, .placement = Placement::fixed, .left = 690, .top = 2625,
                      .client_width = 15480, .client_height = 9300, .back_color = colors::black,
                      .controls = fixed_controls()};
    for (const PackageEntry& entry : package_catalogue) screen.controls.push_back(status_line(entry));
    validate(screen);
    return screen;
}

}  // namespace

int status_line_top(int entry_index) {
    constexpr int first = 480;
    constexpr int pitch = 240;
    constexpr int last_gap = 360;
    const int last = static_cast<int>(package_size);
    if (entry_index < last) return first + pitch * (entry_index - 1);
    return first + pitch * (last - 2) + last_gap;
}

const ScreenSpec& form9_layout() {
    static const ScreenSpec screen = build();
    return screen;
}

}  // namespace pf::layout
