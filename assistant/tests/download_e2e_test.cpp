// packfetch under Wine against the local package server, observed only through
// its windows and the package folder, as the person installing would see it.
#include "e2e_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

namespace pf::e2e {
namespace {

std::wstring volume(int n) {
    wchar_t name[16];
    swprintf(name, 16, L"zrx25.W%02d", n);
    return name;
}

std::vector<std::wstring> package() {
    std::vector<std::wstring> names{L"zrx25.exe"};
    for (int n = 2; n <= 30; ++n) names.push_back(volume(n));
    return names;
}

constexpr COLORREF green = 65280, red = 255;
const std::wstring starting_title = L" ASSISTANT QUORVELANTIX VISION";
const std::wstring starting_text = L" L'installation va se poursuivre veuillez cliquer sur OK pour continuer ";

void expect_fetched_intact(const std::wstring& name) {
    const std::wstring local = pack_folder + L"\\" + name;
    ASSERT_TRUE(file_exists(local)) << "missing " << std::string(name.begin(), name.end());
    EXPECT_TRUE(read_file(local) == read_file(sample_path(name))) << "differs: " << std::string(name.begin(), name.end());
}

class DownloadEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        remove_pack_folder();
        set_faults("");
        clear_server_log();
    }
};

TEST_F(DownloadEndToEnd, MissingFolderIsCreatedEveryFileFetchedAndTheInstallerStarted) {
    const RunResult run = run_packfetch(L"empty");

    EXPECT_EQ(run.end_box_title, starting_title);
    EXPECT_EQ(run.end_box_text, starting_text);
    ASSERT_EQ(run.lines.size(), 30u);
    for (const std::wstring& name : package()) {
        ASSERT_TRUE(run.lines.count(name)) << "no status line for " << std::string(name.begin(), name.end());
        EXPECT_EQ(run.lines.at(name).caption, L" " + name + L" ---> Télécharger ");
        EXPECT_EQ(run.lines.at(name).color, green);
        expect_fetched_intact(name);
    }
    EXPECT_TRUE(run.installer_started);
    EXPECT_TRUE(file_exists(pack_folder + L"\\zrx25.started.txt"));
    ASSERT_TRUE(run.exit_code.has_value()) << "packfetch did not end";

    const std::vector<Request> log = server_log();
    EXPECT_EQ(log.size(), 30u);
    for (const Request& request : log) EXPECT_EQ(request.user_agent, "VB OpenUrl") << request.path;
    EXPECT_EQ(log.front().path, "/zrx12/Pack2/zrx25.exe");
}

TEST_F(DownloadEndToEnd, EverythingPresentSendsNoRequest) {
    for (const std::wstring& name : package()) copy_from_sample(name);

    const RunResult run = run_packfetch(L"present");

    EXPECT_TRUE(server_log().empty());
    ASSERT_EQ(run.lines.size(), 30u);
    EXPECT_EQ(run.lines.at(L"zrx25.exe").caption, L" zrx25.exe ---> Télécharger ");
    for (const auto& [name, line] : run.lines) EXPECT_EQ(line.color, green);
    EXPECT_EQ(run.end_box_text, starting_text);
    EXPECT_TRUE(run.installer_started);
}

TEST_F(DownloadEndToEnd, FaultyEntriesStayRedLeaveNothingBehindAndTheRestArrives) {
    CreateDirectoryW(pack_folder.c_str(), nullptr);
    set_faults(R"({"zrx25.W05": "404", "zrx25.W12": "reset", "zrx25.W21": "short", "zrx25.W30": "500"})");
    const std::set<std::wstring> faulty{L"zrx25.W05", L"zrx25.W12", L"zrx25.W21", L"zrx25.W30"};

    const RunResult run = run_packfetch(L"faulty");

    ASSERT_EQ(run.lines.size(), 30u);
    for (const std::wstring& name : package()) {
        if (faulty.count(name)) {
            EXPECT_EQ(run.lines.at(name).caption, L" " + name + L" ---> NON Télécharger ");
            EXPECT_EQ(run.lines.at(name).color, red);
            EXPECT_FALSE(file_exists(pack_folder + L"\\" + name));
        } else {
            EXPECT_EQ(run.lines.at(name).color, green);
            expect_fetched_intact(name);
        }
    }
    for (const std::wstring& name : files_in(pack_folder))
        EXPECT_TRUE(name.size() < 5 || name.substr(name.size() - 5) != L".part")
            << "left behind: " << std::string(name.begin(), name.end());
    EXPECT_TRUE(run.installer_started);
}

TEST_F(DownloadEndToEnd, InstallerThatNeverArrivesEndsWithBothBoxesAndStartsNothing) {
    CreateDirectoryW(pack_folder.c_str(), nullptr);
    for (int n = 2; n <= 30; ++n) copy_from_sample(volume(n));
    set_faults(R"({"zrx25.exe": "404"})");

    const RunResult run = run_packfetch(L"no-installer");

    EXPECT_EQ(run.end_box_title, L"ASSISTANT  QUORVELANTIX");
    EXPECT_EQ(run.lines.at(L"zrx25.exe").color, red);
    EXPECT_FALSE(run.installer_started);
    EXPECT_FALSE(file_exists(pack_folder + L"\\zrx25.started.txt"));
    EXPECT_TRUE(run.exit_code.has_value());
}

}  // namespace
}  // namespace pf::e2e
