// The class factory that DllGetClassObject hands out for each creatable class.
#pragma once

#include <unknwn.h>

#include "com_ptr.h"

namespace animview::control {

// Creates one object of a class (no aggregation) and asks it for `iid`.
using CreateFunction = HRESULT (*)(REFIID iid, void** out);

ComPtr<IClassFactory> make_class_factory(CreateFunction create);

}  // namespace animview::control
