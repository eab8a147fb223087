// Whole files for tests: what a program wrote, and inputs written byte for byte.
#pragma once

#include <string>

namespace test_support {

// The bytes of a file; empty when it is missing or cannot be read.
std::string ReadWholeFile(const std::string& path);
// Writes (replaces) a file with exactly these bytes; false when it cannot.
bool WriteWholeFile(const std::string& path, const std::string& bytes);

}  // namespace test_support
