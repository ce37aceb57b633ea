#pragma once
// A mouse press or move on a screen's own background, as its handlers see it.

namespace pf {

struct MouseEvent {
    int button = 0;  // a press: the button pressed; a move: every button held (1 left, 2 right, 4 middle, summed)
    int shift = 0;   // keys held: 1 Shift, 2 Ctrl, 4 Alt, summed
    double x = 0;    // twips from the client area's top-left corner
    double y = 0;
};

}  // namespace pf
