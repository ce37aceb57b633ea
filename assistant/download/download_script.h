#pragma once
// The download screen's script: messages and percentages, the listing of the
// package, four fetch batches, and the end step that starts the installer.

#include "download_screen.h"
#include "package_files.h"
#include "script/screen_script.h"

#include <string>
#include <string_view>
#include <vector>

namespace pf {

struct ScheduleAction {
    enum class Kind { percent, message, enable_watchdog, list, fetch };
    Kind kind;
    std::wstring_view text{};
    int first{};  // catalogue indexes, for list and fetch
    int last{};
};

struct ScheduleStep {
    int value;
    std::vector<ScheduleAction> actions;
};

// Every equality step of the download screen, in the order the clock meets them.
const std::vector<ScheduleStep>& download_schedule();
inline constexpr float download_end_after = 5997.0f;

namespace end_texts {
inline constexpr std::wstring_view starting_prompt =
    L" L'installation va se poursuivre veuillez cliquer sur OK pour continuer ";
inline constexpr std::wstring_view starting_title = L" ASSISTANT QUORVELANTIX VISION";
inline constexpr std::wstring_view not_found_prompt =
    L" Le téléchargement c'est accomplie correctement mais l'assistant ne parvient pas à trouver le fichier "
    L"''zrx25.exe '' qui se trouve dans le répertoire '' C:\\Pack '' , veuillez fiare une recherche manuelle pour "
    L"voir si il na pas été déplacé , ou vérifier qu'il à été télécharger en réinitialisant l'assistant de "
    L"téléchargement";
inline constexpr std::wstring_view not_found_title = L"ASSISTANT  QUORVELANTIX";
inline constexpr std::wstring_view stopping_prompt =
    L" Une Erreur est survenue , ce programme va s'arrêter  . Cliquer sur OK , pour continuer ";
inline constexpr std::wstring_view installer_path = L"c:\\Pack\\zrx25.exe";
}  // namespace end_texts

class DownloadScript {
public:
    DownloadScript(DownloadScreenControls& controls, PackageFiles& files, Dialogs& dialogs, Process& process,
                   std::string server);

    // One tick of UpdateTimer.
    void tick() { script_.tick(); }

private:
    std::vector<ScriptStep> build_steps();
    void run(const ScheduleAction& action);
    void list_entry(const PackageEntry& entry);
    void fetch_entry(const PackageEntry& entry);
    void show(const PackageEntry& entry, EntryState state, bool in_listing = false);
    void end_step();

    DownloadScreenControls& controls_;
    PackageFiles& files_;
    Dialogs& dialogs_;
    Process& process_;
    std::string server_;
    ScreenScript script_;
};

}  // namespace pf
