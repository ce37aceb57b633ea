#include "fetch/pumping_wait.h"

#include "fetch/windows_error.h"

namespace pf::fetch {

namespace {

// Even with nothing to paint, look at the queue this often: the system judges
// a window hung by how long its thread has gone without doing so.
constexpr DWORD queue_check_ms = 200;

}  // namespace

void wait_pumping_paint(HANDLE done) {
    for (;;) {
        const DWORD woke = ::MsgWaitForMultipleObjectsEx(1, &done, queue_check_ms, QS_PAINT | QS_SENDMESSAGE,
                                                         MWMO_INPUTAVAILABLE);
        if (woke == WAIT_OBJECT_0) return;
        if (woke == WAIT_FAILED) throw windows_error(::GetLastError(), L"MsgWaitForMultipleObjectsEx");
        // Sent messages are delivered inside PeekMessageW itself. One paint per
        // round: a window that never validates cannot keep us from `done`.
        MSG message;
        if (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT | PM_QS_SENDMESSAGE)) {
            ::DispatchMessageW(&message);
        }
    }
}

}  // namespace pf::fetch
