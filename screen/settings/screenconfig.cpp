#include "screenconfig.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>

#include "latebound.h"

namespace {

bool IsFolder(const char* path) {
  const DWORD attributes = ::GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Fits(const char* path) { return path && FitsPathBuffer(path); }

// The lead bytes of the ANSI code page in force, or false for all of them.
LeadByteTable AnsiLeadBytes() {
  LeadByteTable table{};
  for (unsigned c = 0; c < table.size(); ++c) {
    table[c] = ::IsDBCSLeadByte(static_cast<BYTE>(c)) != FALSE;
  }
  return table;
}

enum class WriteResult { kNotOpened, kFailed, kWritten };

WriteResult WriteWholeFile(const char* path, const char* mode, const std::string& text) {
  FILE* file = std::fopen(path, mode);
  if (!file) return WriteResult::kNotOpened;
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size() &&
                       std::fflush(file) == 0;
  return std::fclose(file) == 0 && written ? WriteResult::kWritten : WriteResult::kFailed;
}

}  // namespace

bool MakeDirectoryTree(const char* path) {
  if (!Fits(path) || !*path) return false;
  if (!IsFolder(path)) {
    const LeadByteTable leadBytes = AnsiLeadBytes();
    const std::size_t length = std::strlen(path);
    char prefix[kPathBufferBytes];
    // A backslash that is the second byte of a Far East character is no separator.
    for (std::size_t i = 0; i < length; ++i) {
      const unsigned char c = static_cast<unsigned char>(path[i]);
      if (leadBytes[c]) {
        ++i;
        continue;
      }
      if (c != '\\' || i < 3) continue;
      std::memcpy(prefix, path, i);
      prefix[i] = '\0';
      if (IsFolder(prefix)) continue;
      // Another program may make the same folder at the same moment.
      if (!::CreateDirectoryA(prefix, nullptr) && !IsFolder(prefix)) return false;
    }
    // The last name needs no backslash after it to be made.
    if (!IsFolder(path) && !::CreateDirectoryA(path, nullptr) && !IsFolder(path)) return false;
  }
  ::SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
  return true;
}

bool ReadScreenConfig(const char* path, ScreenConfigRecord& record) {
  if (!Fits(path)) return false;
  FILE* file = std::fopen(path, "rb");
  if (!file) return false;
  const LeadByteTable leadBytes = AnsiLeadBytes();
  ScreenConfigParser parser(record, &leadBytes);
  char buffer[4096];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) parser.Feed(buffer, got);
  const bool readToEnd = !std::ferror(file);
  std::fclose(file);
  if (!readToEnd) return false;
  record = parser.Finish();
  return true;
}

bool WriteScreenConfig(const ScreenConfigRecord& record, const char* path) {
  if (!Fits(path)) return false;
  const std::string text = FormatScreenConfig(record);
  const std::string temporary = std::string(path) + ".tmp";
  if (FitsPathBuffer(temporary)) {
    switch (WriteWholeFile(temporary.c_str(), "wb", text)) {
      case WriteResult::kWritten:
        if (::MoveFileExA(temporary.c_str(), path,
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
          return true;
        }
        ::DeleteFileA(temporary.c_str());
        return false;
      case WriteResult::kFailed:  // a full disk, say: the old file stays as it was
        ::DeleteFileA(temporary.c_str());
        return false;
      case WriteResult::kNotOpened:
        break;
    }
  }
  // No file can be made beside it: write in place.
  return WriteWholeFile(path, "w+b", text) == WriteResult::kWritten;
}

ScreenConfigFile LocateScreenConfigUnder(const std::string& localAppData) {
  ScreenConfigFile file;
  const std::string folder = ScreenConfigFolderUnder(localAppData);
  const std::string path = folder + kScreenConfigFileName;
  // A path that does not fit is refused whole: a cut one would name another file.
  if (folder.empty() || !FitsPathBuffer(path)) return file;
  if (!MakeDirectoryTree(folder.c_str())) return file;
  file.path = path;
  ReadScreenConfig(file.path.c_str(), file.record);
  return file;
}

ScreenConfigFile LocateScreenConfig() {
  // The shell is bound here, not when the program starts: it is a large library
  // that nothing else at start needs.
  static const auto folderPath =
      LateBound<decltype(&::SHGetSpecialFolderPathA)>("shell32.dll", "SHGetSpecialFolderPathA");
  char appData[MAX_PATH] = {};
  if (!folderPath || !folderPath(nullptr, appData, CSIDL_LOCAL_APPDATA, TRUE)) return {};
  appData[MAX_PATH - 1] = '\0';
  return LocateScreenConfigUnder(appData);
}
