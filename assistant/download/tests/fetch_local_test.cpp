// The fetch's pieces that need no server: the file probe, the wait that keeps
// the screen painting, and the worker that carries exceptions back.
#include "fetch/handles.h"
#include "fetch/pumping_wait.h"
#include "fetch/wininet_package_files.h"
#include "fetch/worker.h"
#include "fetch_test_support.h"
#include "toolkit/runtime_error.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace pf::fetch {
namespace {

using testing::RecordingWindow;
using testing::RefusingPort;
using testing::ScratchFolder;
using testing::ScreenActivity;

double thread_cpu_ms() {
    FILETIME created, exited, kernel, user;
    ::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user);
    const auto ms = [](const FILETIME& t) {
        return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e4;
    };
    return ms(kernel) + ms(user);
}

TEST(FichierExiste, AnswersForEveryKindOfPath) {
    ScratchFolder scratch;
    testing::write_file(scratch / L"plain.W02", "data");
    testing::write_file(scratch / L"hidden.W03", "data", FILE_ATTRIBUTE_HIDDEN);
    testing::write_file(scratch / L"readonly.W04", "data", FILE_ATTRIBUTE_READONLY);
    testing::write_file(scratch / L"system.W05", "data", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN);
    testing::write_file(scratch / L"empty.W06", "");
    testing::write_file(scratch / L"Téléchargé.W07", "data");
    ::CreateDirectoryW((scratch / L"Pack").c_str(), nullptr);

    std::wstring other_drive_case = scratch / L"plain.W02";
    other_drive_case[0] = static_cast<wchar_t>(other_drive_case[0] ^ 0x20);  // c:\ for C:\ and back

    const struct {
        const char* what;
        std::wstring path;
        bool expected;
    } cases[] = {
        {"existing file", scratch / L"plain.W02", true},
        {"hidden file", scratch / L"hidden.W03", true},
        {"read-only file", scratch / L"readonly.W04", true},
        {"system file", scratch / L"system.W05", true},
        {"empty file", scratch / L"empty.W06", true},
        {"accented name", scratch / L"Téléchargé.W07", true},
        {"drive letter in the other case", other_drive_case, true},
        {"missing file", scratch / L"zrx25.W08", false},
        {"a folder", scratch / L"Pack", false},
        {"a folder with a trailing backslash", scratch / L"Pack\\", false},
        {"path in a missing folder", scratch / L"absent\\zrx25.W02", false},
        {"invalid name", scratch / L"zrx25?.W02", false},
        {"empty path", L"", false},
        {"existing file followed by a NUL and more", scratch / std::wstring(L"plain.W02\0x", 11), false},
    };
    WinInetPackageFiles files;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(files.FichierExiste(c.path), c.expected);
    }
}

TEST(PumpingWait, PaintsAndAnswersButKeepsTimerAndInputQueued) {
    RecordingWindow window;
    ::SetTimer(window.handle(), 1, 10, nullptr);
    const UniqueHandle done(::CreateEventW(nullptr, TRUE, FALSE, nullptr));

    window.set_busy(true);
    ScreenActivity activity(window.handle());
    std::jthread finisher([&] {
        ::Sleep(600);
        ::SetEvent(done.get());
    });
    const ULONGLONG start = ::GetTickCount64();
    const double cpu_before = thread_cpu_ms();
    wait_pumping_paint(done.get());
    const double cpu_used = thread_cpu_ms() - cpu_before;
    const ULONGLONG waited = ::GetTickCount64() - start;
    activity.stop();
    window.set_busy(false);

    EXPECT_GE(waited, 550u) << "returned before the work was done";
    // The queued timer and key press must not wake the wait over and over.
    EXPECT_LT(cpu_used, 0.25 * static_cast<double>(waited)) << "the wait spun on the queue";
    EXPECT_GE(window.while_busy().paints, 3) << "the screen did not repaint during the wait";
    EXPECT_EQ(window.while_busy().sent_probes, 1);
    EXPECT_TRUE(activity.sent_message_answered()) << "a sent message went unanswered: 'not responding'";
    EXPECT_EQ(window.while_busy().timer_ticks, 0) << "a timer tick ran during the wait";
    EXPECT_EQ(window.while_busy().key_downs, 0) << "input was handled during the wait";

    // The queued timer and the key press are delivered once the wait is over.
    window.pump_for(200);
    EXPECT_GT(window.while_idle().timer_ticks, 0);
    EXPECT_EQ(window.while_idle().key_downs, 1);
    ::KillTimer(window.handle(), 1);
}

TEST(PumpingWait, ReturnsAtOnceWhenAlreadyDone) {
    const UniqueHandle done(::CreateEventW(nullptr, TRUE, TRUE, nullptr));
    const ULONGLONG start = ::GetTickCount64();
    wait_pumping_paint(done.get());
    EXPECT_LT(::GetTickCount64() - start, 150u);
}

TEST(Worker, RunsTheWorkOnAnotherThreadAndWaitsByThePolicy) {
    const DWORD caller = ::GetCurrentThreadId();
    DWORD worker_thread = caller;
    int waits = 0;
    bool done_when_wait_returned = false;
    run_on_worker([&] { worker_thread = ::GetCurrentThreadId(); },
                  [&](HANDLE done) {
                      ++waits;
                      ::WaitForSingleObject(done, INFINITE);
                      done_when_wait_returned = worker_thread != caller;
                  });
    EXPECT_NE(worker_thread, caller);
    EXPECT_EQ(waits, 1);
    EXPECT_TRUE(done_when_wait_returned);
}

TEST(Worker, ThrowsTheWorkersErrorOnTheCallersThread) {
    try {
        run_on_worker([] { throw RuntimeError(5, L"Accès refusé.", L"C:\\Pack\\zrx25.W02"); },
                      wait_pumping_paint);
        FAIL() << "no exception reached the caller";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.code(), 5);
        EXPECT_EQ(error.description(), L"Accès refusé.");
        EXPECT_EQ(error.where(), L"C:\\Pack\\zrx25.W02");
    }
}

TEST(WinInetPackageFiles, WaitsThroughTheInjectedPolicy) {
    RefusingPort refusing;
    ScratchFolder scratch;
    int waits = 0;
    WinInetPackageFiles files([&](HANDLE done) {
        ++waits;
        ::WaitForSingleObject(done, INFINITE);
    });
    const std::string url = "http://127.0.0.1:" + std::to_string(refusing.port()) + "/zrx12/Pack2/zrx25.W02";
    EXPECT_EQ(files.DOWNLOAD(url, scratch / L"zrx25.W02"), FetchOutcome::Failed);
    EXPECT_EQ(waits, 1);
    EXPECT_TRUE(testing::folder_entries(scratch.path()).empty());
}

}  // namespace
}  // namespace pf::fetch
