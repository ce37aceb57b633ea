// An open registry key, closed when it goes out of scope.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

namespace animview::control {

class RegKey {
 public:
  RegKey() = default;
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;
  RegKey(RegKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
  ~RegKey() {
    if (key_) RegCloseKey(key_);
  }

  // Creates (or opens) `subkey` below `parent` for writing.
  static LSTATUS create(HKEY parent, const std::wstring& subkey, RegKey& out) {
    HKEY key = nullptr;
    const LSTATUS status = RegCreateKeyExW(parent, subkey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                           KEY_WRITE, nullptr, &key, nullptr);
    out = RegKey(key);
    return status;
  }
  // Opens `subkey` below `parent` for reading.
  static LSTATUS open(HKEY parent, const std::wstring& subkey, RegKey& out) {
    HKEY key = nullptr;
    const LSTATUS status = RegOpenKeyExW(parent, subkey.c_str(), 0, KEY_READ, &key);
    out = RegKey(key);
    return status;
  }

  LSTATUS set_string(const wchar_t* name, const std::wstring& value) const {
    return RegSetValueExW(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  }
  // The string value `name` (nullptr: the default value); false when there is none.
  bool get_string(const wchar_t* name, std::wstring& value) const {
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key_, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ) return false;
    std::wstring buffer(size / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(key_, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS)
      return false;
    buffer.resize(size / sizeof(wchar_t));
    while (!buffer.empty() && buffer.back() == L'\0') buffer.pop_back();
    value = std::move(buffer);
    return true;
  }

  HKEY get() const { return key_; }
  explicit operator bool() const { return key_ != nullptr; }

 private:
  explicit RegKey(HKEY key) : key_(key) {}
  RegKey& operator=(RegKey&& other) noexcept {
    std::swap(key_, other.key_);
    return *this;
  }
  HKEY key_ = nullptr;
};

}  // namespace animview::control
