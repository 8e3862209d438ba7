# Builds a real 32-bit x86 Linux library on an x86_64 Debian machine
# (g++-multilib and the :i386 development packages).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_FLAGS_INIT -m32)
set(CMAKE_CXX_FLAGS_INIT -m32)
set(CMAKE_EXE_LINKER_FLAGS_INIT -m32)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -m32)
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)
set(FIND_LIBRARY_USE_LIB64_PATHS OFF)
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/i386-linux-gnu/pkgconfig:/usr/share/pkgconfig)
# Kernels without 32-bit support run the tests under user-mode emulation.
find_program(ORVANE_I386_EMULATOR qemu-i386)
if(ORVANE_I386_EMULATOR)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ORVANE_I386_EMULATOR})
endif()
