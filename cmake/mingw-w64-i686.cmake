# Cross-compiles for 32-bit Windows (x86) with Debian's MinGW-w64 (the POSIX thread
# model, whose libstdc++ has std::thread) and runs what it builds under Wine:
#   cmake -S . -B build-windows-i686 --toolchain cmake/mingw-w64-i686.cmake \
#         -DCMAKE_PREFIX_PATH="<TinyXML>;<GoogleTest>;<headers>"
#
# The compiler's runtime (libgcc, libstdc++, winpthread) is linked statically
# into every DLL and executable, so they need no DLL beyond Windows' own.
#
# Libraries, headers and packages are looked for only under the MinGW-w64
# root and the prefixes of CMAKE_PREFIX_PATH, never among the build machine's
# own (/usr/include, /usr/lib), which are Linux's.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(TALVORO_MINGW_TRIPLET i686-w64-mingw32)
set(CMAKE_C_COMPILER ${TALVORO_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TALVORO_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TALVORO_MINGW_TRIPLET}-windres)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

# Wine's 32-bit loader runs what it builds, where the machine has one that
# works (it needs the kernel's 32-bit support); WINEPREFIX and WINEDEBUG come
# from the environment.
find_program(TALVORO_WINE NAMES wine PATHS /usr/lib/wine NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(TALVORO_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR "${TALVORO_WINE}")
endif()

# Each dependency prefix is a root of its own as well, so that its files are
# found under it while nothing is taken from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${TALVORO_MINGW_TRIPLET} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
