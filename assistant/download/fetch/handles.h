#pragma once
// Owning wrappers for the Windows handles the fetch holds: each closes its
// handle exactly once, whatever path leaves the scope.

#include <windows.h>

#include <utility>

namespace pf::fetch {

template <typename Handle, typename Traits>
class UniqueResource {
public:
    UniqueResource() noexcept = default;
    explicit UniqueResource(Handle handle) noexcept : handle_(Traits::is_valid(handle) ? handle : Handle{}) {}
    ~UniqueResource() { reset(); }

    UniqueResource(UniqueResource&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, Handle{});
        }
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;

    [[nodiscard]] Handle get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Handle{}; }

    void reset() noexcept {
        if (handle_ != Handle{}) Traits::close(std::exchange(handle_, Handle{}));
    }

private:
    Handle handle_{};
};

struct KernelHandleTraits {
    // CreateFileW fails with INVALID_HANDLE_VALUE, most others with null.
    static bool is_valid(HANDLE h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) noexcept { ::CloseHandle(h); }
};

using UniqueHandle = UniqueResource<HANDLE, KernelHandleTraits>;

}  // namespace pf::fetch
