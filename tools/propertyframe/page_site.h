// The frame's side of one page: the page tells it of edits through this site.
#pragma once

#include <windows.h>
#include <ocidl.h>

#include <functional>

#include "com_ptr.h"

namespace animview::frame {

class PageSite final : public IPropertyPageSite {
 public:
  using StatusHandler = std::function<void(DWORD flags)>;

  // A new site with one reference, owned by the caller.
  static control::ComPtr<PageSite> create(LCID locale, StatusHandler on_status);

  // A page may keep its site after the frame has gone; from then on the site only answers.
  void detach() { on_status_ = nullptr; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE OnStatusChange(DWORD flags) override;
  HRESULT STDMETHODCALLTYPE GetLocaleID(LCID* locale) override;
  HRESULT STDMETHODCALLTYPE GetPageContainer(IUnknown** container) override;
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG* msg) override;

 private:
  PageSite(LCID locale, StatusHandler on_status);

  LONG refs_ = 1;
  LCID locale_;
  StatusHandler on_status_;
};

}  // namespace animview::frame
