#pragma once
// The download screen Form9 as it stands when created.

#include "layouts/layout.h"

namespace pf::layout {

const ScreenSpec& form9_layout();

// Top of a status line inside Frame1: 240 twips apart, the last one 360 below its neighbour.
int status_line_top(int entry_index);

}  // namespace pf::layout
