// The folders the installer works in, and the checks that keep every write and
// every deletion inside the component's own folder below Program Files.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace setup {

// The longest path the system's file and shell functions take (MAX_PATH - 1).
constexpr std::size_t kPathMax = 259;

// One name of a folder or file that the system takes literally: not empty, not
// "." or "..", no separator, drive, wildcard or other reserved character, no
// control character, and no trailing dot or space (Windows drops those, which
// would turn ". " into "." or ".. " into "..").
bool IsPlainName(std::string_view name);

// Program Files folder + SubTargetPath, when that names a folder strictly below
// Program Files: the value starts with a backslash and every part of it is a
// plain name. Trailing backslashes are dropped, so the result names the folder
// itself. Empty when the value could reach Program Files, its parent, a
// sibling ("\..", "\.", "\", or no leading backslash), or is too long.
std::optional<std::string> TargetFolderFor(std::string_view programFiles,
                                           std::string_view subTargetPath);

// True when path is base + "\" + one or more plain names (letters compared
// without regard to case). The last check before anything is deleted.
bool IsStrictlyBelow(std::string_view path, std::string_view base);

// "<folder>\<name>".
std::string JoinPath(std::string_view folder, std::string_view name);

}  // namespace setup
