// The members of _Animview.
#include "animview_control.h"

#include "bstr.h"
#include "errors.h"
#include "ids.h"
#include "paint_arguments.h"

namespace animview::control {
namespace {

VARIANT_BOOL to_variant_bool(bool b) { return b ? VARIANT_TRUE : VARIANT_FALSE; }

HRESULT frame_store_error(HRESULT hr) { return fail(hr, win::describe_hresult(hr)); }

// The object a host passed as LoadGif's picture holder, if any: something with a Picture.
ComPtr<IDispatch> holder_object(const VARIANT* v) {
  if (!v) return {};
  const VARIANT* value = v;
  if (V_VT(value) == (VT_VARIANT | VT_BYREF)) value = V_VARIANTREF(value);
  if (!value) return {};
  if (V_VT(value) == VT_DISPATCH) return ComPtr<IDispatch>(V_DISPATCH(value));
  if (V_VT(value) == (VT_DISPATCH | VT_BYREF) && V_DISPATCHREF(value)) return ComPtr<IDispatch>(*V_DISPATCHREF(value));
  return {};
}

// Hands the last frame's picture to the host's holder through its Picture property.
HRESULT give_picture(IDispatch* holder, IPicture* picture) {
  ComPtr<IPictureDisp> disp;
  if (picture) picture->QueryInterface(IID_IPictureDisp, disp.put_void());
  VARIANT value{};
  V_VT(&value) = VT_DISPATCH;
  V_DISPATCH(&value) = disp.get();
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{&value, &named, 1, 1};
  HRESULT hr = holder->Invoke(DISPID_PICTURE, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUTREF, &params,
                              nullptr, nullptr, nullptr);
  if (FAILED(hr))
    hr = holder->Invoke(DISPID_PICTURE, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr,
                        nullptr, nullptr);
  return hr;
}

}  // namespace

HRESULT AnimviewControl::get_RepeatTimes(LONG* value) {
  if (!value) return E_POINTER;
  *value = animation_->members().repeat_times;
  return S_OK;
}
HRESULT AnimviewControl::put_RepeatTimes(LONG value) {
  animation_->members().repeat_times = value;
  return S_OK;
}
HRESULT AnimviewControl::get_TotalFrames(LONG* value) {
  if (!value) return E_POINTER;
  *value = animation_->members().total_frames;
  return S_OK;
}
HRESULT AnimviewControl::put_TotalFrames(LONG value) {
  animation_->members().total_frames = value;
  return S_OK;
}
HRESULT AnimviewControl::get_CloseF(VARIANT_BOOL* value) {
  if (!value) return E_POINTER;
  *value = to_variant_bool(animation_->members().close_f);
  return S_OK;
}
HRESULT AnimviewControl::put_CloseF(VARIANT_BOOL value) {
  animation_->members().close_f = value != VARIANT_FALSE;
  return S_OK;
}
HRESULT AnimviewControl::get_xOff(LONG* value) {
  if (!value) return E_POINTER;
  *value = animation_->members().x_off;
  return S_OK;
}
HRESULT AnimviewControl::put_xOff(LONG value) {
  animation_->members().x_off = value;
  return S_OK;
}
HRESULT AnimviewControl::get_yOff(LONG* value) {
  if (!value) return E_POINTER;
  *value = animation_->members().y_off;
  return S_OK;
}
HRESULT AnimviewControl::put_yOff(LONG value) {
  animation_->members().y_off = value;
  return S_OK;
}

HRESULT AnimviewControl::LoadGif(BSTR* file, VARIANT*, VARIANT* temp_picture, VARIANT_BOOL* result) {
  if (!file || !result) return E_POINTER;
  *result = VARIANT_FALSE;
  const ComPtr<IUnknown> keep_alive(identity());
  // The frames go into the control's own element array, the only one a host can name
  // through automation; the last frame's picture also goes to a holder the host passed.
  bool loaded = false;
  const HRESULT hr = animation_->LoadGif(to_wstring(*file), animation_->Image1(), animation_->image2(), &loaded);
  if (FAILED(hr)) return frame_store_error(hr);
  invalidate();
  if (loaded) {
    if (const ComPtr<IDispatch> holder = holder_object(temp_picture))
      if (const HRESULT given = give_picture(holder.get(), animation_->image2().picture.Get()); FAILED(given))
        return fail(given, L"LoadGif: TempPict takes no picture");
  }
  *result = to_variant_bool(loaded);
  return succeed();
}

HRESULT AnimviewControl::get_BackColor(OLE_COLOR* value) {
  if (!value) return E_POINTER;
  *value = properties_.back_color;
  return S_OK;
}
HRESULT AnimviewControl::put_BackColor(OLE_COLOR value) {
  if (const HRESULT hr = check_back_color(value); FAILED(hr)) return hr;
  properties_.back_color = value;
  invalidate();
  property_changed(dispid::BackColor);
  return succeed();
}
HRESULT AnimviewControl::get_BackStyle(short* value) {
  if (!value) return E_POINTER;
  *value = properties_.back_style;
  return S_OK;
}
HRESULT AnimviewControl::put_BackStyle(short value) {
  if (const HRESULT hr = check_style(value, L"BackStyle"); FAILED(hr)) return hr;
  properties_.back_style = value;
  invalidate();
  property_changed(dispid::BackStyle);
  return succeed();
}
HRESULT AnimviewControl::get_BorderStyle(short* value) {
  if (!value) return E_POINTER;
  *value = properties_.border_style;
  return S_OK;
}
HRESULT AnimviewControl::put_BorderStyle(short value) {
  if (const HRESULT hr = check_style(value, L"BorderStyle"); FAILED(hr)) return hr;
  properties_.border_style = value;
  invalidate();
  property_changed(dispid::BorderStyle);
  return succeed();
}

HRESULT AnimviewControl::GetImageCount(LONG* result) {
  if (!result) return E_POINTER;
  *result = animation_->GetImageCount();
  return S_OK;
}
HRESULT AnimviewControl::GetTimeWait(BSTR* result) {
  if (!result) return E_POINTER;
  *result = Bstr(animation_->GetTimeWait()).detach();
  return *result ? S_OK : E_OUTOFMEMORY;
}

HRESULT AnimviewControl::get_Filename(BSTR* value) {
  if (!value) return E_POINTER;
  *value = Bstr(properties_.filename).detach();
  return *value ? S_OK : E_OUTOFMEMORY;
}
HRESULT AnimviewControl::put_Filename(BSTR value) {
  // Only stored: the next OpenFile reads it.
  properties_.filename = to_wstring(value);
  property_changed(dispid::Filename);
  return succeed();
}

HRESULT AnimviewControl::CloseFile(VARIANT* result) {
  if (!result) return E_POINTER;
  VariantInit(result);
  const ComPtr<IUnknown> keep_alive(identity());
  if (const HRESULT hr = animation_->CloseFile(); FAILED(hr)) return frame_store_error(hr);
  invalidate();
  return succeed();
}

HRESULT AnimviewControl::OpenFile(VARIANT_BOOL* result) {
  if (!result) return E_POINTER;
  *result = VARIANT_FALSE;
  const ComPtr<IUnknown> keep_alive(identity());
  // A copy: a host event during the load may put a new Filename.
  const std::wstring filename = properties_.filename;
  bool loaded = false;
  if (const HRESULT hr = animation_->OpenFile(filename, &loaded); FAILED(hr)) return frame_store_error(hr);
  invalidate();
  *result = to_variant_bool(loaded);
  return succeed();
}

HRESULT AnimviewControl::Pause(VARIANT_BOOL* result) {
  if (!result) return E_POINTER;
  *result = to_variant_bool(animation_->Pause());
  return S_OK;
}

HRESULT AnimviewControl::Play(VARIANT_BOOL* result) {
  if (!result) return E_POINTER;
  *result = to_variant_bool(animation_->Play());
  return S_OK;
}

HRESULT AnimviewControl::PaintPicture(IPictureDisp* picture, float x1, float y1, VARIANT width1, VARIANT height1,
                                      VARIANT x2, VARIANT y2, VARIANT width2, VARIANT height2, VARIANT opcode) {
  const win::ScreenMetrics& metrics = animation_->Image1().metrics;
  const Resolution resolution{static_cast<int>(1440.0 / metrics.twips_per_pixel_x + 0.5),
                              static_cast<int>(1440.0 / metrics.twips_per_pixel_y + 0.5)};
  PaintOperation operation;
  const PaintArguments args{picture, x1, y1, width1, height1, x2, y2, width2, height2, opcode};
  if (const HRESULT hr = make_paint_operation(args, resolution, operation); FAILED(hr)) return hr;
  layer_.add(std::move(operation));
  invalidate();
  return succeed();
}

}  // namespace animview::control
