// Reading KvMessageController.ini into the listening configuration, on the host.
#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "hook_configuration.h"

namespace remotecontrol {
namespace {

// A profile file held in memory; section and key names as written.
class FakeProfile : public ProfileSource {
 public:
  std::map<std::pair<std::string, std::string>, std::string> values;
  mutable int reads = 0;

  void Set(const std::string& section, const std::string& key, const std::string& value) {
    values[{section, key}] = value;
  }
  std::int32_t ReadInt(const std::string& section, const std::string& key) const override {
    std::int32_t v = 0;
    auto it = values.find({section, key});
    return it != values.end() && ParseProfileInteger(it->second, v) ? v : 0;
  }
  std::string ReadString(const std::string& section, const std::string& key) const override {
    ++reads;
    auto it = values.find({section, key});
    return it == values.end() ? std::string() : it->second;
  }
};

std::int32_t Parse(const char* text, bool* ok = nullptr) {
  std::int32_t v = 12345;
  const bool r = ParseProfileInteger(text, v);
  if (ok) *ok = r;
  return r ? v : -777;
}

TEST(ProfileInteger, DecimalAndHexFormsLikeTheShellReadsThem) {
  EXPECT_EQ(Parse("12"), 12);
  EXPECT_EQ(Parse("0x000C"), 12);
  EXPECT_EQ(Parse("0XfF"), 255);
  EXPECT_EQ(Parse("  \t42"), 42);
  EXPECT_EQ(Parse("-5"), -5);
  EXPECT_EQ(Parse("+5"), 5);
  EXPECT_EQ(Parse("-0x1"), 1);  // the sign of a hexadecimal number is ignored
  EXPECT_EQ(Parse("0x00am123"), 10);
  EXPECT_EQ(Parse("7 apples"), 7);
  EXPECT_EQ(Parse("012"), 12);
  // Only the low 32 bits survive.
  EXPECT_EQ(Parse("0x1FFFFFFFF"), -1);
  EXPECT_EQ(Parse("4294967308"), 12);
  bool ok = true;
  for (const char* bad : {"", "   ", "-", "0x", "0xg", "x12", "abc", " - 1"}) {
    Parse(bad, &ok);
    EXPECT_FALSE(ok) << '"' << bad << '"';
  }
}

TEST(ReportMapping, SplitAtFirstColonUnreadablePartsAreZero) {
  auto m = ParseReportMapping("0x000C:0x0001");
  EXPECT_EQ(m.usagePage, 12);
  EXPECT_EQ(m.usage, 1);
  m = ParseReportMapping("12:1:7");
  EXPECT_EQ(m.usagePage, 12);
  EXPECT_EQ(m.usage, 1);
  m = ParseReportMapping("12");
  EXPECT_EQ(m.usagePage, 12);
  EXPECT_EQ(m.usage, 0);
  m = ParseReportMapping(":5");
  EXPECT_EQ(m.usagePage, 0);
  EXPECT_EQ(m.usage, 5);
  m = ParseReportMapping("page:usage");
  EXPECT_EQ(m.usagePage, 0);
  EXPECT_EQ(m.usage, 0);
}

TEST(UsageLists, DuplicateTestLooksAtPagesAndUsagesSeparately) {
  UsageLists lists;
  EXPECT_TRUE(lists.Add(ParseReportMapping("0x000C:0x0001")));
  EXPECT_FALSE(lists.Add(ParseReportMapping("12:1")));
  EXPECT_TRUE(lists.Add({0xFF00, 2}));
  // Page 12 and usage 2 each occur already, on different entries.
  EXPECT_FALSE(lists.Add({12, 2}));
  EXPECT_TRUE(lists.Add({12, 3}));
  ASSERT_EQ(lists.Size(), 3u);
  EXPECT_EQ(lists.UsagePages(), (std::vector<std::uint16_t>{12, 0xFF00, 12}));
  EXPECT_EQ(lists.Usages(), (std::vector<std::uint16_t>{1, 2, 3}));
}

TEST(UsageLists, ComparedAsReadThenCutToSixteenBits) {
  UsageLists lists;
  EXPECT_TRUE(lists.Add({12, 1}));
  // 0x1000C is not 12 as read, though both are stored as 12.
  EXPECT_TRUE(lists.Add({0x1000C, 1}));
  EXPECT_TRUE(lists.Add({-1, 1}));
  EXPECT_EQ(lists.UsagePages(), (std::vector<std::uint16_t>{12, 12, 0xFFFF}));
  // -1 as read never equals a stored 0xFFFF.
  EXPECT_TRUE(lists.Add({-1, 1}));
  EXPECT_FALSE(lists.Add({0xFFFF, 1}));
}

TEST(HookConfiguration, ReadsApplicationsAndTheirMappingsUpToTheFirstGap) {
  FakeProfile ini;
  ini.Set("HID_DataLoc_Config", "DATA_BYTE1", "2");
  ini.Set("HID_DataLoc_Config", "DATA_BYTE3", "0x9");
  ini.Set("MainConfig", "1", "PioScreen");
  ini.Set("MainConfig", "2", "Player");
  ini.Set("MainConfig", "4", "Ignored");  // after the gap at 3
  ini.Set("PioScreen", "HIDREG1", "0x000C:0x0001");
  ini.Set("PioScreen", "HIDREG2", "12:1");
  ini.Set("PioScreen", "HIDREG3", "0xFFBC:0x88");
  ini.Set("PioScreen", "HIDREG5", "1:6");  // after the gap at 4
  ini.Set("Player", "HIDREG1", "0xFF00:1");
  ini.Set("Ignored", "HIDREG1", "7:7");

  HookConfiguration c;
  ReadHookConfiguration(ini, c);
  EXPECT_EQ(c.dataBytes.low, 2);
  EXPECT_EQ(c.dataBytes.middle, 0);
  EXPECT_EQ(c.dataBytes.high, 9);
  EXPECT_EQ(c.applications, (std::vector<std::string>{"PioScreen", "Player"}));
  EXPECT_EQ(c.usages.UsagePages(), (std::vector<std::uint16_t>{0x0C, 0xFFBC, 0xFF00}));
  EXPECT_EQ(c.usages.Usages(), (std::vector<std::uint16_t>{1, 0x88, 1}));

  // Read again: the names are appended again, the mappings are kept out as duplicates.
  ReadHookConfiguration(ini, c);
  EXPECT_EQ(c.applications.size(), 4u);
  EXPECT_EQ(c.usages.Size(), 3u);
}

TEST(HookConfiguration, MissingFileGivesNothing) {
  FakeProfile ini;
  HookConfiguration c;
  c.dataBytes = {5, 6, 7};
  ReadHookConfiguration(ini, c);
  EXPECT_EQ(c.dataBytes.low, 0);
  EXPECT_EQ(c.dataBytes.high, 0);
  EXPECT_TRUE(c.applications.empty());
  EXPECT_EQ(c.usages.Size(), 0u);
  EXPECT_EQ(ini.reads, 1);
}

TEST(HookConfiguration, FileLiesBesideTheProgram) {
  EXPECT_EQ(ConfigurationPathBeside("C:\\Program Files\\KAVO\\Host.exe"),
            "C:\\Program Files\\KAVO\\KvMessageController.ini");
  EXPECT_EQ(ConfigurationPathBeside("C:\\Host.exe"), "C:\\KvMessageController.ini");
  EXPECT_EQ(ConfigurationPathBeside("Host.exe"), "");
  EXPECT_EQ(ConfigurationPathBeside(""), "");
}

}  // namespace
}  // namespace remotecontrol
