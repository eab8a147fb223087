#include "hook_configuration.h"

#include <algorithm>

namespace remotecontrol {
namespace {

constexpr char kDataLocationSection[] = "HID_DataLoc_Config";
constexpr char kApplicationsSection[] = "MainConfig";
constexpr char kMappingKeyPrefix[] = "HIDREG";

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Every mapping compared with a list entry as the entry is stored (16 bits wide).
bool Contains(const std::vector<std::uint16_t>& list, std::int32_t value) {
  return std::any_of(list.begin(), list.end(),
                     [value](std::uint16_t entry) { return std::int32_t{entry} == value; });
}

}  // namespace

bool ParseProfileInteger(std::string_view text, std::int32_t& value) {
  std::size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  // Unsigned arithmetic: digits past 32 bits wrap instead of overflowing.
  std::uint32_t result = 0;
  if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    i += 2;
    if (i >= text.size() || HexDigit(text[i]) < 0) return false;
    for (; i < text.size() && HexDigit(text[i]) >= 0; ++i) {
      result = result * 16 + static_cast<std::uint32_t>(HexDigit(text[i]));
    }
    value = static_cast<std::int32_t>(result);
    return true;
  }
  if (i >= text.size() || text[i] < '0' || text[i] > '9') return false;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    result = result * 10 + static_cast<std::uint32_t>(text[i] - '0');
  }
  if (negative) result = 0u - result;
  value = static_cast<std::int32_t>(result);
  return true;
}

ReportMapping ParseReportMapping(std::string_view value) {
  ReportMapping m;
  const std::size_t colon = value.find(':');
  if (!ParseProfileInteger(value.substr(0, colon), m.usagePage)) m.usagePage = 0;
  if (colon == std::string_view::npos || !ParseProfileInteger(value.substr(colon + 1), m.usage)) {
    m.usage = 0;
  }
  return m;
}

bool UsageLists::Add(const ReportMapping& mapping) {
  if (Contains(m_usagePages, mapping.usagePage) && Contains(m_usages, mapping.usage)) {
    return false;
  }
  m_usagePages.push_back(static_cast<std::uint16_t>(mapping.usagePage));
  m_usages.push_back(static_cast<std::uint16_t>(mapping.usage));
  return true;
}

void ReadHookConfiguration(const ProfileSource& profile, HookConfiguration& config) {
  config.dataBytes.low = profile.ReadInt(kDataLocationSection, "DATA_BYTE1");
  config.dataBytes.middle = profile.ReadInt(kDataLocationSection, "DATA_BYTE2");
  config.dataBytes.high = profile.ReadInt(kDataLocationSection, "DATA_BYTE3");

  const std::size_t firstNew = config.applications.size();
  for (unsigned k = 1;; ++k) {
    std::string name = profile.ReadString(kApplicationsSection, std::to_string(k));
    if (name.empty()) break;
    config.applications.push_back(std::move(name));
  }
  for (std::size_t a = firstNew; a < config.applications.size(); ++a) {
    for (unsigned k = 1;; ++k) {
      const std::string value =
          profile.ReadString(config.applications[a], kMappingKeyPrefix + std::to_string(k));
      if (value.empty()) break;
      config.usages.Add(ParseReportMapping(value));
    }
  }
}

std::string ConfigurationPathBeside(std::string_view programPath) {
  const std::size_t slash = programPath.rfind('\\');
  if (slash == std::string_view::npos) return {};
  std::string path(programPath.substr(0, slash));
  path += '\\';
  path += kConfigurationFileName;
  return path;
}

}  // namespace remotecontrol
