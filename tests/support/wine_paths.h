// Paths the build hands to Windows test programs are host paths ("/work/..."):
// a program under Wine sees the host's root as drive Z:.
#pragma once

#include <string>

namespace test_support {

// "/a/b" -> "Z:\a\b"; a path that already names a drive keeps it, with
// backslashes.
std::string WindowsPath(const std::string& hostPath);
std::wstring WindowsPathW(const std::string& hostPath);

}  // namespace test_support
