#include "install_paths.h"

namespace setup {
namespace {

constexpr std::string_view kReserved = "<>:\"/\\|?*";

std::string_view WithoutTrailingBackslashes(std::string_view s) {
  while (!s.empty() && s.back() == '\\') s.remove_suffix(1);
  return s;
}

// Every part between single backslashes is a plain name, and there is at least one.
bool IsPlainRelativePath(std::string_view rest) {
  if (rest.empty()) return false;
  while (true) {
    const std::size_t cut = rest.find('\\');
    if (!IsPlainName(rest.substr(0, cut))) return false;
    if (cut == std::string_view::npos) return true;
    rest.remove_prefix(cut + 1);
  }
}

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualFolded(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  return true;
}

}  // namespace

bool IsPlainName(std::string_view name) {
  if (name.empty()) return false;
  for (char c : name) {
    if (static_cast<unsigned char>(c) < 0x20 || kReserved.find(c) != std::string_view::npos)
      return false;
  }
  // Also covers "." and "..", which end with a dot.
  return name.back() != '.' && name.back() != ' ';
}

std::optional<std::string> TargetFolderFor(std::string_view programFiles,
                                           std::string_view subTargetPath) {
  const std::string_view base = WithoutTrailingBackslashes(programFiles);
  if (base.empty() || subTargetPath.empty() || subTargetPath.front() != '\\') return std::nullopt;
  const std::string_view sub = WithoutTrailingBackslashes(subTargetPath);
  if (sub.empty() || !IsPlainRelativePath(sub.substr(1))) return std::nullopt;
  std::string target;
  target.reserve(base.size() + sub.size());
  target.append(base).append(sub);
  if (target.size() > kPathMax) return std::nullopt;
  return target;
}

bool IsStrictlyBelow(std::string_view path, std::string_view base) {
  base = WithoutTrailingBackslashes(base);
  if (base.empty() || path.size() <= base.size() + 1) return false;
  if (!EqualFolded(path.substr(0, base.size()), base) || path[base.size()] != '\\') return false;
  return IsPlainRelativePath(path.substr(base.size() + 1));
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string path;
  path.reserve(folder.size() + 1 + name.size());
  path.append(folder).append("\\").append(name);
  return path;
}

}  // namespace setup
