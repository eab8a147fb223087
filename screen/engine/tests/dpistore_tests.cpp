// The DPI store writing through the real registry (a private key of the test).
#include <gtest/gtest.h>
#include <shlwapi.h>

#include "dpistore.h"
#include "registry_dpi.h"

namespace {

const wchar_t kTestRootW[] = L"Software\\PioTests\\DpiStore";
const char kRequestKey[] = "Software\\PioTests\\DpiStore\\KvSrc\\";

// The stored number, or -1 when there is none.
long long Stored(const char* keyPath = kRequestKey) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return -1;
  DWORD value = 0, size = sizeof value, type = 0;
  const LONG rc = RegQueryValueExA(key, "Range", nullptr, &type, reinterpret_cast<BYTE*>(&value),
                                   &size);
  RegCloseKey(key);
  return rc == ERROR_SUCCESS && type == REG_DWORD ? static_cast<long long>(value) : -1;
}

class DpiStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { SHDeleteKeyW(HKEY_CURRENT_USER, kTestRootW); }
  void TearDown() override { SHDeleteKeyW(HKEY_CURRENT_USER, kTestRootW); }
  DpiStore store{HKEY_CURRENT_USER, kRequestKey, "Range"};
};

TEST_F(DpiStoreTest, TheDpiInForceIsNotStored) {
  EXPECT_EQ(E_NOTIMPL, store.StoreDpiChoice(100, 96.0));
  EXPECT_EQ(-1, Stored());
  EXPECT_NE(nullptr, store.Writer());  // made on the first store all the same
}

TEST_F(DpiStoreTest, AnotherDpiIsStoredRounded) {
  EXPECT_EQ(S_OK, store.StoreDpiChoice(125, 96.0));
  EXPECT_EQ(120, Stored());
  const DwordRegHelper* writer = store.Writer();
  EXPECT_EQ(S_OK, store.StoreDpiChoice(146, 96.0));
  EXPECT_EQ(140, Stored());
  EXPECT_EQ(writer, store.Writer());  // one writer for the store's life
  // Back to the DPI in force: nothing changes, the last request stays.
  EXPECT_EQ(E_NOTIMPL, store.StoreDpiChoice(100, 96.0));
  EXPECT_EQ(140, Stored());
}

TEST_F(DpiStoreTest, AFailedWriteIsReportedAsNoChangePossible) {
  // The key above the test's own, lasting: made together with the volatile one it
  // would be volatile too, and no later test could make a lasting key under it
  // until the registry is reloaded.
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\PioTests", 0, nullptr,
                                           0, KEY_WRITE, nullptr, &key, nullptr));
  RegCloseKey(key);
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, kTestRootW, 0, nullptr,
                                           REG_OPTION_VOLATILE, KEY_WRITE, nullptr, &key, nullptr));
  RegCloseKey(key);
  EXPECT_EQ(E_FAIL, store.StoreDpiChoice(125, 96.0));
  EXPECT_EQ(-1, Stored());
}

TEST_F(DpiStoreTest, ADpiNoDisplayCanUseIsNeverStored) {
  EXPECT_EQ(E_FAIL, store.StoreDpiChoice(0, 96.0));
  EXPECT_EQ(E_FAIL, store.StoreDpiChoice(-125, 96.0));
  EXPECT_EQ(E_FAIL, store.StoreDpiChoice(1000000, 96.0));
  EXPECT_EQ(-1, Stored());
}

TEST_F(DpiStoreTest, UndoPutsBackWhatTheRequestHeldBeforeTheLastWrite) {
  EXPECT_TRUE(store.UndoLastStore()) << "nothing written yet: nothing to undo";
  ASSERT_EQ(S_OK, store.StoreDpiChoice(125, 96.0));
  EXPECT_TRUE(store.UndoLastStore());
  EXPECT_EQ(-1, Stored()) << "there was no request before";

  ASSERT_EQ(S_OK, store.StoreDpiChoice(146, 96.0));
  ASSERT_EQ(S_OK, store.StoreDpiChoice(125, 96.0));
  EXPECT_EQ(E_NOTIMPL, store.StoreDpiChoice(100, 96.0)) << "a store that writes nothing is not undone";
  EXPECT_TRUE(store.UndoLastStore());
  EXPECT_EQ(140, Stored()) << "the request pending before this store";
  EXPECT_TRUE(store.UndoLastStore());
  EXPECT_EQ(140, Stored()) << "undone once only";
}

TEST(DpiStoreDefault, WritesTheCurrentUsersRequest) {
  DpiStore store;
  ASSERT_EQ(E_NOTIMPL, store.StoreDpiChoice(100, 96.0));  // makes the writer, writes nothing
  ASSERT_NE(nullptr, store.Writer());
  EXPECT_EQ(HKEY_CURRENT_USER, store.Writer()->Root());
  EXPECT_STREQ(dpireg::kRequestKeyA, store.Writer()->KeyPath());
  EXPECT_STREQ("Range", store.Writer()->ValueName());
}

}  // namespace
