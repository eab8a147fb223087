// The platform's profile (INI) file functions, as the configuration operations
// use them. The installer implements this over GetPrivateProfileStringA and
// friends; tests implement it in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace setup {

// Text values are read through a buffer of 255 characters: longer values are cut.
constexpr std::size_t kProfileTextMax = 254;

class Profile {
 public:
  virtual ~Profile() = default;
  // The value, cut to kProfileTextMax; empty when the file, section or key is missing.
  virtual std::string ReadText(const std::string& file, const std::string& section,
                               const std::string& key) = 0;
  // The leading decimal or "0x" hexadecimal number of the value; 0 when missing.
  virtual std::int32_t ReadInteger(const std::string& file, const std::string& section,
                                   const std::string& key) = 0;
  virtual void WriteText(const std::string& file, const std::string& section,
                         const std::string& key, const std::string& value) = 0;
  virtual void DeleteKey(const std::string& file, const std::string& section,
                         const std::string& key) = 0;
  virtual void DeleteSection(const std::string& file, const std::string& section) = 0;
};

}  // namespace setup
