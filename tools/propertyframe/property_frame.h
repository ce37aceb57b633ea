// A property-pages dialog for hosts and tests: tabs for the pages, OK, Cancel and Apply,
// and the page-site side of the property-page protocol. Modelled on the platform's
// OleCreatePropertyFrameIndirect, for platforms whose own frame never applies a page
// (Wine's shows the pages but has no working Apply).
#pragma once

#include <windows.h>
#include <ocidl.h>

#include <string>
#include <vector>

namespace animview::frame {

struct FrameRequest {
  HWND owner = nullptr;       // disabled while the frame is up
  std::wstring caption;       // the frame's title is "<caption> Properties"
  std::vector<IUnknown*> objects;
  std::vector<CLSID> pages;   // in tab order
  LCID locale = LOCALE_USER_DEFAULT;
  ULONG initial_page = 0;
  DISPID initial_property = DISPID_UNKNOWN;  // focused through IPropertyPage2 when given
};

// Shows the frame modally and returns when the user closes it (OK or Cancel: S_OK). Fails
// without showing anything when a page cannot be created or refuses the objects.
HRESULT show_property_frame(const FrameRequest& request);

}  // namespace animview::frame
