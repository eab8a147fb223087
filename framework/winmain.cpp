// The entry point of the dialog programs: kept in its own object file so that only
// programs that have a CWinApp pull it from the library.
#include "winapp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand) {
  return AfxWinMain(instance, commandLine, showCommand);
}
