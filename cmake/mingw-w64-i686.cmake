# Cross-compiles for 32-bit Windows (x86) with Debian's MinGW-w64 (see
# mingw-w64.cmake):
#   cmake -S . -B build-windows-i686 --toolchain cmake/mingw-w64-i686.cmake \
#         -DCMAKE_PREFIX_PATH="<TinyXML>;<GoogleTest>;<headers>"
set(CMAKE_SYSTEM_PROCESSOR x86)
set(TALVORO_MINGW_TRIPLET i686-w64-mingw32)
include("${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake")

# Wine's 32-bit loader runs what it builds, where the machine has one that
# works (it needs the kernel's 32-bit support); WINEPREFIX and WINEDEBUG come
# from the environment.
find_program(TALVORO_WINE NAMES wine PATHS /usr/lib/wine NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(TALVORO_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR "${TALVORO_WINE}")
endif()
