#include "fake_system.h"

#include <algorithm>

#include "install_paths.h"
#include "profile.h"

namespace setup_test {

std::string Fold(const std::string& s) {
  std::string r = s;
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return r;
}

setup::CodePage Cp932() {
  setup::CodePage cp;
  for (int b = 0x81; b <= 0x9F; ++b) cp.SetLeadByte(static_cast<std::uint8_t>(b));
  for (int b = 0xE0; b <= 0xFC; ++b) cp.SetLeadByte(static_cast<std::uint8_t>(b));
  return cp;
}

namespace {

bool StartsWithFolder(const std::string& foldedPath, const std::string& foldedFolder) {
  return foldedPath.rfind(foldedFolder + "\\", 0) == 0;
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

void FakeSystem::AddFolder(const std::string& path) { folders[Fold(path)] = path; }

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
    if (key == folded || StartsWithFolder(key, folded)) return true;
  for (const auto& [folder, made] : folders)
    if (folder == folded || StartsWithFolder(folder, folded)) return true;
  return false;
}

bool FakeSystem::ReadInstallRecord(setup::InstallRecord& r) {
  if (!record) return false;
  r = *record;
  return true;
}

bool FakeSystem::WriteInstallRecord(const setup::InstallRecord& r) {
  log.push_back("record count=" + (r.countTrusted ? std::to_string(r.count) : "(kept)") +
                " version=" + r.version);
  if (!recordWriteWorks) return false;
  const setup::InstallRecord before = record.value_or(setup::InstallRecord{});
  record = r;
  if (!r.countTrusted) {
    record->count = before.count;
    record->countTrusted = before.countTrusted;
  }
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

std::vector<setup::FolderEntry> FakeSystem::ListFolder(const std::string& folder,
                                                       const std::string& mask) {
  const std::string from = Fold(folder);
  std::map<std::string, setup::FolderEntry> entries;  // by folded name
  const auto consider = [&](const std::string& path, bool isFolder) {
    const std::string folded = Fold(path);
    if (!StartsWithFolder(folded, from)) return;
    const std::string rest = path.substr(from.size() + 1);
    const std::size_t cut = codePage.Find(rest, '\\');
    const std::string name = rest.substr(0, cut);
    const bool nameIsFolder = isFolder || cut != std::string::npos;
    if (MatchesMask(name, mask))
      entries[Fold(name)] = setup::FolderEntry{name, nameIsFolder};
  };
  for (const auto& [key, file] : files) consider(file.path, false);
  for (const auto& [key, made] : folders) consider(made, true);
  std::vector<setup::FolderEntry> list;
  for (auto& [key, entry] : entries) list.push_back(entry);
  return list;
}

bool FakeSystem::CreateFolder(const std::string& path) {
  log.push_back("mkdir " + path);
  AddFolder(path);
  return true;
}

bool FakeSystem::CopyFiles(const std::string& pattern, const std::string& folder) {
  log.push_back("copy " + pattern + " to " + folder);
  const std::string mask = setup::NameOf(pattern, codePage);
  if (failingCopyPatterns.count(mask)) return false;
  const std::string from = setup::FolderOf(pattern, codePage);
  const std::vector<setup::FolderEntry> entries = ListFolder(from, mask);
  if (entries.empty()) return false;  // the shell reports a pattern that matched nothing
  AddFolder(folder);
  std::vector<FakeFile> copies;
  for (const setup::FolderEntry& entry : entries) {
    const std::string source = Fold(setup::JoinPath(from, entry.name));
    for (const auto& [key, file] : files)
      if (key == source || (entry.folder && StartsWithFolder(key, source))) copies.push_back(file);
    if (entry.folder) AddFolder(setup::JoinPath(folder, entry.name));
  }
  for (FakeFile& copy : copies) {
    copy.path = folder + copy.path.substr(from.size());
    files[Fold(copy.path)] = copy;
  }
  return true;
}

bool FakeSystem::RemoveFile(const std::string& path) {
  log.push_back("remove " + path);
  if (filesInUse.count(Fold(path))) return false;
  files.erase(Fold(path));
  return true;
}

bool FakeSystem::RemoveEmptyFolder(const std::string& path) {
  log.push_back("rmdir " + path);
  const std::string folded = Fold(path);
  for (const auto& [key, file] : files)
    if (StartsWithFolder(key, folded)) return false;
  for (const auto& [folder, made] : folders)
    if (StartsWithFolder(folder, folded)) return false;
  return folders.erase(folded) != 0;
}

bool FakeSystem::StopComponent(const std::string& programFile, std::uint32_t maxWaitMs) {
  log.push_back("stop " + programFile + " " + std::to_string(maxWaitMs));
  return componentCloses;
}

}  // namespace setup_test
