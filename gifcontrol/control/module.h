// The library's own state that COM asks for: its instance handle and the count of live
// objects and server locks that decides whether it can be unloaded.
#pragma once

#include <windows.h>

#include <string>

namespace animview::control::module {

HINSTANCE instance();
// Called once by DllMain.
void set_instance(HINSTANCE instance);
// Full path of the library file, as registered under InprocServer32.
std::wstring path();

void lock();
void unlock();
long lock_count();

// Holds one module lock for as long as it lives: a member of every COM object.
class Lock {
 public:
  Lock() { lock(); }
  ~Lock() { unlock(); }
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;
};

}  // namespace animview::control::module
