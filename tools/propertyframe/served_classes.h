// Classes of a library that is loaded but not registered, served to CoCreateInstance for
// as long as the object lives, as registration would: a property frame creates its pages
// by class.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <vector>

namespace animview::frame {

class ServedClasses {
 public:
  // Each class of `clsids` that `library`'s DllGetClassObject serves; served() tells how
  // many were. A null library serves nothing.
  ServedClasses(HMODULE library, const std::vector<CLSID>& clsids);
  ~ServedClasses();
  ServedClasses(const ServedClasses&) = delete;
  ServedClasses& operator=(const ServedClasses&) = delete;

  std::size_t served() const { return cookies_.size(); }

 private:
  std::vector<DWORD> cookies_;
};

}  // namespace animview::frame
