// The package description "setup.ini" and the component configuration
// "KvMessageController.ini": the names in them and the operations that read,
// merge and write them. The message-controller program and the remote-control
// library read the same files, so names and value forms are fixed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "profile.h"

namespace setup {

namespace ini {
constexpr char kSetupInfo[] = "SETUP_INFO";
constexpr char kSubTargetPath[] = "SubTargetPath";
constexpr char kExeFileName[] = "ExeFileName";
constexpr char kVersion[] = "Version";
constexpr char kFileForCheck[] = "FILE_FOR_CHECK";

constexpr char kMainConfig[] = "MainConfig";
constexpr char kKeyboardGroups[] = "Keyboad_Group_Config";  // sic: the program reads this spelling
constexpr int kKeyboardGroupCount = 16;
constexpr char kDataLocation[] = "HID_DataLoc_Config";
constexpr char kDataByte1[] = "DATA_BYTE1";
constexpr char kDataByte2[] = "DATA_BYTE2";

// Keys of an application section.
constexpr char kAppVersion[] = "Version";
constexpr char kHookType[] = "HookType";
constexpr char kComplementary[] = "complementary";
constexpr char kGroup[] = "group";
constexpr char kReportMapping[] = "HIDREG";  // + 1, 2, ...
}  // namespace ini

// The in-memory form of one application section.
struct ApplicationEntry {
  std::int32_t version = 0;
  std::uint8_t hookType = 0;
  std::uint8_t complementary = 0;
  std::uint16_t group = 0;
  std::vector<std::string> reportMappings;
};

// Keys "1", "2", ... up to the first missing or empty one.
std::vector<std::string> ReadNumberedList(Profile& p, const std::string& file,
                                          const std::string& section);
void WriteNumberedList(Profile& p, const std::string& file, const std::string& section,
                       const std::vector<std::string>& list);
// Deletes keys "1", "2", ... up to the first missing or empty one; keys after a
// gap stay.
void DeleteNumberedList(Profile& p, const std::string& file, const std::string& section);

// All sixteen keyboard groups, empty ones included.
void CopyKeyboardGroups(Profile& p, const std::string& from, const std::string& to);
// DATA_BYTE1 and DATA_BYTE2 as decimal text; DATA_BYTE3 stays as first shipped.
void CopyDataLocation(Profile& p, const std::string& from, const std::string& to);

ApplicationEntry ReadApplicationSection(Profile& p, const std::string& file,
                                        const std::string& application);
// Writes over the section without clearing it: keys the entry does not write stay.
void WriteApplicationSection(Profile& p, const std::string& file,
                             const std::string& application, const ApplicationEntry& entry);
void DeleteApplicationSection(Profile& p, const std::string& file,
                              const std::string& application);

// "0x" and lower-case hexadecimal digits without leading zeros (0 is "0x0").
std::string HexText(std::uint32_t value);

}  // namespace setup
