// DOWNLOAD against the local package server (started by with-packserver) in
// every way a transfer can end, and what each leaves in the package folder.
#include "fetch/wininet_package_files.h"
#include "fetch_test_support.h"
#include "toolkit/runtime_error.h"

#include <gtest/gtest.h>
#include <wininet.h>

#include <string>
#include <vector>

namespace pf::fetch {
namespace {

using testing::folder_entries;
using testing::pattern_bytes;
using testing::read_file;
using testing::RecordingWindow;
using testing::RefusingPort;
using testing::ScratchFolder;
using testing::ScreenActivity;
using testing::server_url;

TEST(Download, StoresOnlyCompleteTransfers) {
    RefusingPort refusing;
    const std::string refused = "http://127.0.0.1:" + std::to_string(refusing.port());
    const std::string server = server_url();

    const struct {
        const char* what;
        std::string url;
        FetchOutcome expected;
        std::size_t size;  // of the stored pattern when complete
    } cases[] = {
        {"whole file", server + "/test/ok/300000", FetchOutcome::Complete, 300000},
        {"exactly 2048 bytes", server + "/test/ok/2048", FetchOutcome::Complete, 2048},
        {"exactly one receive buffer", server + "/test/ok/65536", FetchOutcome::Complete, 65536},
        {"one byte", server + "/test/ok/1", FetchOutcome::Complete, 1},
        {"zero-length 200", server + "/test/zero/0", FetchOutcome::Complete, 0},
        {"slow drip", server + "/test/drip/100000", FetchOutcome::Complete, 100000},
        {"302 to the file", server + "/test/redirect/300000", FetchOutcome::Complete, 300000},
        {"404 page", server + "/test/404/300000", FetchOutcome::Failed, 0},
        {"500 page", server + "/test/500/300000", FetchOutcome::Failed, 0},
        {"file not on the server", server + "/zrx12/Pack2/zrx25.W02", FetchOutcome::Failed, 0},
        {"reset mid-body", server + "/test/reset/300000", FetchOutcome::Failed, 0},
        {"body shorter than Content-Length", server + "/test/short/300000", FetchOutcome::Failed, 0},
        {"connection refused", refused + "/zrx12/Pack2/zrx25.W02", FetchOutcome::Failed, 0},
        {"host not found", "http://zrx-test.invalid/zrx12/Pack2/zrx25.W02", FetchOutcome::Failed, 0},
    };

    WinInetPackageFiles files;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder pack;
        const std::wstring target = pack / L"zrx25.W02";
        ASSERT_EQ(files.DOWNLOAD(c.url, target), c.expected);
        if (c.expected == FetchOutcome::Complete) {
            EXPECT_EQ(folder_entries(pack.path()), std::vector<std::wstring>{L"zrx25.W02"}) << "a part file was left";
            EXPECT_EQ(read_file(target), pattern_bytes(c.size)) << "the stored file differs from the body";
        } else {
            EXPECT_EQ(folder_entries(pack.path()), std::vector<std::wstring>{}) << "a failed fetch left a file";
            EXPECT_FALSE(files.FichierExiste(target));
        }
    }

    const std::string log = testing::http_get(server + "/__control/log");
    for (const auto& c : cases) {
        if (!c.url.starts_with(server)) continue;
        SCOPED_TRACE(c.what);
        const std::string path = c.url.substr(server.size());
        EXPECT_NE(log.find("\"path\": \"" + path + "\", \"user_agent\": \"VB OpenUrl\""), std::string::npos)
            << "no request for " << path << " with agent VB OpenUrl in " << log;
    }
}

TEST(Download, LeavesNoCopyInTheInternetCache) {
    const std::string url = server_url() + "/test/ok/70000";
    ScratchFolder pack;
    WinInetPackageFiles files;
    ASSERT_EQ(files.DOWNLOAD(url, pack / L"zrx25.W03"), FetchOutcome::Complete);
    DWORD size = 0;
    EXPECT_FALSE(::GetUrlCacheEntryInfoA(url.c_str(), nullptr, &size));
    EXPECT_EQ(::GetLastError(), DWORD{ERROR_FILE_NOT_FOUND}) << "the body was kept in the Internet cache";
}

TEST(Download, CreatesAMissingPackageFolder) {
    ScratchFolder scratch;
    const std::wstring folder = scratch / L"Pack";
    WinInetPackageFiles files;
    ASSERT_EQ(files.DOWNLOAD(server_url() + "/test/ok/5000", folder + L"\\zrx25.W04"), FetchOutcome::Complete);
    EXPECT_EQ(read_file(folder + L"\\zrx25.W04"), pattern_bytes(5000));
}

TEST(Download, CreatesTheFolderEvenWhenTheTransferFails) {
    // The folder is the program's to make; only the file depends on the server.
    ScratchFolder scratch;
    const std::wstring folder = scratch / L"Pack";
    WinInetPackageFiles files;
    ASSERT_EQ(files.DOWNLOAD(server_url() + "/test/404/10", folder + L"\\zrx25.W05"), FetchOutcome::Failed);
    EXPECT_EQ(::GetFileAttributesW(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY, DWORD{FILE_ATTRIBUTE_DIRECTORY});
    EXPECT_EQ(folder_entries(folder), std::vector<std::wstring>{});
}

TEST(Download, LocalFailuresRaiseNamingThePathAndLeaveNothing) {
    ScratchFolder scratch;
    testing::write_file(scratch / L"blocker", "a file where the folder should be");
    testing::write_file(scratch / L"locked.W06", "older copy", FILE_ATTRIBUTE_READONLY);
    const auto before = folder_entries(scratch.path());

    const struct {
        const char* what;
        std::wstring target;
        long code;
        std::wstring where;
    } cases[] = {
        {"a file blocks the folder", scratch / L"blocker\\zrx25.W06", ERROR_ALREADY_EXISTS, scratch / L"blocker"},
        {"the folder's own folder is missing", scratch / L"absent\\Pack\\zrx25.W06", ERROR_PATH_NOT_FOUND,
         scratch / L"absent\\Pack"},
        {"a name the file system refuses", scratch / L"zrx25?.W06", ERROR_INVALID_NAME, scratch / L"zrx25?.W06"},
        {"a read-only file under the name", scratch / L"locked.W06", ERROR_ACCESS_DENIED, scratch / L"locked.W06"},
    };
    WinInetPackageFiles files;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            files.DOWNLOAD(server_url() + "/test/ok/300000", c.target);
            ADD_FAILURE() << "no error was raised";
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.code(), c.code);
            EXPECT_EQ(error.where(), c.where);
            EXPECT_FALSE(error.description().empty());
            EXPECT_NE(error.message().find(c.where), std::wstring::npos);
        }
        EXPECT_EQ(folder_entries(scratch.path()), before) << "something was left behind";
    }
    EXPECT_EQ(testing::read_file(scratch / L"blocker").size(), 33u);
    EXPECT_EQ(testing::read_file(scratch / L"locked.W06").size(), 10u);
}

TEST(Download, ScreenKeepsPaintingWithoutTicksDuringATransfer) {
    RecordingWindow window;
    ::SetTimer(window.handle(), 1, 10, nullptr);
    ScratchFolder pack;
    WinInetPackageFiles files;

    window.set_busy(true);
    ScreenActivity activity(window.handle());
    const auto outcome = files.DOWNLOAD(server_url() + "/test/drip/200000", pack / L"zrx25.W07");
    activity.stop();
    window.set_busy(false);

    ASSERT_EQ(outcome, FetchOutcome::Complete);
    EXPECT_GE(window.while_busy().paints, 3) << "the screen did not repaint during the transfer";
    EXPECT_TRUE(activity.sent_message_answered()) << "the window stopped answering: 'not responding'";
    EXPECT_EQ(window.while_busy().timer_ticks, 0) << "a timer tick ran during the transfer";
    EXPECT_EQ(window.while_busy().key_downs, 0) << "input was handled during the transfer";
    window.pump_for(200);
    EXPECT_GT(window.while_idle().timer_ticks, 0);
    EXPECT_EQ(window.while_idle().key_downs, 1);
    ::KillTimer(window.handle(), 1);
}

// The one test on the real package folder of this Wine prefix.
class PackFolder : public ::testing::Test {
protected:
    void SetUp() override {
        const DWORD attributes = ::GetFileAttributesW(L"C:\\Pack");
        if (attributes != INVALID_FILE_ATTRIBUTES) {
            ASSERT_TRUE(::MoveFileExW(L"C:\\Pack", aside_.c_str(), 0)) << "cannot move C:\\Pack aside";
            moved_aside_ = true;
        }
    }
    void TearDown() override {
        testing::remove_tree(L"C:\\Pack");
        if (moved_aside_) ::MoveFileExW(aside_.c_str(), L"C:\\Pack", 0);
    }

private:
    std::wstring aside_ = L"C:\\Pack.before-fetch-test";
    bool moved_aside_ = false;
};

TEST_F(PackFolder, FirstFetchCreatesIt) {
    WinInetPackageFiles files;
    ASSERT_EQ(files.DOWNLOAD(server_url() + "/test/ok/512000", L"C:\\Pack\\zrx25.W02"), FetchOutcome::Complete);
    EXPECT_TRUE(files.FichierExiste(L"c:\\Pack\\zrx25.W02"));
    EXPECT_EQ(read_file(L"C:\\Pack\\zrx25.W02"), pattern_bytes(512000));
    EXPECT_EQ(folder_entries(L"C:\\Pack"), std::vector<std::wstring>{L"zrx25.W02"});
}

}  // namespace
}  // namespace pf::fetch
