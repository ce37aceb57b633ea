// The library's own colour page, named by the control where the platform has no standard
// colour page: edits BackColor with a choice of colours and of the system's colours.
#pragma once

#include "property_page.h"

namespace animview::pages {

HRESULT create_colour_page(REFIID iid, void** out);

}  // namespace animview::pages
