// A real late-bound client: Wine's cscript runs scripts/drive_animview.vbs against the
// registered control, creating it by its program identifier.
#include <gtest/gtest.h>

#include <string>

#include "harness.h"

namespace animview::control::testing {
namespace {

TEST(Scripting, VbscriptDrivesEveryPropertyAndMethod) {
  const char* script = std::getenv("ANIMVIEW_VBS");
  ASSERT_TRUE(script) << "ANIMVIEW_VBS names the script";
  const Registered registered;
  ASSERT_TRUE(registered.ok()) << "regsvr32 failed";
  const TempFile gif(L"animview_script.gif", three_colour_gif());

  // The cscript of this program's bitness, which sees the registration of the same bitness.
  std::string output;
  const DWORD code = run_program(L"\"" + system_program(L"cscript.exe") + L"\" //nologo \"" +
                                     windows_path(script) + L"\" \"" + gif.path() + L"\"",
                                 &output);
  std::printf("%s\n", output.c_str());
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(output.find("FAIL"), std::string::npos);
  // Wine's cscript ends quietly with 0 on a script error: the script's last line says it ran to its end.
  EXPECT_NE(output.find("PASS"), std::string::npos);
}

}  // namespace
}  // namespace animview::control::testing
