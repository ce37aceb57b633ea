#include "errors.h"

#include <oleauto.h>

#include "bstr.h"
#include "com_ptr.h"
#include "ids.h"

namespace animview::control {

HRESULT fail(HRESULT hr, std::wstring_view description) {
  ComPtr<ICreateErrorInfo> create;
  if (FAILED(CreateErrorInfo(create.put()))) return hr;
  const Bstr text(description);
  create->SetGUID(IID__Animview);
  create->SetSource(const_cast<LPOLESTR>(kVersionIndependentProgId));
  create->SetDescription(text.get());
  if (const auto info = create.query<IErrorInfo>(IID_IErrorInfo)) SetErrorInfo(0, info.get());
  return hr;
}

}  // namespace animview::control
