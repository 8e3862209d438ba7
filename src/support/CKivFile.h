// A file bound to a path, opened, read and written through kernel32, and
// closed when the object goes away.
#ifndef ORVANE_CKIVFILE_H
#define ORVANE_CKIVFILE_H

#include <orvane/KivString.h>

#include "Kernel32.h"

class CKivFile {
public:
    explicit CKivFile(LPCWSTR pstrPath = nullptr);
    virtual ~CKivFile();
    CKivFile(const CKivFile &) = delete;
    CKivFile &operator=(const CKivFile &) = delete;

    // Binds the object to a path; nothing is opened yet. Nonzero on success.
    int Attach(LPCWSTR pstrPath);
    // Opens the attached file as CreateFileW does. Nonzero on success.
    int Open(DWORD dwDesiredAccess, DWORD dwShareMode, void *pSecurity, DWORD dwCreationDisposition,
             DWORD dwFlagsAndAttributes, kernel32::HANDLE hTemplate);
    // Nonzero only when all dwCount bytes were read (or written).
    int Read(void *pBuffer, DWORD dwCount, DWORD *pdwRead = nullptr, void *pOverlapped = nullptr);
    int Write(const void *pBuffer, DWORD dwCount, DWORD *pdwWritten = nullptr, void *pOverlapped = nullptr);
    // Size of the open file in bytes; -1 when it cannot be told.
    LONGLONG GetFileSize();
    int SeekSimple(LONGLONG llOffset, DWORD dwMethod);
    // Forces written data to the disk. Nonzero on success.
    int Flush();
    int Close();

    bool IsOpen() const { return m_hFile != kernel32::INVALID_HANDLE_VALUE; }

private:
    CKivPathString m_strPath;
    bool m_bAttached = false;
    kernel32::HANDLE m_hFile = kernel32::INVALID_HANDLE_VALUE;
};

#endif
