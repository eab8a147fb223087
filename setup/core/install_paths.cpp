#include "install_paths.h"

namespace setup {
namespace {

constexpr std::string_view kReserved = "<>:\"/\\|?*";

std::string_view WithoutTrailingBackslashes(std::string_view s, const CodePage& cp) {
  while (cp.EndsWith(s, '\\')) s.remove_suffix(1);
  return s;
}

}  // namespace

bool IsPlainName(std::string_view name, const CodePage& cp) {
  if (name.empty() || !cp.IsWellFormed(name)) return false;
  for (std::size_t i = 0; i < name.size(); i += cp.CharLength(name, i)) {
    if (cp.CharLength(name, i) == 2) continue;
    const char c = name[i];
    if (static_cast<unsigned char>(c) < 0x20 || kReserved.find(c) != std::string_view::npos)
      return false;
  }
  // Also covers "." and "..", which end with a dot.
  return !cp.EndsWith(name, '.') && !cp.EndsWith(name, ' ');
}

bool IsPlainRelativePath(std::string_view rest, const CodePage& cp) {
  if (rest.empty()) return false;
  while (true) {
    const std::size_t cut = cp.Find(rest, '\\');
    if (!IsPlainName(rest.substr(0, cut), cp)) return false;
    if (cut == std::string_view::npos) return true;
    rest.remove_prefix(cut + 1);
  }
}

std::optional<std::string> TargetFolderFor(std::string_view programFiles,
                                           std::string_view subTargetPath, const CodePage& cp) {
  const std::string_view base = WithoutTrailingBackslashes(programFiles, cp);
  if (base.empty() || subTargetPath.empty() || subTargetPath.front() != '\\') return std::nullopt;
  const std::string_view sub = WithoutTrailingBackslashes(subTargetPath, cp);
  if (sub.empty() || !IsPlainRelativePath(sub.substr(1), cp)) return std::nullopt;
  std::string target;
  target.reserve(base.size() + sub.size());
  target.append(base).append(sub);
  if (target.size() > kPathMax) return std::nullopt;
  return target;
}

bool IsStrictlyBelow(std::string_view path, std::string_view base, const CodePage& cp) {
  base = WithoutTrailingBackslashes(base, cp);
  if (base.empty() || path.size() <= base.size() + 1) return false;
  // A separator right after base, as a character of its own: a cut inside a
  // character would compare half of it.
  if (cp.Find(path, '\\', base.size()) != base.size()) return false;
  if (!cp.SameIgnoringCase(path.substr(0, base.size()), base)) return false;
  return IsPlainRelativePath(path.substr(base.size() + 1), cp);
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string path;
  path.reserve(folder.size() + 1 + name.size());
  path.append(folder).append("\\").append(name);
  return path;
}

std::string FolderOf(std::string_view path, const CodePage& cp) {
  const std::size_t cut = cp.FindLast(path, '\\');
  return cut == std::string_view::npos ? std::string() : std::string(path.substr(0, cut));
}

std::string NameOf(std::string_view path, const CodePage& cp) {
  const std::size_t cut = cp.FindLast(path, '\\');
  return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

std::vector<std::string> FoldersBetween(std::string_view base, std::string_view path,
                                        const CodePage& cp) {
  std::vector<std::string> folders;
  if (!IsStrictlyBelow(path, base, cp)) return folders;
  const std::size_t start = WithoutTrailingBackslashes(base, cp).size() + 1;
  for (std::size_t cut = cp.Find(path, '\\', start); cut != std::string_view::npos;
       cut = cp.Find(path, '\\', cut + 1))
    folders.emplace_back(path.substr(0, cut));
  folders.emplace_back(path);
  return folders;
}

}  // namespace setup
