// What the library listens to: the data-byte positions and the HID usage pages and
// usages named by the applications in KvMessageController.ini. The file is read
// through ProfileSource, so the reading rules are checked without the system.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "report_decoding.h"

namespace remotecontrol {

// One value of a profile file: an empty text or 0 when the key is missing.
class ProfileSource {
 public:
  virtual ~ProfileSource() = default;
  virtual std::int32_t ReadInt(const std::string& section, const std::string& key) const = 0;
  virtual std::string ReadString(const std::string& section, const std::string& key) const = 0;
};

// Reads an integer as the shell's string-to-integer conversion with hexadecimal
// support does: optional white space, an optional sign, then decimal digits or
// "0x"/"0X" and hexadecimal digits (a sign before hexadecimal is ignored); reading
// ends at the first other character; only the low 32 bits are kept. False when no
// digit could be read.
bool ParseProfileInteger(std::string_view text, std::int32_t& value);

// A report mapping "usage page:usage" as read, before it is cut to 16 bits.
struct ReportMapping {
  std::int32_t usagePage = 0;
  std::int32_t usage = 0;
};

// Splits at the first colon; a part that cannot be read counts as 0.
ReportMapping ParseReportMapping(std::string_view value);

// The two parallel lists that become the raw-input registrations.
class UsageLists {
 public:
  // Appends the mapping unless its usage page occurs anywhere in the page list and
  // its usage anywhere in the usage list (two separate tests, on the numbers as
  // read); false when skipped.
  bool Add(const ReportMapping& mapping);
  const std::vector<std::uint16_t>& UsagePages() const { return m_usagePages; }
  const std::vector<std::uint16_t>& Usages() const { return m_usages; }
  std::size_t Size() const { return m_usagePages.size(); }

 private:
  std::vector<std::uint16_t> m_usagePages;
  std::vector<std::uint16_t> m_usages;
};

struct HookConfiguration {
  DataBytePositions dataBytes;
  std::vector<std::string> applications;
  UsageLists usages;
};

// Reads the file into the configuration: the data-byte positions are replaced, the
// application names and their mappings are appended (a second reading appends again;
// the duplicate rule keeps repeated mappings out).
void ReadHookConfiguration(const ProfileSource& profile, HookConfiguration& config);

constexpr char kConfigurationFileName[] = "KvMessageController.ini";

// The configuration file beside a program: the program's path up to its last
// backslash, then the file name. Empty when the path has no folder.
std::string ConfigurationPathBeside(std::string_view programPath);

}  // namespace remotecontrol
