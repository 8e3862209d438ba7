#include <orvane/KivString.h>

#include <cstdarg>
#include <new>
#include <string>

#include "WideFormat.h"

namespace {

int Length(LPCWSTR psz) {
    int n = 0;
    if (psz) {
        while (psz[n]) ++n;
    }
    return n;
}

char16_t FoldAscii(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c; }

}  // namespace

CKivString::CKivString(LPCWSTR psz) : m_pData(nullptr) { Assign(psz, Length(psz)); }

CKivString::CKivString(LPCWSTR pch, int nLength) : m_pData(nullptr) { Assign(pch, nLength); }

CKivString::CKivString(const CKivString &other) : m_pData(nullptr) { Assign(other.GetString(), other.GetLength()); }

CKivString &CKivString::operator=(LPCWSTR psz) {
    Assign(psz, Length(psz));
    return *this;
}

CKivString &CKivString::operator=(const CKivString &other) {
    if (this != &other) Assign(other.GetString(), other.GetLength());
    return *this;
}

CKivString &CKivString::operator+=(LPCWSTR psz) {
    std::u16string joined(GetString(), GetLength());
    joined.append(psz ? psz : u"");
    Assign(joined.data(), static_cast<int>(joined.size()));
    return *this;
}

void CKivString::Empty() {
    SysFreeString(m_pData);
    m_pData = nullptr;
}

// Replaces the text; allocation failure throws, as for any other container.
void CKivString::Assign(LPCWSTR pch, int nLength) {
    BSTR fresh = nullptr;
    if (nLength > 0) {
        fresh = SysAllocStringLen(pch, static_cast<uint32_t>(nLength));
        if (!fresh) throw std::bad_alloc();
    }
    SysFreeString(m_pData);
    m_pData = fresh;
}

void CKivString::Format(LPCWSTR pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    std::u16string text = FormatWide(pszFormat, args);
    va_end(args);
    Assign(text.data(), static_cast<int>(text.size()));
}

int CKivString::Find(LPCWSTR pszSub, int iStart) const {
    if (!pszSub || iStart < 0 || iStart > GetLength()) return -1;
    std::u16string_view text(GetString(), GetLength());
    size_t at = text.find(pszSub, static_cast<size_t>(iStart));
    return at == std::u16string_view::npos ? -1 : static_cast<int>(at);
}

int CKivString::Replace(LPCWSTR pszOld, LPCWSTR pszNew) {
    const int nOld = Length(pszOld);
    if (nOld == 0) return 0;
    std::u16string_view text(GetString(), GetLength());
    std::u16string result;
    int count = 0;
    size_t from = 0;
    for (size_t at = text.find(pszOld); at != std::u16string_view::npos; at = text.find(pszOld, from)) {
        result.append(text.substr(from, at - from));
        result.append(pszNew ? pszNew : u"");
        from = at + nOld;
        ++count;
    }
    if (count == 0) return 0;
    result.append(text.substr(from));
    Assign(result.data(), static_cast<int>(result.size()));
    return count;
}

CKivString CKivString::Left(int nCount) const {
    if (nCount < 0) nCount = 0;
    if (nCount > GetLength()) nCount = GetLength();
    return CKivString(GetString(), nCount);
}

int CKivString::CompareNoCase(LPCWSTR psz) const {
    LPCWSTR a = GetString();
    LPCWSTR b = psz ? psz : u"";
    for (;; ++a, ++b) {
        const char16_t ca = FoldAscii(*a);
        const char16_t cb = FoldAscii(*b);
        if (ca != cb) return ca < cb ? -1 : 1;
        if (ca == 0) return 0;
    }
}

WCHAR CKivString::GetAt(int iIndex) const {
    return (iIndex >= 0 && iIndex < GetLength()) ? GetString()[iIndex] : u'\0';
}

LPCWSTR CKivPathString::FindFileName() const {
    LPCWSTR path = GetString();
    LPCWSTR name = path;
    for (LPCWSTR p = path; *p; ++p) {
        if (*p == u'\\' || *p == u'/') name = p + 1;
    }
    return name;
}
