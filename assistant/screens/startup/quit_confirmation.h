#pragma once
// "Quitter" and "Annuler / Quitter": ask, tell how to resume, end at once.

#include "toolkit/controls.h"

#include <string_view>

namespace pf {

namespace quit_texts {
inline constexpr std::wstring_view question = L"Voulez vous Quitter l'assistant de QUORVELANTIX ?";
inline constexpr std::wstring_view question_title = L"QUORVELANTIX LUMIRAND";
inline constexpr std::wstring_view resume_hint =
    L" L'installation pourra reprendre manuellement en cliquant juste sur l'icone dans votre Bureau ";
inline constexpr std::wstring_view resume_title = L" ASSISTANT QUORVELANTIX ";
}  // namespace quit_texts

// Returns only when the user answers No; timers go on meanwhile.
void confirm_quit(Dialogs& dialogs, Process& process);

}  // namespace pf
