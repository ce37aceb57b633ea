// Persistence: a host's property bag, a stream, or a storage holding that stream. All three
// go through the same save and restore steps (properties.h).
#include "animview_control.h"

#include "ids.h"
#include "memory_bag.h"

namespace animview::control {
namespace {
constexpr wchar_t kStreamName[] = L"Contents";
}  // namespace

void AnimviewControl::set_properties(const Properties& properties) {
  properties_ = properties;
  invalidate();
}

HRESULT AnimviewControl::restore(IPropertyBag* bag, IErrorLog* log) {
  if (!bag) return E_POINTER;
  // Keys after a failing one keep the values of a fresh instance.
  Properties read = new_instance_properties();
  const HRESULT hr = restore_properties(bag, log, read);
  set_properties(read);
  dirty_ = false;
  return hr;
}

HRESULT AnimviewControl::save(IPropertyBag* bag, BOOL clear_dirty) {
  if (!bag) return E_POINTER;
  if (const HRESULT hr = save_properties(properties_, bag); FAILED(hr)) return hr;
  if (clear_dirty) dirty_ = false;
  return S_OK;
}

HRESULT AnimviewControl::GetClassID(CLSID* clsid) {
  if (!clsid) return E_POINTER;
  *clsid = CLSID_Animview;
  return S_OK;
}

HRESULT AnimviewControl::IsDirty() { return dirty_ ? S_OK : S_FALSE; }

HRESULT AnimviewControl::InitNew() {
  // The new-instance step: no file; the appearance of the surface's design.
  set_properties(new_instance_properties());
  dirty_ = false;
  return S_OK;
}

HRESULT AnimviewControl::Load(LPSTREAM stream) {
  if (!stream) return E_POINTER;
  const ComPtr<MemoryBag> bag = MemoryBag::create();
  if (!bag) return E_OUTOFMEMORY;
  if (const HRESULT hr = bag->load(stream); FAILED(hr)) return hr;
  return restore(bag.get(), nullptr);
}

HRESULT AnimviewControl::Save(LPSTREAM stream, BOOL clear_dirty) {
  if (!stream) return E_POINTER;
  const ComPtr<MemoryBag> bag = MemoryBag::create();
  if (!bag) return E_OUTOFMEMORY;
  if (const HRESULT hr = save_properties(properties_, bag.get()); FAILED(hr)) return hr;
  if (const HRESULT hr = bag->save(stream); FAILED(hr)) return hr;
  if (clear_dirty) dirty_ = false;
  return S_OK;
}

HRESULT AnimviewControl::GetSizeMax(ULARGE_INTEGER* size) {
  if (!size) return E_POINTER;
  const ComPtr<MemoryBag> bag = MemoryBag::create();
  if (!bag) return E_OUTOFMEMORY;
  if (const HRESULT hr = save_properties(properties_, bag.get()); FAILED(hr)) return hr;
  size->QuadPart = bag->size();
  return S_OK;
}

HRESULT AnimviewControl::InitNew(IStorage* storage) {
  if (!storage) return E_POINTER;
  storage_ = ComPtr<IStorage>(storage);
  return InitNew();
}

HRESULT AnimviewControl::Load(IStorage* storage) {
  if (!storage) return E_POINTER;
  ComPtr<IStream> stream;
  if (const HRESULT hr = storage->OpenStream(kStreamName, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, stream.put());
      FAILED(hr))
    return hr;
  if (const HRESULT hr = Load(stream.get()); FAILED(hr)) return hr;
  storage_ = ComPtr<IStorage>(storage);
  return S_OK;
}

HRESULT AnimviewControl::Save(IStorage* storage, BOOL same_as_load) {
  if (!storage) return E_POINTER;
  ComPtr<IStream> stream;
  if (const HRESULT hr = storage->CreateStream(kStreamName, STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE, 0, 0,
                                               stream.put());
      FAILED(hr))
    return hr;
  return Save(stream.get(), same_as_load);
}

HRESULT AnimviewControl::SaveCompleted(IStorage* storage) {
  if (storage) storage_ = ComPtr<IStorage>(storage);
  return S_OK;
}

HRESULT AnimviewControl::HandsOffStorage() {
  storage_ = nullptr;
  return S_OK;
}

HRESULT AnimviewControl::Load(IPropertyBag* bag, IErrorLog* log) { return restore(bag, log); }

HRESULT AnimviewControl::Save(IPropertyBag* bag, BOOL clear_dirty, BOOL) { return save(bag, clear_dirty); }

}  // namespace animview::control
