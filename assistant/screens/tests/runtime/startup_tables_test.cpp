// The start-up screens' tables: what the scripts and the eye rely on that a
// typing slip in a table would break (letters, clocks, texts, places).

#include "layouts/startup_layouts.h"
#include "startup/startup_scripts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <map>
#include <string>
#include <vector>

namespace pf::layout {
namespace {

const ControlSpec& control(const ScreenSpec& screen, std::string_view name) {
    const ControlSpec* found = find_control(screen, name);
    if (found == nullptr) throw std::out_of_range(screen.name + " has no " + std::string(name));
    return *found;
}

TEST(StartupTables, EveryScreenOfTheChainHasItsOwnValidTable) {
    const std::map<ScreenId, std::string> names = {{ScreenId::Form14, "Form14"}, {ScreenId::Form2, "Form2"},
                                                   {ScreenId::frmini, "frmini"}, {ScreenId::BACK, "BACK"},
                                                   {ScreenId::Form1, "Form1"},   {ScreenId::Form9, "Form9"}};
    for (const auto& [id, name] : names) {
        const ScreenSpec& screen = layout_of(id);
        EXPECT_EQ(screen.name, name);
        EXPECT_NO_THROW(validate(screen)) << name;
    }
}

TEST(StartupTables, WindowsKindsPlacesAndSizes) {
    const struct {
        const ScreenSpec& screen;
        std::wstring caption;
        WindowKind kind;
        Placement placement;
        int client_width, client_height;
        std::optional<Color> back;
    } rows[] = {
        {form14_layout(), L"", WindowKind::borderless, Placement::centred, 8220, 6105, colors::orange},
        {form2_layout(), L"", WindowKind::borderless, Placement::centred, 9345, 6480, colors::black},
        {frmini_layout(), L"MISE A JOUR QUORVELANTIX LUMIRAND", WindowKind::borderless, Placement::fixed, 7155, 2355,
         colors::black},
        {back_layout(), L"Form3", WindowKind::borderless, Placement::maximized, 10065, 7935, colors::black},
        {form1_layout(), L"ASSISTANT QUORVELANTIX", WindowKind::fixed_tool_window, Placement::centred, 8475, 6810,
         std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.screen.name);
        EXPECT_EQ(row.screen.caption, row.caption);
        EXPECT_EQ(row.screen.kind, row.kind);
        EXPECT_EQ(row.screen.placement, row.placement);
        EXPECT_EQ(row.screen.client_width, row.client_width);
        EXPECT_EQ(row.screen.client_height, row.client_height);
        EXPECT_EQ(row.screen.back_color, row.back);
    }
    EXPECT_EQ(form14_layout().picture.kind, PictureKind::image);
    EXPECT_EQ(form1_layout().icon.kind, PictureKind::icon);
}

TEST(StartupTables, IntroductionsFixedPlaceEndsAt1099By823Pixels) {
    const ScreenSpec& intro = frmini_layout();
    EXPECT_EQ((intro.left + intro.client_width) / 15, 1099);
    EXPECT_EQ((intro.top + intro.client_height) / 15, 823);
}

TEST(StartupTables, SplashLettersSpellTheNameLeftToRightOnOneRow) {
    const ScreenSpec& splash = form14_layout();
    std::vector<const ControlSpec*> letters;
    for (const SplashLetter& letter : splash_letters) {
        const ControlSpec& label = control(splash, letter.label);
        EXPECT_EQ(label.text, letter.letter) << letter.label;
        EXPECT_EQ(label.place.top, 3000) << letter.label;
        EXPECT_EQ(label.font, (Font{L"Monotype Corsiva", 36.0f, true, true})) << letter.label;
        EXPECT_FALSE(label.fore_color.has_value()) << "unlit letters have the default colour";
        letters.push_back(&label);
    }
    EXPECT_TRUE(std::ranges::is_sorted(letters, {}, [](const ControlSpec* label) { return label->place.left; }));
    std::wstring name;
    for (const ControlSpec* label : letters) name += label->text;
    EXPECT_EQ(name, L"QUORVELANTIX");
    // The wider gap comes after the second letter.
    EXPECT_EQ(control(splash, "Label3").place.left - control(splash, "Label2").place.left, 960);
}

TEST(StartupTables, ScriptClocksHoldTheirEndSteps) {
    const ControlSpec& splash_clock = control(form14_layout(), "UpdateStatus");
    EXPECT_EQ(splash_clock.max, 163);
    EXPECT_FALSE(splash_clock.visible);
    EXPECT_GT(splash_clock.max, splash_end_after + 2.0f);
    const ControlSpec& intro_clock = control(frmini_layout(), "UpdateStatus");
    EXPECT_EQ(intro_clock.max, 200);
    EXPECT_TRUE(intro_clock.visible);
    EXPECT_GE(intro_clock.max, introduction_end_after + 1.0f);
    for (const ScreenSpec* screen : {&form14_layout(), &frmini_layout()}) {
        const ControlSpec& timer = control(*screen, "UpdateTimer");
        EXPECT_FALSE(timer.enabled) << screen->name;
        EXPECT_EQ(timer.interval, 1) << screen->name;
        EXPECT_EQ(control(*screen, "UpdateStatus").min, 0) << screen->name;
    }
    for (const char* idle : {"Timer1", "CheckConnect"}) {
        EXPECT_FALSE(control(frmini_layout(), idle).enabled) << idle;
    }
}

TEST(StartupTables, TextsKeepTheirSpellingAndBlanks) {
    EXPECT_EQ(control(form14_layout(), "Label15").text, L"ASSISTANT DE DE CONFIGURATION DE VOTRE INSTALLATION");
    EXPECT_NE(control(frmini_layout(), "Label2").text.find(L"QUORVELANTIX  Veuillez"), std::wstring::npos);
    const std::wstring& welcome = control(form1_layout(), "Label2").text;
    for (const wchar_t* part : {L"système  à besoin", L"fixcchiers seront seront", L"l' installation continuera"})
        EXPECT_NE(welcome.find(part), std::wstring::npos) << std::string(part, part + std::wcslen(part));
    EXPECT_EQ(control(frmini_layout(), "Welcometext").text, L"Veuillez patientez...");
}

TEST(StartupTables, WelcomeFrameCoversTheClientAreaFromAboveAndHoldsTheButtons) {
    const ScreenSpec& welcome = form1_layout();
    const ControlSpec& frame = control(welcome, "Frame1");
    EXPECT_LT(frame.place.top, 0);
    EXPECT_GE(frame.place.left + frame.place.width, welcome.client_width);
    EXPECT_GE(frame.place.top + frame.place.height, welcome.client_height);
    for (const char* name : {"Picture1", "Command1", "Command2", "Label2"})
        EXPECT_EQ(control(welcome, name).container, "Frame1") << name;
    EXPECT_EQ(control(welcome, "Command1").tab_index, 1) << "Continuer >>> takes the focus first";
}

TEST(StartupTables, IntroductionLinesAreAnArrayOfThree) {
    const ScreenSpec& intro = frmini_layout();
    const struct {
        const char* name;
        LineEnds ends;
        Color color;
        int width;
    } lines[] = {{"Line1(0)", {0, 2040, 7320, 2040}, colors::white, 2},
                 {"Line1(1)", {120, 2040, 7320, 2040}, colors::grey, 1},
                 {"Line1(2)", {0, 1440, 7200, 1440}, colors::white, 2}};
    for (const auto& line : lines) {
        const ControlSpec& row = control(intro, line.name);
        EXPECT_EQ(row.kind, ControlKind::line) << line.name;
        EXPECT_EQ(row.ends.y1, line.ends.y1) << line.name;
        EXPECT_EQ(row.ends.x1, line.ends.x1) << line.name;
        EXPECT_EQ(row.ends.x2, line.ends.x2) << line.name;
        EXPECT_EQ(row.fore_color, line.color) << line.name;
        EXPECT_EQ(row.line_width, line.width) << line.name;
    }
}

}  // namespace
}  // namespace pf::layout
