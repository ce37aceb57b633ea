// Reference counting shared by the library's COM objects, and their creation.
#pragma once

#include <windows.h>

#include <new>
#include <utility>

#include "com_ptr.h"
#include "module.h"

namespace animview::control {

// Counts references for one object and keeps the module loaded while the object lives.
// An object starts with one reference, owned by whoever created it.
class RefCount {
 public:
  ULONG add() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
  ULONG release() { return static_cast<ULONG>(InterlockedDecrement(&refs_)); }

 private:
  LONG refs_ = 1;
  module::Lock lock_;
};

// Creates a COM object and hands its first reference to the caller. The object deletes
// itself in its Release, the one place where that is done.
template <class T, class... Args>
ComPtr<T> make_object(Args&&... args) {
  return ComPtr<T>::adopt(new (std::nothrow) T(std::forward<Args>(args)...));
}

// The create function of a class factory for a class that needs nothing but constructing:
// a new object, handed out as `iid`.
template <class T>
HRESULT create_object(REFIID iid, void** out) {
  const ComPtr<T> object = make_object<T>();
  if (!object) return E_OUTOFMEMORY;
  return object->QueryInterface(iid, out);
}

}  // namespace animview::control
