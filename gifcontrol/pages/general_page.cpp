#include "general_page.h"

#include <commctrl.h>

#include <array>
#include <string>

#include "by_name.h"
#include "page_ids.h"

namespace animview::pages {
namespace {

constexpr DISPID kFilename = 0x68030001;
constexpr DISPID kBorderStyle = 0x68030003;
constexpr DISPID kBackStyle = 0x68030004;

// Children in tab order; the two lists and the text box come between the left-hand labels
// and the explanations at the right.
constexpr std::array kLeftLabels = {
    Label{ids::lblBackStyle, L"BackStyle:", {90, 120, 2700, 240}},
    Label{ids::lblBorderStyle, L"BorderStyle:", {90, 770, 2700, 240}},
    Label{ids::lblFilename, L"Filename:", {120, 1425, 2700, 240}},
};
constexpr TwipsRect kFilenameBox{120, 1680, 5130, 330};
constexpr TwipsRect kBackStyleList{90, 345, 5190, 315};
constexpr TwipsRect kBorderStyleList{90, 1020, 5160, 315};
constexpr std::array kRightLabels = {
    Label{ids::Label2, L"0 - Transparent", {5505, 225, 2340, 240}},
    Label{ids::Label3, L"1 - Opaque", {5520, 450, 2325, 225}},
    Label{ids::Label4, L"0 - None", {5460, 975, 2340, 240}},
    Label{ids::Label5, L"1 - Fixed Single", {5475, 1200, 2325, 225}},
    Label{ids::Label6, L"The File to load", {5475, 1770, 2520, 225}},
};

// Room below a list's field for its two items when it drops down.
constexpr int kDropDownTwips = 1200;

class GeneralPage final : public PropertyPage {
 public:
  GeneralPage() : PropertyPage(L"General", 7935, 3495) {}

 private:
  void create_children() override {
    for (const Label& label : kLeftLabels) add_label(label);
    filename_ = add_child(WC_EDITW, L"", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, ids::txtFilename, kFilenameBox);
    back_style_ = add_list(ids::txtBackStyle, kBackStyleList);
    border_style_ = add_list(ids::txtBorderStyle, kBorderStyleList);
    for (const Label& label : kRightLabels) add_label(label);
    for (HWND list : {back_style_, border_style_}) {
      SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"0"));
      SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"1"));
    }
    clear_dirty();
  }

  HWND add_list(int id, TwipsRect place) {
    const int field_px = dpi().px_y(place.height);
    place.height += kDropDownTwips;
    HWND list = add_child(WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, id, place);
    // The field itself as tall as the layout says; its frame takes six pixels.
    SendMessageW(list, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field_px - 6);
    SetWindowSubclass(list, &list_key_watch, 0, reinterpret_cast<DWORD_PTR>(this));
    return list;
  }

  // Releasing a key in a list counts as an edit, even where it chose nothing new.
  static LRESULT CALLBACK list_key_watch(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                         DWORD_PTR self) {
    if (message == WM_KEYUP) reinterpret_cast<GeneralPage*>(self)->mark_dirty();
    if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, &list_key_watch, 0);
    return DefSubclassProc(hwnd, message, wparam, lparam);
  }

  HRESULT show_object() override {
    std::wstring text;
    if (HRESULT hr = get_text(first_object(), L"Filename", text); FAILED(hr)) return hr;
    // Only a different text is a change of the box, as with typing.
    if (text != window_text(filename_)) SetWindowTextW(filename_, text.c_str());
    if (HRESULT hr = get_text(first_object(), L"BorderStyle", text); FAILED(hr)) return hr;
    select_text(border_style_, text);
    if (HRESULT hr = get_text(first_object(), L"BackStyle", text); FAILED(hr)) return hr;
    select_text(back_style_, text);
    return S_OK;
  }

  static void select_text(HWND list, const std::wstring& text) {
    const LRESULT item = SendMessageW(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                      reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageW(list, CB_SETCURSEL, item == CB_ERR ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(item), 0);
  }

  static std::wstring window_text(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
  }

  void on_command(int id, int code, HWND) override {
    const bool box_changed = id == ids::txtFilename && code == EN_CHANGE;
    const bool list_changed = (id == ids::txtBackStyle || id == ids::txtBorderStyle) &&
                              (code == CBN_SELCHANGE || code == CBN_EDITCHANGE || code == CBN_DROPDOWN);
    if (box_changed || list_changed) mark_dirty();
  }

  // Writes the first control's properties in a fixed order; the first failure ends the
  // apply and goes back to the host, what was written before it stays.
  HRESULT apply_to_object() override {
    if (!window()) return S_OK;  // never shown: the user edited nothing
    if (HRESULT hr = put_text(first_object(), L"Filename", window_text(filename_)); FAILED(hr)) return hr;
    if (HRESULT hr = put_text(first_object(), L"BorderStyle", window_text(border_style_)); FAILED(hr)) return hr;
    return put_text(first_object(), L"BackStyle", window_text(back_style_));
  }

  HWND editor_of(DISPID id) const override {
    switch (id) {
      case kFilename:
        return filename_;
      case kBorderStyle:
        return border_style_;
      case kBackStyle:
        return back_style_;
      default:
        return nullptr;
    }
  }

  HWND filename_ = nullptr;
  HWND back_style_ = nullptr;
  HWND border_style_ = nullptr;
};

}  // namespace

HRESULT create_general_page(REFIID iid, void** out) { return control::create_object<GeneralPage>(iid, out); }

}  // namespace animview::pages
