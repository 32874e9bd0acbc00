# Microsoft's ABI from Linux: clang-cl and lld-link from Debian's clang-14 and
# lld-14, with no Windows SDK and no Microsoft runtime (a host declares what
# it uses of them). TALVORO_MSVC_TARGET names the target, by default
# x86_64-pc-windows-msvc (i686-pc-windows-msvc: 32-bit x86).
set(CMAKE_SYSTEM_NAME Windows)
if(NOT TALVORO_MSVC_TARGET)
  set(TALVORO_MSVC_TARGET x86_64-pc-windows-msvc)
endif()
set(CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TALVORO_MSVC_TARGET)
string(REGEX REPLACE "-.*" "" CMAKE_SYSTEM_PROCESSOR "${TALVORO_MSVC_TARGET}")
foreach(language C CXX)
  set(CMAKE_${language}_COMPILER clang-cl-14)
  set(CMAKE_${language}_COMPILER_TARGET "${TALVORO_MSVC_TARGET}")
endforeach()
set(CMAKE_LINKER lld-link-14)
set(CMAKE_AR llvm-lib-14)
set(CMAKE_RC_COMPILER llvm-rc-14)
set(CMAKE_MT llvm-mt-14)
# Without a runtime nothing links until the host brings its own entry point:
# CMake's checks compile only.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
# Nor does it link the SDK's libraries that CMake would add.
set(CMAKE_C_STANDARD_LIBRARIES "" CACHE STRING "")
set(CMAKE_CXX_STANDARD_LIBRARIES "" CACHE STRING "")
