#include "memory_bag.h"

#include <oleauto.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "bstr.h"

namespace animview::control {
namespace {

constexpr char kMagic[4] = {'A', 'V', 'P', 'B'};
constexpr std::uint16_t kFormat = 1;

class Writer {
 public:
  explicit Writer(IStream* stream) : stream_(stream) {}
  void bytes(const void* data, ULONG size) {
    if (FAILED(hr_)) return;
    ULONG written = 0;
    hr_ = stream_->Write(data, size, &written);
    if (SUCCEEDED(hr_) && written != size) hr_ = STG_E_WRITEFAULT;
  }
  void u16(std::uint16_t v) { bytes(&v, sizeof v); }
  void u32(std::uint32_t v) { bytes(&v, sizeof v); }
  void text(const std::wstring& s) { bytes(s.data(), static_cast<ULONG>(s.size() * sizeof(wchar_t))); }
  HRESULT result() const { return hr_; }

 private:
  IStream* stream_;
  HRESULT hr_ = S_OK;
};

class Reader {
 public:
  explicit Reader(IStream* stream) : stream_(stream) {}
  bool bytes(void* data, ULONG size) {
    if (FAILED(hr_)) return false;
    ULONG read = 0;
    hr_ = stream_->Read(data, size, &read);
    if (SUCCEEDED(hr_) && read != size) hr_ = STG_E_READFAULT;
    return SUCCEEDED(hr_);
  }
  bool u16(std::uint16_t& v) { return bytes(&v, sizeof v); }
  bool u32(std::uint32_t& v) { return bytes(&v, sizeof v); }
  bool text(std::size_t length, std::wstring& s) {
    s.assign(length, L'\0');
    return bytes(s.data(), static_cast<ULONG>(length * sizeof(wchar_t)));
  }
  HRESULT result() const { return hr_; }

 private:
  IStream* stream_;
  HRESULT hr_ = S_OK;
};

}  // namespace

ComPtr<MemoryBag> MemoryBag::create() { return make_object<MemoryBag>(); }

HRESULT MemoryBag::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IPropertyBag) {
    *out = static_cast<IPropertyBag*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG MemoryBag::AddRef() { return refs_.add(); }

ULONG MemoryBag::Release() {
  const ULONG n = refs_.release();
  if (n == 0) delete this;
  return n;
}

HRESULT MemoryBag::Read(LPCOLESTR key, VARIANT* value, IErrorLog*) {
  if (!key || !value) return E_POINTER;
  const auto it = std::find_if(entries_.begin(), entries_.end(), [key](const Entry& e) { return e.key == key; });
  if (it == entries_.end()) return E_INVALIDARG;
  VariantClear(value);
  V_VT(value) = it->type;
  switch (it->type) {
    case VT_I2:
      V_I2(value) = static_cast<SHORT>(it->number);
      break;
    case VT_I4:
      V_I4(value) = static_cast<LONG>(it->number);
      break;
    default:
      V_BSTR(value) = SysAllocStringLen(it->text.data(), static_cast<UINT>(it->text.size()));
      if (!V_BSTR(value)) {
        V_VT(value) = VT_EMPTY;
        return E_OUTOFMEMORY;
      }
  }
  return S_OK;
}

HRESULT MemoryBag::Write(LPCOLESTR key, VARIANT* value) {
  if (!key || !value) return E_POINTER;
  Entry entry{key, V_VT(value), 0, {}};
  if (entry.key.size() > kMaxKeyLength) return E_INVALIDARG;
  switch (V_VT(value)) {
    case VT_I2:
      entry.number = V_I2(value);
      break;
    case VT_I4:
      entry.number = V_I4(value);
      break;
    case VT_BSTR:
      entry.text = to_wstring(V_BSTR(value));
      if (entry.text.size() > kMaxTextLength) return E_INVALIDARG;
      break;
    default:
      return DISP_E_BADVARTYPE;
  }
  const auto it = std::find_if(entries_.begin(), entries_.end(), [key](const Entry& e) { return e.key == key; });
  if (it != entries_.end()) {
    *it = std::move(entry);
  } else {
    if (entries_.size() >= kMaxEntries) return E_OUTOFMEMORY;
    entries_.push_back(std::move(entry));
  }
  return S_OK;
}

HRESULT MemoryBag::save(IStream* stream) const {
  if (!stream) return E_POINTER;
  Writer w(stream);
  w.bytes(kMagic, sizeof kMagic);
  w.u16(kFormat);
  w.u16(static_cast<std::uint16_t>(entries_.size()));
  for (const Entry& e : entries_) {
    w.u16(static_cast<std::uint16_t>(e.key.size()));
    w.text(e.key);
    w.u16(e.type);
    if (e.type == VT_I2) {
      w.u16(static_cast<std::uint16_t>(e.number));
    } else if (e.type == VT_I4) {
      w.u32(static_cast<std::uint32_t>(e.number));
    } else {
      w.u32(static_cast<std::uint32_t>(e.text.size()));
      w.text(e.text);
    }
  }
  return w.result();
}

HRESULT MemoryBag::load(IStream* stream) {
  if (!stream) return E_POINTER;
  Reader r(stream);
  char magic[4] = {};
  std::uint16_t format = 0, count = 0;
  if (!r.bytes(magic, sizeof magic) || !r.u16(format) || !r.u16(count)) return r.result();
  if (std::memcmp(magic, kMagic, sizeof magic) != 0 || format != kFormat || count > kMaxEntries)
    return STG_E_INVALIDHEADER;
  std::vector<Entry> entries;
  for (std::uint16_t i = 0; i < count; ++i) {
    Entry e{};
    std::uint16_t key_length = 0, type = 0;
    if (!r.u16(key_length)) return r.result();
    if (key_length > kMaxKeyLength) return STG_E_INVALIDHEADER;
    if (!r.text(key_length, e.key) || !r.u16(type)) return r.result();
    e.type = type;
    if (type == VT_I2) {
      std::uint16_t v = 0;
      if (!r.u16(v)) return r.result();
      e.number = static_cast<std::int16_t>(v);
    } else if (type == VT_I4) {
      std::uint32_t v = 0;
      if (!r.u32(v)) return r.result();
      e.number = static_cast<std::int32_t>(v);
    } else if (type == VT_BSTR) {
      std::uint32_t length = 0;
      if (!r.u32(length)) return r.result();
      if (length > kMaxTextLength) return STG_E_INVALIDHEADER;
      if (!r.text(length, e.text)) return r.result();
    } else {
      return STG_E_INVALIDHEADER;
    }
    entries.push_back(std::move(e));
  }
  entries_ = std::move(entries);
  return S_OK;
}

ULONGLONG MemoryBag::size() const {
  ULONGLONG n = sizeof kMagic + 2 + 2;
  for (const Entry& e : entries_) {
    n += 2 + e.key.size() * sizeof(wchar_t) + 2;
    n += e.type == VT_I2 ? 2 : e.type == VT_I4 ? 4 : 4 + e.text.size() * sizeof(wchar_t);
  }
  return n;
}

}  // namespace animview::control
