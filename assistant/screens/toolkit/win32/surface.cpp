#include "toolkit/win32/surface.h"

#include "toolkit/win32/handles.h"

namespace pf::win32 {

Surface::Surface(HWND window, Color background, Picture picture)
    : window_(window), background_(background), picture_(std::move(picture)) {}

void Surface::paint(HDC dc, const RECT& area) const {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return;
    const SavedDC saved(dc);
    // The container has no WS_CLIPCHILDREN, so that its labels (windows that
    // paint nothing) are painted over by it; the windowed children are cut out here.
    for (HWND child : windowed_) {
        if (!::IsWindowVisible(child)) continue;
        RECT place{};
        ::GetWindowRect(child, &place);
        ::MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&place), 2);
        ::ExcludeClipRect(dc, place.left, place.top, place.right, place.bottom);
    }
    // Drawing off-screen first keeps captions that change every tick from flickering.
    const UniqueMemoryDC memory(::CreateCompatibleDC(dc));
    const UniqueBitmap bitmap(::CreateCompatibleBitmap(dc, width, height));
    if (!memory || !bitmap) {
        paint_content(dc);
        return;
    }
    {
        const Selection selected(memory.get(), bitmap.get());
        ::SetViewportOrgEx(memory.get(), -area.left, -area.top, nullptr);
        paint_content(memory.get());
        ::BitBlt(dc, area.left, area.top, width, height, memory.get(), area.left, area.top, SRCCOPY);
    }
}

void Surface::paint_content(HDC dc) const {
    RECT client{};
    ::GetClientRect(window_, &client);
    const UniqueBrush fill(::CreateSolidBrush(background_));
    ::FillRect(dc, &client, fill.get());
    if (!picture_.empty()) picture_.draw(dc, 0, 0);
    for (const PaintedItem* item : items_) item->paint(dc);
}

void Surface::invalidate(const RECT& area) const {
    ::InvalidateRect(window_, &area, FALSE);
}

std::optional<LRESULT> answer_paint_message(const Surface* surface, HWND window, UINT message, WPARAM wparam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        const PaintScope scope(window);
        if (surface) surface->paint(scope.dc(), scope.area());
        return 0;
    }
    case WM_PRINTCLIENT:
        if (surface) surface->paint_content(reinterpret_cast<HDC>(wparam));
        return 0;
    default:
        return std::nullopt;
    }
}

}  // namespace pf::win32
