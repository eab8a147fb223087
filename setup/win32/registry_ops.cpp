#include "registry_ops.h"

#include <cstring>
#include <vector>

#include "install_paths.h"
#include "version_text.h"

namespace setup {
namespace {

// Owns one open registry key.
class RegKey {
 public:
  RegKey() = default;
  ~RegKey() {
    if (key_) RegCloseKey(key_);
  }
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;
  LONG Open(HKEY root, const char* path, REGSAM access) {
    return RegOpenKeyExA(root, path, 0, access, &key_);
  }
  LONG Create(HKEY root, const char* path) {
    return RegCreateKeyExA(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                           &key_, nullptr);
  }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

constexpr DWORD kTextBufferSize = kRecordTextMax + 1;

// A list of texts; empty when the value is missing or is not a REG_MULTI_SZ.
std::vector<std::string> ReadTextList(HKEY key, const char* name) {
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      type != REG_MULTI_SZ || size == 0)
    return {};
  std::string bytes(size, '\0');
  if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&bytes[0]), &size) !=
      ERROR_SUCCESS)
    return {};
  bytes.resize(size);
  std::vector<std::string> list;
  for (std::size_t at = 0; at < bytes.size();) {
    const std::size_t end = bytes.find('\0', at);
    const std::string item = bytes.substr(at, end - at);
    if (item.empty()) break;
    list.push_back(item);
    if (end == std::string::npos) break;
    at = end + 1;
  }
  return list;
}

void WriteTextList(HKEY key, const char* name, const std::vector<std::string>& list) {
  std::string bytes;
  for (const std::string& item : list) bytes.append(item).append(1, '\0');
  bytes.append(1, '\0');
  RegSetValueExA(key, name, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(bytes.data()),
                 static_cast<DWORD>(bytes.size()));
}

}  // namespace

bool ReadInstallRecord(HKEY root, const char* path, InstallRecord& record) {
  {
    RegKey key;
    if (key.Open(root, path, KEY_QUERY_VALUE) == ERROR_SUCCESS) {
      char buffer[kTextBufferSize] = {};
      DWORD size = sizeof buffer;
      if (RegQueryValueExA(key.get(), kRecordVersionValue, nullptr, nullptr,
                           reinterpret_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS &&
          size <= sizeof buffer) {
        // The stored text need not carry its terminator.
        record.version.assign(buffer, strnlen(buffer, size));
      }
    }
  }
  RegKey key;
  if (key.Open(root, path, KEY_QUERY_VALUE) != ERROR_SUCCESS) return false;
  // Room for more than 4 bytes, so that a longer value is seen for what it is
  // rather than refused as too big.
  BYTE count[8] = {};
  DWORD size = sizeof count;
  DWORD type = 0;
  const LONG read = RegQueryValueExA(key.get(), kRecordCountValue, nullptr, &type, count, &size);
  if (read != ERROR_SUCCESS && read != ERROR_MORE_DATA) return false;
  // A text "5" would read as the number 53: only a 4-byte number is a count.
  record.countTrusted = read == ERROR_SUCCESS && type == REG_DWORD && size == sizeof(DWORD);
  record.count = 0;
  if (record.countTrusted) std::memcpy(&record.count, count, sizeof(DWORD));
  record.files = ReadTextList(key.get(), kRecordFilesValue);
  record.folders = ReadTextList(key.get(), kRecordFoldersValue);
  return true;
}

bool WriteInstallRecord(HKEY root, const char* path, const InstallRecord& record) {
  WriteRegistryText(root, path, kRecordVersionValue, record.version);
  RegKey key;
  if (key.Create(root, path) != ERROR_SUCCESS) return false;
  WriteTextList(key.get(), kRecordFilesValue, record.files);
  WriteTextList(key.get(), kRecordFoldersValue, record.folders);
  if (!record.countTrusted) return true;
  const DWORD count = record.count;
  return RegSetValueExA(key.get(), kRecordCountValue, 0, REG_DWORD,
                        reinterpret_cast<const BYTE*>(&count), sizeof count) == ERROR_SUCCESS;
}

bool WriteRegistryText(HKEY root, const char* path, const char* name, const std::string& text) {
  if (text.size() > kRecordTextMax) return false;
  RegKey key;
  if (key.Create(root, path) != ERROR_SUCCESS) return false;
  return RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

bool DeleteRegistryValue(HKEY root, const char* path, const char* name) {
  RegKey key;
  if (key.Open(root, path, KEY_ALL_ACCESS) != ERROR_SUCCESS) return false;
  return RegDeleteValueA(key.get(), name) == ERROR_SUCCESS;
}

bool DeleteRegistryTree(HKEY root, const std::string& path) {
  if (path.empty() || path.size() > kPathMax) return false;
  if (RegDeleteKeyA(root, path.c_str()) == ERROR_SUCCESS) return true;
  {
    RegKey key;
    const LONG opened = key.Open(root, path.c_str(), KEY_READ);
    if (opened != ERROR_SUCCESS) return opened == ERROR_FILE_NOT_FOUND;
    const std::string prefix = path + "\\";
    std::string previous;
    while (true) {
      char name[kPathMax + 1];
      DWORD length = sizeof name;
      if (RegEnumKeyExA(key.get(), 0, name, &length, nullptr, nullptr, nullptr, nullptr) !=
          ERROR_SUCCESS)
        break;
      // A subkey that comes back after its "successful" removal cannot be
      // reached by its name: stop instead of going round for ever.
      if (previous == name) break;
      previous = name;
      if (!DeleteRegistryTree(root, prefix + name)) break;
    }
  }
  return RegDeleteKeyA(root, path.c_str()) == ERROR_SUCCESS;
}

}  // namespace setup
