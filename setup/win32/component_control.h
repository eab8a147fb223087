// Stopping the running message-controller program before its files change.
#pragma once

#include <cstdint>

namespace setup {

// The program's main window: a dialog-class window with this title.
constexpr char kComponentWindowClass[] = "#32770";
constexpr char kComponentWindowTitle[] = "KvMessageController";

// Sends WM_CLOSE to the component's window and waits up to maxWaitMs for its
// process to end, so that its files are free. True when no such window is left.
bool StopComponent(std::uint32_t maxWaitMs);

}  // namespace setup
