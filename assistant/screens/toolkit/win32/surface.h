#pragma once
// The area of a container (a screen or a frame) that the container paints
// itself: its background colour and picture, then its lines and labels in the
// order the screen stores them, so that labels show only their text over
// whatever lies behind. Windowed children (buttons, frames, picture boxes,
// progress bars) paint themselves and are left out of the container's painting.

#include "toolkit/controls.h"
#include "toolkit/win32/picture.h"

#include <windows.h>

#include <optional>
#include <vector>

namespace pf::win32 {

class PaintedItem {
public:
    virtual ~PaintedItem() = default;
    virtual void paint(HDC dc) const = 0;
};

class Surface {
public:
    Surface(HWND window, Color background, Picture picture);
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    [[nodiscard]] HWND window() const noexcept { return window_; }
    [[nodiscard]] Color background() const noexcept { return background_; }

    // Items are painted in the order added; later ones lie on top.
    void add(const PaintedItem& item) { items_.push_back(&item); }
    void add_windowed(HWND child) { windowed_.push_back(child); }

    // Handles WM_PAINT: paints the update area through an off-screen bitmap.
    void paint(HDC dc, const RECT& area) const;
    // Paints everything at its place, for WM_PRINTCLIENT and the off-screen bitmap.
    void paint_content(HDC dc) const;
    // The area will be painted again at the next repaint.
    void invalidate(const RECT& area) const;

private:
    HWND window_;
    Color background_;
    Picture picture_;
    std::vector<const PaintedItem*> items_;
    std::vector<HWND> windowed_;
};

// A container's answer to the painting messages (erase, paint, print-client): its
// surface paints everything, so the background is never erased first. Nothing for
// other messages. `surface` may be null while the container is being built.
std::optional<LRESULT> answer_paint_message(const Surface* surface, HWND window, UINT message, WPARAM wparam);

}  // namespace pf::win32
