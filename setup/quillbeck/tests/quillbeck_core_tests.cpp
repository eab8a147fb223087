// The task tool's decisions: its command line, the task's XML, and which exit
// code each outcome gives, over a recorded scheduler.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "fake_system.h"
#include "task_arguments.h"
#include "task_tool.h"
#include "task_xml.h"

using namespace quillbeck;

namespace {

const setup::CodePage kAscii;
const std::string kHyo = "\x95\x5C";  // 表 in code page 932: its second byte is a backslash
const std::string kPo = "\x83\x7C";   // ポ: its second byte is a bar

TEST(TaskArguments, TheFormsTheInstallerPassesAndByHand) {
  const std::string program = "C:\\Program Files\\KAVO\\Message Controller\\KvMessageController.exe";
  TaskArguments a = ParseTaskArguments("-R -T:\"KvMessageController\" -P:\"" + program + "\"", kAscii);
  EXPECT_EQ(a.error, ArgumentsError::kNone);
  EXPECT_EQ(a.action, Action::kRegister);
  EXPECT_EQ(a.task, "KvMessageController");
  EXPECT_EQ(a.program, program);
  a = ParseTaskArguments("  -D\t-T:\"KvMessageController\"  ", kAscii);
  EXPECT_EQ(a.error, ArgumentsError::kNone);
  EXPECT_EQ(a.action, Action::kDelete);
  EXPECT_EQ(a.task, "KvMessageController");
  // By hand: bare values, any order, lower case; a program at the drive's root.
  a = ParseTaskArguments("-p:C:\\x.exe -t:Name -r", kAscii);
  EXPECT_EQ(a.error, ArgumentsError::kNone);
  EXPECT_EQ(a.program, "C:\\x.exe");
  EXPECT_EQ(WorkingFolderOf(a.program, kAscii), "C:\\");

  EXPECT_EQ(ArgumentsOf("\"C:\\pkg dir\\Quillbeck.exe\" -D -T:\"x\"", kAscii), " -D -T:\"x\"");
  EXPECT_EQ(ArgumentsOf("Quillbeck.exe", kAscii), "");
}

TEST(TaskArguments, DoubleByteNamesAndPathsAreWalkedByCharacter) {
  const setup::CodePage cp = setup_test::Cp932();
  // A name ending in 表 right before the closing quote: byte by byte, its second
  // byte would be a backslash escaping the quote.
  const std::string program = "C:\\Program Files\\" + kPo + kHyo + "\\" + kHyo + ".exe";
  const TaskArguments a = ParseTaskArguments("-R -T:\"" + kPo + kHyo + "\" -P:\"" + program + "\"", cp);
  EXPECT_EQ(a.error, ArgumentsError::kNone);
  EXPECT_EQ(a.task, kPo + kHyo);
  EXPECT_EQ(a.program, program);
  EXPECT_EQ(WorkingFolderOf(program, cp), "C:\\Program Files\\" + kPo + kHyo);
  // Byte by byte, ポ holds a bar, which no task name may hold.
  EXPECT_EQ(ParseTaskArguments("-D -T:\"" + kPo + "\"", kAscii).error, ArgumentsError::kBadTaskName);
  // A lead byte before the closing quote swallows it: the quote stays open.
  EXPECT_EQ(ParseTaskArguments("-D -T:\"a\x95\"", cp).error, ArgumentsError::kNotUnderstood);
  EXPECT_EQ(ParseTaskArguments("-D -T:a\x95", cp).error, ArgumentsError::kBadTaskName);
}

TEST(TaskArguments, MalformedOverLongAndUnsafeArgumentsAreRefused) {
  for (const char* line :
       {"", "-R", "-D", "-T:\"x\"", "-R -D -T:\"x\"", "-R -T:\"x\"", "-D -T:\"x\" -P:\"C:\\x.exe\"",
        "-D -T:\"x\" -T:\"y\"", "-D -D -T:\"x\"", "-D -T:\"x", "-D -T:\"x\"y", "-D -T:x\"y\"",
        "-D -T:\"x\" extra", "/D -T:\"x\"", "-D -N:\"x\"", "-DT:\"x\""}) {
    EXPECT_EQ(ParseTaskArguments(line, kAscii).error, ArgumentsError::kNotUnderstood) << line;
  }
  for (const std::string& name : {std::string(), std::string("a\\b"), std::string(".."),
                                  std::string("x:y"), std::string("a*"), std::string("a "),
                                  std::string("a\x01"), std::string(kTaskNameMax + 1, 'n')}) {
    EXPECT_EQ(ParseTaskArguments("-D -T:\"" + name + "\"", kAscii).error, ArgumentsError::kBadTaskName)
        << name;
  }
  EXPECT_EQ(ParseTaskArguments("-D -T:\"" + std::string(kTaskNameMax, 'n') + "\"", kAscii).error,
            ArgumentsError::kNone);
  for (const std::string& path :
       {std::string("x.exe"), std::string("\\x.exe"), std::string("C:x.exe"), std::string("C:\\"),
        std::string("C:\\a\\..\\..\\x.exe"), std::string("\\\\server\\share\\x.exe"),
        std::string("1:\\x.exe"), std::string("C:\\a\\\\x.exe"), std::string("C:\\a|b.exe"),
        "C:\\" + std::string(257, 'p')}) {
    EXPECT_EQ(ParseTaskArguments("-R -T:\"t\" -P:\"" + path + "\"", kAscii).error,
              ArgumentsError::kBadProgramPath)
        << path;
  }
  EXPECT_EQ(ParseTaskArguments("-R -T:\"t\" -P:\"C:\\" + std::string(256, 'p') + "\"", kAscii).error,
            ArgumentsError::kNone);
}

// What the scheduler needs to start the program at every log-on, for any user,
// with the highest rights, on batteries, and for as long as it runs.
TEST(TaskXml, StartsTheProgramAtEveryLogOnWithTheHighestRightsAndNoLimits) {
  const std::u16string xml = TaskXml(u"C:\\Program Files\\A&B's\\x.exe", u"C:\\Program Files\\A&B's");
  for (const char16_t* part :
       {u"<LogonTrigger>\r\n      <Enabled>true</Enabled>\r\n    </LogonTrigger>",
        u"<GroupId>S-1-5-32-545</GroupId>", u"<RunLevel>HighestAvailable</RunLevel>",
        u"<DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>",
        u"<StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>", u"<ExecutionTimeLimit>PT0S</ExecutionTimeLimit>",
        u"<Command>C:\\Program Files\\A&amp;B&apos;s\\x.exe</Command>",
        u"<WorkingDirectory>C:\\Program Files\\A&amp;B&apos;s</WorkingDirectory>"}) {
    EXPECT_NE(xml.find(part), std::u16string::npos) << std::string(part, part + std::char_traits<char16_t>::length(part));
  }
  EXPECT_EQ(xml.find(u"<UserId>"), std::u16string::npos);  // it fires for whoever logs on
  EXPECT_EQ(EscapeXml(u"<a href=\"x\">&</a>"), u"&lt;a href=&quot;x&quot;&gt;&amp;&lt;/a&gt;");
}

// A scheduler in memory: the tasks it holds, and what it was asked.
class FakeScheduler : public TaskScheduler {
 public:
  setup::CodePage codePage = setup_test::Cp932();
  Connection connection = Connection::kConnected;
  TaskResult answer = TaskResult::kDone;  // to Register and Delete, when not kDone by default
  std::map<std::u16string, std::u16string> tasks;
  std::vector<std::string> calls;

  setup::CodePage AnsiCodePage() override { return codePage; }
  // ASCII, and the two characters of these tests; anything else is invalid.
  std::optional<std::u16string> ToUtf16(std::string_view ansi) override {
    std::u16string wide;
    for (std::size_t i = 0; i < ansi.size(); ++i) {
      const std::string_view pair = ansi.substr(i, 2);
      if (pair == kHyo) {
        wide += u'\u8868';
        ++i;
      } else if (pair == kPo) {
        wide += u'\u30DD';
        ++i;
      } else if (static_cast<unsigned char>(ansi[i]) < 0x80) {
        wide += static_cast<char16_t>(ansi[i]);
      } else {
        return std::nullopt;
      }
    }
    return wide;
  }
  Connection Connect() override {
    calls.push_back("connect");
    return connection;
  }
  TaskResult Register(const std::u16string& name, const std::u16string& xml) override {
    calls.push_back("register");
    if (answer != TaskResult::kDone) return answer;
    tasks[name] = xml;
    return TaskResult::kDone;
  }
  TaskResult Delete(const std::u16string& name) override {
    calls.push_back("delete");
    if (answer != TaskResult::kDone) return answer;
    return tasks.erase(name) ? TaskResult::kDone : TaskResult::kMissing;
  }
};

TEST(TaskTool, RegistersReplacesAndDeletesByName) {
  FakeScheduler s;
  const std::string tool = "\"C:\\pkg\\Quillbeck.exe\" ";
  const std::string program = "C:\\Program Files\\" + kPo + "\\KvMessageController.exe";
  EXPECT_EQ(RunTaskTool(s, tool + "-R -T:\"Kv" + kHyo + "\" -P:\"" + program + "\""), kExitOk);
  ASSERT_EQ(s.tasks.count(u"Kv\u8868"), 1u);
  const std::u16string& xml = s.tasks[u"Kv\u8868"];
  EXPECT_NE(xml.find(u"<Command>C:\\Program Files\\\u30DD\\KvMessageController.exe</Command>"), std::u16string::npos);
  EXPECT_NE(xml.find(u"<WorkingDirectory>C:\\Program Files\\\u30DD</WorkingDirectory>"), std::u16string::npos);

  EXPECT_EQ(RunTaskTool(s, tool + "-R -T:\"Kv" + kHyo + "\" -P:\"C:\\other.exe\""), kExitOk);
  EXPECT_EQ(s.tasks.size(), 1u);
  EXPECT_NE(s.tasks[u"Kv\u8868"].find(u"<Command>C:\\other.exe</Command>"), std::u16string::npos);

  EXPECT_EQ(RunTaskTool(s, tool + "-D -T:\"Kv" + kHyo + "\""), kExitOk);
  EXPECT_TRUE(s.tasks.empty());
  EXPECT_EQ(RunTaskTool(s, tool + "-D -T:\"Kv" + kHyo + "\""), kExitOk);  // missing is no error
}

TEST(TaskTool, EveryFailureHasItsOwnExitCodeAndRefusalsTouchNothing) {
  FakeScheduler s;
  const std::string tool = "Quillbeck.exe ";
  EXPECT_EQ(RunTaskTool(s, tool + "-X"), kExitNotUnderstood);
  EXPECT_EQ(RunTaskTool(s, tool + "-D -T:\"a\\b\""), kExitBadTaskName);
  EXPECT_EQ(RunTaskTool(s, tool + "-R -T:\"a\" -P:\"x.exe\""), kExitBadProgramPath);
  // Well formed in the code page (A0 is no lead byte), but no character of it.
  EXPECT_EQ(RunTaskTool(s, tool + "-D -T:\"\xA0\""), kExitBadTaskName);
  EXPECT_EQ(RunTaskTool(s, tool + "-R -T:\"a\" -P:\"C:\\\xA0.exe\""), kExitBadProgramPath);
  EXPECT_TRUE(s.calls.empty());

  const auto run = [&](Connection c, TaskResult r, const std::string& args) {
    FakeScheduler fresh;
    fresh.connection = c;
    fresh.answer = r;
    return RunTaskTool(fresh, tool + args);
  };
  const std::string reg = "-R -T:\"t\" -P:\"C:\\t.exe\"";
  const std::string del = "-D -T:\"t\"";
  for (const std::string& args : {reg, del}) {
    EXPECT_EQ(run(Connection::kNoInterface, TaskResult::kDone, args), kExitNoTaskScheduler);
    EXPECT_EQ(run(Connection::kNoService, TaskResult::kDone, args), kExitNoService);
    EXPECT_EQ(run(Connection::kConnected, TaskResult::kAccessDenied, args), kExitAccessDenied);
  }
  EXPECT_EQ(run(Connection::kConnected, TaskResult::kFailed, reg), kExitRegisterFailed);
  EXPECT_EQ(run(Connection::kConnected, TaskResult::kFailed, del), kExitDeleteFailed);
  EXPECT_EQ(run(Connection::kConnected, TaskResult::kMissing, del), kExitOk);
}

}  // namespace
