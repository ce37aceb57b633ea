// Saving and restoring the four properties through a host's property bag, a stream and a
// storage: keys, defaults, order, failures part-way through, damaged data.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harness.h"

namespace animview::control::testing {
namespace {

struct Values {
  OLE_COLOR back_color;
  short back_style;
  short border_style;
  std::wstring filename;
  bool operator==(const Values&) const = default;
};

void PrintTo(const Values& v, std::ostream* os) {
  *os << "{0x" << std::hex << v.back_color << std::dec << ", " << v.back_style << ", " << v.border_style << ", \""
      << std::string(v.filename.begin(), v.filename.end()) << "\"}";
}

Values values_of(_Animview* control) {
  Values v{};
  control->get_BackColor(&v.back_color);
  control->get_BackStyle(&v.back_style);
  control->get_BorderStyle(&v.border_style);
  Bstr name;
  control->get_Filename(name.put());
  v.filename = name.str();
  return v;
}

void set_values(_Animview* control, const Values& v) {
  ASSERT_EQ(control->put_BackColor(v.back_color), S_OK);
  ASSERT_EQ(control->put_BackStyle(v.back_style), S_OK);
  ASSERT_EQ(control->put_BorderStyle(v.border_style), S_OK);
  const Bstr name(v.filename);
  ASSERT_EQ(control->put_Filename(name.get()), S_OK);
}

template <class I>
ComPtr<I> as(IUnknown* object, REFIID iid) {
  ComPtr<I> result;
  EXPECT_EQ(object->QueryInterface(iid, result.put_void()), S_OK);
  return result;
}

const Values kNewInstance{0x00FFFFFF, 1, 1, L""};
const Values kRestoreDefaults{0x8000000F, 1, 0, L""};
const std::vector<std::wstring> kKeyOrder{L"BackColor", L"BackStyle", L"BorderStyle", L"Filename"};

class PersistenceTest : public ::testing::Test {
 protected:
  OleScope ole_;
  Library library_;
};

TEST_F(PersistenceTest, NewInstanceIsWhiteOpaqueWithBorderAndSavesOnlyWhatDiffersFromTheDefaults) {
  const auto control = library_.create();
  ASSERT_TRUE(control);
  const auto bag_persist = as<IPersistPropertyBag>(control.get(), IID_IPersistPropertyBag);
  ASSERT_EQ(bag_persist->InitNew(), S_OK);
  EXPECT_EQ(values_of(control.get()), kNewInstance);

  const auto bag = TestBag::create();
  ASSERT_EQ(bag_persist->Save(bag.get(), TRUE, TRUE), S_OK);
  EXPECT_EQ(bag->keys(), (std::vector<std::wstring>{L"BackColor", L"BorderStyle"}));
  const VARIANT* colour = bag->find(L"BackColor");
  ASSERT_TRUE(colour);
  EXPECT_EQ(V_VT(colour), VT_I4);
  EXPECT_EQ(V_I4(colour), 0x00FFFFFF);
  const VARIANT* border = bag->find(L"BorderStyle");
  ASSERT_TRUE(border);
  EXPECT_EQ(V_VT(border), VT_I2);
  EXPECT_EQ(V_I2(border), 1);
}

TEST_F(PersistenceTest, RestoreFromAnEmptyBagGivesTheSavedDefaultsReadInOrder) {
  const auto control = library_.create();
  ASSERT_TRUE(control);
  const auto bag = TestBag::create();
  ASSERT_EQ(as<IPersistPropertyBag>(control.get(), IID_IPersistPropertyBag)->Load(bag.get(), nullptr), S_OK);
  EXPECT_EQ(values_of(control.get()), kRestoreDefaults);
  EXPECT_EQ(bag->reads, kKeyOrder);
}

TEST_F(PersistenceTest, SaveWritesInOrderWithTypesAndRestoresTheSameValues) {
  const Values changed{0x80000005, 0, 0, L"C:\\anim\\spin.gif"};
  const auto control = library_.create();
  ASSERT_TRUE(control);
  set_values(control.get(), changed);
  const auto bag = TestBag::create();
  ASSERT_EQ(as<IPersistPropertyBag>(control.get(), IID_IPersistPropertyBag)->Save(bag.get(), TRUE, FALSE), S_OK);
  // BorderStyle 0 equals its default and is left out.
  EXPECT_EQ(bag->keys(), (std::vector<std::wstring>{L"BackColor", L"BackStyle", L"Filename"}));
  EXPECT_EQ(V_VT(bag->find(L"BackStyle")), VT_I2);
  EXPECT_EQ(V_VT(bag->find(L"Filename")), VT_BSTR);

  const auto restored = library_.create();
  ASSERT_TRUE(restored);
  ASSERT_EQ(as<IPersistPropertyBag>(restored.get(), IID_IPersistPropertyBag)->Load(bag.get(), nullptr), S_OK);
  EXPECT_EQ(values_of(restored.get()), changed);
}

// A restore that fails at one key keeps what it read before and leaves the keys after it
// at the values of a fresh instance, whatever the bag holds for them.
TEST_F(PersistenceTest, RestoreFailingAtAKeyKeepsTheValuesReadBeforeIt) {
  struct Case {
    const char* what;
    const wchar_t* bad_key;
    VARIANT bad_value;
    Values expected;
    std::size_t reads;
  };
  VARIANT text = v_bstr(L"opaque");
  VARIANT seven = v_i2(7);
  VARIANT colour_text = v_bstr(L"white");
  const Case cases[] = {
      {"BackColor that does not convert", L"BackColor", colour_text, kNewInstance, 1},
      {"BackStyle that does not convert", L"BackStyle", text, {0x000000FF, 1, 1, L""}, 2},
      {"BorderStyle the surface refuses", L"BorderStyle", seven, {0x000000FF, 0, 1, L""}, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto bag = TestBag::create();
    bag->put(L"BackColor", v_i4(0x000000FF));
    bag->put(L"BackStyle", v_i2(0));
    bag->put(L"BorderStyle", v_i2(0));
    VARIANT name = v_bstr(L"later.gif");
    bag->put(L"Filename", name);
    VariantClear(&name);
    bag->put(c.bad_key, c.bad_value);

    const auto control = library_.create();
    ASSERT_TRUE(control);
    const auto changes = ChangeSink::create();
    connect(control.get(), IID_IPropertyNotifySink, changes.get());
    EXPECT_TRUE(FAILED(as<IPersistPropertyBag>(control.get(), IID_IPersistPropertyBag)->Load(bag.get(), nullptr)));
    EXPECT_EQ(values_of(control.get()), c.expected);
    EXPECT_EQ(bag->reads.size(), c.reads) << "keys after the failing one are not read";
    EXPECT_TRUE(changes->changes.empty()) << "a restore reports no change";
  }
  VariantClear(&text);
  VariantClear(&colour_text);
}

TEST_F(PersistenceTest, RestoreAcceptsColoursStoredAsTextOrUnsigned) {
  VARIANT unsigned_colour{};
  V_VT(&unsigned_colour) = VT_UI4;
  V_UI4(&unsigned_colour) = 0x80000012;
  VARIANT text_colour = v_bstr(L"255");
  for (const VARIANT* stored : {&unsigned_colour, &text_colour}) {
    const auto bag = TestBag::create();
    bag->put(L"BackColor", *stored);
    const auto control = library_.create();
    ASSERT_TRUE(control);
    ASSERT_EQ(as<IPersistPropertyBag>(control.get(), IID_IPersistPropertyBag)->Load(bag.get(), nullptr), S_OK);
    OLE_COLOR colour = 0;
    control->get_BackColor(&colour);
    EXPECT_EQ(colour, V_VT(stored) == VT_UI4 ? 0x80000012u : 255u);
  }
  VariantClear(&text_colour);
}

ComPtr<IStream> memory_stream() {
  ComPtr<IStream> stream;
  EXPECT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.put()), S_OK);
  return stream;
}

void rewind(IStream* stream) {
  LARGE_INTEGER zero{};
  stream->Seek(zero, STREAM_SEEK_SET, nullptr);
}

TEST_F(PersistenceTest, StreamRoundTripAndDirtyState) {
  const Values changed{0x00123456, 0, 0, L"D:\\long name with blanks  \x00e9.gif"};
  const auto control = library_.create();
  ASSERT_TRUE(control);
  const auto persist = as<IPersistStreamInit>(control.get(), IID_IPersistStreamInit);
  ASSERT_EQ(persist->InitNew(), S_OK);
  EXPECT_EQ(persist->IsDirty(), S_FALSE);
  set_values(control.get(), changed);
  EXPECT_EQ(persist->IsDirty(), S_OK);

  const auto stream = memory_stream();
  ASSERT_EQ(persist->Save(stream.get(), TRUE), S_OK);
  EXPECT_EQ(persist->IsDirty(), S_FALSE);
  ULARGE_INTEGER max{};
  ASSERT_EQ(persist->GetSizeMax(&max), S_OK);
  STATSTG stat{};
  stream->Stat(&stat, STATFLAG_NONAME);
  EXPECT_EQ(max.QuadPart, stat.cbSize.QuadPart);

  rewind(stream.get());
  const auto restored = library_.create();
  ASSERT_TRUE(restored);
  ASSERT_EQ(as<IPersistStreamInit>(restored.get(), IID_IPersistStreamInit)->Load(stream.get()), S_OK);
  EXPECT_EQ(values_of(restored.get()), changed);
}

TEST_F(PersistenceTest, StreamOfANewInstanceRestoresTheNewInstance) {
  const auto control = library_.create();
  ASSERT_TRUE(control);
  const auto persist = as<IPersistStreamInit>(control.get(), IID_IPersistStreamInit);
  ASSERT_EQ(persist->InitNew(), S_OK);
  const auto stream = memory_stream();
  ASSERT_EQ(persist->Save(stream.get(), TRUE), S_OK);
  rewind(stream.get());
  const auto restored = library_.create();
  ASSERT_TRUE(restored);
  ASSERT_EQ(as<IPersistStreamInit>(restored.get(), IID_IPersistStreamInit)->Load(stream.get()), S_OK);
  EXPECT_EQ(values_of(restored.get()), kNewInstance);
}

TEST_F(PersistenceTest, DamagedStreamsFailWithoutHarm) {
  // A saved stream to damage: header, then BackColor, BorderStyle and Filename entries.
  const auto control = library_.create();
  ASSERT_TRUE(control);
  set_values(control.get(), {0x00FF00FF, 1, 1, L"a.gif"});
  const auto stream = memory_stream();
  ASSERT_EQ(as<IPersistStreamInit>(control.get(), IID_IPersistStreamInit)->Save(stream.get(), TRUE), S_OK);
  HGLOBAL memory = nullptr;
  GetHGlobalFromStream(stream.get(), &memory);
  STATSTG stat{};
  stream->Stat(&stat, STATFLAG_NONAME);
  const auto* p = static_cast<const BYTE*>(GlobalLock(memory));
  const std::vector<BYTE> good(p, p + stat.cbSize.QuadPart);
  GlobalUnlock(memory);

  struct Case {
    const char* what;
    std::vector<BYTE> bytes;
  };
  std::vector<Case> cases;
  cases.push_back({"empty", {}});
  cases.push_back({"cut in the header", std::vector<BYTE>(good.begin(), good.begin() + 5)});
  cases.push_back({"cut in the last value", std::vector<BYTE>(good.begin(), good.end() - 3)});
  auto wrong_magic = good;
  wrong_magic[0] = 'X';
  cases.push_back({"not this control's data", wrong_magic});
  auto huge_text = good;
  // The Filename's length field (the last entry: the text is 5 UTF-16 units).
  const std::size_t length_at = good.size() - 10 - 4;
  huge_text[length_at] = huge_text[length_at + 1] = huge_text[length_at + 2] = huge_text[length_at + 3] = 0xFF;
  cases.push_back({"a length of 4 G", huge_text});
  auto many = good;
  many[6] = 0xFF;
  many[7] = 0xFF;
  cases.push_back({"65535 entries", many});

  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto damaged = memory_stream();
    ULONG written = 0;
    if (!c.bytes.empty()) damaged->Write(c.bytes.data(), static_cast<ULONG>(c.bytes.size()), &written);
    rewind(damaged.get());
    const auto target = library_.create();
    ASSERT_TRUE(target);
    EXPECT_TRUE(FAILED(as<IPersistStreamInit>(target.get(), IID_IPersistStreamInit)->Load(damaged.get())));
    EXPECT_EQ(values_of(target.get()), kNewInstance);
  }
}

TEST_F(PersistenceTest, StorageRoundTrip) {
  ComPtr<ILockBytes> bytes;
  ASSERT_EQ(CreateILockBytesOnHGlobal(nullptr, TRUE, bytes.put()), S_OK);
  ComPtr<IStorage> storage;
  ASSERT_EQ(StgCreateDocfileOnILockBytes(bytes.get(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0,
                                         storage.put()),
            S_OK);
  const Values changed{0x00000080, 0, 1, L"frames.gif"};
  const auto control = library_.create();
  ASSERT_TRUE(control);
  const auto persist = as<IPersistStorage>(control.get(), IID_IPersistStorage);
  ASSERT_EQ(persist->InitNew(storage.get()), S_OK);
  EXPECT_EQ(values_of(control.get()), kNewInstance);
  set_values(control.get(), changed);
  EXPECT_EQ(persist->IsDirty(), S_OK);
  ASSERT_EQ(persist->Save(storage.get(), TRUE), S_OK);
  ASSERT_EQ(persist->SaveCompleted(nullptr), S_OK);
  EXPECT_EQ(persist->IsDirty(), S_FALSE);
  ASSERT_EQ(persist->HandsOffStorage(), S_OK);
  ASSERT_EQ(storage->Commit(STGC_DEFAULT), S_OK);

  const auto restored = library_.create();
  ASSERT_TRUE(restored);
  ASSERT_EQ(as<IPersistStorage>(restored.get(), IID_IPersistStorage)->Load(storage.get()), S_OK);
  EXPECT_EQ(values_of(restored.get()), changed);
}

TEST_F(PersistenceTest, AllThreeInterfacesNameTheControlClass) {
  const auto control = library_.create();
  ASSERT_TRUE(control);
  for (const IID* iid : {&IID_IPersistStreamInit, &IID_IPersistStorage, &IID_IPersistPropertyBag}) {
    ComPtr<IPersist> persist;
    ASSERT_EQ(control->QueryInterface(*iid, persist.put_void()), S_OK);
    CLSID clsid{};
    ASSERT_EQ(persist->GetClassID(&clsid), S_OK);
    EXPECT_TRUE(IsEqualCLSID(clsid, CLSID_Animview));
  }
}

}  // namespace
}  // namespace animview::control::testing
