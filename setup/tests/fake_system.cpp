#include "fake_system.h"

#include <algorithm>

#include "profile.h"

namespace setup_test {

std::string Fold(const std::string& s) {
  std::string r = s;
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return r;
}

namespace {

std::string FolderOf(const std::string& path) {
  const std::size_t cut = path.rfind('\\');
  return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

std::string NameOf(const std::string& path) {
  const std::size_t cut = path.rfind('\\');
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

// The shell's masks as the installer uses them: "*" and "*.ext".
bool MatchesMask(const std::string& name, const std::string& mask) {
  if (mask == "*") return true;
  if (mask.size() > 1 && mask[0] == '*' && mask.find_first_of("*?", 1) == std::string::npos) {
    const std::string tail = Fold(mask.substr(1));
    const std::string n = Fold(name);
    return n.size() >= tail.size() && n.compare(n.size() - tail.size(), tail.size(), tail) == 0;
  }
  return Fold(name) == Fold(mask);
}

}  // namespace

FakeFile& FakeSystem::FileFor(const std::string& path) {
  auto [it, added] = files.try_emplace(Fold(path));
  if (added) it->second.path = path;
  return it->second;
}

void FakeSystem::AddFile(const std::string& path) { FileFor(path); }

bool FakeSystem::HasFile(const std::string& path) const { return files.count(Fold(path)) != 0; }

IniSection* FakeSystem::Section(const std::string& file, const std::string& section) {
  return const_cast<IniSection*>(FindSection(file, section));
}

const IniSection* FakeSystem::FindSection(const std::string& file,
                                          const std::string& section) const {
  const auto f = files.find(Fold(file));
  if (f == files.end()) return nullptr;
  for (const IniSection& s : f->second.sections)
    if (Fold(s.name) == Fold(section)) return &s;
  return nullptr;
}

void FakeSystem::Set(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) {
  FakeFile& f = FileFor(file);
  IniSection* s = Section(file, section);
  if (!s) {
    f.sections.push_back({section, {}});
    s = &f.sections.back();
  }
  for (auto& kv : s->keys) {
    if (Fold(kv.first) == Fold(key)) {
      kv.second = value;
      return;
    }
  }
  s->keys.emplace_back(key, value);
}

std::optional<std::string> FakeSystem::Get(const std::string& file, const std::string& section,
                                           const std::string& key) const {
  const IniSection* s = FindSection(file, section);
  if (!s) return std::nullopt;
  for (const auto& kv : s->keys)
    if (Fold(kv.first) == Fold(key)) return kv.second;
  return std::nullopt;
}

std::vector<std::string> FakeSystem::Effects() const {
  std::vector<std::string> effects;
  for (const std::string& e : log)
    if (e.rfind("ini ", 0) != 0) effects.push_back(e);
  return effects;
}

std::string FakeSystem::ReadText(const std::string& file, const std::string& section,
                                 const std::string& key) {
  const auto value = Get(file, section, key);
  return value ? value->substr(0, setup::kProfileTextMax) : std::string();
}

std::int32_t FakeSystem::ReadInteger(const std::string& file, const std::string& section,
                                     const std::string& key) {
  const std::string v = ReadText(file, section, key);
  std::size_t i = 0;
  bool negative = false;
  if (i < v.size() && (v[i] == '-' || v[i] == '+')) negative = v[i++] == '-';
  std::uint32_t n = 0;
  if (v.size() >= i + 2 && v[i] == '0' && (v[i + 1] == 'x' || v[i + 1] == 'X')) {
    for (i += 2; i < v.size(); ++i) {
      const char c = static_cast<char>(Fold(std::string(1, v[i]))[0]);
      if (c >= '0' && c <= '9') n = n * 16 + static_cast<std::uint32_t>(c - '0');
      else if (c >= 'a' && c <= 'f') n = n * 16 + static_cast<std::uint32_t>(c - 'a' + 10);
      else break;
    }
  } else {
    for (; i < v.size() && v[i] >= '0' && v[i] <= '9'; ++i)
      n = n * 10 + static_cast<std::uint32_t>(v[i] - '0');
  }
  return static_cast<std::int32_t>(negative ? 0u - n : n);
}

void FakeSystem::WriteText(const std::string& file, const std::string& section,
                           const std::string& key, const std::string& value) {
  log.push_back("ini write " + section + "." + key + "=" + value);
  Set(file, section, key, value);
}

void FakeSystem::DeleteKey(const std::string& file, const std::string& section,
                           const std::string& key) {
  log.push_back("ini delete " + section + "." + key);
  if (IniSection* s = Section(file, section))
    s->keys.erase(std::remove_if(s->keys.begin(), s->keys.end(),
                                 [&](const auto& kv) { return Fold(kv.first) == Fold(key); }),
                  s->keys.end());
}

void FakeSystem::DeleteSection(const std::string& file, const std::string& section) {
  log.push_back("ini delete [" + section + "]");
  const auto f = files.find(Fold(file));
  if (f == files.end()) return;
  auto& sections = f->second.sections;
  sections.erase(std::remove_if(sections.begin(), sections.end(),
                                [&](const IniSection& s) { return Fold(s.name) == Fold(section); }),
                 sections.end());
}

bool FakeSystem::PathExists(const std::string& path) {
  const std::string folded = Fold(path);
  for (const auto& [key, file] : files)
    if (key == folded || key.rfind(folded + "\\", 0) == 0) return true;
  return false;
}

bool FakeSystem::ReadInstallRecord(setup::InstallRecord& r) {
  if (!record) return false;
  r = *record;
  return true;
}

bool FakeSystem::WriteInstallRecord(const setup::InstallRecord& r) {
  log.push_back("record count=" + std::to_string(r.count) + " version=" + r.version);
  if (!recordWriteWorks) return false;
  record = r;
  return true;
}

bool FakeSystem::DeleteInstallRecord() {
  log.push_back("record delete");
  if (!recordDeleteWorks) return false;
  record.reset();
  return true;
}

bool FakeSystem::WriteRunValue(const std::string& name, const std::string& command) {
  log.push_back("run set " + name + "=" + command);
  runValues[name] = command;
  return true;
}

bool FakeSystem::DeleteRunValue(const std::string& name) {
  log.push_back("run delete " + name);
  return runValues.erase(name) != 0;
}

bool FakeSystem::StartProgram(const std::string& file, const std::string& parameters,
                              const std::string& folder) {
  log.push_back("start " + file + (parameters.empty() ? "" : " " + parameters) + " in " + folder);
  return startWorks;
}

bool FakeSystem::CopyFiles(const std::string& pattern, const std::string& folder) {
  log.push_back("copy " + pattern + " to " + folder);
  const std::string mask = NameOf(pattern);
  if (failingCopyPatterns.count(mask)) return false;
  const std::string from = Fold(FolderOf(pattern));
  std::vector<FakeFile> copies;
  for (const auto& [key, file] : files)
    if (Fold(FolderOf(file.path)) == from && MatchesMask(NameOf(file.path), mask))
      copies.push_back(file);
  if (copies.empty()) return false;  // the shell reports a pattern that matched nothing
  for (FakeFile& copy : copies) {
    copy.path = folder + "\\" + NameOf(copy.path);
    files[Fold(copy.path)] = copy;
  }
  return true;
}

bool FakeSystem::DeletePath(const std::string& path) {
  log.push_back("delete " + path);
  const std::string folded = Fold(path);
  bool any = false;
  for (auto it = files.begin(); it != files.end();) {
    if (it->first == folded || it->first.rfind(folded + "\\", 0) == 0) {
      it = files.erase(it);
      any = true;
    } else {
      ++it;
    }
  }
  return any;
}

bool FakeSystem::StopComponent(std::uint32_t maxWaitMs) {
  log.push_back("stop " + std::to_string(maxWaitMs));
  return componentCloses;
}

}  // namespace setup_test
