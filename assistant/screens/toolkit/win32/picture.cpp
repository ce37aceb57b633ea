#include "toolkit/win32/picture.h"

#include "toolkit/win32/win32_error.h"

#include <ole2.h>
#include <olectl.h>

#include <cstring>
#include <memory>
#include <string>

namespace pf::win32 {

namespace {

std::wstring resource_name(const layout::Picture& picture, std::wstring_view owner) {
    return std::wstring(owner) + L" (ressource " + std::to_wstring(picture.resource) + L")";
}

LPCWSTR resource_id(int id) {
    return MAKEINTRESOURCEW(id);
}

struct ComRelease {
    void operator()(IUnknown* object) const noexcept { object->Release(); }
};
template <typename T>
using ComPtr = std::unique_ptr<T, ComRelease>;

// COM for the length of one decoding, balanced whether or not this thread had it already.
class ComScope {
public:
    ComScope() : initialised_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    ~ComScope() {
        if (initialised_) ::CoUninitialize();
    }

private:
    bool initialised_;
};

// The platform's picture loader reads JPEG, GIF and BMP data; the picture is
// drawn once into a bitmap so that painting never goes back to COM.
UniqueBitmap decode_image(const layout::Picture& picture, std::wstring_view owner, SIZE& size) {
    const std::wstring where = resource_name(picture, owner);
    const HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC found = ::FindResourceW(module, resource_id(picture.resource), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    if (found == nullptr) throw_last_error(L"FindResourceW", where);
    HGLOBAL loaded = ::LoadResource(module, found);
    const DWORD length = ::SizeofResource(module, found);
    const void* data = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (data == nullptr || length == 0) throw_last_error(L"LoadResource", where);

    HGLOBAL copy = ::GlobalAlloc(GMEM_MOVEABLE, length);
    if (copy == nullptr) throw_last_error(L"GlobalAlloc", where);
    void* target = ::GlobalLock(copy);
    std::memcpy(target, data, length);
    ::GlobalUnlock(copy);

    const ComScope com;
    IStream* raw_stream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(copy, TRUE, &raw_stream))) {
        ::GlobalFree(copy);
        throw_error(ERROR_OUTOFMEMORY, L"CreateStreamOnHGlobal", where);
    }
    const ComPtr<IStream> stream(raw_stream);
    IPicture* raw_picture = nullptr;
    const HRESULT result = ::OleLoadPicture(stream.get(), static_cast<LONG>(length), FALSE, IID_IPicture,
                                            reinterpret_cast<void**>(&raw_picture));
    const ComPtr<IPicture> decoded(raw_picture);
    if (FAILED(result) || !decoded) throw RuntimeError(result, L"OleLoadPicture : image illisible", where);

    OLE_XSIZE_HIMETRIC width_himetric = 0;
    OLE_YSIZE_HIMETRIC height_himetric = 0;
    decoded->get_Width(&width_himetric);
    decoded->get_Height(&height_himetric);
    const WindowDC screen(nullptr);
    size.cx = ::MulDiv(width_himetric, ::GetDeviceCaps(screen.get(), LOGPIXELSX), 2540);
    size.cy = ::MulDiv(height_himetric, ::GetDeviceCaps(screen.get(), LOGPIXELSY), 2540);

    UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.get(), size.cx, size.cy));
    const UniqueMemoryDC memory(::CreateCompatibleDC(screen.get()));
    if (!bitmap || !memory) throw_last_error(L"CreateCompatibleBitmap", where);
    const Selection selected(memory.get(), bitmap.get());
    decoded->Render(memory.get(), 0, 0, size.cx, size.cy, 0, height_himetric, width_himetric, -height_himetric,
                    nullptr);
    return bitmap;
}

}  // namespace

Picture Picture::load(const layout::Picture& picture, std::wstring_view owner) {
    Picture loaded;
    const HINSTANCE module = ::GetModuleHandleW(nullptr);
    switch (picture.kind) {
    case layout::PictureKind::none:
        break;
    case layout::PictureKind::icon: {
        const int width = ::GetSystemMetrics(SM_CXICON);
        const int height = ::GetSystemMetrics(SM_CYICON);
        loaded.icon_.reset(static_cast<HICON>(
            ::LoadImageW(module, resource_id(picture.resource), IMAGE_ICON, width, height, LR_DEFAULTCOLOR)));
        if (!loaded.icon_) throw_last_error(L"LoadImageW (icône)", resource_name(picture, owner));
        loaded.size_ = {width, height};
        break;
    }
    case layout::PictureKind::bitmap: {
        loaded.bitmap_.reset(static_cast<HBITMAP>(
            ::LoadImageW(module, resource_id(picture.resource), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        if (!loaded.bitmap_) throw_last_error(L"LoadImageW (image)", resource_name(picture, owner));
        BITMAP info{};
        ::GetObjectW(loaded.bitmap_.get(), sizeof info, &info);
        loaded.size_ = {info.bmWidth, info.bmHeight};
        break;
    }
    case layout::PictureKind::image:
        loaded.bitmap_ = decode_image(picture, owner, loaded.size_);
        break;
    }
    return loaded;
}

void Picture::draw(HDC dc, int x, int y) const {
    if (icon_) {
        ::DrawIconEx(dc, x, y, icon_.get(), size_.cx, size_.cy, 0, nullptr, DI_NORMAL);
    } else if (bitmap_) {
        UniqueMemoryDC memory(::CreateCompatibleDC(dc));
        if (!memory) return;
        const Selection selected(memory.get(), bitmap_.get());
        ::BitBlt(dc, x, y, size_.cx, size_.cy, memory.get(), 0, 0, SRCCOPY);
    }
}

}  // namespace pf::win32
