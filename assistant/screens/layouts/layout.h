#pragma once
// A screen described as data: its window and every control on it, in the units
// the screens are designed in (twips, 0x00BBGGRR colours, fonts by points).
// Toolkits build real windows from these tables; nothing here needs Windows.

#include "toolkit/controls.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pf::layout {

// 1440 twips to the inch, 15 to the pixel at 96 dots per inch.
inline constexpr int twips_per_inch = 1440;

enum class WindowKind {
    borderless,         // no title bar, not resizable; its caption shows on the taskbar only
    fixed_tool_window,  // thin border, small caption bar, no system buttons, not resizable
};

enum class Placement {
    default_place,  // where the system puts new windows
    centred,        // centred on the screen
    fixed,          // Left and Top of the screen design
    maximized,      // shown maximized, covering the screen
};

// Pictures are compiled into the program as resources.
enum class PictureKind {
    none,
    icon,    // an icon group, drawn at the standard icon size
    bitmap,  // a device-independent bitmap, drawn at its own size
    image,   // raw file data (JPEG, GIF, BMP) decoded by the platform's picture loader
};

struct Picture {
    PictureKind kind = PictureKind::none;
    int resource = 0;
};

struct Font {
    std::wstring face;
    float points = 8.25f;
    bool bold = false;
    bool italic = false;
    friend bool operator==(const Font&, const Font&) = default;
};

// The face and size a control shows when its table gives none.
inline const Font& default_font() {
    static const Font font{L"MS Sans Serif", 8.25f, false, false};
    return font;
}

enum class ControlKind { label, button, frame, picture_box, progress_bar, timer, line };

struct Place {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct LineEnds {
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
};

struct ControlSpec {
    std::string name;
    ControlKind kind = ControlKind::label;
    std::wstring text;
    Place place{};       // relative to the container's client area; unused by timers and lines
    LineEnds ends{};     // lines only
    std::string container;  // name of the frame holding the control; empty: the screen
    std::optional<Color> fore_color;  // empty: the system's text colour
    std::optional<Color> back_color;  // empty: the system's face colour (labels are always transparent)
    std::optional<Font> font;         // empty: default_font()
    Picture picture{};                // picture boxes
    bool boxed = false;               // labels: single-line border
    bool auto_size = false;           // labels: fits its caption on one line at every caption change
    bool visible = true;
    bool enabled = true;              // timers: running
    bool border = false;              // picture boxes: standard sunken border
    std::optional<int> tab_index;     // position in the focus order; empty for timers and lines
    int interval = 0;                 // timers, in milliseconds; 0 never fires
    int min = 0;                      // progress bars
    int max = 100;
    int line_width = 1;               // lines, in pixels
};

struct ScreenSpec {
    std::string name;
    std::wstring caption;
    WindowKind kind = WindowKind::borderless;
    Placement placement = Placement::default_place;
    int left = 0;  // outer window position, with Placement::fixed
    int top = 0;
    int client_width = 0;
    int client_height = 0;
    std::optional<Color> back_color;  // empty: the system's face colour
    Picture picture{};                // drawn from the client area's top-left corner, cut at its edges
    Picture icon{};
    std::vector<ControlSpec> controls;  // in the order the screen stores them; later ones lie on top
};

// The control of that name, or nullptr.
const ControlSpec* find_control(const ScreenSpec& screen, std::string_view name);

// Checks what the toolkits rely on: unique control names, containers that name
// a frame of the same screen, unique tab indexes, no tab index on timers and
// lines. Throws std::invalid_argument naming the screen and the control.
void validate(const ScreenSpec& screen);

}  // namespace pf::layout
