// The few kernel32 calls the library makes, under their Windows names and
// with their Windows meaning. Windows forwards them to the system (see
// win32/Kernel32Win32.cpp); elsewhere they are implemented over POSIX (see
// posix/Kernel32Posix.cpp for what differs there).
//
// The header spells its types itself, with the widths of KivTypes.h, so that
// the Windows implementation can include windows.h beside it.
#ifndef ORVANE_KERNEL32_H
#define ORVANE_KERNEL32_H

#include <cstdint>

namespace kernel32 {

using BOOL = int;
using DWORD = std::uint32_t;
using LONGLONG = std::int64_t;
using LPCWSTR = const char16_t *;
typedef void *HANDLE;
inline HANDLE const INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1));

// Desired access.
constexpr DWORD GENERIC_READ = 0x80000000u;
constexpr DWORD GENERIC_WRITE = 0x40000000u;
constexpr DWORD FILE_ALL_ACCESS = 0x001F01FFu;
// Share modes.
constexpr DWORD FILE_SHARE_READ = 1;
constexpr DWORD FILE_SHARE_WRITE = 2;
// Creation dispositions.
constexpr DWORD CREATE_NEW = 1;
constexpr DWORD CREATE_ALWAYS = 2;
constexpr DWORD OPEN_EXISTING = 3;
// Attributes.
constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x01;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
// Seek methods.
constexpr DWORD FILE_BEGIN = 0;
constexpr DWORD FILE_CURRENT = 1;
constexpr DWORD FILE_END = 2;
// MoveFileExW flags.
constexpr DWORD MOVEFILE_REPLACE_EXISTING = 0x1;
constexpr DWORD MOVEFILE_WRITE_THROUGH = 0x8;
// Code pages.
constexpr unsigned CP_UTF8 = 65001;

HANDLE CreateFileW(LPCWSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode, void *lpSecurityAttributes,
                   DWORD dwCreationDisposition, DWORD dwFlagsAndAttributes, HANDLE hTemplateFile);
BOOL CloseHandle(HANDLE hObject);
BOOL ReadFile(HANDLE hFile, void *lpBuffer, DWORD nNumberOfBytesToRead, DWORD *lpNumberOfBytesRead, void *lpOverlapped);
BOOL WriteFile(HANDLE hFile, const void *lpBuffer, DWORD nNumberOfBytesToWrite, DWORD *lpNumberOfBytesWritten,
               void *lpOverlapped);
BOOL GetFileSizeEx(HANDLE hFile, LONGLONG *lpFileSize);
BOOL SetFilePointerEx(HANDLE hFile, LONGLONG liDistanceToMove, LONGLONG *lpNewFilePointer, DWORD dwMoveMethod);
BOOL FlushFileBuffers(HANDLE hFile);
BOOL DeleteFileW(LPCWSTR lpFileName);
BOOL SetFileAttributesW(LPCWSTR lpFileName, DWORD dwFileAttributes);
BOOL MoveFileExW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, DWORD dwFlags);
// With cchWideChar 0 returns the units needed (terminator included when
// cbMultiByte is -1); 0 on failure. Invalid UTF-8 becomes U+FFFD.
int MultiByteToWideChar(unsigned CodePage, DWORD dwFlags, const char *lpMultiByteStr, int cbMultiByte,
                        char16_t *lpWideCharStr, int cchWideChar);

}  // namespace kernel32

#endif
