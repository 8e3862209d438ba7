# Builds the x86 Windows DLL with Debian's mingw-w64 (g++-mingw-w64-i686-win32).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(ORVANE_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
