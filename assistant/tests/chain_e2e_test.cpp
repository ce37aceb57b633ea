// packfetch's start-up chain, quitting and dragging under Wine, driven from
// another process as the person installing would: the splash spelling the
// name, the introduction, the welcome screen, "Continuer >>>", the quit
// questions, and the download screen moved by the mouse.
#include "e2e_support.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace pf::e2e {
namespace {

using namespace std::chrono_literals;
using namespace pf::ui;

constexpr COLORREF orange = 33023;
constexpr std::wstring_view splash_title_line = L"INITIALISATION EN COURS ...";
constexpr std::wstring_view picture_screen_line = L"Chargement en cours ...";
constexpr std::wstring_view quit_question = L"Voulez vous Quitter l'assistant de QUORVELANTIX ?";
constexpr std::wstring_view quit_title = L"QUORVELANTIX LUMIRAND";
constexpr std::wstring_view resume_hint =
    L" L'installation pourra reprendre manuellement en cliquant juste sur l'icone dans votre Bureau ";
constexpr std::wstring_view resume_title = L" ASSISTANT QUORVELANTIX ";
constexpr std::wstring_view letters = L"QUORVELANTIX";

std::string narrow(std::wstring_view text) { return {text.begin(), text.end()}; }

class ChainEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        remove_pack_folder();
        set_faults("");
    }

    LaunchedProcess packfetch{env(L"PF_PACKFETCH_EXE")};
    const DWORD pid = packfetch.pid();
    // Whether the download screen was ever seen on view.
    bool download_seen = false;

    HWND hidden_download_screen() const { return find_top_level(pid, download_title, false); }

    // Polls as often as the splash's ticks come, noting the download screen's visibility.
    template <typename Done>
    bool watch_until(Done done, std::chrono::milliseconds timeout) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < deadline) {
            if (find_top_level(pid, download_title)) download_seen = true;
            if (done()) return true;
            Sleep(2);
        }
        return false;
    }

    HWND wait_for_welcome() {
        HWND welcome = nullptr;
        watch_until([&] { return (welcome = find_top_level(pid, welcome_title)) != nullptr; }, 60s);
        return welcome;
    }

    // Answers the quit question and, after Yes, the information box; returns what both said.
    std::pair<MessageBoxView, std::optional<MessageBoxView>> answer_quit(HWND button, int answer) {
        click(button);
        const std::optional<MessageBoxView> question = wait_for_message_box(pid, 10s);
        if (!question) throw std::runtime_error("no quit question");
        press(*question, answer);
        if (answer != IDYES) return {*question, std::nullopt};
        std::optional<MessageBoxView> hint;
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (std::chrono::steady_clock::now() < deadline) {
            hint = find_message_box(pid);
            if (hint && hint->window != question->window && hint->title == resume_title) break;
            hint.reset();
            Sleep(20);
        }
        return {*question, hint};
    }

    void quit_with_yes(HWND button) {
        const auto [question, hint] = answer_quit(button, IDYES);
        ASSERT_TRUE(hint.has_value()) << "no information box after Yes";
        press(*hint, IDOK);
        EXPECT_TRUE(packfetch.wait(15s).has_value()) << "the program did not end after the information box";
    }
};

TEST_F(ChainEndToEnd, SplashIntroductionWelcomeThenContinueShowsTheDownloadScreenAndStartsItsScript) {
    // Splash: the twelve letters light up orange, left to right.
    HWND splash = nullptr;
    ASSERT_TRUE(watch_until([&] { return (splash = screen_holding(pid, splash_title_line)) != nullptr; }, 60s));
    std::array<HWND, 12> labels{};
    for (std::size_t i = 0; i < letters.size(); ++i) {
        labels[i] = child_with_text(splash, letters.substr(i, 1));
        ASSERT_NE(labels[i], nullptr) << "no letter " << narrow(letters.substr(i, 1));
    }
    EXPECT_NE(fore_color(labels.back()), orange) << "the last letter is not lit at the start";
    std::array<int, 12> lit_at{};
    lit_at.fill(-1);
    int poll = 0;
    watch_until(
        [&] {
            if (!IsWindow(splash)) return true;
            ++poll;
            for (std::size_t i = 0; i < labels.size(); ++i)
                if (lit_at[i] < 0 && fore_color(labels[i]) == orange) lit_at[i] = poll;
            return false;
        },
        30s);
    for (std::size_t i = 0; i < lit_at.size(); ++i) EXPECT_GE(lit_at[i], 0) << "letter " << i + 1 << " never lit";
    for (std::size_t i = 1; i < lit_at.size(); ++i)
        EXPECT_LE(lit_at[i - 1], lit_at[i]) << "letter " << i << " lit after letter " << i + 1;
    EXPECT_LT(lit_at.front(), lit_at.back()) << "the letters light one after another, not at once";

    // Introduction in front of the picture screen; the splash is gone for good.
    HWND introduction = nullptr;
    ASSERT_TRUE(watch_until([&] { return (introduction = find_top_level(pid, introduction_title)) != nullptr; }, 30s));
    const HWND picture = screen_holding(pid, picture_screen_line);
    ASSERT_NE(picture, nullptr) << "the picture screen is on view with the introduction";
    EXPECT_FALSE(IsWindow(splash)) << "the splash was unloaded";
    const int early = progress_position(introduction);
    Sleep(200);
    if (IsWindow(introduction)) {
        EXPECT_GT(progress_position(introduction), early) << "the introduction's bar fills";
    }
    screenshot(L"chain", L"introduction");

    // Welcome in front of the maximized background; the download screen exists, hidden.
    const HWND welcome = wait_for_welcome();
    ASSERT_NE(welcome, nullptr);
    const HWND background = find_top_level(pid, background_title);
    ASSERT_NE(background, nullptr) << "the black background is on view";
    EXPECT_NE(IsZoomed(background), FALSE);
    EXPECT_FALSE(IsWindow(introduction));
    EXPECT_FALSE(IsWindow(picture));
    const HWND download = hidden_download_screen();
    ASSERT_NE(download, nullptr) << "the download screen is loaded before Continuer";
    EXPECT_FALSE(is_visible(download));
    Sleep(500);
    EXPECT_EQ(progress_position(download), 0) << "its script waits for Continuer";
    EXPECT_NE(child_with_text(download, L"0%"), nullptr);
    screenshot(L"chain", L"welcome");

    click(child_with_text(welcome, continue_caption));
    ASSERT_TRUE(watch_until([&] { return is_visible(download); }, 10s));
    EXPECT_EQ(find_top_level(pid, download_title), download) << "the same screen, now on view";
    EXPECT_TRUE(watch_until([&] { return !IsWindow(welcome); }, 5s)) << "the welcome screen was unloaded";
    EXPECT_TRUE(is_visible(background)) << "the background stays behind the download screen";
    EXPECT_TRUE(watch_until([&] { return progress_position(download) > 0; }, 10s)) << "its script runs";
    screenshot(L"chain", L"download");

    quit_with_yes(child_with_text(download, L"Annuler / Quitter"));
}

TEST_F(ChainEndToEnd, QuitterAsksThenNoChangesNothingAndYesEndsWithoutTheDownloadScreen) {
    const HWND welcome = wait_for_welcome();
    ASSERT_NE(welcome, nullptr);
    const HWND quit = child_with_text(welcome, L"Quitter");
    ASSERT_NE(quit, nullptr);

    const auto [first, none] = answer_quit(quit, IDNO);
    EXPECT_EQ(first.title, quit_title);
    EXPECT_EQ(first.text, quit_question);
    Sleep(300);
    EXPECT_TRUE(is_visible(welcome)) << "No leaves the welcome screen as it was";
    EXPECT_FALSE(find_message_box(pid).has_value());
    EXPECT_FALSE(packfetch.wait(0ms).has_value());

    const auto [question, hint] = answer_quit(quit, IDYES);
    EXPECT_EQ(question.text, quit_question);
    ASSERT_TRUE(hint.has_value()) << "no information box after Yes";
    EXPECT_EQ(hint->text, resume_hint);
    EXPECT_EQ(hint->title, resume_title);
    EXPECT_FALSE(packfetch.wait(300ms).has_value()) << "the program waits for the information box";
    const HWND download = hidden_download_screen();
    ASSERT_NE(download, nullptr) << "loaded, hidden, behind the welcome screen";
    EXPECT_FALSE(is_visible(download));
    screenshot(L"quit", L"information");
    press(*hint, IDOK);
    const std::optional<DWORD> code = packfetch.wait(15s);
    ASSERT_TRUE(code.has_value()) << "the program did not end";
    EXPECT_EQ(*code, 0u);
    EXPECT_FALSE(download_seen) << "the download screen was never on view";
}

TEST_F(ChainEndToEnd, AnnulerQuitterThenNoLetsTheScriptGoOnFromWhereItWas) {
    const HWND download = continue_to_download(pid);
    ASSERT_TRUE(watch_until([&] { return progress_position(download) > 100; }, 30s));
    const HWND quit = child_with_text(download, L"Annuler / Quitter");
    ASSERT_NE(quit, nullptr);

    click(quit);
    const std::optional<MessageBoxView> question = wait_for_message_box(pid, 10s);
    ASSERT_TRUE(question.has_value());
    EXPECT_EQ(question->text, quit_question);
    const int asked_at = progress_position(download);
    EXPECT_TRUE(watch_until([&] { return progress_position(download) > asked_at; }, 10s))
        << "the script goes on behind the question";
    press(*question, IDNO);
    const int answered_at = progress_position(download);
    EXPECT_GT(answered_at, asked_at);
    EXPECT_TRUE(watch_until([&] { return progress_position(download) > answered_at; }, 20s))
        << "after No the script keeps advancing";
    EXPECT_GE(progress_position(download), answered_at) << "from where it was, not from the start";
    EXPECT_FALSE(packfetch.wait(0ms).has_value());

    quit_with_yes(quit);
}

// Real mouse input: press on the screen's own background, move, release.
void drag(POINT from, POINT to) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    const auto at = [&](POINT point, DWORD flags) {
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dx = MulDiv(point.x, 65535, width - 1);
        input.mi.dy = MulDiv(point.y, 65535, height - 1);
        input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags;
        SendInput(1, &input, sizeof input);
        Sleep(150);
    };
    at(from, 0);
    at(from, MOUSEEVENTF_LEFTDOWN);
    at(to, 0);
    at(to, MOUSEEVENTF_LEFTUP);
}

TEST_F(ChainEndToEnd, DraggingTheDownloadScreenByItsBackgroundSnapsToTheEdges) {
    const HWND download = continue_to_download(pid);
    Sleep(500);
    RECT start{};
    GetWindowRect(download, &start);
    ASSERT_EQ(start.left, 690 / 15);
    ASSERT_EQ(start.top, 2625 / 15);
    const int width = start.right - start.left;
    const int height = start.bottom - start.top;
    const int display_width = GetSystemMetrics(SM_CXSCREEN);
    const int display_height = GetSystemMetrics(SM_CYSCREEN);
    // A point of the screen's own background, clear of its labels and pictures.
    const POINT grab{300, 30};

    const struct {
        const char* what;
        POINT to;        // where the window's corner would go by the mouse alone
        POINT expected;  // where it ends
    } drags[] = {
        {"within 19 pixels of the top-left corner: snaps to it", {10, 10}, {0, 0}},
        {"20 pixels and more from every edge: follows the mouse", {25, 40}, {25, 40}},
        {"near the right and bottom edges: snaps to them",
         {display_width - width - 3, display_height - height + 5},
         {display_width - width, display_height - height}},
    };
    for (const auto& move : drags) {
        SCOPED_TRACE(move.what);
        RECT before{};
        GetWindowRect(download, &before);
        drag({before.left + grab.x, before.top + grab.y}, {move.to.x + grab.x, move.to.y + grab.y});
        Sleep(200);
        RECT after{};
        GetWindowRect(download, &after);
        EXPECT_EQ(after.left, move.expected.x);
        EXPECT_EQ(after.top, move.expected.y);
    }
    screenshot(L"drag", L"snapped");
    quit_with_yes(child_with_text(download, L"Annuler / Quitter"));
}

}  // namespace
}  // namespace pf::e2e
