#include "served_classes.h"

#include "com_ptr.h"

namespace animview::frame {

ServedClasses::ServedClasses(HMODULE library, const std::vector<CLSID>& clsids) {
  using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  const auto get = library ? reinterpret_cast<GetClassObject>(
                                 reinterpret_cast<void*>(GetProcAddress(library, "DllGetClassObject")))
                           : nullptr;
  if (!get) return;
  for (const CLSID& clsid : clsids) {
    control::ComPtr<IClassFactory> factory;
    DWORD cookie = 0;
    if (SUCCEEDED(get(clsid, IID_IClassFactory, factory.put_void())) &&
        SUCCEEDED(CoRegisterClassObject(clsid, factory.get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie)))
      cookies_.push_back(cookie);
  }
}

ServedClasses::~ServedClasses() {
  for (DWORD cookie : cookies_) CoRevokeClassObject(cookie);
}

}  // namespace animview::frame
