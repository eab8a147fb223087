// The installer's system operations against Wine's real registry, profile files
// and shell, in keys and folders of the test's own.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "component_config.h"
#include "component_control.h"
#include "file_tree.h"
#include "files.h"
#include "registry_ops.h"
#include "shell_ops.h"
#include "win32_system.h"

using namespace setup;

namespace {

constexpr char kTestKey[] = "Software\\PioSetupTests";

std::string TempFolder(const std::string& name) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  return std::string(temp) + "pio-setup-win32-" + name;
}

using test_support::Exists;
using test_support::ReadWholeFile;

class Registry : public ::testing::Test {
 protected:
  void TearDown() override { DeleteRegistryTree(HKEY_CURRENT_USER, kTestKey); }
  void CreateKey(const std::string& path) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), 0);
    RegSetValueExA(key, "v", 0, REG_SZ, reinterpret_cast<const BYTE*>("x"), 2);
    RegCloseKey(key);
  }
  void SetBytes(const char* name, DWORD type, const std::string& bytes) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), 0);
    RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
  }
  bool KeyExists(const std::string& path) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }
};

TEST_F(Registry, DeleteTreeRemovesNestedKeysAndAcceptsAMissingOne) {
  EXPECT_TRUE(DeleteRegistryTree(HKEY_CURRENT_USER, "Software\\PioSetupTests\\Missing"));
  const std::string root = kTestKey;
  for (const char* sub : {"\\A\\B\\C", "\\A\\B2", "\\D", "\\A\\B\\C2\\E"}) CreateKey(root + sub);
  EXPECT_TRUE(DeleteRegistryTree(HKEY_CURRENT_USER, root));
  EXPECT_FALSE(KeyExists(root));
  EXPECT_FALSE(DeleteRegistryTree(HKEY_CURRENT_USER, std::string(300, 'k')));
}

TEST_F(Registry, RecordRoundTripAndItsLimits) {
  InstallRecord record;
  EXPECT_FALSE(ReadInstallRecord(HKEY_CURRENT_USER, kTestKey, record));  // no key

  EXPECT_TRUE(WriteInstallRecord(HKEY_CURRENT_USER, kTestKey, InstallRecord{"1.10", 3}));
  InstallRecord read;
  EXPECT_TRUE(ReadInstallRecord(HKEY_CURRENT_USER, kTestKey, read));
  EXPECT_EQ(read.version, "1.10");
  EXPECT_EQ(read.count, 3u);

  // A VERSION that does not fit the 100-byte buffer leaves the one held before.
  SetBytes("VERSION", REG_SZ, std::string(120, '9') + '\0');
  InstallRecord kept{"held", 0};
  EXPECT_TRUE(ReadInstallRecord(HKEY_CURRENT_USER, kTestKey, kept));
  EXPECT_EQ(kept.version, "held");
  SetBytes("VERSION", REG_SZ, std::string(99, '8') + '\0');
  EXPECT_TRUE(ReadInstallRecord(HKEY_CURRENT_USER, kTestKey, kept));
  EXPECT_EQ(kept.version, std::string(99, '8'));

  // A key without COUNT counts as not read, but its VERSION is taken.
  ASSERT_TRUE(DeleteRegistryValue(HKEY_CURRENT_USER, kTestKey, "COUNT"));
  SetBytes("VERSION", REG_SZ, std::string("2.0") + '\0');
  InstallRecord partial;
  EXPECT_FALSE(ReadInstallRecord(HKEY_CURRENT_USER, kTestKey, partial));
  EXPECT_EQ(partial.version, "2.0");

  // Texts over 99 characters are refused, never cut.
  EXPECT_TRUE(WriteRegistryText(HKEY_CURRENT_USER, kTestKey, "Run", std::string(99, 'r')));
  EXPECT_FALSE(WriteRegistryText(HKEY_CURRENT_USER, kTestKey, "Run", std::string(100, 'r')));
  EXPECT_TRUE(DeleteRegistryValue(HKEY_CURRENT_USER, kTestKey, "Run"));
  EXPECT_FALSE(DeleteRegistryValue(HKEY_CURRENT_USER, kTestKey, "Run"));
}

TEST_F(Registry, OnlyAFourByteNumberIsACountAndTheFileListsRoundTrip) {
  InstallRecord written{"1.0", 2};
  written.files = {"C:\\PF\\K\\a.exe", "C:\\PF\\K\\b.dll"};
  written.folders = {"C:\\PF\\K"};
  ASSERT_TRUE(WriteInstallRecord(HKEY_CURRENT_USER, kTestKey, written));
  InstallRecord read;
  ASSERT_TRUE(ReadInstallRecord(HKEY_CURRENT_USER, kTestKey, read));
  EXPECT_TRUE(read.countTrusted);
  EXPECT_EQ(read.count, 2u);
  EXPECT_EQ(read.files, written.files);
  EXPECT_EQ(read.folders, written.folders);

  struct Case {
    DWORD type;
    std::string bytes;
  };
  for (const Case& c : {Case{REG_SZ, std::string("5") + '\0'}, Case{REG_BINARY, std::string(4, '\1')},
                        Case{REG_DWORD, std::string(2, '\1')}, Case{REG_QWORD, std::string(8, '\0')},
                        Case{REG_DWORD, std::string(12, '\0')}}) {
    SetBytes("COUNT", c.type, c.bytes);
    InstallRecord r;
    EXPECT_TRUE(ReadInstallRecord(HKEY_CURRENT_USER, kTestKey, r)) << c.type;  // there, so installed
    EXPECT_FALSE(r.countTrusted) << c.type << " " << c.bytes.size();
    // Left as stored by a write.
    r.version = "2.0";
    EXPECT_TRUE(WriteInstallRecord(HKEY_CURRENT_USER, kTestKey, r));
    InstallRecord again;
    ReadInstallRecord(HKEY_CURRENT_USER, kTestKey, again);
    EXPECT_FALSE(again.countTrusted);
    EXPECT_EQ(again.version, "2.0");
  }
}

TEST(Files, CopyListAndRemoveOnlyWhatIsNamed) {
  Win32System sys;
  const std::string source = TempFolder("source");
  const std::string target = TempFolder("target");
  CreateDirectoryA(source.c_str(), nullptr);
  CreateDirectoryA((source + "\\sub").c_str(), nullptr);
  for (const char* name : {"a.exe", "b.dll", "c.ini", "sub\\d.txt"})
    std::ofstream(source + "\\" + name) << name;

  ASSERT_TRUE(sys.CopyFiles(source + "\\*.exe", target));  // makes the one missing folder
  EXPECT_TRUE(Exists(target + "\\a.exe"));
  EXPECT_FALSE(Exists(target + "\\b.dll"));
  ASSERT_TRUE(sys.CopyFiles(source + "\\*", target));
  EXPECT_EQ(ReadWholeFile(target + "\\c.ini"), "c.ini");
  EXPECT_EQ(ReadWholeFile(target + "\\sub\\d.txt"), "sub\\d.txt");

  std::vector<FolderEntry> listed = sys.ListFolder(source, "*");
  ASSERT_EQ(listed.size(), 4u);
  EXPECT_EQ(sys.ListFolder(source, "*.dll").size(), 1u);
  EXPECT_TRUE(sys.ListFolder(source + "\\missing", "*").empty());

  // Read-only files go too; a folder goes only when empty; a missing file is gone.
  SetFileAttributesA((target + "\\a.exe").c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(sys.RemoveFile(target + "\\a.exe"));
  EXPECT_FALSE(Exists(target + "\\a.exe"));
  EXPECT_TRUE(sys.RemoveFile(target + "\\a.exe"));
  EXPECT_FALSE(sys.RemoveEmptyFolder(target + "\\sub"));
  EXPECT_TRUE(Exists(target + "\\sub\\d.txt"));
  {
    // Held open without leave to delete, as a running program holds its files.
    const HANDLE held = CreateFileA((target + "\\c.ini").c_str(), GENERIC_READ, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(sys.RemoveFile(target + "\\c.ini"));
    CloseHandle(held);
  }
  for (const char* name : {"b.dll", "c.ini", "sub\\d.txt"}) EXPECT_TRUE(sys.RemoveFile(target + "\\" + name));
  EXPECT_TRUE(sys.RemoveEmptyFolder(target + "\\sub"));
  EXPECT_TRUE(sys.RemoveEmptyFolder(target));
  EXPECT_FALSE(Exists(target));

  for (const char* name : {"a.exe", "b.dll", "c.ini", "sub\\d.txt"}) DeleteFileA((source + "\\" + name).c_str());
  RemoveDirectoryA((source + "\\sub").c_str());
  RemoveDirectoryA(source.c_str());
}

TEST(Profile, ConfigurationOperationsOverTheRealProfileFunctions) {
  const std::string file = TempFolder("profile.ini");
  DeleteFileA(file.c_str());
  Win32System sys;
  EXPECT_EQ(sys.ReadText(file, "MainConfig", "1"), "");
  EXPECT_EQ(sys.ReadInteger(file, "App", "Version"), 0);

  sys.WriteText(file, "MainConfig", "1", "A");
  sys.WriteText(file, "MainConfig", "2", "B");
  sys.WriteText(file, "MainConfig", "4", "D");
  EXPECT_EQ(ReadNumberedList(sys, file, "mainconfig"), (std::vector<std::string>{"A", "B"}));
  DeleteNumberedList(sys, file, "MainConfig");
  EXPECT_EQ(sys.ReadText(file, "MainConfig", "2"), "");
  EXPECT_EQ(sys.ReadText(file, "MainConfig", "4"), "D");

  CopyKeyboardGroups(sys, TempFolder("missing.ini"), file);
  WriteApplicationSection(sys, file, "App", ApplicationEntry{7, 0, 1, 500, {"0x000C:0x0001"}});
  EXPECT_EQ(sys.ReadInteger(file, "App", "group"), 500);
  const std::string text = ReadWholeFile(file);
  EXPECT_NE(text.find("[Keyboad_Group_Config]\r\n1=\r\n2=\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("16=\r\n"), std::string::npos);
  EXPECT_NE(text.find("[App]\r\nVersion=7\r\nHookType=0x0\r\ncomplementary=0x1\r\ngroup=0x1f4\r\nHIDREG1=0x000C:0x0001\r\n"),
            std::string::npos) << text;

  sys.WriteText(file, "Long", "v", std::string(400, 'x'));
  EXPECT_EQ(sys.ReadText(file, "Long", "v"), std::string(254, 'x'));

  DeleteApplicationSection(sys, file, "App");
  EXPECT_EQ(ReadWholeFile(file).find("[App]"), std::string::npos);
  DeleteFileA(file.c_str());
}

// A component window in this process: closing it from here is a direct call.
class ComponentWindow {
 public:
  explicit ComponentWindow(bool closes) {
    window_ = CreateWindowExA(0, "#32770", kComponentWindowTitle, WS_POPUP, 0, 0, 10, 10, nullptr,
                              nullptr, nullptr, nullptr);
    SetWindowLongPtrA(window_, GWLP_WNDPROC,
                      reinterpret_cast<LONG_PTR>(closes ? &DefWindowProcA : &Stubborn));
  }
  ~ComponentWindow() {
    if (IsWindow(window_)) {
      SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DefWindowProcA));
      DestroyWindow(window_);
    }
  }
  HWND get() const { return window_; }

 private:
  static LRESULT CALLBACK Stubborn(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    return m == WM_CLOSE ? 0 : DefWindowProcA(w, m, wp, lp);
  }
  HWND window_;
};

TEST(Component, StopReportsWhetherTheWindowIsGone) {
  const std::string program = "C:\\Program Files\\KAVO\\none\\KvMessageController.exe";
  EXPECT_TRUE(StopComponent(program, 100));  // none running
  {
    ComponentWindow stubborn(false);
    ASSERT_TRUE(stubborn.get());
    EXPECT_FALSE(StopComponent(program, 100));  // this process does not end: the wait is bounded
  }
  ComponentWindow closes(true);
  ASSERT_TRUE(closes.get());
  EXPECT_TRUE(StopComponent(program, 100));
  EXPECT_FALSE(IsWindow(closes.get()));
}

}  // namespace
