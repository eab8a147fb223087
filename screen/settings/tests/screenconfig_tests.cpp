// The favourites file on a real file system: folders made, file written, read
// back, and what happens when the path is long or taken by something else.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <string>

#include "files.h"
#include "screenconfig.h"

namespace {

bool IsFolder(const std::string& path) {
  const DWORD a = ::GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}
bool Exists(const std::string& path) {
  return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA found;
  HANDLE h = ::FindFirstFileA((path + "\\*").c_str(), &found);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string child = path + "\\" + name;
      ::SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(child);
      } else {
        ::DeleteFileA(child.c_str());
      }
    } while (::FindNextFileA(h, &found));
    ::FindClose(h);
  }
  ::RemoveDirectoryA(path.c_str());
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  ASSERT_TRUE(test_support::WriteWholeFile(path, bytes)) << path;
}

std::string ReadBytes(const std::string& path) {
  if (::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return "<missing>";
  return test_support::ReadWholeFile(path);
}

// A fresh folder under the temporary folder for each test, removed afterwards.
class FavouritesOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    ASSERT_NE(0u, ::GetTempPathA(MAX_PATH, temp));
    m_root = std::string(temp) + "pio-screenconfig-" + std::to_string(::GetCurrentProcessId()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    RemoveTree(m_root);
    ASSERT_TRUE(::CreateDirectoryA(m_root.c_str(), nullptr)) << m_root;
  }
  void TearDown() override {
    RemoveTree(m_root);
    EXPECT_FALSE(Exists(m_root));
  }
  std::string At(const std::string& relative) const { return m_root + "\\" + relative; }

  std::string m_root;
};

ScreenConfigRecord Sample() {
  ScreenConfigRecord r;
  r.width[0] = 1024, r.height[0] = 600, r.dpi[0] = 96;
  r.width[2] = 800, r.height[2] = 480, r.dpi[2] = 120;
  r.width[5] = 1920, r.height[5] = 1080, r.dpi[5] = 140;
  r.count = 3;
  return r;
}

const char kSampleText[] =
    "[Config]\r\n"
    "    Information_1 = 1024-600-96\r\n\r\n"
    "    Information_3 = 800-480-120\r\n\r\n"
    "    Information_6 = 1920-1080-140\r\n";

TEST_F(FavouritesOnDisk, MakeDirectoryTreeMakesEveryMissingFolder) {
  EXPECT_TRUE(MakeDirectoryTree(At("a\\b\\c\\").c_str()));
  EXPECT_TRUE(IsFolder(At("a\\b\\c")));
  EXPECT_TRUE(MakeDirectoryTree(At("a\\b\\c\\").c_str())) << "an existing folder";
  EXPECT_TRUE(MakeDirectoryTree(At("a\\x\\y").c_str())) << "no backslash at the end";
  EXPECT_TRUE(IsFolder(At("a\\x\\y")));

  WriteBytes(At("file"), "x");
  EXPECT_FALSE(MakeDirectoryTree(At("file\\sub\\").c_str())) << "a file stands in the way";
  EXPECT_FALSE(MakeDirectoryTree(At("file").c_str())) << "a file is not a folder";
  EXPECT_FALSE(Exists(At("file\\sub")));

  const std::string tooLong = At(std::string(120, 'l') + "\\" + std::string(140, 'm') + "\\");
  EXPECT_FALSE(MakeDirectoryTree(tooLong.c_str()));
  EXPECT_FALSE(Exists(At(std::string(120, 'l')))) << "nothing is made of a refused path";
  EXPECT_FALSE(MakeDirectoryTree(""));
  EXPECT_FALSE(MakeDirectoryTree(nullptr));
}

TEST_F(FavouritesOnDisk, WrittenFileHasTheExactBytesAndReadsBack) {
  const std::string path = At("ScreenConfig.ini");
  WriteBytes(path, std::string(5000, 'o'));  // an older, longer file is replaced whole
  ASSERT_TRUE(WriteScreenConfig(Sample(), path.c_str()));
  EXPECT_EQ(kSampleText, ReadBytes(path));
  EXPECT_FALSE(Exists(path + ".tmp"));

  ScreenConfigRecord back;
  ASSERT_TRUE(ReadScreenConfig(path.c_str(), back));
  EXPECT_EQ(Sample(), back);

  ASSERT_TRUE(WriteScreenConfig(ScreenConfigRecord{}, path.c_str()));
  EXPECT_EQ("[Config]\r\n", ReadBytes(path));
}

TEST_F(FavouritesOnDisk, MissingFileOrFolderInsteadOfFileLeavesTheRecord) {
  const ScreenConfigRecord before = Sample();
  ScreenConfigRecord r = before;
  EXPECT_FALSE(ReadScreenConfig(At("none.ini").c_str(), r));
  EXPECT_EQ(before, r);

  const std::string folder = At("ScreenConfig.ini");
  ASSERT_TRUE(::CreateDirectoryA(folder.c_str(), nullptr));
  EXPECT_FALSE(ReadScreenConfig(folder.c_str(), r));
  EXPECT_EQ(before, r);
  EXPECT_FALSE(WriteScreenConfig(Sample(), folder.c_str()));
  EXPECT_TRUE(IsFolder(folder));
  EXPECT_FALSE(Exists(folder + ".tmp"));

  EXPECT_FALSE(WriteScreenConfig(Sample(), At("no\\such\\folder\\x.ini").c_str()));
  EXPECT_FALSE(ReadScreenConfig(nullptr, r));
  EXPECT_FALSE(WriteScreenConfig(Sample(), nullptr));
}

TEST_F(FavouritesOnDisk, WriterFallsBackToWritingInPlace) {
  // The temporary name is taken by a folder: the file is written directly.
  const std::string path = At("ScreenConfig.ini");
  ASSERT_TRUE(::CreateDirectoryA((path + ".tmp").c_str(), nullptr));
  ASSERT_TRUE(WriteScreenConfig(Sample(), path.c_str()));
  EXPECT_EQ(kSampleText, ReadBytes(path));
}

TEST_F(FavouritesOnDisk, JunkAndHugeLinesAreReadWithoutHarm) {
  std::string junk(1 << 20, '\0');
  unsigned seed = 7;
  for (char& c : junk) c = static_cast<char>((seed = seed * 1103515245u + 12345u) >> 16);
  const std::string junkPath = At("junk.ini");
  WriteBytes(junkPath, junk);
  ScreenConfigRecord r;
  EXPECT_TRUE(ReadScreenConfig(junkPath.c_str(), r));

  // One line of 8 MB whose entry sits at its very end.
  const std::string hugePath = At("huge.ini");
  WriteBytes(hugePath, "[Config]\r\n" + std::string(8 << 20, ' ') +
                           "Information_4 = 1280-720-120\r\nInformation_4 = " +
                           std::string(1 << 20, '9') + "\r\n");
  ScreenConfigRecord h;
  ASSERT_TRUE(ReadScreenConfig(hugePath.c_str(), h));
  EXPECT_EQ(INT32_MAX, h.width[3]) << "the later line wins; its number is clamped";
  EXPECT_EQ(2, h.count);
}

TEST_F(FavouritesOnDisk, LocationUnderAnApplicationDataFolder) {
  const ScreenConfigFile fresh = LocateScreenConfigUnder(m_root);
  EXPECT_EQ(m_root + "\\KAVO\\Pio-Screen\\ScreenConfig.ini", fresh.path);
  EXPECT_TRUE(IsFolder(At("KAVO\\Pio-Screen")));
  EXPECT_EQ(ScreenConfigRecord{}, fresh.record);

  ASSERT_TRUE(WriteScreenConfig(Sample(), fresh.path.c_str()));
  const ScreenConfigFile again = LocateScreenConfigUnder(m_root + "\\");
  EXPECT_EQ(fresh.path, again.path);
  EXPECT_EQ(Sample(), again.record);
}

TEST_F(FavouritesOnDisk, LocationRefusesPathsThatDoNotFitOrCannotBeMade) {
  // "\KAVO\Pio-Screen\ScreenConfig.ini" is 33 bytes; the whole path must stay
  // below 260 with room for its terminating NUL.
  const std::size_t room = 259 - m_root.size() - 1 - 33;
  ASSERT_LT(room, 256u);
  const std::string fits = At(std::string(room, 'f'));
  const ScreenConfigFile edge = LocateScreenConfigUnder(fits);
  ASSERT_EQ(259u, edge.path.size());
  // No room for a temporary name beside it: written in place.
  ASSERT_TRUE(WriteScreenConfig(Sample(), edge.path.c_str()));
  EXPECT_EQ(kSampleText, ReadBytes(edge.path));

  const std::string tooLong = At(std::string(room + 1, 'g'));
  const ScreenConfigFile refused = LocateScreenConfigUnder(tooLong);
  EXPECT_EQ("", refused.path);
  EXPECT_EQ(ScreenConfigRecord{}, refused.record);
  EXPECT_FALSE(Exists(tooLong)) << "no folder is made for a refused path";

  WriteBytes(At("KAVO"), "a file where the folder goes");
  const ScreenConfigFile blocked = LocateScreenConfigUnder(m_root);
  EXPECT_EQ("", blocked.path);
  EXPECT_EQ("", LocateScreenConfigUnder("").path);
}

TEST(FavouritesLocation, LiesUnderTheUsersLocalApplicationData) {
  char appData[MAX_PATH];
  ASSERT_TRUE(::SHGetSpecialFolderPathA(nullptr, appData, CSIDL_LOCAL_APPDATA, TRUE));
  const std::string kavo = std::string(appData) + "\\KAVO";
  const bool hadKavo = Exists(kavo);
  const bool hadFolder = Exists(kavo + "\\Pio-Screen");

  const ScreenConfigFile file = LocateScreenConfig();
  EXPECT_EQ(std::string(appData) + "\\KAVO\\Pio-Screen\\ScreenConfig.ini", file.path);
  EXPECT_TRUE(IsFolder(kavo + "\\Pio-Screen"));

  // Leave the prefix as it was; folders that others filled meanwhile stay.
  if (!hadFolder) ::RemoveDirectoryA((kavo + "\\Pio-Screen").c_str());
  if (!hadKavo) ::RemoveDirectoryA(kavo.c_str());
}

}  // namespace
