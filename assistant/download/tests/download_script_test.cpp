#include "download_script.h"
#include "testing/fake_toolkit.h"
#include "watchdog.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace pf {
namespace {

using namespace pf::fakes;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

std::wstring folded(std::wstring_view path) {
    std::wstring out(path);
    std::transform(out.begin(), out.end(), out.begin(), [](wchar_t c) { return std::towlower(c); });
    return out;
}

// The package folder and server: files are looked up without regard to case, as
// Windows does, and every DOWNLOAD is recorded.
class FakeFiles final : public PackageFiles {
public:
    bool FichierExiste(std::wstring_view path) override { return present.count(folded(path)) != 0; }
    FetchOutcome DOWNLOAD(std::string_view url, std::wstring_view local_path) override {
        fetched_urls.emplace_back(url);
        fetched_paths.emplace_back(local_path);
        if (on_download) on_download();
        if (failing.count(std::string(url))) return FetchOutcome::Failed;
        present.insert(folded(local_path));
        return FetchOutcome::Complete;
    }
    void add(const PackageEntry& entry) { present.insert(folded(path_when_probed(entry))); }

    std::set<std::wstring> present;
    std::set<std::string> failing;
    std::vector<std::string> fetched_urls;
    std::vector<std::wstring> fetched_paths;
    std::function<void()> on_download;
};

class FakeProbe final : public ConnectionProbe {
public:
    std::optional<unsigned> active_connections() override { return answer(); }
    std::function<std::optional<unsigned>()> answer = [] { return 1u; };
};

// The download screen with its two timers, driven tick by tick as the message
// loop would: the script's timer, then the watchdog's.
struct DownloadRig {
    explicit DownloadRig(float max = 6000) : UpdateStatus(0, max) {}
    FakeProgressBar UpdateStatus;
    FakeTimer UpdateTimer, CheckConnect;
    FakeLabel P{L"0%", colors::red}, P2{L"", colors::red, false}, l1{L"Préparation du téléchargement ..."};
    std::array<FakeLabel, package_size> lines;
    DownloadScreenControls controls{UpdateStatus, UpdateTimer, CheckConnect, P, P2, l1, line_pointers()};
    FakeFiles files;
    FakeProbe probe;
    FakeDialogs dialogs;
    FakeProcess process;
    DownloadScript script{controls, files, dialogs, process, "packages.example:8080"};
    int ticks = 0;

    std::array<Label*, package_size> line_pointers() {
        std::array<Label*, package_size> out{};
        for (std::size_t i = 0; i < package_size; ++i) out[i] = &lines[i];
        return out;
    }

    // One round of the message loop; returns false once the program has ended.
    bool round() {
        try {
            if (UpdateTimer.enabled()) {
                ++ticks;
                script.tick();
            }
            if (CheckConnect.enabled()) watchdog_tick(controls, probe);
        } catch (const ProgramEnded&) {
            return false;
        }
        return true;
    }

    void run_until(const std::function<bool()>& done, int max_rounds = 20000) {
        for (int i = 0; i < max_rounds && !done(); ++i)
            if (!round()) return;
    }

    void start_and_run_to_end() {
        UpdateTimer.set_enabled(true);
        run_until([] { return false; });
        ASSERT_TRUE(process.ended);
    }

    std::vector<int> fetched_indexes() const {
        std::vector<int> out;
        for (const std::wstring& path : files.fetched_paths)
            for (const PackageEntry& e : package_catalogue)
                if (path == path_when_fetched(e)) out.push_back(e.index);
        return out;
    }
};

std::vector<int> range(int first, int last) {
    std::vector<int> out;
    for (int i = first; i <= last; ++i) out.push_back(i);
    return out;
}

TEST(DownloadScript, EmptyFolderFetchesEveryFileInBatchOrderThenStartsTheInstaller) {
    DownloadRig rig;
    rig.start_and_run_to_end();

    std::vector<int> expected = range(1, 10);
    for (int i : range(21, 29)) expected.push_back(i);
    expected.push_back(30);
    for (int i : range(11, 20)) expected.push_back(i);
    EXPECT_EQ(rig.fetched_indexes(), expected);
    EXPECT_EQ(rig.files.fetched_urls.front(), "http://packages.example:8080/zrx12/Pack2/zrx25.exe");
    EXPECT_EQ(rig.files.fetched_paths[1], L"C:\\Pack\\zrx25.W02");

    for (const PackageEntry& e : package_catalogue) {
        EXPECT_EQ(rig.lines[e.index - 1].caption(), L" " + std::wstring(e.file_name) + L" ---> Télécharger ");
        EXPECT_EQ(rig.lines[e.index - 1].fore_color(), colors::green);
    }
    EXPECT_EQ(rig.ticks, 3000);
    EXPECT_EQ(rig.UpdateStatus.value(), 5998);
    EXPECT_FALSE(rig.UpdateTimer.enabled());
    EXPECT_FALSE(rig.CheckConnect.enabled());
    ASSERT_EQ(rig.dialogs.boxes.size(), 1u);
    EXPECT_EQ(rig.dialogs.boxes[0].prompt,
              L" L'installation va se poursuivre veuillez cliquer sur OK pour continuer ");
    EXPECT_EQ(rig.dialogs.boxes[0].style, 64);
    EXPECT_EQ(rig.dialogs.boxes[0].title, L" ASSISTANT QUORVELANTIX VISION");
    EXPECT_THAT(rig.process.started, ElementsAre(L"c:\\Pack\\zrx25.exe"));
    EXPECT_EQ(rig.process.last_show_command, 1);
    EXPECT_EQ(rig.P.caption(), L"100%");
}

TEST(DownloadScript, ListingShowsMissingFilesRedAndFetchTurnsThemOrangeThenGreen) {
    DownloadRig rig;
    rig.UpdateTimer.set_enabled(true);
    rig.run_until([&] { return rig.UpdateStatus.value() == 1002; });
    for (const PackageEntry& e : package_catalogue) {
        EXPECT_EQ(rig.lines[e.index - 1].caption(), L" " + std::wstring(e.file_name) + L" ---> NON Télécharger ");
        EXPECT_EQ(rig.lines[e.index - 1].fore_color(), colors::red);
    }
    EXPECT_EQ(rig.l1.caption(), L"Téléchargement en cours ... ( Cette opération peut prendre plusieur minutes ) ");
    EXPECT_EQ(rig.P.caption(), L"30%");

    // While a file is on the wire its line reads "En Cours" in orange, and the
    // lines of the batch after it still show what the listing found.
    std::vector<std::pair<std::wstring, Color>> seen;
    rig.files.on_download = [&] {
        seen.emplace_back(rig.lines[4].caption(), rig.lines[4].fore_color());
        seen.emplace_back(rig.lines[5].caption(), rig.lines[5].fore_color());
    };
    rig.run_until([&] { return rig.UpdateStatus.value() == 1552; });
    ASSERT_GE(seen.size(), 10u);
    EXPECT_EQ(seen[8], std::make_pair(std::wstring(L" zrx25.W05 ---> En Cours ... "), colors::orange));
    EXPECT_EQ(seen[9], std::make_pair(std::wstring(L" zrx25.W06 ---> NON Télécharger "), colors::red));
    EXPECT_EQ(rig.P.caption(), L"63%");
}

TEST(DownloadScript, EverythingPresentFetchesNothingAndTheListingCapitalisesTheInstaller) {
    DownloadRig rig;
    for (const PackageEntry& e : package_catalogue) rig.files.add(e);
    rig.UpdateTimer.set_enabled(true);
    rig.run_until([&] { return rig.UpdateStatus.value() == 1002; });
    EXPECT_EQ(rig.lines[0].caption(), L" Zrx25.exe ---> Télécharger ");
    EXPECT_EQ(rig.lines[1].caption(), L" zrx25.W02 ---> Télécharger ");
    EXPECT_EQ(rig.lines[0].fore_color(), colors::green);

    rig.run_until([] { return false; });
    EXPECT_TRUE(rig.files.fetched_urls.empty());
    EXPECT_EQ(rig.lines[0].caption(), L" zrx25.exe ---> Télécharger ");
    EXPECT_THAT(rig.process.started, ElementsAre(L"c:\\Pack\\zrx25.exe"));
}

TEST(DownloadScript, OnlyMissingFilesAreFetched) {
    DownloadRig rig;
    for (int i : {1, 4, 12, 25, 30}) rig.files.add(package_catalogue[i - 1]);
    rig.start_and_run_to_end();
    std::vector<int> expected;
    for (int i : range(1, 10)) if (i != 1 && i != 4) expected.push_back(i);
    for (int i : range(21, 29)) if (i != 25) expected.push_back(i);
    for (int i : range(11, 20)) if (i != 12) expected.push_back(i);
    EXPECT_EQ(rig.fetched_indexes(), expected);
    for (const FakeLabel& line : rig.lines) EXPECT_EQ(line.fore_color(), colors::green);
}

TEST(DownloadScript, FailedFetchStaysRedAndTheRunGoesOn) {
    DownloadRig rig;
    rig.files.failing.insert("http://packages.example:8080/zrx12/Pack2/zrx25.W07");
    rig.start_and_run_to_end();
    EXPECT_EQ(rig.lines[6].caption(), L" zrx25.W07 ---> NON Télécharger ");
    EXPECT_EQ(rig.lines[6].fore_color(), colors::red);
    EXPECT_EQ(rig.lines[7].fore_color(), colors::green);
    EXPECT_EQ(rig.files.fetched_urls.size(), 30u);
    EXPECT_FALSE(rig.files.FichierExiste(L"c:\\Pack\\zrx25.W07"));
}

TEST(DownloadScript, InstallerMissingAtTheEndShowsBothBoxesAndStartsNothing) {
    DownloadRig rig;
    rig.files.failing.insert("http://packages.example:8080/zrx12/Pack2/zrx25.exe");
    rig.start_and_run_to_end();
    EXPECT_TRUE(rig.process.started.empty());
    ASSERT_EQ(rig.dialogs.boxes.size(), 2u);
    EXPECT_EQ(rig.dialogs.boxes[0].prompt, end_texts::not_found_prompt);
    EXPECT_EQ(rig.dialogs.boxes[0].style, 16);
    EXPECT_EQ(rig.dialogs.boxes[0].title, L"ASSISTANT  QUORVELANTIX");
    EXPECT_EQ(rig.dialogs.boxes[1].prompt,
              L" Une Erreur est survenue , ce programme va s'arrêter  . Cliquer sur OK , pour continuer ");
    EXPECT_EQ(rig.dialogs.boxes[1].style, 0);
    EXPECT_FALSE(rig.dialogs.boxes[1].title.has_value());
}

TEST(DownloadScript, WatchdogPausesRewindsAndTheRestartSkipsFetchedFiles) {
    DownloadRig rig;
    bool online = true;
    rig.probe.answer = [&] { return std::optional<unsigned>(online ? 1u : 0u); };
    rig.UpdateTimer.set_enabled(true);
    rig.run_until([&] { return rig.UpdateStatus.value() == 2000; });  // first batch done
    ASSERT_EQ(rig.files.fetched_urls.size(), 10u);

    online = false;
    for (int i = 0; i < 5; ++i) rig.round();
    EXPECT_FALSE(rig.UpdateTimer.enabled());
    EXPECT_TRUE(rig.CheckConnect.enabled());
    EXPECT_EQ(rig.UpdateStatus.value(), 0);
    EXPECT_FALSE(rig.P.visible());
    EXPECT_TRUE(rig.P2.visible());
    EXPECT_EQ(rig.P2.caption(), L" Annulation du téléchargement . Attente d'une Connection internet ...");
    EXPECT_EQ(rig.l1.caption(), L"Vous n'êtes pas connecter sur le web , veuillez vous connecter");

    online = true;
    rig.round();
    EXPECT_TRUE(rig.UpdateTimer.enabled());
    EXPECT_TRUE(rig.P.visible());
    EXPECT_FALSE(rig.P2.visible());
    rig.run_until([&] { return rig.UpdateStatus.value() == 1002; });
    EXPECT_EQ(rig.lines[0].caption(), L" Zrx25.exe ---> Télécharger ");
    EXPECT_EQ(rig.lines[10].caption(), L" zrx25.W11 ---> NON Télécharger ");

    rig.run_until([] { return false; });
    EXPECT_EQ(rig.files.fetched_urls.size(), 30u) << "no file may be fetched twice";
    EXPECT_TRUE(rig.process.ended);
}

TEST(DownloadScript, WatchdogWaitsFromTheFirstStepWhenOfflineAndIgnoresFailedPolls) {
    DownloadRig rig;
    std::optional<unsigned> answer = 0u;
    rig.probe.answer = [&] { return answer; };
    rig.UpdateTimer.set_enabled(true);
    rig.round();  // clock 0 -> 2
    rig.round();  // step 2 switches the watchdog on; it finds nothing
    EXPECT_EQ(rig.UpdateStatus.value(), 0);
    EXPECT_FALSE(rig.UpdateTimer.enabled());
    EXPECT_EQ(rig.P.caption(), L"6%");
    EXPECT_FALSE(rig.P.visible());

    answer = std::nullopt;  // the poll could not be answered: nothing changes
    for (int i = 0; i < 3; ++i) rig.round();
    EXPECT_FALSE(rig.UpdateTimer.enabled());
    EXPECT_TRUE(rig.P2.visible());
    EXPECT_TRUE(rig.files.fetched_urls.empty());
}

TEST(DownloadScript, ScheduleShowsEachCaptionAtItsValue) {
    struct Expect { float value; std::wstring_view percent; std::wstring_view message; };
    const Expect table[] = {
        {2, L"6%", L" Vérification de la connection internet ... "},
        {200, L"8%", L"Vérification de connection Terminer , poursuite du téléchargement ... "},
        {250, L"10%", L"Initilisation en cours ... "},
        {750, L"17%", L"Connection établie ... "},
        {950, L"25%", L"Affichage des éléments télécharger  , veuillez patentez quelque secondes... "},
        {3000, L"68%", L"Téléchargement en cours ... ( Cette opération peut prendre plusieur minutes ) "},
        {3500, L"66%", L"Téléchargement en cours ... ( Cette opération peut prendre plusieur minutes ) "},
        {3550, L"76%", L" Téléchargement Terminer"},
        {3586, L"95%", L"Enregistrement dans la base de donnée .... ( Veuillez Patienter cette opération peut "
                       L"durer quelques minutes )"},
        {4550, L"99%", L"Enregistrement Terminer"},
        {5990, L"100%", L" Mise à jour des  fichier de configuration accomplie . Lancement de l' assistant "
                        L"d'installation "},
    };
    DownloadRig rig;
    for (const PackageEntry& e : package_catalogue) rig.files.add(e);
    rig.UpdateTimer.set_enabled(true);
    for (const Expect& row : table) {
        rig.run_until([&] { return rig.UpdateStatus.value() == row.value + 2; });
        EXPECT_EQ(rig.P.caption(), row.percent) << "at " << row.value;
        EXPECT_EQ(rig.l1.caption(), row.message) << "at " << row.value;
    }
}

TEST(DownloadScript, ValueAboveMaxEndsTheRunWithAnError) {
    // A bar whose Max is below the end step's value: the advance past Max must
    // surface as an error instead of being clamped, and the run stops there.
    DownloadRig rig(4000);
    for (const PackageEntry& e : package_catalogue) rig.files.add(e);
    rig.UpdateTimer.set_enabled(true);
    try {
        rig.run_until([] { return false; });
        FAIL() << "the advance from 4000 must fail";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.code(), error_code::invalid_property_value);
    }
    EXPECT_EQ(rig.UpdateStatus.value(), 4000);
    EXPECT_FALSE(rig.process.ended);
    EXPECT_TRUE(rig.process.started.empty());
}

TEST(DownloadScript, LocalFileErrorAbandonsTheTick) {
    DownloadRig rig;
    rig.files.on_download = [] { throw RuntimeError(5, L"Accès refusé.", L"C:\\Pack\\zrx25.exe"); };
    rig.UpdateTimer.set_enabled(true);
    rig.UpdateStatus.set_value(1550);
    EXPECT_THROW(rig.script.tick(), RuntimeError);
    EXPECT_EQ(rig.UpdateStatus.value(), 1550);
    EXPECT_EQ(rig.files.fetched_urls.size(), 1u);
}

}  // namespace
}  // namespace pf
