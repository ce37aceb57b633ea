// The property bag the control keeps in a stream (IPersistStreamInit, IPersistStorage):
// the same keys, values and order that a host's bag would receive, written as
//
//   "AVPB", format 1 (u16), entry count (u16), then per entry: key length in UTF-16 units
//   (u16), the key, the VARTYPE (u16: VT_I2, VT_I4 or VT_BSTR), and the value (i16, i32,
//   or a u32 length in UTF-16 units followed by the text). Little-endian throughout.
//
// Reading checks every length against the limits below before it allocates, so a damaged
// or hostile stream fails with STG_E_READFAULT or STG_E_INVALIDHEADER instead.
#pragma once

#include <objidl.h>
#include <ocidl.h>

#include <string>
#include <vector>

#include "com_object.h"

namespace animview::control {

class MemoryBag final : public IPropertyBag {
 public:
  static constexpr std::size_t kMaxEntries = 64;
  static constexpr std::size_t kMaxKeyLength = 256;
  static constexpr std::size_t kMaxTextLength = 32768;  // longer than any Windows path

  static ComPtr<MemoryBag> create();

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // Missing key: E_INVALIDARG, as hosts' bags answer.
  HRESULT STDMETHODCALLTYPE Read(LPCOLESTR key, VARIANT* value, IErrorLog* log) override;
  // Keeps VT_I2, VT_I4 and VT_BSTR values; a key written again keeps its place.
  HRESULT STDMETHODCALLTYPE Write(LPCOLESTR key, VARIANT* value) override;

  HRESULT save(IStream* stream) const;
  HRESULT load(IStream* stream);
  ULONGLONG size() const;

 private:
  struct Entry {
    std::wstring key;
    VARTYPE type;
    long number;
    std::wstring text;
  };

  RefCount refs_;
  std::vector<Entry> entries_;
};

}  // namespace animview::control
