#include "task_arguments.h"

#include <optional>
#include <vector>

#include "install_paths.h"

namespace quillbeck {
namespace {

using setup::CodePage;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// The end of the token that starts at `start`: the first blank outside quotes.
// Sets open when a quote is left open.
std::size_t TokenEnd(std::string_view text, std::size_t start, const CodePage& cp, bool& open) {
  open = false;
  std::size_t i = start;
  while (i < text.size() && (open || !IsBlank(text[i]))) {
    const std::size_t n = cp.CharLength(text, i);
    if (n == 1 && text[i] == '"') open = !open;
    i += n;
  }
  return i;
}

// Tokens keep their quotes; empty when a quote is left open.
std::optional<std::vector<std::string_view>> Tokens(std::string_view text, const CodePage& cp) {
  std::vector<std::string_view> tokens;
  for (std::size_t i = 0;;) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i == text.size()) return tokens;
    bool open = false;
    const std::size_t end = TokenEnd(text, i, cp, open);
    if (open) return std::nullopt;
    tokens.push_back(text.substr(i, end - i));
    i = end;
  }
}

bool IsOption(std::string_view token, char letter) {
  return token.size() >= 3 && token[0] == '-' && Upper(token[1]) == letter && token[2] == ':';
}

// The value of -T: or -P:, quoted as a whole or bare; never with a quote inside.
std::optional<std::string> ValueOf(std::string_view raw, const CodePage& cp) {
  if (!raw.empty() && raw.front() == '"') {
    if (raw.size() < 2 || !cp.EndsWith(raw, '"')) return std::nullopt;
    raw = raw.substr(1, raw.size() - 2);
  }
  if (cp.Find(raw, '"') != std::string_view::npos) return std::nullopt;
  return std::string(raw);
}

// "X:\" followed by plain names: never relative, never reaching up with "..".
bool IsFullPath(std::string_view path, const CodePage& cp) {
  const char drive = Upper(path.empty() ? '\0' : path[0]);
  return path.size() > 3 && path.size() <= setup::kPathMax && drive >= 'A' && drive <= 'Z' &&
         path[1] == ':' && path[2] == '\\' && setup::IsPlainRelativePath(path.substr(3), cp);
}

}  // namespace

std::string_view ArgumentsOf(std::string_view commandLine, const CodePage& cp) {
  std::size_t start = 0;
  while (start < commandLine.size() && IsBlank(commandLine[start])) ++start;
  bool open = false;
  return commandLine.substr(TokenEnd(commandLine, start, cp, open));
}

TaskArguments ParseTaskArguments(std::string_view arguments, const CodePage& cp) {
  TaskArguments parsed;
  parsed.error = ArgumentsError::kNotUnderstood;
  const auto tokens = Tokens(arguments, cp);
  if (!tokens) return parsed;
  bool haveAction = false;
  bool haveTask = false;
  bool haveProgram = false;
  for (const std::string_view token : *tokens) {
    if (token.size() == 2 && token[0] == '-' && (Upper(token[1]) == 'R' || Upper(token[1]) == 'D')) {
      if (haveAction) return parsed;
      haveAction = true;
      parsed.action = Upper(token[1]) == 'R' ? Action::kRegister : Action::kDelete;
      continue;
    }
    const bool isTask = IsOption(token, 'T');
    if (!isTask && !IsOption(token, 'P')) return parsed;
    bool& seen = isTask ? haveTask : haveProgram;
    if (seen) return parsed;
    seen = true;
    const auto value = ValueOf(token.substr(3), cp);
    if (!value) return parsed;
    (isTask ? parsed.task : parsed.program) = *value;
  }
  if (!haveAction || !haveTask || haveProgram != (parsed.action == Action::kRegister))
    return parsed;
  if (parsed.task.size() > kTaskNameMax || !setup::IsPlainName(parsed.task, cp)) {
    parsed.error = ArgumentsError::kBadTaskName;
    return parsed;
  }
  if (parsed.action == Action::kRegister && !IsFullPath(parsed.program, cp)) {
    parsed.error = ArgumentsError::kBadProgramPath;
    return parsed;
  }
  parsed.error = ArgumentsError::kNone;
  return parsed;
}

std::string WorkingFolderOf(const std::string& program, const CodePage& cp) {
  std::string folder = setup::FolderOf(program, cp);
  // "X:" alone would mean the drive's current folder, not its root.
  if (folder.size() == 2 && folder[1] == ':') folder += '\\';
  return folder;
}

}  // namespace quillbeck
