# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (see
# mingw-w64.cmake) and runs what it builds under Wine:
#   cmake -S . -B build-windows --toolchain cmake/mingw-w64-x86_64.cmake \
#         -DCMAKE_PREFIX_PATH="<TinyXML>;<GoogleTest>;<headers>"
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TALVORO_MINGW_TRIPLET x86_64-w64-mingw32)
include("${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake")

# Wine's 64-bit loader runs the tests and the tools; WINEPREFIX and WINEDEBUG
# come from the environment (scripts/test-windows sets them).
find_program(TALVORO_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(TALVORO_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR "${TALVORO_WINE}")
endif()
