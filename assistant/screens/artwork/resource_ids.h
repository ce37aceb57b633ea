#pragma once
// Resource numbers of the program's artwork, shared by the resource script and
// the screen tables. Plain macros: the resource compiler reads this file too.

// The program's icon, 32 x 32 in 16 colours. The lowest number, so that the
// shell shows it for the executable.
#define PF_ICON_PROGRAM 1
// The download screen's icon: 16, 32 and 48 pixels, each in 16 and 256 colours.
#define PF_ICON_DOWNLOAD 2
// The splash screen's picture: an 800 x 600 JPEG, kept as raw file data.
#define PF_IMAGE_SPLASH 3
// The picture screen's bitmap: 579 x 435 in 24-bit colour.
#define PF_BITMAP_PICTURE 4
