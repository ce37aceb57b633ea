#include "component_page.h"

#include <array>

#include "page_ids.h"

namespace animview::pages {
namespace {

constexpr std::array kLines = {
    Label{ids::lblWelcome, L"Welcome !", {240, 120, 7260, 480}},
    Label{ids::lblThanks, L"Thank you for choosing this control for your applications.", {240, 720, 7260, 300}},
    Label{ids::lblWhat, L"It shows animated GIF pictures on your forms and web pages.", {240, 1140, 7260, 300}},
    Label{ids::lblLight,
         L"It needs very little memory, and it does not depend on the version of the web browser "
         L"installed on your machine: the pictures play the same everywhere.",
         {240, 1560, 7260, 900}},
};

// The welcome line's face: 13.5-point bold italic MS Sans Serif, owned by the page.
class Font {
 public:
  explicit Font(int dpi_y) {
    LOGFONTW description{};
    description.lfHeight = -MulDiv(135, dpi_y, 720);
    description.lfWeight = FW_BOLD;
    description.lfItalic = TRUE;
    description.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(description.lfFaceName, L"MS Sans Serif", LF_FACESIZE);
    font_ = CreateFontIndirectW(&description);
  }
  ~Font() {
    if (font_) DeleteObject(font_);
  }
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;
  HFONT get() const { return font_; }

 private:
  HFONT font_ = nullptr;
};

class ComponentPage final : public PropertyPage {
 public:
  ComponentPage() : PropertyPage(L"What is that component ?", 7740, 3675), welcome_font_(dpi().y) {}
  // The window goes before the font its welcome line uses.
  ~ComponentPage() override {
    if (window()) Deactivate();
  }

 private:
  void create_children() override {
    for (const Label& line : kLines) {
      HWND label = add_label(line);
      if (line.id == ids::lblWelcome) SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(welcome_font_.get()), FALSE);
    }
  }

  Font welcome_font_;
};

}  // namespace

HRESULT create_component_page(REFIID iid, void** out) { return control::create_object<ComponentPage>(iid, out); }

}  // namespace animview::pages
