// Our stand-in for the maker's language library, so that PioScreen can be shown
// and tested in other languages. It is not the maker's library and does not try
// to be: it knows one setting and a folder of plain text files (see README.md).
//
//   <folder of this DLL>\DiZovadAzir.ini     [Language] Name=French   (unset: English)
//   <folder of this DLL>\Languages\French.txt  the texts, in the language's ANSI code page
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "langfile.h"

namespace {

constexpr int kNameBytes = 32;   // the caller's name buffer
constexpr int kPathBytes = 260;  // the caller's path buffer
constexpr char kEnglish[] = "English";

HMODULE g_module = nullptr;
CRITICAL_SECTION g_lock;

// The texts of the last language file asked for.
struct Cache {
  std::string path;
  bool loaded = false;
  langfile::Table table;
};
Cache* g_cache = nullptr;

class Lock {
 public:
  Lock() { EnterCriticalSection(&g_lock); }
  ~Lock() { LeaveCriticalSection(&g_lock); }
};

std::string ThisFolder() {
  char path[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameA(g_module, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return "";
  char* slash = std::strrchr(path, '\\');
  if (!slash) return "";
  *slash = '\0';
  return path;
}

bool ReadWholeFile(const std::string& path, std::vector<char>& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  bool ok = GetFileSizeEx(file, &size) && size.QuadPart > 0 &&
            size.QuadPart <= static_cast<LONGLONG>(langfile::kMaxFileBytes);
  if (ok) {
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD got = 0;
    ok = ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) &&
         got == bytes.size();
  }
  CloseHandle(file);
  return ok;
}

// The table of the file at `path`; null when it cannot be read or holds nothing.
// Called under the lock.
const langfile::Table* TableFor(const char* path) {
  if (!path || !*path) return nullptr;
  if (!g_cache) g_cache = new Cache;
  if (!g_cache->loaded || g_cache->path != path) {
    g_cache->path = path;
    g_cache->table = langfile::Table{};
    std::vector<char> bytes;
    if (ReadWholeFile(path, bytes)) g_cache->table = langfile::Parse(bytes.data(), bytes.size());
    g_cache->loaded = true;
  }
  return g_cache->table.texts.empty() ? nullptr : &g_cache->table;
}

// The text to give for `source`: its translation, or itself.
void Translate(const char* source, const char* languagePath, const char** text, size_t* length,
               std::string& holder) {
  *text = source;
  *length = std::strlen(source);
  char path[kPathBytes] = {};
  if (languagePath) {
    // The caller's buffer holds at most kPathBytes; never read past it.
    size_t n = 0;
    while (n < kPathBytes - 1 && languagePath[n]) ++n;
    std::memcpy(path, languagePath, n);
  }
  Lock lock;
  if (const langfile::Table* table = TableFor(path)) {
    if (const std::string* found = table->Find(source)) {
      holder = *found;
      *text = holder.c_str();
      *length = holder.size();
    }
  }
}

}  // namespace

extern "C" {

// Reports the language of the setting: its name (at most 31 letters) and the path
// of its text file. English, with an empty path, when the setting is missing or
// names a language whose file cannot be read. Always non-zero once both buffers
// are given.
int __cdecl KvGetLangNameAndPath(int, char* name, char* path) {
  if (!name || !path) return 0;
  langfile::CopyCut(kEnglish, sizeof(kEnglish) - 1, name, kNameBytes);
  path[0] = '\0';

  const std::string folder = ThisFolder();
  if (folder.empty()) return 1;
  const std::string settings = folder + "\\DiZovadAzir.ini";
  char wanted[64] = {};
  GetPrivateProfileStringA("Language", "Name", "", wanted, sizeof(wanted), settings.c_str());
  if (!langfile::IsLanguageName(wanted) || lstrcmpiA(wanted, kEnglish) == 0) return 1;

  const std::string file = folder + "\\Languages\\" + wanted + ".txt";
  if (file.size() >= kPathBytes) return 1;
  {
    Lock lock;
    if (!TableFor(file.c_str())) return 1;
  }
  langfile::CopyCut(wanted, std::strlen(wanted), name, kNameBytes);
  langfile::CopyCut(file.c_str(), file.size(), path, kPathBytes);
  return 1;
}

// Writes the translation of `source` (or `source` itself) into `out`, cut to
// size - 1 bytes; returns the number of bytes written.
int __cdecl KvTranslateStr2(int, const char* source, char* out, int size,
                            const char* languagePath) {
  if (!out || size < 1) return 0;
  if (!source) return langfile::CopyCut("", 0, out, size);
  const char* text = nullptr;
  size_t length = 0;
  std::string holder;
  Translate(source, languagePath, &text, &length, holder);
  return langfile::CopyCut(text, length, out, size);
}

// The same for a printf format: translates `format`, then fills it with the
// arguments that follow. A translation always has the placeholders of its
// English text, so the arguments fit either. Returns the bytes written.
int __cdecl KvTranslateStrF(int, const char* format, char* out, int size,
                            const char* languagePath, ...) {
  if (!out || size < 1) return 0;
  out[0] = '\0';
  if (!format) return 0;
  const char* text = nullptr;
  size_t length = 0;
  std::string holder;
  Translate(format, languagePath, &text, &length, holder);
  va_list args;
  va_start(args, languagePath);
  const int n = std::vsnprintf(out, static_cast<size_t>(size), text, args);
  va_end(args);
  out[size - 1] = '\0';
  if (n < 0) {
    out[0] = '\0';
    return 0;
  }
  return n < size ? n : size - 1;
}

}  // extern "C"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    DisableThreadLibraryCalls(instance);
    InitializeCriticalSection(&g_lock);
  } else if (reason == DLL_PROCESS_DETACH) {
    // At process end other threads are gone and the heap may be torn down: leave it.
    if (!reserved) {
      delete g_cache;
      g_cache = nullptr;
    }
    DeleteCriticalSection(&g_lock);
  }
  return TRUE;
}
