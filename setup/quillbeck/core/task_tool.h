// Quillbeck.exe, the installer's scheduled-task tool: the decisions from the
// command line to the exit code. It shows nothing, ever; the exit code is its
// only report.
#pragma once

#include <string_view>

#include "task_scheduler.h"

namespace quillbeck {

enum ExitCode : int {
  kExitOk = 0,  // registered, deleted, or there was no task of that name to delete
  kExitNotUnderstood = 1,
  kExitBadTaskName = 2,
  kExitBadProgramPath = 3,
  kExitNoTaskScheduler = 4,  // no Task Scheduler 2.0 (Windows XP): nothing was done
  kExitNoService = 5,
  kExitAccessDenied = 6,  // not run with administrator rights
  kExitRegisterFailed = 7,
  kExitDeleteFailed = 8,
};

// commandLine: the whole command line, the program's own name first.
int RunTaskTool(TaskScheduler& scheduler, std::string_view commandLine);

}  // namespace quillbeck
