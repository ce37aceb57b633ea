// The download screen's table against the screen as designed: every control's
// kind, place, tab index and text, and the status lines' rule.

#include "catalogue.h"
#include "layouts/form9_layout.h"

#include <gtest/gtest.h>

#include <set>

namespace pf::layout {
namespace {

const ControlSpec& control(std::string_view name) {
    const ControlSpec* found = find_control(form9_layout(), name);
    if (found == nullptr) throw std::out_of_range(std::string(name));
    return *found;
}

TEST(Form9Table, WindowIsBorderlessBlackAndFixedInPlace) {
    const ScreenSpec& screen = form9_layout();
    EXPECT_EQ(screen.name, "Form9");
    EXPECT_EQ(screen.caption, L"@ ASSISTANT DE CONFIGURATION @");
    EXPECT_EQ(screen.kind, WindowKind::borderless);
    EXPECT_EQ(screen.placement, Placement::fixed);
    EXPECT_EQ(screen.left, 690);
    EXPECT_EQ(screen.top, 2625);
    EXPECT_EQ(screen.client_width, 15480);
    EXPECT_EQ(screen.client_height, 9300);
    EXPECT_EQ(screen.back_color, colors::black);
    EXPECT_EQ(screen.icon.kind, PictureKind::none);
}

struct Row {
    const char* name;
    ControlKind kind;
    Place place;
    std::optional<int> tab;
};

TEST(Form9Table, ControlsOnTheScreenAndInTheFrame) {
    using K = ControlKind;
    const Row rows[] = {
        {"Picture2", K::picture_box, {240, 120, 615, 615}, 43},
        {"Picture1", K::picture_box, {120, 3240, 615, 615}, 10},
        {"Frame1", K::frame, {11640, 0, 3495, 8175}, 9},
        {"Command3", K::button, {4320, 6960, 2175, 375}, 6},
        {"Command2", K::button, {1080, 6960, 1815, 375}, 4},
        {"Command1", K::button, {8160, 6960, 1815, 375}, 3},
        {"UpdateStatus", K::progress_bar, {240, 4200, 11295, 255}, 0},
        {"P2", K::label, {120, 4680, 135, 390}, 11},
        {"Label3", K::label, {240, 2520, 5415, 375}, 8},
        {"Label1", K::label, {360, 5160, 8775, 1095}, 7},
        {"Label2", K::label, {240, 1080, 8775, 615}, 5},
        {"P", K::label, {5040, 4680, 420, 330}, 2},
        {"l1", K::label, {720, 3600, 2775, 285}, 1},
        {"Label4", K::label, {120, 240, 5415, 375}, 42},
        {"CheckConnect", K::timer, {}, std::nullopt},
        {"UpdateTimer", K::timer, {}, std::nullopt},
        {"Timer3", K::timer, {}, std::nullopt},
        {"Timer2", K::timer, {}, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ControlSpec& c = control(row.name);
        EXPECT_EQ(c.kind, row.kind);
        EXPECT_EQ(c.tab_index, row.tab);
        if (row.kind == K::timer) continue;
        EXPECT_EQ(c.place.left, row.place.left);
        EXPECT_EQ(c.place.top, row.place.top);
        EXPECT_EQ(c.place.width, row.place.width);
        EXPECT_EQ(c.place.height, row.place.height);
    }
    EXPECT_EQ(control("Label4").container, "Frame1");
}

TEST(Form9Table, TextsAreTheScreensOwnToTheLetter) {
    EXPECT_EQ(control("Frame1").text, L"Fichier Télécharger :");
    EXPECT_EQ(control("Command3").text, L"Annuler / Quitter");
    EXPECT_EQ(control("Command2").text, L"<<< Retour");
    EXPECT_EQ(control("Command1").text, L"Continuer >>>");
    EXPECT_EQ(control("Label3").text, L"L'opération peut prendre plusieur Minutes , veuillez patienter ....");
    EXPECT_EQ(control("Label1").text,
              L"Vous pouvez Arrêter le système de téléchargement à tous moment puis le reprendre par la suite si "
              L"vous le désirer . Le système est automatique , l'installation continuera après avoir télécharger "
              L"tous les fichiers . Dès l'installation terminer , le système détruira les fichiers télécharger .");
    EXPECT_EQ(control("Label2").text,
              L"Le Système d'installation télécharge les fichiers d'installation manquant sur le serveur de "
              L"QUORVELANTIX .");
    EXPECT_EQ(control("P").text, L"0%");
    EXPECT_EQ(control("l1").text, L"Préparation du téléchargement ...");
    EXPECT_EQ(control("Label4").text, L"Chaque Fichier fait environ 500 KO");
    EXPECT_EQ(control("P2").text, L"");
}

TEST(Form9Table, ColoursFontsAndStates) {
    const Font arial{L"Arial", 9.0f, true, false};
    const Font times_big{L"Times New Roman", 14.25f, true, false};
    EXPECT_EQ(control("Label1").font, arial);
    EXPECT_EQ(control("Label1").fore_color, colors::blue);
    EXPECT_EQ(control("Label4").fore_color, colors::yellow);
    EXPECT_EQ(control("P").font, times_big);
    EXPECT_TRUE(control("P").auto_size);
    EXPECT_FALSE(control("P").boxed);
    EXPECT_EQ(control("P2").font, times_big);
    EXPECT_TRUE(control("P2").boxed && control("P2").auto_size && !control("P2").visible);
    EXPECT_EQ(control("l1").font, (Font{L"Times New Roman", 9.75f, true, false}));
    EXPECT_TRUE(control("l1").boxed && control("l1").auto_size);
    EXPECT_EQ(control("l1").fore_color, colors::red);
    EXPECT_EQ(control("Frame1").font, (Font{L"MS Sans Serif", 8.25f, true, false}));
    EXPECT_EQ(control("Frame1").fore_color, colors::red);
    EXPECT_EQ(control("Frame1").back_color, colors::black);
    EXPECT_FALSE(control("Command1").enabled);
    EXPECT_FALSE(control("Command2").enabled);
    EXPECT_TRUE(control("Command3").enabled);
    EXPECT_FALSE(control("Picture2").border);
    EXPECT_TRUE(control("Picture1").border);
    EXPECT_EQ(control("UpdateStatus").min, 0);
    EXPECT_EQ(control("UpdateStatus").max, 6000);
}

TEST(Form9Table, TimersAndLines) {
    for (const char* name : {"CheckConnect", "UpdateTimer"}) {
        EXPECT_EQ(control(name).interval, 1) << name;
        EXPECT_FALSE(control(name).enabled) << name;
    }
    for (const char* name : {"Timer2", "Timer3"}) {
        EXPECT_EQ(control(name).interval, 0) << name;
        EXPECT_TRUE(control(name).enabled) << name;
    }
    for (const auto& [name, y] : {std::pair{"Line1", 3960}, std::pair{"Line2", 4560}}) {
        const ControlSpec& line = control(name);
        EXPECT_EQ(line.kind, ControlKind::line);
        EXPECT_EQ(line.ends.x1, 0);
        EXPECT_EQ(line.ends.x2, 11760);
        EXPECT_EQ(line.ends.y1, y);
        EXPECT_EQ(line.ends.y2, y);
        EXPECT_EQ(line.line_width, 3);
        EXPECT_EQ(line.fore_color, colors::orange);
    }
}

TEST(Form9Table, StatusLinesFollowTheCatalogue) {
    // Spot values straight from the design, including the wider gap before the last line.
    const std::pair<const char*, int> tops[] = {{"zrx25", 480}, {"zrxW02", 720}, {"zrxW15", 3840},
                                                {"zrxW29", 7200}, {"zrxW30", 7560}};
    for (const auto& [name, top] : tops) EXPECT_EQ(control(name).place.top, top) << name;
    for (const PackageEntry& entry : package_catalogue) {
        const ControlSpec& line = control(entry.status_line);
        SCOPED_TRACE(line.name);
        EXPECT_EQ(line.kind, ControlKind::label);
        EXPECT_EQ(line.container, "Frame1");
        EXPECT_EQ(line.place.left, 240);
        EXPECT_EQ(line.place.width, 45);
        EXPECT_EQ(line.place.height, 225);
        EXPECT_EQ(line.tab_index, 11 + entry.index);
        EXPECT_EQ(line.text, L"");
        EXPECT_EQ(line.fore_color, colors::blue);
        EXPECT_TRUE(line.auto_size);
        EXPECT_EQ(line.font, (Font{L"Arial", 9.0f, true, false}));
    }
    EXPECT_EQ(form9_layout().controls.size(), 20u + package_size);
}

TEST(LayoutValidation, RejectsTablesThatContradictThemselves) {
    const auto broken = [](auto change) {
        ScreenSpec screen = form9_layout();
        change(screen);
        return screen;
    };
    const ScreenSpec cases[] = {
        broken([](ScreenSpec& s) { s.controls[1].name = s.controls[0].name; }),
        broken([](ScreenSpec& s) { s.controls.back().container = "Picture1"; }),
        broken([](ScreenSpec& s) { s.controls.back().container = "Nowhere"; }),
        broken([](ScreenSpec& s) { s.controls[0].tab_index = 10; }),
        broken([](ScreenSpec& s) { s.controls[6].tab_index = 99; }),  // a timer
    };
    for (const ScreenSpec& screen : cases) EXPECT_THROW(validate(screen), std::invalid_argument);
    EXPECT_NO_THROW(validate(form9_layout()));
}

}  // namespace
}  // namespace pf::layout
