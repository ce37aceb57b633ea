// Control identifiers of the pages' child windows, shared with the tests that drive them.
#pragma once

namespace animview::pages::ids {

// General page. Clear of the identifiers a property frame gives its own buttons.
inline constexpr int lblBackStyle = 1001;
inline constexpr int lblBorderStyle = 1002;
inline constexpr int lblFilename = 1003;
inline constexpr int txtFilename = 1004;
inline constexpr int txtBackStyle = 1005;
inline constexpr int txtBorderStyle = 1006;
inline constexpr int Label2 = 1007;
inline constexpr int Label3 = 1008;
inline constexpr int Label4 = 1009;
inline constexpr int Label5 = 1010;
inline constexpr int Label6 = 1011;

// Component page.
inline constexpr int lblWelcome = 1101;
inline constexpr int lblThanks = 1102;
inline constexpr int lblWhat = 1103;
inline constexpr int lblLight = 1104;

// The library's own colour page.
inline constexpr int lblBackColor = 1201;
inline constexpr int lstColors = 1202;

}  // namespace animview::pages::ids
