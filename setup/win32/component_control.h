// Stopping the running message-controller program before its files change.
#pragma once

#include <cstdint>
#include <string>

namespace setup {

// The program's main window: a dialog-class window with this title.
constexpr char kComponentWindowClass[] = "#32770";
constexpr char kComponentWindowTitle[] = "KvMessageController";

// Asks the component to close and waits up to maxWaitMs for it to end, so that
// its files are free. The component is its window, and every process started
// from programFile: one that is still starting gets the close request once its
// window is there. True when neither is left.
bool StopComponent(const std::string& programFile, std::uint32_t maxWaitMs);

}  // namespace setup
