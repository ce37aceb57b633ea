// The control object's identity, creation, dispatch and event raising.
#include "animview_control.h"

#include <vector>

#include "errors.h"
#include "ids.h"
#include "type_library.h"

namespace animview::control {
namespace {
// The design size of the surface, 7500 x 3750 twips, in HIMETRIC.
constexpr SIZEL kDesignExtent = {7500 * 2540 / 1440, (3750 * 2540 + 720) / 1440};
}  // namespace

HRESULT AnimviewControl::create(REFIID iid, void** out) {
  auto control = make_object<AnimviewControl>();
  if (!control) return E_OUTOFMEMORY;
  if (const HRESULT hr = control->init(); FAILED(hr)) return hr;
  return control->QueryInterface(iid, out);
}

AnimviewControl::AnimviewControl()
    : events_(*identity(), *this, DIID___Animview, IID_IDispatch),
      property_notify_(*identity(), *this, IID_IPropertyNotifySink, IID_NULL),
      extent_(kDesignExtent) {}

AnimviewControl::~AnimviewControl() {
  // What the host did not take down itself goes now, while every member still lives.
  destroy_window();
  // The frame store's callbacks reach into this object: it goes before the rest of it.
  animation_.reset();
  events_.disconnect_all();
  property_notify_.disconnect_all();
}

HRESULT AnimviewControl::init() {
  if (const HRESULT hr = load_type_info(IID__Animview, dispatch_info_); FAILED(hr)) return hr;
  if (const HRESULT hr = load_type_info(CLSID_Animview, class_info_); FAILED(hr)) return hr;
  // The child elements of the design: Image1 with element 0, image2 and Timer1.
  animation_ = std::make_unique<win::Animation>();
  animation_->callbacks.on_open = [this] { fire(event::OnOpen); };
  animation_->callbacks.on_close = [this] { fire(event::OnClose); };
  animation_->callbacks.clear_background = [this] {
    layer_.clear();
    invalidate();
  };
  attach_animation(nullptr);
  creation_step();
  return S_OK;
}

void AnimviewControl::attach_animation(HWND hwnd) {
  animation_->set_window(hwnd);
  // Elements that change redraw the surface, windowed or not.
  animation_->Image1().on_invalidate = [this](const RECT& r) { invalidate(&r); };
}

void AnimviewControl::creation_step() {
  win::Element& first = animation_->Image1().at(0);
  first.top = 0;
  first.left = 0;
}

void AnimviewControl::resize_step() {
  win::Element& first = animation_->Image1().at(0);
  first.left = 0;
  first.top = 0;
  first.width = extent_.cx * 1440.0 / 2540.0;
  first.height = extent_.cy * 1440.0 / 2540.0;
}

HRESULT AnimviewControl::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  void* p = nullptr;
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID__Animview)
    p = static_cast<_Animview*>(this);
  else if (iid == IID_IOleObject)
    p = static_cast<IOleObject*>(this);
  else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceObject)
    p = static_cast<IOleInPlaceObject*>(this);
  else if (iid == IID_IOleInPlaceActiveObject)
    p = static_cast<IOleInPlaceActiveObject*>(this);
  else if (iid == IID_IOleControl)
    p = static_cast<IOleControl*>(this);
  else if (iid == IID_IViewObject || iid == IID_IViewObject2)
    p = static_cast<IViewObject2*>(this);
  else if (iid == IID_IPersist || iid == IID_IPersistStreamInit)
    p = static_cast<IPersistStreamInit*>(this);
  else if (iid == IID_IPersistStorage)
    p = static_cast<IPersistStorage*>(this);
  else if (iid == IID_IPersistPropertyBag)
    p = static_cast<IPersistPropertyBag*>(this);
  else if (iid == IID_IProvideClassInfo || iid == IID_IProvideClassInfo2)
    p = static_cast<IProvideClassInfo2*>(this);
  else if (iid == IID_IConnectionPointContainer)
    p = static_cast<IConnectionPointContainer*>(this);
  else if (iid == IID_ISpecifyPropertyPages)
    p = static_cast<ISpecifyPropertyPages*>(this);
  else if (iid == IID_IPerPropertyBrowsing)
    p = static_cast<IPerPropertyBrowsing*>(this);
  else if (iid == IID_IObjectSafety)
    p = static_cast<IObjectSafety*>(this);
  else if (iid == IID_ISupportErrorInfo)
    p = static_cast<ISupportErrorInfo*>(this);
  *out = p;
  if (!p) return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

ULONG AnimviewControl::AddRef() { return refs_.add(); }

ULONG AnimviewControl::Release() {
  const ULONG n = refs_.release();
  if (n == 0) delete this;
  return n;
}

HRESULT AnimviewControl::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 1;
  return S_OK;
}

HRESULT AnimviewControl::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  return dispatch_info_.copy_to(info);
}

HRESULT AnimviewControl::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  return dispatch_info_->GetIDsOfNames(names, count, ids);
}

HRESULT AnimviewControl::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                EXCEPINFO* excep, UINT* arg_err) {
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  // A member may raise events whose handlers let go of the control.
  const ComPtr<IUnknown> keep_alive(identity());
  SetErrorInfo(0, nullptr);
  // A script passes a variable by reference as a reference to a VARIANT. For LoadGif's
  // sFile holding text, hand over a reference to the string itself, which the type
  // library's dispatch (Wine's included) accepts; the variable stays the caller's.
  if (id == dispid::LoadGif && params && params->cArgs > 0 && params->cNamedArgs == 0) {
    const VARIANTARG& file = params->rgvarg[params->cArgs - 1];
    if (V_VT(&file) == (VT_VARIANT | VT_BYREF) && V_VARIANTREF(&file) && V_VT(V_VARIANTREF(&file)) == VT_BSTR) {
      std::vector<VARIANTARG> args(params->rgvarg, params->rgvarg + params->cArgs);
      V_VT(&args.back()) = VT_BSTR | VT_BYREF;
      V_BSTRREF(&args.back()) = &V_BSTR(V_VARIANTREF(&file));
      DISPPARAMS direct{args.data(), nullptr, params->cArgs, 0};
      return dispatch_info_->Invoke(static_cast<_Animview*>(this), id, flags, &direct, result, excep, arg_err);
    }
  }
  return dispatch_info_->Invoke(static_cast<_Animview*>(this), id, flags, params, result, excep, arg_err);
}

void AnimviewControl::fire(DISPID id, VARIANTARG* args, UINT count) {
  if (events_frozen_ > 0) return;
  const ComPtr<IUnknown> keep_alive(identity());
  DISPPARAMS params{args, nullptr, count, 0};
  for (const ComPtr<IDispatch>& sink : events_.sinks<IDispatch>())
    sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
}

void AnimviewControl::key_event(DISPID id, short* code, short* shift) {
  VARIANTARG args[2]{};  // in reverse order: Shift, then KeyCode
  V_VT(&args[0]) = VT_I2 | VT_BYREF;
  V_I2REF(&args[0]) = shift;
  V_VT(&args[1]) = VT_I2 | VT_BYREF;
  V_I2REF(&args[1]) = code;
  fire(id, args, 2);
}

void AnimviewControl::key_press(short* key_ascii) {
  VARIANTARG arg{};
  V_VT(&arg) = VT_I2 | VT_BYREF;
  V_I2REF(&arg) = key_ascii;
  fire(event::KeyPress, &arg, 1);
}

void AnimviewControl::property_changed(DISPID id) {
  dirty_ = true;
  const ComPtr<IUnknown> keep_alive(identity());
  for (const ComPtr<IPropertyNotifySink>& sink : property_notify_.sinks<IPropertyNotifySink>()) sink->OnChanged(id);
}

}  // namespace animview::control
