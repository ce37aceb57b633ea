#pragma once
// The scripts of the splash (letters of the company name lighting up) and of
// the introduction, and the welcome screen's "Continuer >>>".

#include "script/screen_script.h"
#include "startup/screen_flow.h"

#include <array>
#include <string_view>

namespace pf {

struct SplashLetter {
    std::string_view label;
    std::wstring_view letter;
    int lights_at;
};

inline constexpr std::array<SplashLetter, 12> splash_letters{{
    {"Label1", L"Q", 10},  {"Label2", L"U", 30},  {"Label3", L"O", 50},  {"Label4", L"R", 70},
    {"Label5", L"V", 80},  {"Label6", L"E", 90},  {"Label7", L"L", 100}, {"Label8", L"A", 110},
    {"Label9", L"N", 120}, {"Label10", L"T", 130}, {"Label11", L"I", 140}, {"Label12", L"X", 142},
}};
inline constexpr float splash_end_after = 160.0f;
inline constexpr float introduction_end_after = 197.0f;

// Steps of the splash's script; `letters` follow the order of splash_letters.
std::vector<ScriptStep> splash_steps(ScreenFlow& flow, const std::array<Label*, 12>& letters);
std::vector<ScriptStep> introduction_steps(ScreenFlow& flow);

// Main: the splash first.
void start_chain(ScreenFlow& flow);
// "Continuer >>>" on the welcome screen.
void continue_to_download(ScreenFlow& flow);

}  // namespace pf
