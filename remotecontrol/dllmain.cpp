// The library's entry point. Loading registers the broadcast message (a static
// initialiser of the hook code); nothing else happens at attach or detach.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
