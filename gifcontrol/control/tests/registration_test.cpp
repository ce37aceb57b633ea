// regsvr32 and regsvr32 /u on Animview.ocx, as a user registers it: every key is there
// afterwards with its value, and nothing of the control is left after unregistering.
// Runs in the build tree's own Wine prefix, under the lock "animview_registry".
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harness.h"
#include "reg_key.h"
#include "registration.h"

namespace animview::control::testing {
namespace {

bool key_exists(const std::wstring& key) {
  RegKey k;
  return RegKey::open(HKEY_CLASSES_ROOT, key, k) == ERROR_SUCCESS;
}

std::wstring value(const std::wstring& key, const wchar_t* name = nullptr) {
  RegKey k;
  std::wstring v;
  if (RegKey::open(HKEY_CLASSES_ROOT, key, k) != ERROR_SUCCESS || !k.get_string(name, v)) return L"<missing>";
  return v;
}

std::wstring upper(std::wstring s) {
  for (auto& c : s) c = static_cast<wchar_t>(towupper(c));
  return s;
}

const std::wstring kControl = L"CLSID\\{7F08565C-C510-41FC-B9A1-46C46CA94EC3}";
const std::wstring kGeneral = L"CLSID\\{E9A8CC2A-8F32-41B1-83BE-C04982060FD0}";
const std::wstring kComponent = L"CLSID\\{C9BBBA52-03B3-4BB1-8883-F764878BA32B}";
const std::wstring kTypeLib = L"TypeLib\\{BB05CDF9-4FF6-473B-9132-5FF11B24B10A}";
const std::wstring kDualInterface = L"Interface\\{21EB93AA-2BE0-4DB0-A61C-4F81D56515AC}";
const std::wstring kEventInterface = L"Interface\\{F453912C-1584-4D69-8753-96B0B646788B}";

// Every key the control owns, for the check that unregistering takes them all away.
const std::vector<std::wstring> kOwnedKeys = {kControl,
                                              kGeneral,
                                              kComponent,
                                              L"AnimviewDeLuxe.Animview",
                                              L"AnimviewDeLuxe.Animview.1",
                                              kTypeLib,
                                              kDualInterface,
                                              kEventInterface,
                                              L"Interface\\{B68E4071-F85F-436F-BA95-62E6D5474C07}",
                                              L"Interface\\{99B0758E-BCBF-47EF-87BA-F9A942B27946}"};

class RegistrationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(ocx_path().empty());
    regsvr32(L"/u \"" + ocx_path() + L"\"");  // whatever an earlier run left
  }
  void TearDown() override { regsvr32(L"/u \"" + ocx_path() + L"\""); }
};

TEST_F(RegistrationTest, RegisterWritesEveryKeyAndUnregisterLeavesNothing) {
  const std::wstring path = ocx_path();
  ASSERT_EQ(regsvr32(L"\"" + path + L"\""), 0u);

  struct Expected {
    std::wstring key;
    const wchar_t* name;
    std::wstring data;
  };
  const std::vector<Expected> table = {
      {kControl, nullptr, L"Animview"},
      {kControl + L"\\InprocServer32", nullptr, upper(path)},
      {kControl + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
      {kControl + L"\\ProgID", nullptr, L"AnimviewDeLuxe.Animview.1"},
      {kControl + L"\\VersionIndependentProgID", nullptr, L"AnimviewDeLuxe.Animview"},
      {kControl + L"\\Control", nullptr, L""},
      {kControl + L"\\MiscStatus", nullptr, L"229777"},
      {kControl + L"\\MiscStatus\\1", nullptr, L"229777"},
      {kControl + L"\\ToolboxBitmap32", nullptr, upper(path) + L", 30000"},
      {kControl + L"\\TypeLib", nullptr, L"{BB05CDF9-4FF6-473B-9132-5FF11B24B10A}"},
      {kControl + L"\\Version", nullptr, L"3.0"},
      {kControl + L"\\Implemented Categories\\{40FC6ED4-2438-11CF-A3DB-080036F12502}", nullptr, L""},
      {L"AnimviewDeLuxe.Animview", nullptr, L"Animview"},
      {L"AnimviewDeLuxe.Animview\\CLSID", nullptr, L"{7F08565C-C510-41FC-B9A1-46C46CA94EC3}"},
      {L"AnimviewDeLuxe.Animview\\CurVer", nullptr, L"AnimviewDeLuxe.Animview.1"},
      {L"AnimviewDeLuxe.Animview.1\\CLSID", nullptr, L"{7F08565C-C510-41FC-B9A1-46C46CA94EC3}"},
      {kGeneral, nullptr, L"General"},
      {kGeneral + L"\\InprocServer32", nullptr, upper(path)},
      {kGeneral + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
      {kComponent, nullptr, L"Component"},
      {kComponent + L"\\InprocServer32", nullptr, upper(path)},
      {kComponent + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
      {kTypeLib + L"\\3.0", nullptr, L"Animview for Animated Gif Files"},
      {kTypeLib + (sizeof(void*) == 8 ? L"\\3.0\\0\\win64" : L"\\3.0\\0\\win32"), nullptr, upper(path)},
      {kDualInterface, nullptr, L"_Animview"},
      {kEventInterface, nullptr, L"__Animview"},
  };
  for (const Expected& e : table) {
    const std::wstring got = value(e.key, e.name);
    const bool path_value = e.data.find(L'\\') != std::wstring::npos;
    EXPECT_EQ(path_value ? upper(got) : got, e.data)
        << "key " << std::string(e.key.begin(), e.key.end()) << (e.name ? " value " : "")
        << (e.name ? std::string(e.name, e.name + wcslen(e.name)) : "");
  }
  ComPtr<ITypeLib> registered;
  ASSERT_EQ(LoadRegTypeLib(LIBID_AnimviewDeLuxe, 3, 0, 0, registered.put()), S_OK);
  TLIBATTR* attr = nullptr;
  ASSERT_EQ(registered->GetLibAttr(&attr), S_OK);
  EXPECT_EQ(attr->wLibFlags & LIBFLAG_FCONTROL, LIBFLAG_FCONTROL);
  registered->ReleaseTLibAttr(attr);
  registered = nullptr;

  // Scripts find the class by its program identifier.
  CLSID clsid{};
  ASSERT_EQ(CLSIDFromProgID(L"AnimviewDeLuxe.Animview", &clsid), S_OK);
  EXPECT_TRUE(IsEqualCLSID(clsid, CLSID_Animview));

  ASSERT_EQ(regsvr32(L"/u \"" + path + L"\""), 0u);
  for (const std::wstring& key : kOwnedKeys)
    EXPECT_FALSE(key_exists(key)) << "left behind: " << std::string(key.begin(), key.end());
  EXPECT_NE(CLSIDFromProgID(L"AnimviewDeLuxe.Animview", &clsid), S_OK);
}

TEST_F(RegistrationTest, RegisteringTwiceAndUnregisteringTwiceIsHarmless) {
  const std::wstring path = L"\"" + ocx_path() + L"\"";
  EXPECT_EQ(regsvr32(path), 0u);
  EXPECT_EQ(regsvr32(path), 0u);
  EXPECT_TRUE(key_exists(kControl + L"\\InprocServer32"));
  EXPECT_EQ(regsvr32(L"/u " + path), 0u);
  EXPECT_EQ(regsvr32(L"/u " + path), 0u);
  for (const std::wstring& key : kOwnedKeys) EXPECT_FALSE(key_exists(key));
}

}  // namespace
}  // namespace animview::control::testing
