// The task tool's effects on the real machine: Task Scheduler 2.0 through COM.
// Nothing is linked that Windows XP lacks: there the class is simply not
// registered, and Connect says so.
#pragma once

#include "task_scheduler.h"

struct ITaskService;

namespace quillbeck {

class Win32TaskScheduler : public TaskScheduler {
 public:
  Win32TaskScheduler();
  ~Win32TaskScheduler() override;
  Win32TaskScheduler(const Win32TaskScheduler&) = delete;
  Win32TaskScheduler& operator=(const Win32TaskScheduler&) = delete;

  setup::CodePage AnsiCodePage() override;
  std::optional<std::u16string> ToUtf16(std::string_view ansi) override;
  Connection Connect() override;
  TaskResult Register(const std::u16string& name, const std::u16string& xml) override;
  TaskResult Delete(const std::u16string& name) override;

 private:
  bool comStarted_ = false;
  ITaskService* service_ = nullptr;  // owned: released in the destructor
};

}  // namespace quillbeck
