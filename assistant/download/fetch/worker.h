#pragma once
// Runs a piece of work on a thread of the process's thread pool while the
// calling thread waits by a chosen policy; whatever the work throws is thrown
// again on the caller's thread.

#include "fetch/pumping_wait.h"

#include <functional>

namespace pf::fetch {

void run_on_worker(const std::function<void()>& work, const WaitPolicy& wait);

}  // namespace pf::fetch
