// The task tool's command line, in the two forms the installer passes:
//   -R -T:"<task>" -P:"<program>"   start <program> at every log-on as <task>
//   -D -T:"<task>"                  delete <task>
// Parsed from the ANSI command line by character, so that a double-byte
// character whose second byte is a backslash cannot end a quoted value.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "ansi_text.h"

namespace quillbeck {

enum class Action { kRegister, kDelete };

enum class ArgumentsError {
  kNone,
  kNotUnderstood,     // unknown, repeated or missing options, an open quote
  kBadTaskName,       // not one plain name, or too long
  kBadProgramPath,    // not a full path of plain names, or too long
};

struct TaskArguments {
  ArgumentsError error = ArgumentsError::kNone;
  Action action = Action::kRegister;
  std::string task;
  std::string program;  // -R only
};

// A task is a file of its name in the system's task folder, whose path must
// stay within the system's path limit.
constexpr std::size_t kTaskNameMax = 200;

// The command line without the program's own name (quoted or not) in front.
std::string_view ArgumentsOf(std::string_view commandLine, const setup::CodePage& cp);

TaskArguments ParseTaskArguments(std::string_view arguments, const setup::CodePage& cp);

// The folder the program is started in: its own, "X:\" for one on a drive's root.
std::string WorkingFolderOf(const std::string& program, const setup::CodePage& cp);

}  // namespace quillbeck
