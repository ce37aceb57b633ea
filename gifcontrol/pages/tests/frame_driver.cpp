#include "frame_driver.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <thread>

#include "ids.h"
#include "page_harness.h"
#include "page_ids.h"
#include "uidriver.h"

namespace animview::pages::testing {
namespace {

struct FoundDialog {
  HWND owner;  // nullptr: any visible dialog of the thread
  HWND found;
};

BOOL CALLBACK take_visible_dialog(HWND hwnd, LPARAM out) {
  auto* search = reinterpret_cast<FoundDialog*>(out);
  if (IsWindowVisible(hwnd) && class_name(hwnd) == L"#32770" &&
      (!search->owner || GetWindow(hwnd, GW_OWNER) == search->owner)) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

HWND wait_for_dialog(DWORD thread, HWND owner) {
  FoundDialog search{owner, nullptr};
  wait_until([&] {
    EnumThreadWindows(thread, &take_visible_dialog, reinterpret_cast<LPARAM>(&search));
    return search.found != nullptr;
  });
  return search.found;
}

}  // namespace

ServedPages::ServedPages(const control::testing::Library& library)
    : served_(library.module(), {CLSID_General, CLSID_Component, control::kOwnColorPage}) {
  if (served_.served() != 3) ADD_FAILURE() << "page classes not served";
}

void drive_frame(const std::function<void()>& show, const std::function<void(HWND frame)>& drive) {
  const DWORD ui_thread = GetCurrentThreadId();
  std::thread driver([&] {
    HWND frame = wait_for_dialog(ui_thread, nullptr);
    if (!frame) {
      ADD_FAILURE() << "no frame came on view";
      return;
    }
    drive(frame);
    // The frame may be closing already on a click of the drive's own. Nothing may be
    // sent to it now: a message sent while its thread destroys the frame and goes on
    // to join this one would wait for ever. Posting to a window that is gone does
    // nothing.
    PostMessageW(frame, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(frame, IDCANCEL)));
  });
  show();
  driver.join();
}

bool wait_until(const std::function<bool()>& done) {
  for (int i = 0; i < 1000; ++i) {
    if (done()) return true;
    Sleep(10);
  }
  return false;
}

HWND dialog_button(HWND dialog, const std::wstring& caption) {
  for (HWND child : children(dialog)) {
    std::wstring text = window_text(child);
    std::erase(text, L'&');
    if (class_name(child) == L"Button" && text == caption) return child;
  }
  ADD_FAILURE() << "no button " << std::string(caption.begin(), caption.end());
  return nullptr;
}

// Posted rather than sent: a modal loop looks at its end flag only when GetMessage
// returns, which it does for queued messages and never for sent ones.
void click(HWND button) {
  PostMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
               reinterpret_cast<LPARAM>(button));
}

std::vector<std::wstring> tab_captions(HWND tabs) {
  std::vector<std::wstring> captions;
  const auto count = SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t text[128] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 128;
    SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    captions.emplace_back(text);
  }
  return captions;
}

HWND wait_for_message_box(HWND owner) { return wait_for_dialog(GetWindowThreadProcessId(owner, nullptr), owner); }

// The message box's prompt is its static text with identifier 0xFFFF.
std::wstring message_text(HWND box) { return window_text(GetDlgItem(box, 0xFFFF)); }

void save_screenshot(HWND window, const wchar_t* name) {
  wchar_t folder[MAX_PATH] = {};
  if (!GetEnvironmentVariableW(L"ANIMVIEW_PAGES_SHOTS", folder, MAX_PATH)) return;
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Sleep(300);
  RECT rect{};
  GetWindowRect(window, &rect);
  pf::ui::save_screenshot(std::wstring(folder) + L"\\" + name, &rect);
}

}  // namespace animview::pages::testing
