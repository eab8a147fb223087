// Quillbeck.exe -R -T:"<task>" -P:"<program>" | -D -T:"<task>": registers or
// deletes the scheduled task that starts the message-controller component at
// log-on on Windows Vista. Started hidden by setup.exe; never shows anything.
#include <windows.h>

#include "task_scheduler_win32.h"
#include "task_tool.h"

int main() {
  // No system error box either: the tool runs where nobody may see it.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  const char* commandLine = GetCommandLineA();
  quillbeck::Win32TaskScheduler scheduler;
  return quillbeck::RunTaskTool(scheduler, commandLine ? commandLine : "");
}
