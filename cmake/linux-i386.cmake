# Builds for 32-bit x86 Linux (i386) on a 64-bit Debian machine: GCC with
# -m32 (g++-multilib) and Debian's i386 packages of TinyXML and GoogleTest
# (multiarch), found under /usr/lib/i386-linux-gnu:
#   cmake -S . -B build-i386 --toolchain cmake/linux-i386.cmake
# A host builds against an i386 package installed into a prefix the same way
# (-DCMAKE_PREFIX_PATH=PREFIX). The programs run wherever the kernel runs
# i386 programs, natively or through qemu-user (scripts/test-i386 sets it up).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)

set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_FLAGS_INIT "-m32")
set(CMAKE_CXX_FLAGS_INIT "-m32")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-m32")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-m32")

# The i386 libraries beside the machine's own: never a 64-bit one.
set(CMAKE_IGNORE_PATH /usr/lib/x86_64-linux-gnu /lib/x86_64-linux-gnu)
