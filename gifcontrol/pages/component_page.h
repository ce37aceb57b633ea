// The Component page: tells the developer what the control is.
#pragma once

#include "property_page.h"

namespace animview::pages {

HRESULT create_component_page(REFIID iid, void** out);

}  // namespace animview::pages
