// The control's automation surface as a late-bound host uses it: properties by name with
// their change reports, refused values with their automation errors, the frame store's
// members, OnOpen and OnClose, PaintPicture with its optional arguments, and what hosts
// ask of a control (class information, pages, safety).
#include <gtest/gtest.h>

#include <objsafe.h>

#include <string>
#include <vector>

#include "harness.h"
#include "site.h"

namespace animview::control::testing {
namespace {

constexpr DISPID kBackColor = 0x68030005, kBackStyle = 0x68030004, kBorderStyle = 0x68030003,
                 kFilename = 0x68030001;
constexpr DISPID kOnOpen = 9, kOnClose = 11;

// Values compared as their text (VarCmp knows no unsigned types).
std::wstring text_of(const VARIANT& v) {
  Variant text;
  if (FAILED(VariantChangeType(text.get(), const_cast<VARIANT*>(&v), 0, VT_BSTR))) return L"<no text>";
  return to_wstring(V_BSTR(text.get()));
}

template <class I>
ComPtr<I> as(IUnknown* object, REFIID iid) {
  ComPtr<I> result;
  EXPECT_EQ(object->QueryInterface(iid, result.put_void()), S_OK);
  return result;
}

class AutomationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    control_ = library_.create();
    ASSERT_TRUE(control_);
    dispatch_ = as<IDispatch>(control_.get(), IID_IDispatch);
  }
  VARIANT get(const wchar_t* name) {
    VARIANT v{};
    EXPECT_EQ(invoke(dispatch_.get(), name, DISPATCH_PROPERTYGET, {}, &v), S_OK) << "get";
    return v;
  }
  OleScope ole_;
  Library library_;
  ComPtr<_Animview> control_;
  ComPtr<IDispatch> dispatch_;
};

// Every put of a persisted property reports its DISPID, also when the value is the same,
// and leaves the control with unsaved changes.
TEST_F(AutomationTest, EveryPutReportsTheChangeWithItsDispid) {
  struct Case {
    const wchar_t* name;
    DISPID id;
    VARIANT value;
  };
  VARIANT file = v_bstr(L"C:\\a.gif");
  const Case cases[] = {
      {L"BackColor", kBackColor, v_i4(0x000000FF)},
      {L"BackStyle", kBackStyle, v_i2(0)},
      {L"BorderStyle", kBorderStyle, v_i2(0)},
      {L"Filename", kFilename, file},
  };
  const auto changes = ChangeSink::create();
  connect(control_.get(), IID_IPropertyNotifySink, changes.get());
  const auto persist = as<IPersistStreamInit>(control_.get(), IID_IPersistStreamInit);
  std::vector<DISPID> expected;
  for (const Case& c : cases) {
    ASSERT_EQ(persist->InitNew(), S_OK);
    ASSERT_EQ(persist->IsDirty(), S_FALSE);
    ASSERT_EQ(put_property(dispatch_.get(), c.name, c.value), S_OK);
    ASSERT_EQ(put_property(dispatch_.get(), c.name, c.value), S_OK);  // the same value again
    expected.insert(expected.end(), {c.id, c.id});
    EXPECT_EQ(persist->IsDirty(), S_OK);
    VARIANT now = get(c.name);
    EXPECT_EQ(text_of(now), text_of(c.value));
    VariantClear(&now);
  }
  EXPECT_EQ(changes->changes, expected);
  VariantClear(&file);
}

// Styles other than 0 and 1 and colours that are neither RGB nor a system colour are
// refused as "Invalid property value" (380): nothing changes, nothing is reported.
TEST_F(AutomationTest, RefusedValuesRaiseInvalidPropertyValue) {
  struct Case {
    const wchar_t* name;
    VARIANT value;
  };
  const Case cases[] = {
      {L"BackStyle", v_i2(2)},          {L"BackStyle", v_i2(-1)},
      {L"BorderStyle", v_i2(3)},        {L"BorderStyle", v_i2(-32768)},
      {L"BackColor", v_i4(0x12345678)}, {L"BackColor", v_i4(static_cast<long>(0x80FFFFFFu))},
  };
  const auto changes = ChangeSink::create();
  connect(control_.get(), IID_IPropertyNotifySink, changes.get());
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << std::string(c.name, c.name + wcslen(c.name)) << " " << V_I4(&c.value));
    VARIANT before = get(c.name);
    EXCEPINFO excep{};
    EXPECT_EQ(put_property(dispatch_.get(), c.name, c.value, &excep), DISP_E_EXCEPTION);
    EXPECT_EQ(excep.scode, CTL_E_INVALIDPROPERTYVALUE);
    EXPECT_NE(SysStringLen(excep.bstrDescription), 0u);
    SysFreeString(excep.bstrDescription);
    SysFreeString(excep.bstrSource);
    SysFreeString(excep.bstrHelpFile);
    VARIANT after = get(c.name);
    EXPECT_EQ(text_of(before), text_of(after));
  }
  EXPECT_TRUE(changes->changes.empty());
}

TEST_F(AutomationTest, SystemColoursAreColours) {
  for (const OLE_COLOR colour : {0x8000000Fu, 0x80000005u, 0x80000000u, 0x00000000u, 0x00FFFFFFu}) {
    EXPECT_EQ(control_->put_BackColor(colour), S_OK) << std::hex << colour;
    OLE_COLOR now = 0;
    control_->get_BackColor(&now);
    EXPECT_EQ(now, colour);
  }
}

TEST_F(AutomationTest, PublicDataMembersKeepWhatTheHostPuts) {
  struct Case {
    const wchar_t* name;
    VARIANT value;
  };
  VARIANT yes{};
  V_VT(&yes) = VT_BOOL;
  V_BOOL(&yes) = VARIANT_TRUE;
  const Case cases[] = {{L"RepeatTimes", v_i4(3)},  {L"TotalFrames", v_i4(7)}, {L"xOff", v_i4(-12)},
                        {L"yOff", v_i4(65535)},      {L"CloseF", yes}};
  const auto changes = ChangeSink::create();
  connect(control_.get(), IID_IPropertyNotifySink, changes.get());
  for (const Case& c : cases) {
    ASSERT_EQ(put_property(dispatch_.get(), c.name, c.value), S_OK);
    VARIANT now = get(c.name);
    EXPECT_EQ(V_VT(&now), V_VT(&c.value));
    EXPECT_EQ(text_of(now), text_of(c.value));
  }
  EXPECT_TRUE(changes->changes.empty()) << "public data members are not persisted";
}

TEST_F(AutomationTest, PuttingFilenameOpensNothing) {
  const TempFile gif(L"animview_put_only.gif", three_colour_gif());
  const auto events = EventSink::create();
  connect(control_.get(), DIID___Animview, events.get());
  VARIANT name = v_bstr(gif.path().c_str());
  ASSERT_EQ(put_property(dispatch_.get(), L"Filename", name), S_OK);
  VariantClear(&name);
  LONG count = -1;
  control_->GetImageCount(&count);
  EXPECT_EQ(count, 0);
  Bstr wait;
  control_->GetTimeWait(wait.put());
  EXPECT_EQ(wait.str(), L"0");
  EXPECT_TRUE(events->calls.empty());
}

// OnOpen comes at the end of OpenFile (the file is loaded when the host hears it), OnClose
// at the start of CloseFile (nothing closed yet).
TEST_F(AutomationTest, OnOpenAfterLoadingAndOnCloseBeforeClosing) {
  const TempFile gif(L"animview_events.gif", three_colour_gif());
  std::vector<std::wstring> seen;
  _Animview* control = control_.get();
  const auto events = EventSink::create([&](DISPID id, DISPPARAMS&) {
    LONG count = -1;
    control->GetImageCount(&count);
    Bstr wait;
    control->GetTimeWait(wait.put());
    seen.push_back(std::to_wstring(id) + L":" + std::to_wstring(count) + L":" + wait.str());
  });
  connect(control_.get(), DIID___Animview, events.get());
  const Bstr name(gif.path());
  ASSERT_EQ(control_->put_Filename(name.get()), S_OK);
  VARIANT_BOOL opened = VARIANT_FALSE;
  ASSERT_EQ(control_->OpenFile(&opened), S_OK);
  EXPECT_EQ(opened, VARIANT_TRUE);
  VARIANT closed{};
  V_VT(&closed) = VT_I4;
  ASSERT_EQ(control_->CloseFile(&closed), S_OK);
  EXPECT_EQ(V_VT(&closed), VT_EMPTY);
  Bstr wait;
  control_->GetTimeWait(wait.put());
  EXPECT_EQ(wait.str(), L"0");
  VARIANT_BOOL close_f = VARIANT_TRUE;
  control_->get_CloseF(&close_f);
  EXPECT_EQ(close_f, VARIANT_FALSE);
  EXPECT_EQ(events->ids(), (std::vector<DISPID>{kOnOpen, kOnClose}));
  EXPECT_EQ(seen, (std::vector<std::wstring>{L"9:2:100", L"11:2:100"}));
}

TEST_F(AutomationTest, FrozenEventsAreNotRaised) {
  const TempFile gif(L"animview_frozen.gif", three_colour_gif());
  const auto events = EventSink::create();
  connect(control_.get(), DIID___Animview, events.get());
  const auto ole_control = as<IOleControl>(control_.get(), IID_IOleControl);
  const Bstr name(gif.path());
  control_->put_Filename(name.get());
  VARIANT_BOOL opened = VARIANT_FALSE;
  ASSERT_EQ(ole_control->FreezeEvents(TRUE), S_OK);
  ASSERT_EQ(control_->OpenFile(&opened), S_OK);
  ASSERT_EQ(ole_control->FreezeEvents(FALSE), S_OK);
  ASSERT_EQ(control_->OpenFile(&opened), S_OK);
  EXPECT_EQ(events->ids(), (std::vector<DISPID>{kOnOpen}));
}

TEST_F(AutomationTest, LoadGifHandsTheLastFrameToAPictureHolder) {
  const TempFile gif(L"animview_loadgif.gif", three_colour_gif());
  Bstr file(gif.path());
  BSTR file_arg = file.get();
  VARIANT images{};
  VARIANT holder{};  // no holder: the control's own picture box keeps the frame
  VARIANT_BOOL loaded = VARIANT_FALSE;
  ASSERT_EQ(control_->LoadGif(&file_arg, &images, &holder, &loaded), S_OK);
  EXPECT_EQ(loaded, VARIANT_TRUE);
  LONG total = 0;
  control_->get_TotalFrames(&total);
  EXPECT_EQ(total, 2);
  EXPECT_EQ(std::wstring(file_arg), gif.path()) << "sFile is passed by reference but not changed";
}

// Scripts pass their variables by reference, each as a reference to a VARIANT.
TEST_F(AutomationTest, LoadGifTakesScriptVariablesByReference) {
  const TempFile gif(L"animview_loadgif_byref.gif", three_colour_gif());
  VARIANT file = v_bstr(gif.path().c_str());
  VARIANT images{}, holder{};
  std::vector<VARIANT> args(3);
  VARIANT* targets[] = {&file, &images, &holder};
  for (std::size_t i = 0; i < 3; ++i) {
    V_VT(&args[i]) = VT_VARIANT | VT_BYREF;
    V_VARIANTREF(&args[i]) = targets[i];
  }
  VARIANT result{};
  ASSERT_EQ(invoke(dispatch_.get(), L"LoadGif", DISPATCH_METHOD, args, &result), S_OK);
  EXPECT_EQ(V_VT(&result), VT_BOOL);
  EXPECT_EQ(V_BOOL(&result), VARIANT_TRUE);
  ASSERT_EQ(V_VT(&file), VT_BSTR) << "the caller's variable keeps its string";
  EXPECT_EQ(to_wstring(V_BSTR(&file)), gif.path());
  LONG total = 0;
  control_->get_TotalFrames(&total);
  EXPECT_EQ(total, 2);
  VariantClear(&file);
}

// A solid picture of w x h pixels.
ComPtr<IPictureDisp> solid_picture(int w, int h, COLORREF colour) {
  const HDC screen = GetDC(nullptr);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
  const HDC dc = CreateCompatibleDC(screen);
  const HGDIOBJ old = SelectObject(dc, bitmap);
  const HBRUSH brush = CreateSolidBrush(colour);
  const RECT all{0, 0, w, h};
  FillRect(dc, &all, brush);
  DeleteObject(brush);
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  PICTDESC desc{};
  desc.cbSizeofstruct = sizeof desc;
  desc.picType = PICTYPE_BITMAP;
  desc.bmp.hbitmap = bitmap;
  ComPtr<IPictureDisp> picture;
  EXPECT_EQ(OleCreatePictureIndirect(&desc, IID_IPictureDisp, TRUE, picture.put_void()), S_OK);
  return picture;
}

// The control drawn through IViewObject into a w x h bitmap: its pixels, row by row.
std::vector<DWORD> draw_control(IUnknown* control, int w, int h) {
  const HDC dc = CreateCompatibleDC(nullptr);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  const HBITMAP target = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ old = SelectObject(dc, target);
  const RECTL bounds{0, 0, w, h};
  ComPtr<IViewObject> view;
  control->QueryInterface(IID_IViewObject, view.put_void());
  EXPECT_EQ(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr, nullptr, 0), S_OK);
  GdiFlush();
  std::vector<DWORD> pixels(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + w * h);
  for (DWORD& p : pixels) p &= 0xFFFFFF;
  SelectObject(dc, old);
  DeleteObject(target);
  DeleteDC(dc);
  return pixels;
}

constexpr DWORD kRedPixel = 0xFF0000;  // as a 32-bit DIB holds RGB(255, 0, 0)

VARIANT v_r4(float v) {
  VARIANT r{};
  V_VT(&r) = VT_R4;
  V_R4(&r) = v;
  return r;
}

// PaintPicture with only Picture, X1 and Y1 draws the whole picture at its own size with
// its top-left corner at (X1, Y1), in twips.
TEST_F(AutomationTest, PaintPictureWithOnlyPictureAndPositionDrawsThePictureAtItsOwnSize) {
  constexpr int kW = 8, kH = 6, kX = 10, kY = 20, kCw = 64, kCh = 48;
  const auto picture = solid_picture(kW, kH, RGB(255, 0, 0));
  ASSERT_TRUE(picture);
  ASSERT_EQ(control_->put_BorderStyle(0), S_OK);
  VARIANT pic{};
  V_VT(&pic) = VT_DISPATCH;
  V_DISPATCH(&pic) = picture.get();
  ASSERT_EQ(invoke(dispatch_.get(), L"PaintPicture", DISPATCH_METHOD, {pic, v_r4(kX * 15.0f), v_r4(kY * 15.0f)}),
            S_OK);

  const auto pixels = draw_control(control_.get(), kCw, kCh);
  int red = 0, misplaced = 0;
  for (int row = 0; row < kCh; ++row)
    for (int col = 0; col < kCw; ++col) {
      const bool is_red = pixels[row * kCw + col] == kRedPixel;
      const bool inside = col >= kX && col < kX + kW && row >= kY && row < kY + kH;
      red += is_red;
      misplaced += is_red != inside;
    }
  EXPECT_EQ(red, kW * kH);
  EXPECT_EQ(misplaced, 0);
}

TEST_F(AutomationTest, PaintPictureWithSizeAndSourcePart) {
  // Width1/Height1 stretch; X2..Height2 take a part of the picture. Twips: 15 per pixel.
  const auto picture = solid_picture(8, 8, RGB(255, 0, 0));
  ASSERT_TRUE(picture);
  ASSERT_EQ(control_->put_BorderStyle(0), S_OK);
  ASSERT_EQ(control_->PaintPicture(picture.get(), 0.0f, 0.0f, v_r4(16 * 15.0f), v_r4(4 * 15.0f), v_missing(),
                                   v_missing(), v_missing(), v_missing(), v_missing()),
            S_OK);
  ASSERT_EQ(control_->PaintPicture(picture.get(), 30 * 15.0f, 0.0f, v_missing(), v_missing(), v_r4(0.0f),
                                   v_r4(0.0f), v_r4(4 * 15.0f), v_r4(2 * 15.0f), v_missing()),
            S_OK);
  const auto pixels = draw_control(control_.get(), 64, 16);
  auto red_in = [&](int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) n += pixels[y * 64 + x] == kRedPixel;
    return n;
  };
  EXPECT_EQ(red_in(0, 0, 16, 4), 16 * 4) << "stretched to Width1 x Height1";
  EXPECT_EQ(red_in(0, 4, 16, 16), 0);
  EXPECT_EQ(red_in(30, 0, 34, 2), 4 * 2) << "the part's own size";
  EXPECT_EQ(red_in(34, 0, 64, 16) + red_in(30, 2, 34, 16), 0);
}

TEST_F(AutomationTest, ManyPaintPicturesAllStayAndCloseFileClearsThem) {
  // More drawings than the surface keeps one by one: the earlier ones are merged, not lost.
  constexpr int kCount = 300, kW = 40, kH = 8;
  const auto picture = solid_picture(1, 1, RGB(255, 0, 0));
  ASSERT_TRUE(picture);
  ASSERT_EQ(control_->put_BorderStyle(0), S_OK);
  for (int i = 0; i < kCount; ++i)
    ASSERT_EQ(control_->PaintPicture(picture.get(), static_cast<float>((i % kW) * 15), static_cast<float>((i / kW) * 15),
                                     v_missing(), v_missing(), v_missing(), v_missing(), v_missing(), v_missing(),
                                     v_missing()),
              S_OK);
  auto pixels = draw_control(control_.get(), kW, kH);
  int red = 0;
  for (const DWORD p : pixels) red += p == kRedPixel;
  EXPECT_EQ(red, kCount);

  // CloseFile empties the control's own picture, PaintPicture's drawings with it.
  VARIANT closed{};
  ASSERT_EQ(control_->CloseFile(&closed), S_OK);
  pixels = draw_control(control_.get(), kW, kH);
  red = 0;
  for (const DWORD p : pixels) red += p == kRedPixel;
  EXPECT_EQ(red, 0);
}

TEST_F(AutomationTest, PaintPictureRefusesWhatItCannotDraw) {
  const auto picture = solid_picture(4, 4, RGB(255, 0, 0));
  ASSERT_TRUE(picture);
  VARIANT pic{};
  V_VT(&pic) = VT_DISPATCH;
  V_DISPATCH(&pic) = picture.get();
  VARIANT nothing{};
  V_VT(&nothing) = VT_DISPATCH;
  VARIANT text = v_bstr(L"wide");
  struct Case {
    const char* what;
    std::vector<VARIANT> args;
    SCODE error;
  };
  const Case cases[] = {
      {"no picture", {nothing, v_r4(0), v_r4(0)}, CTL_E_INVALIDPICTURE},
      {"a position millions of pixels away", {pic, v_r4(1e30f), v_r4(0)}, CTL_E_OVERFLOW},
      {"a size millions of pixels wide", {pic, v_r4(0), v_r4(0), v_r4(-3e9f)}, CTL_E_OVERFLOW},
      {"text for a size", {pic, v_r4(0), v_r4(0), text}, DISP_E_TYPEMISMATCH},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXCEPINFO excep{};
    EXPECT_EQ(invoke(dispatch_.get(), L"PaintPicture", DISPATCH_METHOD, c.args, nullptr, &excep), DISP_E_EXCEPTION);
    EXPECT_EQ(excep.scode, c.error);
    SysFreeString(excep.bstrDescription);
    SysFreeString(excep.bstrSource);
    SysFreeString(excep.bstrHelpFile);
  }
  VariantClear(&text);
  // Nothing was drawn.
  for (const DWORD p : draw_control(control_.get(), 16, 16)) ASSERT_NE(p, kRedPixel);
}

TEST_F(AutomationTest, ClassInformationNamesTheEventInterface) {
  const auto info = as<IProvideClassInfo2>(control_.get(), IID_IProvideClassInfo2);
  GUID events{};
  ASSERT_EQ(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events), S_OK);
  EXPECT_TRUE(IsEqualGUID(events, DIID___Animview));
  ComPtr<ITypeInfo> coclass;
  ASSERT_EQ(info->GetClassInfo(coclass.put()), S_OK);
  TYPEATTR* attr = nullptr;
  ASSERT_EQ(coclass->GetTypeAttr(&attr), S_OK);
  EXPECT_TRUE(IsEqualGUID(attr->guid, CLSID_Animview));
  coclass->ReleaseTypeAttr(attr);
}

TEST_F(AutomationTest, ConnectionPointsAreTheEventsAndPropertyNotifications) {
  const auto container = as<IConnectionPointContainer>(control_.get(), IID_IConnectionPointContainer);
  ComPtr<IEnumConnectionPoints> points;
  ASSERT_EQ(container->EnumConnectionPoints(points.put()), S_OK);
  std::vector<IID> iids;
  IConnectionPoint* point = nullptr;
  while (points->Next(1, &point, nullptr) == S_OK) {
    IID iid{};
    point->GetConnectionInterface(&iid);
    iids.push_back(iid);
    point->Release();
  }
  ASSERT_EQ(iids.size(), 2u);
  EXPECT_TRUE(IsEqualIID(iids[0], DIID___Animview));
  EXPECT_TRUE(IsEqualIID(iids[1], IID_IPropertyNotifySink));
  ComPtr<IConnectionPoint> other;
  EXPECT_EQ(container->FindConnectionPoint(IID_IDispatch, other.put()), CONNECT_E_NOCONNECTION);

  // Unadvised sinks hear nothing more.
  const auto changes = ChangeSink::create();
  ComPtr<IConnectionPoint> notify;
  ASSERT_EQ(container->FindConnectionPoint(IID_IPropertyNotifySink, notify.put()), S_OK);
  DWORD cookie = 0;
  ASSERT_EQ(notify->Advise(changes.get(), &cookie), S_OK);
  control_->put_BackStyle(0);
  ASSERT_EQ(notify->Unadvise(cookie), S_OK);
  EXPECT_EQ(notify->Unadvise(cookie), CONNECT_E_NOCONNECTION);
  control_->put_BackStyle(1);
  EXPECT_EQ(changes->changes, (std::vector<DISPID>{kBackStyle}));
}

TEST_F(AutomationTest, PagesInOrderAndThePageOfEachProperty) {
  const auto specify = as<ISpecifyPropertyPages>(control_.get(), IID_ISpecifyPropertyPages);
  CAUUID pages{};
  ASSERT_EQ(specify->GetPages(&pages), S_OK);
  ASSERT_EQ(pages.cElems, 3u);
  EXPECT_TRUE(IsEqualCLSID(pages.pElems[0], CLSID_Component));
  EXPECT_TRUE(IsEqualCLSID(pages.pElems[1], CLSID_General));
  // The colour page: the platform's where it is registered (not in Wine), the library's own
  // otherwise; never a page the host cannot create.
  const CLSID stock = {0x7EBDAAE1, 0x8120, 0x11CF, {0x89, 0x9F, 0x00, 0xAA, 0x00, 0x68, 0x8B, 0x10}};
  HKEY key = nullptr;
  const bool stock_registered =
      RegOpenKeyExW(HKEY_CLASSES_ROOT, L"CLSID\\{7EBDAAE1-8120-11CF-899F-00AA00688B10}\\InprocServer32", 0, KEY_READ,
                    &key) == ERROR_SUCCESS;
  if (key) RegCloseKey(key);
  EXPECT_EQ(IsEqualCLSID(pages.pElems[2], stock), stock_registered);
  EXPECT_FALSE(IsEqualCLSID(pages.pElems[2], GUID_NULL));
  CoTaskMemFree(pages.pElems);

  const auto browsing = as<IPerPropertyBrowsing>(control_.get(), IID_IPerPropertyBrowsing);
  struct Case {
    DISPID id;
    bool general;
  };
  const Case cases[] = {{kBackStyle, true}, {kBorderStyle, true}, {kFilename, true}, {kBackColor, false}};
  for (const Case& c : cases) {
    CLSID page{};
    const HRESULT hr = browsing->MapPropertyToPage(c.id, &page);
    EXPECT_EQ(hr, c.general ? S_OK : PERPROP_E_NOPAGEAVAILABLE) << std::hex << c.id;
    EXPECT_TRUE(IsEqualCLSID(page, c.general ? CLSID_General : CLSID_NULL));
  }
}

TEST_F(AutomationTest, SafeForScriptingAndForInitialisation) {
  const auto safety = as<IObjectSafety>(control_.get(), IID_IObjectSafety);
  struct Case {
    const IID* iid;
    DWORD option;
  };
  const Case cases[] = {{&IID_IDispatch, INTERFACESAFE_FOR_UNTRUSTED_CALLER},
                        {&IID__Animview, INTERFACESAFE_FOR_UNTRUSTED_CALLER},
                        {&IID_IPersistPropertyBag, INTERFACESAFE_FOR_UNTRUSTED_DATA},
                        {&IID_IPersistStreamInit, INTERFACESAFE_FOR_UNTRUSTED_DATA}};
  for (const Case& c : cases) {
    DWORD supported = 0, enabled = 0;
    ASSERT_EQ(safety->GetInterfaceSafetyOptions(*c.iid, &supported, &enabled), S_OK);
    EXPECT_EQ(supported, c.option);
    EXPECT_EQ(safety->SetInterfaceSafetyOptions(*c.iid, c.option, c.option), S_OK);
    safety->GetInterfaceSafetyOptions(*c.iid, &supported, &enabled);
    EXPECT_EQ(enabled, c.option);
  }
  // Nothing promised for what the control does not offer to scripts.
  DWORD supported = 0, enabled = 0;
  EXPECT_EQ(safety->GetInterfaceSafetyOptions(IID_IOleObject, &supported, &enabled), E_NOINTERFACE);
  EXPECT_EQ(safety->SetInterfaceSafetyOptions(IID_IDispatch, INTERFACESAFE_FOR_UNTRUSTED_DATA,
                                              INTERFACESAFE_FOR_UNTRUSTED_DATA),
            E_FAIL);
}

// Records IAdviseSink::OnViewChange, as a host drawing the control through IViewObject does.
class ViewSink final : public IAdviseSink {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    *out = (iid == IID_IUnknown || iid == IID_IAdviseSink) ? static_cast<IAdviseSink*>(this) : nullptr;
    if (!*out) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // lives on the test's stack
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  void STDMETHODCALLTYPE OnDataChange(FORMATETC*, STGMEDIUM*) override {}
  void STDMETHODCALLTYPE OnViewChange(DWORD aspect, LONG) override {
    if (aspect == DVASPECT_CONTENT) ++changes;
  }
  void STDMETHODCALLTYPE OnRename(IMoniker*) override {}
  void STDMETHODCALLTYPE OnSave() override {}
  void STDMETHODCALLTYPE OnClose() override {}
  int changes = 0;
};

// Without a window of its own, the control tells its host when its look changes.
TEST_F(AutomationTest, ViewChangesReachTheHostWhileNotInPlaceActive) {
  ViewSink sink;
  const auto view = as<IViewObject2>(control_.get(), IID_IViewObject2);
  ASSERT_EQ(view->SetAdvise(DVASPECT_CONTENT, 0, &sink), S_OK);
  ASSERT_EQ(control_->put_BackColor(0x000000FF), S_OK);
  EXPECT_EQ(sink.changes, 1);
  ASSERT_EQ(control_->put_Filename(nullptr), S_OK);
  EXPECT_EQ(sink.changes, 1) << "the file name alone changes nothing on the surface";
  const auto picture = solid_picture(2, 2, RGB(255, 0, 0));
  ASSERT_EQ(control_->PaintPicture(picture.get(), 0, 0, v_missing(), v_missing(), v_missing(), v_missing(),
                                   v_missing(), v_missing(), v_missing()),
            S_OK);
  EXPECT_EQ(sink.changes, 2);
  ASSERT_EQ(view->SetAdvise(DVASPECT_CONTENT, 0, nullptr), S_OK);
  control_->put_BackStyle(0);
  EXPECT_EQ(sink.changes, 2);
}

TEST_F(AutomationTest, ExtentMiscStatusAndDesignSize) {
  const auto object = as<IOleObject>(control_.get(), IID_IOleObject);
  DWORD status = 0;
  ASSERT_EQ(object->GetMiscStatus(DVASPECT_CONTENT, &status), S_OK);
  EXPECT_EQ(status, 229777u);
  SIZEL extent{};
  ASSERT_EQ(object->GetExtent(DVASPECT_CONTENT, &extent), S_OK);
  // 7500 x 3750 twips in HIMETRIC.
  EXPECT_EQ(extent.cx, 13229);
  EXPECT_EQ(extent.cy, 6615);
}

}  // namespace
}  // namespace animview::control::testing
