// setup.exe -I | -U: installs, updates or removes the message-controller
// component for the application package it ships in.
#include <string>
#include <vector>

#include "installer.h"
#include "win32_system.h"

// Arguments are taken literally: "*" must not turn into file names.
extern "C" int _dowildcard;
int _dowildcard = 0;

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  setup::Win32System system;
  return setup::RunSetup(system, arguments);
}
