// Start-up of a program as a person sees it, measured from outside: from the
// creation of its process until its window is shown and the program first waits
// for input (WaitForInputIdle), the way a launcher of the system waits for it.
//
//   pioscreen_startup BASELINE.exe PROGRAM.exe [RUNS [GOAL]]
//
// Runs both programs alternately, RUNS times each (8 unless told), closes each
// window after its run, and prints the medians and their ratio (beside GOAL, the
// highest ratio wanted, when one is given). Wine's own process start is in both
// figures; what lies above the baseline is the program's own.
// The figures never fail the run; a program that shows no window does.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "clock.h"
#include "wine_paths.h"

namespace {

double Now() { return test_support::NowMs(); }

struct Search {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK FindShown(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == search->pid && IsWindowVisible(hwnd) && !GetWindow(hwnd, GW_OWNER)) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

HWND ShownWindowOf(DWORD pid) {
  Search search{pid, nullptr};
  EnumWindows(&FindShown, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

struct Run {
  bool ok = false;
  double idleMs = 0;  // process creation until the program first waits for input, its window shown
};

Run StartAndWait(const std::string& program) {
  Run run;
  std::string folder = program.substr(0, program.find_last_of('\\'));
  std::string commandLine = "\"" + program + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  const double start = Now();
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &si, &pi)) {
    std::printf("%s could not be started (error %lu)\n", program.c_str(), GetLastError());
    return run;
  }
  // The launcher waits without asking the window server anything: on a machine
  // of two cores, looking for the window every millisecond (a walk over every
  // top-level window) slowed the program it measured. Both programs show their
  // window before their first wait for input; should one go idle earlier, its
  // window is looked for until it shows, and the idle time counts from then.
  HWND window = nullptr;
  const double deadline = start + 60000;
  const bool idle = WaitForInputIdle(pi.hProcess, 60000) == 0;
  run.idleMs = Now() - start;
  while (idle && !(window = ShownWindowOf(pi.dwProcessId)) && Now() < deadline) {
    if (WaitForSingleObject(pi.hProcess, 5) == WAIT_OBJECT_0) break;
    run.idleMs = Now() - start;
  }
  if (window) {
    run.ok = true;
    // Closed as from the task bar; its end is awaited so that the next start finds
    // no running copy.
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  } else {
    std::printf("%s showed no window\n", program.c_str());
  }
  if (WaitForSingleObject(pi.hProcess, 20000) != WAIT_OBJECT_0) {
    TerminateProcess(pi.hProcess, 1);
    WaitForSingleObject(pi.hProcess, 5000);
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return run;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::printf("usage: pioscreen_startup BASELINE.exe PROGRAM.exe [RUNS [GOAL]]\n");
    return 2;
  }
  const std::string baseline = test_support::WindowsPath(argv[1]);
  const std::string program = test_support::WindowsPath(argv[2]);
  const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 8;
  const char* goal = argc > 4 ? argv[4] : nullptr;
  const std::string name = program.substr(program.find_last_of('\\') + 1);

  // One start of each first, uncounted: it brings the files into the caches.
  if (!StartAndWait(baseline).ok || !StartAndWait(program).ok) return 1;
  std::vector<double> baseIdle, progIdle;
  for (int i = 0; i < runs; ++i) {
    // Alternating which goes first spreads any drift of the machine over both.
    for (int k = 0; k < 2; ++k) {
      const bool baseFirst = i % 2 == 0;
      const bool isBase = (k == 0) == baseFirst;
      const Run run = StartAndWait(isBase ? baseline : program);
      if (!run.ok) return 1;
      (isBase ? baseIdle : progIdle).push_back(run.idleMs);
    }
  }
  const double base = Median(baseIdle), prog = Median(progIdle);
  std::printf("start-up to first wait for input, median of %d alternating runs: bare window %.0f ms, "
              "%s %.0f ms\n", runs, base, name.c_str(), prog);
  std::printf("start-up ratio of %s to a bare window: %.2f", name.c_str(), prog / base);
  if (goal) std::printf(" (goal: at most %s)", goal);
  std::printf("\n");
  std::printf("runs (ms to first wait for input): bare window");
  for (double v : baseIdle) std::printf(" %.0f", v);
  std::printf("; %s", name.c_str());
  for (double v : progIdle) std::printf(" %.0f", v);
  std::printf("\n");
  return 0;
}
