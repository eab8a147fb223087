// The folders the installer works in, and the checks that keep every write and
// every deletion inside the component's own folder below Program Files. Paths
// are ANSI texts walked by character (ansi_text.h): the second byte of a
// double-byte character is never taken for a separator.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ansi_text.h"

namespace setup {

// The longest path the system's file and shell functions take (MAX_PATH - 1).
constexpr std::size_t kPathMax = 259;

// One name of a folder or file that the system takes literally: not empty, not
// "." or "..", no separator, drive, wildcard or other reserved character, no
// control character, no trailing dot or space (Windows drops those, which
// would turn ". " into "." or ".. " into ".."), and no character cut in half.
bool IsPlainName(std::string_view name, const CodePage& cp);

// One or more plain names joined by single backslashes.
bool IsPlainRelativePath(std::string_view path, const CodePage& cp);

// Program Files folder + SubTargetPath, when that names a folder strictly below
// Program Files: the value starts with a backslash and every part of it is a
// plain name. Trailing backslashes are dropped, so the result names the folder
// itself. Empty when the value could reach Program Files, its parent, a
// sibling ("\..", "\.", "\", or no leading backslash), or is too long.
std::optional<std::string> TargetFolderFor(std::string_view programFiles,
                                           std::string_view subTargetPath, const CodePage& cp);

// True when path is base + "\" + one or more plain names (letters compared
// without regard to case). The last check before anything is deleted.
bool IsStrictlyBelow(std::string_view path, std::string_view base, const CodePage& cp);

// "<folder>\<name>".
std::string JoinPath(std::string_view folder, std::string_view name);

// The path up to its last separator; empty when it has none.
std::string FolderOf(std::string_view path, const CodePage& cp);
// The part after the last separator.
std::string NameOf(std::string_view path, const CodePage& cp);

// The folders from the one just below base down to path itself, outermost
// first (path must lie strictly below base).
std::vector<std::string> FoldersBetween(std::string_view base, std::string_view path,
                                        const CodePage& cp);

}  // namespace setup
