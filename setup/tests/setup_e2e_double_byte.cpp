// setup.exe in a double-byte ANSI code page (machine and packages: setup_e2e.h).
// Wine takes a program's code page from the Unix locale it starts in, so the
// test list runs this file's case under ja_JP.UTF-8 (code page 932), and the
// programs it starts inherit that; in any other code page it skips itself.
#include "setup_e2e.h"

namespace setup_e2e {
namespace {

// Code page 932: the second byte of ポ (83 7C) is a bar, of 表 (95 5C) a backslash.
TEST_F(SetupE2E, DoubleBytePathsInstallIntoTheirOwnFolder) {
  if (GetACP() != 932) GTEST_SKIP() << "runs in code page 932 only";
  const std::string po = "\x83\x7C";
  const std::string hyo = "\x95\x5C";
  const std::string a = Package("pkg" + hyo, "1.9");
  const std::string sub = "\\KAVO\\" + po + hyo;
  Set(a + "\\setup.ini", "SETUP_INFO", "SubTargetPath", sub);
  const std::string folder = programFiles_ + sub;
  const std::string program = folder + "\\KvMessageController.exe";

  Result r = RunSetup(a, "-I");
  EXPECT_EQ(r.code, 0u);
  EXPECT_EQ(r.output, StartUp(false, "1.9", "PioScreen", false) + FirstInstallTail());
  EXPECT_TRUE(Exists(program));
  EXPECT_TRUE(Exists(folder + "\\KvMessageController.ini"));
  EXPECT_FALSE(Exists(programFiles_ + "\\KAVO\\" + po + "\x95"));  // no folder of half a character
  EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kRunKey, "RunMessageController"), program);
  EXPECT_TRUE(ComponentRuns());

  r = RunSetup(a, "-U");
  EXPECT_EQ(r.code, 0u);
  EXPECT_EQ(r.output, StartUp(true, "1.9", "PioScreen", true) + UninstallTail());
  EXPECT_FALSE(Exists(programFiles_ + "\\KAVO"));
  EXPECT_FALSE(RegText(HKEY_LOCAL_MACHINE, kRunKey, "RunMessageController"));
}

}  // namespace
}  // namespace setup_e2e
