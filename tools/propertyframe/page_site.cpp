#include "page_site.h"

#include <new>
#include <utility>

namespace animview::frame {

PageSite::PageSite(LCID locale, StatusHandler on_status) : locale_(locale), on_status_(std::move(on_status)) {}

control::ComPtr<PageSite> PageSite::create(LCID locale, StatusHandler on_status) {
  return control::ComPtr<PageSite>::adopt(new (std::nothrow) PageSite(locale, std::move(on_status)));
}

HRESULT PageSite::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IPropertyPageSite) {
    *out = static_cast<IPropertyPageSite*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG PageSite::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }

ULONG PageSite::Release() {
  const auto n = static_cast<ULONG>(InterlockedDecrement(&refs_));
  if (n == 0) delete this;
  return n;
}

HRESULT PageSite::OnStatusChange(DWORD flags) {
  if (on_status_) on_status_(flags);
  return S_OK;
}

HRESULT PageSite::GetLocaleID(LCID* locale) {
  if (!locale) return E_POINTER;
  *locale = locale_;
  return S_OK;
}

HRESULT PageSite::GetPageContainer(IUnknown** container) {
  if (container) *container = nullptr;
  return E_NOTIMPL;
}

// The frame's own keys (Tab, Enter, Escape, Ctrl+Tab) are handled in its message loop.
HRESULT PageSite::TranslateAccelerator(MSG*) { return S_FALSE; }

}  // namespace animview::frame
