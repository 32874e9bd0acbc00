// The DLL's entry point. The library registers with no framework and keeps
// no state, so loading and unloading it (process and thread attach and
// detach alike) has nothing to do and always succeeds.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
  return TRUE;
}
