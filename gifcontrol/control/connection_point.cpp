#include "connection_point.h"

#include <olectl.h>

#include <algorithm>

#include "enumerator.h"

namespace animview::control {
namespace {

struct ConnectDataTraits {
  static void add_ref(CONNECTDATA& c) {
    if (c.pUnk) c.pUnk->AddRef();
  }
  static void release(CONNECTDATA& c) {
    if (c.pUnk) c.pUnk->Release();
  }
};
using ConnectionEnumerator = Enumerator<IEnumConnections, CONNECTDATA, ConnectDataTraits>;

}  // namespace

ConnectionPoint::ConnectionPoint(IUnknown& owner, IConnectionPointContainer& container, REFIID iid,
                                 REFIID fallback_iid)
    : owner_(owner), container_(container), iid_(iid), fallback_iid_(fallback_iid) {}

HRESULT ConnectionPoint::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IConnectionPoint) {
    *out = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG ConnectionPoint::AddRef() { return owner_.AddRef(); }
ULONG ConnectionPoint::Release() { return owner_.Release(); }

HRESULT ConnectionPoint::GetConnectionInterface(IID* iid) {
  if (!iid) return E_POINTER;
  *iid = iid_;
  return S_OK;
}

HRESULT ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** out) {
  if (!out) return E_POINTER;
  *out = &container_;
  container_.AddRef();
  return S_OK;
}

HRESULT ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
  if (!cookie) return E_POINTER;
  *cookie = 0;
  if (!sink) return E_POINTER;
  ComPtr<IUnknown> typed;
  if (FAILED(sink->QueryInterface(iid_, typed.put_void())) &&
      (fallback_iid_ == IID_NULL || FAILED(sink->QueryInterface(fallback_iid_, typed.put_void()))))
    return CONNECT_E_CANNOTCONNECT;
  if (!typed) return CONNECT_E_CANNOTCONNECT;
  connections_.push_back({next_cookie_, std::move(typed)});
  *cookie = next_cookie_++;
  return S_OK;
}

HRESULT ConnectionPoint::Unadvise(DWORD cookie) {
  const auto it = std::find_if(connections_.begin(), connections_.end(),
                               [cookie](const Connection& c) { return c.cookie == cookie; });
  if (it == connections_.end()) return CONNECT_E_NOCONNECTION;
  // The sink may release the control when it is let go of: keep it until the list is sound.
  ComPtr<IUnknown> sink = std::move(it->sink);
  connections_.erase(it);
  return S_OK;
}

HRESULT ConnectionPoint::EnumConnections(IEnumConnections** out) {
  std::vector<CONNECTDATA> items;
  items.reserve(connections_.size());
  for (const Connection& c : connections_) items.push_back(CONNECTDATA{c.sink.get(), c.cookie});
  return ConnectionEnumerator::create(std::move(items), out);
}

}  // namespace animview::control
