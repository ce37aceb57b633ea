#include "type_library.h"

#include <oleauto.h>

#include "module.h"

namespace animview::control {

HRESULT load_type_library(ComPtr<ITypeLib>& library) {
  // Not through the registry: the control works as well when its host loads the library
  // file directly, unregistered.
  return LoadTypeLibEx(module::path().c_str(), REGKIND_NONE, library.put());
}

HRESULT load_type_info(REFGUID guid, ComPtr<ITypeInfo>& info) {
  ComPtr<ITypeLib> library;
  if (const HRESULT hr = load_type_library(library); FAILED(hr)) return hr;
  return library->GetTypeInfoOfGuid(guid, info.put());
}

}  // namespace animview::control
