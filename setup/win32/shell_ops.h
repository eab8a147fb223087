// Copying, deleting and starting through the shell, silently.
#pragma once

#include <string>

namespace setup {

// Creates folder (with any missing parents) and copies the files matching
// pattern into it, overwriting without asking. True when the shell reported success.
bool CopyFiles(const std::string& pattern, const std::string& folder);
// A file, or a folder with all its contents; nothing goes to the recycle bin.
bool DeletePath(const std::string& path);
// ShellExecuteA "open", hidden, not waiting.
bool StartHidden(const std::string& file, const std::string& parameters,
                 const std::string& workingFolder);

}  // namespace setup
