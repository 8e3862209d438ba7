# Builds the x64 Windows DLL with Debian's mingw-w64 (g++-mingw-w64-x86-64-win32).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ORVANE_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
