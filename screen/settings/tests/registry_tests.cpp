// DwordRegHelper and DwordReg against Wine's real registry, under a private key of
// the test (removed afterwards).
#include <gtest/gtest.h>
#include <shlwapi.h>

#include <string>

#include "dwordreg.h"

namespace {

const wchar_t kTestRootW[] = L"Software\\PioTests\\Registry";
const char kTestRootA[] = "Software\\PioTests\\Registry";

bool KeyExists(const wchar_t* path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

struct RawValue {
  bool present = false;
  DWORD type = 0;
  DWORD size = 0;
  DWORD number = 0;
};

RawValue ReadRaw(HKEY root, const wchar_t* path, const wchar_t* name) {
  RawValue v;
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return v;
  BYTE data[64] = {};
  DWORD size = sizeof data;
  v.present = RegQueryValueExW(key, name, nullptr, &v.type, data, &size) == ERROR_SUCCESS;
  v.size = size;
  memcpy(&v.number, data, sizeof v.number);
  RegCloseKey(key);
  return v;
}

void SetRaw(const wchar_t* path, const wchar_t* name, DWORD type, const void* data, DWORD size) {
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_WRITE,
                                           nullptr, &key, nullptr));
  ASSERT_EQ(ERROR_SUCCESS,
            RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size));
  RegCloseKey(key);
}

class DwordRegistry : public ::testing::Test {
 protected:
  void SetUp() override { SHDeleteKeyW(HKEY_CURRENT_USER, kTestRootW); }
  void TearDown() override { SHDeleteKeyW(HKEY_CURRENT_USER, kTestRootW); }
  static std::wstring Path(const wchar_t* sub) { return std::wstring(kTestRootW) + L"\\" + sub; }
};

TEST_F(DwordRegistry, WriteCreatesMissingKeysGivenWithTheTrailingBackslash) {
  // Both widths, two missing levels each, named as the programs name their key.
  DwordRegHelper narrow(HKEY_CURRENT_USER, "Software\\PioTests\\Registry\\A\\KvSrc\\", "Range");
  DwordReg wide(HKEY_CURRENT_USER, L"Software\\PioTests\\Registry\\W\\KvSrc\\", L"Range");
  EXPECT_EQ(1, narrow.Write(120));
  EXPECT_EQ(1, wide.Write(144));
  EXPECT_EQ(120u, narrow.Value());

  // The key without its backslash is the same key; the value is a 4-byte REG_DWORD.
  for (auto [sub, expected] : {std::pair{L"A\\KvSrc", 120u}, std::pair{L"W\\KvSrc", 144u}}) {
    const RawValue v = ReadRaw(HKEY_CURRENT_USER, Path(sub).c_str(), L"Range");
    ASSERT_TRUE(v.present);
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), v.type);
    EXPECT_EQ(4u, v.size);
    EXPECT_EQ(expected, v.number);
  }
  // And a second write replaces the value in the existing key.
  EXPECT_EQ(1, wide.Write(96));
  EXPECT_EQ(96u, wide.Read());
}

TEST_F(DwordRegistry, ReadingWhatIsNotThereGivesZeroAndCreatesNothing) {
  DwordReg missingKey(HKEY_CURRENT_USER, L"Software\\PioTests\\Registry\\Nowhere\\", L"Range");
  DWORD out = 7;
  EXPECT_EQ(0u, missingKey.Read());
  EXPECT_FALSE(missingKey.TryRead(out));
  EXPECT_EQ(7u, out);
  EXPECT_FALSE(KeyExists(Path(L"Nowhere").c_str()));

  DwordReg value(HKEY_CURRENT_USER, L"Software\\PioTests\\Registry\\KvSrc\\", L"Range");
  ASSERT_EQ(1, value.Write(120));
  DwordReg other(HKEY_CURRENT_USER, L"Software\\PioTests\\Registry\\KvSrc\\", L"Missing");
  EXPECT_EQ(0u, other.Read());
  EXPECT_FALSE(other.TryRead(out));

  // A stored 0 is a value read, unlike a missing one.
  ASSERT_EQ(1, value.Write(0));
  out = 7;
  EXPECT_TRUE(value.TryRead(out));
  EXPECT_EQ(0u, out);
}

TEST_F(DwordRegistry, OnlyFourByteValuesAreReadWhateverTheirType) {
  const std::wstring key = Path(L"KvSrc");
  DwordReg reg(HKEY_CURRENT_USER, (key + L"\\").c_str(), L"Range");

  const BYTE four[4] = {0x78, 0, 0, 0};
  SetRaw(key.c_str(), L"Range", REG_BINARY, four, sizeof four);
  EXPECT_EQ(120u, reg.Read());  // the type is not checked

  // Shorter or longer data is no 32-bit number; the last good value stays.
  const BYTE two[2] = {0x60, 0};
  SetRaw(key.c_str(), L"Range", REG_BINARY, two, sizeof two);
  DWORD out = 5;
  EXPECT_FALSE(reg.TryRead(out));
  EXPECT_EQ(5u, out);
  EXPECT_EQ(120u, reg.Value());

  const wchar_t text[] = L"120";
  SetRaw(key.c_str(), L"Range", REG_SZ, text, sizeof text);
  EXPECT_EQ(0u, reg.Read());

  const unsigned long long wide = 96;
  SetRaw(key.c_str(), L"Range", REG_QWORD, &wide, sizeof wide);
  EXPECT_EQ(0u, reg.Read());
}

TEST_F(DwordRegistry, AWriteThatCannotOpenItsKeyFailsAndSetsNothing) {
  // A lasting key cannot be made under a volatile one: the system refuses to
  // create it, as it refuses a user the machine-wide key.
  // The test's own key first, lasting: made together with the volatile one, it
  // and every missing key above it would be volatile too, and no later test could
  // make a lasting key under them until the registry is reloaded.
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, kTestRootW, 0, nullptr, 0,
                                           KEY_WRITE, nullptr, &key, nullptr));
  RegCloseKey(key);
  ASSERT_EQ(ERROR_SUCCESS,
            RegCreateKeyExW(HKEY_CURRENT_USER, Path(L"Volatile").c_str(), 0, nullptr,
                            REG_OPTION_VOLATILE, KEY_WRITE, nullptr, &key, nullptr));
  RegCloseKey(key);

  DwordRegHelper narrow(HKEY_CURRENT_USER, "Software\\PioTests\\Registry\\Volatile\\KvSrc\\",
                        "Range");
  DwordReg wide(HKEY_CURRENT_USER, L"Software\\PioTests\\Registry\\Volatile\\KvSrc\\", L"Range");
  EXPECT_EQ(0, narrow.Write(120));
  EXPECT_EQ(0, wide.Write(120));
  EXPECT_EQ(120u, wide.Value());  // kept, as the write was asked for
  EXPECT_FALSE(KeyExists(Path(L"Volatile\\KvSrc").c_str()));
  EXPECT_EQ(0u, wide.Read());
}

TEST_F(DwordRegistry, NamesTooLongForTheirBuffersAreNeitherCutNorUsed) {
  // Cut to 511 characters, this path would name one of its own ancestors.
  std::string longPath = kTestRootA;
  for (int i = 0; i < 300; ++i) longPath += "\\x";
  DwordRegHelper tooLong(HKEY_CURRENT_USER, longPath.c_str(), "Range");
  EXPECT_FALSE(tooLong.IsUsable());
  EXPECT_EQ(0, tooLong.Write(120));
  EXPECT_FALSE(KeyExists(kTestRootW));

  const std::wstring longName(128, L'n');  // 128 characters leave no room for the end
  DwordReg nameTooLong(HKEY_CURRENT_USER, L"Software\\PioTests\\Registry\\KvSrc\\",
                       longName.c_str());
  EXPECT_EQ(0, nameTooLong.Write(120));
  EXPECT_EQ(0u, nameTooLong.Read());

  const std::wstring longestName(127, L'n');
  DwordReg fits(HKEY_CURRENT_USER, L"Software\\PioTests\\Registry\\KvSrc\\", longestName.c_str());
  EXPECT_EQ(1, fits.Write(120));
  EXPECT_EQ(120u, fits.Read());

  DwordReg noPath(HKEY_CURRENT_USER, L"", L"Range");  // would land on the root itself
  EXPECT_EQ(0, noPath.Write(120));
  DwordReg nullPath(HKEY_CURRENT_USER, nullptr, nullptr);
  EXPECT_EQ(0, nullPath.Write(120));
}

}  // namespace
