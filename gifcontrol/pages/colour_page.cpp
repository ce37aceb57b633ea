#include "colour_page.h"

#include <commctrl.h>

#include <array>
#include <cwchar>
#include <string>

#include "by_name.h"
#include "page_ids.h"

namespace animview::pages {
namespace {

struct Colour {
  const wchar_t* name;
  unsigned long value;  // an OLE_COLOR: RGB, or 0x80000000 with a system colour index
};

constexpr unsigned long system_colour(int index) { return 0x80000000UL | static_cast<unsigned long>(index); }

constexpr std::array kColours = {
    Colour{L"Black", 0x000000},
    Colour{L"White", 0xFFFFFF},
    Colour{L"Red", 0x0000FF},
    Colour{L"Green", 0x00FF00},
    Colour{L"Blue", 0xFF0000},
    Colour{L"Yellow", 0x00FFFF},
    Colour{L"Cyan", 0xFFFF00},
    Colour{L"Magenta", 0xFF00FF},
    Colour{L"Gray", 0x808080},
    Colour{L"Silver", 0xC0C0C0},
    Colour{L"Button Face", system_colour(COLOR_BTNFACE)},
    Colour{L"Button Text", system_colour(COLOR_BTNTEXT)},
    Colour{L"Window Background", system_colour(COLOR_WINDOW)},
    Colour{L"Window Text", system_colour(COLOR_WINDOWTEXT)},
    Colour{L"Application Workspace", system_colour(COLOR_APPWORKSPACE)},
    Colour{L"Desktop", system_colour(COLOR_DESKTOP)},
    Colour{L"Highlight", system_colour(COLOR_HIGHLIGHT)},
    Colour{L"Highlight Text", system_colour(COLOR_HIGHLIGHTTEXT)},
    Colour{L"Menu Bar", system_colour(COLOR_MENU)},
    Colour{L"Tool Tip", system_colour(COLOR_INFOBK)},
};

class ColourPage final : public PropertyPage {
 public:
  ColourPage() : PropertyPage(L"Color", 7935, 3495) {}

 private:
  void create_children() override {
    add_label({ids::lblBackColor, L"BackColor:", {120, 120, 2700, 240}});
    list_ = add_child(WC_LISTBOXW, L"", WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY, ids::lstColors,
                      {120, 390, 3600, 2880});
    for (const Colour& colour : kColours) SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(colour.name));
  }

  HRESULT show_object() override {
    std::wstring text;
    if (HRESULT hr = get_text(first_object(), L"BackColor", text); FAILED(hr)) return hr;
    const unsigned long value = std::wcstoul(text.c_str(), nullptr, 10);
    int item = -1;
    for (std::size_t i = 0; i < kColours.size(); ++i)
      if (kColours[i].value == value) item = static_cast<int>(i);
    SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(item), 0);
    return S_OK;
  }

  void on_command(int id, int code, HWND) override {
    if (id == ids::lstColors && code == LBN_SELCHANGE) mark_dirty();
  }

  // A colour that is in no list item (none chosen) is left as it is.
  HRESULT apply_to_object() override {
    if (!window()) return S_OK;
    const LRESULT item = SendMessageW(list_, LB_GETCURSEL, 0, 0);
    if (item < 0 || static_cast<std::size_t>(item) >= kColours.size()) return S_OK;
    return put_text(first_object(), L"BackColor", std::to_wstring(kColours[static_cast<std::size_t>(item)].value));
  }

  HWND editor_of(DISPID id) const override { return id == kBackColor ? list_ : nullptr; }

  static constexpr DISPID kBackColor = 0x68030005;
  HWND list_ = nullptr;
};

}  // namespace

HRESULT create_colour_page(REFIID iid, void** out) { return control::create_object<ColourPage>(iid, out); }

}  // namespace animview::pages
