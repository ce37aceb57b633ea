// The library's own type library (its TYPELIB resource), read from the library file.
#pragma once

#include <oaidl.h>

#include "com_ptr.h"

namespace animview::control {

HRESULT load_type_library(ComPtr<ITypeLib>& library);
HRESULT load_type_info(REFGUID guid, ComPtr<ITypeInfo>& info);

}  // namespace animview::control
