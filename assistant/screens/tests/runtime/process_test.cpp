// What needs a whole process: the standard top-level handler's message box and
// end, ending at once, and starting another program without waiting for it.

#include "toolkit/runtime_error.h"
#include "toolkit/win32/application.h"
#include "toolkit/win32/process.h"
#include "uidriver.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

namespace pf::testing {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

fs::path own_folder() {
    wchar_t path[MAX_PATH]{};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return fs::path(path).parent_path();
}

fs::path probe() { return own_folder() / L"runtime_probe.exe"; }

fs::path fresh_marker(const wchar_t* name) {
    const fs::path marker = fs::temp_directory_path() / name;
    fs::remove(marker);
    return marker;
}

std::uintmax_t size_or_zero(const fs::path& file) {
    std::error_code ignored;
    const auto size = fs::file_size(file, ignored);
    return ignored ? 0 : size;
}

TEST(ProcessTest, UnhandledErrorShowsTheStandardMessageStopsEveryHandlerThenEnds) {
    const fs::path marker = fresh_marker(L"pf_probe_unhandled.txt");
    ui::LaunchedProcess program(probe().wstring(), L"unhandled \"" + marker.wstring() + L"\"");
    const auto box = ui::wait_for_message_box(program.pid(), 20s);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->title, win32::application_title);
    EXPECT_NE(box->text.find(L"Erreur d'exécution 53"), std::wstring::npos);
    EXPECT_NE(box->text.find(L"Fichier introuvable"), std::wstring::npos);
    EXPECT_NE(box->text.find(L"c:\\Pack\\zrx25.exe"), std::wstring::npos);
    // The witness timer ticked before the error and never while the message is up.
    const auto witnessed = size_or_zero(marker);
    EXPECT_GT(witnessed, 0u);
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(size_or_zero(marker), witnessed);
    EXPECT_FALSE(program.wait(100ms).has_value()) << "the program waits for the message to be read";
    ui::press(*box, IDOK);
    EXPECT_EQ(program.wait(10s), 1u);
}

TEST(ProcessTest, EndStopsAtOnceWithNoFurtherCode) {
    const fs::path marker = fresh_marker(L"pf_probe_end.txt");
    ui::LaunchedProcess program(probe().wstring(), L"end \"" + marker.wstring() + L"\"");
    EXPECT_EQ(program.wait(20s), 0u);
    std::ifstream written(marker);
    const std::string content((std::istreambuf_iterator<char>(written)), std::istreambuf_iterator<char>());
    EXPECT_EQ(content.find("after end"), std::string::npos);
}

TEST(ProcessTest, StartProgramReturnsAtOnceAndTheProgramRuns) {
    const fs::path started = probe().wstring() + L".started";
    fs::remove(started);
    win32::Process process;
    const auto before = std::chrono::steady_clock::now();
    process.start_program(probe().wstring(), show_normal);
    EXPECT_LT(std::chrono::steady_clock::now() - before, 900ms) << "the probe waits a second before writing";
    EXPECT_FALSE(fs::exists(started));
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (!fs::exists(started) && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(50ms);
    EXPECT_TRUE(fs::exists(started));
    fs::remove(started);
}

TEST(ProcessTest, StartingAMissingProgramIsAnErrorNamingIt) {
    win32::Process process;
    for (const wchar_t* path : {L"c:\\Pack\\absent\\zrx25.exe", L"c:\\zrx25-absent.exe"}) {
        try {
            process.start_program(path, show_normal);
            ADD_FAILURE() << "no error";
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.code(), 53);
            EXPECT_EQ(error.description(), L"Fichier introuvable");
            EXPECT_EQ(error.where(), path);
        }
    }
}

}  // namespace
}  // namespace pf::testing
