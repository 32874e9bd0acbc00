// Symbol visibility. The library is built with hidden visibility; only what is
// marked TALVORO_API is exported. Types that cross the boundary by value or by
// exception (the array template, the exception class) are marked too, so that
// the host and the library agree on their type information.
//
// On Windows the DLL exports (TALVORO_BUILDING) and its hosts import. Programs
// that link the library's code straight in, without the DLL (its own tests),
// define TALVORO_STATIC. Both compilers, GCC and MSVC, know __declspec.
#ifndef TALVORO_EXPORT_H_
#define TALVORO_EXPORT_H_

#if defined(_WIN32)
#if defined(TALVORO_BUILDING)
#define TALVORO_API __declspec(dllexport)
#elif defined(TALVORO_STATIC)
#define TALVORO_API
#else
#define TALVORO_API __declspec(dllimport)
#endif
#define TALVORO_VISIBLE
#else
#define TALVORO_API __attribute__((visibility("default")))
#define TALVORO_VISIBLE __attribute__((visibility("default")))
#endif

#endif  // TALVORO_EXPORT_H_
