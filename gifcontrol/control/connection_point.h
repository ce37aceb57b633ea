// A connection point of the control (the __Animview event source, IPropertyNotifySink).
// It lives inside the control and shares its reference count, so that a sink holding it
// keeps the control alive and the control never outlives its connection points.
#pragma once

#include <ocidl.h>

#include <vector>

#include "com_ptr.h"

namespace animview::control {

class ConnectionPoint final : public IConnectionPoint {
 public:
  // `owner` is the control's IUnknown; `fallback_iid` is also accepted from a sink that
  // does not answer for `iid` (IID_IDispatch for a dispatch event interface, else IID_NULL).
  ConnectionPoint(IUnknown& owner, IConnectionPointContainer& container, REFIID iid, REFIID fallback_iid);
  ConnectionPoint(const ConnectionPoint&) = delete;
  ConnectionPoint& operator=(const ConnectionPoint&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
  HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** out) override;
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** out) override;

  // The sinks connected now, each as the interface it was advised with. A copy, so that
  // a sink may unadvise while it is being called.
  template <class Sink>
  std::vector<ComPtr<Sink>> sinks() const {
    std::vector<ComPtr<Sink>> result;
    result.reserve(connections_.size());
    for (const Connection& c : connections_) result.push_back(ComPtr<Sink>(static_cast<Sink*>(c.sink.get())));
    return result;
  }
  // Lets go of every sink (when the control is torn down).
  void disconnect_all() { connections_.clear(); }

 private:
  struct Connection {
    DWORD cookie;
    ComPtr<IUnknown> sink;  // the pointer returned by the sink's QueryInterface for iid_
  };
  IUnknown& owner_;
  IConnectionPointContainer& container_;
  IID iid_;
  IID fallback_iid_;
  DWORD next_cookie_ = 1;
  std::vector<Connection> connections_;
};

}  // namespace animview::control
