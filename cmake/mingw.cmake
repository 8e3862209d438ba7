# Shared part of the mingw-w64 toolchain files: cross-builds for Windows with
# Debian's mingw-w64 compilers (the win32 thread model). ORVANE_MINGW_TRIPLE
# names the target. Libraries are searched in the compiler's own folder and
# in build/windows-deps/<triple>, where scripts/build-windows installs
# libxml2 and GoogleTest, both static; zlib is taken static too, so the DLL
# carries its dependencies and imports nothing but system DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${ORVANE_MINGW_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${ORVANE_MINGW_TRIPLE}-g++)
set(CMAKE_RC_COMPILER ${ORVANE_MINGW_TRIPLE}-windres)

get_filename_component(ORVANE_WINDOWS_DEPS "${CMAKE_CURRENT_LIST_DIR}/../build/windows-deps/${ORVANE_MINGW_TRIPLE}" ABSOLUTE)
set(CMAKE_FIND_ROOT_PATH /usr/${ORVANE_MINGW_TRIPLE} ${ORVANE_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# zlib's static archive, not the import library of zlib1.dll beside it.
set(ZLIB_USE_STATIC_LIBS ON)
set(ENV{PKG_CONFIG_LIBDIR} ${ORVANE_WINDOWS_DEPS}/lib/pkgconfig)

# Programs built here run under wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
