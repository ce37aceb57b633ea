#include "toolkit/win32/dialogs.h"

#include "toolkit/win32/application.h"
#include "toolkit/win32/win32_error.h"

#include <windows.h>

#include <string>

namespace pf::win32 {

int Dialogs::message_box(std::wstring_view prompt, int style, std::optional<std::wstring_view> title) {
    const std::wstring text(prompt);
    const std::wstring caption(title.value_or(application_title));
    // No owner and task-modal: every screen of the program waits for the answer,
    // not only the one in front.
    const UINT flags = static_cast<UINT>(style) | MB_TASKMODAL | MB_SETFOREGROUND;
    const int answer = ::MessageBoxW(nullptr, text.c_str(), caption.c_str(), flags);
    if (answer == 0) throw_last_error(L"MessageBoxW", caption);
    return answer;
}

}  // namespace pf::win32
