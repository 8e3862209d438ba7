// CKivString: the wide-string class that crosses the document interface
// (GetDumpText fills a caller's string).
//
// The text lives in an automation string (SysAllocStringLen/SysFreeString),
// so a string filled by the library is freed correctly by a host built with
// another compiler or runtime. A host needs only the inline members below;
// the others are the library's own and are not exported.
#ifndef ORVANE_KIVSTRING_H
#define ORVANE_KIVSTRING_H

#include "KivTypes.h"

// Automation strings: a 32-bit byte count just before the first character,
// NUL-terminated. Every string the library returns is freed with
// SysFreeString. On Windows they are the system's (oleaut32); a host there
// has them from oleauto.h, the library declares them in its own types.
// Elsewhere the library provides and exports them.
#if defined(_WIN32) && defined(ORVANE_BUILDING)
extern "C" {
__declspec(dllimport) BSTR __stdcall SysAllocString(const OLECHAR *psz);
__declspec(dllimport) BSTR __stdcall SysAllocStringLen(const OLECHAR *pch, unsigned int cch);
__declspec(dllimport) void __stdcall SysFreeString(BSTR bstr);
__declspec(dllimport) unsigned int __stdcall SysStringLen(BSTR bstr);
}
#elif !defined(_WIN32)
extern "C" {
ORVANE_API BSTR SysAllocString(const OLECHAR *psz);
ORVANE_API BSTR SysAllocStringLen(const OLECHAR *pch, uint32_t cch);
ORVANE_API void SysFreeString(BSTR bstr);
ORVANE_API uint32_t SysStringLen(BSTR bstr);
}
#endif

class CKivString {
public:
    CKivString() : m_pData(nullptr) {}
    ~CKivString() { SysFreeString(m_pData); }

    // Length in UTF-16 code units, without the terminator.
    int GetLength() const { return m_pData ? static_cast<int>(SysStringLen(m_pData)) : 0; }
    bool IsEmpty() const { return GetLength() == 0; }
    // The text, NUL-terminated; never null.
    LPCWSTR GetString() const {
        static const WCHAR kEmpty[1] = {0};
        return m_pData ? m_pData : kEmpty;
    }
    operator LPCWSTR() const { return GetString(); }

    // Library side.
    CKivString(LPCWSTR psz);
    CKivString(LPCWSTR pch, int nLength);
    CKivString(const CKivString &other);
    CKivString &operator=(LPCWSTR psz);
    CKivString &operator=(const CKivString &other);
    CKivString &operator+=(LPCWSTR psz);
    void Empty();
    // printf-style: %s takes a UTF-16 string, %d a 32-bit and %I64d a 64-bit
    // signed integer, %% a percent sign.
    void Format(LPCWSTR pszFormat, ...);
    // Position of the first occurrence of pszSub at or after iStart, or -1.
    int Find(LPCWSTR pszSub, int iStart = 0) const;
    // Replaces every occurrence of pszOld; returns how many were replaced.
    int Replace(LPCWSTR pszOld, LPCWSTR pszNew);
    CKivString Left(int nCount) const;
    // Compares ignoring the case of ASCII letters: <0, 0 or >0.
    int CompareNoCase(LPCWSTR psz) const;
    WCHAR GetAt(int iIndex) const;

private:
    void Assign(LPCWSTR pch, int nLength);
    BSTR m_pData;
};

// A path: FindFileName gives its last component, after the last '\' or '/'.
class CKivPathString : public CKivString {
public:
    using CKivString::CKivString;
    using CKivString::operator=;
    LPCWSTR FindFileName() const;
};

#endif
