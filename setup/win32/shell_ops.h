// Copying and starting through the shell, silently.
#pragma once

#include <string>

namespace setup {

// Creates folder (one level: its parent must exist) and copies the files
// matching pattern into it, overwriting without asking. True when the shell
// reported success.
bool CopyFiles(const std::string& pattern, const std::string& folder);
// ShellExecuteA "open", hidden, not waiting.
bool StartHidden(const std::string& file, const std::string& parameters,
                 const std::string& workingFolder);

}  // namespace setup
