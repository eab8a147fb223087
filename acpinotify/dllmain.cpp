// The library's entry point. Loading registers the broadcast message and looks up
// IsWow64Process (static initialisers of the notifier); nothing else happens at
// attach or detach.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
