#include "module.h"

#include <vector>

namespace animview::control::module {
namespace {
// What COM demands of an in-process server, and nothing else.
HINSTANCE g_instance = nullptr;
LONG g_locks = 0;
}  // namespace

void set_instance(HINSTANCE instance) { g_instance = instance; }
HINSTANCE instance() { return g_instance; }

std::wstring path() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(g_instance, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) return std::wstring(buffer.data(), n);
    buffer.resize(buffer.size() * 2);
  }
}

void lock() { InterlockedIncrement(&g_locks); }
void unlock() { InterlockedDecrement(&g_locks); }
long lock_count() { return InterlockedCompareExchange(&g_locks, 0, 0); }

}  // namespace animview::control::module
