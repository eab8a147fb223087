// A language library for the binding's tests: it counts the calls and answers by
// the text it is given. PROBE_MODE=nolanguage makes it report no language.
//   "len:N"  a translation of N 'x' characters
//   "full"   always fills the buffer to the last byte (a library gone wrong)
//   "noterm" fills every byte, terminator included, and claims size bytes
//   "liar"   writes "ok" and claims far more than the buffer holds
//   other    the text in brackets
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {
std::vector<int> g_sizes;
char g_lastPath[260];

int Put(const std::string& text, char* out, int size) {
  const int n = static_cast<int>(text.size()) < size - 1 ? static_cast<int>(text.size()) : size - 1;
  std::memcpy(out, text.data(), static_cast<size_t>(n));
  out[n] = '\0';
  return n;
}
}  // namespace

extern "C" {

int __cdecl KvGetLangNameAndPath(int, char* name, char* path) {
  char mode[32] = {};
  GetEnvironmentVariableA("PROBE_MODE", mode, sizeof(mode));
  if (std::strcmp(mode, "nolanguage") == 0) return 0;
  std::strcpy(name, "Probe");
  std::strcpy(path, "probe-path");
  return 1;
}

int __cdecl KvTranslateStr2(int, const char* source, char* out, int size, const char* path) {
  g_sizes.push_back(size);
  std::strncpy(g_lastPath, path ? path : "", sizeof(g_lastPath) - 1);
  const std::string s = source;
  if (s.rfind("len:", 0) == 0) return Put(std::string(std::atoi(s.c_str() + 4), 'x'), out, size);
  if (s == "full") return Put(std::string(static_cast<size_t>(size), 'f'), out, size);
  if (s == "noterm") {
    std::memset(out, 'z', static_cast<size_t>(size));
    return size;
  }
  if (s == "liar") {
    Put("ok", out, size);
    return size + 100;
  }
  return Put("[" + s + "]", out, size);
}

int __cdecl ProbeCalls() { return static_cast<int>(g_sizes.size()); }
int __cdecl ProbeSize(int i) { return i >= 0 && i < ProbeCalls() ? g_sizes[i] : -1; }
const char* __cdecl ProbeLastPath() { return g_lastPath; }
void __cdecl ProbeReset() { g_sizes.clear(); }

}  // extern "C"
