// The top-level handler: an error escaping a tick, click or mouse handler is
// caught inside the window procedure, reported with the standard error
// message naming it, and ends the program; no handler runs after it.

#include "runtime_test_support.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

namespace pf::testing {
namespace {

using layout::ControlKind;

struct Thrown {
    const char* what;
    std::function<void()> raise;
    std::vector<std::wstring> expected_parts;
};

const std::vector<Thrown>& thrown_kinds() {
    static const std::vector<Thrown> kinds = {
        {"RuntimeError",
         [] { throw RuntimeError(53, L"Fichier introuvable", L"c:\\Pack\\zrx25.exe"); },
         {L"Erreur d'exécution 53", L"Fichier introuvable", L"c:\\Pack\\zrx25.exe"}},
        {"std::runtime_error", [] { throw std::runtime_error("disque plein"); },
         {L"Erreur d'exécution", L"disque plein"}},
        {"std::bad_alloc", [] { throw std::bad_alloc(); }, {L"Erreur d'exécution 7", L"Mémoire insuffisante"}},
        {"anything else", [] { throw 42; }, {L"Erreur d'exécution", L"erreur inconnue"}},
    };
    return kinds;
}

void expect_reported(const RecordingApplication& app, const Thrown& kind) {
    ASSERT_EQ(app.reports.size(), 1u);
    for (const std::wstring& part : kind.expected_parts)
        EXPECT_NE(app.reports.front().find(part), std::wstring::npos) << std::string(part.begin(), part.end());
    EXPECT_EQ(app.ends, 1);
}

TEST(GuardTest, ErrorInATickIsReportedThenTheProgramEnds) {
    for (const Thrown& kind : thrown_kinds()) {
        SCOPED_TRACE(kind.what);
        RecordingApplication app;
        win32::Screen screen(app.get(), test_screen({{.name = "Clock", .kind = ControlKind::timer,
                                                      .enabled = true, .interval = 1},
                                                     {.name = "Other", .kind = ControlKind::timer,
                                                      .enabled = true, .interval = 1}}));
        int ticks = 0;
        int other_ticks = 0;
        screen.timer("Clock").on_tick([&] {
            ++ticks;
            kind.raise();
        });
        screen.timer("Other").on_tick([&] { ++other_ticks; });
        EXPECT_TRUE(pump_until([&] { return !app.reports.empty(); }, 3s));
        const int others_then = other_ticks;
        pump_for(200ms);
        expect_reported(app, kind);
        EXPECT_EQ(ticks, 1) << "no handler runs after the error";
        EXPECT_EQ(other_ticks, others_then);
        EXPECT_TRUE(app.get().failed());
    }
}

TEST(GuardTest, ErrorInAClickIsCaughtBeforeItLeavesTheWindowProcedure) {
    const Thrown& kind = thrown_kinds().front();
    RecordingApplication app;
    win32::Screen screen(app.get(), test_screen({{.name = "Go", .kind = ControlKind::button, .text = L"Go",
                                                  .place = {150, 150, 1500, 375}, .tab_index = 0}}));
    bool after_raise = false;
    screen.button("Go").on_click([&] {
        kind.raise();
        after_raise = true;
    });
    // BM_CLICK goes through the button's and the screen's window procedures;
    // an exception crossing them would end this test program instead.
    ::SendMessageW(screen.button("Go").window(), BM_CLICK, 0, 0);
    expect_reported(app, kind);
    EXPECT_FALSE(after_raise);
}

TEST(GuardTest, ErrorInAMouseHandlerIsReported) {
    const Thrown& kind = thrown_kinds()[1];
    RecordingApplication app;
    win32::Screen screen(app.get(), test_screen({}));
    screen.on_mouse_down([&](const MouseEvent&) { kind.raise(); });
    ::SendMessageW(screen.window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    ::SendMessageW(screen.window(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    expect_reported(app, kind);
}

TEST(GuardTest, StandardMessageNamesTheErrorAndWhere) {
    const std::wstring message = win32::standard_error_message(std::make_exception_ptr(
        RuntimeError(380, L"Valeur de propriété non valide", L"UpdateStatus")));
    EXPECT_EQ(message, L"Erreur d'exécution 380 :\nValeur de propriété non valide\n\nUpdateStatus");
}

}  // namespace
}  // namespace pf::testing
