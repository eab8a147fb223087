// Fuzzes the installer over a recorded machine with arbitrary package texts, and
// checks after every run that nothing was deleted or copied outside a folder
// strictly below Program Files, judged by a Windows-like path normalisation of
// its own (trailing dots and spaces dropped, "." and ".." resolved, "/" as "\").
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fake_system.h"
#include "install_paths.h"
#include "installer.h"
#include "version_text.h"

namespace {

const std::string kProgramFiles = "C:\\Program Files";

std::vector<std::string> Normalised(std::string path, bool& wild, const setup::CodePage& cp) {
  std::vector<std::string> parts;
  std::string part;
  path += '\\';
  for (std::size_t i = 0; i < path.size(); ++i) {
    const char c = path[i];
    if (cp.CharLength(path, i) == 2) {
      part += path.substr(i++, 2);
    } else if (c == '/' || c == '\\') {
      while (!part.empty() && (part.back() == '.' || part.back() == ' ')) {
        if (part.find_first_not_of(". ") == std::string::npos && part.size() >= 2) break;
        part.pop_back();
      }
      if (part.find_first_not_of(". ") == std::string::npos && part.size() >= 2) {
        if (!parts.empty()) parts.pop_back();  // ".." and its look-alikes go up
      } else if (!part.empty() && part != ".") {
        parts.push_back(setup_test::Fold(part));
      }
      part.clear();
    } else {
      if (c == '*' || c == '?' || c == ':' || c == '"' || c == '<' || c == '>' || c == '|')
        wild = true;
      part += c;
    }
  }
  return parts;
}

// Conservative: anything the normalisation cannot place for sure counts as outside.
bool InsideProgramFiles(const std::string& path, const setup::CodePage& cp) {
  if (path.size() < 2 || setup_test::Fold(path.substr(0, 2)) != "c:") return false;
  bool wild = false;
  const auto parts = Normalised(path.substr(2), wild, cp);
  const auto base = Normalised(kProgramFiles.substr(2), wild, cp);
  if (wild || parts.size() <= base.size()) return false;
  for (std::size_t i = 0; i < base.size(); ++i)
    if (parts[i] != base[i]) return false;
  return true;
}

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> fields(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == '\n') fields.emplace_back();
    else fields.back() += static_cast<char>(data[i]);
  }
  fields.resize(8);
  const std::string& sub = fields[0];
  const std::string& exe = fields[1];
  const std::string& app = fields[3];

  // Half the runs walk the texts as code page 932 does.
  const setup::CodePage cp = !fields[5].empty() && fields[5][0] & 4 ? setup_test::Cp932() : setup::CodePage();

  // The parts on their own: no crash, and consistent with each other.
  if (const auto target = setup::TargetFolderFor(kProgramFiles, sub, cp))
    Check(setup::IsStrictlyBelow(*target, kProgramFiles, cp) && InsideProgramFiles(*target, cp));
  setup::IsNewerVersion(fields[2], fields[4]);

  for (const char* option : {"-U", "-I"}) {
    setup_test::FakeSystem sys;
    sys.codePage = cp;
    sys.windowsName = fields[5].empty() || fields[5][0] % 2 ? "" : "Windows Vista";
    const std::string pkg = sys.packageFolder;
    const std::string setupIni = pkg + "\\setup.ini";
    sys.Set(setupIni, "SETUP_INFO", "SubTargetPath", sub);
    sys.Set(setupIni, "SETUP_INFO", "ExeFileName", exe);
    sys.Set(setupIni, "SETUP_INFO", "Version", fields[2]);
    sys.Set(pkg + "\\Message Controller\\" + exe + ".ini", "MainConfig", "1", app);
    sys.AddFile(pkg + "\\Message Controller\\" + exe + ".exe");
    // What the package would find if its target were taken as written: an
    // installed, registered component whose last application leaves.
    const std::string naiveTarget = kProgramFiles + sub;
    sys.Set(naiveTarget + "\\" + exe + ".ini", "MainConfig", "1", app);
    for (std::size_t i = 6; i < fields.size(); ++i)
      if (!fields[i].empty()) sys.Set(naiveTarget + "\\" + exe + ".ini", "MainConfig", std::to_string(i - 4), fields[i]);
    sys.record = setup::InstallRecord{fields[4], fields[5].empty() ? 1u : static_cast<std::uint8_t>(fields[5][0]) % 3u};

    const int code = setup::RunSetup(sys, {option});
    Check(code >= 0 && code <= 15);
    for (const std::string& e : sys.log) {
      for (const char* change : {"remove ", "rmdir ", "mkdir "})
        if (e.rfind(change, 0) == 0) Check(InsideProgramFiles(e.substr(std::strlen(change)), cp));
      const std::size_t to = e.rfind(" to ");
      if (e.rfind("copy ", 0) == 0 && to != std::string::npos) Check(InsideProgramFiles(e.substr(to + 4), cp));
    }
  }
  return 0;
}
