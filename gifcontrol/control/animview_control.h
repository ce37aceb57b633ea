// The Animview control object: the dual automation interface _Animview, its events, the
// OLE control protocol (embedding, in-place activation, drawing), persistence, and the
// answers a host asks of a control (class information, pages, safety).
//
// The frame store and playback are the Animation of animview/frames.h; this object maps
// the automation members onto it, shows its elements on the control surface, and raises
// OnOpen and OnClose for it.
#pragma once

#include <windows.h>
#include <objsafe.h>
#include <ocidl.h>
#include <olectl.h>

#include <memory>
#include <string>

#include "animview/frames.h"
#include "animview_h.h"
#include "com_object.h"
#include "connection_point.h"
#include "drawing_layer.h"
#include "properties.h"
#include "window.h"

namespace animview::control {

class AnimviewControl final : public _Animview,
                              public IOleObject,
                              public IOleInPlaceObject,
                              public IOleInPlaceActiveObject,
                              public IOleControl,
                              public IViewObject2,
                              public IPersistStreamInit,
                              public IPersistStorage,
                              public IPersistPropertyBag,
                              public IProvideClassInfo2,
                              public IConnectionPointContainer,
                              public ISpecifyPropertyPages,
                              public IPerPropertyBrowsing,
                              public IObjectSafety,
                              public ISupportErrorInfo {
 public:
  // The class factory's creation function.
  static HRESULT create(REFIID iid, void** out);

  AnimviewControl();
  ~AnimviewControl();
  AnimviewControl(const AnimviewControl&) = delete;
  AnimviewControl& operator=(const AnimviewControl&) = delete;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IDispatch, through the type library
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* excep, UINT* arg_err) override;

  // _Animview
  HRESULT STDMETHODCALLTYPE get_RepeatTimes(LONG* value) override;
  HRESULT STDMETHODCALLTYPE put_RepeatTimes(LONG value) override;
  HRESULT STDMETHODCALLTYPE get_TotalFrames(LONG* value) override;
  HRESULT STDMETHODCALLTYPE put_TotalFrames(LONG value) override;
  HRESULT STDMETHODCALLTYPE get_CloseF(VARIANT_BOOL* value) override;
  HRESULT STDMETHODCALLTYPE put_CloseF(VARIANT_BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_xOff(LONG* value) override;
  HRESULT STDMETHODCALLTYPE put_xOff(LONG value) override;
  HRESULT STDMETHODCALLTYPE get_yOff(LONG* value) override;
  HRESULT STDMETHODCALLTYPE put_yOff(LONG value) override;
  HRESULT STDMETHODCALLTYPE LoadGif(BSTR* file, VARIANT* images, VARIANT* temp_picture, VARIANT_BOOL* result) override;
  HRESULT STDMETHODCALLTYPE get_BackColor(OLE_COLOR* value) override;
  HRESULT STDMETHODCALLTYPE put_BackColor(OLE_COLOR value) override;
  HRESULT STDMETHODCALLTYPE get_BackStyle(short* value) override;
  HRESULT STDMETHODCALLTYPE put_BackStyle(short value) override;
  HRESULT STDMETHODCALLTYPE get_BorderStyle(short* value) override;
  HRESULT STDMETHODCALLTYPE put_BorderStyle(short value) override;
  HRESULT STDMETHODCALLTYPE GetImageCount(LONG* result) override;
  HRESULT STDMETHODCALLTYPE GetTimeWait(BSTR* result) override;
  HRESULT STDMETHODCALLTYPE get_Filename(BSTR* value) override;
  HRESULT STDMETHODCALLTYPE put_Filename(BSTR value) override;
  HRESULT STDMETHODCALLTYPE CloseFile(VARIANT* result) override;
  HRESULT STDMETHODCALLTYPE OpenFile(VARIANT_BOOL* result) override;
  HRESULT STDMETHODCALLTYPE Pause(VARIANT_BOOL* result) override;
  HRESULT STDMETHODCALLTYPE Play(VARIANT_BOOL* result) override;
  HRESULT STDMETHODCALLTYPE PaintPicture(IPictureDisp* picture, float x1, float y1, VARIANT width1, VARIANT height1,
                                         VARIANT x2, VARIANT y2, VARIANT width2, VARIANT height2,
                                         VARIANT opcode) override;

  // IOleObject
  HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override;
  HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override;
  HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR app, LPCOLESTR object) override;
  HRESULT STDMETHODCALLTYPE Close(DWORD save_option) override;
  HRESULT STDMETHODCALLTYPE SetMoniker(DWORD which, IMoniker* moniker) override;
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
  HRESULT STDMETHODCALLTYPE InitFromData(IDataObject* data, BOOL creation, DWORD reserved) override;
  HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD reserved, IDataObject** data) override;
  HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG msg, IOleClientSite* site, LONG index, HWND parent,
                                   LPCRECT pos) override;
  HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** verbs) override;
  HRESULT STDMETHODCALLTYPE Update() override;
  HRESULT STDMETHODCALLTYPE IsUpToDate() override;
  HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* clsid) override;
  HRESULT STDMETHODCALLTYPE GetUserType(DWORD form, LPOLESTR* name) override;
  HRESULT STDMETHODCALLTYPE SetExtent(DWORD aspect, SIZEL* size) override;
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, SIZEL* size) override;
  HRESULT STDMETHODCALLTYPE Advise(IAdviseSink* sink, DWORD* cookie) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
  HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA** advise) override;
  HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD aspect, DWORD* status) override;
  HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE* palette) override;

  // IOleWindow (of IOleInPlaceObject and IOleInPlaceActiveObject)
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* hwnd) override;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL enter) override;
  // IOleInPlaceObject
  HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override;
  HRESULT STDMETHODCALLTYPE UIDeactivate() override;
  HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT pos, LPCRECT clip) override;
  HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override;
  // IOleInPlaceActiveObject
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG msg) override;
  HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL activate) override;
  HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL activate) override;
  HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frame) override;
  HRESULT STDMETHODCALLTYPE EnableModeless(BOOL enable) override;

  // IOleControl
  HRESULT STDMETHODCALLTYPE GetControlInfo(CONTROLINFO* info) override;
  HRESULT STDMETHODCALLTYPE OnMnemonic(MSG* msg) override;
  HRESULT STDMETHODCALLTYPE OnAmbientPropertyChange(DISPID id) override;
  HRESULT STDMETHODCALLTYPE FreezeEvents(BOOL freeze) override;

  // IViewObject2
  HRESULT STDMETHODCALLTYPE Draw(DWORD aspect, LONG index, void* aspect_info, DVTARGETDEVICE* device,
                                 HDC target_dc, HDC dc, LPCRECTL bounds, LPCRECTL window_bounds,
                                 BOOL(STDMETHODCALLTYPE* cont)(ULONG_PTR), ULONG_PTR cont_arg) override;
  HRESULT STDMETHODCALLTYPE GetColorSet(DWORD aspect, LONG index, void* aspect_info, DVTARGETDEVICE* device,
                                        HDC target_dc, LOGPALETTE** colors) override;
  HRESULT STDMETHODCALLTYPE Freeze(DWORD aspect, LONG index, void* aspect_info, DWORD* freeze) override;
  HRESULT STDMETHODCALLTYPE Unfreeze(DWORD freeze) override;
  HRESULT STDMETHODCALLTYPE SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
  HRESULT STDMETHODCALLTYPE GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, LONG index, DVTARGETDEVICE* device, LPSIZEL size) override;

  // IPersist (of the three persistence interfaces)
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) override;
  // IPersistStreamInit and IPersistStorage
  HRESULT STDMETHODCALLTYPE IsDirty() override;
  // IPersistStreamInit and IPersistPropertyBag: the new-instance step
  HRESULT STDMETHODCALLTYPE InitNew() override;
  // IPersistStreamInit
  HRESULT STDMETHODCALLTYPE Load(LPSTREAM stream) override;
  HRESULT STDMETHODCALLTYPE Save(LPSTREAM stream, BOOL clear_dirty) override;
  HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER* size) override;
  // IPersistStorage
  HRESULT STDMETHODCALLTYPE InitNew(IStorage* storage) override;
  HRESULT STDMETHODCALLTYPE Load(IStorage* storage) override;
  HRESULT STDMETHODCALLTYPE Save(IStorage* storage, BOOL same_as_load) override;
  HRESULT STDMETHODCALLTYPE SaveCompleted(IStorage* storage) override;
  HRESULT STDMETHODCALLTYPE HandsOffStorage() override;
  // IPersistPropertyBag
  HRESULT STDMETHODCALLTYPE Load(IPropertyBag* bag, IErrorLog* log) override;
  HRESULT STDMETHODCALLTYPE Save(IPropertyBag* bag, BOOL clear_dirty, BOOL save_all) override;

  // IProvideClassInfo2
  HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetGUID(DWORD kind, GUID* guid) override;

  // IConnectionPointContainer
  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override;
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;

  // ISpecifyPropertyPages
  HRESULT STDMETHODCALLTYPE GetPages(CAUUID* pages) override;

  // IPerPropertyBrowsing
  HRESULT STDMETHODCALLTYPE GetDisplayString(DISPID id, BSTR* text) override;
  HRESULT STDMETHODCALLTYPE MapPropertyToPage(DISPID id, CLSID* page) override;
  HRESULT STDMETHODCALLTYPE GetPredefinedStrings(DISPID id, CALPOLESTR* strings, CADWORD* cookies) override;
  HRESULT STDMETHODCALLTYPE GetPredefinedValue(DISPID id, DWORD cookie, VARIANT* value) override;

  // IObjectSafety
  HRESULT STDMETHODCALLTYPE GetInterfaceSafetyOptions(REFIID iid, DWORD* supported, DWORD* enabled) override;
  HRESULT STDMETHODCALLTYPE SetInterfaceSafetyOptions(REFIID iid, DWORD mask, DWORD enabled) override;

  // ISupportErrorInfo
  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override;

 private:
  // Surface window messages (window.h calls back here).
  friend class SurfaceWindow;
  LRESULT on_message(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT handle_message(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

  HRESULT init();
  // Gives the frame store the window it shows in (nullptr while not in-place active).
  void attach_animation(HWND hwnd);
  IUnknown* identity() { return static_cast<_Animview*>(this); }

  // Steps of the control's life.
  void creation_step();
  void resize_step();
  void set_properties(const Properties& properties);  // no change report
  HRESULT restore(IPropertyBag* bag, IErrorLog* log);
  HRESULT save(IPropertyBag* bag, BOOL clear_dirty);
  // After a put: the host hears of the change and the control has unsaved changes.
  void property_changed(DISPID id);

  // Drawing.
  void render(HDC dc, const RECT& bounds, const RECT* clip) const;
  void paint_window(HWND hwnd);
  void invalidate(const RECT* rect = nullptr);
  void view_changed();

  // Activation.
  HRESULT activate_in_place(IOleClientSite* site, bool ui_activate);
  HRESULT ui_activate();
  void destroy_window();

  // Events.
  void fire(DISPID id, VARIANTARG* args = nullptr, UINT count = 0);
  void key_event(DISPID id, short* code, short* shift);
  void key_press(short* key_ascii);

  RefCount refs_;
  ComPtr<ITypeInfo> dispatch_info_;  // _Animview
  ComPtr<ITypeInfo> class_info_;     // coclass Animview
  ConnectionPoint events_;
  ConnectionPoint property_notify_;

  Properties properties_ = new_instance_properties();
  bool dirty_ = false;
  SIZEL extent_ = {};  // HIMETRIC
  std::unique_ptr<win::Animation> animation_;
  DrawingLayer layer_;  // PaintPicture's drawings, the control's own picture
  int events_frozen_ = 0;
  DWORD safety_ = 0;

  ComPtr<IOleClientSite> client_site_;
  // A container that takes part in the messages of a simple frame (OLEMISC_SIMPLEFRAME).
  ComPtr<ISimpleFrameSite> simple_frame_;
  ComPtr<IOleAdviseHolder> ole_advise_;
  ComPtr<IAdviseSink> view_sink_;
  DWORD view_aspects_ = 0;
  DWORD view_advise_flags_ = 0;
  ComPtr<IStorage> storage_;

  ComPtr<IOleInPlaceSite> in_place_site_;
  ComPtr<IOleInPlaceFrame> frame_;
  ComPtr<IOleInPlaceUIWindow> document_;
  bool ui_active_ = false;
  SurfaceWindow window_;
};

}  // namespace animview::control
