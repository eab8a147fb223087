#include "task_xml.h"

namespace quillbeck {

std::u16string EscapeXml(const std::u16string& text) {
  std::u16string out;
  out.reserve(text.size());
  for (const char16_t c : text) {
    switch (c) {
      case u'&': out += u"&amp;"; break;
      case u'<': out += u"&lt;"; break;
      case u'>': out += u"&gt;"; break;
      case u'"': out += u"&quot;"; break;
      case u'\'': out += u"&apos;"; break;
      default: out += c;
    }
  }
  return out;
}

std::u16string TaskXml(const std::u16string& program, const std::u16string& workingFolder) {
  return u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n"
         u"<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">\r\n"
         u"  <Triggers>\r\n"
         u"    <LogonTrigger>\r\n"
         u"      <Enabled>true</Enabled>\r\n"
         u"    </LogonTrigger>\r\n"
         u"  </Triggers>\r\n"
         u"  <Principals>\r\n"
         u"    <Principal id=\"Author\">\r\n"
         u"      <GroupId>S-1-5-32-545</GroupId>\r\n"
         u"      <RunLevel>HighestAvailable</RunLevel>\r\n"
         u"    </Principal>\r\n"
         u"  </Principals>\r\n"
         u"  <Settings>\r\n"
         u"    <MultipleInstancesPolicy>Parallel</MultipleInstancesPolicy>\r\n"
         u"    <DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>\r\n"
         u"    <StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>\r\n"
         u"    <ExecutionTimeLimit>PT0S</ExecutionTimeLimit>\r\n"
         u"    <IdleSettings>\r\n"
         u"      <StopOnIdleEnd>false</StopOnIdleEnd>\r\n"
         u"      <RestartOnIdle>false</RestartOnIdle>\r\n"
         u"    </IdleSettings>\r\n"
         u"    <Enabled>true</Enabled>\r\n"
         u"    <Priority>4</Priority>\r\n"
         u"  </Settings>\r\n"
         u"  <Actions Context=\"Author\">\r\n"
         u"    <Exec>\r\n"
         u"      <Command>" + EscapeXml(program) + u"</Command>\r\n"
         u"      <WorkingDirectory>" + EscapeXml(workingFolder) + u"</WorkingDirectory>\r\n"
         u"    </Exec>\r\n"
         u"  </Actions>\r\n"
         u"</Task>\r\n";
}

}  // namespace quillbeck
