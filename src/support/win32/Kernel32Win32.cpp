// kernel32 on Windows: each call goes to the system function of the same
// name. The library's strings are char16_t and the system's wchar_t, both
// UTF-16 with the same layout, so paths pass through as they are.
//
// windows.h comes after Kernel32.h: its macros (GENERIC_READ, CP_UTF8...)
// would otherwise rewrite the header's constants.
#include "support/Kernel32.h"

#include <windows.h>

namespace kernel32 {

namespace {

const wchar_t *Native(LPCWSTR psz) { return reinterpret_cast<const wchar_t *>(psz); }

}  // namespace

HANDLE CreateFileW(LPCWSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode, void *lpSecurityAttributes,
                   DWORD dwCreationDisposition, DWORD dwFlagsAndAttributes, HANDLE hTemplateFile) {
    return ::CreateFileW(Native(lpFileName), dwDesiredAccess, dwShareMode,
                         static_cast<SECURITY_ATTRIBUTES *>(lpSecurityAttributes), dwCreationDisposition,
                         dwFlagsAndAttributes, hTemplateFile);
}

BOOL CloseHandle(HANDLE hObject) { return ::CloseHandle(hObject); }

BOOL ReadFile(HANDLE hFile, void *lpBuffer, DWORD nNumberOfBytesToRead, DWORD *lpNumberOfBytesRead,
              void *lpOverlapped) {
    ::DWORD dwRead = 0;
    const BOOL bOk = ::ReadFile(hFile, lpBuffer, nNumberOfBytesToRead, &dwRead, static_cast<OVERLAPPED *>(lpOverlapped));
    if (lpNumberOfBytesRead) *lpNumberOfBytesRead = dwRead;
    return bOk;
}

BOOL WriteFile(HANDLE hFile, const void *lpBuffer, DWORD nNumberOfBytesToWrite, DWORD *lpNumberOfBytesWritten,
               void *lpOverlapped) {
    ::DWORD dwWritten = 0;
    const BOOL bOk =
        ::WriteFile(hFile, lpBuffer, nNumberOfBytesToWrite, &dwWritten, static_cast<OVERLAPPED *>(lpOverlapped));
    if (lpNumberOfBytesWritten) *lpNumberOfBytesWritten = dwWritten;
    return bOk;
}

BOOL GetFileSizeEx(HANDLE hFile, LONGLONG *lpFileSize) {
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(hFile, &size)) return FALSE;
    *lpFileSize = size.QuadPart;
    return TRUE;
}

BOOL SetFilePointerEx(HANDLE hFile, LONGLONG liDistanceToMove, LONGLONG *lpNewFilePointer, DWORD dwMoveMethod) {
    LARGE_INTEGER distance;
    LARGE_INTEGER position;
    distance.QuadPart = liDistanceToMove;
    if (!::SetFilePointerEx(hFile, distance, &position, dwMoveMethod)) return FALSE;
    if (lpNewFilePointer) *lpNewFilePointer = position.QuadPart;
    return TRUE;
}

BOOL FlushFileBuffers(HANDLE hFile) { return ::FlushFileBuffers(hFile); }

BOOL DeleteFileW(LPCWSTR lpFileName) { return ::DeleteFileW(Native(lpFileName)); }

BOOL SetFileAttributesW(LPCWSTR lpFileName, DWORD dwFileAttributes) {
    return ::SetFileAttributesW(Native(lpFileName), dwFileAttributes);
}

BOOL MoveFileExW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, DWORD dwFlags) {
    return ::MoveFileExW(Native(lpExistingFileName), Native(lpNewFileName), dwFlags);
}

int MultiByteToWideChar(unsigned CodePage, DWORD dwFlags, const char *lpMultiByteStr, int cbMultiByte,
                        char16_t *lpWideCharStr, int cchWideChar) {
    return ::MultiByteToWideChar(CodePage, dwFlags, lpMultiByteStr, cbMultiByte,
                                 reinterpret_cast<wchar_t *>(lpWideCharStr), cchWideChar);
}

}  // namespace kernel32
