#include "task_tool.h"

#include "task_arguments.h"
#include "task_xml.h"

namespace quillbeck {

int RunTaskTool(TaskScheduler& scheduler, std::string_view commandLine) {
  const setup::CodePage cp = scheduler.AnsiCodePage();
  const TaskArguments arguments = ParseTaskArguments(ArgumentsOf(commandLine, cp), cp);
  switch (arguments.error) {
    case ArgumentsError::kNone: break;
    case ArgumentsError::kNotUnderstood: return kExitNotUnderstood;
    case ArgumentsError::kBadTaskName: return kExitBadTaskName;
    case ArgumentsError::kBadProgramPath: return kExitBadProgramPath;
  }
  // Everything is checked and converted before the service is touched.
  const auto task = scheduler.ToUtf16(arguments.task);
  if (!task) return kExitBadTaskName;
  std::u16string xml;
  if (arguments.action == Action::kRegister) {
    const auto program = scheduler.ToUtf16(arguments.program);
    const auto folder = scheduler.ToUtf16(WorkingFolderOf(arguments.program, cp));
    if (!program || !folder) return kExitBadProgramPath;
    xml = TaskXml(*program, *folder);
  }

  switch (scheduler.Connect()) {
    case Connection::kConnected: break;
    case Connection::kNoInterface: return kExitNoTaskScheduler;
    case Connection::kNoService: return kExitNoService;
  }
  if (arguments.action == Action::kRegister) {
    switch (scheduler.Register(*task, xml)) {
      case TaskResult::kDone: return kExitOk;
      case TaskResult::kAccessDenied: return kExitAccessDenied;
      default: return kExitRegisterFailed;
    }
  }
  switch (scheduler.Delete(*task)) {
    case TaskResult::kDone:
    case TaskResult::kMissing: return kExitOk;  // the goal, no task of that name, is reached
    case TaskResult::kAccessDenied: return kExitAccessDenied;
    default: return kExitDeleteFailed;
  }
}

}  // namespace quillbeck
