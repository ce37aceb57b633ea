#include "runtime_test_support.h"

#include "toolkit/win32/handles.h"

#include <algorithm>

namespace pf::testing {

RecordingApplication::RecordingApplication()
    : application_(win32::TopLevelHandler{[this](const std::wstring& message) { reports.push_back(message); },
                                          [this] { ++ends; }}) {}

bool pump_until(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) return false;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now).count();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<long long>(left, 20)),
                                    QS_ALLINPUT);
        MSG message{};
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    return true;
}

void pump_for(std::chrono::milliseconds duration) {
    pump_until([] { return false; }, duration);
}

layout::ScreenSpec test_screen(std::vector<layout::ControlSpec> controls, std::string name) {
    return {.name = std::move(name), .caption = L"Écran d'essai", .kind = layout::WindowKind::borderless,
            .placement = layout::Placement::fixed, .left = 300, .top = 300, .client_width = 9000,
            .client_height = 6000, .back_color = colors::black, .controls = std::move(controls)};
}

Rendering::Rendering(HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    width_ = client.right;
    height_ = client.bottom;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const win32::WindowDC screen(nullptr);
    const win32::UniqueBitmap bitmap(::CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const win32::UniqueMemoryDC memory(::CreateCompatibleDC(screen.get()));
    {
        const win32::Selection selected(memory.get(), bitmap.get());
        ::SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.get()), PRF_CLIENT);
        ::GdiFlush();
    }
    const auto* source = static_cast<const std::uint32_t*>(bits);
    pixels_.assign(source, source + static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
}

Color Rendering::at(int x, int y) const {
    const std::uint32_t bgr = pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                                      static_cast<std::size_t>(x)];
    // DIB pixels are 0x00RRGGBB; colours here are 0x00BBGGRR.
    return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
}

int Rendering::count(const RECT& area, Color color) const {
    int found = 0;
    for (int y = std::max(0L, area.top); y < std::min<long>(height_, area.bottom); ++y)
        for (int x = std::max(0L, area.left); x < std::min<long>(width_, area.right); ++x)
            if (at(x, y) == color) ++found;
    return found;
}

int Rendering::count_other_than(const RECT& area, Color color) const {
    int found = 0;
    for (int y = std::max(0L, area.top); y < std::min<long>(height_, area.bottom); ++y)
        for (int x = std::max(0L, area.left); x < std::min<long>(width_, area.right); ++x)
            if (at(x, y) != color) ++found;
    return found;
}

RECT place_in_parent(HWND child) {
    RECT place{};
    ::GetWindowRect(child, &place);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&place), 2);
    return place;
}

}  // namespace pf::testing
