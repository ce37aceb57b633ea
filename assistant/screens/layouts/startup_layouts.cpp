#include "layouts/startup_layouts.h"

#include "layouts/form9_layout.h"

#include <stdexcept>

namespace pf::layout {

const ScreenSpec& layout_of(ScreenId screen) {
    switch (screen) {
    case ScreenId::Form14: return form14_layout();
    case ScreenId::Form2: return form2_layout();
    case ScreenId::frmini: return frmini_layout();
    case ScreenId::BACK: return back_layout();
    case ScreenId::Form1: return form1_layout();
    case ScreenId::Form9: return form9_layout();
    }
    throw std::invalid_argument("no layout for screen number " + std::to_string(static_cast<int>(screen)));
}

}  // namespace pf::layout
