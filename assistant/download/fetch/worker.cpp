#include "fetch/worker.h"

#include "fetch/handles.h"
#include "fetch/windows_error.h"

#include <exception>
#include <thread>

namespace pf::fetch {

void run_on_worker(const std::function<void()>& work, const WaitPolicy& wait) {
    const UniqueHandle done(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!done) throw windows_error(::GetLastError(), L"CreateEventW");

    std::exception_ptr failure;
    {
        // Joined when this scope ends, also when the wait itself throws.
        std::jthread worker([&] {
            try {
                work();
            } catch (...) {
                failure = std::current_exception();
            }
            ::SetEvent(done.get());
        });
        wait(done.get());
    }
    if (failure) std::rethrow_exception(failure);
}

}  // namespace pf::fetch
