// A minimal container site: enough of IOleClientSite and IOleInPlaceSite for the control
// to activate in place inside a window of the test.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <oleidl.h>

#include <vector>

#include "com_ptr.h"

namespace animview::control::testing {

class TestSite final : public IOleClientSite, public IOleInPlaceSite, public ISimpleFrameSite {
 public:
  TestSite(HWND window, RECT position) : window_(window), position_(position) {}
  static ComPtr<TestSite> create(HWND window, RECT position);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE SaveObject() override {
    ++saves;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** m) override {
    *m = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** c) override {
    *c = nullptr;
    return E_NOINTERFACE;
  }
  HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

  HRESULT STDMETHODCALLTYPE GetWindow(HWND* hwnd) override {
    *hwnd = window_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override {
    ++activations;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos,
                                             LPRECT clip, LPOLEINPLACEFRAMEINFO) override {
    *frame = nullptr;
    *doc = nullptr;
    *pos = position_;
    *clip = position_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override {
    --activations;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return S_OK; }

  // ISimpleFrameSite: records the messages it sees; keeps from the control those in `keep`.
  HRESULT STDMETHODCALLTYPE PreMessageFilter(HWND, UINT message, WPARAM, LPARAM, LRESULT* result,
                                             DWORD* cookie) override {
    pre.push_back(message);
    *cookie = message;
    *result = 0;
    return message == keep ? S_FALSE : S_OK;
  }
  HRESULT STDMETHODCALLTYPE PostMessageFilter(HWND, UINT message, WPARAM, LPARAM, LRESULT*, DWORD cookie) override {
    if (cookie == message) post.push_back(message);
    return S_OK;
  }
  std::vector<UINT> pre, post;
  UINT keep = 0;

  int activations = 0;  // in-place activations not yet ended
  int saves = 0;        // SaveObject calls

 private:
  LONG refs_ = 1;
  HWND window_;
  RECT position_;
};

// Sites `control` in `site` and activates it in place; returns the control's window.
HWND activate(IUnknown* control, TestSite* site);
// Takes the control down as a container does when it lets go of it.
void deactivate(IUnknown* control);

}  // namespace animview::control::testing
