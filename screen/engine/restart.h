// Restarting Windows so that a new DPI takes effect.
#pragma once

// Enables the shutdown privilege and asks Windows to restart; true when the
// restart was requested. Does not wait for it.
bool RestartComputer();
