// kernel32 over POSIX.
//
// Paths are UTF-16 and reach the system as UTF-8. What differs from Windows:
//  - Share modes are accepted and not enforced: POSIX has no mandatory
//    sharing locks, so another process may open a file the library holds.
//  - Attributes: FILE_ATTRIBUTE_READONLY maps to the owner's write
//    permission; FILE_ATTRIBUTE_NORMAL gives it back. Other bits are ignored.
//  - MoveFileExW is rename(2), atomic within one file system; with
//    MOVEFILE_WRITE_THROUGH the folder is synced so the rename is durable.
#include "support/Kernel32.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "text/TextConversion.h"

namespace kernel32 {

namespace {

int ToDescriptor(HANDLE h) { return static_cast<int>(reinterpret_cast<intptr_t>(h)); }
HANDLE ToHandle(int fd) { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(fd)); }

std::string NativePath(LPCWSTR path) { return Utf16ToUtf8String(path); }

int OpenFlags(DWORD access, DWORD disposition) {
    const bool bRead = (access & (GENERIC_READ | 0x1u | 0x10000000u)) != 0;
    const bool bWrite = (access & (GENERIC_WRITE | 0x2u | 0x4u | 0x10000000u)) != 0;
    int flags = O_CLOEXEC;
    if (bRead && bWrite) {
        flags |= O_RDWR;
    } else if (bWrite) {
        flags |= O_WRONLY;
    } else {
        flags |= O_RDONLY;
    }
    switch (disposition) {
        case CREATE_NEW: return flags | O_CREAT | O_EXCL;
        case CREATE_ALWAYS: return flags | O_CREAT | O_TRUNC;
        case OPEN_EXISTING: return flags;
        case 4: return flags | O_CREAT;    // OPEN_ALWAYS
        case 5: return flags | O_TRUNC;    // TRUNCATE_EXISTING
        default: return -1;
    }
}

bool IsContinuation(unsigned char byte, unsigned char low = 0x80, unsigned char high = 0xBF) {
    return byte >= low && byte <= high;
}

// Decodes one UTF-8 sequence at p (n bytes available). Returns the code
// point, or U+FFFD for an invalid sequence, and the bytes consumed: an
// invalid sequence consumes its longest valid prefix, at least one byte.
char32_t DecodeOne(const unsigned char *p, size_t n, size_t &consumed) {
    const unsigned char b0 = p[0];
    consumed = 1;
    if (b0 < 0x80) return b0;
    size_t length;
    char32_t cp;
    unsigned char low = 0x80, high = 0xBF;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2, cp = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3, cp = b0 & 0x0F;
        if (b0 == 0xE0) low = 0xA0;
        if (b0 == 0xED) high = 0x9F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4, cp = b0 & 0x07;
        if (b0 == 0xF0) low = 0x90;
        if (b0 == 0xF4) high = 0x8F;
    } else {
        return 0xFFFD;
    }
    for (size_t i = 1; i < length; ++i) {
        if (i >= n || !IsContinuation(p[i], i == 1 ? low : 0x80, i == 1 ? high : 0xBF)) return 0xFFFD;
        cp = (cp << 6) | (p[i] & 0x3F);
        consumed = i + 1;
    }
    return cp;
}

}  // namespace

HANDLE CreateFileW(LPCWSTR lpFileName, DWORD dwDesiredAccess, DWORD, void *, DWORD dwCreationDisposition,
                   DWORD dwFlagsAndAttributes, HANDLE) {
    if (!lpFileName) return INVALID_HANDLE_VALUE;
    const int flags = OpenFlags(dwDesiredAccess, dwCreationDisposition);
    if (flags == -1) return INVALID_HANDLE_VALUE;
    const mode_t mode = (dwFlagsAndAttributes & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666;
    int fd = ::open(NativePath(lpFileName).c_str(), flags, mode);
    if (fd < 0) return INVALID_HANDLE_VALUE;
    struct stat st;
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return INVALID_HANDLE_VALUE;
    }
    return ToHandle(fd);
}

BOOL CloseHandle(HANDLE hObject) { return ::close(ToDescriptor(hObject)) == 0; }

BOOL ReadFile(HANDLE hFile, void *lpBuffer, DWORD nToRead, DWORD *lpRead, void *) {
    DWORD total = 0;
    while (total < nToRead) {
        ssize_t n = ::read(ToDescriptor(hFile), static_cast<char *>(lpBuffer) + total, nToRead - total);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            if (lpRead) *lpRead = total;
            return FALSE;
        }
        if (n == 0) break;
        total += static_cast<DWORD>(n);
    }
    if (lpRead) *lpRead = total;
    return TRUE;
}

BOOL WriteFile(HANDLE hFile, const void *lpBuffer, DWORD nToWrite, DWORD *lpWritten, void *) {
    DWORD total = 0;
    while (total < nToWrite) {
        ssize_t n = ::write(ToDescriptor(hFile), static_cast<const char *>(lpBuffer) + total, nToWrite - total);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        total += static_cast<DWORD>(n);
    }
    if (lpWritten) *lpWritten = total;
    return total == nToWrite;
}

BOOL GetFileSizeEx(HANDLE hFile, LONGLONG *lpFileSize) {
    struct stat st;
    if (::fstat(ToDescriptor(hFile), &st) != 0) return FALSE;
    *lpFileSize = static_cast<LONGLONG>(st.st_size);
    return TRUE;
}

BOOL SetFilePointerEx(HANDLE hFile, LONGLONG liDistance, LONGLONG *lpNewPointer, DWORD dwMoveMethod) {
    const int whence = dwMoveMethod == FILE_BEGIN ? SEEK_SET : dwMoveMethod == FILE_CURRENT ? SEEK_CUR : SEEK_END;
    off_t position = ::lseek(ToDescriptor(hFile), static_cast<off_t>(liDistance), whence);
    if (position < 0) return FALSE;
    if (lpNewPointer) *lpNewPointer = static_cast<LONGLONG>(position);
    return TRUE;
}

BOOL FlushFileBuffers(HANDLE hFile) { return ::fsync(ToDescriptor(hFile)) == 0; }

BOOL DeleteFileW(LPCWSTR lpFileName) {
    if (!lpFileName) return FALSE;
    return ::unlink(NativePath(lpFileName).c_str()) == 0;
}

BOOL SetFileAttributesW(LPCWSTR lpFileName, DWORD dwFileAttributes) {
    if (!lpFileName) return FALSE;
    const std::string path = NativePath(lpFileName);
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return FALSE;
    mode_t mode = st.st_mode & 07777;
    mode = (dwFileAttributes & FILE_ATTRIBUTE_READONLY) ? (mode & ~0222) : (mode | S_IWUSR);
    return ::chmod(path.c_str(), mode) == 0;
}

BOOL MoveFileExW(LPCWSTR lpExisting, LPCWSTR lpNew, DWORD dwFlags) {
    if (!lpExisting || !lpNew) return FALSE;
    const std::string from = NativePath(lpExisting);
    const std::string to = NativePath(lpNew);
    if (!(dwFlags & MOVEFILE_REPLACE_EXISTING) && ::access(to.c_str(), F_OK) == 0) return FALSE;
    if (::rename(from.c_str(), to.c_str()) != 0) return FALSE;
    if (dwFlags & MOVEFILE_WRITE_THROUGH) {
        const size_t slash = to.find_last_of('/');
        const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : to.substr(0, slash);
        int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd >= 0) {
            ::fsync(fd);
            ::close(fd);
        }
    }
    return TRUE;
}

int MultiByteToWideChar(unsigned CodePage, DWORD, const char *lpMultiByteStr, int cbMultiByte,
                        char16_t *lpWideCharStr, int cchWideChar) {
    if (CodePage != CP_UTF8 || !lpMultiByteStr || cbMultiByte == 0 || cchWideChar < 0) return 0;
    const auto *p = reinterpret_cast<const unsigned char *>(lpMultiByteStr);
    const size_t n = cbMultiByte < 0 ? std::char_traits<char>::length(lpMultiByteStr) + 1
                                     : static_cast<size_t>(cbMultiByte);
    size_t units = 0;
    auto put = [&](char16_t unit) {
        if (lpWideCharStr && cchWideChar > 0 && units < static_cast<size_t>(cchWideChar)) lpWideCharStr[units] = unit;
        ++units;
    };
    for (size_t i = 0; i < n;) {
        size_t consumed;
        char32_t cp = DecodeOne(p + i, n - i, consumed);
        i += consumed;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            put(static_cast<char16_t>(0xD800 + (cp >> 10)));
            put(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            put(static_cast<char16_t>(cp));
        }
    }
    if (units > 0x7FFFFFFF) return 0;
    if (cchWideChar > 0 && units > static_cast<size_t>(cchWideChar)) return 0;
    return static_cast<int>(units);
}

}  // namespace kernel32
