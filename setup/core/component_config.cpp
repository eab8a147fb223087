#include "component_config.h"

namespace setup {

std::vector<std::string> ReadNumberedList(Profile& p, const std::string& file,
                                          const std::string& section) {
  std::vector<std::string> list;
  for (unsigned i = 1;; ++i) {
    std::string value = p.ReadText(file, section, std::to_string(i));
    if (value.empty()) return list;
    list.push_back(std::move(value));
  }
}

void WriteNumberedList(Profile& p, const std::string& file, const std::string& section,
                       const std::vector<std::string>& list) {
  for (std::size_t i = 0; i < list.size(); ++i)
    p.WriteText(file, section, std::to_string(i + 1), list[i]);
}

void DeleteNumberedList(Profile& p, const std::string& file, const std::string& section) {
  for (unsigned i = 1;; ++i) {
    const std::string key = std::to_string(i);
    if (p.ReadText(file, section, key).empty()) return;
    p.DeleteKey(file, section, key);
  }
}

void CopyKeyboardGroups(Profile& p, const std::string& from, const std::string& to) {
  for (int i = 1; i <= ini::kKeyboardGroupCount; ++i) {
    const std::string key = std::to_string(i);
    p.WriteText(to, ini::kKeyboardGroups, key, p.ReadText(from, ini::kKeyboardGroups, key));
  }
}

void CopyDataLocation(Profile& p, const std::string& from, const std::string& to) {
  for (const char* key : {ini::kDataByte1, ini::kDataByte2})
    p.WriteText(to, ini::kDataLocation, key,
                std::to_string(p.ReadInteger(from, ini::kDataLocation, key)));
}

ApplicationEntry ReadApplicationSection(Profile& p, const std::string& file,
                                        const std::string& application) {
  ApplicationEntry e;
  e.version = p.ReadInteger(file, application, ini::kAppVersion);
  // Cut to the field's width, as the section's readers hold them.
  e.hookType = static_cast<std::uint8_t>(p.ReadInteger(file, application, ini::kHookType));
  e.complementary =
      static_cast<std::uint8_t>(p.ReadInteger(file, application, ini::kComplementary));
  e.group = static_cast<std::uint16_t>(p.ReadInteger(file, application, ini::kGroup));
  for (unsigned i = 1;; ++i) {
    std::string value = p.ReadText(file, application, ini::kReportMapping + std::to_string(i));
    if (value.empty()) break;
    e.reportMappings.push_back(std::move(value));
  }
  return e;
}

void WriteApplicationSection(Profile& p, const std::string& file,
                             const std::string& application, const ApplicationEntry& e) {
  p.WriteText(file, application, ini::kAppVersion, std::to_string(e.version));
  p.WriteText(file, application, ini::kHookType, HexText(e.hookType));
  p.WriteText(file, application, ini::kComplementary, HexText(e.complementary));
  p.WriteText(file, application, ini::kGroup, HexText(e.group));
  for (std::size_t i = 0; i < e.reportMappings.size(); ++i)
    p.WriteText(file, application, ini::kReportMapping + std::to_string(i + 1),
                e.reportMappings[i]);
}

void DeleteApplicationSection(Profile& p, const std::string& file,
                              const std::string& application) {
  p.DeleteSection(file, application);
}

std::string HexText(std::uint32_t value) {
  static const char kDigits[] = "0123456789abcdef";
  std::string digits;
  do {
    digits.insert(digits.begin(), kDigits[value & 0xF]);
    value >>= 4;
  } while (value != 0);
  return "0x" + digits;
}

}  // namespace setup
