#include "wine_paths.h"

namespace test_support {

std::string WindowsPath(const std::string& hostPath) {
  std::string path = hostPath;
  for (char& c : path)
    if (c == '/') c = '\\';
  const bool hasDrive = path.size() > 1 && path[1] == ':';
  return hasDrive || path.empty() ? path : "Z:" + path;
}

std::wstring WindowsPathW(const std::string& hostPath) {
  const std::string path = WindowsPath(hostPath);
  return std::wstring(path.begin(), path.end());
}

}  // namespace test_support
