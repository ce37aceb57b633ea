#include "paint_arguments.h"

#include <cmath>
#include <optional>

#include "bstr.h"
#include "errors.h"

namespace animview::control {
namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kHimetricPerInch = 2540.0;

HRESULT optional_number(const VARIANT& v, const wchar_t* name, std::optional<double>& out) {
  out.reset();
  if (is_missing(v)) return S_OK;
  Variant converted;
  if (const HRESULT hr = VariantChangeType(converted.get(), const_cast<VARIANT*>(&v), 0, VT_R8); FAILED(hr))
    return fail(hr, std::wstring(L"PaintPicture: ") + name + L" is not a number");
  out = V_R8(converted.get());
  return S_OK;
}

// Positions and sizes stay far inside what GDI's 32-bit coordinates can add up.
constexpr double kLimit = 1 << 24;

bool in_range(double v) { return std::isfinite(v) && std::fabs(v) <= kLimit; }

LONG twips_to_pixels(double twips, int dpi) { return static_cast<LONG>(std::lround(twips * dpi / kTwipsPerInch)); }
LONG twips_to_himetric(double twips) { return static_cast<LONG>(std::lround(twips * kHimetricPerInch / kTwipsPerInch)); }
LONG himetric_to_pixels(LONG himetric, int dpi) {
  return static_cast<LONG>(std::lround(himetric * static_cast<double>(dpi) / kHimetricPerInch));
}

}  // namespace

bool is_missing(const VARIANT& v) { return V_VT(&v) == VT_ERROR && V_ERROR(&v) == DISP_E_PARAMNOTFOUND; }

HRESULT make_paint_operation(const PaintArguments& a, Resolution resolution, PaintOperation& out) {
  ComPtr<IPicture> picture;
  if (a.picture) a.picture->QueryInterface(IID_IPicture, picture.put_void());
  OLE_XSIZE_HIMETRIC width = 0;
  OLE_YSIZE_HIMETRIC height = 0;
  if (!picture || FAILED(picture->get_Width(&width)) || FAILED(picture->get_Height(&height)) || width <= 0 ||
      height <= 0)
    return fail(kErrInvalidPicture, L"PaintPicture: invalid picture");

  std::optional<double> width1, height1, x2, y2, width2, height2, opcode;
  if (HRESULT hr = optional_number(a.width1, L"Width1", width1); FAILED(hr)) return hr;
  if (HRESULT hr = optional_number(a.height1, L"Height1", height1); FAILED(hr)) return hr;
  if (HRESULT hr = optional_number(a.x2, L"X2", x2); FAILED(hr)) return hr;
  if (HRESULT hr = optional_number(a.y2, L"Y2", y2); FAILED(hr)) return hr;
  if (HRESULT hr = optional_number(a.width2, L"Width2", width2); FAILED(hr)) return hr;
  if (HRESULT hr = optional_number(a.height2, L"Height2", height2); FAILED(hr)) return hr;
  if (HRESULT hr = optional_number(a.opcode, L"Opcode", opcode); FAILED(hr)) return hr;
  // In twips, a position or size beyond the range is millions of pixels away: Overflow.
  for (const std::optional<double>& v : {std::optional<double>(a.x1), std::optional<double>(a.y1), width1, height1,
                                         x2, y2, width2, height2})
    if (v && !in_range(*v)) return fail(CTL_E_OVERFLOW, L"PaintPicture: Overflow");
  if (opcode && (!std::isfinite(*opcode) || *opcode < 0 || *opcode > 0xFFFFFFFF))
    return fail(CTL_E_OVERFLOW, L"PaintPicture: Opcode overflow");

  // Source part in HIMETRIC from the top-left corner; the whole picture when left out.
  const LONG sx = x2 ? twips_to_himetric(*x2) : 0;
  const LONG sy = y2 ? twips_to_himetric(*y2) : 0;
  const LONG sw = width2 ? twips_to_himetric(*width2) : width - sx;
  const LONG sh = height2 ? twips_to_himetric(*height2) : height - sy;

  out = PaintOperation{};
  out.picture = std::move(picture);
  out.x = twips_to_pixels(a.x1, resolution.x);
  out.y = twips_to_pixels(a.y1, resolution.y);
  // An omitted destination size is the picture's own size (of the part drawn).
  out.cx = width1 ? twips_to_pixels(*width1, resolution.x) : himetric_to_pixels(sw, resolution.x);
  out.cy = height1 ? twips_to_pixels(*height1, resolution.y) : himetric_to_pixels(sh, resolution.y);
  // Render counts the source from the bottom edge, with a negative height for an upright copy.
  out.src_x = sx;
  out.src_y = height - sy;
  out.src_cx = sw;
  out.src_cy = -sh;
  if (opcode) out.rop = static_cast<DWORD>(static_cast<long long>(*opcode));
  return S_OK;
}

}  // namespace animview::control
