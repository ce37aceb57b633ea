// The entry points of Animview.ocx.
#include <windows.h>
#include <olectl.h>

#include "animview_control.h"
#include "class_factory.h"
#include "colour_page.h"
#include "component_page.h"
#include "general_page.h"
#include "ids.h"
#include "module.h"
#include "registration.h"
#include "window.h"

using namespace animview::control;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    module::set_instance(instance);
    DisableThreadLibraryCalls(instance);
  } else if (reason == DLL_PROCESS_DETACH && !reserved) {
    // Unloaded by FreeLibrary (not at process end): take the window classes away too.
    SurfaceWindow::unregister_class();
    animview::win::WindowTimer::unregister_class();
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  CreateFunction create = nullptr;
  if (clsid == CLSID_Animview)
    create = &AnimviewControl::create;
  else if (clsid == CLSID_General)
    create = &animview::pages::create_general_page;
  else if (clsid == CLSID_Component)
    create = &animview::pages::create_component_page;
  else if (clsid == kOwnColorPage)
    create = &animview::pages::create_colour_page;
  else
    return CLASS_E_CLASSNOTAVAILABLE;
  const ComPtr<IClassFactory> factory = make_class_factory(create);
  if (!factory) return E_OUTOFMEMORY;
  return factory->QueryInterface(iid, out);
}

STDAPI DllCanUnloadNow() { return module::lock_count() == 0 ? S_OK : S_FALSE; }

STDAPI DllRegisterServer() { return register_server(module::path()); }

STDAPI DllUnregisterServer() { return unregister_server(); }
