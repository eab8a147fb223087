#include "language.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr char kLibraryName[] = "DiZovadAzir.dll";
constexpr int kNameBytes = 32;
constexpr int kPathBytes = 260;
// Translations grow their buffer in steps of 256 bytes while the library fills it
// to the last byte; a library that always does is stopped at 64 KB, and the text
// is taken as cut there.
constexpr int kBufferStep = 256;
constexpr int kBufferLimit = 64 * 1024;

// The library's entry points: C calling convention, ANSI texts.
using GetLangNameAndPathFn = int(__cdecl*)(int, char* name, char* path);
using TranslateStr2Fn = int(__cdecl*)(int, const char* source, char* out, int size,
                                      const char* languagePath);
using TranslateStrFFn = void(__cdecl*)();  // looked up, never called

struct Binding {
  HMODULE library = nullptr;
  GetLangNameAndPathFn getLangNameAndPath = nullptr;
  TranslateStr2Fn translateStr2 = nullptr;
  TranslateStrFFn translateStrF = nullptr;
  char* name = nullptr;  // kNameBytes
  char* path = nullptr;  // kPathBytes
  char* result = nullptr;
  bool loaded = false;
};

Binding g_binding;

void FreeBuffers() {
  std::free(g_binding.result);
  std::free(g_binding.path);
  std::free(g_binding.name);
  g_binding.result = g_binding.path = g_binding.name = nullptr;
}

}  // namespace

int LoadLanguageLibrary() {
  char folder[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 1;
  if (char* slash = std::strrchr(folder, '\\')) *slash = '\0';
  return LoadLanguageLibraryFrom(folder);
}

int LoadLanguageLibraryFrom(const char* folder) {
  if (g_binding.library) UnloadLanguageLibrary();  // a second load starts afresh
  char path[MAX_PATH];
  const int written = std::snprintf(path, sizeof(path), "%s\\%s", folder ? folder : "",
                                    kLibraryName);
  if (written < 0 || written >= static_cast<int>(sizeof(path))) return 1;
  g_binding.library = LoadLibraryA(path);
  if (!g_binding.library) return 1;
  g_binding.getLangNameAndPath = reinterpret_cast<GetLangNameAndPathFn>(
      reinterpret_cast<void*>(GetProcAddress(g_binding.library, "KvGetLangNameAndPath")));
  g_binding.translateStr2 = reinterpret_cast<TranslateStr2Fn>(
      reinterpret_cast<void*>(GetProcAddress(g_binding.library, "KvTranslateStr2")));
  g_binding.translateStrF = reinterpret_cast<TranslateStrFFn>(
      reinterpret_cast<void*>(GetProcAddress(g_binding.library, "KvTranslateStrF")));

  g_binding.path = static_cast<char*>(std::calloc(kPathBytes, 1));
  g_binding.name = static_cast<char*>(std::calloc(kNameBytes, 1));
  if (!g_binding.path || !g_binding.name || !g_binding.getLangNameAndPath ||
      !g_binding.getLangNameAndPath(0, g_binding.name, g_binding.path)) {
    return 2;
  }
  // Whatever the library wrote, both stay terminated inside their buffers.
  g_binding.name[kNameBytes - 1] = '\0';
  g_binding.path[kPathBytes - 1] = '\0';
  g_binding.loaded = g_binding.name[0] != '\0';
  return g_binding.loaded ? 0 : 2;
}

int UnloadLanguageLibrary() {
  FreeBuffers();
  g_binding.loaded = false;
  g_binding.getLangNameAndPath = nullptr;
  g_binding.translateStr2 = nullptr;
  g_binding.translateStrF = nullptr;
  if (!g_binding.library) return 1;
  FreeLibrary(g_binding.library);
  g_binding.library = nullptr;
  return 0;
}

const char* CurrentLanguageName() {
  return g_binding.loaded ? g_binding.name : "English";
}

bool IsCurrentLanguage(const char* name) {
  return name && lstrcmpiA(CurrentLanguageName(), name) == 0;
}

const char* TranslateText(const char* text) {
  // A library that reported a language but cannot translate leaves the English.
  if (!g_binding.loaded || !g_binding.translateStr2 || !text) return text;
  for (int size = kBufferStep; size <= kBufferLimit; size += kBufferStep) {
    std::free(g_binding.result);
    g_binding.result = static_cast<char*>(std::malloc(static_cast<size_t>(size)));
    if (!g_binding.result) return text;
    g_binding.result[0] = '\0';
    const int written = g_binding.translateStr2(0, text, g_binding.result, size, g_binding.path);
    g_binding.result[size - 1] = '\0';
    // Exactly size - 1 characters: the text may have been cut; try a larger buffer.
    if (written != size - 1) break;
  }
  return g_binding.result;
}

void ActivateWindow(HWND window) {
  if (!window || !IsWindow(window)) return;
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  const DWORD windowThread = GetWindowThreadProcessId(window, nullptr);
  const DWORD foregroundThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
  const bool attached = windowThread != foregroundThread && foregroundThread != 0 &&
                        AttachThreadInput(windowThread, foregroundThread, TRUE);
  AllowSetForegroundWindow(ASFW_ANY);
  SetForegroundWindow(window);
  BringWindowToTop(window);
  if (attached) AttachThreadInput(windowThread, foregroundThread, FALSE);
  ShowWindow(window, IsIconic(window) ? SW_RESTORE : SW_SHOW);
}
