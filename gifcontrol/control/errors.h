// Automation errors of the control: an HRESULT for the caller, and the thread's error
// object describing what failed, which the dispatch layer turns into EXCEPINFO.
#pragma once

#include <windows.h>
#include <olectl.h>

#include <string_view>

namespace animview::control {

// "Invalid property value": a style other than 0 or 1, a colour that is neither an RGB
// value nor a system colour.
inline constexpr HRESULT kErrInvalidPropertyValue = CTL_E_INVALIDPROPERTYVALUE;
// "Invalid picture": PaintPicture without a picture that can be drawn.
inline constexpr HRESULT kErrInvalidPicture = CTL_E_INVALIDPICTURE;

// Sets the thread's error object for `hr` and returns `hr`, so that a member can
// `return fail(hr, L"...")`. The source is the control's program identifier.
HRESULT fail(HRESULT hr, std::wstring_view description);

// Clears the thread's error object: a member that succeeds leaves none behind.
inline HRESULT succeed() {
  SetErrorInfo(0, nullptr);
  return S_OK;
}

}  // namespace animview::control
