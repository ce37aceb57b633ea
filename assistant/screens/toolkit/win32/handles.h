#pragma once
// Owning wrappers for the Windows handles the screens hold, so that every
// window, font, brush, icon and device context goes back to the system exactly once.

#include <windows.h>

#include <utility>

namespace pf::win32 {

template <typename Handle, auto Release, Handle Empty = Handle{}>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, Empty)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(std::exchange(other.handle_, Empty));
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    [[nodiscard]] Handle get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Empty; }
    Handle release() noexcept { return std::exchange(handle_, Empty); }
    void reset(Handle handle = Empty) noexcept {
        if (handle_ != Empty) Release(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = Empty;
};

namespace release {
// A window of ours carries a pointer to its C++ object; it is cut before the
// window goes so that no message reaches an object being destroyed.
inline void window(HWND h) noexcept {
    ::SetWindowLongPtrW(h, GWLP_USERDATA, 0);
    ::DestroyWindow(h);
}
inline void font(HFONT h) noexcept { ::DeleteObject(h); }
inline void brush(HBRUSH h) noexcept { ::DeleteObject(h); }
inline void pen(HPEN h) noexcept { ::DeleteObject(h); }
inline void bitmap(HBITMAP h) noexcept { ::DeleteObject(h); }
inline void region(HRGN h) noexcept { ::DeleteObject(h); }
inline void icon(HICON h) noexcept { ::DestroyIcon(h); }
inline void memory_dc(HDC h) noexcept { ::DeleteDC(h); }
inline void kernel(HANDLE h) noexcept { ::CloseHandle(h); }
}  // namespace release

using UniqueWindow = UniqueHandle<HWND, release::window>;
using UniqueFont = UniqueHandle<HFONT, release::font>;
using UniqueBrush = UniqueHandle<HBRUSH, release::brush>;
using UniquePen = UniqueHandle<HPEN, release::pen>;
using UniqueBitmap = UniqueHandle<HBITMAP, release::bitmap>;
using UniqueRegion = UniqueHandle<HRGN, release::region>;
using UniqueIcon = UniqueHandle<HICON, release::icon>;
using UniqueMemoryDC = UniqueHandle<HDC, release::memory_dc>;
using UniqueKernelHandle = UniqueHandle<HANDLE, release::kernel>;

// A window's device context from GetDC, given back with ReleaseDC.
class WindowDC {
public:
    explicit WindowDC(HWND window) : window_(window), dc_(::GetDC(window)) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC() {
        if (dc_ != nullptr) ::ReleaseDC(window_, dc_);
    }
    [[nodiscard]] HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// Selects a GDI object into a device context for one scope.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
    ~Selection() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_);
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Saves a device context's state (clip region, colours, origin) for one scope.
class SavedDC {
public:
    explicit SavedDC(HDC dc) : dc_(dc), level_(::SaveDC(dc)) {}
    SavedDC(const SavedDC&) = delete;
    SavedDC& operator=(const SavedDC&) = delete;
    ~SavedDC() {
        if (level_ != 0) ::RestoreDC(dc_, level_);
    }

private:
    HDC dc_;
    int level_;
};

// BeginPaint and EndPaint for one WM_PAINT.
class PaintScope {
public:
    explicit PaintScope(HWND window) : window_(window) { dc_ = ::BeginPaint(window, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    ~PaintScope() { ::EndPaint(window_, &paint_); }
    [[nodiscard]] HDC dc() const noexcept { return dc_; }
    [[nodiscard]] const RECT& area() const noexcept { return paint_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_ = nullptr;
};

}  // namespace pf::win32
