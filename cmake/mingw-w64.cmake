# What the MinGW-w64 toolchain files share (mingw-w64-x86_64.cmake and
# mingw-w64-i686.cmake set TALVORO_MINGW_TRIPLET and the processor first):
# Debian's compilers of the POSIX thread model, whose libstdc++ has
# std::thread.
#
# The compiler's runtime (libgcc, libstdc++, winpthread) is linked statically
# into every DLL and executable, so they need no DLL beyond Windows' own.
#
# Libraries, headers and packages are looked for only under the MinGW-w64
# root and the prefixes of CMAKE_PREFIX_PATH, never among the build machine's
# own (/usr/include, /usr/lib), which are Linux's.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${TALVORO_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TALVORO_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TALVORO_MINGW_TRIPLET}-windres)

# The PE header's timestamp is 0, so that a build's bytes do not depend on
# its time.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -Wl,--no-insert-timestamp")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -Wl,--no-insert-timestamp")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -Wl,--no-insert-timestamp")

# Each dependency prefix is a root of its own as well, so that its files are
# found under it while nothing is taken from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${TALVORO_MINGW_TRIPLET} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
