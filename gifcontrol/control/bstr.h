// Owning wrappers of automation strings and VARIANTs.
#pragma once

#include <oleauto.h>

#include <string>
#include <string_view>
#include <utility>

namespace animview::control {

class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(std::wstring_view text)
      : s_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  Bstr(Bstr&& other) noexcept : s_(std::exchange(other.s_, nullptr)) {}
  Bstr& operator=(Bstr&& other) noexcept {
    std::swap(s_, other.s_);
    return *this;
  }
  ~Bstr() { SysFreeString(s_); }

  BSTR get() const { return s_; }
  BSTR detach() { return std::exchange(s_, nullptr); }
  BSTR* put() {
    SysFreeString(std::exchange(s_, nullptr));
    return &s_;
  }
  // A null BSTR is the empty string.
  std::wstring str() const { return s_ ? std::wstring(s_, SysStringLen(s_)) : std::wstring(); }

 private:
  BSTR s_ = nullptr;
};

// The text of a BSTR argument (null is the empty string).
inline std::wstring to_wstring(BSTR s) { return s ? std::wstring(s, SysStringLen(s)) : std::wstring(); }

class Variant {
 public:
  Variant() = default;  // VT_EMPTY, every byte zero
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  ~Variant() { VariantClear(&v_); }

  VARIANT* get() { return &v_; }
  const VARIANT* get() const { return &v_; }
  void clear() { VariantClear(&v_); }
  // Hands the value over to an out-parameter (which must not hold anything).
  void detach_to(VARIANT* out) {
    *out = v_;
    v_ = VARIANT{};
  }

 private:
  VARIANT v_{};
};

}  // namespace animview::control
