// The four persisted properties of the control, their checks, and the save and restore
// steps that every persistence interface goes through (a property bag of the host's, or
// the control's own bag written into a stream), so that all of them keep the same keys,
// defaults and order.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <string>

namespace animview::control {

struct Properties {
  OLE_COLOR back_color;
  short back_style;    // 0 transparent, 1 opaque
  short border_style;  // 0 none, 1 single line
  std::wstring filename;

  bool operator==(const Properties&) const = default;
};

// A control as placed by its host: white, opaque, single-line border, no file.
inline Properties new_instance_properties() { return {0x00FFFFFF, 1, 1, L""}; }
// What a restore reads for a missing key (button face, opaque, no border, no file), and
// what a save leaves out.
inline Properties saved_defaults() { return {0x8000000F, 1, 0, L""}; }

inline constexpr wchar_t kKeyBackColor[] = L"BackColor";
inline constexpr wchar_t kKeyBackStyle[] = L"BackStyle";
inline constexpr wchar_t kKeyBorderStyle[] = L"BorderStyle";
inline constexpr wchar_t kKeyFilename[] = L"Filename";

// S_OK, or kErrInvalidPropertyValue with the thread's error object set.
HRESULT check_back_color(OLE_COLOR color);
HRESULT check_style(short style, const wchar_t* property);

// Save step: writes the properties in their order, leaving out each value that equals its
// default.
HRESULT save_properties(const Properties& properties, IPropertyBag* bag);

// Restore step: reads the keys in their order into `properties`, which the caller starts
// from the values of a fresh instance. A missing key reads as its default. On the first
// key that cannot be read, converted or accepted, it stops and returns that failure:
// `properties` then holds the values read before it and the caller's values after it.
HRESULT restore_properties(IPropertyBag* bag, IErrorLog* log, Properties& properties);

}  // namespace animview::control
