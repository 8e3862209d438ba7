#include "CKivFile.h"

CKivFile::CKivFile(LPCWSTR pstrPath) {
    if (pstrPath) Attach(pstrPath);
}

CKivFile::~CKivFile() { Close(); }

int CKivFile::Attach(LPCWSTR pstrPath) {
    if (!pstrPath || IsOpen()) return FALSE;
    m_strPath = pstrPath;
    m_bAttached = true;
    return TRUE;
}

int CKivFile::Open(DWORD dwDesiredAccess, DWORD dwShareMode, void *pSecurity, DWORD dwCreationDisposition,
                   DWORD dwFlagsAndAttributes, kernel32::HANDLE hTemplate) {
    if (!m_bAttached || IsOpen()) return FALSE;
    m_hFile = kernel32::CreateFileW(m_strPath, dwDesiredAccess, dwShareMode, pSecurity, dwCreationDisposition,
                                    dwFlagsAndAttributes, hTemplate);
    return IsOpen();
}

int CKivFile::Read(void *pBuffer, DWORD dwCount, DWORD *pdwRead, void *pOverlapped) {
    DWORD dwRead = 0;
    if (!IsOpen()) return FALSE;
    const BOOL bOk = kernel32::ReadFile(m_hFile, pBuffer, dwCount, &dwRead, pOverlapped);
    if (pdwRead) *pdwRead = dwRead;
    return bOk && dwRead == dwCount;
}

int CKivFile::Write(const void *pBuffer, DWORD dwCount, DWORD *pdwWritten, void *pOverlapped) {
    DWORD dwWritten = 0;
    if (!IsOpen()) return FALSE;
    const BOOL bOk = kernel32::WriteFile(m_hFile, pBuffer, dwCount, &dwWritten, pOverlapped);
    if (pdwWritten) *pdwWritten = dwWritten;
    return bOk && dwWritten == dwCount;
}

LONGLONG CKivFile::GetFileSize() {
    LONGLONG llSize = -1;
    if (!IsOpen() || !kernel32::GetFileSizeEx(m_hFile, &llSize)) return -1;
    return llSize;
}

int CKivFile::SeekSimple(LONGLONG llOffset, DWORD dwMethod) {
    return IsOpen() && kernel32::SetFilePointerEx(m_hFile, llOffset, nullptr, dwMethod);
}

int CKivFile::Flush() { return IsOpen() && kernel32::FlushFileBuffers(m_hFile); }

int CKivFile::Close() {
    if (!IsOpen()) return FALSE;
    const BOOL bOk = kernel32::CloseHandle(m_hFile);
    m_hFile = kernel32::INVALID_HANDLE_VALUE;
    return bOk;
}
