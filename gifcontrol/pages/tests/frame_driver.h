// Driving a property frame the way a user does while the frame runs its modal loop on the
// test's thread: the test's actions run on a second thread and reach the frame's windows
// as messages.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "harness.h"
#include "served_classes.h"

namespace animview::pages::testing {

// The page classes served to CoCreateInstance from the library under test, for as long as
// the object lives, without touching the registry.
class ServedPages {
 public:
  explicit ServedPages(const control::testing::Library& library);

 private:
  frame::ServedClasses served_;
};

// Runs `show` (which shows a frame modally) on this thread and `drive` on a second thread
// once a frame is on view. Whatever `drive` leaves open is cancelled.
void drive_frame(const std::function<void()>& show, const std::function<void(HWND frame)>& drive);

// Waits up to ten seconds for `done`; false when it never came.
bool wait_until(const std::function<bool()>& done);

// A button of `dialog` by its caption, with or without its mnemonic.
HWND dialog_button(HWND dialog, const std::wstring& caption);
// Clicks a button as the mouse does: the click is queued for the frame's thread.
void click(HWND button);
// The captions of the frame's tabs, one per page.
std::vector<std::wstring> tab_captions(HWND tabs);
// The message box `owner` shows, waited for; nullptr when none came.
HWND wait_for_message_box(HWND owner);
// The text of a message box.
std::wstring message_text(HWND box);
// Where ANIMVIEW_PAGES_SHOTS names a folder, `window` as it looks is kept there as a
// bitmap file for a person to look at.
void save_screenshot(HWND window, const wchar_t* name);

}  // namespace animview::pages::testing
