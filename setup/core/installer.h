// The installer's command line and its install, update, registration and
// removal flows over the system operations.
#pragma once

#include <string>
#include <vector>

#include "system_ops.h"

namespace setup {

// How long a closed component may take to end before the installer gives up.
constexpr std::uint32_t kComponentStopWaitMs = 2000;

// arguments: the command line without the program name. Returns the exit code.
int RunSetup(SystemOps& sys, const std::vector<std::string>& arguments);

}  // namespace setup
