#include "download_script.h"

namespace pf {

namespace {
using Kind = ScheduleAction::Kind;
ScheduleAction percent(std::wstring_view text) { return {Kind::percent, text}; }
ScheduleAction message(std::wstring_view text) { return {Kind::message, text}; }
ScheduleAction enable_watchdog() { return {Kind::enable_watchdog}; }
ScheduleAction list(int first, int last) { return {Kind::list, {}, first, last}; }
ScheduleAction fetch(int first, int last) { return {Kind::fetch, {}, first, last}; }
}  // namespace

const std::vector<ScheduleStep>& download_schedule() {
    // The captions keep their blanks and spelling exactly: users have seen them for years.
    static const std::vector<ScheduleStep> schedule{
        {2, {percent(L"6%"), message(L" Vérification de la connection internet ... "), enable_watchdog()}},
        {200,
         {enable_watchdog(), percent(L"8%"),
          message(L"Vérification de connection Terminer , poursuite du téléchargement ... ")}},
        {220, {percent(L"9%")}},
        {250, {message(L"Initilisation en cours ... "), percent(L"10%")}},
        {350, {percent(L"12%")}},
        {450,
         {message(L"L' assistant de Configuration se connecte au serveur de QUORVELANTIX VISION , veuillez "
                  L"patientez quelque minutes ... "),
          percent(L"13%")}},
        {550, {percent(L"15%")}},
        {650, {percent(L"16%")}},
        {750, {message(L"Connection établie ... "), percent(L"17%")}},
        {850, {percent(L"20%")}},
        {950,
         {message(L"Affichage des éléments télécharger  , veuillez patentez quelque secondes... "), list(1, 2),
          percent(L"25%")}},
        {1000,
         {percent(L"30%"), list(3, 30),
          message(L"Téléchargement en cours ... ( Cette opération peut prendre plusieur minutes ) ")}},
        {1550, {percent(L"63%"), fetch(1, 10)}},
        {2550, {percent(L"67%"), fetch(21, 29)}},
        {3000, {percent(L"68%"), fetch(30, 30)}},
        {3500, {percent(L"66%"), fetch(11, 20)}},
        {3550, {percent(L"76%"), message(L" Téléchargement Terminer")}},
        {3570, {percent(L"82%"), message(L" Vérification des données Téléchargé ...")}},
        {3580, {percent(L"95%"), message(L"Vérification des données Terminée .")}},
        {3586,
         {percent(L"95%"), message(L"Enregistrement dans la base de donnée .... ( Veuillez Patienter cette "
                                   L"opération peut durer quelques minutes )")}},
        {4550, {message(L"Enregistrement Terminer"), percent(L"99%")}},
        {5990,
         {message(L" Mise à jour des  fichier de configuration accomplie . Lancement de l' assistant "
                  L"d'installation "),
          percent(L"100%")}},
    };
    return schedule;
}

DownloadScript::DownloadScript(DownloadScreenControls& controls, PackageFiles& files, Dialogs& dialogs,
                               Process& process, std::string server)
    : controls_(controls),
      files_(files),
      dialogs_(dialogs),
      process_(process),
      server_(std::move(server)),
      script_(controls.UpdateStatus, build_steps()) {}

std::vector<ScriptStep> DownloadScript::build_steps() {
    std::vector<ScriptStep> steps;
    for (const ScheduleStep& step : download_schedule()) {
        steps.push_back({static_cast<float>(step.value), ScriptStep::Test::equals, [this, &step] {
                             for (const ScheduleAction& action : step.actions) run(action);
                         }});
    }
    steps.push_back({download_end_after, ScriptStep::Test::greater_than, [this] { end_step(); }});
    return steps;
}

void DownloadScript::run(const ScheduleAction& action) {
    switch (action.kind) {
        case Kind::percent: controls_.P.set_caption(action.text); break;
        case Kind::message: controls_.l1.set_caption(action.text); break;
        case Kind::enable_watchdog: controls_.CheckConnect.set_enabled(true); break;
        case Kind::list:
            for (int i = action.first; i <= action.last; ++i) list_entry(package_catalogue[i - 1]);
            break;
        case Kind::fetch:
            for (int i = action.first; i <= action.last; ++i) fetch_entry(package_catalogue[i - 1]);
            break;
    }
}

void DownloadScript::show(const PackageEntry& entry, EntryState state, bool in_listing) {
    Label& line = *controls_.status_lines[entry.index - 1];
    line.set_caption(status_caption(entry, state, in_listing));
    line.set_fore_color(status_color(state));
}

void DownloadScript::list_entry(const PackageEntry& entry) {
    show(entry, files_.FichierExiste(path_when_probed(entry)) ? EntryState::Present : EntryState::Missing, true);
}

void DownloadScript::fetch_entry(const PackageEntry& entry) {
    if (files_.FichierExiste(path_when_probed(entry))) {
        show(entry, EntryState::Present);
        return;
    }
    show(entry, EntryState::Fetching);
    const FetchOutcome outcome = files_.DOWNLOAD(download_url(entry, server_), path_when_fetched(entry));
    // A file that did not arrive whole stays red; the next pass fetches it again.
    show(entry, outcome == FetchOutcome::Complete ? EntryState::Present : EntryState::Missing);
}

void DownloadScript::end_step() {
    controls_.CheckConnect.set_enabled(false);
    controls_.UpdateTimer.set_enabled(false);
    if (files_.FichierExiste(end_texts::installer_path)) {
        dialogs_.message_box(end_texts::starting_prompt, box::information_icon, end_texts::starting_title);
        process_.start_program(end_texts::installer_path, show_normal);
    } else {
        dialogs_.message_box(end_texts::not_found_prompt, box::stop_icon, end_texts::not_found_title);
        dialogs_.message_box(end_texts::stopping_prompt, box::ok);
    }
    process_.end();
}

}  // namespace pf
