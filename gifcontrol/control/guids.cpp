// Defines the GUIDs that the generated header declares (the library, its classes and
// interfaces), once for the whole library.
#include <initguid.h>

#include "animview_h.h"
