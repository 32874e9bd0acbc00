// Symbol visibility. The library is built with hidden visibility; only what is
// marked TALVORO_API is exported. Types that cross the boundary by value or by
// exception (the array template, the exception class) are marked too, so that
// the host and the library agree on their type information.
#ifndef TALVORO_EXPORT_H_
#define TALVORO_EXPORT_H_

#if defined(_WIN32)
#if defined(TALVORO_BUILDING)
#define TALVORO_API __declspec(dllexport)
#else
#define TALVORO_API __declspec(dllimport)
#endif
#define TALVORO_VISIBLE
#else
#define TALVORO_API __attribute__((visibility("default")))
#define TALVORO_VISIBLE __attribute__((visibility("default")))
#endif

#endif  // TALVORO_EXPORT_H_
