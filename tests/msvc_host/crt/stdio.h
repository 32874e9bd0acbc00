/* The few functions of Microsoft's C runtime that the README's C calls, as
   its <stdio.h> declares them: there is no Microsoft SDK here. */
#ifndef TALVORO_MSVC_HOST_STDIO_H_
#define TALVORO_MSVC_HOST_STDIO_H_
__declspec(dllimport) int __cdecl puts(const char* text);
__declspec(dllimport) int __cdecl printf(const char* format, ...);
#endif
