// The running system's version facts, read the way the installer always has.
#pragma once

#include <string>

#include "windows_name.h"

namespace setup {

WindowsVersionFacts ReadWindowsVersionFacts();
std::string GetWindowsName();

}  // namespace setup
