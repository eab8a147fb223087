// The installer's portable decisions: version order, Windows names, the path
// checks that guard deletion, and the configuration file operations.
#include <gtest/gtest.h>

#include "component_config.h"
#include "fake_system.h"
#include "install_paths.h"
#include "version_text.h"
#include "windows_name.h"

using namespace setup;

TEST(VersionText, ComparesBytesNotNumbers) {
  EXPECT_FALSE(IsNewerVersion("1.10", "1.9"));
  EXPECT_TRUE(IsNewerVersion("1.9", "1.10"));
  EXPECT_TRUE(IsNewerVersion("2.0", "1.9"));
  EXPECT_FALSE(IsNewerVersion("1.0", "1.0"));
  EXPECT_TRUE(IsNewerVersion("1.0.1", "1.0"));  // a longer text with the same start
  EXPECT_FALSE(IsNewerVersion("1.0", "1.0.1"));
  EXPECT_TRUE(IsNewerVersion("1", ""));  // an empty record is older than anything
  EXPECT_FALSE(IsNewerVersion("", ""));
  // Bytes above 0x7F are greater than ASCII, as strcmp on unsigned bytes has it.
  EXPECT_TRUE(IsNewerVersion("1.\xE9", "1.z"));
}

TEST(VersionText, RecordTextIsCutSoARereadPackageComparesEqual) {
  const std::string longVersion(150, '7');
  const std::string recorded = CutToRecordText(longVersion);
  EXPECT_EQ(recorded.size(), kRecordTextMax);
  EXPECT_FALSE(IsNewerVersion(CutToRecordText(longVersion), recorded));
  EXPECT_EQ(CutToRecordText("1.0"), "1.0");
}

namespace {
WindowsVersionFacts Nt(std::uint32_t major, std::uint32_t minor, std::uint8_t product = 1,
                       bool r2 = false, std::uint16_t arch = 0) {
  WindowsVersionFacts f;
  f.known = true;
  f.platformId = windows_platform::kNT;
  f.major = major;
  f.minor = minor;
  f.productType = product;
  f.serverR2 = r2;
  f.processorArchitecture = arch;
  return f;
}
WindowsVersionFacts Nine(std::uint32_t minor) {
  WindowsVersionFacts f = Nt(4, minor);
  f.platformId = windows_platform::kWindows;
  return f;
}
}  // namespace

TEST(WindowsName, TableRows) {
  EXPECT_EQ(WindowsNameFor(Nt(6, 0, 1)), "Windows Vista");
  EXPECT_EQ(WindowsNameFor(Nt(6, 0, 3)), "Windows Server \"Longhorn\"");
  EXPECT_EQ(WindowsNameFor(Nt(6, 0, 0)), "Windows Server \"Longhorn\"");  // short record
  EXPECT_EQ(WindowsNameFor(Nt(5, 2, 1, false, 9)), "Microsoft Windows XP Professional x64 Edition");
  EXPECT_EQ(WindowsNameFor(Nt(5, 2, 1, true, 9)), "Microsoft Windows Server 2003 \"R2\"");
  EXPECT_EQ(WindowsNameFor(Nt(5, 2, 3, true, 0)), "Microsoft Windows Server 2003 \"R2\"");
  EXPECT_EQ(WindowsNameFor(Nt(5, 2, 3, false, 9)), "Microsoft Windows Server 2003");
  EXPECT_EQ(WindowsNameFor(Nt(5, 2, 1, false, 0)), "Microsoft Windows Server 2003");
  EXPECT_EQ(WindowsNameFor(Nt(5, 1, 3, true, 9)), "Microsoft Windows XP");
  EXPECT_EQ(WindowsNameFor(Nt(5, 0)), "Microsoft Windows 2000");
  EXPECT_EQ(WindowsNameFor(Nt(4, 0)), "Microsoft Windows NT");
  EXPECT_EQ(WindowsNameFor(Nt(3, 51)), "Microsoft Windows NT");
  EXPECT_EQ(WindowsNameFor(Nine(0)), "Microsoft Windows 95");
  EXPECT_EQ(WindowsNameFor(Nine(10)), "Microsoft Windows 98");
  EXPECT_EQ(WindowsNameFor(Nine(90)), "Microsoft Windows Millennium Edition");
  WindowsVersionFacts s = Nt(1, 0);
  s.platformId = windows_platform::kWin32s;
  EXPECT_EQ(WindowsNameFor(s), "Microsoft Win32s");
}

TEST(WindowsName, UnknownVersionsAreEmptyAndUseTheRunKey) {
  for (const WindowsVersionFacts& f :
       {Nt(6, 1), Nt(6, 2), Nt(10, 0), Nt(5, 3), Nine(20), WindowsVersionFacts{}}) {
    EXPECT_EQ(WindowsNameFor(f), "");
  }
  WindowsVersionFacts ce = Nt(5, 1);
  ce.platformId = 3;
  EXPECT_EQ(WindowsNameFor(ce), "");
  EXPECT_TRUE(StartsAsScheduledTask("Windows Vista"));
  EXPECT_TRUE(StartsAsScheduledTask("Windows Server \"Longhorn\""));
  EXPECT_FALSE(StartsAsScheduledTask(""));
  EXPECT_FALSE(StartsAsScheduledTask("windows vista"));
  EXPECT_FALSE(StartsAsScheduledTask("Microsoft Windows XP"));
}

const CodePage kAscii;

TEST(InstallPaths, TargetFolderStrictlyBelowProgramFiles) {
  const std::string pf = "C:\\Program Files";
  const auto target = [&](std::string_view sub) { return TargetFolderFor(pf, sub, kAscii); };
  EXPECT_EQ(target("\\KAVO\\Message Controller"), "C:\\Program Files\\KAVO\\Message Controller");
  EXPECT_EQ(target("\\KAVO\\"), "C:\\Program Files\\KAVO");
  EXPECT_EQ(target("\\a.b\\..x\\~1"), "C:\\Program Files\\a.b\\..x\\~1");
  EXPECT_EQ(TargetFolderFor("C:\\", "\\KAVO", kAscii), "C:\\KAVO");

  for (const char* bad :
       {"\\", "\\\\", "\\.", "\\..", "\\.\\", "\\..\\Windows", "\\KAVO\\..", "\\KAVO\\..\\..",
        "\\KAVO\\.\\x", "\\KAVO\\\\x", "KAVO", "..\\KAVO", ".\\KAVO", "\\KAVO/../..", "\\..  ",
        "\\. ", "\\...", "\\KAVO.", "\\C:\\x", "\\x:y", "\\*", "\\KAVO\\*.*", "\\a?b", "\\a\"b",
        "\\a<b", "\\a|b", "\\a\tb", "/KAVO"}) {
    EXPECT_FALSE(target(bad)) << bad;
  }
  EXPECT_FALSE(TargetFolderFor("", "\\KAVO", kAscii));
  EXPECT_FALSE(target("\\" + std::string(300, 'a')));
  EXPECT_TRUE(target("\\" + std::string(259 - pf.size() - 1, 'a')));
  EXPECT_FALSE(target("\\" + std::string(259 - pf.size(), 'a')));
}

TEST(InstallPaths, StrictlyBelowIgnoresCaseButNotParts) {
  const auto below = [](std::string_view path, std::string_view base) {
    return IsStrictlyBelow(path, base, kAscii);
  };
  EXPECT_TRUE(below("c:\\program files\\KAVO", "C:\\Program Files"));
  EXPECT_TRUE(below("C:\\Program Files\\a\\b", "C:\\Program Files\\"));
  EXPECT_FALSE(below("C:\\Program Files", "C:\\Program Files"));
  EXPECT_FALSE(below("C:\\Program Files\\", "C:\\Program Files"));
  EXPECT_FALSE(below("C:\\Program FilesX\\a", "C:\\Program Files"));
  EXPECT_FALSE(below("C:\\Program Files\\a\\..", "C:\\Program Files"));
  EXPECT_FALSE(below("C:\\Program Files\\*", "C:\\Program Files"));
  EXPECT_FALSE(below("C:\\x", ""));
}

TEST(InstallPaths, PlainNames) {
  for (const char* ok : {"KvMessageController", "a.b", "x y", "\xE9t\xE9", "-R"})
    EXPECT_TRUE(IsPlainName(ok, kAscii)) << ok;
  for (const char* bad : {"", ".", "..", "...", "a.", "a ", "a\\b", "a/b", "c:", "a*", "a?",
                          "a\"b", "a<b", "a>b", "a|b", "a\nb"})
    EXPECT_FALSE(IsPlainName(bad, kAscii)) << bad;
}

// Code page 932: 表 = 95 5C and ポ = 83 7C carry a backslash and a bar as their
// second byte; 許 of code page 950 (B3 5C) is a lead byte there too.
TEST(InstallPaths, DoubleByteCharactersAreWalkedWhole) {
  const CodePage cp = setup_test::Cp932();
  const std::string hyo = "\x95\x5C";  // 表
  const std::string po = "\x83\x7C";   // ポ
  const std::string pf = "C:\\Program Files";

  EXPECT_TRUE(IsPlainName(po + "rt", cp));
  EXPECT_TRUE(IsPlainName(hyo, cp));
  EXPECT_FALSE(IsPlainName(po + "rt", kAscii));  // what a byte walk saw: a bar
  EXPECT_FALSE(IsPlainName("a\x95", cp));        // cut inside a character
  EXPECT_FALSE(IsPlainName(hyo + "|", cp));      // a real bar is still refused

  // Ending in 表 is not a trailing backslash, and ポ is not a reserved character.
  EXPECT_EQ(TargetFolderFor(pf, "\\KAVO\\" + po + hyo, cp), pf + "\\KAVO\\" + po + hyo);
  EXPECT_EQ(TargetFolderFor(pf, "\\" + hyo + "\\", cp), pf + "\\" + hyo);
  EXPECT_EQ(TargetFolderFor(pf, "\\" + hyo + "\\x", cp), pf + "\\" + hyo + "\\x");
  EXPECT_FALSE(TargetFolderFor(pf, "\\" + hyo + "\\..", cp));
  EXPECT_FALSE(TargetFolderFor(pf, "\\a\x95", cp));

  const std::string target = pf + "\\" + hyo + "\\" + po;
  EXPECT_TRUE(IsStrictlyBelow(target, pf, cp));
  EXPECT_TRUE(IsStrictlyBelow(target + "\\x.dll", target, cp));
  // A base that ends inside a character of path is not its parent.
  EXPECT_FALSE(IsStrictlyBelow(pf + "\\" + hyo + "x", pf + "\\\x95", cp));
  EXPECT_EQ(FolderOf(target + "\\" + hyo + ".exe", cp), target);
  EXPECT_EQ(NameOf(pf + "\\x" + hyo, cp), "x" + hyo);
  EXPECT_EQ(FolderOf("C:\\x" + hyo, cp), "C:");
  EXPECT_EQ(FoldersBetween(pf, target, cp), (std::vector<std::string>{pf + "\\" + hyo, target}));
  EXPECT_TRUE(FoldersBetween(pf, pf, cp).empty());
}

// Profile files match section names without regard to case, so application
// names do too; a second byte that happens to be a letter is not folded.
TEST(AnsiText, NamesCompareAsTheProfileFileComparesSections) {
  const CodePage cp = setup_test::Cp932();
  EXPECT_TRUE(cp.SameIgnoringCase("PioScreen", "pioscreen"));
  EXPECT_TRUE(cp.SameIgnoringCase("PIOSCREEN", "PioScreen"));
  EXPECT_FALSE(cp.SameIgnoringCase("PioScreen", "PioScreen2"));
  EXPECT_FALSE(cp.SameIgnoringCase("PioScreen", "PioScreem"));
  EXPECT_TRUE(cp.SameIgnoringCase("", ""));
  // 83 41 (ア) and 83 61 (ヂ) differ only by what would be a letter's case.
  EXPECT_FALSE(cp.SameIgnoringCase("\x83\x41", "\x83\x61"));
  EXPECT_TRUE(cp.SameIgnoringCase("x\x83\x41", "X\x83\x41"));
  EXPECT_FALSE(cp.SameIgnoringCase("\x83", "\x83\x41"));

  // The system's table of upper-case letters decides beyond ASCII.
  CodePage latin;
  latin.SetUpperCase(0xE9, 0xC9);  // é -> É
  EXPECT_TRUE(latin.SameIgnoringCase("\xC9t\xE9", "\xE9T\xC9"));
  EXPECT_FALSE(kAscii.SameIgnoringCase("\xC9", "\xE9"));
}

class ConfigFile : public ::testing::Test {
 protected:
  setup_test::FakeSystem p;
  const std::string from = "C:\\pkg\\mc.ini";
  const std::string to = "C:\\pf\\mc.ini";
};

TEST_F(ConfigFile, NumberedListStopsAtTheFirstGapOrEmptyValue) {
  p.Set(to, "MainConfig", "1", "A");
  p.Set(to, "MainConfig", "2", "B");
  p.Set(to, "MainConfig", "4", "D");
  EXPECT_EQ(ReadNumberedList(p, to, "mainconfig"), (std::vector<std::string>{"A", "B"}));
  DeleteNumberedList(p, to, "MainConfig");
  EXPECT_FALSE(p.Get(to, "MainConfig", "1"));
  EXPECT_FALSE(p.Get(to, "MainConfig", "2"));
  EXPECT_EQ(p.Get(to, "MainConfig", "4"), "D");

  p.Set(from, "MainConfig", "1", "A");
  p.Set(from, "MainConfig", "2", "");
  p.Set(from, "MainConfig", "3", "C");
  EXPECT_EQ(ReadNumberedList(p, from, "MainConfig"), (std::vector<std::string>{"A"}));
  EXPECT_TRUE(ReadNumberedList(p, "C:\\missing.ini", "MainConfig").empty());

  WriteNumberedList(p, from, "List", {"X", "Y", "Z"});
  EXPECT_EQ(ReadNumberedList(p, from, "List"), (std::vector<std::string>{"X", "Y", "Z"}));
}

TEST_F(ConfigFile, KeyboardGroupsAndDataBytesAreTakenOverWhole) {
  p.Set(from, "Keyboad_Group_Config", "2", "0x5B,0x5C");
  p.Set(to, "Keyboad_Group_Config", "1", "old");
  p.Set(to, "Keyboad_Group_Config", "17", "beyond");
  CopyKeyboardGroups(p, from, to);
  const setup_test::IniSection* groups = p.FindSection(to, "Keyboad_Group_Config");
  ASSERT_TRUE(groups);
  EXPECT_EQ(groups->keys.size(), 17u);
  EXPECT_EQ(p.Get(to, "Keyboad_Group_Config", "1"), "");
  EXPECT_EQ(p.Get(to, "Keyboad_Group_Config", "2"), "0x5B,0x5C");
  EXPECT_EQ(p.Get(to, "Keyboad_Group_Config", "16"), "");
  EXPECT_EQ(p.Get(to, "Keyboad_Group_Config", "17"), "beyond");

  p.Set(to, "HID_DataLoc_Config", "DATA_BYTE3", "7");
  CopyDataLocation(p, from, to);  // the package has no such section
  EXPECT_EQ(p.Get(to, "HID_DataLoc_Config", "DATA_BYTE1"), "0");
  EXPECT_EQ(p.Get(to, "HID_DataLoc_Config", "DATA_BYTE2"), "0");
  p.Set(from, "HID_DataLoc_Config", "DATA_BYTE1", "0x10");
  p.Set(from, "HID_DataLoc_Config", "DATA_BYTE2", "-1");
  p.Set(from, "HID_DataLoc_Config", "DATA_BYTE3", "9");
  CopyDataLocation(p, from, to);
  EXPECT_EQ(p.Get(to, "HID_DataLoc_Config", "DATA_BYTE1"), "16");
  EXPECT_EQ(p.Get(to, "HID_DataLoc_Config", "DATA_BYTE2"), "-1");
  EXPECT_EQ(p.Get(to, "HID_DataLoc_Config", "DATA_BYTE3"), "7");
}

TEST_F(ConfigFile, ApplicationSectionForms) {
  EXPECT_EQ(HexText(0), "0x0");
  EXPECT_EQ(HexText(1), "0x1");
  EXPECT_EQ(HexText(500), "0x1f4");
  EXPECT_EQ(HexText(0xFFFFFFFFu), "0xffffffff");

  p.Set(from, "App", "Version", "3");
  p.Set(from, "App", "HookType", "0x1FF");  // cut to 8 bits
  p.Set(from, "App", "complementary", "2");
  p.Set(from, "App", "group", "500");
  p.Set(from, "App", "HIDREG1", "0x000C:0x0001");
  p.Set(from, "App", "HIDREG2", "12:1");
  p.Set(from, "App", "HIDREG4", "gap");
  const ApplicationEntry e = ReadApplicationSection(p, from, "app");
  EXPECT_EQ(e.version, 3);
  EXPECT_EQ(e.hookType, 0xFF);
  EXPECT_EQ(e.complementary, 2);
  EXPECT_EQ(e.group, 500);
  EXPECT_EQ(e.reportMappings, (std::vector<std::string>{"0x000C:0x0001", "12:1"}));

  for (int i = 1; i <= 5; ++i) p.Set(to, "App", "HIDREG" + std::to_string(i), "old");
  p.Set(to, "App", "Extra", "stays");
  p.log.clear();
  WriteApplicationSection(p, to, "App", e);
  EXPECT_EQ(p.log, (std::vector<std::string>{
                       "ini write App.Version=3", "ini write App.HookType=0xff",
                       "ini write App.complementary=0x2", "ini write App.group=0x1f4",
                       "ini write App.HIDREG1=0x000C:0x0001", "ini write App.HIDREG2=12:1"}));
  // The section is written over, not cleared: the old mappings above the new
  // count stay and still read as part of the list.
  EXPECT_EQ(ReadApplicationSection(p, to, "App").reportMappings,
            (std::vector<std::string>{"0x000C:0x0001", "12:1", "old", "old", "old"}));
  EXPECT_EQ(p.Get(to, "App", "Extra"), "stays");

  DeleteApplicationSection(p, to, "App");
  EXPECT_FALSE(p.FindSection(to, "App"));
}
