// The General page: edits the control's BackStyle, BorderStyle and Filename.
#pragma once

#include "property_page.h"

namespace animview::pages {

HRESULT create_general_page(REFIID iid, void** out);

}  // namespace animview::pages
