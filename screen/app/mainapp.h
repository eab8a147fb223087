// CMainTVApp: one copy of PioScreen at a time, its dialog class, and the modal run
// of the main dialog. The program ends when the dialog does.
#pragma once

#include "winapp.h"

namespace app_names {
constexpr char kMutex[] = "Pio Screen Setting ExecuteMutex";
constexpr char kTitle[] = "Pio Screen Setting";
constexpr char kDialogClass[] = "P-Screen Dialog";
constexpr char kSystemDialogClass[] = "#32770";
}  // namespace app_names

class CMainTVApp : public CWinApp {
 public:
  BOOL InitInstance() override;
};

// Shows the window of the copy that already runs; false when none was found.
bool RestoreRunningCopy();
// Registers "P-Screen Dialog" as a clone of the system dialog class.
void RegisterDialogClass(HINSTANCE instance);
