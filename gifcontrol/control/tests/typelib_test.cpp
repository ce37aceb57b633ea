// The type library carried by Animview.ocx, read back as any host reads it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harness.h"

namespace animview::control::testing {
namespace {

std::wstring type_text(ITypeInfo* info, const TYPEDESC& t) {
  switch (t.vt) {
    case VT_PTR: return type_text(info, *t.lptdesc) + L"*";
    case VT_I2: return L"short";
    case VT_I4: return L"long";
    case VT_R4: return L"float";
    case VT_BOOL: return L"VARIANT_BOOL";
    case VT_BSTR: return L"BSTR";
    case VT_VARIANT: return L"VARIANT";
    case VT_HRESULT: return L"HRESULT";
    case VT_VOID: return L"void";
    case VT_USERDEFINED: {
      ComPtr<ITypeInfo> ref;
      if (FAILED(info->GetRefTypeInfo(t.hreftype, ref.put()))) return L"?";
      Bstr name;
      ref->GetDocumentation(MEMBERID_NIL, name.put(), nullptr, nullptr, nullptr);
      return name.str();
    }
    default: return L"vt" + std::to_wstring(t.vt);
  }
}

std::wstring param_text(ITypeInfo* info, const ELEMDESC& e) {
  const USHORT f = e.paramdesc.wParamFlags;
  std::wstring flags;
  auto add = [&](USHORT bit, const wchar_t* word) {
    if (f & bit) flags += (flags.empty() ? L"" : L",") + std::wstring(word);
  };
  add(PARAMFLAG_FIN, L"in");
  add(PARAMFLAG_FOUT, L"out");
  add(PARAMFLAG_FRETVAL, L"retval");
  add(PARAMFLAG_FOPT, L"opt");
  return flags + L" " + type_text(info, e.tdesc);
}

struct Member {
  const wchar_t* name;
  INVOKEKIND kind;
  MEMBERID id;
  const wchar_t* help;  // nullptr: none
  std::vector<std::wstring> params;
};

struct Described {
  std::wstring name;
  std::wstring help;
  bool has_help;
  std::vector<std::wstring> params;
  FUNCDESC desc;
};

Described describe(ITypeInfo* info, UINT index) {
  FUNCDESC* f = nullptr;
  EXPECT_EQ(info->GetFuncDesc(index, &f), S_OK);
  Described d{};
  if (!f) return d;
  d.desc = *f;
  Bstr name, help;
  info->GetDocumentation(f->memid, name.put(), help.put(), nullptr, nullptr);
  d.name = name.str();
  d.has_help = help.get() != nullptr;
  d.help = help.str();
  for (SHORT i = 0; i < f->cParams; ++i) d.params.push_back(param_text(info, f->lprgelemdescParam[i]));
  info->ReleaseFuncDesc(f);
  return d;
}

void expect_members(ITypeInfo* info, const std::vector<Member>& expected) {
  TYPEATTR* attr = nullptr;
  ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
  const UINT count = attr->cFuncs;
  info->ReleaseTypeAttr(attr);
  ASSERT_EQ(count, expected.size());
  for (UINT i = 0; i < count; ++i) {
    const Member& m = expected[i];
    const Described d = describe(info, i);
    SCOPED_TRACE(::testing::Message() << "slot " << i);
    EXPECT_EQ(d.name, m.name);
    EXPECT_EQ(d.desc.invkind, m.kind);
    EXPECT_EQ(d.desc.memid, m.id);
    EXPECT_EQ(d.desc.wFuncFlags, 0);
    if (m.help) {
      EXPECT_EQ(d.help, m.help);
    } else {
      EXPECT_TRUE(d.help.empty()) << "unexpected help string";
    }
    EXPECT_EQ(d.params, m.params);
  }
}

constexpr const wchar_t* kBackColorHelp =
    L"Returns/sets the background color used to display text and graphics in an object.";
constexpr const wchar_t* kBackStyleHelp =
    L"Indicates whether a Label or the background of a Shape is transparent or opaque.";
constexpr const wchar_t* kBorderStyleHelp = L"Returns/sets the border style for an object.";
constexpr const wchar_t* kFilenameHelp = L"This is a Gif Filename";

class TypeLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(LoadTypeLibEx(ocx_path().c_str(), REGKIND_NONE, library_.put()), S_OK) << "ANIMVIEW_OCX";
  }
  ComPtr<ITypeInfo> info(REFGUID guid) {
    ComPtr<ITypeInfo> i;
    EXPECT_EQ(library_->GetTypeInfoOfGuid(guid, i.put()), S_OK);
    return i;
  }
  static TYPEATTR attributes(ITypeInfo* info) {
    TYPEATTR* attr = nullptr;
    EXPECT_EQ(info->GetTypeAttr(&attr), S_OK);
    TYPEATTR copy = *attr;
    info->ReleaseTypeAttr(attr);
    return copy;
  }
  static std::wstring name_of(ITypeInfo* info) {
    Bstr name;
    info->GetDocumentation(MEMBERID_NIL, name.put(), nullptr, nullptr, nullptr);
    return name.str();
  }
  OleScope ole_;
  ComPtr<ITypeLib> library_;
};

TEST_F(TypeLibraryTest, LibraryIdentity) {
  TLIBATTR* attr = nullptr;
  ASSERT_EQ(library_->GetLibAttr(&attr), S_OK);
  EXPECT_TRUE(IsEqualGUID(attr->guid, LIBID_AnimviewDeLuxe));
  EXPECT_EQ(attr->wMajorVerNum, 3);
  EXPECT_EQ(attr->wMinorVerNum, 0);
  EXPECT_EQ(attr->lcid, 0u);
  EXPECT_EQ(attr->wLibFlags & LIBFLAG_FCONTROL, LIBFLAG_FCONTROL);
  library_->ReleaseTLibAttr(attr);
  Bstr name, help;
  ASSERT_EQ(library_->GetDocumentation(-1, name.put(), help.put(), nullptr, nullptr), S_OK);
  EXPECT_EQ(name.str(), L"AnimviewDeLuxe");
  EXPECT_EQ(help.str(), L"Animview for Animated Gif Files");
}

TEST_F(TypeLibraryTest, ImportsTheStandardTypesFromStdole) {
  const auto dual = info(IID__Animview);
  ASSERT_TRUE(dual);
  HREFTYPE base = 0;
  ASSERT_EQ(dual->GetRefTypeOfImplType(0, &base), S_OK);
  ComPtr<ITypeInfo> dispatch;
  ASSERT_EQ(dual->GetRefTypeInfo(base, dispatch.put()), S_OK);
  ComPtr<ITypeLib> container;
  UINT index = 0;
  ASSERT_EQ(dispatch->GetContainingTypeLib(container.put(), &index), S_OK);
  TLIBATTR* attr = nullptr;
  ASSERT_EQ(container->GetLibAttr(&attr), S_OK);
  const GUID stdole = {0x00020430, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
  EXPECT_TRUE(IsEqualGUID(attr->guid, stdole));
  container->ReleaseTLibAttr(attr);
  EXPECT_EQ(name_of(dispatch.get()), L"IDispatch");
}

TEST_F(TypeLibraryTest, TypesAndFlags) {
  struct Expected {
    const GUID* guid;
    const wchar_t* name;
    TYPEKIND kind;  // of the type info the GUID names
    WORD flags;     // as declared; of the interface part for a dual interface
    bool dual;
  };
  constexpr WORD kDualFlags = TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FOLEAUTOMATION |
                              TYPEFLAG_FDISPATCHABLE;
  const Expected table[] = {
      {&CLSID_Animview, L"Animview", TKIND_COCLASS, TYPEFLAG_FCANCREATE | TYPEFLAG_FCONTROL, false},
      {&IID__Animview, L"_Animview", TKIND_DISPATCH, kDualFlags, true},
      {&DIID___Animview, L"__Animview", TKIND_DISPATCH,
       TYPEFLAG_FHIDDEN | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FDISPATCHABLE, false},
      {&CLSID_General, L"General", TKIND_COCLASS, TYPEFLAG_FCANCREATE, false},
      {&IID__General, L"_General", TKIND_DISPATCH, kDualFlags, true},
      {&CLSID_Component, L"Component", TKIND_COCLASS, TYPEFLAG_FCANCREATE, false},
      {&IID__Component, L"_Component", TKIND_DISPATCH, kDualFlags, true},
  };
  for (const Expected& e : table) {
    SCOPED_TRACE(::testing::Message() << std::string(e.name, e.name + wcslen(e.name)));
    const auto i = info(*e.guid);
    ASSERT_TRUE(i);
    const TYPEATTR a = attributes(i.get());
    EXPECT_EQ(a.typekind, e.kind);
    EXPECT_EQ(name_of(i.get()), e.name);
    HREFTYPE ref = 0;
    const bool has_interface_part = SUCCEEDED(i->GetRefTypeOfImplType(static_cast<UINT>(-1), &ref));
    ASSERT_EQ(has_interface_part, e.dual);
    if (!e.dual) {
      EXPECT_EQ(a.wTypeFlags, e.flags);
      continue;
    }
    // The dispatch view of a dual interface carries the dual flags; the interface part
    // carries the declaration's.
    const WORD dispatch_flags = TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FDISPATCHABLE;
    EXPECT_EQ(a.wTypeFlags & dispatch_flags, dispatch_flags);
    ComPtr<ITypeInfo> vtable;
    ASSERT_EQ(i->GetRefTypeInfo(ref, vtable.put()), S_OK);
    const TYPEATTR v = attributes(vtable.get());
    EXPECT_EQ(v.typekind, TKIND_INTERFACE);
    EXPECT_EQ(v.wTypeFlags, e.flags);
  }
}

TEST_F(TypeLibraryTest, ControlClassImplementsTheDualAndTheEventInterface) {
  const auto coclass = info(CLSID_Animview);
  ASSERT_TRUE(coclass);
  ASSERT_EQ(attributes(coclass.get()).cImplTypes, 2);
  struct Impl {
    const GUID* guid;
    INT flags;
  };
  const Impl expected[] = {{&IID__Animview, IMPLTYPEFLAG_FDEFAULT},
                           {&DIID___Animview, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE}};
  for (UINT i = 0; i < 2; ++i) {
    INT flags = 0;
    ASSERT_EQ(coclass->GetImplTypeFlags(i, &flags), S_OK);
    EXPECT_EQ(flags, expected[i].flags);
    HREFTYPE ref = 0;
    ASSERT_EQ(coclass->GetRefTypeOfImplType(i, &ref), S_OK);
    ComPtr<ITypeInfo> impl;
    ASSERT_EQ(coclass->GetRefTypeInfo(ref, impl.put()), S_OK);
    EXPECT_TRUE(IsEqualGUID(attributes(impl.get()).guid, *expected[i].guid));
  }
}

TEST_F(TypeLibraryTest, AutomationInterfaceMembersInSlotOrder) {
  const auto dispatch = info(IID__Animview);
  ASSERT_TRUE(dispatch);
  // The interface form: every member with its HRESULT and its result as the last parameter.
  HREFTYPE ref = 0;
  ASSERT_EQ(dispatch->GetRefTypeOfImplType(static_cast<UINT>(-1), &ref), S_OK);
  ComPtr<ITypeInfo> vtable;
  ASSERT_EQ(dispatch->GetRefTypeInfo(ref, vtable.put()), S_OK);
  ASSERT_EQ(attributes(vtable.get()).typekind, TKIND_INTERFACE);

  const auto get = INVOKE_PROPERTYGET, put = INVOKE_PROPERTYPUT, call = INVOKE_FUNC;
  const std::wstring opt = L"in,opt VARIANT";
  const std::vector<Member> members = {
      {L"RepeatTimes", get, 0x40030004, nullptr, {L"out,retval long*"}},
      {L"RepeatTimes", put, 0x40030004, nullptr, {L"in long"}},
      {L"TotalFrames", get, 0x40030005, nullptr, {L"out,retval long*"}},
      {L"TotalFrames", put, 0x40030005, nullptr, {L"in long"}},
      {L"CloseF", get, 0x40030006, nullptr, {L"out,retval VARIANT_BOOL*"}},
      {L"CloseF", put, 0x40030006, nullptr, {L"in VARIANT_BOOL"}},
      {L"xOff", get, 0x40030007, nullptr, {L"out,retval long*"}},
      {L"xOff", put, 0x40030007, nullptr, {L"in long"}},
      {L"yOff", get, 0x40030008, nullptr, {L"out,retval long*"}},
      {L"yOff", put, 0x40030008, nullptr, {L"in long"}},
      {L"LoadGif", call, 0x60030006, nullptr,
       {L"in,out BSTR*", L"in,out VARIANT*", L"in,out VARIANT*", L"out,retval VARIANT_BOOL*"}},
      {L"BackColor", get, 0x68030005, kBackColorHelp, {L"out,retval OLE_COLOR*"}},
      {L"BackColor", put, 0x68030005, kBackColorHelp, {L"in OLE_COLOR"}},
      {L"BackStyle", get, 0x68030004, kBackStyleHelp, {L"out,retval short*"}},
      {L"BackStyle", put, 0x68030004, kBackStyleHelp, {L"in short"}},
      {L"BorderStyle", get, 0x68030003, kBorderStyleHelp, {L"out,retval short*"}},
      {L"BorderStyle", put, 0x68030003, kBorderStyleHelp, {L"in short"}},
      {L"GetImageCount", call, 0x6003000C, L"Show how many  picture there is in the Gif file", {L"out,retval long*"}},
      {L"GetTimeWait", call, 0x6003000D, L"Get the time delay", {L"out,retval BSTR*"}},
      {L"Filename", get, 0x68030001, kFilenameHelp, {L"out,retval BSTR*"}},
      {L"Filename", put, 0x68030001, kFilenameHelp, {L"in BSTR"}},
      {L"CloseFile", call, 0x60030012, nullptr, {L"out,retval VARIANT*"}},
      {L"OpenFile", call, 0x60030013, nullptr, {L"out,retval VARIANT_BOOL*"}},
      {L"Pause", call, 0x60030014, L"The picture stop the animation", {L"out,retval VARIANT_BOOL*"}},
      {L"Play", call, 0x60030015, nullptr, {L"out,retval VARIANT_BOOL*"}},
      {L"PaintPicture", call, 0x60030016,
       L"Draws the contents of a graphics file on a Form, PictureBox, or Printer object.",
       {L"in IPictureDisp*", L"in float", L"in float", opt, opt, opt, opt, opt, opt, opt}},
  };
  expect_members(vtable.get(), members);

  // Parameter names a late-bound caller may use.
  const UINT paint = 25;
  FUNCDESC* f = nullptr;
  ASSERT_EQ(vtable->GetFuncDesc(paint, &f), S_OK);
  BSTR names[11] = {};
  UINT got = 0;
  ASSERT_EQ(vtable->GetNames(f->memid, names, 11, &got), S_OK);
  vtable->ReleaseFuncDesc(f);
  std::vector<std::wstring> text;
  for (UINT i = 0; i < got; ++i) {
    text.push_back(to_wstring(names[i]));
    SysFreeString(names[i]);
  }
  const std::vector<std::wstring> expected_names = {L"PaintPicture", L"Picture", L"X1",      L"Y1",
                                                    L"Width1",       L"Height1", L"X2",      L"Y2",
                                                    L"Width2",       L"Height2", L"Opcode"};
  EXPECT_EQ(text, expected_names);
}

TEST_F(TypeLibraryTest, EventInterfaceMembersInSlotOrder) {
  const auto events = info(DIID___Animview);
  ASSERT_TRUE(events);
  const auto call = INVOKE_FUNC;
  const std::vector<std::wstring> key = {L"in,out short*", L"in,out short*"};
  const std::vector<std::wstring> mouse = {L"in,out short*", L"in,out short*", L"in,out float*", L"in,out float*"};
  const std::vector<Member> members = {
      {L"KeyDown", call, 6, L"Occurs when the user presses a key while an object has the focus.", key},
      {L"KeyPress", call, 7, L"Occurs when the user presses and releases an ANSI key.", {L"in,out short*"}},
      {L"KeyUp", call, 8, L"Occurs when the user releases a key while an object has the focus.", key},
      {L"OnOpen", call, 9, L"Event when the file is getting the Open method", {}},
      {L"OnPause", call, 10, L"Event when the file is getting the Pause method", {}},
      {L"OnClose", call, 11, L"Event when the file is getting the Close method", {}},
      {L"Click", call, 1, nullptr, {}},
      {L"DblClick", call, 2, nullptr, {}},
      {L"MouseDown", call, 3, nullptr, mouse},
      {L"MouseMove", call, 4, nullptr, mouse},
      {L"MouseUp", call, 5, nullptr, mouse},
  };
  expect_members(events.get(), members);
}

TEST_F(TypeLibraryTest, PageInterfacesAddNoMembers) {
  for (const GUID* iid : {&IID__General, &IID__Component}) {
    const auto dispatch = info(*iid);
    ASSERT_TRUE(dispatch);
    HREFTYPE ref = 0;
    ASSERT_EQ(dispatch->GetRefTypeOfImplType(static_cast<UINT>(-1), &ref), S_OK);
    ComPtr<ITypeInfo> vtable;
    ASSERT_EQ(dispatch->GetRefTypeInfo(ref, vtable.put()), S_OK);
    EXPECT_EQ(attributes(vtable.get()).cFuncs, 0);
    EXPECT_EQ(attributes(vtable.get()).cImplTypes, 1);  // IDispatch
  }
}

TEST(AnimviewResources, VersionAndToolboxBitmap) {
  const std::wstring path = ocx_path();
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
  ASSERT_GT(size, 0u);
  std::vector<BYTE> data(size);
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, data.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 1));
  EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(4, 0));
  EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(0, 1));
  EXPECT_EQ(fixed->dwProductVersionLS, MAKELONG(4, 0));

  const HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_TRUE(module);
  const HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(30000), MAKEINTRESOURCEW(2));  // RT_BITMAP
  ASSERT_TRUE(resource);
  const auto* info = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module, resource)));
  ASSERT_TRUE(info);
  EXPECT_EQ(info->biWidth, 16);
  EXPECT_EQ(info->biHeight, 15);
  EXPECT_EQ(info->biBitCount, 24);
  EXPECT_TRUE(FindResourceW(module, MAKEINTRESOURCEW(1), L"TYPELIB"));
  FreeLibrary(module);
}

}  // namespace
}  // namespace animview::control::testing
