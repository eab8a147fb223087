// What the task tool does to the machine, as one interface: the Win32
// implementation talks to the Task Scheduler 2.0 service, tests record it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "ansi_text.h"

namespace quillbeck {

enum class Connection {
  kConnected,
  kNoInterface,  // no Task Scheduler 2.0 on this system (Windows XP)
  kNoService,    // the interface is there, its service cannot be reached
};

enum class TaskResult {
  kDone,
  kMissing,  // no task of that name
  kAccessDenied,
  kFailed,
};

class TaskScheduler {
 public:
  virtual ~TaskScheduler() = default;
  // How the command line's ANSI text is made of bytes.
  virtual setup::CodePage AnsiCodePage() = 0;
  // The ANSI text as UTF-16; nothing when it is not valid in the code page.
  virtual std::optional<std::u16string> ToUtf16(std::string_view ansi) = 0;

  virtual Connection Connect() = 0;
  // Registers the task described by xml under name in the root folder,
  // replacing a task of that name.
  virtual TaskResult Register(const std::u16string& name, const std::u16string& xml) = 0;
  virtual TaskResult Delete(const std::u16string& name) = 0;
};

}  // namespace quillbeck
