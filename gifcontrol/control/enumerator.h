// A COM enumerator over a snapshot of items (IEnumConnections, IEnumConnectionPoints):
// the items are copied when the enumerator is made, so a source that changes while a
// caller enumerates cannot invalidate it. Clones share the snapshot.
#pragma once

#include <windows.h>

#include <memory>
#include <utility>
#include <vector>

#include "com_object.h"

namespace animview::control {

// Traits: add_ref(item) takes one more reference to what the item holds; release(item)
// gives one back.
template <class Interface, class Item, class Traits>
class Enumerator final : public Interface {
 public:
  // Items that hold one reference each for as long as the snapshot lives.
  class Snapshot {
   public:
    explicit Snapshot(std::vector<Item> items) : items_(std::move(items)) {
      for (Item& item : items_) Traits::add_ref(item);
    }
    ~Snapshot() {
      for (Item& item : items_) Traits::release(item);
    }
    Snapshot(const Snapshot&) = delete;
    Snapshot& operator=(const Snapshot&) = delete;
    const std::vector<Item>& items() const { return items_; }

   private:
    std::vector<Item> items_;
  };

  Enumerator(std::shared_ptr<const Snapshot> snapshot, std::size_t position = 0)
      : snapshot_(std::move(snapshot)), position_(position) {}

  static HRESULT create(std::vector<Item> items, Interface** out) {
    if (!out) return E_POINTER;
    auto enumerator = make_object<Enumerator>(std::make_shared<const Snapshot>(std::move(items)));
    *out = enumerator.detach();
    return *out ? S_OK : E_OUTOFMEMORY;
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == __uuidof(Interface)) {
      *out = static_cast<Interface*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return refs_.add(); }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG n = refs_.release();
    if (n == 0) delete this;
    return n;
  }

  HRESULT STDMETHODCALLTYPE Next(ULONG count, Item* out, ULONG* fetched) override {
    if (!out) return E_POINTER;
    if (count != 1 && !fetched) return E_INVALIDARG;
    const auto& items = snapshot_->items();
    ULONG n = 0;
    while (n < count && position_ < items.size()) {
      out[n] = items[position_];
      Traits::add_ref(out[n]);  // the caller's own reference
      ++n;
      ++position_;
    }
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    const std::size_t left = snapshot_->items().size() - position_;
    const bool enough = count <= left;
    position_ += enough ? count : left;
    return enough ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    position_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(Interface** out) override {
    if (!out) return E_POINTER;
    auto copy = make_object<Enumerator>(snapshot_, position_);
    *out = copy.detach();
    return *out ? S_OK : E_OUTOFMEMORY;
  }

 private:
  RefCount refs_;
  std::shared_ptr<const Snapshot> snapshot_;
  std::size_t position_;
};

}  // namespace animview::control
