#pragma once
// The screens that lead to the download screen, each as it stands when created:
// the splash, the picture screen, the introduction, the black background and
// the welcome screen.

#include "layouts/layout.h"
#include "startup/screen_flow.h"

namespace pf::layout {

const ScreenSpec& form14_layout();
const ScreenSpec& form2_layout();
const ScreenSpec& frmini_layout();
const ScreenSpec& back_layout();
const ScreenSpec& form1_layout();

// The table of any screen of the chain, the download screen included.
const ScreenSpec& layout_of(ScreenId screen);

}  // namespace pf::layout
